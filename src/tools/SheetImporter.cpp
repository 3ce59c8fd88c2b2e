#include "tools/SheetImporter.h"

#include <filesystem>
#include <map>
#include <memory>
#include <new>
#include <unordered_map>

#include "archive/CDatFile.h"
#include "base/ByteHash.h"
#include "base/Format.h"
#include "base/ParallelJobs.h"
#include "base/PathParts.h"
#include "base/ReadOnlyFile.h"
#include "base/TextCase.h"
#include "image/CBmpOrvel.h"
#include "image/CShpFile.h"
#include "image/PngReader.h"
#include "image/ShpLayout.h"
#include "image/ShpRecords.h"
#include "tools/SheetIcons.h"
#include "tools/SheetManifest.h"
#include "ui/CollectingMessages.h"
#include "ui/Services.h"

namespace pixmond {

namespace fs = std::filesystem;
using State = SheetImportEntry::State;

struct SheetImporter::Job {
    SheetEntry record;  // as the manifest has it
    int index = -1;     // the entry in the archive's table
    const RgbTriples* palette = nullptr;
    SheetImportEntry result;
    std::shared_ptr<std::vector<std::uint8_t>> bytes;  // the entry's new data when it changed

    void Fail(std::string problem) {
        result.state = State::Bad;
        result.problem = std::move(problem);
    }
};

namespace {

std::string Plural(int n, const char* one, const char* many) { return Format("%d %s", n, n == 1 ? one : many); }

// Turns the pixels of an edited sheet back into palette indices.
class PixelMapper {
public:
    explicit PixelMapper(const RgbTriples& palette) : palette_(palette) {}

