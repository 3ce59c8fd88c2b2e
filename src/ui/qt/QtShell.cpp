#include "ui/qt/QtShell.h"

#include <QDesktopServices>
#include <QUrl>

#include "ui/qt/QtText.h"

namespace pixmond {

bool QtShell::Open(const std::filesystem::path& file, const std::filesystem::path&) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(PathToQString(file.string())));
}

bool QtShell::OpenUrl(const std::string& url) { return QDesktopServices::openUrl(QUrl(QString::fromStdString(url))); }

}  // namespace pixmond
