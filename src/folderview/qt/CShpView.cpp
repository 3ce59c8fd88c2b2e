#include "folderview/qt/CShpView.h"

#include <QAction>
#include <utility>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

#include "folderview/FolderImages.h"
#include "tools/qt/CGetData.h"
#include "tools/qt/CShpCat.h"
#include "ui/Pickers.h"
#include "ui/AppSettings.h"
#include "ui/Services.h"
#include "base/TextCase.h"
#include "ui/qt/QtCanvas.h"
#include "ui/qt/QtText.h"
#include "tools/qt/PaletteToolsMenu.h"

namespace pixmond {

CPictureArea::CPictureArea(CShpViewModel& model, QWidget* parent) : QFrame(parent), model_(model) {
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(200, 200);
    setAutoFillBackground(true);
}

PixelRect CPictureArea::PictureRect() const {
    const QRect inner = rect().adjusted(2, 2, -2, -2);
    return {inner.x(), inner.y(), inner.width(), inner.height()};
}

void CPictureArea::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const PixelRect area = PictureRect();
    painter.setClipRect(QRect(area.x, area.y, area.width, area.height));
    QtCanvas canvas(painter, width(), height());
    model_.Draw(canvas, area);
    // Why nothing is drawn, written on the empty picture.
    if (!model_.Note().empty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(area.x + 8, area.y + 8, area.width - 16, area.height - 16),
                         Qt::AlignCenter | Qt::TextWordWrap, ToQString(model_.Note()));
    }
}

CShpView::CShpView(ViewContext& context, std::unique_ptr<FolderImages> images, QWidget* parent)
    : QWidget(parent),
      context_(context),
      images_(std::move(images)),
      model_(context.services.files, *images_, context.settings, context.services.messages) {
    BuildControls();
    BuildCommands();
    BuildSaveCommands();
    BuildToolCommands();
    BuildPaletteMenu();
}

CShpView::~CShpView() {
    // The toolbar and the menu belong to the frame's widgets once shown there; they go with the view.
    delete toolBar_;
    delete menu_;
}

