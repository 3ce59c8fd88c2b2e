#include "browser/qt/CDatView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "browser/qt/CDatPicture.h"
#include "browser/qt/DatRowsModel.h"
#include "tools/qt/CGetData.h"
#include "tools/qt/CShpCat.h"
#include "tools/qt/PaletteToolsMenu.h"
#include "ui/qt/ToolTile.h"
#include "ui/AppSettings.h"
#include "ui/Pickers.h"
#include "ui/Services.h"
#include "base/TextCase.h"
#include "ui/qt/QtText.h"

namespace pixmond {

namespace {

// Names and descriptions come from Windows files: single-byte text.
QString Cp1252(const std::string& text) { return QString::fromStdString(Latin1ToUtf8(text)); }

QPushButton* Button(const char* caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CDatView::CDatView(ViewContext& context, FrameHooks hooks, QWidget* parent)
    : QWidget(parent),
      context_(context),
      hooks_(std::move(hooks)),
      dat_(context.services),
      model_(dat_, context.settings),
      commands_(model_, context.pickers, context.settings,
                {[this](const std::string& path) { return OpenArchive(path); }, [this] { repaint(); }}) {
    BuildControls();
    BuildCommands();
    Connect();
    BuildSaveMenu();
    BuildToolCommands();
    BuildPaletteMenu();
    GiveToolTiles();
}

CDatView::~CDatView() {
    // The toolbar and the menus are owned by the frame's widgets once shown there; they go with the view.
    delete toolBar_;
    delete datMenu_;
    delete showMenu_;
}

QWidget* CDatView::BuildFilterColumn() {
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    listMode_ = new QComboBox(box);
    for (const char* text : DatListModel::kListModeTexts) listMode_->addItem(QString::fromLatin1(text));
    column->addWidget(listMode_);
    auto* caption = new QLabel(
        QStringLiteral("Type text to filter icons having ...\n(use token $ to add  conditions)"), box);
    column->addWidget(caption);

    auto* grid = new QGridLayout;
    nameFilter_ = new QLineEdit(box);
    nameFilter_->setToolTip(QString::fromStdString(CDatViewModel::FilterToolTip(-1)));
    auto* iconLabel = new QLabel(QStringLiteral("Icon"), box);
    iconLabel->setBuddy(nameFilter_);
    grid->addWidget(iconLabel, 0, 0);
    grid->addWidget(nameFilter_, 0, 1);
    for (int k = 0; k < kDescriptionFieldCount; ++k) {
        filters_[size_t(k)] = new QLineEdit(box);
        filters_[size_t(k)]->setToolTip(QString::fromStdString(CDatViewModel::FilterToolTip(k)));
        filterLabels_[size_t(k)] = new QLabel(QString::fromLatin1(kDescriptionFieldNames[size_t(k)]), box);
        filterLabels_[size_t(k)]->setBuddy(filters_[size_t(k)]);
        grid->addWidget(filterLabels_[size_t(k)], k + 1, 0);
        grid->addWidget(filters_[size_t(k)], k + 1, 1);
    }
    column->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    setFilter_ = Button("Set Filter", box);
    setFilter_->setToolTip(QStringLiteral("Reset list, using filters"));
    clearFilter_ = Button("Clear Filter", box);
    clearFilter_->setToolTip(QStringLiteral("Remove all filters, to get the full list"));
    logFilter_ = Button("Log Filter", box);
    buttons->addWidget(setFilter_);
    buttons->addWidget(clearFilter_);
    buttons->addWidget(logFilter_);
    column->addLayout(buttons);

    iconsLabel_ = new QLabel(QStringLiteral("Icons"), box);
    column->addWidget(iconsLabel_);
    list_ = new QListView(box);
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows_ = new DatRowsModel(model_, this);
    list_->setModel(rows_);
    column->addWidget(list_, 1);
    loadDescriptions_ = Button("Load description text file", box);
    loadDescriptions_->setToolTip(QStringLiteral("Click to select a different icons file."));
    column->addWidget(loadDescriptions_);
    box->setFixedWidth(260);
    return box;
}

QWidget* CDatView::BuildPictureColumn() {
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);

    auto* navigation = new QHBoxLayout;
    iconLabel_ = new QLabel(QStringLiteral("Icon"), box);
    iconLabel_->setMinimumWidth(130);
    first_ = Button("| <", box);
    previous_ = Button("<<", box);
    next_ = Button(">>", box);
    nextPage_ = Button("> |", box);
    position_ = new QLineEdit(box);
    position_->setValidator(new QIntValidator(0, 1000000, position_));
    position_->setFixedWidth(60);
    navigation->addWidget(iconLabel_);
    for (QPushButton* button : {first_, previous_, next_, nextPage_}) {
        button->setFixedWidth(44);
        navigation->addWidget(button);
    }
    navigation->addWidget(position_);
    navigation->addStretch(1);
    column->addLayout(navigation);

    auto* numbers = new QHBoxLayout;
    size_ = new QLabel(QStringLiteral("icon_f"), box);
    start_ = new QLabel(box);
    end_ = new QLabel(box);
    bits_ = new QLabel(QStringLiteral("Image"), box);
    for (auto [caption, value] : {std::pair{"Size", size_}, std::pair{"Start", start_}, std::pair{"End", end_}}) {
        numbers->addWidget(new QLabel(QString::fromLatin1(caption), box));
        value->setMinimumWidth(70);
        numbers->addWidget(value);
    }
    numbers->addWidget(bits_);
    numbers->addStretch(1);
    column->addLayout(numbers);

    picture_ = new CDatPicture(model_, box);
    column->addWidget(picture_, 1);

    descriptions_[0] = new QLabel(QStringLiteral("Icon description"), box);
    column->addWidget(descriptions_[0]);
    auto* fields = new QHBoxLayout;
    for (int k = 1; k < kDescriptionFieldCount; ++k) {
        descriptions_[size_t(k)] = new QLabel(QString::fromLatin1(kDescriptionFieldNames[size_t(k)]), box);
        fields->addWidget(descriptions_[size_t(k)], 1);
    }
    column->addLayout(fields);
    for (QLabel* label : descriptions_) {
        label->setTextFormat(Qt::PlainText);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    return box;
}

void CDatView::BuildControls() {
    auto* columns = new QHBoxLayout(this);
    // The picture frame ends 4 pixels inside the view's right edge and the description fields 4 above its bottom.
    columns->setContentsMargins(6, 6, 4, 4);
    columns->addWidget(BuildFilterColumn());
    columns->addWidget(BuildPictureColumn(), 1);

    setTabOrder(listMode_, nameFilter_);
    QWidget* previous = nameFilter_;
    for (QLineEdit* edit : filters_) {
        setTabOrder(previous, edit);
        previous = edit;
    }
    for (QWidget* next : std::initializer_list<QWidget*>{setFilter_, clearFilter_, logFilter_, list_, loadDescriptions_,
                                                         first_, previous_, next_, nextPage_, position_}) {
        setTabOrder(previous, next);
        previous = next;
    }
    setFocusProxy(list_);
}

void CDatView::BuildCommands() {
    datMenu_ = new QMenu(QStringLiteral("Dat tools"));
    showMenu_ = new QMenu(QStringLiteral("&Icons"));
    toolBar_ = new QToolBar(QStringLiteral("Dat Tool"));
    toolBar_->setObjectName(QStringLiteral("datToolBar"));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);

    const auto add = [this](QMenu* menu, const char* text, const char* tip, auto slot) {
        QAction* action = menu->addAction(QString::fromLatin1(text));
        connect(action, &QAction::triggered, this, slot);
        action->setStatusTip(QString::fromLatin1(tip));
        return action;
    };
    openAction_ = add(datMenu_, "Open DAT File...", "Open an existing DAT File", [this] {
        PullFields();
        commands_.Open();
    });
    openAction_->setShortcut(QKeySequence::Open);
    repackAction_ = add(datMenu_, "Repack to new DAt file...", "Creates a new DAT file with files in a folder", [this] {
        PullFields();
        commands_.Repack();
        Refresh();
    });
    unpackAction_ = add(datMenu_, "Unpack...", "Unpack to a folder", [this] { RunLater(commands_.Unpack()); });
    datMenu_->addSeparator();
    extractAction_ = add(datMenu_, "Extract item to disk...", "Extract item to disk", [this] { commands_.Extract(); });
    replaceAction_ = add(datMenu_, "Replace Icon...", "Replaces current icon", [this] { RunLater(commands_.Replace()); });
    removeAction_ = add(datMenu_, "Remove Icon", "Removes selected Icon from DAT file", [this] {
        commands_.Remove();
        Refresh();
    });
    addAction_ = add(datMenu_, "Add Icon (Shp/S16/JPG/PNG)...", "Add Icon from file", [this] { RunLater(commands_.Add()); });
    datMenu_->addSeparator();
    copyListAction_ = add(datMenu_, "Create/Update  other datfile with a list of icons defined in external table",
                          "Copy the icons of a list into another DAT file", [this] {
                              commands_.CopyListed();
                              Refresh();
                          });
    extractListAction_ = add(datMenu_, "Extract icons defined in external table",
                             "Extract the icons of a list to a folder", [this] { commands_.ExtractListed(); });

    const char* modeTexts[3][2] = {{"Show ALL icons", "Show all the icons of the DAT file"},
                                   {"Show only units icons (9 images)", "Show only units icons (9 images)"},
                                   {"Show Interface", "Show only the interface files"}};
    for (int mode = 0; mode < 3; ++mode) {
        modeActions_[mode] = add(showMenu_, modeTexts[mode][0], modeTexts[mode][1], [this, mode] {
            PullFields();
            model_.SetListMode(mode);
            Refresh();
        });
        modeActions_[mode]->setCheckable(true);
    }
    fakesAction_ = add(showMenu_, "Show datfile icons plus fake/replacements together ",
                       "List the fake entries among the others", [this] {
                           PullFields();
                           model_.ToggleFakesTogether();
                           Refresh();
                       });
    fakesAction_->setCheckable(true);
    showMenu_->addSeparator();
    for (int zoom = 1; zoom <= 5; ++zoom) {
        QAction* action = showMenu_->addAction(QStringLiteral("Zoom x%1").arg(zoom), this, [this, zoom] {
            PullFields();
            model_.SetZoom(zoom);
            Refresh();
        });
        action->setCheckable(true);
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + zoom)));
        action->setIconText(QStringLiteral("x%1").arg(zoom));
        zoomActions_[zoom - 1] = action;
    }
    collageAction_ = add(showMenu_, "&Collage", "Show all the icons side by side", [this] {
        PullFields();
        model_.ToggleCollage();
        Refresh();
    });
    collageAction_->setCheckable(true);
    collageAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    mirrorAction_ = add(showMenu_, "&Mirror", "Draw the icons mirrored", [this] {
        PullFields();
        model_.ToggleMirror();
        Refresh();
    });
    mirrorAction_->setCheckable(true);
    mirrorAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));

    shpToolAction_ = new QAction(QStringLiteral("Shp Tool"), this);
    connect(shpToolAction_, &QAction::triggered, this, [this] {
        if (hooks_.showFolderBrowser) hooks_.showFolderBrowser();
    });
    aboutAction_ = new QAction(QStringLiteral("About"), this);
    connect(aboutAction_, &QAction::triggered, this, [this] {
        if (hooks_.about) hooks_.about();
    });

    toolBar_->addAction(shpToolAction_);
    toolBar_->addSeparator();
    for (QAction* action : {openAction_, repackAction_, unpackAction_}) toolBar_->addAction(action);
    toolBar_->addSeparator();
    for (QAction* action : modeActions_) toolBar_->addAction(action);
    toolBar_->addSeparator();
    for (QAction* action : zoomActions_) toolBar_->addAction(action);
    toolBar_->addAction(collageAction_);
    toolBar_->addAction(mirrorAction_);
    toolBar_->addSeparator();
    toolBar_->addAction(extractAction_);
    toolBar_->addSeparator();
    for (QAction* action : {replaceAction_, removeAction_, addAction_}) toolBar_->addAction(action);
    toolBar_->addSeparator();
    toolBar_->addAction(aboutAction_);
    // Short captions on the toolbar; the menus keep the full texts.
    const std::pair<QAction*, const char*> shortNames[] = {
        {openAction_, "Open"},        {repackAction_, "Repack"},   {unpackAction_, "Unpack"},
        {modeActions_[0], "All"},     {modeActions_[1], "Units"},  {modeActions_[2], "Interface"},
        {extractAction_, "Extract"},  {replaceAction_, "Replace"}, {removeAction_, "Remove"},
        {addAction_, "Add"},          {collageAction_, "Collage"}, {mirrorAction_, "Mirror"}};
    for (auto [action, text] : shortNames) action->setIconText(QString::fromLatin1(text));

    connect(datMenu_, &QMenu::aboutToShow, this, &CDatView::UpdateCommands);
    connect(showMenu_, &QMenu::aboutToShow, this, &CDatView::UpdateCommands);
    // Shortcuts work while the view is on show, whether or not its menus are open.
    addActions(datMenu_->actions());
    addActions(showMenu_->actions());
}

