#include "tools/qt/CShpMaker.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/Format.h"
#include "base/PathParts.h"
#include "tools/qt/CShpMakerPreview.h"
#include "ui/AppSettings.h"
#include "ui/Pickers.h"
#include "ui/Services.h"
#include "ui/qt/QtText.h"

namespace pixmond {

namespace {

const char* const kModeTexts[3] = {
    "Create a Shp file with 9 cloned icons, for each Bitmap you mark\n --   Express batch mode  --",
    "Create a Shp file from a bitmap including 9 icons same sized. Can select more than 1 bitmap",
    "Create a Shp file with all the icons you add to list"};

bool IsEnter(const QKeyEvent* key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

}  // namespace

CShpMaker::CShpMaker(ViewContext& context, QWidget* parent)
    : QDialog(parent), context_(context), logic_(context.services) {
    setWindowTitle(QStringLiteral("Orvel Shp Creator"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/pixmond-64.png")));
    setSizeGripEnabled(true);
    BuildControls();
    Connect();
    logic_.LoadSettings();
    const ShpMakerSettings stored = logic_.Stored();
    mode_ = stored.Mode();
    threeByThreeOn_ = stored.ThreeByThree();
    previewOn_ = stored.Preview();
    PushFields();
    ModeChanged();
    saveBmp_->setEnabled(false);
    FillBitmapList(true);
}

// A closing dialog takes the focus from the pattern box; leaving it then applies no pattern.
CShpMaker::~CShpMaker() { spec_->disconnect(this); }

void CShpMaker::done(int result) {
    spec_->disconnect(this);
    QDialog::done(result);
}

void CShpMaker::BuildControls() {
    folderButton_ = new QPushButton(QStringLiteral("Bitmap &Folder ..."), this);
    folderButton_->setAutoDefault(false);
    folder_ = new QLabel(this);
    folder_->setTextFormat(Qt::PlainText);
    folder_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    folder_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    spec_ = new QLineEdit(this);
    spec_->setToolTip(QStringLiteral(
        "Can limit the files to show in order to select easier\nIf no suffix is typed, [.BMP] will be added\n"
        "Remember to press \"Apply file spec (filter)\" button to reset list"));
    apply_ = new QPushButton(QStringLiteral("Apply file spec (filter)"), this);
    apply_->setAutoDefault(false);
    apply_->setToolTip(QStringLiteral("Reset file list using the spec you typed on left edit box"));
    bitmaps_ = new QListWidget(this);
    bitmaps_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    bitmaps_->setFlow(QListView::TopToBottom);
    bitmaps_->setWrapping(true);
    bitmaps_->setResizeMode(QListView::Adjust);
    bitmaps_->installEventFilter(this);

    icons_ = new QListWidget(this);
    icons_->installEventFilter(this);
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    up_->setToolTip(QStringLiteral("Move the selected icon up"));
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    down_->setToolTip(QStringLiteral("Move the selected icon down"));
    clear_ = new QPushButton(QStringLiteral("&Clear List"), this);
    clear_->setAutoDefault(false);

    auto* modeGroup = new QButtonGroup(this);
    for (int mode = 0; mode < 3; ++mode) {
        modes_[mode] = new QRadioButton(QString::fromLatin1(kModeTexts[mode]), this);
        modeGroup->addButton(modes_[mode], mode);
    }
    modes_[2]->setToolTip(QStringLiteral(
        "Can select several bitmaps\nand double click to add all selected\nThen reorder using Up/Down arrows"));
    threeByThree_ = new QCheckBox(QStringLiteral("Check if 3x3 arrangement\nUncheck if 9x1 - horizontal"), this);

    preview_ = new CShpMakerPreview(logic_.Preview(), this);
    previewBox_ = new QCheckBox(QStringLiteral("Preview"), this);
    zoom_ = new QPushButton(QStringLiteral("Zoom"), this);
    zoom_->setCheckable(true);
    zoom_->setAutoDefault(false);
    defaultPalette_ = new QCheckBox(QStringLiteral("If Bitmap is not 256 colors\nPreview with Orvel palette"), this);
    info_ = new QLabel(QStringLiteral("No Pic loaded"), this);
    info_->setTextFormat(Qt::PlainText);
    info_->setMinimumHeight(info_->fontMetrics().lineSpacing() * 2 + 4);
    orvelPalette_ = new QPushButton(QStringLiteral("Change to Orvel Pal"), this);
    orvelPalette_->setAutoDefault(false);
    replaceList_ = new QComboBox(this);
    withList_ = new QComboBox(this);
    for (QComboBox* list : {replaceList_, withList_}) {
        list->setMaxVisibleItems(20);
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(16);
    }
    replace_ = new QPushButton(QStringLiteral("Replace"), this);
    replace_->setAutoDefault(false);
    saveBmp_ = new QPushButton(QStringLiteral("Save BMP"), this);
    saveBmp_->setAutoDefault(false);
    make_ = new QPushButton(QStringLiteral("&Make Shp"), this);
    make_->setDefault(true);
    exit_ = new QPushButton(QStringLiteral("&Exit"), this);
    exit_->setAutoDefault(false);

    // Left: the bitmaps of the folder.
    auto* specRow = new QHBoxLayout;
    auto* specLabel = new QLabel(QStringLiteral("Show Files"), this);
    specLabel->setBuddy(spec_);
    specRow->addWidget(specLabel);
    specRow->addWidget(spec_, 1);
    specRow->addWidget(apply_);
    auto* hint = new QLabel(QStringLiteral("-- Double Click on # item to Remove from list --\n"
                                           "-- Double Clcik on a Bitmap to add  item listt --"),
                            this);
    auto* left = new QVBoxLayout;
    left->addLayout(specRow);
    left->addWidget(bitmaps_, 1);
    left->addWidget(hint);

    // Middle: the icon list of mode 2 with its mover.
    auto* iconCaption = new QLabel(QStringLiteral("Single SHP icon list"), this);
    iconCaption->setBuddy(icons_);
    auto* mover = new QHBoxLayout;
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(up_);
    arrows->addWidget(down_);
    mover->addLayout(arrows);
    mover->addWidget(new QLabel(QStringLiteral("Move selected  #\n Up / Down"), this), 1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(iconCaption);
    middle->addWidget(icons_, 1);
    middle->addLayout(mover);
    middle->addWidget(clear_);
    auto* middleBox = new QWidget(this);
    middleBox->setLayout(middle);
    middle->setContentsMargins(0, 0, 0, 0);
    middleBox->setMinimumWidth(170);
    middleBox->setMaximumWidth(260);

    // Right: the preview and the colour repairs.
    auto* previewRow = new QHBoxLayout;
    previewRow->addWidget(previewBox_);
    previewRow->addWidget(zoom_);
    previewRow->addStretch(1);
    auto* colours = new QGridLayout;
    colours->addWidget(new QLabel(QStringLiteral("Replace  [ default is Pixel 0 ]"), this), 0, 0);
    colours->addWidget(replaceList_, 1, 0);
    colours->addWidget(new QLabel(QStringLiteral("With [ default is tranparent ]"), this), 0, 1);
    colours->addWidget(withList_, 1, 1);
    colours->addWidget(replace_, 2, 0);
    colours->addWidget(saveBmp_, 2, 1);
    auto* right = new QVBoxLayout;
    right->addLayout(previewRow);
    right->addWidget(preview_, 1);
    right->addWidget(defaultPalette_);
    right->addWidget(info_);
    right->addWidget(orvelPalette_, 0, Qt::AlignLeft);
    right->addLayout(colours);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addWidget(middleBox, 0);
    columns->addLayout(right, 3);

    auto* modeBox = new QGroupBox(this);
    auto* modeLayout = new QGridLayout(modeBox);
    for (int mode = 0; mode < 3; ++mode) modeLayout->addWidget(modes_[mode], mode, 0);
    modeLayout->addWidget(threeByThree_, 1, 1, Qt::AlignTop);
    modeLayout->setColumnStretch(0, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(folderButton_);
    top->addWidget(folder_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(make_);
    buttons->addWidget(exit_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(columns, 1);
    layout->addWidget(modeBox);
    layout->addLayout(buttons);
    resize(980, 660);

    QWidget* order[] = {folderButton_, spec_, apply_, bitmaps_, icons_, up_, down_, clear_, previewBox_, zoom_,
                        defaultPalette_, orvelPalette_, replaceList_, withList_, replace_, saveBmp_, modes_[0],
                        threeByThree_, make_, exit_};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void CShpMaker::Connect() {
    connect(folderButton_, &QPushButton::clicked, this, &CShpMaker::ChooseFolder);
    connect(apply_, &QPushButton::clicked, this, &CShpMaker::ApplyFileSpec);
    // Leaving the box with a new file spec applies it; passing through it leaves the lists as they are.
    connect(spec_, &QLineEdit::editingFinished, this, [this] {
        if (PathFromQString(spec_->text()) != logic_.fileSpec) ApplyFileSpec();
    });
    connect(bitmaps_, &QListWidget::currentRowChanged, this, [this] {
        if (!filling_) FocusChanged();
    });
    connect(bitmaps_, &QListWidget::itemSelectionChanged, this, [this] {
        if (!filling_) UpdateMakeButton();
    });
    connect(bitmaps_, &QListWidget::itemDoubleClicked, this, [this] { AddSelectedToIconList(); });
    connect(icons_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { RemoveIconRow(icons_->row(item)); });
    connect(up_, &QToolButton::clicked, this, [this] { MoveIconRow(-1); });
    connect(down_, &QToolButton::clicked, this, [this] { MoveIconRow(1); });
    connect(clear_, &QPushButton::clicked, this, [this] {
        logic_.iconList.Clear();
        RefreshIconList(-1);
        UpdateMakeButton();
    });
    for (QRadioButton* mode : modes_) connect(mode, &QRadioButton::toggled, this, [this](bool on) {
            if (on) ModeChanged();
        });
    connect(previewBox_, &QCheckBox::toggled, this, [this] {
        PullFields();
        preview_->SetShown(previewOn_);
    });
    connect(zoom_, &QPushButton::toggled, this, [this](bool on) {
        zoom_->setText(on ? QStringLiteral("Zoomed") : QStringLiteral("Zoom"));
        preview_->SetZoom(on);
    });
    connect(defaultPalette_, &QCheckBox::toggled, this, &CShpMaker::FocusChanged);
    connect(orvelPalette_, &QPushButton::clicked, this, &CShpMaker::ChangeToOrvelPalette);
    connect(replace_, &QPushButton::clicked, this, &CShpMaker::ReplaceColour);
    connect(saveBmp_, &QPushButton::clicked, this, &CShpMaker::SaveBmp);
    connect(make_, &QPushButton::clicked, this, &CShpMaker::MakeShp);
    connect(exit_, &QPushButton::clicked, this, &CShpMaker::reject);
}

void CShpMaker::PullFields() {
    // Controls being set from the values must not send their half-set state back.
    if (pushing_) return;
    for (int mode = 0; mode < 3; ++mode)
        if (modes_[mode]->isChecked()) mode_ = mode;
    threeByThreeOn_ = threeByThree_->isChecked();
    previewOn_ = previewBox_->isChecked();
}

void CShpMaker::PushFields() {
    pushing_ = true;
    folder_->setText(PathToQString(logic_.folder));
    folder_->setToolTip(PathToQString(logic_.folder));
    if (spec_->text() != PathToQString(logic_.fileSpec)) spec_->setText(PathToQString(logic_.fileSpec));
    modes_[mode_]->setChecked(true);
    threeByThree_->setChecked(threeByThreeOn_);
    previewBox_->setChecked(previewOn_);
    preview_->SetShown(previewOn_);
    pushing_ = false;
}

std::vector<std::string> CShpMaker::SelectedNames() const {
    // In list order, whatever the order they were selected in.
    std::vector<std::string> names;
    for (int row = 0; row < bitmaps_->count(); ++row)
        if (bitmaps_->item(row)->isSelected()) names.push_back(PathFromQString(bitmaps_->item(row)->text()));
    return names;
}

std::string CShpMaker::FocusedName() const {
    const QListWidgetItem* item = bitmaps_->currentItem();
    return item ? PathFromQString(item->text()) : std::string();
}

void CShpMaker::FillBitmapList(bool emptyIconList) {
    if (emptyIconList) {
        logic_.iconList.Clear();
        RefreshIconList(-1);
    }
    filling_ = true;
    bitmaps_->clear();
    for (const std::string& name : logic_.ListBitmaps()) bitmaps_->addItem(PathToQString(name));
    if (bitmaps_->count() > 0) bitmaps_->setCurrentRow(0);
    filling_ = false;
    PushFields();
    FocusChanged();
}

void CShpMaker::ChooseFolder() {
    const std::string folder = context_.pickers.PickFolder(logic_.folder, "Select Bitmap files folder");
    if (folder.empty()) return;
    logic_.ChooseFolder(folder);
    FillBitmapList(true);
}

void CShpMaker::ShowFolder(const std::string& folder) {
    if (folder.empty()) return;
    logic_.folder = WithTrailingSeparator(folder);
    FillBitmapList(true);
}

void CShpMaker::ApplyFileSpec() {
    PullFields();
    // The file spec counts once applied: the list shows what it names.
    logic_.fileSpec = PathFromQString(spec_->text());
    // The folder is the same: the icon list still names its bitmaps and is kept.
    FillBitmapList(false);
}

void CShpMaker::UpdateMakeButton() {
    const bool ready = mode_ == CShpMakerLogic::kIconList ? logic_.iconList.Count() > 0
                                                                        : !bitmaps_->selectedItems().isEmpty();
    make_->setEnabled(ready);
}

void CShpMaker::FocusChanged() {
    PullFields();
    UpdateMakeButton();
    logic_.LoadPreview(FocusedName(), defaultPalette_->isChecked());
    RefreshInfo();
    preview_->update();
}

void CShpMaker::RefreshInfo() {
    info_->setText(QString::fromStdString(logic_.BitmapInfo()));
    // Colours are replaced by index, so only in a bitmap that has a palette: a row per entry, and in the
    // "With" list "No replace" first.
    const bool indexed = logic_.CanReplace();
    replaceList_->clear();
    withList_->clear();
    if (indexed) {
        withList_->addItem(QStringLiteral("No replace"));
        for (int i = 0; i < 256; ++i) {
            const Rgb c = logic_.PaletteColour(i);
            const QString row = QString::fromStdString(Format("%d (%d,%d,%d)", i, RedOf(c), GreenOf(c), BlueOf(c)));
            replaceList_->addItem(row);
            withList_->addItem(row);
        }
    }
    replaceList_->setCurrentIndex(logic_.ReplaceProposal());
    withList_->setCurrentIndex(logic_.WithProposal() + 1);
    replaceList_->setEnabled(indexed);
    withList_->setEnabled(indexed);
    replace_->setEnabled(indexed);
    orvelPalette_->setEnabled(logic_.Preview().Bits() != nullptr);
    saveBmp_->setEnabled(logic_.CanSave());
}

void CShpMaker::RefreshIconList(int select) {
    icons_->clear();
    const auto& titles = logic_.iconList.Titles();
    for (size_t i = 0; i < titles.size(); ++i)
        icons_->addItem(ToQString(Format("#%03d : %s", int(i + 1), titles[i].c_str())));
    if (select >= 0 && select < icons_->count()) icons_->setCurrentRow(select);
}

void CShpMaker::ModeChanged() {
    PullFields();
    const bool list = mode_ == CShpMakerLogic::kIconList;
    for (QWidget* widget : std::initializer_list<QWidget*>{icons_, up_, down_}) widget->setEnabled(list);
    threeByThree_->setEnabled(mode_ == CShpMakerLogic::kNineIconBitmap);
    UpdateMakeButton();
    preview_->update();
}

void CShpMaker::AddSelectedToIconList() {
    PullFields();
    if (mode_ != CShpMakerLogic::kIconList) return;
    const std::vector<std::string> names = SelectedNames();
    if (names.empty()) return;
    for (const std::string& name : names) logic_.iconList.Add(PathParts::Of(name).title);
    RefreshIconList(logic_.iconList.Count() - 1);
    UpdateMakeButton();
    logic_.LoadPreview(names.back(), defaultPalette_->isChecked());
    RefreshInfo();
    preview_->update();
}

void CShpMaker::RemoveIconRow(int row) {
    if (!logic_.iconList.Remove(row)) return;
    RefreshIconList(std::min(row, logic_.iconList.Count() - 1));
    UpdateMakeButton();
}

void CShpMaker::MoveIconRow(int delta) {
    const int to = logic_.iconList.Move(icons_->currentRow(), delta);
    if (to >= 0) RefreshIconList(to);
}

void CShpMaker::ReplaceColour() {
    PullFields();
    // Row 0 of the "With" list is "No replace".
    if (!logic_.ReplaceColour(replaceList_->currentIndex(), withList_->currentIndex() - 1)) return;
    saveBmp_->setEnabled(true);
    preview_->update();
}

void CShpMaker::ChangeToOrvelPalette() {
    if (!logic_.ChangeToDefaultPalette()) return;
    RefreshInfo();
    preview_->update();
}

void CShpMaker::SaveBmp() {
    if (!logic_.SaveChanged(FocusedName())) return;
    saveBmp_->setEnabled(false);
    // The new bitmap joins the list; the icon list names bitmaps of the same folder and stays.
    FillBitmapList(false);
}

void CShpMaker::MakeShp() {
    PullFields();
    const std::vector<std::string> names = SelectedNames();
    if (!logic_.ReadyToRun(mode_, int(names.size()))) return;
    switch (mode_) {
    case CShpMakerLogic::kExpressBatch:
        logic_.MakeClones(names);
        break;
    case CShpMakerLogic::kNineIconBitmap:
        logic_.MakeFromNineIconBitmaps(names, threeByThreeOn_);
        break;
    default: {
        const std::string output = context_.pickers.PickFile(logic_.folder + "*.shp", "Select Shp to create",
                                                             "Files (*.SHP)|*.shp|", ".shp", false);
        if (!output.empty()) logic_.MakeFromIconList(output);
    }
    }
}

void CShpMaker::reject() {
    PullFields();
    ShpMakerSettings stored = logic_.Stored();
    stored.SetFolder(logic_.folder);
    stored.SetMode(mode_);
    stored.SetThreeByThree(threeByThreeOn_);
    stored.SetPreview(previewOn_);
    QDialog::reject();
}

bool CShpMaker::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    // The keys that stand for the double clicks: Enter adds the selected bitmaps to the icon list; Enter or
    // Delete takes the current row off it.
    if (watched == bitmaps_ && IsEnter(key) && mode_ == CShpMakerLogic::kIconList) {
        AddSelectedToIconList();
        return true;
    }
    if (watched == icons_ && (IsEnter(key) || key->key() == Qt::Key_Delete) && icons_->currentRow() >= 0) {
        RemoveIconRow(icons_->currentRow());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CShpMaker::keyPressEvent(QKeyEvent* event) {
    // Enter in the file spec applies it; it does not make SHP files.
    if (spec_->hasFocus() && IsEnter(event)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace pixmond
