#include "support/ScriptedPickers.h"

namespace pixmond {

std::string ScriptedPickers::PickFolder(const std::string& initialFolder, const std::string& title) {
    requests.push_back({"folder", initialFolder, title.empty() ? kDefaultFolderTitle : title, {}, {}});
    if (folders_.empty()) return {};
    std::string answer = WithTrailingSeparator(folders_.front());
    folders_.pop_front();
    return answer;
}

std::string ScriptedPickers::PickFile(const std::string& initialPath, const std::string& title,
                                      const std::string& filter, const std::string& defaultExtension, bool open) {
    requests.push_back({open ? "open" : "save", initialPath, title.empty() ? kDefaultFileTitle : title,
                        filter.empty() ? kDefaultFileFilter : filter, defaultExtension});
    if (files_.empty()) return {};
    std::string answer = files_.front();
    files_.pop_front();
    return answer;
}

std::vector<std::string> ScriptedPickers::PickFiles(const std::string& initialPath, const std::string& title,
                                                    const std::string& filter) {
    requests.push_back({"files", initialPath, title.empty() ? kDefaultFileTitle : title,
                        filter.empty() ? kDefaultFileFilter : filter, {}});
    if (lists_.empty()) return {};
    std::vector<std::string> answer = lists_.front();
    lists_.pop_front();
    return answer;
}

}  // namespace pixmond