void CDatView::Connect() {
    connect(listMode_, &QComboBox::activated, this, [this](int mode) {
        PullFields();
        model_.SetListMode(mode);
        Refresh();
    });
    const auto apply = [this] {
        PullFields();
        model_.ApplyFilters();
        Refresh();
    };
    connect(setFilter_, &QPushButton::clicked, this, apply);
    connect(nameFilter_, &QLineEdit::returnPressed, this, apply);
    for (QLineEdit* edit : filters_) connect(edit, &QLineEdit::returnPressed, this, apply);
    connect(clearFilter_, &QPushButton::clicked, this, [this] {
        model_.ClearFilters();
        Refresh();
    });
    connect(logFilter_, &QPushButton::clicked, this, &CDatView::LogFilter);
    connect(loadDescriptions_, &QPushButton::clicked, this, &CDatView::LoadDescriptions);
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (refreshing_ || !current.isValid()) return;
                PullFields();
                model_.SelectRow(current.row());
                Refresh();
            });
    const auto navigate = [this](void (CDatViewModel::*move)()) {
        return [this, move] {
            PullFields();
            (model_.*move)();
            Refresh();
        };
    };
    connect(first_, &QPushButton::clicked, this, navigate(&CDatViewModel::First));
    connect(previous_, &QPushButton::clicked, this, navigate(&CDatViewModel::Previous));
    connect(next_, &QPushButton::clicked, this, navigate(&CDatViewModel::Next));
    connect(nextPage_, &QPushButton::clicked, this, navigate(&CDatViewModel::NextPage));
    connect(position_, &QLineEdit::editingFinished, this, [this] {
        if (refreshing_) return;
        const int typed = position_->text().toInt();
        position_->setModified(false);
        if (typed != model_.Position()) model_.GoTo(typed);
        Refresh();
    });
    connect(picture_, &CDatPicture::Drawn, this, &CDatView::RefreshLabels);
}

