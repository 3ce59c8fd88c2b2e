#include "archive/DatDirectory.h"

#include <algorithm>
#include <cstring>

namespace pixmond {

namespace {

std::uint32_t LoadU32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

void PutU32(std::uint8_t* p, std::uint64_t v) {
    for (int k = 0; k < 4; ++k) p[k] = std::uint8_t(v >> (8 * k));
}

}  // namespace

DatDirectory DatDirectory::Read(const ReadOnlyFile& file, std::uint64_t maxEntries) {
    DatDirectory dir;
    dir.fileSize_ = file.Size();
    std::uint8_t word[4];
    if (!file.ReadExact(0, word, 4)) {
        // An empty file is an empty archive; one of one to three bytes has lost its count.
        dir.truncated_ = file.Size() > 0;
        return dir;
    }
    dir.claimed_ = LoadU32(word);
    const std::uint64_t fits = (file.Size() - kCountBytes) / kRecordBytes;
    dir.truncated_ = dir.claimed_ > fits;
    const std::uint64_t records = std::min(dir.claimed_, fits);
    dir.held_ = records > 0 ? records - 1 : 0;
    const std::uint64_t wanted = std::min(dir.held_, maxEntries);
    if (wanted == 0) return dir;
    dir.records_ = file.ReadBlock(kCountBytes, size_t((wanted + 1) * kRecordBytes));
    const size_t got = dir.records_.size() / kRecordBytes;
    dir.count_ = got > 0 ? std::min<size_t>(size_t(wanted), got - 1) : 0;
    for (size_t i = 0; i < dir.count_; ++i) {
        if (!dir.Inside(i)) ++dir.damaged_;
    }
    return dir;
}

std::uint32_t DatDirectory::U32(size_t record) const { return LoadU32(records_.data() + record * kRecordBytes); }

std::string_view DatDirectory::Name(size_t i) const {
    const char* field = reinterpret_cast<const char*>(records_.data() + i * kRecordBytes + 4);
    return {field, ::strnlen(field, kNameBytes)};
}

std::uint64_t DatDirectory::Encode(size_t count, const std::function<Shape(size_t)>& entry,
                                   std::vector<std::uint8_t>& out) {
    std::uint64_t end = DataStart(count);
    for (size_t i = 0; i < count; ++i) end += entry(i).size;
    out.clear();
    if (end > kMaxEnd) return end;
    out.assign(size_t(DataStart(count)), 0);
    std::uint8_t* p = out.data();
    PutU32(p, count + 1);
    p += kCountBytes;
    std::uint64_t offset = DataStart(count);
    for (size_t i = 0; i < count; ++i) {
        const Shape shape = entry(i);
        PutU32(p, offset);
        std::memcpy(p + 4, shape.name.data(), std::min<size_t>(shape.name.size(), kNameBytes - 1));
        p += kRecordBytes;
        offset += shape.size;
    }
    PutU32(p, offset);  // the terminator; its name stays zero
    return end;
}

}  // namespace pixmond
