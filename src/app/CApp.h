#pragma once
#include <QStringList>
#include <memory>
#include <string>

#include "app/CAppDoc.h"
#include "app/CMainFrame.h"
#include "ui/AppSettings.h"
#include "ui/FileSettings.h"
#include "ui/LocalFileSystem.h"
#include "ui/Services.h"
#include "ui/qt/QtMessages.h"
#include "ui/qt/QtPickers.h"
#include "ui/qt/QtProgressFactory.h"
#include "ui/qt/QtShell.h"
#include "ui/qt/QtTextDrawer.h"

namespace pixmond {

// What the command line asks of the desktop program.
struct StartOptions {
    std::string file;        // an archive to open
    std::string folder;      // the folder browser starts here instead of "S16 folder"
    std::string select;      // the file the folder browser shows first
    std::string screenshot;  // draw the window into this PNG and quit
    std::string dialog;      // with screenshot: draw this tool dialog instead, over the folder
    int width = 0, height = 0;
    bool menus = false;      // with screenshot: one picture for each menu of the menu bar, opened
    bool help = false;
    std::string error;       // why the command line was refused
};
StartOptions ParseStartOptions(const QStringList& arguments);

// Offers the frame its views: the folder browser, and whatever other browsers are built in.
void RegisterViews(CMainFrame& frame, const std::string& startFolder);

// The application: the services of the desktop, the settings, the document and the frame, for the whole run.
class CApp {
public:
    CApp();
    ~CApp();
    // Start-up; returns the exit code when the program should end at once (help, screenshot, bad arguments),
    // -1 when the event loop should run.
    int Start(const QStringList& arguments);
    CMainFrame& Frame() { return *frame_; }

    static constexpr const char* kVersion = PIXMOND_VERSION;

private:
    int TakeScreenshot(const StartOptions& options);
    int TakeDialogScreenshot(const StartOptions& options);

    FileSettings store_;
    QtMessages messages_;
    QtShell shell_;
    LocalFileSystem files_;
    QtProgressFactory progress_;
    QtTextDrawer text_;
    Services services_{messages_, store_, shell_, files_, progress_};
    AppSettings settings_{store_};
    QtPickers pickers_{settings_, files_, messages_};
    CAppDoc doc_{settings_};
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace pixmond
