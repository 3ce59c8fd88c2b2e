#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace pixmond {

class FileSystem;
class Messages;
class Shell;

// The frame's caption: "Pixmond <version>" in the folder browser, version and archive path in the archive browser.
std::string FrameTitle(int viewMode, const std::string& version, const std::string& archivePath);

// A path cut to at most maxLength characters as "<drive>..<tail>", the tail starting at a separator.
std::string ShortenPath(const std::string& path, size_t maxLength);

// Where help is looked for, in order: the compiled help and the help page beside the archive and the program,
// then this program's README as installed (share/doc/pixmond beside the program's bin folder) or beside the
// program in its build folder.
std::vector<std::filesystem::path> HelpCandidates(const std::string& archivePath,
                                                  const std::filesystem::path& programFolder);

// The README's section on the desktop program; help opens the README there.
inline constexpr const char* kDesktopHelpSection = "the-desktop-program-pixmond";

// Opens the first help file that exists. When there is none, or no viewer can be started, the message names
// the file and where it is (or where help was looked for). True when the shell took the request.
bool OpenHelp(Shell& shell, Messages& messages, const FileSystem& files, const std::string& archivePath,
              const std::filesystem::path& programFolder);

// Shows a file in the user's viewer; when none can be started, an error names the file and its folder.
bool ShowFile(Shell& shell, Messages& messages, const std::filesystem::path& file);

// A local file as a "file://" address, percent-encoded, with an optional "#section".
std::string FileUrl(const std::filesystem::path& file, const std::string& section = {});

}  // namespace pixmond
