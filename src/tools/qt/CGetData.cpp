#include "tools/qt/CGetData.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "base/Format.h"
#include "image/IconSource.h"
#include "tools/qt/ClickableLabel.h"
#include "ui/Pickers.h"
#include "ui/Services.h"
#include "ui/qt/QtText.h"

namespace pixmond {

namespace {
constexpr const char* kBlockFilter =
    "Image files (BMP, PNG, JPG )|*.bmp;*.png;*.jpg|Files (*.BMP)|*.bmp|Files (*.PNG)|*.png|Files (*.JPG)|*.jpg|";
}

CGetData::CGetData(ViewContext& context, const std::string& prompt, IconSource* source, int position,
                   const std::string& proposedFile, QWidget* parent)
    : QDialog(parent), context_(context), source_(source), request_(context.services.settings) {
    setWindowTitle(QStringLiteral("Create a block of icons, with no separatos (Quarnel compatible)"));
    BuildControls();
    std::vector<BlockRequest::IconSize> sizes;
    if (source_) sizes = BlockRequest::SizesOf(*source_);
    const bool named = request_.Start(std::move(sizes), position, proposedFile);
    // The caller's words, or the template's own with the first icon of the block.
    prompt_->setText(prompt.empty() ? QStringLiteral("Start icon is #%1").arg(request_.start + 1) : ToQString(prompt));
    PushFields();
    if (!source_) {
        ok_->setEnabled(false);
        return;
    }
    // A proposed name without a '_' to build on: the user names the file.
    if (!named) PickFile();
}

CGetData::~CGetData() { StopEditSignals(); }

void CGetData::StopEditSignals() {
    for (QLineEdit* edit : {count_, last_, rows_}) edit->disconnect(this);
}

void CGetData::done(int result) {
    StopEditSignals();
    QDialog::done(result);
}

void CGetData::BuildControls() {
    prompt_ = new QLabel(this);
    prompt_->setTextFormat(Qt::PlainText);
    const auto numberEdit = [this] {
        auto* edit = new QLineEdit(this);
        // Digits only; what can still be typed wrong (nothing, a lone sign) is refused with a message.
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?\\d{0,6}")), edit));
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 16);
        return edit;
    };
    count_ = numberEdit();
    last_ = numberEdit();
    rows_ = numberEdit();
    available_ = new QLabel(this);
    cellSize_ = new QLabel(this);
    size_ = new QLabel(this);
    size_->setTextFormat(Qt::PlainText);
    size_->setMinimumHeight(size_->fontMetrics().lineSpacing() * 2 + 4);
    lines_ = new QCheckBox(QStringLiteral("Draw a line between icons"), this);
    type_ = new QComboBox(this);
    type_->addItem(QStringLiteral("BMP type"));
    type_->addItem(QStringLiteral("PNG type"));
    pick_ = new QPushButton(QStringLiteral("Pick File  ..."), this);
    pick_->setAutoDefault(false);
    file_ = new ClickableLabel(QString(), this);
    file_->setToolTip(QStringLiteral("Click to name the file after the icons of the block"));
    file_->setFocusPolicy(Qt::StrongFocus);
    file_->setMinimumWidth(320);

    auto* countRow = new QHBoxLayout;
    countRow->addWidget(count_);
    countRow->addWidget(available_);
    countRow->addStretch(1);
    auto* form = new QFormLayout;
    auto* countLabel = new QLabel(QStringLiteral("Icons to include"), this);
    countLabel->setBuddy(count_);
    form->addRow(countLabel, countRow);
    auto* lastLabel = new QLabel(QStringLiteral("Last Icon to include"), this);
    lastLabel->setBuddy(last_);
    form->addRow(lastLabel, last_);
    auto* rowsLabel = new QLabel(QStringLiteral("How many ROWS to output"), this);
    rowsLabel->setBuddy(rows_);
    form->addRow(rowsLabel, rows_);
    form->addRow(new QLabel(QStringLiteral("Icon size"), this), cellSize_);
    auto* block = new QGroupBox(QStringLiteral("Size of Icon block"), this);
    auto* blockLayout = new QVBoxLayout(block);
    blockLayout->addWidget(prompt_);
    blockLayout->addLayout(form);
    blockLayout->addWidget(size_);
    blockLayout->addWidget(lines_);

