#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace pixmond::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end of the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
std::string ReadText(const std::filesystem::path& path);
void WriteText(const std::filesystem::path& path, const std::string& text);

// Every file under folder, as paths relative to it with '/' between folders, sorted.
std::vector<std::string> FilesUnder(const std::filesystem::path& folder);

// Runs body in a forked child whose files may not grow beyond maxBytes (a full disk); the child's exit code is
// what body returns. -1 when the child died of a signal.
int RunWithFileSizeLimit(std::uint64_t maxBytes, const std::function<int()>& body);

// Little-endian appenders for building binary test files.
void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value);
void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value);

}  // namespace pixmond::test
