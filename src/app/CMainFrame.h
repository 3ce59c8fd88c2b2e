#pragma once
#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>

#include "ui/qt/CFrameView.h"

class QAction;
class QMenu;

namespace pixmond {

class CAppDoc;
class Settings;

// The main window: one view at a time, each with its toolbar and menus, the status bar, and the commands
// that belong to no view (view switch, history option, help, About, recent files, exit).
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kShpMode = 1;  // folder browser
    static constexpr int kDatMode = 0;  // archive browser
    using ViewMaker = std::function<std::unique_ptr<CFrameView>(ViewContext&, CMainFrame&)>;

    CMainFrame(ViewContext context, CAppDoc& doc, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Offers a view: its command appears in the View menu and the view is made on first use.
    void RegisterView(int mode, const QString& menuText, ViewMaker maker);
    bool CanMakeView(int mode) const { return makers_.count(mode) != 0; }

    // Shows the view of the mode, making it first when needed; false (with a message) when it cannot be made.
    bool SwitchView(int mode);
    int ViewMode() const { return mode_; }
    CFrameView* View(int mode) const;
    CFrameView* ActiveView() const { return View(mode_); }
    int ViewsMade(int mode) const;

    void UpdateTitle();
    // The frame's minimum: what its views need so that no control overlaps another, and never below 732 x 671.
    void FitMinimumSize();
    void OpenHelp();
    void ShowAbout();
    void ToggleHistory();
    // The tools of the "&Tools" menu, modal; after the Shp maker every view reads its data again.
    void RunShpMaker();
    void RunConverter();
    void UpdateAllViews();
    bool HistoryChecked() const;
    // Restores the size and place of the last run, if any.
    void RestoreGeometry();
    QAction* HistoryAction() const { return historyAction_; }
    // The menu of the tools that belong to no view; made when the first tool is added, so it is never empty.
    QMenu* ToolsMenu();
    QAction* ViewAction(int mode) const;
    QAction* ShpMakerAction() const { return shpMakerAction_; }
    QAction* ConverterAction() const { return converterAction_; }
    CAppDoc& Doc() const { return doc_; }
    // The recently used archives as a menu of its own (the open button's drop-down), filled when it opens.
    QMenu* RecentFilesMenu();
    ViewContext& Context() { return context_; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenus();
    void FillRecentMenu();
    // Adds one action per recent archive to the menu, before `before` (at the end when null).
    QList<QAction*> AddRecentActions(QMenu* menu, QAction* before);
    // Puts a view's tool commands into "&Tools", hidden until the view is shown.
    void AddViewTools(int mode, CFrameView& view);
    bool OpenDocument(const std::string& path);

    ViewContext context_;
    CAppDoc& doc_;
    int mode_ = -1;
    std::map<int, ViewMaker> makers_;
    std::map<int, std::unique_ptr<CFrameView>> views_;
    std::map<int, QList<QAction*>> viewMenuActions_;
    std::map<int, QList<QAction*>> viewToolActions_;  // a view's tools in "&Tools", behind a separator
    std::map<int, int> made_;
    std::map<int, QAction*> viewActions_;
    QMenu* fileMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QMenu* toolsMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QList<QAction*> recentActions_;
    QMenu* recentPopup_ = nullptr;
    QAction* optionsMenuAction_ = nullptr;
    QAction* historyAction_ = nullptr;
    QAction* shpMakerAction_ = nullptr;
    QAction* converterAction_ = nullptr;
};

}  // namespace pixmond
