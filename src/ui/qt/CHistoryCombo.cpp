#include "ui/qt/CHistoryCombo.h"

#include <QLineEdit>

#include "ui/qt/QtText.h"

namespace pixmond {

CHistoryCombo::CHistoryCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(10);
}

void CHistoryCombo::SetStore(const std::string& section, const std::string& prefix, size_t maximum, int visibleItems) {
    history_ = FolderHistory(section, prefix, maximum);
    setMaxVisibleItems(visibleItems);
}

std::string CHistoryCombo::Text() const { return PathFromQString(currentText()); }

void CHistoryCombo::SetText(const std::string& text) { setEditText(PathToQString(text)); }

void CHistoryCombo::ShowHistory() {
    const QSignalBlocker quiet(this);
    clear();
    for (const std::string& entry : history_.Entries()) addItem(PathToQString(entry));
    setCurrentIndex(history_.Selection());
    setEditText(PathToQString(history_.Current()));
}

void CHistoryCombo::LoadHistory(const Settings& settings) {
    history_.Load(settings);
    ShowHistory();
}

int CHistoryCombo::AddString(const std::string& text) {
    history_.SetCurrent(Text());
    const int at = history_.Add(text);
    ShowHistory();
    return at;
}

void CHistoryCombo::SaveHistory(Settings& settings) {
    history_.SetCurrent(Text());
    history_.Save(settings);
    ShowHistory();
}

void CHistoryCombo::ClearHistory(Settings* store) {
    history_.Clear(store);
    ShowHistory();
}

}  // namespace pixmond
