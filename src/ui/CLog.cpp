#include "ui/CLog.h"

#include <cstdarg>
#include <filesystem>
#include <vector>

#include "base/Format.h"
#include "base/PathParts.h"
#include "ui/ShellRules.h"

namespace pixmond {

CLog::~CLog() { CloseFile(); }

std::string CLog::NameForArchive(const std::string& archivePath) {
    const PathParts parts = PathParts::Of(archivePath);
    return Format("%sErr_%s.log", parts.folder.c_str(), parts.title.c_str());
}

void CLog::OpenForArchive(const std::string& archivePath) { SetName(NameForArchive(archivePath)); }

void CLog::SetName(const std::string& name) {
    if (file_) Close(true);
    lines_ = 0;
    created_ = false;
    name_ = name;
    enabled_ = !name_.empty();
}

bool CLog::OpenFile() {
    if (file_) return true;
    // Once created, the file is only added to: a line after an Append must not wipe what came before.
    const char* mode = created_ ? "a" : "w";
    file_ = std::fopen(name_.c_str(), mode);
    if (!file_) {
        const std::filesystem::path folder = std::filesystem::path(name_).parent_path();
        std::error_code ec;
        if (!folder.empty() && !std::filesystem::exists(folder, ec)) std::filesystem::create_directories(folder, ec);
        file_ = std::fopen(name_.c_str(), mode);
    }
    if (!file_) messages_.Error(Format("Error on creating [%s]", name_.c_str()));
    created_ = created_ || file_ != nullptr;
    return file_ != nullptr;
}

void CLog::Write(const std::string& line) {
    if (!enabled_) {
        messages_.Error(line);
        return;
    }
    if (!OpenFile()) return;
    std::fputs(line.c_str(), file_);
    std::fputc('\n', file_);
    ++lines_;
}

void CLog::Printf(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    const std::string line = FormatV(fmt, args);
    va_end(args);
    Write(line);
}

void CLog::Append(const char* fmt, ...) {
    if (!enabled_) return;
    va_list args;
    va_start(args, fmt);
    const std::string text = FormatV(fmt, args);
    va_end(args);
    CloseFile();
    if (std::FILE* file = std::fopen(name_.c_str(), "a")) {
        std::fputs(text.c_str(), file);
        std::fclose(file);
        created_ = true;
    }
}

void CLog::CloseFile() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

void CLog::Close(bool show) {
    CloseFile();
    if (show && lines_ > 0 && !name_.empty()) {
        ShowFile(shell_, messages_, name_);
    }
    enabled_ = false;
}

}  // namespace pixmond
