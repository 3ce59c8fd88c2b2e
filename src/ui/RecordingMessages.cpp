#include "ui/RecordingMessages.h"

namespace pixmond {

bool RecordingMessages::Question(const std::string& text) {
    entries_.push_back({Kind::Question, text});
    if (answers_.empty()) return defaultAnswer_;
    const bool answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::vector<std::string> RecordingMessages::Texts(Kind kind) const {
    std::vector<std::string> out;
    for (const auto& e : entries_)
        if (e.kind == kind) out.push_back(e.text);
    return out;
}

}  // namespace pixmond
