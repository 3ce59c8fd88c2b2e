#include "browser/FilterLog.h"

#include "base/Format.h"
#include "base/PathParts.h"
#include "base/SafeFile.h"
#include "ui/ShellRules.h"

namespace pixmond {

namespace {

const char* const kModeLines[] = {nullptr,           "Only if 9 icons", "Only interfaces", "Only SHP format",
                                  "Only S16 format", "Only PNG format", nullptr};

void AddLine(std::string& out, const std::string& line) {
    out += line;
    out += '\n';
}

}  // namespace

std::filesystem::path FilterLog::ProposedPath(const std::filesystem::path& archive, const FileSystem& files) {
    const std::filesystem::path folder = archive.parent_path();
    std::filesystem::path logs = folder / "OPENLOG";
    if (!files.Exists(logs)) {
        // The folder one up; a root has no parent and stays.
        logs = (folder.has_relative_path() ? folder.parent_path() : folder) / "OPENLOG";
    }
    return logs / (PathParts::Of(archive.string()).title + "_filter-icons.txt");
}

bool FilterLog::HasRows(const DatListModel& model, Messages& messages) {
    if (!model.Rows().empty()) return true;
    messages.Notice("No icons to log ...");
    return false;
}

bool FilterLog::Write(const DatListModel& model, std::span<const TDatItem> entries, const std::filesystem::path& path,
                      bool withInfo, Services& services) {
    if (!HasRows(model, services.messages)) return false;
    SafeFile file(path);
    const std::string text = Text(model, entries, withInfo);
    if (!file.IsOpen() || !file.Write(text.data(), text.size()) || !file.Commit()) {
        services.messages.Error(Format("Error on creating [%s]", path.string().c_str()));
        return false;
    }
    ShowFile(services.shell, services.messages, path);
    return true;
}

std::string FilterLog::Text(const DatListModel& model, std::span<const TDatItem> entries, bool withInfo) {
    return Heading(model) + Rows(model, entries, withInfo);
}

std::string FilterLog::Heading(const DatListModel& model) {
    const DatListFilters& filters = model.filters;
    std::string out;
    AddLine(out, Format("%d Icons matching filter:", int(model.Rows().size())));
    if (filters.listMode >= 0 && filters.listMode < DatListModel::kListModeCount && kModeLines[filters.listMode])
        AddLine(out, kModeLines[filters.listMode]);
    if (!filters.name.empty()) AddLine(out, Format("Icon having \"%s\" in name", filters.name.c_str()));
    for (int k = 0; k < kDescriptionFieldCount; ++k) {
        if (filters.descriptive[k].empty()) continue;
        AddLine(out, Format("Icon having \"%s\" in Field: %s", filters.descriptive[k].c_str(), kDescriptionFieldNames[k]));
    }
    AddLine(out, "\n");
    return out;
}

std::string FilterLog::Rows(const DatListModel& model, std::span<const TDatItem> entries, bool withInfo) {
    const bool csv = model.descriptions.IsCsv();
    const auto& f = kDescriptionFieldNames;
    std::string out;
    if (!withInfo) {
        AddLine(out, "IconID");
    } else if (csv) {
        AddLine(out, Format("Icon; %9s ; %s ; %s ; %s ; %s ; %s", f[0], f[1], f[2], f[3], f[4], f[5]));
    } else {
        AddLine(out, Format("Icon; %s", f[0]));
    }
    for (int index : model.Rows()) {
        if (index < 0 || size_t(index) >= entries.size()) continue;
        const std::string name(entries[index].Name());
        if (!withInfo) {
            AddLine(out, name);
            continue;
        }
        // The log names what the row is: a fake entry does not borrow its real icon's line here.
        const stIconTxItem* record = model.descriptions.Find(CIconDescriptions::KeyOf(name));
        if (!record) {
            AddLine(out, Format("%s ; (no info)", name.c_str()));
        } else if (csv) {
            const auto& d = record->field;
            AddLine(out, Format("%s ; %s ; %s ; %s ; %s ; %s ; %s", name.c_str(), d[0].c_str(), d[1].c_str(),
                                d[2].c_str(), d[3].c_str(), d[4].c_str(), d[5].c_str()));
        } else {
            AddLine(out, Format("%s ; %s", name.c_str(), record->field[0].c_str()));
        }
    }
    return out;
}

}  // namespace pixmond
