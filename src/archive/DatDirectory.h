#pragma once
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "base/ReadOnlyFile.h"

namespace pixmond {

// The directory at the head of every archive, read and written here only. A 32-bit count N of records, then N
// records of 17 bytes: the 32-bit offset of an entry's data and its 13-byte name, zero-padded. The last record is
// the terminator: its offset is the end of the data, its name empty. An entry's size is the next record's offset
// minus its own. All integers little-endian; there is no magic number.
class DatDirectory {
public:
    static constexpr std::uint64_t kCountBytes = 4;
    static constexpr std::uint64_t kRecordBytes = 17;
    static constexpr std::uint64_t kNameBytes = 13;
    // Offsets are 32-bit: no byte of an archive may lie beyond this.
    static constexpr std::uint64_t kMaxEnd = 0xffffffffull;

    // Reads at most maxEntries entries. Only records the file really holds are read, whatever the count
    // promises, and an entry needs its own record and the next one (for its size).
    static DatDirectory Read(const ReadOnlyFile& file, std::uint64_t maxEntries = UINT64_MAX);

    // Entries the count word promises.
    std::uint64_t Promised() const { return claimed_ > 0 ? claimed_ - 1 : 0; }
    // Entries the file holds records for, before the cap of Read.
    std::uint64_t Held() const { return held_; }
    // Entries read.
    size_t Count() const { return count_; }

    std::uint32_t Offset(size_t i) const { return U32(i); }
    std::uint32_t NextOffset(size_t i) const { return U32(i + 1); }
    // The next offset minus this one; 0 when the next offset lies before it.
    std::uint32_t Size(size_t i) const { return Inverted(i) ? 0 : NextOffset(i) - Offset(i); }
    // The name as stored (case kept), up to its zero: at most 13 bytes.
    std::string_view Name(size_t i) const;
    // Whether the data of entry i lies within the file.
    bool Inside(size_t i) const { return !Inverted(i) && NextOffset(i) <= fileSize_; }

    // The count promises more records than the file holds, or the file is too short for the count.
    bool Truncated() const { return truncated_; }
    // Entries read whose data lies outside the file.
    int Damaged() const { return damaged_; }
    bool Sound() const { return !truncated_ && damaged_ == 0; }

    // What the writer needs of each entry.
    struct Shape {
        std::string_view name;  // at most 12 characters are written, then a zero
        std::uint64_t size = 0;
    };
    // Where the data of an archive of `entries` entries starts.
    static std::uint64_t DataStart(std::uint64_t entries) { return kCountBytes + kRecordBytes * (entries + 1); }
    // Lays out the directory of count entries, their data right behind it in the same order, and returns where
    // the data ends. out is filled only when that end is at most kMaxEnd.
    static std::uint64_t Encode(size_t count, const std::function<Shape(size_t)>& entry,
                                std::vector<std::uint8_t>& out);

private:
    std::uint32_t U32(size_t record) const;
    bool Inverted(size_t i) const { return NextOffset(i) < Offset(i); }

    std::vector<std::uint8_t> records_;
    std::uint64_t fileSize_ = 0;
    std::uint64_t claimed_ = 0;
    std::uint64_t held_ = 0;
    size_t count_ = 0;
    bool truncated_ = false;
    int damaged_ = 0;
};

}  // namespace pixmond
