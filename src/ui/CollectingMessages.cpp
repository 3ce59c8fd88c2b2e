#include "ui/CollectingMessages.h"

namespace pixmond {

bool CollectingMessages::Question(const std::string& text) {
    entries_.push_back({Kind::Question, text});
    return false;
}

std::vector<std::string> CollectingMessages::Texts(Kind kind) const {
    std::vector<std::string> out;
    for (const auto& e : entries_)
        if (e.kind == kind) out.push_back(e.text);
    return out;
}

void CollectingMessages::PassOn(Messages& to) const {
    for (const auto& e : entries_) {
        if (e.kind == Kind::Notice) to.Notice(e.text);
        else if (e.kind == Kind::Error) to.Error(e.text);
    }
}

}  // namespace pixmond
