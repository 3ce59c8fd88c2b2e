#pragma once
#include <string>
#include <vector>

#include "ui/Messages.h"

namespace pixmond {

// Keeps every message with its kind and exact text instead of showing it, for work whose messages are shown
// later in another form (one line per file of a batch, a summary). Questions are answered No.
class CollectingMessages : public Messages {
public:
    enum class Kind { Notice, Error, Question };
    struct Entry {
        Kind kind;
        std::string text;
    };

    void Notice(const std::string& text) override { entries_.push_back({Kind::Notice, text}); }
    void Error(const std::string& text) override { entries_.push_back({Kind::Error, text}); }
    bool Question(const std::string& text) override;

    const std::vector<Entry>& Entries() const { return entries_; }
    std::vector<std::string> Texts(Kind kind) const;
    std::vector<std::string> Notices() const { return Texts(Kind::Notice); }
    std::vector<std::string> Errors() const { return Texts(Kind::Error); }
    std::vector<std::string> Questions() const { return Texts(Kind::Question); }
    void Clear() { entries_.clear(); }
    // Shows every notice and error kept, in order, through another service (work done on another thread says
    // what it had to say when its turn comes).
    void PassOn(Messages& to) const;

protected:
    std::vector<Entry> entries_;
};

}  // namespace pixmond
