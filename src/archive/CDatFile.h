#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "archive/TDatItem.h"
#include "archive/ArchiveWriter.h"
#include "image/IconSource.h"
#include "base/ReadOnlyFile.h"
#include "base/Rect.h"
#include "ui/CLog.h"
#include "ui/Services.h"

namespace pixmond {

class DatDirectory;

// The open archive: its file, the entry table of real and fake entries, and the operations on it.
class CDatFile {
public:
    // Editing needs an archive the user may change; listing, exporting and reports only read it.
    enum class Access { ReadWrite, ReadOnly };

    explicit CDatFile(Services& services);
    ~CDatFile();
    CDatFile(const CDatFile&) = delete;
    CDatFile& operator=(const CDatFile&) = delete;

    // Opens and lists an archive; interactive merges the fake entries of the ".keep" file and shows progress.
    bool Load(const std::string& path, bool interactive, Access access = Access::ReadWrite);
    bool LoadForReading(const std::string& path, bool interactive) { return Load(path, interactive, Access::ReadOnly); }
    // Whether a file is laid out as an icon archive at all (it may still be damaged).
    static bool IsIconArchive(const ReadOnlyFile& file);
    // Lets go of the archive file; the table stays as it was listed.
    void CloseFile();

    bool IsShp(int i) const { return InRange(i) && table_[i].Kind() == IconKind::Shp; }
    bool IsS16(int i) const { return InRange(i) && table_[i].Kind() == IconKind::S16; }
    bool IsPng(int i) const { return InRange(i) && table_[i].Kind() == IconKind::Png; }
    bool IsNotLoadable(int i) const { return !InRange(i) || table_[i].loadable == 0; }
    bool InRange(int i) const { return i >= 0 && i < total_; }

    // Entry i of the table; i must be in [0, Total()).
    const TDatItem& Item(int i) const { return table_[i]; }
    std::span<const TDatItem> Items() const { return {table_.get(), size_t(total_)}; }
    int RealCount() const { return realCount_; }
    int FakeCount() const { return fakeCount_; }
    int Total() const { return total_; }
    int Selected() const { return selected_; }
    int Current() const { return current_; }
    bool Loaded() const { return loaded_; }
    bool ArchiveOpen() const { return archiveOpen_ != 0; }
    const std::string& Path() const { return path_; }
    // The open archive, shared with the readers of the current entry; null when none is open.
    const std::shared_ptr<ReadOnlyFile>& File() const { return file_; }
    // Entries of the last load whose data lies outside the file (listed, never loadable).
    int DamagedCount() const { return damaged_; }

    Services& GetServices() { return services_; }
    // The log the archive operations write their complaints to.
    CLog& Log() { return log_; }

    // Rebuilds. Every archive written goes to a temporary file beside its target first.
    // Packs the files of folder into newArchivePath: every file, or only the SHP, S16, PNG and JPG files.
    bool Repack(const std::string& folder, const std::string& newArchivePath, bool imagesOnly);
    // The question whose answer is imagesOnly (Yes: only image files).
    static constexpr const char* kRepackQuestion =
        "If you want to create a Quarnel datfile including only SHP/PNG/S16 icon files in the folder)\n"
        ">>>  Answer YES\n\n"
        "If you want to create a Orvel datfile (include all files in a folder)\n>>>  Answer NO (varnek2 type)\n\n"
        "Please click NO to create a Orvel datfile, or YES to create Quarnel datfile ...";
    // Writes every real entry into folder under the name it has in the archive.
    bool Unpack(const std::string& folder);
    // Writes entry index to target; returns target, or "" when nothing was written.
    std::string Extract(int index, const std::string& target);

    // Single-entry edits of the open archive; each ends with the archive loaded again.
    std::uint32_t Replace(int index, const std::string& sourcePath);
    std::string Remove(int index);
    std::uint32_t Append(const std::string& sourcePath);
    // 0 when every file was added, -1 when the backup could not be made, else the number of files not added.
    int AddFiles(const std::vector<std::string>& list);
    // New data for real entries, by table index.
    using EntryData = std::map<int, std::shared_ptr<const std::vector<std::uint8_t>>>;
    // Writes the archive once with the data of some real entries replaced, through a progress window with the
    // caption: into target when one is given (the archive stays as it was), else beside the archive and swapped
    // in with the usual backup, the archive loaded again afterwards. False when nothing was written or swapped.
    bool RewriteEntries(const EntryData& replacements, const std::string& target, const std::string& caption);

    // Copy lists (".tbl"): icon titles, one a line.
    int ReadCopyList(const std::string& tablePath, std::set<std::string>& titles);
    bool CopyListed(const std::string& tablePath, const std::string& destPath);
    // The number of icons extracted, -1 when nothing could be done.
    int ExtractListed(const std::string& tablePath, const std::string& folder);

