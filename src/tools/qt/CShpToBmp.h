#pragma once
#include <QDialog>

#include "tools/ShpToBmpConverter.h"
#include "ui/qt/CFrameView.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace pixmond {

// "Convert shp / s16 files to Bmp / Png": every nine-icon SHP and S16 file of one folder becomes a picture of
// its icons, 3 x 3, in a second folder.
class CShpToBmp : public QDialog {
    Q_OBJECT
public:
    explicit CShpToBmp(ViewContext& context, QWidget* parent = nullptr);

    void PickInputFolder();
    // Lists the files of another input folder (the input folder is not remembered).
    void ChooseInputFolder(const std::string& folder);
    void PickOutputFolder();
    ShpToBmpConverter& Converter() { return converter_; }

    QLabel* InputLabel() const { return input_; }
    QLabel* OutputLabel() const { return output_; }
    QLabel* CountLabel() const { return count_; }
    QListWidget* FileList() const { return files_; }
    QComboBox* TypeCombo() const { return type_; }
    QPushButton* InputButton() const { return pickInput_; }
    QPushButton* OutputButton() const { return pickOutput_; }
    QPushButton* OkButton() const { return ok_; }

public slots:
    // Converts, then closes.
    void accept() override;

private:
    void FillList();
    void UpdateOk();

    ViewContext& context_;
    ShpToBmpConverter converter_;
    QPushButton* pickInput_ = nullptr;
    QPushButton* pickOutput_ = nullptr;
    QLabel* input_ = nullptr;
    QLabel* output_ = nullptr;
    QLabel* count_ = nullptr;
    QListWidget* files_ = nullptr;
    QComboBox* type_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace pixmond
