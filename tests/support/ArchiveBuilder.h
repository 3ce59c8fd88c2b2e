#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pixmond::test {

// Builds archive files byte by byte, in the order the entries are added (no sort), so tests can also make
// archives that the program itself would never write.
class ArchiveBuilder {
public:
    ArchiveBuilder& Add(std::string name, std::vector<std::uint8_t> bytes);
    ArchiveBuilder& Add(std::string name, const std::string& text);
    std::vector<std::uint8_t> Build() const;
    void Write(const std::filesystem::path& path) const;

    // Entry contents with just the header words the loader reads, padded to at least `size` bytes.
    static std::vector<std::uint8_t> Shp(std::int32_t icons, size_t size = 16);
    static std::vector<std::uint8_t> S16(std::int32_t icons, size_t size = 8);

private:
    struct Entry {
        std::string name;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Entry> entries_;
};

// An archive read back: every entry of its directory with its bytes (empty when the offsets are unsound).
struct ArchiveEntry {
    std::string name;
    std::uint32_t offset = 0;
    std::vector<std::uint8_t> bytes;
    bool operator==(const ArchiveEntry&) const = default;
};
struct ParsedArchive {
    bool sound = false;  // count, offsets and terminator agree with the file
    std::vector<ArchiveEntry> entries;
};
ParsedArchive ParseArchive(const std::filesystem::path& path);

}  // namespace pixmond::test
