#include "app/CMainFrame.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include "app/CAboutDlg.h"
#include "app/CAppDoc.h"
#include "tools/qt/CShpMaker.h"
#include "tools/qt/CShpToBmp.h"
#include "ui/AppSettings.h"
#include "ui/Services.h"
#include "ui/ShellRules.h"
#include "ui/qt/QtText.h"

namespace pixmond {

namespace {
constexpr const char* kWindowSection = "Window";
// The frame is never smaller than this, nor than its views need.
constexpr QSize kLeastSize(732, 671);
}

CMainFrame::CMainFrame(ViewContext context, CAppDoc& doc, QWidget* parent)
    : QMainWindow(parent), context_(context), doc_(doc) {
    setWindowIcon(QIcon(QStringLiteral(":/icons/pixmond-256.png")));
    setMinimumSize(kLeastSize);
    setCentralWidget(new QStackedWidget(this));
    setAcceptDrops(true);
    statusBar()->showMessage(QStringLiteral("Ready"));
    BuildMenus();
    doc_.SetOpener([this](const std::string& path) { return OpenDocument(path); });
}

CMainFrame::~CMainFrame() { doc_.SetOpener({}); }

void CMainFrame::BuildMenus() {
    fileMenu_ = menuBar()->addMenu(QStringLiteral("&File"));
    recentSeparator_ = fileMenu_->addSeparator();
    QAction* exit = fileMenu_->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
    exit->setShortcut(QKeySequence::Quit);
    connect(fileMenu_, &QMenu::aboutToShow, this, [this] { FillRecentMenu(); });
    FillRecentMenu();

    viewMenu_ = menuBar()->addMenu(QStringLiteral("&View"));

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    optionsMenuAction_ = options->menuAction();
    historyAction_ = options->addAction(QStringLiteral("Enable History Combo"), this, &CMainFrame::ToggleHistory);
    historyAction_->setCheckable(true);
    connect(options, &QMenu::aboutToShow, this, [this] { historyAction_->setChecked(HistoryChecked()); });

    // The tools that belong to no view, in both views.
    QMenu* tools = ToolsMenu();
    shpMakerAction_ = tools->addAction(QStringLiteral("Shp &Maker"), this, &CMainFrame::RunShpMaker);
    shpMakerAction_->setStatusTip(QStringLiteral("Allows creating SHP files using Bitmaps"));
    shpMakerAction_->setToolTip(QStringLiteral("ShpMaker"));
    converterAction_ = tools->addAction(QStringLiteral("Convert Shp/s16 files in a folder to Bmp / Png"), this,
                                        &CMainFrame::RunConverter);
    converterAction_->setStatusTip(
        QStringLiteral("Converts every 9-icon SHP and S16 file of a folder into one BMP or PNG picture each"));
    converterAction_->setToolTip(QStringLiteral("Convert Shp/s16 files to Bmp / Png"));
    connect(tools, &QMenu::aboutToShow, this, [this] {
        if (CFrameView* view = ActiveView()) view->UpdateToolActions();
    });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    QAction* topics = help->addAction(QStringLiteral("&Help Topics"), this, &CMainFrame::OpenHelp);
    topics->setShortcut(QKeySequence::HelpContents);
    help->addAction(QStringLiteral("&About Pixmond..."), this, &CMainFrame::ShowAbout);
}

QMenu* CMainFrame::ToolsMenu() {
    if (!toolsMenu_) {
        toolsMenu_ = new QMenu(QStringLiteral("&Tools"), this);
        menuBar()->insertMenu(optionsMenuAction_, toolsMenu_);
    }
    return toolsMenu_;
}

void CMainFrame::AddViewTools(int mode, CFrameView& view) {
    const QList<QAction*> tools = view.ToolActions();
    if (tools.isEmpty()) return;
    QMenu* menu = ToolsMenu();
    QList<QAction*>& shown = viewToolActions_[mode];
    shown << menu->addSeparator();
    for (QAction* action : tools) {
        menu->addAction(action);
        shown << action;
    }
    for (QAction* action : shown) action->setVisible(false);
}

void CMainFrame::FillRecentMenu() {
    for (QAction* action : recentActions_) {
        fileMenu_->removeAction(action);
        action->deleteLater();
    }
    recentActions_ = AddRecentActions(fileMenu_, recentSeparator_);
    recentSeparator_->setVisible(!recentActions_.empty());
}

QList<QAction*> CMainFrame::AddRecentActions(QMenu* menu, QAction* before) {
    QList<QAction*> added;
    const auto& paths = doc_.Recent().Paths();
    for (size_t i = 0; i < paths.size(); ++i) {
        const std::string path = paths[i];
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(PathToQString(path)), menu);
        connect(action, &QAction::triggered, this, [this, path] { doc_.OnOpenDocument(path); });
        menu->insertAction(before, action);
        added << action;
    }
    return added;
}

QMenu* CMainFrame::RecentFilesMenu() {
    if (!recentPopup_) {
        recentPopup_ = new QMenu(this);
        connect(recentPopup_, &QMenu::aboutToShow, this, [this] {
            recentPopup_->clear();
            if (AddRecentActions(recentPopup_, nullptr).empty())
                recentPopup_->addAction(QStringLiteral("(no recent files)"))->setEnabled(false);
        });
    }
    return recentPopup_;
}

