#include "cli/ConsoleMessages.h"

#include <ostream>

namespace pixmond {

void ConsoleMessages::Notice(const std::string& text) { out_ << text << '\n' << std::flush; }

void ConsoleMessages::Error(const std::string& text) {
    ++errors_;
    err_ << text << '\n' << std::flush;
}

bool ConsoleMessages::Decided(const std::string& question, bool answer) {
    out_ << question << '\n' << (answer ? "-> Yes" : "-> No") << '\n' << std::flush;
    return answer;
}

bool ConsoleMessages::Question(const std::string& text) {
    if (answer_) return Decided(text, *answer_);
    err_ << text << "\n-> No (pass --yes to answer Yes)\n" << std::flush;
    return false;
}

}  // namespace pixmond