    auto* output = new QGroupBox(QStringLiteral("Output"), this);
    auto* outputRow = new QHBoxLayout;
    outputRow->addWidget(type_);
    outputRow->addStretch(1);
    outputRow->addWidget(pick_);
    auto* outputLayout = new QVBoxLayout(output);
    outputLayout->addLayout(outputRow);
    outputLayout->addWidget(file_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(block);
    layout->addWidget(output);
    layout->addStretch(1);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    setTabOrder(count_, last_);
    setTabOrder(last_, rows_);
    setTabOrder(rows_, lines_);
    setTabOrder(lines_, type_);
    setTabOrder(type_, pick_);
    setTabOrder(pick_, file_);

    connect(count_, &QLineEdit::editingFinished, this, &CGetData::CountEdited);
    connect(last_, &QLineEdit::editingFinished, this, &CGetData::LastEdited);
    connect(rows_, &QLineEdit::textEdited, this, &CGetData::RowsEdited);
    connect(lines_, &QCheckBox::toggled, this, [this](bool on) { request_.drawLines = on; });
    connect(type_, &QComboBox::activated, this, [this](int type) {
        request_.OutputTypeChanged(type);
        PushFields();
    });
    connect(pick_, &QPushButton::clicked, this, &CGetData::PickFile);
    connect(file_, &ClickableLabel::clicked, this, &CGetData::Repropose);
    connect(buttons, &QDialogButtonBox::accepted, this, &CGetData::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CGetData::reject);
}

bool CGetData::PullNumber(QLineEdit* edit, int& value) {
    bool ok = false;
    const int read = edit->text().toInt(&ok);
    if (ok) {
        value = read;
        return true;
    }
    if (!complaining_) {
        complaining_ = true;
        context_.services.messages.Error("Enter an integer.");
        complaining_ = false;
    }
    edit->setFocus();
    edit->selectAll();
    return false;
}

// Focus passing through an edit changes nothing: only a new number recomputes the block and renames the file
// (a name the user picked stays until the range changes).
void CGetData::CountEdited() {
    int count = request_.count;
    if (complaining_ || !PullNumber(count_, count) || count == request_.count) return;
    request_.count = count;
    if (!request_.CountChanged()) PickFile();
    PushFields();
}

void CGetData::LastEdited() {
    int last = request_.last;
    if (complaining_ || !PullNumber(last_, last) || last == request_.last) return;
    request_.last = last;
    if (!request_.LastChanged()) PickFile();
    PushFields();
}

void CGetData::RowsEdited() {
    // Half-typed numbers are left alone until they are numbers.
    bool ok = false;
    const int rows = rows_->text().toInt(&ok);
    if (!ok) return;
    request_.rows = rows;
    if (!request_.RowsChanged()) rows_->setText(QString::number(request_.rows));
    size_->setText(ToQString(request_.SizeText()));
}

void CGetData::PickFile() {
    const std::string path = context_.pickers.PickFile(request_.fileName, "File for block picture", kBlockFilter, "", false);
    if (path.empty()) return;
    request_.FilePicked(path);
    PushFields();
}

void CGetData::Repropose() {
    if (request_.ReproposeFileName()) PushFields();
    else PickFile();
}

void CGetData::PushFields() {
    const auto put = [](QLineEdit* edit, int value) {
        if (edit->text() != QString::number(value)) edit->setText(QString::number(value));
    };
    put(count_, request_.count);
    put(last_, request_.last);
    put(rows_, request_.rows);
    available_->setText(QString::fromStdString(request_.AvailableText()));
    cellSize_->setText(QString::fromStdString(request_.CellSizeText()));
    size_->setText(ToQString(request_.SizeText()));
    lines_->setChecked(request_.drawLines);
    type_->setCurrentIndex(request_.outputType >= 0 && request_.outputType < type_->count() ? request_.outputType : -1);
    file_->setText(ToQString(request_.fileName));
    file_->setToolTip(ToQString(request_.fileName));
}

void CGetData::accept() {
    int count = 0, last = 0, rows = 0;
    if (!PullNumber(count_, count) || !PullNumber(last_, last) || !PullNumber(rows_, rows)) return;
    // A number typed and confirmed with Enter has not left its edit yet: it is taken by the same rules.
    if (count != request_.count) {
        request_.count = count;
        request_.CountChanged();
    } else if (last != request_.last) {
        request_.last = last;
        request_.LastChanged();
    }
    if (rows != request_.rows) {
        request_.rows = rows;
        request_.RowsChanged();
    }
    request_.drawLines = lines_->isChecked();
    PushFields();
    // The name is mostly proposed, not picked: a file of that name is only replaced when the user says so.
    if (context_.services.files.Exists(request_.fileName) &&
        !context_.services.messages.Question(
            Format("%s already exists.\nDo you want to replace it?", request_.fileName.c_str())))
        return;
    QDialog::accept();
}

bool CGetData::Build() { return source_ && request_.SaveTo(*source_, context_.services.messages); }

bool CGetData::Run(ViewContext& context, const std::string& prompt, IconSource* source, int position,
                   const std::string& proposedFile, QWidget* parent) {
    if (!source) return false;
    CGetData dialog(context, prompt, source, position, proposedFile, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    dialog.Build();
    return true;
}

}  // namespace pixmond
