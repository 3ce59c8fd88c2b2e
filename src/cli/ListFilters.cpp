#include "cli/ListFilters.h"

#include "browser/DatListModel.h"
#include "browser/FilterLog.h"
#include "base/Format.h"
#include "base/TextCase.h"

namespace pixmond::cli {

namespace {

const char* const kFieldOptions[kDescriptionFieldCount] = {"--desc", "--color", "--type", "--country", "--chassis", "--style"};
const char* const kJsonFields[kDescriptionFieldCount] = {"desc", "color", "type", "country", "chassis", "style"};

Json DescriptionJson(const stIconTxItem* record) {
    Json json = Json::object();
    for (int k = 0; k < kDescriptionFieldCount; ++k) json[kJsonFields[k]] = JsonText(record ? record->field[k] : std::string());
    return json;
}

Json RowsJson(const DatListModel& model, const CDatFile& dat) {
    Json json = {{"path", JsonText(dat.Path())},
                 {"mode", model.filters.listMode},
                 {"mode_text", JsonText(DatListModel::kListModeTexts[model.filters.listMode])},
                 {"csv", model.descriptions.IsCsv()},
                 {"listed", int(model.Rows().size())},
                 {"label", JsonText(model.IconsLabel(dat.RealCount(), dat.FakeCount(), dat.Total()))}};
    Json& rows = json["rows"] = Json::array();
    for (int i : model.Rows()) {
        const TDatItem& item = dat.Item(i);
        rows.push_back({{"index", i},
                        {"name", JsonText(item.Name())},
                        {"text", JsonText(DatListModel::RowText(item))},
                        {"icons", +item.icons},
                        {"type", +item.type},
                        {"fake", item.fake != 0},
                        {"real_name", JsonText(item.RealName())},
                        {"description", DescriptionJson(model.RecordOf(item))}});
    }
    return json;
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
    Services& services = console.Get();
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
        const bool withInfo = console.messages.Decided(FilterLog::kQuestion, opts.withInfo);
        return FilterLog::Write(model, dat.Items(), opts.log, withInfo, services);
    }
    if (json) PrintJson(RowsJson(model, dat));
    else Print(RowsText(model, dat));
    return true;
}

}  // namespace pixmond::cli
