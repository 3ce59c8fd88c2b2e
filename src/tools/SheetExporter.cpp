#include "tools/SheetExporter.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <new>
#include <set>

#include "archive/LooseFile.h"
#include "archive/CDatFile.h"
#include "base/ByteHash.h"
#include "base/Format.h"
#include "base/ParallelJobs.h"
#include "base/PathParts.h"
#include "base/ReadOnlyFile.h"
#include "base/SafeFile.h"
#include "base/TextCase.h"
#include "browser/DatListModel.h"
#include "image/ImageWriter.h"
#include "image/PaletteFile.h"
#include "image/PngReader.h"
#include "tools/SheetIcons.h"
#include "ui/Services.h"

namespace pixmond {

namespace fs = std::filesystem;

struct SheetExporter::Job {
    int index = 0;
    SheetEntry entry;     // name, occurrence, kind and sheet come from the plan, the rest from the export
    std::string problem;  // why no sheet was written
    bool written = false;
};

namespace {

constexpr Rgb kS16Background = MakeRgb(248, 0, 248);

// "TIGER.SHP" gives "TIGER.SHP.png"; a PNG entry keeps its name when it ends in ".png". A name taken already
// (entries of the same name, or names that differ in case only) gets "~2", "~3" ... before the ".png".
std::string SheetName(const std::string& name, SheetKind kind, std::set<std::string>& used) {
    const bool endsInPng =
        name.size() >= 4 && EqualIgnoringCase(std::string_view(name).substr(name.size() - 4), ".png");
    const std::string stem = kind == SheetKind::Png && endsInPng ? name.substr(0, name.size() - 4) : name;
    const std::string extension = kind == SheetKind::Png && endsInPng ? name.substr(name.size() - 4) : ".png";
    std::string sheet = stem + extension;
    for (int n = 2; !used.insert(ToLower(sheet)).second; ++n)
        sheet = Format("%s~%d%s", stem.c_str(), n, extension.c_str());
    return sheet;
}

// Sheets can be written again from the archive at any time, so they are not flushed one by one; the file system
// is flushed once before the manifest that names them is written.
void FlushFileSystemOf(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::syncfs(fd);
    ::close(fd);
}

// Writes bytes as a file: beside it first when it exists, so a failure never leaves half a sheet in its place.
bool WriteSheetFile(const fs::path& target, std::vector<std::uint8_t> bytes, std::string& failure) {
    const auto shared = std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
    std::vector<std::uint8_t> unused;
    return LooseFile::Write(ArchiveSource{nullptr, {}, 0, shared}, shared->size(), target, unused, failure, false);
}

bool FileHash(const fs::path& path, std::string& hash) {
    const auto file = ReadOnlyFile::Open(path);
    if (!file) return false;
    const auto bytes = file->ReadBlock(0, size_t(file->Size()));
    if (bytes.size() != file->Size()) return false;
    hash = ByteHash::Of(bytes);
    return true;
}

// The sheet of an entry's icons: 8-bit over the palette with the transparent index around and between the
// icons, or 24-bit on the S16 background colour.
CBmpDib DrawSheet(const SheetIcons& icons, const RgbTriples& palette) {
    const SheetGrid& grid = icons.Grid();
    const bool indexed = icons.Kind() == SheetKind::Shp;
    CBmpDib sheet;
    sheet.Create(int(grid.Width()), int(grid.Height()), indexed ? 8 : 24, true);
    if (!sheet.Allocate()) return sheet;
    if (indexed) {
        sheet.SetColourTable(ColourTableOf(palette));
        sheet.Fill(kTransparentIndex);
    } else {
        for (int y = 0; y < sheet.Height(); ++y)
            for (int x = 0; x < sheet.Width(); ++x) sheet.SetColour(x, y, kS16Background);
    }
    for (int n = 1; n <= grid.count; ++n) {
        const SheetIcons::Icon& icon = icons.Icons()[size_t(n - 1)];
        if (!icon.record.readable) continue;
        const int left = grid.CellX(n), top = grid.CellY(n), w = icon.record.width;
        for (int y = 0; y < icon.record.height; ++y) {
            const std::uint8_t* from = icon.pixels.data() + size_t(y) * size_t(w) * size_t(icons.PixelBytes());
            if (indexed) {
                std::copy_n(from, w, sheet.Bits() + sheet.Offset(left, top + y));
                continue;
            }
            for (int x = 0; x < w; ++x, from += 3)
                sheet.SetColour(left + x, top + y, MakeRgb(from[0], from[1], from[2]));
        }
    }
    return sheet;
}

}  // namespace

std::string SheetExportResult::Summary(const std::string& folder) const {
    std::string text = Format("%d sheet%s written to %s: %d SHP (%d icons), %d PNG, %d S16 read-only", Sheets(),
                              Sheets() == 1 ? "" : "s", folder.c_str(), shp, icons, png, s16);
    if (!skipped.empty()) text += Format("; %d entr%s skipped", int(skipped.size()), skipped.size() == 1 ? "y" : "ies");
    if (cancelled) text += "; cancelled";
    return text;
}

std::vector<SheetExporter::Job> SheetExporter::PlanJobs(const SheetExportOptions& options) const {
    DatListModel model;
    model.filters.listMode = options.listMode;
    model.filters.name = options.nameFilter;
    model.Rebuild(dat_.Items());

    // Entries of the same name are told apart by their order in the archive, whatever the filters list.
    std::vector<int> occurrence(size_t(dat_.Total()), 0);
    std::map<std::string, int> seen;
    for (int i = 0; i < dat_.Total(); ++i)
        if (!dat_.Item(i).fake) occurrence[size_t(i)] = ++seen[Latin1ToUtf8(dat_.Item(i).Name())];

    std::vector<Job> jobs;
    std::set<std::string> used;
    for (const int i : model.Rows()) {
        const TDatItem& item = dat_.Item(i);
        if (item.fake || item.Kind() == IconKind::Other) continue;
        Job job;
        job.index = i;
        job.entry.name = Latin1ToUtf8(item.Name());
        job.entry.occurrence = occurrence[size_t(i)];
        job.entry.kind = item.Kind() == IconKind::Shp   ? SheetKind::Shp
                         : item.Kind() == IconKind::S16 ? SheetKind::S16
                                                 : SheetKind::Png;
        job.entry.sheet = SheetName(job.entry.name, job.entry.kind, used);
        if (!CDatFile::IsSafeFileName(job.entry.sheet)) job.problem = "its name would not stay inside the folder";
        jobs.push_back(std::move(job));
    }
    return jobs;
}

bool SheetExporter::EditedSheetsInTheWay(const SheetExportOptions& options, const std::vector<Job>& jobs) const {
    const std::string& folder = options.folder;
    SheetManifest previous;
    const auto manifestFile = ReadOnlyFile::Open(fs::path(folder) / SheetManifest::kFileName);
    std::string ignored;
    if (manifestFile) {
        const auto bytes = manifestFile->ReadBlock(0, size_t(manifestFile->Size()));
        if (!previous.FromJson(std::string(bytes.begin(), bytes.end()), ignored)) previous.entries.clear();
    }
    std::set<std::string> known;
    std::vector<std::string> inTheWay;
    for (const SheetEntry& entry : previous.entries) {
        if (!entry.problem.empty()) continue;
        known.insert(entry.sheet);
        std::string hash;
        if (FileHash(fs::path(folder) / entry.sheet, hash) && hash != entry.sheetHash)
            inTheWay.push_back(entry.sheet + " (edited since it was exported)");
    }
    for (const Job& job : jobs) {
        std::error_code ec;
        if (job.problem.empty() && !known.count(job.entry.sheet) && fs::exists(fs::path(folder) / job.entry.sheet, ec))
            inTheWay.push_back(job.entry.sheet + " (not written by an export)");
    }
    if (inTheWay.empty()) return false;
    std::string list;
    for (size_t k = 0; k < inTheWay.size() && k < 10; ++k) list += "\n  " + inTheWay[k];
    if (inTheWay.size() > 10) list += Format("\n  and %d more", int(inTheWay.size() - 10));
    services_.messages.Error(
        Format("%s holds pictures an export would lose:%s\nImport the edits first, or %s.", folder.c_str(),
               list.c_str(), options.overwriteHint.c_str()));
    return true;
}

void SheetExporter::ExportOne(Job& job, const std::string& folder, const SheetManifest& manifest) const {
    if (!job.problem.empty()) return;
    const TDatItem& item = dat_.Item(job.index);
    const auto bytes = dat_.File()->ReadBlock(item.offset, item.size);
    if (bytes.size() != item.size) {
        job.problem = "its data lies outside the archive";
        return;
    }
    SheetEntry& entry = job.entry;
    entry.size = item.size;
    entry.hash = ByteHash::Of(bytes);
    const fs::path target = fs::path(folder) / entry.sheet;
    if (entry.kind == SheetKind::Png) {
        if (!WriteSheetFile(target, bytes, job.problem)) return;
        entry.sheetHash = entry.hash;
        job.written = true;
        return;
    }
    SheetIcons icons;
    if (!icons.Read(dat_.File(), item, job.problem)) return;
    const SheetGrid& grid = icons.Grid();
    if (grid.Empty()) {
        job.problem = icons.Icons().empty() ? "it holds no icon" : "none of its icons can be decoded";
        return;
    }
    if (grid.Width() > kPngMaxSide || grid.Height() > kPngMaxSide || grid.Width() * grid.Height() > kPngMaxPixels) {
        job.problem = Format("its %d icons would make a sheet of %lld x %lld pixels, too large for one picture",
                             grid.count, (long long)grid.Width(), (long long)grid.Height());
        return;
    }
    const CBmpDib sheet = DrawSheet(icons, manifest.palette);
    std::vector<std::uint8_t> png;
    if (!sheet.Bits() || !EncodePng(sheet, png, entry.kind == SheetKind::Shp ? kTransparentIndex : -1)) {
        job.problem = "not enough memory for its sheet";
        return;
    }
    entry.sheetHash = ByteHash::Of(png);
    if (!WriteSheetFile(target, std::move(png), job.problem)) return;
    entry.grid = grid;
    for (const SheetIcons::Icon& icon : icons.Icons()) entry.icons.push_back(icon.record);
    job.written = true;
}

bool SheetExporter::Export(const SheetExportOptions& options, SheetExportResult& result) {
    result = {};
    Messages& messages = services_.messages;
    if (!dat_.File()) {
        messages.Error("No archive is open");
        return false;
    }
    SheetManifest manifest;
    if (!options.paletteFile.empty()) {
        CBmpDib::ColourTable table = DefaultColourTable();
        if (!ReadPalette(table, options.paletteFile, messages)) return false;
        manifest.palette = TriplesOf(table);
        manifest.paletteFile = options.paletteFile;
    }
    std::error_code ec;
    fs::create_directories(options.folder, ec);
    if (options.folder.empty() || !fs::is_directory(options.folder, ec)) {
        messages.Error(Format("Error on creating [%s]", options.folder.c_str()));
        return false;
    }
    std::vector<Job> jobs = PlanJobs(options);
    if (!options.force && EditedSheetsInTheWay(options, jobs)) return false;

    auto progress = services_.progress.OpenWindow("Exporting sheets");
    progress->SetRange(0, int(jobs.size()), 1);
    progress->SetText(
        Format("Exporting the icons of %s...\n\nHit Cancel or ESC to abort.", PathParts::Of(dat_.Path()).name.c_str()));
    const bool finished = RunOnAllCores(
        jobs.size(),
        [&](size_t i) {
            try {
                ExportOne(jobs[i], options.folder, manifest);
            } catch (const std::bad_alloc&) {
                jobs[i].written = false;
                jobs[i].problem = "not enough memory for its sheet";
            }
        },
        [&](size_t done) {
            progress->SetPos(int(done));
            progress->PeekAndPump(true);
            return !progress->Cancelled();
        });
    progress->Hide();
    result.cancelled = !finished;

    manifest.archiveName = PathParts::Of(dat_.Path()).name;
    manifest.archiveSize = dat_.File()->Size();
    manifest.archiveEntries = dat_.RealCount();
    for (Job& job : jobs) {
        if (!job.written) {
            if (!job.problem.empty()) result.skipped.push_back(job.entry.name + ": " + job.problem);
            continue;
        }
        // The summary counts the sheets of each kind.
        if (job.entry.kind == SheetKind::Shp) {
            ++result.shp;
            result.icons += int(job.entry.icons.size());
        }
        if (job.entry.kind == SheetKind::Png) ++result.png;
        if (job.entry.kind == SheetKind::S16) ++result.s16;
        manifest.entries.push_back(std::move(job.entry));
    }
    FlushFileSystemOf(options.folder);
    SafeFile out(fs::path(options.folder) / SheetManifest::kFileName);
    const std::string text = manifest.ToJson();
    if (!out.Write(text.data(), text.size()) || !out.Commit()) {
        messages.Error(Format("Error on creating [%s]", (fs::path(options.folder) / SheetManifest::kFileName).c_str()));
        return false;
    }
    return finished;
}

}  // namespace pixmond