QList<QMenu*> CDatView::Menus() { return {datMenu_, showMenu_, saveMenu_.get(), paletteMenu_}; }

void CDatView::OnInitialUpdate() {
    listMode_->setCurrentIndex(0);
    Refresh();
}

void CDatView::OnActivateView(bool active) {
    if (active) Refresh();
}

bool CDatView::OpenDocument(const std::string& path) { return OpenArchive(path); }

bool CDatView::OpenArchive(const std::string& path) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool opened = model_.ArchiveOpened(path);
    QApplication::restoreOverrideCursor();
    if (!opened) return false;
    if (hooks_.archiveOpened) hooks_.archiveOpened(path);
    Refresh();
    repaint();
    return true;
}

void CDatView::DrawNow() { picture_->repaint(); }

void CDatView::PullFields() {
    std::array<std::string, kDescriptionFieldCount> descriptive;
    for (int k = 0; k < kDescriptionFieldCount; ++k)
        descriptive[size_t(k)] = filters_[size_t(k)]->text().toLatin1().toStdString();
    model_.SetFilters(nameFilter_->text().toLatin1().toStdString(), descriptive);
}

void CDatView::Refresh() {
    refreshing_ = true;
    if (shownRows_ != model_.RowsVersion()) {
        shownRows_ = model_.RowsVersion();
        rows_->Reset();
    }
    const int row = model_.ListSelection();
    if (row >= 0 && row < rows_->rowCount()) {
        const QModelIndex index = rows_->index(row);
        if (list_->currentIndex() != index) list_->setCurrentIndex(index);
        list_->scrollTo(index);
    } else {
        list_->clearSelection();
        list_->setCurrentIndex({});
    }
    listMode_->setCurrentIndex(model_.ListMode());
    const DatListFilters& filters = model_.List().filters;
    // Only changed texts are written back, so the cursor of a field being typed in stays where it is.
    const auto put = [](QLineEdit* edit, const std::string& text) {
        const QString shown = Cp1252(text);
        if (edit->text() != shown) edit->setText(shown);
    };
    put(nameFilter_, filters.name);
    for (int k = 0; k < kDescriptionFieldCount; ++k) put(filters_[size_t(k)], filters.descriptive[size_t(k)]);
    ShowCsvControls();
    RefreshLabels();
    refreshing_ = false;
    UpdateCommands();
    picture_->update();
}

