#pragma once
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "archive/CDatFile.h"
#include "browser/CDatViewModel.h"
#include "browser/DatArchiveCommands.h"
#include "browser/DatSaveCommands.h"
#include "browser/DatReportCommands.h"
#include "tools/ViewToolCommands.h"
#include "tools/DrawingPaletteCommands.h"
#include "ui/qt/CFrameView.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;
class QToolBar;

namespace pixmond {

class CDatPicture;
class DatRowsModel;

// The archive browser: the entries of the open archive narrowed by list mode and filters, the icons of the
// selected entry one at a time or as a collage, its geometry and its description, and the archive commands.
class CDatView : public QWidget, public CFrameView {
    Q_OBJECT
public:
    // What the view asks of the frame around it.
    struct FrameHooks {
        std::function<void(const std::string&)> archiveOpened;  // recent files and title
        std::function<void()> showFolderBrowser;
        std::function<void()> about;
        std::function<void()> shpMaker;  // the frame's Shp maker, from the toolbar
        std::function<QMenu*()> recentFiles;  // the open button's drop-down
    };

    CDatView(ViewContext& context, FrameHooks hooks, QWidget* parent = nullptr);
    ~CDatView() override;

    QWidget* Widget() override { return this; }
    void OnInitialUpdate() override;
    void OnActivateView(bool active) override;
    void OnUpdate() override { Refresh(); }
    QToolBar* ToolBar() override { return toolBar_; }
    QList<QMenu*> Menus() override;
    bool OpenDocument(const std::string& path) override;

    CDatViewModel& Model() { return model_; }
    CDatFile& Dat() { return dat_; }
    DatArchiveCommands& Commands() { return commands_; }

    // Opens the archive as the open command does after its picker.
    bool OpenArchive(const std::string& path);
    // Paints the picture now, and the labels that follow from it.
    void DrawNow();

    // The controls, for the frame's keyboard handling and for tests.
    QComboBox* ListModeCombo() const { return listMode_; }
    QLineEdit* NameFilterEdit() const { return nameFilter_; }
    QLineEdit* FilterEdit(int field) const { return filters_[size_t(field)]; }
    QPushButton* SetFilterButton() const { return setFilter_; }
    QPushButton* ClearFilterButton() const { return clearFilter_; }
    QPushButton* LogFilterButton() const { return logFilter_; }
    QPushButton* LoadDescriptionButton() const { return loadDescriptions_; }
    QListView* EntryList() const { return list_; }
    QLabel* IconsLabel() const { return iconsLabel_; }
    QLabel* IconLabel() const { return iconLabel_; }
    QPushButton* FirstButton() const { return first_; }
    QPushButton* PreviousButton() const { return previous_; }
    QPushButton* NextButton() const { return next_; }
    QPushButton* NextPageButton() const { return nextPage_; }
    QLineEdit* PositionEdit() const { return position_; }
    CDatPicture* Picture() const { return picture_; }
    QLabel* SizeLabel() const { return size_; }
    QLabel* StartLabel() const { return start_; }
    QLabel* EndLabel() const { return end_; }
    QLabel* BitsLabel() const { return bits_; }
    QLabel* DescriptionLabel(int field) const { return descriptions_[size_t(field)]; }
    QAction* OpenAction() const { return openAction_; }
    QAction* CollageAction() const { return collageAction_; }
    QAction* MirrorAction() const { return mirrorAction_; }
    QAction* FakesAction() const { return fakesAction_; }
    QAction* ZoomAction(int zoom) const { return zoom >= 1 && zoom <= 5 ? zoomActions_[zoom - 1] : nullptr; }
    QAction* ListModeAction(int mode) const { return mode >= 0 && mode < 3 ? modeActions_[mode] : nullptr; }
    QAction* ExtractAction() const { return extractAction_; }
    QAction* ReplaceAction() const { return replaceAction_; }
    QAction* RemoveAction() const { return removeAction_; }
    QAction* AddAction() const { return addAction_; }
    QAction* UnpackAction() const { return unpackAction_; }
    QMenu* SaveMenu() const { return saveMenu_.get(); }
    QAction* SaveIconAction() const { return saveIconAction_; }
    QAction* SaveEachAction() const { return saveEachAction_; }
    QAction* SaveBlockAction() const { return saveBlockAction_; }
    // Selects the listed entry of that name (compared without regard to case); false when none is listed.
    bool SelectEntryNamed(const std::string& name);
    // The reports, the sheets and the view's tools.
    QList<QAction*> ToolActions() override;
    void UpdateToolActions() override;
    QAction* ReportIconsAction() const { return reportIconsAction_; }
    QAction* ReportItemsAction() const { return reportItemsAction_; }
    QAction* CompareReportAction() const { return compareAction_; }
    QAction* CompatibilityAction() const { return compatibilityAction_; }
    QAction* ExportSheetsAction() const { return exportSheetsAction_; }
    QAction* ImportSheetsAction() const { return importSheetsAction_; }
    QAction* CatalogAction() const { return catalogAction_; }
    QAction* NationPicturesAction() const { return nationAction_; }
    QAction* PngToShpAction() const { return pngToShpAction_; }
    QAction* ShpMakerButton() const { return shpMakerAction_; }
    QMenu* PaletteMenu() const { return paletteMenu_; }
    QAction* ConvertPaletteAction() const { return convertPaletteAction_; }

private:
    void BuildControls();
    QWidget* BuildFilterColumn();
    QWidget* BuildPictureColumn();
    void BuildCommands();
    void Connect();
    // The typed filters go to the model before any command works on them.
    void PullFields();
    // Controls from the model; the picture is drawn again.
    void Refresh();
    void RefreshLabels();
    void ShowCsvControls();
    void UpdateCommands();
    // Runs the rest of a command once the picker has gone and the window has been drawn.
    void RunLater(DatArchiveCommands::Deferred rest);
    void LoadDescriptions();
    void LogFilter();
    // "Save as BMP/PNG": the menu, its toolbar buttons and their states.
    void BuildSaveMenu();
    void UpdateSaveCommands();
    void BuildPaletteMenu();

