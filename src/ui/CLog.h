#pragma once
#include <cstdio>
#include <string>

#include "ui/Messages.h"
#include "ui/Services.h"
#include "ui/Shell.h"

namespace pixmond {

// Collects the lines of an operation in a text file created on the first line, and shows the file when the
// operation ends. Without a file name each line is shown in a message box instead.
class CLog {
public:
    CLog(Messages& messages, Shell& shell) : messages_(messages), shell_(shell) {}
    explicit CLog(Services& services) : CLog(services.messages, services.shell) {}
    ~CLog();
    CLog(const CLog&) = delete;
    CLog& operator=(const CLog&) = delete;

    // The log of an archive: "Err_<title>.log" in the archive's folder.
    void OpenForArchive(const std::string& archivePath);
    void SetName(const std::string& name);
    void Write(const std::string& line);
    void Printf(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    // Adds text at the end of the file as it is on disk, without a line feed.
    void Append(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    // Shows the file when asked and something was written; the log stays off until a name is set again.
    void Close(bool show);

    static std::string NameForArchive(const std::string& archivePath);
    bool Enabled() const { return enabled_; }
    const std::string& Name() const { return name_; }
    int Lines() const { return lines_; }

private:
    bool OpenFile();
    void CloseFile();
    Messages& messages_;
    Shell& shell_;
    bool enabled_ = false;
    std::string name_;
    std::FILE* file_ = nullptr;
    int lines_ = 0;
    bool created_ = false;
};

}  // namespace pixmond