void CShpView::BuildControls() {
    listMode_ = new QComboBox(this);
    for (const char* text : {"View All files", "View SHP files only", "View S16 files only", "View PNG files only"})
        listMode_->addItem(QString::fromLatin1(text));
    filter_ = new QLineEdit(this);
    filter_->setPlaceholderText(QStringLiteral("name filter"));
    filterButton_ = new QPushButton(QStringLiteral("F"), this);
    filterButton_->setFixedWidth(28);
    filterButton_->setAutoDefault(false);
    fileList_ = new QListWidget(this);
    fileList_->setUniformItemSizes(true);
    folderButton_ = new QPushButton(QStringLiteral("Folder for SHP files ..."), this);

    path_ = new QLabel(QStringLiteral("Folder"), this);
    path_->setTextFormat(Qt::PlainText);
    path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path is cut at the window's edge rather than widening the window.
    path_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    type_ = new QLabel(QStringLiteral("Image   type"), this);
    size_ = new QLabel(this);
    start_ = new QLabel(this);
    end_ = new QLabel(this);
    iconList_ = new QListWidget(this);
    iconList_->setUniformItemSizes(true);
    output_ = new QComboBox(this);
    output_->addItem(QStringLiteral("BMP type"));
    output_->addItem(QStringLiteral("PNG type"));
    picture_ = new CPictureArea(model_, this);
    pixel_ = new QLabel(QStringLiteral("Pal ### 000,000,000)"), this);
    // Room for the longest colour text, so that the window's least size does not change from file to file.
    pixel_->setMinimumWidth(pixel_->fontMetrics().horizontalAdvance(QStringLiteral("Pal=255 (255,255,255)")));

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filter_, 1);
    filterRow->addWidget(filterButton_);
    auto* left = new QVBoxLayout;
    left->addWidget(listMode_);
    left->addLayout(filterRow);
    left->addWidget(fileList_, 1);
    left->addWidget(folderButton_);

    auto* numbers = new QGridLayout;
    int row = 0;
    for (auto [caption, value] : {std::pair{"Size", size_}, std::pair{"Start", start_}, std::pair{"End", end_}}) {
        numbers->addWidget(new QLabel(QString::fromLatin1(caption), this), row, 0);
        numbers->addWidget(value, row++, 1);
    }
    numbers->setColumnStretch(1, 1);
    auto* saveRow = new QHBoxLayout;
    auto* saveLabel = new QLabel(QStringLiteral("Save &as:"), this);
    saveLabel->setBuddy(output_);
    saveRow->addWidget(saveLabel);
    saveRow->addWidget(output_, 1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(type_);
    middle->addLayout(numbers);
    auto* iconCaption = new QLabel(QStringLiteral("Dble-Click remove #"), this);
    iconCaption->setBuddy(iconList_);
    middle->addWidget(iconCaption);
    middle->addWidget(iconList_, 1);
    middle->addLayout(saveRow);

    auto* pixelRow = new QHBoxLayout;
    pixelRow->addWidget(new QLabel(QStringLiteral("Pix 0,0 (trasparent color)"), this));
    pixelRow->addWidget(pixel_, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(picture_, 1);
    right->addLayout(pixelRow);

    auto* columns = new QHBoxLayout;
    auto* leftBox = new QWidget(this);
    leftBox->setLayout(left);
    leftBox->setFixedWidth(230);
    left->setContentsMargins(0, 0, 0, 0);
    auto* middleBox = new QWidget(this);
    middleBox->setLayout(middle);
    middleBox->setFixedWidth(190);
    middle->setContentsMargins(0, 0, 0, 0);
    columns->addWidget(leftBox);
    columns->addWidget(middleBox);
    columns->addLayout(right, 1);

    auto* layout = new QVBoxLayout(this);
    // The picture's frame ends 4 pixels inside the view, whatever the frame's size.
    layout->setContentsMargins(6, 6, 4, 4);
    layout->addWidget(path_);
    layout->addLayout(columns, 1);

    setTabOrder(listMode_, filter_);
    setTabOrder(filter_, filterButton_);
    setTabOrder(filterButton_, fileList_);
    setTabOrder(fileList_, folderButton_);
    setTabOrder(folderButton_, iconList_);
    setTabOrder(iconList_, output_);
    setFocusProxy(fileList_);

    connect(listMode_, &QComboBox::activated, this, [this](int mode) {
        PullFields();
        model_.SetListMode(mode);
        Refresh();
    });
    const auto rescan = [this] {
        PullFields();
        model_.Rescan();
        Refresh();
    };
    connect(filterButton_, &QPushButton::clicked, this, rescan);
    connect(filter_, &QLineEdit::returnPressed, this, rescan);
    connect(fileList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (refreshing_ || row < 0) return;
        PullFields();
        model_.SelectFile(row);
        Refresh();
    });
    connect(iconList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (refreshing_ || row < 0) return;
        PullFields();
        model_.SelectIcon(row);
        Refresh();
    });
    connect(folderButton_, &QPushButton::clicked, this, &CShpView::ChooseFolder);
    connect(output_, &QComboBox::activated, this, [this](int type) {
        model_.SetOutputType(type);
        Refresh();
    });
}

void CShpView::BuildCommands() {
    menu_ = new QMenu(QStringLiteral("&Icons"));
    toolBar_ = new QToolBar(QStringLiteral("Shp Tool"));
    toolBar_->setObjectName(QStringLiteral("shpToolBar"));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);

    folderAction_ = menu_->addAction(QStringLiteral("Folder for SHP files ..."), this, &CShpView::ChooseFolder);
    folderAction_->setShortcut(QKeySequence::Open);
    menu_->addSeparator();
    collageAction_ = menu_->addAction(QStringLiteral("&Collage"), this, [this] {
        model_.ToggleCollage();
        Refresh();
    });
    collageAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    mirrorAction_ = menu_->addAction(QStringLiteral("&Mirror"), this, [this] {
        model_.ToggleMirror();
        Refresh();
    });
    mirrorAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    menu_->addSeparator();
    for (int zoom = 1; zoom <= 5; ++zoom) {
        QAction* action = menu_->addAction(QStringLiteral("Zoom x%1").arg(zoom), this, [this, zoom] {
            model_.SetZoom(zoom);
            Refresh();
        });
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + zoom)));
        zoomActions_[zoom - 1] = action;
    }
    collageAction_->setCheckable(true);
    mirrorAction_->setCheckable(true);
    for (QAction* action : zoomActions_) action->setCheckable(true);
    connect(menu_, &QMenu::aboutToShow, this, &CShpView::UpdateCommands);

    toolBar_->addAction(folderAction_);
    toolBar_->addSeparator();
    toolBar_->addAction(collageAction_);
    toolBar_->addAction(mirrorAction_);
    for (QAction* action : zoomActions_) toolBar_->addAction(action);
    // Shortcuts work while the view is on show, whether or not its menu is open.
    addActions(menu_->actions());
}

