#include "ui/qt/CXFolderDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>
#include <QVBoxLayout>

#include "ui/FileSystem.h"
#include "ui/Pickers.h"
#include "ui/Settings.h"
#include "ui/qt/CHistoryCombo.h"
#include "ui/qt/QtText.h"

namespace pixmond {

CXFolderDialog::CXFolderDialog(const std::string& initialFolder, const std::string& title, bool useHistory,
                               Settings& settings, const FileSystem& files, Messages& messages, QWidget* parent)
    : QDialog(parent), settings_(settings), files_(files), messages_(messages), useHistory_(useHistory) {
    setWindowTitle(ToQString(title.empty() ? std::string(kDefaultFolderTitle) : title));
    setSizeGripEnabled(true);
    resize(560, 440);

    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QDir::rootPath());
    tree_ = new QTreeView(this);
    tree_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column) tree_->hideColumn(column);
    tree_->header()->hide();

    auto* label = new QLabel(QStringLiteral("Folder &name:"), this);
    combo_ = new CHistoryCombo(this);
    combo_->SetStore("FolderHistory", "Folder", 50, 20);
    label->setBuddy(combo_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* row = new QGridLayout;
    row->addWidget(label, 0, 0);
    row->addWidget(combo_, 0, 1);
    row->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_, 1);
    layout->addLayout(row);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &CXFolderDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CXFolderDialog::reject);
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { OnTreeSelection(); });
    connect(combo_, &QComboBox::activated, this, [this] { OnComboChosen(); });
    connect(combo_->lineEdit(), &QLineEdit::editingFinished, this, [this] { OnComboChosen(); });

    if (useHistory_) {
        combo_->LoadHistory(settings_);
        if (combo_->count() > 0) combo_->setCurrentIndex(0);
    }
    // Without a folder to start at: the one chosen last when there is a history, else the working folder;
    // never the root.
    if (!initialFolder.empty()) Navigate(initialFolder);
    else if (useHistory_ && combo_->count() > 0) Navigate(combo_->Text());
    else Navigate(PathFromQString(QDir::currentPath()));
    tree_->setFocus();
}

void CXFolderDialog::Navigate(const std::string& folder) {
    // The model knows "/a/b", not "/a/b/"; the browsers hand folders over with their trailing separator.
    const QString path = QDir::cleanPath(PathToQString(folder));
    const QModelIndex index = model_->index(path);
    if (!index.isValid()) return;
    tree_->setCurrentIndex(index);
    tree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
    tree_->expand(index);
}

std::string CXFolderDialog::SelectedFolder() const {
    const QModelIndex index = tree_->currentIndex();
    return index.isValid() ? PathFromQString(model_->filePath(index)) : std::string();
}

void CXFolderDialog::OnTreeSelection() {
    const std::string folder = SelectedFolder();
    if (folder.empty()) return;
    const QSignalBlocker quiet(combo_);
    combo_->SetText(folder);
}

void CXFolderDialog::OnComboChosen() {
    const std::string typed = combo_->Text();
    if (typed.empty() || !files_.Exists(typed) || typed == SelectedFolder()) return;
    Navigate(typed);
    combo_->SetText(typed);
}

void CXFolderDialog::accept() {
    // The combo follows the tree, and holds what the user typed last.
    std::string folder = combo_->Text();
    if (folder.empty()) folder = SelectedFolder();
    if (!AcceptChosenFolder(folder, files_, messages_)) return;
    combo_->SetText(folder);
    if (useHistory_) {
        combo_->SaveHistory(settings_);
        settings_.Flush();
    }
    chosen_ = WithTrailingSeparator(folder);
    QDialog::accept();
}

}  // namespace pixmond
