#pragma once
#include <QDialog>
#include <string>
#include <vector>

#include "tools/CShpMakerLogic.h"
#include "ui/qt/CFrameView.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace pixmond {

class CShpMakerPreview;

// "Orvel Shp Creator": SHP files from the bitmaps of one folder, in three ways (nine clones of each bitmap,
// nine cells of each bitmap, or one icon per row of a list), with a preview of the bitmap in focus and a few
// repairs of its colours. What it does lives in CShpMakerLogic; the dialog pulls its controls into it.
class CShpMaker : public QDialog {
    Q_OBJECT
public:
    explicit CShpMaker(ViewContext& context, QWidget* parent = nullptr);
    ~CShpMaker() override;

    CShpMakerLogic& Logic() { return logic_; }
    // The commands, as their buttons and lists give them.
    void ChooseFolder();
    // Lists the bitmaps of a folder without remembering it (a caller that knows where they are).
    void ShowFolder(const std::string& folder);
    void ApplyFileSpec();
    void AddSelectedToIconList();
    void RemoveIconRow(int row);
    void MoveIconRow(int delta);
    void MakeShp();

    QPushButton* FolderButton() const { return folderButton_; }
    QLabel* FolderLabel() const { return folder_; }
    QLineEdit* SpecEdit() const { return spec_; }
    QPushButton* ApplyButton() const { return apply_; }
    QListWidget* BitmapList() const { return bitmaps_; }
    QListWidget* IconList() const { return icons_; }
    QRadioButton* ModeButton(int mode) const { return modes_[mode]; }
    QCheckBox* ThreeByThreeBox() const { return threeByThree_; }
    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }
    QPushButton* ClearButton() const { return clear_; }
    CShpMakerPreview* Preview() const { return preview_; }
    QCheckBox* PreviewBox() const { return previewBox_; }
    QPushButton* ZoomButton() const { return zoom_; }
    QCheckBox* DefaultPaletteBox() const { return defaultPalette_; }
    QLabel* InfoLabel() const { return info_; }
    QPushButton* OrvelPaletteButton() const { return orvelPalette_; }
    QComboBox* ReplaceList() const { return replaceList_; }
    QComboBox* WithList() const { return withList_; }
    QPushButton* ReplaceButton() const { return replace_; }
    QPushButton* SaveBmpButton() const { return saveBmp_; }
    QPushButton* MakeButton() const { return make_; }
    QPushButton* ExitButton() const { return exit_; }

public slots:
    // "&Exit" and Escape: the mode and the boxes are kept for the next time (the folder was kept when chosen).
    void reject() override;
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    void Connect();
    // emptyIconList: a new folder's bitmaps have other names, so the icon list goes with the old folder.
    void FillBitmapList(bool emptyIconList);
    void FocusChanged();
    void ModeChanged();
    void RefreshInfo();
    void RefreshIconList(int select);
    void ReplaceColour();
    void ChangeToOrvelPalette();
    void SaveBmp();
    void PullFields();
    void PushFields();
    void UpdateMakeButton();
    std::vector<std::string> SelectedNames() const;
    std::string FocusedName() const;

    ViewContext& context_;
    CShpMakerLogic logic_;
    // The maker's own choices, read when it opens and kept when it is left.
    int mode_ = CShpMakerLogic::kIconList;
    bool threeByThreeOn_ = true;
    bool previewOn_ = false;
    bool filling_ = false;
    bool pushing_ = false;

    QPushButton* folderButton_ = nullptr;
    QLabel* folder_ = nullptr;
    QLineEdit* spec_ = nullptr;
    QPushButton* apply_ = nullptr;
    QListWidget* bitmaps_ = nullptr;
    QListWidget* icons_ = nullptr;
    QRadioButton* modes_[3] = {};
    QCheckBox* threeByThree_ = nullptr;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    QPushButton* clear_ = nullptr;
    CShpMakerPreview* preview_ = nullptr;
    QCheckBox* previewBox_ = nullptr;
    QPushButton* zoom_ = nullptr;
    QCheckBox* defaultPalette_ = nullptr;
    QLabel* info_ = nullptr;
    QPushButton* orvelPalette_ = nullptr;
    QComboBox* replaceList_ = nullptr;
    QComboBox* withList_ = nullptr;
    QPushButton* replace_ = nullptr;
    QPushButton* saveBmp_ = nullptr;
    QPushButton* make_ = nullptr;
    QPushButton* exit_ = nullptr;
};

}  // namespace pixmond