QList<QMenu*> CShpView::Menus() { return {menu_, saveMenu_.get(), paletteMenu_}; }

void CShpView::OnInitialUpdate() {
    model_.Initialise();
    if (!startFolder_.empty()) model_.SetFolder(startFolder_);
    initialised_ = true;
    freshlyScanned_ = true;
    Refresh();
}

void CShpView::OnActivateView(bool active) {
    if (!active || !initialised_) return;
    // The first update has just read the folder; reading it again at once would only cost time.
    if (std::exchange(freshlyScanned_, false)) return;
    model_.Reactivate();
    Refresh();
}

void CShpView::OnUpdate() {
    // Before its first update the view has read nothing; it will read the folder then.
    if (!initialised_) return;
    PullFields();
    model_.Reactivate();
    Refresh();
}

void CShpView::PullFields() { model_.SetNameFilter(PathFromQString(filter_->text())); }

void CShpView::ChooseFolder() {
    PullFields();
    if (model_.ChooseFolder(context_.pickers)) Refresh();
}

bool CShpView::SelectFileNamed(const std::string& name) {
    const auto& files = model_.Files();
    for (size_t row = 0; row < files.size(); ++row) {
        if (!EqualIgnoringCase(files[row], name)) continue;
        model_.SelectFile(int(row));
        Refresh();
        return true;
    }
    return false;
}

void CShpView::FillList(QListWidget* list, const std::vector<std::string>& rows, std::vector<std::string>& shown,
                        bool names) {
    if (rows == shown) return;
    shown = rows;
    list->clear();
    for (size_t i = 0; i < rows.size(); ++i)
        list->addItem(names ? ToQString(model_.FileRowText(int(i))) : QString::fromStdString(rows[i]));
}

void CShpView::Refresh() {
    refreshing_ = true;
    FillList(fileList_, model_.Files(), shownFiles_, true);
    if (fileList_->currentRow() != model_.FileRow()) fileList_->setCurrentRow(model_.FileRow());
    FillList(iconList_, model_.IconRows(), shownIcons_, false);
    if (iconList_->currentRow() != model_.IconRow()) iconList_->setCurrentRow(model_.IconRow());
    listMode_->setCurrentIndex(model_.ListMode());
    filter_->setText(ToQString(model_.NameFilter()));
    output_->setCurrentIndex(model_.OutputType() >= 0 && model_.OutputType() < 2 ? model_.OutputType() : -1);
    path_->setText(model_.CurrentPath().empty() ? QStringLiteral("Folder") : ToQString(model_.CurrentPath()));
    type_->setText(model_.TypeText().empty() && model_.Kind() == IconKind::Other ? QStringLiteral("Image   type")
                                                                           : ToQString(model_.TypeText()));
    size_->setText(QString::fromStdString(model_.SizeText()));
    start_->setText(QString::fromStdString(model_.StartText()));
    end_->setText(QString::fromStdString(model_.EndText()));
    pixel_->setText(ToQString(model_.PixelText()));
    refreshing_ = false;
    UpdateCommands();
    picture_->update();
}

void CShpView::UpdateCommands() {
    collageAction_->setChecked(model_.CollageChecked());
    collageAction_->setEnabled(model_.CollageEnabled());
    mirrorAction_->setChecked(model_.MirrorChecked());
    for (int zoom = 1; zoom <= 5; ++zoom) zoomActions_[zoom - 1]->setChecked(model_.ZoomChecked(zoom));
    UpdateSaveCommands();
}

