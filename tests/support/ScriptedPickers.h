#pragma once
#include <deque>
#include <string>
#include <vector>

#include "ui/Pickers.h"

namespace pixmond {

// The test double: answers from queues, in order, and keeps every request.
class ScriptedPickers : public Pickers {
public:
    struct Request {
        std::string kind;  // "folder", "open", "save", "files"
        std::string initial, title, filter, defaultExtension;
    };
    void QueueFolder(std::string folder) { folders_.push_back(std::move(folder)); }
    void QueueFile(std::string path) { files_.push_back(std::move(path)); }
    void QueueFiles(std::vector<std::string> paths) { lists_.push_back(std::move(paths)); }

    std::string PickFolder(const std::string& initialFolder, const std::string& title) override;
    std::string PickFile(const std::string& initialPath, const std::string& title, const std::string& filter,
                         const std::string& defaultExtension, bool open) override;
    std::vector<std::string> PickFiles(const std::string& initialPath, const std::string& title,
                                       const std::string& filter) override;
    std::vector<Request> requests;

private:
    std::deque<std::string> folders_, files_;
    std::deque<std::vector<std::string>> lists_;
};

}  // namespace pixmond