    ViewContext& context_;
    FrameHooks hooks_;
    CDatFile dat_;
    CDatViewModel model_;
    DatArchiveCommands commands_;
    bool refreshing_ = false;
    int shownRows_ = -1;

    QComboBox* listMode_ = nullptr;
    QLineEdit* nameFilter_ = nullptr;
    std::array<QLineEdit*, kDescriptionFieldCount> filters_{};
    std::array<QLabel*, kDescriptionFieldCount> filterLabels_{};
    QPushButton* setFilter_ = nullptr;
    QPushButton* clearFilter_ = nullptr;
    QPushButton* logFilter_ = nullptr;
    QListView* list_ = nullptr;
    DatRowsModel* rows_ = nullptr;
    QPushButton* loadDescriptions_ = nullptr;
    QLabel* iconsLabel_ = nullptr;
    QLabel* iconLabel_ = nullptr;
    QPushButton* first_ = nullptr;
    QPushButton* previous_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* nextPage_ = nullptr;
    QLineEdit* position_ = nullptr;
    CDatPicture* picture_ = nullptr;
    QLabel* size_ = nullptr;
    QLabel* start_ = nullptr;
    QLabel* end_ = nullptr;
    QLabel* bits_ = nullptr;
    std::array<QLabel*, kDescriptionFieldCount> descriptions_{};

    QToolBar* toolBar_ = nullptr;
    QMenu* datMenu_ = nullptr;
    QMenu* showMenu_ = nullptr;
    QAction* openAction_ = nullptr;
    QAction* repackAction_ = nullptr;
    QAction* unpackAction_ = nullptr;
    QAction* extractAction_ = nullptr;
    QAction* replaceAction_ = nullptr;
    QAction* removeAction_ = nullptr;
    QAction* addAction_ = nullptr;
    QAction* copyListAction_ = nullptr;
    QAction* extractListAction_ = nullptr;
    QAction* modeActions_[3] = {};
    QAction* zoomActions_[5] = {};
    QAction* collageAction_ = nullptr;
    QAction* mirrorAction_ = nullptr;
    QAction* fakesAction_ = nullptr;
    QAction* shpToolAction_ = nullptr;
    QAction* aboutAction_ = nullptr;

    std::unique_ptr<DatSaveCommands> saveCommands_;
    std::unique_ptr<QMenu> saveMenu_;
    QAction* saveIconAction_ = nullptr;
    QAction* saveEachAction_ = nullptr;
    QAction* saveBlockAction_ = nullptr;
    // Reports, sheets and tools.
    void BuildToolCommands();
    // The toolbar's buttons as small tiles.
    void GiveToolTiles();
    void RunCatalog();
    DatReportCommands reports_{model_, context_.pickers};
    ViewToolCommands tools_{context_.services, context_.pickers, context_.settings};
    QAction* reportIconsAction_ = nullptr;
    QAction* reportItemsAction_ = nullptr;
    QAction* compareAction_ = nullptr;
    QAction* compatibilityAction_ = nullptr;
    QAction* exportSheetsAction_ = nullptr;
    QAction* importSheetsAction_ = nullptr;
    QAction* catalogAction_ = nullptr;
    QAction* nationAction_ = nullptr;
    QAction* pngToShpAction_ = nullptr;
    QAction* shpMakerAction_ = nullptr;
    std::unique_ptr<DrawingPaletteCommands> paletteCommands_;
    QMenu* paletteMenu_ = nullptr;
    QAction* convertPaletteAction_ = nullptr;
};

}  // namespace pixmond