void CMainFrame::RegisterView(int mode, const QString& menuText, ViewMaker maker) {
    makers_[mode] = std::move(maker);
    if (viewActions_.count(mode)) return;
    QAction* action = viewMenu_->addAction(menuText, this, [this, mode] { SwitchView(mode); });
    action->setCheckable(true);
    viewActions_[mode] = action;
}

QAction* CMainFrame::ViewAction(int mode) const {
    const auto found = viewActions_.find(mode);
    return found == viewActions_.end() ? nullptr : found->second;
}

CFrameView* CMainFrame::View(int mode) const {
    const auto found = views_.find(mode);
    return found == views_.end() ? nullptr : found->second.get();
}

int CMainFrame::ViewsMade(int mode) const {
    const auto found = made_.find(mode);
    return found == made_.end() ? 0 : found->second;
}

bool CMainFrame::SwitchView(int mode) {
    if (mode == mode_) return true;
    if (!View(mode)) {
        const auto maker = makers_.find(mode);
        std::unique_ptr<CFrameView> view = maker == makers_.end() ? nullptr : maker->second(context_, *this);
        if (!view) {
            context_.services.messages.Error("Error creating new view !");
            return false;
        }
        ++made_[mode];
        auto* stack = static_cast<QStackedWidget*>(centralWidget());
        stack->addWidget(view->Widget());
        if (QToolBar* bar = view->ToolBar()) {
            addToolBar(Qt::TopToolBarArea, bar);
            bar->hide();
        }
        for (QMenu* menu : view->Menus()) {
            // A view's menus come after View, before the menus that belong to no view.
            QAction* action = menuBar()->insertMenu(toolsMenu_ ? toolsMenu_->menuAction() : optionsMenuAction_, menu);
            action->setVisible(false);
            viewMenuActions_[mode] << action;
        }
        AddViewTools(mode, *view);
        view->OnInitialUpdate();
        views_[mode] = std::move(view);
    }
    CFrameView* previous = ActiveView();
    CFrameView* next = View(mode);
    const int oldMode = mode_;
    mode_ = mode;
    static_cast<QStackedWidget*>(centralWidget())->setCurrentWidget(next->Widget());
    if (previous) {
        if (QToolBar* bar = previous->ToolBar()) bar->hide();
        for (QAction* action : viewMenuActions_[oldMode]) action->setVisible(false);
        for (QAction* action : viewToolActions_[oldMode]) action->setVisible(false);
        previous->OnActivateView(false);
    }
    if (QToolBar* bar = next->ToolBar()) bar->show();
    for (QAction* action : viewMenuActions_[mode]) action->setVisible(true);
    for (QAction* action : viewToolActions_[mode]) action->setVisible(true);
    for (auto& [m, action] : viewActions_) action->setChecked(m == mode);
    UpdateTitle();
    next->OnActivateView(true);
    FitMinimumSize();
    next->Widget()->setFocus();
    return true;
}

bool CMainFrame::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    // A view laid out anew (another view made, controls shown or hidden) may need more room than before.
    if (event->type() == QEvent::LayoutRequest) FitMinimumSize();
    return handled;
}

void CMainFrame::FitMinimumSize() {
    // Below the room its layouts need, Qt would squeeze controls under their own size until they overlap.
    if (layout()) setMinimumSize(layout()->totalMinimumSize().expandedTo(kLeastSize));
}

void CMainFrame::UpdateTitle() {
    setWindowTitle(ToQString(FrameTitle(mode_ == kDatMode ? 0 : 1, PIXMOND_VERSION, context_.settings.Last())));
}

bool CMainFrame::OpenDocument(const std::string& path) {
    // Archives open only in the archive browser, and only while it is the view on show.
    if (mode_ != kDatMode) return false;
    CFrameView* view = View(kDatMode);
    return view && view->OpenDocument(path);
}

void CMainFrame::OpenHelp() {
    const std::filesystem::path programFolder = PathFromQString(QCoreApplication::applicationDirPath());
    pixmond::OpenHelp(context_.services.shell, context_.services.messages, context_.services.files,
                      context_.settings.Last(), programFolder);
}

void CMainFrame::ShowAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CMainFrame::ToggleHistory() {
    context_.settings.SetUseHistory(!context_.settings.UseHistory());
    historyAction_->setChecked(HistoryChecked());
}

void CMainFrame::RunShpMaker() {
    CShpMaker maker(context_, this);
    maker.exec();
    UpdateAllViews();
}

void CMainFrame::RunConverter() {
    CShpToBmp converter(context_, this);
    converter.exec();
}

void CMainFrame::UpdateAllViews() {
    for (auto& [mode, view] : views_) view->OnUpdate();
}

bool CMainFrame::HistoryChecked() const { return context_.settings.UseHistory(); }

void CMainFrame::RestoreGeometry() {
    const std::string saved = context_.services.settings.GetString(kWindowSection, "Geometry");
    if (saved.empty() || !restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(saved)))) resize(960, 720);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    context_.services.settings.SetString(kWindowSection, "Geometry", saveGeometry().toBase64().toStdString());
    doc_.SaveSettings();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile()) continue;
        const std::string path = PathFromQString(url.toLocalFile());
        // A dropped archive brings up the archive browser to show it.
        if (url.toLocalFile().endsWith(QLatin1String(".dat"), Qt::CaseInsensitive) && CanMakeView(kDatMode))
            SwitchView(kDatMode);
        doc_.OnOpenDocument(path);
    }
}

}  // namespace pixmond
