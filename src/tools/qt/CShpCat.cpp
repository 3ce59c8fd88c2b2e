#include "tools/qt/CShpCat.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/Format.h"
#include "image/FontTable.h"
#include "tools/CatalogFileReader.h"
#include "ui/AppSettings.h"
#include "tools/qt/PathLabel.h"
#include "ui/Pickers.h"
#include "ui/Services.h"
#include "ui/qt/QtText.h"

namespace pixmond {

namespace {

void Refill(QComboBox* combo, const std::vector<std::string>& rows, int current) {
    combo->clear();
    for (const std::string& row : rows) combo->addItem(QString::fromStdString(row));
    combo->setCurrentIndex(current);
}

}  // namespace

CShpCat::CShpCat(ViewContext& context, CatalogList list, QWidget* parent)
    : QDialog(parent), context_(context), list_(std::move(list)), logic_(context.services, text_) {
    setWindowTitle(QStringLiteral("Icon catalog (viewer)"));
    BuildControls();
    CatalogSettings& settings = logic_.Settings();
    settings.outputFolder = context_.settings.BmpFolder();
    settings.fileType = context_.settings.OutputImage();
    started_ = logic_.Start(list_.source, list_.inputName, list_.Rows());
    // Without rows there is nothing to catalogue: the controls stay empty and only Cancel is of use.
    if (!started_) {
        go_->setEnabled(false);
        return;
    }
    for (int row = 0; row < kFontCount; ++row)
        font_->addItem(QString::fromStdString(Format("%s  %d", FontAt(row).face, FontAt(row).size)));
    for (int n = 1; n <= 9; ++n) viewIcon_->addItem(QStringLiteral("Icon #%1").arg(n));
    if (list_.source == CatalogSource::Archive && list_.dat) {
        reader_ = std::make_unique<CatalogFileReader>(*list_.dat);
    } else {
        reader_ = std::make_unique<CatalogFileReader>(list_.inputName);
    }
    if (list_.colours) reader_->SetColourTable(*list_.colours);
    input_->setText(ToQString(logic_.InputLabel()));
    input_->setToolTip(ToQString(logic_.InputLabel()));
    Collect();
}

CShpCat::~CShpCat() { StopEditSignals(); }

void CShpCat::StopEditSignals() {
    for (QLineEdit* edit : {boxX_, boxY_}) edit->disconnect(this);
}

void CShpCat::done(int result) {
    StopEditSignals();
    QDialog::done(result);
}

void CShpCat::BuildControls() {
    input_ = NewPathLabel(this);
    output_ = NewPathLabel(this);
    pickOutput_ = new QPushButton(QStringLiteral("Output Folder .."), this);
    pickOutput_->setAutoDefault(false);
    name_ = new QLineEdit(this);
    viewIcon_ = new QComboBox(this);
    columns_ = new QComboBox(this);
    rows_ = new QComboBox(this);
    boxX_ = new QLineEdit(this);
    boxY_ = new QLineEdit(this);
    for (QLineEdit* edit : {boxX_, boxY_}) {
        edit->setValidator(new QIntValidator(0, 9999, edit));
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    }
    includeName_ = new QCheckBox(QStringLiteral("Include icon name"), this);
    font_ = new QComboBox(this);
    type_ = new QComboBox(this);
    type_->addItem(QStringLiteral("BMP type"));
    type_->addItem(QStringLiteral("PNG type"));
    namesInLog_ = new QCheckBox(QStringLiteral("Include icon-names in log"), this);
    estimate_ = new QLabel(QStringLiteral("Icons & Files"), this);
    estimate_->setTextFormat(Qt::PlainText);
    estimate_->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    auto* paths = new QGridLayout;
    paths->addWidget(new QLabel(QStringLiteral("Icons from"), this), 0, 0);
    paths->addWidget(input_, 0, 1, 1, 2);
    paths->addWidget(new QLabel(QStringLiteral("Outpu Folder"), this), 1, 0);
    paths->addWidget(output_, 1, 1);
    paths->addWidget(pickOutput_, 1, 2);
    auto* nameLabel = new QLabel(QStringLiteral("Catalog Filename"), this);
    nameLabel->setBuddy(name_);
    paths->addWidget(nameLabel, 2, 0);
    paths->addWidget(name_, 2, 1, 1, 2);
    paths->setColumnStretch(1, 1);

    const auto labelled = [this](QFormLayout* form, const char* text, QWidget* field) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    auto* picture = new QGroupBox(QStringLiteral("Catalog picture"), this);
    auto* pictureForm = new QFormLayout(picture);
    labelled(pictureForm, "Icon View", viewIcon_);
    labelled(pictureForm, "Max. Bitmap's width", columns_);
    labelled(pictureForm, "Max. Bitmap's height", rows_);
    auto* boxRow = new QHBoxLayout;
    boxRow->addWidget(boxX_);
    boxRow->addWidget(boxY_);
    boxRow->addStretch(1);
    auto* boxLabel = new QLabel(QStringLiteral("Icon box size (x,y)"), this);
    boxLabel->setBuddy(boxX_);
    pictureForm->addRow(boxLabel, boxRow);
    pictureForm->addRow(QString(), includeName_);
    labelled(pictureForm, "Font", font_);
    labelled(pictureForm, "As file-type", type_);
    pictureForm->addRow(QString(), namesInLog_);

    auto* buttons = new QDialogButtonBox(this);
    go_ = buttons->addButton(QStringLiteral("GO"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    go_->setDefault(true);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(estimate_, 1);
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(paths);
    layout->addWidget(picture);
    layout->addStretch(1);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    setTabOrder(pickOutput_, name_);
    setTabOrder(name_, viewIcon_);
    setTabOrder(viewIcon_, columns_);
    setTabOrder(columns_, rows_);
    setTabOrder(rows_, boxX_);
    setTabOrder(boxX_, boxY_);
    setTabOrder(boxY_, includeName_);
    setTabOrder(includeName_, font_);
    setTabOrder(font_, type_);
    setTabOrder(type_, namesInLog_);
    setTabOrder(namesInLog_, go_);

    connect(columns_, &QComboBox::activated, this, &CShpCat::BoxChanged);
    connect(rows_, &QComboBox::activated, this, &CShpCat::BoxChanged);
    connect(boxX_, &QLineEdit::editingFinished, this, &CShpCat::BoxChanged);
    connect(boxY_, &QLineEdit::editingFinished, this, &CShpCat::BoxChanged);
    connect(includeName_, &QCheckBox::clicked, this, &CShpCat::BoxChanged);
    // Icons are measured by the icon they will show.
    connect(viewIcon_, &QComboBox::activated, this, [this] {
        PullFields();
        Collect();
    });
    connect(type_, &QComboBox::activated, this, [this](int type) {
        logic_.Settings().fileType = type;
        context_.settings.SetOutputImage(type);
    });
    connect(pickOutput_, &QPushButton::clicked, this, &CShpCat::PickOutputFolder);
    connect(buttons, &QDialogButtonBox::accepted, this, &CShpCat::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CShpCat::reject);
}

void CShpCat::Collect() {
    if (!started_) return;
    std::vector<CatalogIcon> candidates = list_.source == CatalogSource::Archive && list_.dat
                                              ? CShpCatLogic::ArchiveCandidates(*list_.dat, list_.entries)
                                              : CShpCatLogic::FolderCandidates(list_.names);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    logic_.Collect(candidates, *reader_);
    QApplication::restoreOverrideCursor();
    DeriveBox();
    logic_.Estimate();
    PushFields();
}

void CShpCat::BoxChanged() {
    if (!started_ || pushing_) return;
    PullFields();
    DeriveBox();
    logic_.Estimate();
    PushFields();
}

void CShpCat::DeriveBox() {
    // The choices show the pixels of the whole box; a tight one-row picture does not change them.
    logic_.DeriveBox();
    std::vector<std::string> columns, rows;
    for (int n = CShpCatLogic::kMinColumns; n <= CShpCatLogic::kMaxColumns; ++n)
        columns.push_back(Format("%d icons (%d)", n, logic_.PictureWidth(n)));
    for (int n = CShpCatLogic::kMinRows; n <= CShpCatLogic::kMaxRows; n += CShpCatLogic::kRowStep)
        rows.push_back(Format("%d icons (%d)", n, logic_.PictureHeight(n)));
    Refill(columns_, columns, ColumnsRow());
    Refill(rows_, rows, RowsRow());
}

int CShpCat::ColumnsRow() const { return logic_.Settings().columns - CShpCatLogic::kMinColumns; }

int CShpCat::RowsRow() const { return (logic_.Settings().rows - CShpCatLogic::kMinRows) / CShpCatLogic::kRowStep; }

void CShpCat::PullFields() {
    CatalogSettings& settings = logic_.Settings();
    settings.viewIcon = viewIcon_->currentIndex() + 1;
    settings.columns = CShpCatLogic::kMinColumns + columns_->currentIndex();
    settings.rows = CShpCatLogic::kMinRows + CShpCatLogic::kRowStep * rows_->currentIndex();
    settings.boxX = boxX_->text().toInt();
    settings.boxY = boxY_->text().toInt();
    settings.includeName = includeName_->isChecked();
    settings.font = font_->currentIndex();
    settings.fileType = type_->currentIndex() >= 0 ? type_->currentIndex() : settings.fileType;
    settings.namesInLog = namesInLog_->isChecked();
    settings.catalogName = PathFromQString(name_->text());
}

void CShpCat::PushFields() {
    pushing_ = true;
    const CatalogSettings& settings = logic_.Settings();
    output_->setText(PathToQString(settings.outputFolder));
    output_->setToolTip(PathToQString(settings.outputFolder));
    name_->setText(PathToQString(settings.catalogName));
    viewIcon_->setCurrentIndex(settings.viewIcon - 1);
    columns_->setCurrentIndex(ColumnsRow());
    rows_->setCurrentIndex(RowsRow());
    boxX_->setText(QString::number(settings.boxX));
    boxY_->setText(QString::number(settings.boxY));
    includeName_->setChecked(settings.includeName);
    font_->setCurrentIndex(settings.font);
    type_->setCurrentIndex(settings.fileType >= 0 && settings.fileType < type_->count() ? settings.fileType : -1);
    namesInLog_->setChecked(settings.namesInLog);
    estimate_->setText(ToQString(logic_.EstimateText()));
    // Without an output folder the pictures would land wherever the program happens to run.
    go_->setEnabled(started_ && !settings.outputFolder.empty());
    pushing_ = false;
}

void CShpCat::PickOutputFolder() {
    const std::string folder =
        context_.pickers.PickFolder(logic_.Settings().outputFolder, "Select output folder");
    if (folder.empty()) return;
    logic_.Settings().outputFolder = folder;
    context_.settings.SetBmpFolder(folder);
    PushFields();
}

void CShpCat::accept() {
    if (!started_) return;
    PullFields();
    // The log goes beside the pictures, under the catalog's name as it is now.
    logic_.NameLog();
    logic_.Go(*reader_);
    QDialog::accept();
}

void CShpCat::reject() {
    logic_.Clear();
    QDialog::reject();
}

}  // namespace pixmond
