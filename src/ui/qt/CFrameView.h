#pragma once
#include <QList>
#include <string>

class QAction;
class QMenu;
class QToolBar;
class QWidget;

namespace pixmond {

class AppSettings;
struct Services;
class Pickers;

// What a view of the main frame is given.
struct ViewContext {
    Services& services;
    AppSettings& settings;
    Pickers& pickers;
};

// One of the frame's main views. The frame makes each on first use, then only shows and hides it.
class CFrameView {
public:
    virtual ~CFrameView() = default;
    virtual QWidget* Widget() = 0;
    // Called once, after the view was made and before it is shown.
    virtual void OnInitialUpdate() = 0;
    // The view was shown (true) or hidden (false).
    virtual void OnActivateView(bool active) = 0;
    // Something outside the view may have changed what it shows (a tool wrote files): it reads its data again.
    virtual void OnUpdate() {}
    // The view's own toolbar and menus; the frame shows them while the view is active.
    virtual QToolBar* ToolBar() = 0;
    virtual QList<QMenu*> Menus() = 0;
    // The view's commands of the frame's "&Tools" menu, shown there below the frame's own while the view is
    // active; brought up to date each time that menu opens.
    virtual QList<QAction*> ToolActions() { return {}; }
    virtual void UpdateToolActions() {}
    // A file handed to the program (command line, recent files, dropped); false when this view cannot open it.
    virtual bool OpenDocument(const std::string& path) { return false; }
};

}  // namespace pixmond
