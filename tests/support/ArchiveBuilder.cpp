#include "support/ArchiveBuilder.h"

#include <cstring>

#include "support/TestFiles.h"

namespace pixmond::test {

ArchiveBuilder& ArchiveBuilder::Add(std::string name, std::vector<std::uint8_t> bytes) {
    entries_.push_back({std::move(name), std::move(bytes)});
    return *this;
}

ArchiveBuilder& ArchiveBuilder::Add(std::string name, const std::string& text) {
    return Add(std::move(name), std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<std::uint8_t> ArchiveBuilder::Build() const {
    std::vector<std::uint8_t> out;
    const std::uint32_t records = std::uint32_t(entries_.size() + 1);
    PutU32(out, records);
    std::uint32_t offset = 4 + 17 * records;
    auto putRecord = [&out](std::uint32_t at, const std::string& name) {
        PutU32(out, at);
        char field[13] = {};
        std::memcpy(field, name.data(), name.size() < 13 ? name.size() : 13);
        out.insert(out.end(), field, field + 13);
    };
    for (const auto& e : entries_) {
        putRecord(offset, e.name);
        offset += std::uint32_t(e.bytes.size());
    }
    putRecord(offset, "");
    for (const auto& e : entries_) out.insert(out.end(), e.bytes.begin(), e.bytes.end());
    return out;
}

void ArchiveBuilder::Write(const std::filesystem::path& path) const { WriteBytes(path, Build()); }

std::vector<std::uint8_t> ArchiveBuilder::Shp(std::int32_t icons, size_t size) {
    std::vector<std::uint8_t> out = {'1', '.', '1', '0'};
    PutU32(out, std::uint32_t(icons));
    if (out.size() < size) out.resize(size, 0);
    return out;
}

std::vector<std::uint8_t> ArchiveBuilder::S16(std::int32_t icons, size_t size) {
    std::vector<std::uint8_t> out;
    PutU32(out, std::uint32_t(icons));
    if (out.size() < size) out.resize(size, 0);
    return out;
}

ParsedArchive ParseArchive(const std::filesystem::path& path) {
    ParsedArchive parsed;
    const auto bytes = ReadBytes(path);
    auto u32 = [&bytes](size_t at) {
        return std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8 | std::uint32_t(bytes[at + 2]) << 16 |
               std::uint32_t(bytes[at + 3]) << 24;
    };
    if (bytes.size() < 4) return parsed;
    const std::uint64_t records = u32(0);
    if (records == 0 || 4 + 17 * records > bytes.size()) return parsed;
    bool sound = u32(4 + 17 * (records - 1)) == bytes.size() && u32(4) == 4 + 17 * records;
    for (std::uint64_t i = 0; i + 1 < records; ++i) {
        const size_t at = size_t(4 + 17 * i);
        ArchiveEntry entry;
        entry.offset = u32(at);
        const char* name = reinterpret_cast<const char*>(&bytes[at + 4]);
        entry.name.assign(name, ::strnlen(name, 13));
        const std::uint32_t next = u32(at + 17);
        if (next >= entry.offset && next <= bytes.size()) {
            entry.bytes.assign(bytes.begin() + entry.offset, bytes.begin() + next);
        } else {
            sound = false;
        }
        parsed.entries.push_back(std::move(entry));
    }
    const char* last = reinterpret_cast<const char*>(&bytes[4 + 17 * (records - 1) + 4]);
    for (int k = 0; k < 13; ++k) sound = sound && last[k] == 0;
    parsed.sound = sound;
    return parsed;
}

}  // namespace pixmond::test
