#include "ui/ShellRules.h"

#include "ui/FileSystem.h"
#include "base/Format.h"
#include "base/PathParts.h"
#include "ui/Messages.h"
#include "ui/Shell.h"

namespace pixmond {

std::string FrameTitle(int viewMode, const std::string& version, const std::string& archivePath) {
    if (viewMode == 1) return "Pixmond " + version;
    return Format("Pixmond %s * %s", version.c_str(), ShortenPath(archivePath, 50).c_str());
}

namespace {
bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// The drive ("C:") of a Windows path, else the first folder of a rooted path ("/home"), else nothing.
std::string LeadingPart(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
    if (!path.empty() && IsSeparator(path[0])) {
        const size_t next = path.find_first_of("/\\", 1);
        if (next != std::string::npos) return path.substr(0, next);
    }
    return {};
}
}  // namespace

std::string ShortenPath(const std::string& path, size_t maxLength) {
    if (path.size() <= maxLength) return path;
    const std::string lead = LeadingPart(path);
    // The longest tail that fits; when even the name alone does not fit, the name is kept whole.
    size_t tailStart = path.find_last_of("/\\");
    if (tailStart == std::string::npos) return path;
    for (size_t at = lead.size(); at < path.size(); ++at) {
        if (!IsSeparator(path[at])) continue;
        if (lead.size() + 2 + (path.size() - at) <= maxLength) {
            tailStart = at;
            break;
        }
    }
    return Format("%s..%s", lead.c_str(), path.substr(tailStart).c_str());
}

std::vector<std::filesystem::path> HelpCandidates(const std::string& archivePath,
                                                  const std::filesystem::path& programFolder) {
    const std::filesystem::path archiveFolder = PathParts::Of(archivePath).folder;
    std::vector<std::filesystem::path> out;
    for (const char* name : {"orvel_shp_tool.chm", "orvel_shp_readme.htm"}) {
        if (!archiveFolder.empty()) out.push_back(archiveFolder / name);
        out.push_back(programFolder / name);
    }
    out.push_back((programFolder / ".." / "share" / "doc" / "pixmond" / "README.md").lexically_normal());
    out.push_back(programFolder / "README.md");
    return out;
}

bool OpenHelp(Shell& shell, Messages& messages, const FileSystem& files, const std::string& archivePath,
              const std::filesystem::path& programFolder) {
    const auto candidates = HelpCandidates(archivePath, programFolder);
    for (const auto& candidate : candidates) {
        if (files.Length(candidate) < 0) continue;
        if (candidate.extension() != ".md") return ShowFile(shell, messages, candidate);
        if (shell.OpenUrl(FileUrl(candidate, kDesktopHelpSection))) return true;
        messages.Error(Format("No program could be started to show the help file %s.\nIt is in %s",
                              candidate.filename().c_str(), candidate.parent_path().c_str()));
        return false;
    }
    std::string looked;
    for (const auto& candidate : candidates) looked += "\n" + candidate.string();
    messages.Error(Format("No help file was found. Help is looked for as:%s", looked.c_str()));
    return false;
}

bool ShowFile(Shell& shell, Messages& messages, const std::filesystem::path& file) {
    if (shell.Open(file, file.parent_path())) return true;
    messages.Error(Format("No program could be started to show %s.\nIt is in %s", file.filename().c_str(),
                          file.parent_path().c_str()));
    return false;
}

std::string FileUrl(const std::filesystem::path& file, const std::string& section) {
    static const char* kHex = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : std::filesystem::absolute(file).string()) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
        if (plain) {
            url += char(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return section.empty() ? url : url + "#" + section;
}

}  // namespace pixmond
