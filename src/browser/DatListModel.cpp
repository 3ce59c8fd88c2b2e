#include "browser/DatListModel.h"

#include "browser/FilterCondition.h"
#include "base/Format.h"
#include "base/TextCase.h"

namespace pixmond {

bool DatListModel::ReadDescriptionsBeside(const std::filesystem::path& archive, const FileSystem& files) {
    descriptions.SetCsv(false);
    const auto file = CIconDescriptions::FindBeside(archive, files);
    return file && ReadDescriptionFile(*file);
}

bool DatListModel::ReadDescriptionFile(const std::filesystem::path& file) {
    if (!descriptions.Read(file)) return false;
    ClearFilters();
    return true;
}

void DatListModel::ClearFilters() {
    filters.name.clear();
    for (auto& text : filters.descriptive) text.clear();
}

const std::vector<int>& DatListModel::Rebuild(std::span<const TDatItem> entries) {
    const int fields = ActiveFieldCount();
    noDescriptiveFilter_ = true;
    wantsEmpty_ = false;
    for (int k = 0; k < kDescriptionFieldCount; ++k) {
        conditions_[k].clear();
        if (k >= fields) continue;
        const std::string& text = filters.descriptive[k];
        if (!text.empty()) noDescriptiveFilter_ = false;
        if (text.find("{}") != std::string::npos) wantsEmpty_ = true;
        conditions_[k] = FilterCondition::Split(text);
    }
    const std::string nameFilter = ToUpper(FilterCondition::Trim(filters.name));

    rows_.clear();
    for (size_t i = 0; i < entries.size(); ++i) {
        const TDatItem& entry = entries[i];
        if (!FitsMode(entry)) continue;
        if (!filters.name.empty() && !FitsName(entry, nameFilter)) continue;
        if (!noDescriptiveFilter_ && !FitsDescription(entry)) continue;
        rows_.push_back(int(i));
    }
    return rows_;
}

bool DatListModel::FitsMode(const TDatItem& entry) const {
    if (filters.listMode == kFakesMode) return entry.fake != 0;
    if (entry.fake && !filters.fakesTogether) return false;
    switch (filters.listMode) {
        case 1: return entry.icons == 9;
        case 2: return entry.icons != 9;
        case 3: return entry.Kind() == IconKind::Shp;
        case 4: return entry.Kind() == IconKind::S16;
        case 5: return entry.Kind() == IconKind::Png;
        default: return true;
    }
}

bool DatListModel::FitsName(const TDatItem& entry, const std::string& filter) const {
    const std::string name = ToUpper(FilterCondition::Trim(entry.Name()));
    if (!filter.empty() && filter.front() == '^') return name.starts_with(std::string_view(filter).substr(1));
    return name.find(filter) != std::string::npos;
}

bool DatListModel::FitsDescription(const TDatItem& entry) const {
    static const stIconTxItem kEmpty;
    const stIconTxItem* record = RecordOf(entry);
    if (!record) {
        if (!wantsEmpty_) return false;
        record = &kEmpty;
    }
    for (int k = 0; k < kDescriptionFieldCount; ++k) {
        if (conditions_[k].empty()) continue;
        const std::string_view value = FilterCondition::Trim(record->field[k]);
        const std::string& typed = filters.descriptive[k];
        if (value.empty() && !typed.empty() && typed != "{}") return false;
        for (const std::string& condition : conditions_[k]) {
            if (!FilterCondition::Holds(condition, value)) return false;
        }
    }
    return true;
}

const stIconTxItem* DatListModel::RecordOf(const TDatItem& entry) const {
    if (const stIconTxItem* own = descriptions.Find(CIconDescriptions::KeyOf(entry.Name()))) return own;
    if (entry.fake) return descriptions.Find(CIconDescriptions::KeyOf(entry.RealName()));
    return nullptr;
}

int DatListModel::ClampSelection(int wanted) const {
    const int listed = int(rows_.size());
    if (listed == 0) return -1;
    if (wanted >= listed) wanted = listed - 1;
    return wanted < 0 ? 0 : wanted;
}

std::string DatListModel::RowText(const TDatItem& entry) {
    const std::string name(entry.Name());
    if (entry.fake) return Format("%s -> %s", name.c_str(), std::string(entry.RealName()).c_str());
    return Format("%s  (%d)", name.c_str(), int(entry.icons));
}

std::string DatListModel::IconsLabel(int realCount, int fakeCount, int total) const {
    int of = filters.fakesTogether ? total : realCount;
    if (filters.listMode == kFakesMode) of = fakeCount;
    return Format("%d / %d ", int(rows_.size()), of);
}

}  // namespace pixmond
