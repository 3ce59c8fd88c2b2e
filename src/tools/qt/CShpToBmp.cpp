#include "tools/qt/CShpToBmp.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "tools/qt/PathLabel.h"
#include "ui/Pickers.h"
#include "ui/Services.h"
#include "ui/qt/QtText.h"

namespace pixmond {

namespace {

void ShowFolder(QLabel* label, const std::string& folder, const char* none) {
    label->setText(folder.empty() ? QString::fromLatin1(none) : PathToQString(folder));
    label->setToolTip(PathToQString(folder));
}

}  // namespace

CShpToBmp::CShpToBmp(ViewContext& context, QWidget* parent)
    : QDialog(parent), context_(context), converter_(context.services) {
    setWindowTitle(QStringLiteral("Convert shp / s16 files to Bmp / Png"));
    setSizeGripEnabled(true);

    pickInput_ = new QPushButton(QStringLiteral("Pick Folder  ..."), this);
    pickInput_->setAutoDefault(false);
    input_ = NewPathLabel(this);
    count_ = new QLabel(QStringLiteral("Files"), this);
    files_ = new QListWidget(this);
    files_->setSortingEnabled(true);
    files_->setFlow(QListView::TopToBottom);
    files_->setWrapping(true);
    files_->setResizeMode(QListView::Adjust);
    files_->setSelectionMode(QAbstractItemView::NoSelection);
    files_->setFocusPolicy(Qt::NoFocus);
    pickOutput_ = new QPushButton(QStringLiteral("Pick Folder  ..."), this);
    pickOutput_->setAutoDefault(false);
    output_ = NewPathLabel(this);
    type_ = new QComboBox(this);
    type_->addItem(QStringLiteral("BMP type"));
    type_->addItem(QStringLiteral("PNG type"));
    auto* threeByThree = new QRadioButton(QStringLiteral("3x3 icons"), this);
    auto* nineByOne = new QRadioButton(QStringLiteral("1x9 icons"), this);
    threeByThree->setChecked(true);
    threeByThree->setEnabled(false);
    nineByOne->setEnabled(false);
    auto* arranged = new QLabel(QStringLiteral("Icons will be arranged 3 x 3"), this);
    arranged->setEnabled(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setDefault(true);

    auto* inputRow = new QHBoxLayout;
    inputRow->addWidget(pickInput_);
    inputRow->addWidget(input_, 1);
    auto* outputRow = new QHBoxLayout;
    outputRow->addWidget(pickOutput_);
    outputRow->addWidget(output_, 1);
    auto* options = new QHBoxLayout;
    options->addWidget(type_);
    options->addSpacing(12);
    options->addWidget(threeByThree);
    options->addWidget(nineByOne);
    options->addSpacing(12);
    options->addWidget(arranged);
    options->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(inputRow);
    layout->addWidget(count_);
    layout->addWidget(files_, 1);
    layout->addLayout(outputRow);
    layout->addLayout(options);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    resize(600, 420);

    setTabOrder(pickInput_, pickOutput_);
    setTabOrder(pickOutput_, type_);
    setTabOrder(type_, ok_);

    connect(pickInput_, &QPushButton::clicked, this, &CShpToBmp::PickInputFolder);
    connect(pickOutput_, &QPushButton::clicked, this, &CShpToBmp::PickOutputFolder);
    connect(type_, &QComboBox::activated, this, [this](int type) { converter_.ChooseType(type); });
    connect(buttons, &QDialogButtonBox::accepted, this, &CShpToBmp::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CShpToBmp::reject);

    converter_.Load();
    type_->setCurrentIndex(converter_.outputType >= 0 && converter_.outputType < 2 ? converter_.outputType : -1);
    ShowFolder(output_, converter_.outputFolder, "Folder2");
    UpdateOk();
    FillList();
}

void CShpToBmp::FillList() {
    ShowFolder(input_, converter_.inputFolder, "Folder\n.....");
    files_->clear();
    const std::vector<std::string> names = converter_.ListFiles();
    for (const std::string& name : names) files_->addItem(ToQString(name));
    count_->setText(QString::fromStdString(ShpToBmpConverter::CountLine(int(names.size()))));
}

void CShpToBmp::PickInputFolder() {
    const std::string folder = context_.pickers.PickFolder(converter_.inputFolder, "Folder for Shp and s16 files");
    ChooseInputFolder(folder);
}

void CShpToBmp::ChooseInputFolder(const std::string& folder) {
    if (folder.empty()) return;
    converter_.ChooseInputFolder(folder);
    FillList();
}

void CShpToBmp::PickOutputFolder() {
    const std::string folder = context_.pickers.PickFolder(converter_.outputFolder, "Folder for image files");
    if (folder.empty()) return;
    converter_.ChooseOutputFolder(folder);
    ShowFolder(output_, converter_.outputFolder, "Folder2");
    UpdateOk();
}

void CShpToBmp::UpdateOk() {
    // Without an output folder the pictures would land wherever the program happens to run.
    ok_->setEnabled(!converter_.outputFolder.empty());
}

void CShpToBmp::accept() {
    if (converter_.outputFolder.empty()) return;
    converter_.Convert();
    QDialog::accept();
}

}  // namespace pixmond
