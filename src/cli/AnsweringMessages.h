#pragma once
#include <map>
#include <string>

#include "cli/ConsoleMessages.h"
#include "cli/ConsoleServices.h"

namespace pixmond::cli {

// Answers each known question from the command's own flags; everything is shown through the console.
// Questions it was not told about get the console's safe answer, No.
class AnsweringMessages : public Messages {
public:
    explicit AnsweringMessages(ConsoleServices& console)
        : console_(console.messages),
          services_{*this, console.settings, console.shell, console.files, console.progress} {}

    void Answer(const std::string& question, bool yes) { answers_[question] = yes; }
    void Notice(const std::string& text) override { console_.Notice(text); }
    void Error(const std::string& text) override { console_.Error(text); }
    bool Question(const std::string& text) override;

    // The console services with these messages in place.
    Services& Get() { return services_; }

private:
    ConsoleMessages& console_;
    std::map<std::string, bool> answers_;
    Services services_;
};

}  // namespace pixmond::cli
