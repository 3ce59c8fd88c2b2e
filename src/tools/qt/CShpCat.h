#pragma once
#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "image/CBmpDib.h"
#include "tools/CShpCatLogic.h"
#include "ui/qt/CFrameView.h"
#include "ui/qt/QtTextDrawer.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pixmond {

class CDatFile;
class CatalogFileReader;

// The rows of the view a catalog is made of: names of files in a folder, or rows of the open archive.
struct CatalogList {
    CatalogSource source = CatalogSource::Folder;
    std::string inputName;            // the folder, or the archive's path
    std::vector<std::string> names;   // folder: the listed file names
    std::vector<int> entries;         // archive: the entry-table index of each listed row
    const CDatFile* dat = nullptr;    // archive: the open archive
    const CBmpDib::ColourTable* colours = nullptr;  // SHP pixels through this table instead of the default one
    int Rows() const { return int(source == CatalogSource::Archive ? entries.size() : names.size()); }
};

// "Icon catalog (viewer)": one icon of every unit file of a view drawn into numbered pictures, with the names
// under them. The choices go into CShpCatLogic, which measures, estimates and draws.
class CShpCat : public QDialog {
    Q_OBJECT
public:
    CShpCat(ViewContext& context, CatalogList list, QWidget* parent = nullptr);
    ~CShpCat() override;

    CShpCatLogic& Logic() { return logic_; }
    QLabel* InputLabel() const { return input_; }
    QLabel* OutputLabel() const { return output_; }
    QLabel* EstimateLabel() const { return estimate_; }
    QLineEdit* NameEdit() const { return name_; }
    QComboBox* ViewIconCombo() const { return viewIcon_; }
    QComboBox* ColumnsCombo() const { return columns_; }
    QComboBox* RowsCombo() const { return rows_; }
    QLineEdit* BoxXEdit() const { return boxX_; }
    QLineEdit* BoxYEdit() const { return boxY_; }
    QCheckBox* IncludeNameBox() const { return includeName_; }
    QComboBox* FontCombo() const { return font_; }
    QComboBox* TypeCombo() const { return type_; }
    QCheckBox* NamesInLogBox() const { return namesInLog_; }
    QPushButton* OutputButton() const { return pickOutput_; }
    QPushButton* GoButton() const { return go_; }

    void PickOutputFolder();

public slots:
    // "GO": draws the catalog, tells where it went, closes.
    void accept() override;
    void reject() override;
    void done(int result) override;

private:
    void BuildControls();
    void Collect();
    // The box or the picture size changed: box, choices and estimate again.
    void BoxChanged();
    void DeriveBox();
    // The rows of the two size choices that show the catalog's columns and rows.
    int ColumnsRow() const;
    int RowsRow() const;
    void PullFields();
    void PushFields();
    // A closing dialog takes its focus from the edits; that is no edit to act on.
    void StopEditSignals();

    ViewContext& context_;
    CatalogList list_;
    QtTextDrawer text_;
    CShpCatLogic logic_;
    std::unique_ptr<CatalogFileReader> reader_;
    bool started_ = false;
    bool pushing_ = false;
    QLabel* input_ = nullptr;
    QLabel* output_ = nullptr;
    QLabel* estimate_ = nullptr;
    QLineEdit* name_ = nullptr;
    QComboBox* viewIcon_ = nullptr;
    QComboBox* columns_ = nullptr;
    QComboBox* rows_ = nullptr;
    QLineEdit* boxX_ = nullptr;
    QLineEdit* boxY_ = nullptr;
    QCheckBox* includeName_ = nullptr;
    QComboBox* font_ = nullptr;
    QComboBox* type_ = nullptr;
    QCheckBox* namesInLog_ = nullptr;
    QPushButton* pickOutput_ = nullptr;
    QPushButton* go_ = nullptr;
};

}  // namespace pixmond