void CDatView::RefreshLabels() {
    // Every label shows what the model says now; an empty text falls back to the control's caption.
    const auto show = [](QLabel* label, const std::string& text, const QString& caption) {
        label->setText(text.empty() ? caption : QString::fromStdString(text));
    };
    show(iconsLabel_, model_.IconsLabel(), QStringLiteral("Icons"));
    show(iconLabel_, model_.IconLabel(), QStringLiteral("Icon"));
    // A number being typed stays until it is entered; then the field shows the icon drawn.
    if (!position_->isModified()) position_->setText(QString::number(model_.Position()));
    size_->setText(QString::fromStdString(model_.SizeText()));
    start_->setText(QString::fromStdString(model_.StartText()));
    end_->setText(QString::fromStdString(model_.EndText()));
    bits_->setText(QString::fromStdString(model_.BitsText()));
    for (int k = 0; k < kDescriptionFieldCount; ++k) {
        const QString text = Cp1252(model_.Record().field[size_t(k)]);
        descriptions_[size_t(k)]->setText(text);
        descriptions_[size_t(k)]->setToolTip(text);
    }
}

void CDatView::ShowCsvControls() {
    const bool csv = model_.CsvMode();
    for (int k = 1; k < kDescriptionFieldCount; ++k) {
        filters_[size_t(k)]->setVisible(csv);
        filterLabels_[size_t(k)]->setVisible(csv);
        descriptions_[size_t(k)]->setVisible(csv);
    }
}

