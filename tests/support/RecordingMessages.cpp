#include "support/RecordingMessages.h"

namespace pixmond {

bool RecordingMessages::Question(const std::string& text) {
    entries_.push_back({Kind::Question, text});
    if (answers_.empty()) return defaultAnswer_;
    const bool answer = answers_.front();
    answers_.pop_front();
    return answer;
}

}  // namespace pixmond
