#pragma once
#include <QDialog>
#include <string>

#include "tools/BlockRequest.h"
#include "ui/qt/CFrameView.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pixmond {

class IconSource;
class ClickableLabel;

// The save-block dialog: which icons of an SHP file or an image set go into one picture, in how many rows,
// with or without lines between them, and where it goes. The rules live in BlockRequest; the dialog pulls
// its edits into it and shows what follows.
class CGetData : public QDialog {
    Q_OBJECT
public:
    // The icon file whose icons make the block (null: nothing to build); position is the 1-based first icon,
    // proposedFile a name with a '_' to build on.
    CGetData(ViewContext& context, const std::string& prompt, IconSource* source, int position,
             const std::string& proposedFile, QWidget* parent = nullptr);
    ~CGetData() override;

    // Shows the dialog modally; on OK the source builds and saves the block. False when cancelled.
    static bool Run(ViewContext& context, const std::string& prompt, IconSource* source, int position,
                    const std::string& proposedFile, QWidget* parent = nullptr);
    // The block as the dialog shows it, built by its source.
    bool Build();

    BlockRequest& Request() { return request_; }
    QLineEdit* CountEdit() const { return count_; }
    QLineEdit* RowsEdit() const { return rows_; }
    QLineEdit* LastEdit() const { return last_; }
    QLabel* AvailableLabel() const { return available_; }
    QLabel* CellSizeLabel() const { return cellSize_; }
    QLabel* SizeLabel() const { return size_; }
    QLabel* PromptLabel() const { return prompt_; }
    ClickableLabel* FileLabel() const { return file_; }
    QCheckBox* LinesBox() const { return lines_; }
    QComboBox* TypeCombo() const { return type_; }
    QPushButton* PickButton() const { return pick_; }
    QPushButton* OkButton() const { return ok_; }

public slots:
    void accept() override;
    void done(int result) override;

private:
    void BuildControls();
    // A number edit as an integer; a text that is none is refused with a message and the edit keeps the focus.
    bool PullNumber(QLineEdit* edit, int& value);
    void CountEdited();
    void LastEdited();
    void RowsEdited();
    void PickFile();
    void Repropose();
    void PushFields();
    // A closing dialog takes its focus from the edits; that is no edit to act on.
    void StopEditSignals();

    ViewContext& context_;
    IconSource* source_ = nullptr;
    BlockRequest request_;
    bool complaining_ = false;
    QLabel* prompt_ = nullptr;
    QLineEdit* count_ = nullptr;
    QLineEdit* rows_ = nullptr;
    QLineEdit* last_ = nullptr;
    QLabel* available_ = nullptr;
    QLabel* cellSize_ = nullptr;
    QLabel* size_ = nullptr;
    QCheckBox* lines_ = nullptr;
    QComboBox* type_ = nullptr;
    QPushButton* pick_ = nullptr;
    ClickableLabel* file_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace pixmond
