#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace pixmond {

class FileSystem;
class Shell;

// The frame's caption: "Pixmond <version>" in the folder browser, version and archive path in the archive browser.
std::string FrameTitle(int viewMode, const std::string& version, const std::string& archivePath);

// A path cut to at most maxLength characters as "<drive>..<tail>", the tail starting at a separator.
std::string ShortenPath(const std::string& path, size_t maxLength);

// Where help is looked for, in order: the archive's folder and the program's folder, the compiled help first.
std::vector<std::filesystem::path> HelpCandidates(const std::string& archivePath,
                                                  const std::filesystem::path& programFolder);

// Opens the first help file that exists, else the online page. True when the shell took the request.
bool OpenHelp(Shell& shell, const FileSystem& files, const std::string& archivePath,
              const std::filesystem::path& programFolder);

inline constexpr const char* kOnlineHelpUrl = "https://pixmond.example.org/help/orvel_shp_readme.htm";

}  // namespace pixmond
