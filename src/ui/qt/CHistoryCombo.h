#pragma once
#include <QComboBox>

#include "ui/FolderHistory.h"

namespace pixmond {

class Settings;

// An editable combo box that remembers what was chosen in it, through the rules of FolderHistory.
class CHistoryCombo : public QComboBox {
    Q_OBJECT
public:
    explicit CHistoryCombo(QWidget* parent = nullptr);

    // Where the history is kept, and how much of it.
    void SetStore(const std::string& section, const std::string& prefix, size_t maximum, int visibleItems);
    void LoadHistory(const Settings& settings);
    int AddString(const std::string& text);
    void SaveHistory(Settings& settings);
    void ClearHistory(Settings* store);

    std::string Text() const;
    void SetText(const std::string& text);
    const FolderHistory& History() const { return history_; }

private:
    void ShowHistory();
    FolderHistory history_;
};

}  // namespace pixmond
