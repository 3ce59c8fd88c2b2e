#include <fstream>

#include "archive/CDatFile.h"
#include "cli/CliRegistry.h"
#include "base/PathParts.h"
#include "base/TextCase.h"

namespace pixmond::cli {
namespace {

namespace fs = std::filesystem;

bool WriteTextFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return bool(out.flush());
}

// The demo archive packs the icon files the earlier steps wrote and a text file, and declares a few fakes.
bool WriteDemoArchive(const fs::path& folder, CliContext& ctx) {
    if (!WriteTextFile(folder / "readme.txt", "Demo archive written by pixmond-cli sample.\r\n")) return false;
    const std::string archive = (folder / "demo.dat").string();
    CDatFile dat(ctx.services.Get());
    // Names the archive cannot take are noted in a log that nobody needs to see here.
    dat.Log().OpenForArchive(archive);
    const bool packed = dat.Repack(folder.string() + "/", archive, false);
    dat.Log().Close(false);
    std::error_code ec;
    fs::remove(CLog::NameForArchive(archive), ec);
    if (!packed || !dat.LoadForReading(archive, false)) return false;

    std::string keep = "# aliases of the demo archive: FAKE;REAL\r\n";
    int fakes = 0;
    for (const auto& item : dat.Items()) {
        if (!item.loadable || fakes == 3) continue;
        const std::string title(item.Title());
        keep += title.substr(0, 6) + "X" + std::to_string(++fakes) + ";" + title + "\r\n";
    }
    keep += "MISSING;NOSUCHICON\r\n";
    return WriteTextFile(folder / "demo.keep", keep);
}

const SampleRegistration step(300, "demo archive", WriteDemoArchive);

}  // namespace
}  // namespace pixmond::cli
