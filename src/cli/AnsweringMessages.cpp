#include "cli/AnsweringMessages.h"

namespace pixmond::cli {

bool AnsweringMessages::Question(const std::string& text) {
    auto it = answers_.find(text);
    console_.SetAnswer(it == answers_.end() ? std::nullopt : std::optional<bool>(it->second));
    const bool yes = console_.Question(text);
    console_.SetAnswer(std::nullopt);
    return yes;
}

}  // namespace pixmond::cli
