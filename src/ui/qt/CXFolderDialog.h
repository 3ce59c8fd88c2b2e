#pragma once
#include <QDialog>

class QFileSystemModel;
class QTreeView;

namespace pixmond {

class CHistoryCombo;
class FileSystem;
class Messages;
class Settings;

// Chooses a folder: a tree of folders, and "Folder name:" with the folders chosen before when the history is on.
class CXFolderDialog : public QDialog {
    Q_OBJECT
public:
    CXFolderDialog(const std::string& initialFolder, const std::string& title, bool useHistory, Settings& settings,
                   const FileSystem& files, Messages& messages, QWidget* parent = nullptr);

    // The folder chosen, with its trailing separator; empty until OK succeeded.
    const std::string& Chosen() const { return chosen_; }
    CHistoryCombo* Combo() const { return combo_; }
    QTreeView* Tree() const { return tree_; }
    // Moves the tree to a folder, as choosing it from the history does.
    void Navigate(const std::string& folder);

public slots:
    void accept() override;

private:
    void OnTreeSelection();
    void OnComboChosen();
    std::string SelectedFolder() const;

    Settings& settings_;
    const FileSystem& files_;
    Messages& messages_;
    bool useHistory_;
    QFileSystemModel* model_ = nullptr;
    QTreeView* tree_ = nullptr;
    CHistoryCombo* combo_ = nullptr;
    std::string chosen_;
};

}  // namespace pixmond