    // The titles of a copy list the archive cannot give, one line each for those it lacks and those that are only
    // fake entries; empty when every title is a real entry.
    std::string UnmatchedTitles(const std::set<std::string>& titles) const;
    // The names of the real entries as the directory stores them (case kept), by table index; fakes get "".
    std::vector<std::string> StoredNames() const;
    // The name a file of that name gets as an entry (Windows-1252 bytes, at most 12); empty, with the reason in
    // why, when an archive cannot keep it.
    static std::string EntryNameFor(const std::string& fileName, std::string& why);
    // Whether a name may become a file inside a chosen folder: no separator, drive, "..", or control character.
    static bool IsSafeFileName(const std::string& name);
    // "%s_new.dat" and "%s_back.dat" of the open archive.
    std::string NewArchivePath() const;
    std::string BackupPath() const;

    // ---- The current entry (CDatFileCurrentEntry.cpp) ----
    // Its icons are read straight out of the open archive by the icon source of its kind.

    // Makes entry index current and reads its directory (SHP, S16) or picture (PNG). False for an index
    // out of range, an entry that is not loadable, or a directory that cannot be read; a PNG entry is
    // current even when its picture does not decode (the loader has said why).
    bool SelectEntry(int index);
    // Makes icon n of the current entry current (clamped by the reader); a PNG entry always answers 1.
    int SelectIcon(int n);
    int DrawIcon(Canvas& canvas, const Rect& rect, int zoom);
    int DrawCollage(Canvas& canvas, const Rect& rect, int first, bool& done);
    bool SaveIcon(const std::string& path);
    // Saves every icon of the current entry with the extension of the "Output image" setting.
    int SaveAllIcons(const std::string& path);
    int SaveAllIcons(const std::string& path, int outputImage);
    // The collage of the area; for a PNG entry the whole picture. False when nothing was written.
    bool SaveCollage(const std::string& path, const Rect& rect, int first);

    // The "Output image" setting: 0 .BMP, 1 .PNG, 2 .JPG.
    int OutputImage() const;
    // True while the current entry's icons can be drawn and saved.
    bool HasCurrentEntry() const;
    int CurrentIcon() const { return currentIcon_; }
    int CurrentIcons() const { return currentIcons_; }
    std::uint32_t DataOffset() const { return dataOffset_; }
    // The icons of the current entry while it is current, else null (nothing to draw or save). Views take the
    // icon's size from it, and its bitmap's colour table is the drawing palette.
    IconSource* CurrentSource() const;
    // The drawing palette: the colour table every SHP entry is drawn and saved with. It stays as set while
    // entries and archives change; the current SHP entry takes a new one at once.
    const CBmpDib::ColourTable& DrawingPalette() const { return drawingPalette_; }
    void SetDrawingPalette(const CBmpDib::ColourTable& palette);

private:
    enum class Rewrite { Ok, Cancelled, Failed };
    // The real entries in table order as a plan for the writer; bytes from the open archive.
    // indexes receives the table index of each planned entry.
    std::vector<ArchivePlanEntry> PlanOfRealEntries(int leaveOut, std::vector<int>* indexes = nullptr) const;
    // The position of each real entry of the table in the archive's directory (-1 for fakes).
    std::vector<int> DirectoryPositions() const;
    // Writes plan into target through a progress window that can be cancelled; messages on failure and cancel.
    Rewrite WritePlan(const std::vector<ArchivePlanEntry>& plan, const std::string& target, const std::string& caption,
                      const std::string& text, int range);
    // Moves from over to; across file systems by a copy beside to and a rename.
    bool PlaceFile(const std::string& from, const std::string& to);
    // Backup and rename of a rewritten archive, checked; the archive is reloaded afterwards. The archive's path
    // holds a complete archive at every moment.
    bool SwapInNewArchive();
    // Files added in one rewrite of the archive, and their bytes; added is 0 when nothing was written.
    struct Appended {
        int added = 0;
        std::uint64_t bytes = 0;
        bool cancelled = false;
    };
    Appended AppendFiles(const std::vector<std::string>& list);
    bool WriteEntryFiles(const std::string& folder, const std::vector<int>& indexes, const std::string& caption,
                         const std::string& text, bool askBeforeReplacing, int& written);

    void ClearTable();
    void ReadDirectory(bool interactive);
    // The header word of an entry (its icon count) and the table slot it belongs to.
    struct HeaderWord {
        std::uint64_t at;
        int index;
    };
    void ReadEntry(int i, const DatDirectory& directory, std::vector<HeaderWord>& words);
    void ReadHeaderWords(std::vector<HeaderWord>& words);
    void MergeFakes(const std::string& keepPath);
    void SortTable();

    Services& services_;
    std::unique_ptr<TDatItem[]> table_;
    std::shared_ptr<ReadOnlyFile> file_;

    // The current entry and its icons.
    int current_ = 0;
    int currentIcon_ = 0;
    std::uint32_t dataOffset_ = 0;
    int currentIcons_ = 0;
    std::unique_ptr<IconSource> entry_;
    // The archive the current entry was read from; a reload makes the entry stale.
    std::shared_ptr<ReadOnlyFile> entryFile_;
    CBmpDib::ColourTable drawingPalette_;

    bool loaded_ = false;
    std::uint8_t archiveOpen_ = 0;
    int selected_ = 0;
    int realCount_ = 0;
    int fakeCount_ = 0;
    int total_ = 0;
    int damaged_ = 0;
    std::string path_;
    CLog log_;
    int cancels_ = 0;  // rewrites cancelled so far, so a caller can tell a cancel from a failure
};

}  // namespace pixmond
