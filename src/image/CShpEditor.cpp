#include "image/CShpEditor.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "image/CBmpOrvel.h"
#include "image/CShpFile.h"
#include "image/ShpRecords.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "ui/Pickers.h"
#include "base/TextCase.h"
#include "base/SafeFile.h"
#include "ui/Services.h"

namespace pixmond {

namespace {

bool CheckEditable(const CShpFile& shp, Messages& messages) {
    if (!shp.IsOpen() || !shp.HasDirectory()) {
        messages.Error(shp.Problem().empty() ? Format("%s: cannot read its icon directory", shp.FileName().c_str())
                                             : shp.Problem());
        return false;
    }
    // Offsets inside an archive count from the entry; only a file of its own is rewritten here.
    if (shp.BaseOffset() != 0) {
        messages.Error(Format("%s: only an SHP file of its own can be edited", shp.FileName().c_str()));
        return false;
    }
    return true;
}

bool WriteHeader(SafeFile& out, std::uint32_t count) { return out.Write("1.10", 4) && out.WriteU32(count); }

}  // namespace

std::string CShpEditor::NewPath(const std::string& shpPath) {
    return Format("%s_new.shp", PathParts::Of(shpPath).withoutExtension.c_str());
}

std::string CShpEditor::BackupPath(const std::string& shpPath) {
    return Format("%s.back", PathParts::Of(shpPath).withoutExtension.c_str());
}

bool CShpEditor::RemoveIcon(CShpFile& shp, int n) {
    Messages& messages = services_.messages;
    if (!CheckEditable(shp, messages)) return false;
    const int count = shp.IconCount();
    if (n < 1 || n > count) {
        messages.Error(Format("Icon %d is not in %s (icons 1..%d)", n, shp.FileName().c_str(), count));
        return false;
    }
    // The removed record is not copied, so a damaged icon can still be removed.
    ShpRecords records;
    if (!records.Measure(shp, n, messages)) return false;

    const std::string path = shp.FileName();
    SafeFile out(NewPath(path));
    bool written = WriteHeader(out, std::uint32_t(count - 1));
    // Records go back to back whatever order the old file had; a second offset keeps its distance to its
    // record (nothing reads it, but the game's tools may).
    std::uint64_t offset = 8 + 8 * std::uint64_t(count - 1);
    for (int i = 1; i <= count; ++i) {
        if (i == n) continue;
        const ShpDirectoryEntry& old = shp.Directory()[size_t(i - 1)];
        std::int64_t second = 0;
        if (old.secondOffset > 0)
            second = std::max<std::int64_t>(0, std::int64_t(old.secondOffset) + std::int64_t(offset) -
                                                   std::int64_t(old.imageOffset));
        written = written && out.WriteU32(std::uint32_t(offset)) &&
                  out.WriteU32(std::uint32_t(std::min<std::int64_t>(second, UINT32_MAX)));
        offset += records.Of(i).size;
    }
    if (offset > UINT32_MAX) {
        messages.Error(Format("%s: the new file would be too large", path.c_str()));
        return false;
    }
    bool copied = written;
    for (int i = 1; i <= count && copied; ++i)
        if (i != n) copied = records.Copy(shp, i, out);
    if (!copied || !out.Commit()) {
        messages.Error(Format("Error creating %s", NewPath(path).c_str()));
        return false;
    }
    shp.CloseFile();
    return SwapIn(path);
}

bool CShpEditor::InsertBmp(CShpFile& shp, const std::string& bmpPath, int position) {
    Messages& messages = services_.messages;
    if (!CheckEditable(shp, messages)) return false;
    const int count = shp.IconCount();
    if (position > count + 1) {
        messages.Error(Format("Cannot insert at %d: %s holds %d icons", position, shp.FileName().c_str(), count));
        return false;
    }
    CBmpOrvel picture;
    if (!picture.LoadBmp(bmpPath, messages)) return false;
    if (!CBmpOrvel::SizeFits(picture.Width(), picture.Height())) {
        messages.Error(Format("%s: %d x %d is not an icon size (2..%d x 2..%d)", bmpPath.c_str(), picture.Width(),
                              picture.Height(), COrvelShp::kMaxWidth, COrvelShp::kMaxHeight));
        return false;
    }
    std::vector<std::uint8_t> record;
    ShpIconHeader header;
    if (picture.EncodeIcon(record, header, false) == 0) {
        messages.Error(Format("%s: cannot be encoded", bmpPath.c_str()));
        return false;
    }
    ShpRecords records;
    if (!records.Measure(shp, 0, messages)) return false;

    const int slot = position - 1 < 0 ? count : position - 1;
    const std::string path = shp.FileName();
    SafeFile out(NewPath(path));
    bool written = WriteHeader(out, std::uint32_t(count + 1));
    std::uint64_t offset = 8 + 8 * std::uint64_t(count + 1);
    for (int s = 0, old = 1; s <= count; ++s) {
        written = written && out.WriteU32(std::uint32_t(offset)) && out.WriteU32(0);
        offset += s == slot ? record.size() : records.Of(old++).size;
    }
    if (offset > UINT32_MAX) {
        messages.Error(Format("%s: the new file would be too large", path.c_str()));
        return false;
    }
    bool copied = written;
    for (int s = 0, old = 1; s <= count && copied; ++s)
        copied = s == slot ? out.Write(record.data(), record.size()) : records.Copy(shp, old++, out);
    if (!copied || !out.Commit()) {
        messages.Error(Format("Error creating %s", NewPath(path).c_str()));
        return false;
    }
    shp.CloseFile();
    return SwapIn(path);
}

bool CShpEditor::SwapIn(const std::string& shpPath) {
    FileSystem& files = services_.files;
    const std::string fresh = NewPath(shpPath);
    const std::string backup = BackupPath(shpPath);
    // The file's path holds a complete file at every moment: the backup becomes a second name of it first,
    // then the new file replaces it in one rename.
    if (!files.KeepCopy(shpPath, backup)) {
        files.Remove(fresh);
        services_.messages.Error(Format("Cannot create %s", backup.c_str()));
        return false;
    }
    if (!files.MoveReplace(fresh, shpPath)) {
        // The original stays where it was; the new file stays for the user to look at.
        services_.messages.Error(Format("Cannot rename %s to %s", fresh.c_str(), shpPath.c_str()));
        return false;
    }
    return true;
}

namespace {

// One picture of a nation-pictures file: icons first (0-based) to first + count - 1 in rows x columns.
struct NationBlock {
    int first;
    int count;
    int rows;
    int columns;
    const char* file;
};

// Icons 124, 156 and 188 of the first layout, 1 and 35 of the second, belong to no picture.
const NationBlock kFlags[] = {
    {0, 31, 1, 31, "%sflag_med.bmp"},        {31, 31, 1, 31, "%sflag_big.bmp"},
    {62, 62, 2, 31, "%sflag_small.bmp"},     {125, 31, 1, 31, "%sroundel.bmp"},
    {157, 31, 1, 31, "%sinspect_leader.bmp"}, {189, 31, 1, 31, "%sinspect_medal.bmp"},
};
const NationBlock kDossier[] = {
    {2, 31, 1, 31, "%sdossier_portrait.bmp"},
    {36, 93, 1, 93, "%sdossier_medal.bmp"},
};

}  // namespace

bool CShpEditor::IsNationPicturesName(const std::string& path) {
    const std::string title = ToLower(PathParts::Of(path).title);
    return title.find("dossier") != std::string::npos || title.find("flag") != std::string::npos;
}

bool CShpEditor::SaveNationPictures(CShpFile& shp, const std::string& folder) {
    Messages& messages = services_.messages;
    const int count = shp.IconCount();
    if (!IsNationPicturesCount(count)) {
        messages.Notice(Format("cannot create, Shp file has %d icons, (neither 220, nor 129)", count));
        return false;
    }
    const std::string target = WithTrailingSeparator(folder);
    const int previous = shp.CurrentIcon();
    bool saved = true;
    if (count != 220) {
        shp.SelectIcon(1);
        saved = shp.SaveIcon(Format("%sdossier_panel.bmp", target.c_str()), messages) && saved;
    }
    const auto& table = count == 220 ? std::span<const NationBlock>(kFlags) : std::span<const NationBlock>(kDossier);
    for (const NationBlock& block : table) {
        BlockParams params;
        params.path = Format(block.file, target.c_str());
        params.first = block.first;
        params.count = block.count;
        params.rows = block.rows;
        params.columns = block.columns;
        for (int n = block.first + 1; n <= block.first + block.count; ++n) {
            if (!shp.IconReadable(n)) continue;
            params.cellWidth = std::max(params.cellWidth, shp.StoredHeaders()[size_t(n - 1)].Width());
            params.cellHeight = std::max(params.cellHeight, shp.StoredHeaders()[size_t(n - 1)].Height());
        }
        saved = shp.SaveBlock(params, messages) && saved;
    }
    if (previous > 0) shp.SelectIcon(previous);
    // The save itself has said what went wrong; "Done" would contradict it.
    if (saved) messages.Notice(Format("Done, All %d icons saved as BMP", count));
    return saved;
}

}  // namespace pixmond
