#pragma once
#include <iosfwd>
#include <optional>

#include "ui/Messages.h"

namespace pixmond {

// Messages of the command line: notices to stdout, errors to stderr. Questions are never read from stdin;
// the command answers them from its flags (--yes / --no), and without a flag the safe answer is taken.
class ConsoleMessages : public Messages {
public:
    ConsoleMessages(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
    void Notice(const std::string& text) override;
    void Error(const std::string& text) override;
    bool Question(const std::string& text) override;

    // A question the command answered from its flags before telling the core: shown with the answer, the way the
    // window asks it, so a script's output says what was chosen. Returns the answer.
    bool Decided(const std::string& question, bool answer);
    // The answer given to every question the core asks; none means "No", with a hint on stderr.
    void SetAnswer(std::optional<bool> answer) { answer_ = answer; }
    int ErrorCount() const { return errors_; }

private:
    std::ostream& out_;
    std::ostream& err_;
    std::optional<bool> answer_;
    int errors_ = 0;
};

}  // namespace pixmond
