#include "ui/qt/QtPickers.h"

#include <QFileDialog>
#include <QRegularExpression>

#include "ui/AppSettings.h"
#include "base/PathParts.h"
#include "ui/qt/CXFolderDialog.h"
#include "ui/qt/QtText.h"

namespace pixmond {

std::string QtPickers::PickFolder(const std::string& initialFolder, const std::string& title) {
    CXFolderDialog dialog(initialFolder, title, settings_.UseHistory(), settings_.Store(), files_, messages_, owner_);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.Chosen();
}

QStringList QtPickers::QtFilters(const std::string& filter) {
    QStringList out;
    for (const FilterEntry& entry : ParseFilter(filter.empty() ? kDefaultFileFilter : filter)) {
        QStringList patterns;
        // "*.*" means every file, also those without a dot.
        for (const std::string& p : entry.patterns) patterns << (p == "*.*" ? QStringLiteral("*") : ToQString(p));
        QString description = ToQString(entry.description).trimmed();
        description.remove(QRegularExpression(QStringLiteral("\\s*\\([^()]*\\)\\s*$")));
        out << QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
    }
    return out;
}

namespace {
void Prepare(QFileDialog& dialog, const std::string& initialPath, const std::string& title, const std::string& filter) {
    dialog.setWindowTitle(ToQString(title.empty() ? std::string(kDefaultFileTitle) : title));
    dialog.setNameFilters(QtPickers::QtFilters(filter));
    dialog.setSizeGripEnabled(true);
    const PathParts parts = PathParts::Of(initialPath);
    if (!parts.folder.empty()) dialog.setDirectory(PathToQString(parts.folder));
    if (!parts.name.empty()) dialog.selectFile(PathToQString(parts.name));
}
}  // namespace

std::string QtPickers::PickFile(const std::string& initialPath, const std::string& title, const std::string& filter,
                                const std::string& defaultExtension, bool open) {
    QFileDialog dialog(owner_);
    Prepare(dialog, initialPath, title, filter);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QString suffix = ToQString(defaultExtension);
    if (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
    if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return PathFromQString(dialog.selectedFiles().front());
}

std::vector<std::string> QtPickers::PickFiles(const std::string& initialPath, const std::string& title,
                                              const std::string& filter) {
    QFileDialog dialog(owner_);
    Prepare(dialog, initialPath, title, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    std::vector<std::string> out;
    if (dialog.exec() != QDialog::Accepted) return out;
    for (const QString& file : dialog.selectedFiles()) out.push_back(PathFromQString(file));
    return out;
}

}  // namespace pixmond
