#include "cli/ListFilters.h"

#include "browser/DatListModel.h"
#include "cli/AnsweringMessages.h"
#include "browser/FilterLog.h"
#include "base/Format.h"
#include "base/TextCase.h"

namespace pixmond::cli {

namespace {

const char* const kFieldOptions[kDescriptionFieldCount] = {"--desc", "--color", "--type", "--country", "--chassis", "--style"};
const char* const kJsonFields[kDescriptionFieldCount] = {"desc", "color", "type", "country", "chassis", "style"};

std::string DescriptionJson(const stIconTxItem* record) {
    std::string out = "{";
    for (int k = 0; k < kDescriptionFieldCount; ++k) {
        if (k) out += ",";
        out += Format("\"%s\":", kJsonFields[k]) + JsonString(record ? record->field[k] : std::string());
    }
    return out + "}";
}

std::string RowsJson(const DatListModel& model, const CDatFile& dat) {
    std::string out = "{\"path\":" + JsonString(dat.Path()) +
                      Format(",\"mode\":%d,\"mode_text\":", model.filters.listMode) +
                      JsonString(DatListModel::kListModeTexts[model.filters.listMode]) +
                      Format(",\"csv\":%s,\"listed\":%d,\"label\":", model.descriptions.IsCsv() ? "true" : "false",
                             int(model.Rows().size())) +
                      JsonString(model.IconsLabel(dat.RealCount(), dat.FakeCount(), dat.Total())) + ",\"rows\":[";
    bool first = true;
    for (int i : model.Rows()) {
        const TDatItem& item = dat.Item(i);
        if (!first) out += ",";
        first = false;
        out += Format("{\"index\":%d,\"name\":", i) + JsonString(std::string(item.Name())) +
               ",\"text\":" + JsonString(DatListModel::RowText(item)) +
               Format(",\"icons\":%d,\"type\":%d,\"fake\":%s,\"real_name\":", item.icons, item.type,
                      item.fake ? "true" : "false") +
               JsonString(std::string(item.RealName())) + ",\"description\":" + DescriptionJson(model.RecordOf(item)) +
               "}";
    }
    return out + "]}\n";
}

std::string RowsText(const DatListModel& model, const CDatFile& dat) {
    std::string out;
    for (int i : model.Rows()) {
        const TDatItem& item = dat.Item(i);
        std::string line = Latin1ToUtf8(DatListModel::RowText(item));
        if (const stIconTxItem* record = model.RecordOf(item)) {
            line += std::string(line.size() < 24 ? 24 - line.size() : 1, ' ') + Latin1ToUtf8(record->field[kDesc]);
        }
        out += line + "\n";
    }
    out += Format("%s: %s\n", DatListModel::kListModeTexts[model.filters.listMode],
                  model.IconsLabel(dat.RealCount(), dat.FakeCount(), dat.Total()).c_str());
    return out;
}

}  // namespace

bool ListFilterOpts::Active() const {
    if (mode >= 0 || fakesTogether || !name.empty() || !descriptions.empty() || !log.empty()) return true;
    for (const auto& text : descriptive) {
        if (!text.empty()) return true;
    }
    return false;
}

std::shared_ptr<ListFilterOpts> AddListFilterOptions(CLI::App* list) {
    auto opts = std::make_shared<ListFilterOpts>();
    list->add_option("--mode", opts->mode,
                     "List mode of the browser: 0 all, 1 unit icons (9), 2 interface files, 3 SHP, 4 S16, 5 PNG, "
                     "6 fake replacements")
        ->check(CLI::Range(0, DatListModel::kListModeCount - 1));
    list->add_flag("--fakes-together", opts->fakesTogether, "List fake entries beside the real ones in modes 0 to 5");
    list->add_option("--name", opts->name, "Names containing TEXT; ^TEXT: names beginning with it");
    const char* helps[kDescriptionFieldCount] = {
        "Desc. filter: words joined by $ or & must all match; {} empty, ~ not empty, !word not containing",
        "Color filter (CSV description files)", "Type filter (CSV description files)",
        "Country filter (CSV description files)", "Chassis filter (CSV description files)",
        "Style/Family filter (CSV description files)"};
    for (int k = 0; k < kDescriptionFieldCount; ++k) list->add_option(kFieldOptions[k], opts->descriptive[k], helps[k]);
    list->add_option("--descriptions", opts->descriptions,
                     "Description file (.txt or .csv); by default the one beside the archive");
    list->add_option("--log", opts->log, "Write the listed icons and the filters to this text file");
    list->add_flag("--with-info", opts->withInfo, "With --log: add each icon's description");
    return opts;
}

bool RunFilteredList(const ListFilterOpts& opts, const std::string& archive, bool withFakes, bool json,
                     ConsoleServices& console) {
    AnsweringMessages messages(console);
    messages.Answer(FilterLog::kQuestion, opts.withInfo);
    Services& services = messages.Get();
    CDatFile dat(services);
    if (!dat.LoadForReading(archive, withFakes)) return false;
    DatListModel model;
    if (!opts.descriptions.empty()) {
        if (!model.ReadDescriptionFile(opts.descriptions)) {
            services.messages.Error(Format("%s not found", opts.descriptions.c_str()));
            return false;
        }
    } else {
        model.ReadDescriptionsBeside(dat.Path(), services.files);
    }
    model.filters.listMode = opts.mode < 0 ? 0 : opts.mode;
    model.filters.fakesTogether = opts.fakesTogether;
    model.filters.name = opts.name;
    model.filters.descriptive = opts.descriptive;
    model.Rebuild(dat.Items());

    if (!opts.log.empty()) {
        // The window says it as a notice; a command that fails says it on stderr.
        if (model.Rows().empty()) {
            services.messages.Error("No icons to log ...");
            return false;
        }
        const std::filesystem::path logPath = opts.log;
        return FilterLog::Write(model, dat.Items(), dat.Path(), services,
                                [&logPath](const std::filesystem::path&) { return logPath; });
    }
    Print(json ? RowsJson(model, dat) : RowsText(model, dat));
    return true;
}

}  // namespace pixmond::cli