void CShpView::BuildSaveCommands() {
    commands_ = std::make_unique<ShpViewCommands>(
        model_, *images_, context_.pickers, context_.settings, context_.services,
        [this](const std::string& prompt, IconSource& source, int position, const std::string& proposed) {
            return CGetData::Run(context_, prompt, &source, position, proposed, this);
        });
    const auto pictureArea = [this] {
        const PixelRect area = picture_->PictureRect();
        return Rect{area.x, area.y, area.x + area.width, area.y + area.height};
    };
    saveMenu_ = std::make_unique<QMenu>(QStringLiteral("Save as BMP/PNG"));
    // Each prompt is the status-bar text, then the tool tip.
    const auto prompt = [](QAction* action, const char* text) {
        const QStringList parts = QString::fromLatin1(text).split(QLatin1Char('\n'));
        action->setStatusTip(parts.front().trimmed());
        action->setToolTip(parts.back().trimmed());
    };
    const auto add = [this, &prompt](const char* text, const char* tip, std::function<void()> command) {
        QAction* action = saveMenu_->addAction(QString::fromLatin1(text));
        prompt(action, tip);
        connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
        return action;
    };
    saveIconAction_ = add("Save &Icon / Collage",
                          "Save icon as BMP/PNG/JPG (icon/collage) \nSave Icon as BMP/PNG/JPG (icon/collage)",
                          [this, pictureArea] { commands_->SaveIconOrCollage(pictureArea()); });
    saveEachAction_ = add("Save &Each Icon", "Save each icon as a different BMP/PNG/JPG\nSave All icons as BMP/PNG/JPG",
                          [this] { commands_->SaveEachIcon(); });
    saveBlockAction_ = add("Save a range of icons as a block",
                           "Save a range of icons to BMP/PNG/JPG file - block arranged with no separators.\n"
                           "Save Range of icons as a block",
                           [this] { commands_->SaveBlock(); });
    connect(saveMenu_.get(), &QMenu::aboutToShow, this, &CShpView::UpdateSaveCommands);
    addActions(saveMenu_->actions());

    // The buttons sit in the icon column: the BMP edits under the icon list, the saves under "Save as:".
    auto* column = qobject_cast<QVBoxLayout*>(iconList_->parentWidget()->layout());
    const auto button = [this](const char* caption, QAction* action) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setAutoDefault(false);
        if (action) {
            b->setToolTip(action->toolTip());
            b->setStatusTip(action->statusTip());
            connect(b, &QPushButton::clicked, action, &QAction::trigger);
        }
        return b;
    };
    insertButton_ = button("&Insert", nullptr);
    appendButton_ = button("&Append", nullptr);
    for (auto [b, text] : {std::pair{insertButton_, "Add a new Icon from BMP after selected\nInsert BMP after"},
                           std::pair{appendButton_, "Append new Icon from a BMP file\nAppend BMP"}}) {
        const QStringList parts = QString::fromLatin1(text).split(QLatin1Char('\n'));
        b->setStatusTip(parts.front());
        b->setToolTip(parts.back());
    }
    connect(insertButton_, &QPushButton::clicked, this, [this] { RunCommand([this] { commands_->InsertBmp(); }); });
    connect(appendButton_, &QPushButton::clicked, this, [this] { RunCommand([this] { commands_->AppendBmp(); }); });
    // The column is narrow: the caption sits above its two buttons.
    auto* bmpButtons = new QHBoxLayout;
    bmpButtons->addWidget(insertButton_);
    bmpButtons->addWidget(appendButton_);
    auto* bmpRow = new QVBoxLayout;
    bmpRow->addWidget(new QLabel(QStringLiteral("Icon from BMP"), this));
    bmpRow->addLayout(bmpButtons);
    iconButton_ = button("Icon", saveIconAction_);
    allIconsButton_ = button("All Icons", saveEachAction_);
    rangeButton_ = button("Range", saveBlockAction_);
    auto* saveRow = new QHBoxLayout;
    for (QPushButton* b : {iconButton_, allIconsButton_, rangeButton_}) saveRow->addWidget(b);
    if (column) {
        column->insertLayout(column->indexOf(iconList_) + 1, bmpRow);
        column->addLayout(saveRow);
    }
    setTabOrder(iconList_, insertButton_);
    setTabOrder(insertButton_, appendButton_);
    setTabOrder(appendButton_, output_);
    setTabOrder(output_, iconButton_);
    setTabOrder(iconButton_, allIconsButton_);
    setTabOrder(allIconsButton_, rangeButton_);

    // A double click removes the icon, after a question.
    connect(iconList_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int row = iconList_->row(item);
        RunCommand([this, row] {
            model_.SelectIcon(row);
            commands_->RemoveIcon();
        });
    });
    UpdateSaveCommands();
}

