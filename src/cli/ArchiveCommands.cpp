#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "archive/CDatFile.h"
#include "cli/CliRegistry.h"
#include "cli/ListFilters.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "base/TextCase.h"

namespace pixmond::cli {
namespace {

struct ListOpts {
    std::string archive;
    bool noFakes = false;
    bool json = false;
};

Json ListJson(const CDatFile& dat) {
    Json json = {{"path", JsonText(dat.Path())},
                 {"real_count", dat.RealCount()},
                 {"fake_count", dat.FakeCount()},
                 {"total", dat.Total()}};
    Json& entries = json["entries"] = Json::array();
    for (int i = 0; i < dat.Total(); ++i) {
        const TDatItem& item = dat.Item(i);
        // Packed fields are read by value (+): a reference to them would be misaligned.
        entries.push_back({{"index", i},
                           {"name", JsonText(item.Name())},
                           {"offset", +item.offset},
                           {"size", +item.size},
                           {"icons", +item.icons},
                           {"loadable", item.loadable != 0},
                           {"type", +item.type},
                           {"fake", item.fake != 0},
                           {"real_name", JsonText(item.RealName())}});
    }
    return json;
}

std::string ListTable(const CDatFile& dat) {
    std::string out = Format("%-6s %-13s %-5s %6s %10s %10s  %s\n", "#", "Name", "Type", "Icons", "Size", "Offset", "Note");
    for (int i = 0; i < dat.Total(); ++i) {
        const TDatItem& item = dat.Item(i);
        std::string note;
        if (item.fake) note = "fake of " + Latin1ToUtf8(item.RealName());
        if (!item.loadable && item.Kind() != IconKind::Other) note += note.empty() ? "not loadable" : ", not loadable";
        std::string line = Format("%-6d %-13s %-5s %6d %10u %10u  %s", i, Latin1ToUtf8(item.Name()).c_str(),
                                  IconKindName(item.Kind()), item.icons, item.size, item.offset, note.c_str());
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line + "\n";
    }
    out += Format("%d entries: %d real, %d fake\n", dat.Total(), dat.RealCount(), dat.FakeCount());
    return out;
}

bool RunList(const ListOpts& opts, Services& services) {
    CDatFile dat(services);
    if (!dat.LoadForReading(opts.archive, !opts.noFakes)) return false;
    if (opts.json) PrintJson(ListJson(dat));
    else Print(ListTable(dat));
    return true;
}

// The entry a name on the command line means: the full name (real entries first), else the one real entry of
// that title. -1, with the reason said, when there is none or the choice is not clear.
int FindEntry(const CDatFile& dat, const std::string& wanted, Messages& messages) {
    int fake = -1;
    for (int i = 0; i < dat.Total(); ++i) {
        if (!EqualIgnoringCase(dat.Item(i).Name(), wanted)) continue;
        if (!dat.Item(i).fake) return i;
        if (fake < 0) fake = i;
    }
    if (fake >= 0) return fake;
    std::vector<int> byTitle;
    for (int i = 0; i < dat.Total(); ++i)
        if (!dat.Item(i).fake && EqualIgnoringCase(dat.Item(i).Title(), wanted)) byTitle.push_back(i);
    if (byTitle.size() == 1) return byTitle[0];
    if (byTitle.empty()) messages.Error(Format("%s is not an entry of %s", wanted.c_str(), dat.Path().c_str()));
    else messages.Error(Format("Several entries are called %s; give the full name", wanted.c_str()));
    return -1;
}

// Runs an operation with the archive's error log open, and prints the log when lines were written.
template <typename Operation>
bool WithLog(CDatFile& dat, const std::string& archive, Operation operation) {
    dat.Log().OpenForArchive(archive);
    const bool ok = operation();
    dat.Log().Close(true);
    return ok;
}

struct RepackOpts {
    std::string folder, archive;
    bool imagesOnly = false;
};
bool RunRepack(const RepackOpts& o, ConsoleServices& console) {
    CDatFile dat(console.Get());
    const bool imagesOnly = console.messages.Decided(CDatFile::kRepackQuestion, o.imagesOnly);
    return WithLog(dat, o.archive, [&] { return dat.Repack(o.folder, o.archive, imagesOnly); });
}

struct UnpackOpts {
    std::string archive, folder;
};
bool RunUnpack(const UnpackOpts& o, ConsoleServices& console) {
    CDatFile dat(console.Get());
    if (!dat.LoadForReading(o.archive, false)) return false;
    return WithLog(dat, o.archive, [&] { return dat.Unpack(o.folder); });
}

struct ExtractOpts {
    std::string archive, entry, output;
};
bool RunExtract(const ExtractOpts& o, ConsoleServices& console) {
    CDatFile dat(console.Get());
    if (!dat.LoadForReading(o.archive, true)) return false;
    const int index = FindEntry(dat, o.entry, console.messages);
    if (index < 0) return false;
    std::string target = o.output;
    if (target.empty()) {
        target = dat.StoredNames()[size_t(index)];
        if (!CDatFile::IsSafeFileName(target)) {
            console.messages.Error(Format("%s cannot be written here, its name would not stay inside the folder; "
                                          "name a file with -o",
                                          Latin1ToUtf8(target).c_str()));
            return false;
        }
    }
    const std::string written = dat.Extract(index, target);
    if (written.empty()) return false;
    console.messages.Notice(Format("\n%s \t saved to disk  \n", written.c_str()));
    return true;
}

struct ReplaceOpts {
    std::string archive, file, entry;
};
bool RunReplace(const ReplaceOpts& o, ConsoleServices& console) {
    CDatFile dat(console.Get());
    if (!dat.Load(o.archive, true)) return false;
    const std::string title = ToUpper(PathParts::Of(o.file).title);
    const char* kSameName = "\n   You must pick a same name Shp file for replacement !   \nUse Add option instead";
    int index = -1;
    if (!o.entry.empty()) {
        index = FindEntry(dat, o.entry, console.messages);
        if (index < 0) return false;
    } else {
        int found = 0;
        for (int i = 0; i < dat.Total(); ++i) {
            if (dat.Item(i).fake || dat.Item(i).Title() != title) continue;
            index = i;
            ++found;
        }
        if (found > 1) {
            console.messages.Error(Format("Several entries are called %s; name one with --entry", title.c_str()));
            return false;
        }
    }
    if (index < 0 || dat.Item(index).Title() != title) {
        console.messages.Error(kSameName);
        return false;
    }
    if (dat.Item(index).fake) {
        console.messages.Error("Cannot replace fake entries, seek real icon and replace that entry");
        return false;
    }
    return WithLog(dat, o.archive, [&] { return dat.Replace(index, o.file) != 0; });
}

struct RemoveOpts {
    std::string archive, entry;
};
bool RunRemove(const RemoveOpts& o, ConsoleServices& console) {
    CDatFile dat(console.Get());
    if (!dat.Load(o.archive, true)) return false;
    const int index = FindEntry(dat, o.entry, console.messages);
    if (index < 0) return false;
    if (dat.Item(index).fake) {
        console.messages.Error("Cannot remove entries for fake icons");
        return false;
    }
    if (!WithLog(dat, o.archive, [&] { return !dat.Remove(index).empty(); })) return false;
    console.messages.Notice(Format("%s removed from %s", o.entry.c_str(), o.archive.c_str()));
    return true;
}

struct AddOpts {
    std::string archive;
    std::vector<std::string> files;
};
bool RunAdd(const AddOpts& o, ConsoleServices& console) {
    CDatFile dat(console.Get());
    if (!dat.Load(o.archive, true)) return false;
    return WithLog(dat, o.archive, [&] { return dat.AddFiles(o.files) == 0; });
}

struct CopyListOpts {
    std::string archive, table, dest;
    bool yes = false, no = false;
};
bool TableExists(const std::string& table, ConsoleServices& console) {
    if (console.files.Exists(table)) return true;
    console.messages.Error(Format("\n  %s cannot be find ... \n", table.c_str()));
    return false;
}
bool RunCopyList(const CopyListOpts& o, ConsoleServices& console) {
    CDatFile dat(console.Get());
    if (!dat.LoadForReading(o.archive, true) || !TableExists(o.table, console)) return false;
    if (dat.RealCount() == 0) {
        console.messages.Error(Format("%s has no entries to copy", o.archive.c_str()));
        return false;
    }
    if (!WithLog(dat, o.archive, [&] { return dat.CopyListed(o.table, o.dest); })) return false;
    console.messages.Notice(Format("%s written", o.dest.c_str()));
    return true;
}
bool RunExtractList(const CopyListOpts& o, ConsoleServices& console) {
    CDatFile dat(console.Get());
    if (!dat.LoadForReading(o.archive, true) || !TableExists(o.table, console)) return false;
    if (dat.RealCount() == 0) {
        console.messages.Error(Format("%s has no entries to extract", o.archive.c_str()));
        return false;
    }
    if (o.yes || o.no) console.messages.SetAnswer(o.yes);
    if (!console.files.Exists(o.dest) && !console.files.CreateFolder(o.dest)) {
        console.messages.Error(Format("Error on creating [%s]", o.dest.c_str()));
        return false;
    }
    const int errors = console.messages.ErrorCount();
    const int done = WithLog(dat, o.archive, [&] { return dat.ExtractListed(o.table, o.dest) >= 0; });
    return done && console.messages.ErrorCount() == errors;
}

void AddRebuildCommands(CLI::App& app, CliContext& ctx) {
    auto* repack = app.add_subcommand("repack", "Pack the files of a folder into a new archive");
    auto repackOpts = std::make_shared<RepackOpts>();
    repack->add_option("DIR", repackOpts->folder, "Folder whose files are packed")->required();
    repack->add_option("OUT", repackOpts->archive, "New archive (.dat)")->required();
    repack->add_flag("--images-only", repackOpts->imagesOnly, "Pack only SHP, S16, PNG and JPG files");
    repack->callback([&ctx, repackOpts] { ctx.exitCode = RunRepack(*repackOpts, ctx.services) ? 0 : 1; });

    auto* unpack = app.add_subcommand("unpack", "Write every real entry of an archive into a folder");
    auto unpackOpts = std::make_shared<UnpackOpts>();
    unpack->add_option("ARCHIVE", unpackOpts->archive, "Archive file (.dat)")->required();
    unpack->add_option("DIR", unpackOpts->folder, "Folder to write into (created when missing)")->required();
    unpack->callback([&ctx, unpackOpts] { ctx.exitCode = RunUnpack(*unpackOpts, ctx.services) ? 0 : 1; });

    auto* extract = app.add_subcommand("extract", "Write one entry of an archive to a file");
    auto extractOpts = std::make_shared<ExtractOpts>();
    extract->add_option("ARCHIVE", extractOpts->archive, "Archive file (.dat)")->required();
    extract->add_option("ENTRY", extractOpts->entry, "Entry name (or its title when unique)")->required();
    extract->add_option("-o,--output", extractOpts->output, "File to write (default: the entry's name here)");
    extract->callback([&ctx, extractOpts] { ctx.exitCode = RunExtract(*extractOpts, ctx.services) ? 0 : 1; });

    auto* replace = app.add_subcommand("replace", "Replace the entry of a file's title with the file");
    auto replaceOpts = std::make_shared<ReplaceOpts>();
    replace->add_option("ARCHIVE", replaceOpts->archive, "Archive file (.dat)")->required();
    replace->add_option("FILE", replaceOpts->file, "Replacement file, named like the entry")->required();
    replace->add_option("--entry", replaceOpts->entry, "The entry to replace when several share the title");
    replace->callback([&ctx, replaceOpts] { ctx.exitCode = RunReplace(*replaceOpts, ctx.services) ? 0 : 1; });

    auto* remove = app.add_subcommand("remove", "Remove an entry from an archive (a backup is kept)");
    auto removeOpts = std::make_shared<RemoveOpts>();
    remove->add_option("ARCHIVE", removeOpts->archive, "Archive file (.dat)")->required();
    remove->add_option("ENTRY", removeOpts->entry, "Entry name (or its title when unique)")->required();
    remove->callback([&ctx, removeOpts] { ctx.exitCode = RunRemove(*removeOpts, ctx.services) ? 0 : 1; });

    auto* add = app.add_subcommand("add", "Add files to an archive as new entries (a backup is kept)");
    auto addOpts = std::make_shared<AddOpts>();
    add->add_option("ARCHIVE", addOpts->archive, "Archive file (.dat)")->required();
    add->add_option("FILE", addOpts->files, "Files to add")->required();
    add->callback([&ctx, addOpts] { ctx.exitCode = RunAdd(*addOpts, ctx.services) ? 0 : 1; });

    auto* copyList = app.add_subcommand("copy-list", "Copy the icons named in a table into another archive");
    auto copyOpts = std::make_shared<CopyListOpts>();
    copyList->add_option("ARCHIVE", copyOpts->archive, "Archive to copy from")->required();
    copyList->add_option("TABLE", copyOpts->table, "List of icon titles (.tbl)")->required();
    copyList->add_option("DEST", copyOpts->dest, "Archive to create or update (.dat)")->required();
    copyList->callback([&ctx, copyOpts] { ctx.exitCode = RunCopyList(*copyOpts, ctx.services) ? 0 : 1; });

    auto* extractList = app.add_subcommand("extract-list", "Write the icons named in a table into a folder");
    auto extractListOpts = std::make_shared<CopyListOpts>();
    extractList->add_option("ARCHIVE", extractListOpts->archive, "Archive to extract from")->required();
    extractList->add_option("TABLE", extractListOpts->table, "List of icon titles (.tbl)")->required();
    extractList->add_option("DIR", extractListOpts->dest, "Folder to write into")->required();
    auto* yes = extractList->add_flag("--yes", extractListOpts->yes, "Replace files that exist");
    extractList->add_flag("--no", extractListOpts->no, "Keep files that exist")->excludes(yes);
    extractList->callback([&ctx, extractListOpts] {
        ctx.exitCode = RunExtractList(*extractListOpts, ctx.services) ? 0 : 1;
    });
}

void Add(CLI::App& app, CliContext& ctx) {
    AddRebuildCommands(app, ctx);
    auto* list = app.add_subcommand("list", "List the entries of an archive, with its fake entries");
    auto listOpts = std::make_shared<ListOpts>();
    list->add_option("ARCHIVE", listOpts->archive, "Archive file (.dat)")->required();
    list->add_flag("--no-fakes", listOpts->noFakes, "Leave out the fake entries of the .keep file");
    list->add_flag("--json", listOpts->json, "Print JSON instead of a table");
    auto filterOpts = AddListFilterOptions(list);
    list->callback([&ctx, listOpts, filterOpts] {
        if (filterOpts->Active()) {
            const bool ok = RunFilteredList(*filterOpts, listOpts->archive, !listOpts->noFakes, listOpts->json, ctx.services);
            ctx.exitCode = ok ? 0 : 1;
            return;
        }
        ctx.exitCode = RunList(*listOpts, ctx.services.Get()) ? 0 : 1;
    });
}

const CommandRegistration reg(Add);

}  // namespace
}  // namespace pixmond::cli