void CDatView::UpdateCommands() {
    for (int mode = 0; mode < 3; ++mode) {
        modeActions_[mode]->setEnabled(model_.ListModeEnabled(mode));
        modeActions_[mode]->setChecked(model_.ListModeChecked(mode));
    }
    for (int zoom = 1; zoom <= 5; ++zoom) zoomActions_[zoom - 1]->setChecked(model_.ZoomChecked(zoom));
    collageAction_->setEnabled(model_.CollageEnabled());
    collageAction_->setChecked(model_.CollageChecked());
    mirrorAction_->setChecked(model_.Mirror());
    fakesAction_->setChecked(model_.FakesTogether());
    const bool open = model_.ArchiveCommandsEnabled();
    for (QAction* action : {extractAction_, addAction_, removeAction_, replaceAction_, unpackAction_, copyListAction_,
                            extractListAction_})
        action->setEnabled(open);
    UpdateSaveCommands();
}

void CDatView::RunLater(DatArchiveCommands::Deferred rest) {
    if (!rest) return;
    QTimer::singleShot(0, this, [this, rest = std::move(rest)] {
        rest();
        Refresh();
    });
}

void CDatView::LoadDescriptions() {
    const std::string path = context_.pickers.PickFile(context_.settings.IconsText(), "Select file to use",
                                                       "Icons descriptions (txt/csv)|*.txt;*.csv|", "", true);
    if (path.empty()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool read = model_.LoadDescriptionFile(path);
    QApplication::restoreOverrideCursor();
    if (read) context_.settings.SetIconsText(path);
    Refresh();
}

void CDatView::LogFilter() {
    commands_.LogFilter();
}

void CDatView::BuildSaveMenu() {
    saveCommands_ = std::make_unique<DatSaveCommands>(
        model_, context_.pickers, context_.settings,
        [this](const std::string& prompt, IconSource& source, int position, const std::string& proposed) {
            return CGetData::Run(context_, prompt, &source, position, proposed, this);
        });
    saveMenu_ = std::make_unique<QMenu>(QStringLiteral("Save as BMP/PNG"));
    // Each prompt is the status-bar text, then the tool tip.
    const auto add = [this](const char* text, const char* prompt, const char* caption, auto command) {
        QAction* action = saveMenu_->addAction(QString::fromLatin1(text));
        const QStringList parts = QString::fromLatin1(prompt).split(QLatin1Char('\n'));
        action->setStatusTip(parts.front().trimmed());
        action->setToolTip(parts.back().trimmed());
        action->setIconText(QString::fromLatin1(caption));
        connect(action, &QAction::triggered, this, [this, command] {
            PullFields();
            (saveCommands_.get()->*command)();
            Refresh();
        });
        return action;
    };
    saveIconAction_ = add("Save &Icon / Collage",
                          "Save icon as BMP/PNG/JPG (icon/collage) \nSave Icon as BMP/PNG/JPG (icon/collage)",
                          "Save Icon", &DatSaveCommands::SaveIconOrCollage);
    saveEachAction_ = add("Save &Each Icon", "Save each icon as a different BMP/PNG/JPG\nSave All icons as BMP/PNG/JPG",
                          "Save Each", &DatSaveCommands::SaveEachIcon);
    saveBlockAction_ = add("Save a range of icons as a block",
                           "Save a range of icons to BMP/PNG/JPG file - block arranged with no separators.\n"
                           "Save Range of icons as a block",
                           "Block", &DatSaveCommands::SaveBlock);
    connect(saveMenu_.get(), &QMenu::aboutToShow, this, &CDatView::UpdateSaveCommands);
    addActions(saveMenu_->actions());

    // On the toolbar the two save buttons follow extract; the block has a group of its own before replace.
    const QList<QAction*> bar = toolBar_->actions();
    const qsizetype extract = bar.indexOf(extractAction_);
    QAction* before = extract >= 0 && extract + 1 < bar.size() ? bar[extract + 1] : nullptr;
    toolBar_->insertAction(before, saveIconAction_);
    toolBar_->insertAction(before, saveEachAction_);
    toolBar_->insertSeparator(before);
    toolBar_->insertAction(before, saveBlockAction_);
    UpdateSaveCommands();
}

void CDatView::UpdateSaveCommands() {
    if (!saveCommands_) return;
    saveIconAction_->setEnabled(model_.SaveIconEnabled());
    saveEachAction_->setEnabled(model_.SaveIconEnabled());
    saveBlockAction_->setEnabled(model_.BlockEnabled());
}

bool CDatView::SelectEntryNamed(const std::string& name) {
    const std::vector<int>& rows = model_.Rows();
    for (size_t row = 0; row < rows.size(); ++row) {
        if (!EqualIgnoringCase(std::string(dat_.Item(rows[row]).Name()), name)) continue;
        model_.SelectRow(int(row));
        Refresh();
        return true;
    }
    return false;
}

void CDatView::BuildToolCommands() {
    const auto add = [this](QMenu* menu, const char* text, const char* tip, auto slot) {
        auto* action = new QAction(QString::fromLatin1(text), this);
        action->setStatusTip(QString::fromLatin1(tip));
        connect(action, &QAction::triggered, this, slot);
        if (menu) menu->addAction(action);
        return action;
    };
    datMenu_->addSeparator();
    reportIconsAction_ = add(datMenu_, "Report items and &#icons", "Create text file including all items and #icons",
                             [this] { reports_.ReportItems(true); });
    reportItemsAction_ = add(datMenu_, "Report &Items only", "Create text file including all items",
                             [this] { reports_.ReportItems(false); });
    compareAction_ = add(datMenu_, "Compare Report (can report only differences)",
                         "Creates a report comparing items with another DAT file", [this] {
                             reports_.CompareReport();
                             Refresh();
                         });
    compatibilityAction_ = add(datMenu_, "Compare 2 dat+keep set of files to check compatibility",
                               "Creates a report comparing items with another DAT +KEEP file", [this] {
                                   reports_.CompatibilityReport();
                                   Refresh();
                               });
    datMenu_->addSeparator();
    exportSheetsAction_ = add(datMenu_, "Export icons for editing...",
                              "Writes every icon of the archive as PNG sheets any image editor opens",
                              [this] { reports_.ExportSheets(); });
    importSheetsAction_ = add(datMenu_, "Import edited icons...",
                              "Brings the edited sheets of a folder back into the archive", [this] {
                                  reports_.ImportSheets();
                                  Refresh();
                              });
    connect(datMenu_, &QMenu::aboutToShow, this, &CDatView::UpdateToolActions);

    catalogAction_ = add(nullptr, "Get Icon's Catalog", "Saves one o more files having a catalog of icons",
                         [this] { RunCatalog(); });
    nationAction_ = add(nullptr, "Create Halvren nations pics", "Split shp as Halvren nations pics",
                        [this] { tools_.NationPictures(dat_.CurrentSource()); });
    pngToShpAction_ = add(nullptr, "Convert/Extract PNG to Orvel's SHP", "Convert/Extract PNG files in list to SHP",
                          [this] {
                              PullFields();
                              tools_.ArchivePngToShp(dat_, model_.Rows(), model_.ListMode());
                          });

    shpMakerAction_ = add(nullptr, "Shp Maker", "Allows creating SHP files using Bitmaps", [this] {
        if (hooks_.shpMaker) hooks_.shpMaker();
    });
    shpMakerAction_->setToolTip(QStringLiteral("ShpMaker"));
    toolBar_->insertAction(shpToolAction_, shpMakerAction_);
}

QList<QAction*> CDatView::ToolActions() { return {catalogAction_, nationAction_, pngToShpAction_}; }

void CDatView::UpdateToolActions() {
    for (QAction* action : {reportIconsAction_, reportItemsAction_}) action->setEnabled(reports_.ReportsEnabled());
    for (QAction* action : {compareAction_, compatibilityAction_, exportSheetsAction_})
        action->setEnabled(reports_.CompareEnabled());
    importSheetsAction_->setEnabled(reports_.ImportEnabled());
    catalogAction_->setEnabled(dat_.Loaded());
}

void CDatView::RunCatalog() {
    if (!dat_.Loaded()) return;
    PullFields();
    CatalogList list;
    list.source = CatalogSource::Archive;
    list.inputName = dat_.Path();
    list.entries = model_.Rows();
    list.dat = &dat_;
    // SHP icons are drawn with the drawing palette, as here.
    list.colours = &dat_.DrawingPalette();
    CShpCat catalog(context_, std::move(list), this);
    catalog.exec();
    Refresh();
}

void CDatView::BuildPaletteMenu() {
    DrawingPaletteCommands::Target target;
    target.palette = [this] { return dat_.DrawingPalette(); };
    target.setPalette = [this](const CBmpDib::ColourTable& palette) { dat_.SetDrawingPalette(palette); };
    target.picture = [this]() -> CBmpDib* {
        IconSource* source = dat_.CurrentSource();
        return source && source->Kind() == IconKind::Shp ? &source->Bitmap() : nullptr;
    };
    target.redraw = [this] {
        Refresh();
        DrawNow();
    };
    paletteCommands_ = std::make_unique<DrawingPaletteCommands>(std::move(target), context_.pickers,
                                                                context_.settings, context_.services.messages);
    const PaletteToolsMenu built = BuildPaletteToolsMenu(*paletteCommands_, context_, this);
    paletteMenu_ = built.menu;
    convertPaletteAction_ = built.convert;
    toolBar_->insertAction(aboutAction_, convertPaletteAction_);
}

void CDatView::GiveToolTiles() {
    SetTile(shpMakerAction_, "SM", tile::kTools);
    SetTile(shpToolAction_, "ST", tile::kTools);
    SetTile(openAction_, "Op", tile::kArchive);
    SetTile(repackAction_, "Rp", tile::kArchive);
    SetTile(unpackAction_, "Up", tile::kArchive);
    const char* modes[3] = {"All", "U9", "If"};
    for (int mode = 0; mode < 3; ++mode) SetTile(modeActions_[mode], modes[mode], tile::kList);
    for (int zoom = 1; zoom <= 5; ++zoom) SetTile(zoomActions_[zoom - 1], QStringLiteral("x%1").arg(zoom), tile::kView);
    SetTile(collageAction_, "Co", tile::kView);
    SetTile(mirrorAction_, "Mi", tile::kView);
    SetTile(extractAction_, "Ex", tile::kSave);
    SetTile(saveIconAction_, "Sv", tile::kSave);
    SetTile(saveEachAction_, "S*", tile::kSave);
    SetTile(saveBlockAction_, "Bk", tile::kSave);
    SetTile(replaceAction_, "Re", tile::kEdit);
    SetTile(removeAction_, "Rm", tile::kEdit);
    SetTile(addAction_, "Ad", tile::kEdit);
    SetTile(convertPaletteAction_, "Pa", tile::kPalette);
    SetTile(aboutAction_, "?", tile::kTools);
    // Some thirty buttons: only pictures fit the window's least width; the text is in each tooltip.
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->setIconSize(QSize(16, 16));
    // The open button's arrow drops down the recently used archives.
    auto* open = qobject_cast<QToolButton*>(toolBar_->widgetForAction(openAction_));
    if (open && hooks_.recentFiles) {
        open->setMenu(hooks_.recentFiles());
        open->setPopupMode(QToolButton::MenuButtonPopup);
    }
}

}  // namespace pixmond
