#include "app/CApp.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <cstdio>

#include "app/MenuScreenshots.h"
#include "app/ToolDialogShowcase.h"
#include "browser/qt/CDatView.h"
#include "folderview/FolderImageHolders.h"
#include "folderview/qt/CShpView.h"
#include "ui/qt/QtText.h"

namespace pixmond {

StartOptions ParseStartOptions(const QStringList& arguments) {
    StartOptions options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= arguments.size()) {
                options.error = "missing value after " + arg.toStdString();
                return {};
            }
            return PathFromQString(arguments[++i]);
        };
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            options.help = true;
        } else if (arg == QLatin1String("--folder")) {
            options.folder = value();
        } else if (arg == QLatin1String("--select")) {
            options.select = value();
        } else if (arg == QLatin1String("--screenshot")) {
            options.screenshot = value();
        } else if (arg == QLatin1String("--menus")) {
            options.menus = true;
        } else if (arg == QLatin1String("--dialog")) {
            options.dialog = value();
            if (!options.dialog.empty() && !ToolDialogShowcase::Known(options.dialog))
                options.error = "--dialog wants shpmaker, catalog, converter, block or palettes";
        } else if (arg == QLatin1String("--size")) {
            const QStringList parts = QString::fromStdString(value()).split(QLatin1Char('x'));
            if (parts.size() == 2) {
                options.width = parts[0].toInt();
                options.height = parts[1].toInt();
            }
            if (options.width <= 0 || options.height <= 0) options.error = "--size wants WIDTHxHEIGHT";
        } else if (arg.startsWith(QLatin1String("--"))) {
            options.error = "unknown option " + arg.toStdString();
        } else if (options.file.empty()) {
            options.file = PathFromQString(arg);
        } else {
            options.error = "only one file can be opened";
        }
    }
    if (!options.dialog.empty() && options.screenshot.empty()) options.error = "--dialog goes with --screenshot";
    if (options.menus && options.screenshot.empty()) options.error = "--menus goes with --screenshot";
    return options;
}

void RegisterViews(CMainFrame& frame, const std::string& startFolder) {
    frame.RegisterView(CMainFrame::kShpMode, QStringLiteral("&Shp Tool"),
                       [startFolder](ViewContext& context, CMainFrame&) -> std::unique_ptr<CFrameView> {
                           auto view = std::make_unique<CShpView>(
                               context, std::make_unique<FolderImageHolders>());
                           view->SetStartFolder(startFolder);
                           return view;
                       });
    frame.RegisterView(CMainFrame::kDatMode, QStringLiteral("&Dat Tool"),
                       [](ViewContext& context, CMainFrame& frame) -> std::unique_ptr<CFrameView> {
                           CDatView::FrameHooks hooks;
                           hooks.archiveOpened = [&frame](const std::string& path) {
                               frame.Doc().Recent().Add(path);
                               frame.UpdateTitle();
                           };
                           hooks.showFolderBrowser = [&frame] { frame.SwitchView(CMainFrame::kShpMode); };
                           hooks.about = [&frame] { frame.ShowAbout(); };
                           hooks.shpMaker = [&frame] { frame.RunShpMaker(); };
                           hooks.recentFiles = [&frame] { return frame.RecentFilesMenu(); };
                           return std::make_unique<CDatView>(context, std::move(hooks));
                       });
}

CApp::CApp() = default;

CApp::~CApp() {
    // The frame goes first: its views use the services below.
    frame_.reset();
}

int CApp::Start(const QStringList& arguments) {
    const StartOptions options = ParseStartOptions(arguments);
    if (!options.error.empty() || options.help) {
        std::fprintf(options.help ? stdout : stderr,
                     "%s%sUsage: pixmond [--folder DIR] [--select FILE] [--screenshot FILE.png [--menus]] [--size WxH]\n"
                     "               [--dialog shpmaker|catalog|converter|block|palettes] [ARCHIVE]\n",
                     options.error.c_str(), options.error.empty() ? "" : "\n");
        return options.help ? 0 : 2;
    }
    doc_.OnNewDocument();
    frame_ = std::make_unique<CMainFrame>(ViewContext{services_, settings_, pickers_}, doc_);
    messages_.SetOwner(frame_.get());
    messages_.SetUnattended(!options.screenshot.empty());
    pickers_.SetOwner(frame_.get());
    progress_.SetMainWindow(frame_.get());
    RegisterViews(*frame_, options.folder);
    frame_->RestoreGeometry();
    if (options.width > 0 && options.dialog.empty()) frame_->resize(options.width, options.height);
    if (!frame_->SwitchView(CMainFrame::kShpMode)) return 1;
    if (!options.select.empty()) {
        if (auto* view = dynamic_cast<CShpView*>(frame_->ActiveView())) view->SelectFileNamed(options.select);
    }
    if (!options.file.empty()) {
        // An archive named at start opens in the archive browser when there is one; the program starts anyway.
        if (!frame_->CanMakeView(CMainFrame::kDatMode) || !frame_->SwitchView(CMainFrame::kDatMode) ||
            !doc_.OnOpenDocument(options.file)) {
            std::fprintf(stderr, "pixmond: %s was not opened\n", options.file.c_str());
        } else if (auto* view = dynamic_cast<CDatView*>(frame_->ActiveView()); view && !options.select.empty()) {
            // --select names the entry the archive browser shows first.
            view->SelectEntryNamed(options.select);
        }
    }
    frame_->show();
    if (!options.dialog.empty()) return TakeDialogScreenshot(options);
    if (options.menus) return WriteMenuScreenshots(*frame_, options.screenshot) == 0 ? 0 : 1;
    if (!options.screenshot.empty()) return TakeScreenshot(options);
    return -1;
}

int CApp::TakeScreenshot(const StartOptions& options) {
    // Let the window lay itself out and paint once before it is grabbed.
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    const QImage image = frame_->grab().toImage();
    if (image.isNull() || !image.save(PathToQString(options.screenshot), "PNG")) {
        std::fprintf(stderr, "pixmond: cannot write %s\n", options.screenshot.c_str());
        return 1;
    }
    return 0;
}

int CApp::TakeDialogScreenshot(const StartOptions& options) {
    ToolDialogShowcase showcase(frame_->Context(), frame_.get());
    QDialog* dialog = showcase.Open(options.dialog, options.folder, options.select);
    if (!dialog) return 1;
    // A size below the dialog's least gives the dialog at its least.
    if (options.width > 0) dialog->resize(options.width, options.height);
    dialog->show();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    const QImage image = dialog->grab().toImage();
    if (image.isNull() || !image.save(PathToQString(options.screenshot), "PNG")) {
        std::fprintf(stderr, "pixmond: cannot write %s\n", options.screenshot.c_str());
        return 1;
    }
    return 0;
}

}  // namespace pixmond