void CShpView::RunCommand(const std::function<void()>& command) {
    PullFields();
    command();
    Refresh();
}

void CShpView::UpdateSaveCommands() {
    if (!commands_) return;
    const bool enabled = commands_->SaveEnabled();
    for (QAction* action : {saveIconAction_, saveEachAction_, saveBlockAction_}) action->setEnabled(enabled);
    for (QPushButton* b : {iconButton_, allIconsButton_, rangeButton_}) b->setEnabled(enabled);
}

void CShpView::BuildToolCommands() {
    const auto add = [this](const char* text, const char* tip, auto slot) {
        auto* action = new QAction(QString::fromLatin1(text), this);
        action->setStatusTip(QString::fromLatin1(tip));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    catalogAction_ = add("Get Icon's Catalog", "Saves one o more files having a catalog of icons", [this] { RunCatalog(); });
    nationAction_ = add("Create Halvren nations pics", "Split shp as Halvren nations pics", [this] { RunNationPictures(); });
    pngToShpAction_ = add("Convert/Extract PNG to Orvel's SHP", "Convert/Extract PNG files in list to SHP", [this] {
        PullFields();
        tools_.FolderPngToShp(WithTrailingSeparator(model_.Folder()), model_.Files(), model_.ListMode());
    });
    cropAction_ = add("Crop PNG files to 240x150 (if possible)",
                      "Crops the 3 x 3 PNG sheets of the list to the size their icons need", [this] {
                          PullFields();
                          tools_.FolderCropPng(WithTrailingSeparator(model_.Folder()), model_.Files(),
                                               model_.ListMode());
                      });
}

QList<QAction*> CShpView::ToolActions() { return {catalogAction_, nationAction_, pngToShpAction_, cropAction_}; }

void CShpView::RunCatalog() {
    PullFields();
    CatalogList list;
    list.source = CatalogSource::Folder;
    list.inputName = WithTrailingSeparator(model_.Folder());
    list.names = model_.Files();
    // SHP icons are drawn with the drawing palette, as here.
    list.colours = &images_->DrawingPalette();
    CShpCat catalog(context_, std::move(list), this);
    catalog.exec();
    Refresh();
}

void CShpView::RunNationPictures() {
    if (model_.Kind() != IconKind::Shp || model_.CurrentPath().empty()) return;
    // A reader of its own, drawing with the drawing palette.
    std::unique_ptr<IconSource> shp =
        OpenIconSource(IconKind::Shp, IconBytes::OfFile(model_.CurrentPath()), context_.services.messages);
    if (!shp) return;
    shp->Bitmap().SetColourTable(images_->DrawingPalette());
    tools_.NationPictures(shp.get());
}

void CShpView::BuildPaletteMenu() {
    DrawingPaletteCommands::Target target;
    target.available = [this] { return model_.Kind() == IconKind::Shp; };
    target.palette = [this] { return images_->DrawingPalette(); };
    target.setPalette = [this](const CBmpDib::ColourTable& palette) { images_->SetDrawingPalette(palette); };
    target.picture = [this] { return images_->ShpPicture(); };
    target.redraw = [this] {
        // Decoding the icon again gives the labels the colours it is now drawn in.
        model_.SelectIcon(model_.IconRow());
        Refresh();
        picture_->repaint();
    };
    paletteCommands_ = std::make_unique<DrawingPaletteCommands>(std::move(target), context_.pickers,
                                                                context_.settings, context_.services.messages);
    paletteMenu_ = BuildPaletteToolsMenu(*paletteCommands_, context_, this).menu;
}

}  // namespace pixmond
