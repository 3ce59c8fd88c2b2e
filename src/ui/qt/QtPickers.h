#pragma once
#include <QPointer>
#include <QString>
#include <QWidget>

#include "ui/Pickers.h"

namespace pixmond {

class FileSystem;
class Messages;
class AppSettings;

// The pickers of the desktop: the folder dialog with its history (kept in the settings store), and the desktop's
// file dialogs.
class QtPickers : public Pickers {
public:
    QtPickers(const AppSettings& settings, const FileSystem& files, Messages& messages)
        : settings_(settings), files_(files), messages_(messages) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }

    std::string PickFolder(const std::string& initialFolder, const std::string& title) override;
    std::string PickFile(const std::string& initialPath, const std::string& title, const std::string& filter,
                         const std::string& defaultExtension, bool open) override;
    std::vector<std::string> PickFiles(const std::string& initialPath, const std::string& title,
                                       const std::string& filter) override;

    // "Bitmaps (*.bmp)|*.bmp|" as the file dialog's "Bitmaps (*.bmp)" lines.
    static QStringList QtFilters(const std::string& filter);

private:
    const AppSettings& settings_;
    const FileSystem& files_;
    Messages& messages_;
    QPointer<QWidget> owner_;
};

}  // namespace pixmond