    // A pixel of alpha below half is transparent. A pixel that still shows the colour of the index it had, or
    // of the index an indexed sheet gives it, keeps that index (the palette holds some colours twice); any
    // other colour takes the nearest entry, and when that is not exact the pixel is counted.
    std::uint8_t Map(const std::uint8_t* rgba, int sheetIndex, int former) {
        if (rgba[3] < 128) return kTransparentIndex;
        if (former >= 0 && Is(former, rgba)) return std::uint8_t(former);
        if (sheetIndex >= 0 && Is(sheetIndex, rgba)) return std::uint8_t(sheetIndex);
        const std::uint32_t key = std::uint32_t(rgba[0]) << 16 | std::uint32_t(rgba[1]) << 8 | rgba[2];
        auto found = nearest_.find(key);
        if (found == nearest_.end()) {
            const std::uint8_t index = NearestPaletteIndex(rgba[0], rgba[1], rgba[2], &palette_);
            const bool exact = Is(index, rgba) || index == kTransparentIndex;
            found = nearest_.emplace(key, std::make_pair(index, exact)).first;
        }
        if (!found->second.second) ++inexact_;
        return found->second.first;
    }
    int Inexact() const { return inexact_; }

private:
    bool Is(int index, const std::uint8_t* rgba) const {
        const std::uint8_t* c = palette_.data() + size_t(index) * 3;
        return c[0] == rgba[0] && c[1] == rgba[1] && c[2] == rgba[2];
    }
    const RgbTriples& palette_;
    std::unordered_map<std::uint32_t, std::pair<std::uint8_t, bool>> nearest_;
    int inexact_ = 0;
};

// The box the decoder draws an icon in: a box above the picture is moved down to row 0 with its height kept.
ShpIconHeader DrawnBox(ShpIconHeader h) {
    if (h.y0 < 0) {
        const std::int64_t bottom = -std::int64_t(h.y0) + h.y1;
        h.y1 = std::int32_t(std::min<std::int64_t>(bottom, INT32_MAX));
        h.y0 = 0;
    }
    h.x0 = std::max(h.x0, 0);
    return h;
}

bool ReadWholeFile(const fs::path& path, std::vector<std::uint8_t>& bytes) {
    const auto file = ReadOnlyFile::Open(path);
    if (!file) return false;
    bytes = file->ReadBlock(0, size_t(file->Size()));
    return bytes.size() == file->Size();
}

}  // namespace

int SheetImportReport::Count(State state) const {
    int n = 0;
    for (const auto& e : entries) n += e.state == state;
    return n;
}

int SheetImportReport::ChangedIcons() const {
    int n = 0;
    for (const auto& e : entries) n += int(e.changedIcons.size());
    return n;
}

std::vector<std::string> SheetImportReport::Lines() const {
    std::vector<std::string> lines;
    for (const auto& e : entries) {
        std::string line;
        switch (e.state) {
            case State::Changed:
                if (e.changedIcons.empty()) {
                    line = Format("%s: replaced by %s", e.name.c_str(), e.sheet.c_str());
                    break;
                }
                line = Format("%s: icon%s", e.name.c_str(), e.changedIcons.size() == 1 ? "" : "s");
                for (size_t k = 0; k < e.changedIcons.size(); ++k)
                    line += Format("%s %d", k ? "," : "", e.changedIcons[k]);
                line += " changed";
                break;
            case State::Missing:
                line = Format("%s: %s is missing; the entry stays as it is", e.name.c_str(), e.sheet.c_str());
                break;
            case State::ReadOnly:
                line = Format("%s: %s is read-only (S16 icons are not imported); its edits were ignored",
                              e.name.c_str(), e.sheet.c_str());
                break;
            case State::Unchanged:
                if (e.nearest || e.ignored) line = Format("%s: no icon changed", e.name.c_str());
                break;
            case State::Bad: break;
        }
        if (line.empty()) continue;
        if (e.nearest) line += "; " + Plural(e.nearest, "pixel", "pixels") + " took the nearest palette colour";
        if (e.ignored) line += "; " + Plural(e.ignored, "pixel", "pixels") + " outside the icons ignored";
        lines.push_back(line);
    }
    return lines;
}

std::string SheetImportReport::Summary() const {
    const int icons = ChangedIcons();
    int shpEntries = 0, pictures = 0;
    for (const auto& e : entries) {
        if (e.state != State::Changed) continue;
        (e.changedIcons.empty() ? pictures : shpEntries) += 1;
    }
    std::string text;
    if (icons == 0 && pictures == 0) {
        text = "No icon changed";
    } else {
        if (icons) text = Plural(icons, "icon", "icons") + " changed in " + Plural(shpEntries, "entry", "entries");
        if (pictures) text += (text.empty() ? "" : ", ") + Plural(pictures, "picture", "pictures") + " replaced";
    }
    if (dryRun)
        text += (icons || pictures) ? "; nothing written (dry run)" : " (dry run)";
    else if (written && !backup.empty())
        text += Format("; %s rewritten, former archive saved as %s", archive.c_str(), backup.c_str());
    else if (written)
        text += Format("; written to %s", writtenTo.c_str());
    else
        text += Format("; %s left as it was", archive.c_str());
    if (const int missing = Count(State::Missing)) text += "; " + Plural(missing, "sheet", "sheets") + " missing";
    if (const int bad = Count(State::Bad)) text += "; " + Plural(bad, "bad sheet", "bad sheets") + " left out";
    return text;
}

void SheetImporter::ImportOne(Job& job, const std::string& folder) const {
    if (job.result.state == State::Bad) return;
    const TDatItem& item = dat_.Item(job.index);
    const std::vector<std::uint8_t> entryBytes = dat_.File()->ReadBlock(item.offset, item.size);
    if (entryBytes.size() != item.size || item.size != job.record.size || ByteHash::Of(entryBytes) != job.record.hash) {
        job.Fail("the entry is not the one that was exported (it changed since, or this is another archive)");
        return;
    }
    const fs::path sheetPath = fs::path(folder) / job.record.sheet;
    std::error_code ec;
    if (!fs::exists(sheetPath, ec)) {
        job.result.state = State::Missing;
        return;
    }
    std::vector<std::uint8_t> sheetBytes;
    if (!ReadWholeFile(sheetPath, sheetBytes)) {
        job.Fail(Format("%s cannot be read", job.record.sheet.c_str()));
        return;
    }
    if (ByteHash::Of(sheetBytes) == job.record.sheetHash) return;
    if (job.record.ReadOnly()) {
        job.result.state = State::ReadOnly;
        return;
    }
    // An SHP sheet is cut into icons; a PNG entry's sheet is the entry itself.
    if (job.record.kind == SheetKind::Shp) {
        ImportShp(job, sheetPath.string(), entryBytes);
        return;
    }
    PngSamples samples;
    std::string why;
    if (!ReadPngSamples(sheetPath.string(), samples, why)) {
        job.Fail(Format("%s %s", job.record.sheet.c_str(), why.c_str()));
        return;
    }
    if (sheetBytes.size() > 0xffffffffull) {
        job.Fail(Format("%s is too large for an archive", job.record.sheet.c_str()));
        return;
    }
    if (sheetBytes == entryBytes) return;
    job.result.state = State::Changed;
    job.bytes = std::make_shared<std::vector<std::uint8_t>>(std::move(sheetBytes));
}

void SheetImporter::ImportShp(Job& job, const std::string& sheetPath,
                              const std::vector<std::uint8_t>& entryBytes) const {
    const std::string& sheetName = job.record.sheet;
    PngSamples samples;
    std::string why;
    if (!ReadPngSamples(sheetPath, samples, why)) {
        job.Fail(Format("%s %s", sheetName.c_str(), why.c_str()));
        return;
    }
    const TDatItem& item = dat_.Item(job.index);
    SheetIcons icons;
    if (!icons.Read(dat_.File(), item, why)) {
        job.Fail(why);
        return;
    }
    const SheetGrid& grid = icons.Grid();
    bool fits = grid == job.record.grid && icons.Icons().size() == job.record.icons.size();
    for (size_t k = 0; fits && k < icons.Icons().size(); ++k)
        fits = icons.Icons()[k].record.hash == job.record.icons[k].hash;
    if (!fits) {
        job.Fail("the manifest does not describe the entry's icons as they are");
        return;
    }
    if (samples.width != grid.Width() || samples.height != grid.Height()) {
        job.Fail(Format("%s is %d x %d pixels; it was exported as %lld x %lld", sheetName.c_str(), samples.width,
                        samples.height, (long long)grid.Width(), (long long)grid.Height()));
        return;
    }

    std::vector<ShpRecordEdit> edits;
    const auto edited = MapSheet(samples, icons, *job.palette, job.result);
    if (!EncodeChangedIcons(icons, edited, edits, why)) {
        job.Fail(why);
        return;
    }
    if (edits.empty()) return;
    auto bytes = std::make_shared<std::vector<std::uint8_t>>(entryBytes);
    if (!SpliceRecords(item, job.record.name, edits, *bytes, why)) {
        job.Fail(why);
        return;
    }
    for (const ShpRecordEdit& edit : edits) job.result.changedIcons.push_back(edit.icon);
    job.result.state = State::Changed;
    job.bytes = std::move(bytes);
}

std::vector<std::vector<std::uint8_t>> SheetImporter::MapSheet(const PngSamples& samples, const SheetIcons& icons,
                                                               const RgbTriples& palette, SheetImportEntry& result) {
    // Every pixel of the sheet is mapped; the icons' parts become their new pixels, the rest is only counted.
    const SheetGrid& grid = icons.Grid();
    PixelMapper mapper(palette);
    std::vector<std::vector<std::uint8_t>> edited(icons.Icons().size());
    for (size_t k = 0; k < edited.size(); ++k) edited[k].resize(icons.Icons()[k].pixels.size());
    for (int y = 0; y < samples.height; ++y) {
        for (int x = 0; x < samples.width; ++x) {
            const size_t at = size_t(y) * size_t(samples.width) + size_t(x);
            const int sheetIndex = samples.indexed ? samples.pixels[at] : -1;
            const std::uint8_t* rgba =
                samples.indexed ? samples.palette.data() + size_t(sheetIndex) * 4 : samples.pixels.data() + at * 4;
            const int n = (y / grid.cellHeight) * grid.columns + x / grid.cellWidth + 1;
            const SheetIcons::Icon* icon = n <= grid.count ? &icons.Icons()[size_t(n - 1)] : nullptr;
            const int ix = x - grid.CellX(n), iy = y - grid.CellY(n);
            if (!icon || !icon->record.readable || ix >= icon->record.width || iy >= icon->record.height) {
                if (mapper.Map(rgba, sheetIndex, -1) != kTransparentIndex) ++result.ignored;
                continue;
            }
            const size_t pixel = size_t(iy) * size_t(icon->record.width) + size_t(ix);
            const int before = mapper.Inexact();
            edited[size_t(n - 1)][pixel] = mapper.Map(rgba, sheetIndex, icon->pixels[pixel]);
            result.nearest += mapper.Inexact() - before;
        }
    }
    return edited;
}

bool SheetImporter::EncodeChangedIcons(const SheetIcons& icons, const std::vector<std::vector<std::uint8_t>>& edited,
                                       std::vector<ShpRecordEdit>& edits, std::string& problem) {
    for (size_t k = 0; k < edited.size(); ++k) {
        const SheetIcons::Icon& icon = icons.Icons()[k];
        if (!icon.record.readable || edited[k] == icon.pixels) continue;
        CBmpOrvel picture;
        picture.Create(icon.record.width, icon.record.height, 8, true);
        picture.Allocate();
        for (int y = 0; y < icon.record.height; ++y)
            std::copy_n(edited[k].data() + size_t(y) * size_t(icon.record.width), icon.record.width,
                        picture.Bits() + picture.Offset(0, y));
        ShpRecordEdit edit;
        edit.icon = int(k) + 1;
        ShpIconHeader header;
        if (picture.EncodeIcon(edit.record, header, DrawnBox(icon.record.header)) == 0) {
            problem = Format("icon %d cannot be encoded", edit.icon);
            return false;
        }
        edits.push_back(std::move(edit));
    }
    return true;
}

bool SheetImporter::SpliceRecords(const TDatItem& item, const std::string& name, std::vector<ShpRecordEdit>& edits,
                                  std::vector<std::uint8_t>& bytes, std::string& problem) const {
    // Where the old records lie: measured and checked, so that nothing but those records is replaced.
    CShpFile shp;
    shp.SetFileName(name);
    shp.AttachArchiveFile(dat_.File(), item.offset);
    shp.ReadDirectory(1);
    ShpRecords records;
    CollectingMessages messages;
    if (!records.Measure(shp, 0, messages)) {
        problem =
            "it cannot be rewritten: " +
            (messages.Errors().empty() ? std::string("its records cannot be measured") : messages.Errors().front());
        return false;
    }
    for (ShpRecordEdit& edit : edits) {
        const ShpRecordExtent& extent = records.Of(edit.icon);
        if (extent.offset < item.offset || extent.offset - item.offset + extent.size > item.size) {
            problem = Format("the record of icon %d lies outside the entry", edit.icon);
            return false;
        }
        edit.offset = extent.offset - item.offset;
        edit.size = extent.size;
        for (int m = 1; m <= shp.IconCount() && !edit.shared; ++m)
            edit.shared = m != edit.icon && records.Of(m).offset == extent.offset;
    }
    if (!ReplaceShpRecords(bytes, shp.IconCount(), edits)) {
        problem = "its new records do not fit an SHP file";
        return false;
    }
    return true;
}

bool SheetImporter::Import(const SheetImportOptions& options, SheetImportReport& report) {
    report = {};
    report.dryRun = options.dryRun;
    report.archive = PathParts::Of(dat_.Path()).name;
    Messages& messages = services_.messages;
    if (!dat_.File()) {
        messages.Error("No archive is open");
        return false;
    }
    const fs::path manifestPath = fs::path(options.folder) / SheetManifest::kFileName;
    std::vector<std::uint8_t> text;
    if (!ReadWholeFile(manifestPath, text)) {
        messages.Error(Format("%s not found: the folder holds no exported sheets", manifestPath.c_str()));
        return false;
    }
    SheetManifest manifest;
    std::string problem;
    if (!manifest.FromJson(std::string(text.begin(), text.end()), problem)) {
        messages.Error(Format("%s %s; nothing was imported", manifestPath.c_str(), problem.c_str()));
        return false;
    }

    std::map<std::pair<std::string, int>, int> entries;
    std::map<std::string, int> seen;
    for (int i = 0; i < dat_.Total(); ++i) {
        if (dat_.Item(i).fake) continue;
        const std::string name = Latin1ToUtf8(dat_.Item(i).Name());
        entries[{name, ++seen[name]}] = i;
    }
    const std::string exportedFrom = manifest.archiveName == report.archive
                                         ? std::string()
                                         : Format(" (the sheets were exported from %s)", manifest.archiveName.c_str());
    std::vector<Job> jobs(manifest.entries.size());
    std::map<int, int> claimed;
    for (size_t k = 0; k < jobs.size(); ++k) {
        Job& job = jobs[k];
        job.record = manifest.entries[k];
        job.palette = &manifest.palette;
        job.result.name = job.record.name.empty() ? Format("entry %d of the manifest", int(k) + 1) : job.record.name;
        job.result.sheet = job.record.sheet;
        if (!job.record.problem.empty()) {
            job.Fail(Format("its record in %s %s", SheetManifest::kFileName, job.record.problem.c_str()));
            continue;
        }
        const auto found = entries.find({job.record.name, job.record.occurrence});
        if (found == entries.end()) {
            job.Fail(Format("not in %s%s", report.archive.c_str(), exportedFrom.c_str()));
            continue;
        }
        const std::uint8_t wanted = job.record.kind == SheetKind::Shp   ? std::uint8_t(IconKind::Shp)
                                    : job.record.kind == SheetKind::S16 ? std::uint8_t(IconKind::S16)
                                                                        : std::uint8_t(IconKind::Png);
        if (dat_.Item(found->second).type != wanted) {
            job.Fail(Format("the entry in %s is not of the kind that was exported%s", report.archive.c_str(),
                            exportedFrom.c_str()));
            continue;
        }
        if (!claimed.emplace(found->second, int(k)).second) {
            job.Fail(Format("listed twice in %s", SheetManifest::kFileName));
            continue;
        }
        job.index = found->second;
    }

    auto progress = services_.progress.OpenWindow("Importing sheets");
    progress->SetRange(0, int(jobs.size()), 1);
    progress->SetText(Format("Comparing the sheets with %s...\n\nHit Cancel or ESC to abort.", report.archive.c_str()));
    const bool finished = RunOnAllCores(
        jobs.size(),
        [&](size_t i) {
            try {
                ImportOne(jobs[i], options.folder);
            } catch (const std::bad_alloc&) {
                jobs[i].bytes.reset();
                jobs[i].Fail("not enough memory to compare its sheet");
            }
        },
        [&](size_t done) {
            progress->SetPos(int(done));
            progress->PeekAndPump(true);
            return !progress->Cancelled();
        });
    progress->Hide();
    if (!finished) {
        messages.Notice(Format("Import cancelled; %s was left as it was.", report.archive.c_str()));
        return false;
    }

    CDatFile::EntryData replacements;
    int bad = 0;
    for (Job& job : jobs) {
        if (job.result.state == State::Bad) {
            ++bad;
            messages.Error(Format("%s: %s", job.result.name.c_str(), job.result.problem.c_str()));
        }
        if (job.result.state == State::Changed) replacements[job.index] = job.bytes;
        report.entries.push_back(std::move(job.result));
    }
    if (bad && !options.forcePartial) {
        messages.Error(Format("%s cannot be imported; %s was left as it was.", Plural(bad, "sheet", "sheets").c_str(),
                              report.archive.c_str()));
        return false;
    }
    if (options.dryRun || (replacements.empty() && options.output.empty())) return true;
    const std::string backup = dat_.BackupPath();
    if (!dat_.RewriteEntries(replacements, options.output, "Importing sheets")) return false;
    report.written = true;
    std::error_code ec;
    const bool inPlace = options.output.empty() || fs::equivalent(options.output, dat_.Path(), ec);
    report.writtenTo = inPlace ? dat_.Path() : options.output;
    if (inPlace) report.backup = backup;
    return true;
}

}  // namespace pixmond
