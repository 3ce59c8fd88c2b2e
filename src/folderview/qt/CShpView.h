#pragma once
#include <QFrame>
#include <QWidget>
#include <functional>
#include <memory>

#include "folderview/CShpViewModel.h"
#include "folderview/ShpViewCommands.h"
#include "tools/ViewToolCommands.h"
#include "tools/DrawingPaletteCommands.h"
#include "ui/qt/CFrameView.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QToolBar;

namespace pixmond {

class FolderImages;

// The frame around the picture; icons are drawn 2 pixels inside it.
class CPictureArea : public QFrame {
    Q_OBJECT
public:
    CPictureArea(CShpViewModel& model, QWidget* parent);
    PixelRect PictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CShpViewModel& model_;
};

// The folder browser: the icon files of one folder, the icons of the selected file, and the picture.
class CShpView : public QWidget, public CFrameView {
    Q_OBJECT
public:
    CShpView(ViewContext& context, std::unique_ptr<FolderImages> images, QWidget* parent = nullptr);
    ~CShpView() override;

    // A folder to browse instead of "S16 folder" at the first update (the command line's --folder).
    void SetStartFolder(const std::string& folder) { startFolder_ = folder; }

    QWidget* Widget() override { return this; }
    void OnInitialUpdate() override;
    void OnActivateView(bool active) override;
    void OnUpdate() override;
    QToolBar* ToolBar() override { return toolBar_; }
    QList<QMenu*> Menus() override;

    CShpViewModel& Model() { return model_; }
    bool Initialised() const { return initialised_; }

    // The controls, for the frame's keyboard handling and for tests.
    QComboBox* ListModeCombo() const { return listMode_; }
    QLineEdit* FilterEdit() const { return filter_; }
    QPushButton* FilterButton() const { return filterButton_; }
    QListWidget* FileList() const { return fileList_; }
    QListWidget* IconList() const { return iconList_; }
    QPushButton* FolderButton() const { return folderButton_; }
    QComboBox* OutputCombo() const { return output_; }
    CPictureArea* PictureArea() const { return picture_; }
    QLabel* PathLabel() const { return path_; }
    QLabel* TypeLabel() const { return type_; }
    QLabel* SizeLabel() const { return size_; }
    QLabel* StartLabel() const { return start_; }
    QLabel* EndLabel() const { return end_; }
    QLabel* PixelLabel() const { return pixel_; }
    QAction* CollageAction() const { return collageAction_; }
    QAction* MirrorAction() const { return mirrorAction_; }
    QAction* ZoomAction(int zoom) const { return zoom >= 1 && zoom <= 5 ? zoomActions_[zoom - 1] : nullptr; }
    QAction* FolderAction() const { return folderAction_; }
    QMenu* SaveMenu() const { return saveMenu_.get(); }
    QAction* SaveIconAction() const { return saveIconAction_; }
    QAction* SaveEachAction() const { return saveEachAction_; }
    QAction* SaveBlockAction() const { return saveBlockAction_; }
    QPushButton* IconButton() const { return iconButton_; }
    QPushButton* AllIconsButton() const { return allIconsButton_; }
    QPushButton* RangeButton() const { return rangeButton_; }
    QPushButton* InsertButton() const { return insertButton_; }
    QPushButton* AppendButton() const { return appendButton_; }
    ShpViewCommands& Commands() { return *commands_; }
    // The view's tools, shown in the frame's "&Tools" menu.
    QList<QAction*> ToolActions() override;
    QAction* CatalogAction() const { return catalogAction_; }
    QAction* NationPicturesAction() const { return nationAction_; }
    QAction* PngToShpAction() const { return pngToShpAction_; }
    QAction* CropPngAction() const { return cropAction_; }
    QMenu* PaletteMenu() const { return paletteMenu_; }

    void ChooseFolder();
    // Shows the file of that name (compared without regard to case); false when the folder has none.
    bool SelectFileNamed(const std::string& name);

private:
    void BuildControls();
    void BuildCommands();
    // What the user typed into the controls goes to the model before any command works on it.
    void PullFields();
    // Controls from the model, then the picture again.
    void Refresh();
    void UpdateCommands();
    void FillList(QListWidget* list, const std::vector<std::string>& rows, std::vector<std::string>& shown,
                  bool names);
    // "Save as BMP/PNG", the save and BMP buttons, and the removal of an icon by a double click.
    void BuildSaveCommands();
    void UpdateSaveCommands();
    // Runs a command of the file on show, then shows what it changed.
    void RunCommand(const std::function<void()>& command);
    void BuildPaletteMenu();

    ViewContext& context_;
    std::unique_ptr<FolderImages> images_;
    CShpViewModel model_;
    std::string startFolder_;
    bool initialised_ = false;
    bool refreshing_ = false;
    bool freshlyScanned_ = false;
    std::vector<std::string> shownFiles_, shownIcons_;

    QComboBox* listMode_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QPushButton* filterButton_ = nullptr;
    QListWidget* fileList_ = nullptr;
    QPushButton* folderButton_ = nullptr;
    QLabel* path_ = nullptr;
    QLabel* type_ = nullptr;
    QLabel* size_ = nullptr;
    QLabel* start_ = nullptr;
    QLabel* end_ = nullptr;
    QListWidget* iconList_ = nullptr;
    QComboBox* output_ = nullptr;
    CPictureArea* picture_ = nullptr;
    QLabel* pixel_ = nullptr;

    QToolBar* toolBar_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* folderAction_ = nullptr;
    QAction* collageAction_ = nullptr;
    QAction* mirrorAction_ = nullptr;
    QAction* zoomActions_[5] = {};

    std::unique_ptr<ShpViewCommands> commands_;
    std::unique_ptr<QMenu> saveMenu_;
    QAction* saveIconAction_ = nullptr;
    QAction* saveEachAction_ = nullptr;
    QAction* saveBlockAction_ = nullptr;
    QPushButton* iconButton_ = nullptr;
    QPushButton* allIconsButton_ = nullptr;
    QPushButton* rangeButton_ = nullptr;
    QPushButton* insertButton_ = nullptr;
    QPushButton* appendButton_ = nullptr;
    // Tools on the listed files and the file on show.
    void BuildToolCommands();
    void RunCatalog();
    void RunNationPictures();
    ViewToolCommands tools_{context_.services, context_.pickers, context_.settings};
    QAction* catalogAction_ = nullptr;
    QAction* nationAction_ = nullptr;
    QAction* pngToShpAction_ = nullptr;
    QAction* cropAction_ = nullptr;
    std::unique_ptr<DrawingPaletteCommands> paletteCommands_;
    QMenu* paletteMenu_ = nullptr;
};

}  // namespace pixmond
