#pragma once
#include <deque>
#include <string>
#include <vector>

#include "ui/Messages.h"

namespace pixmond {

// The test double: keeps every message with its kind and exact text, answers questions from a queue.
class RecordingMessages : public Messages {
public:
    enum class Kind { Notice, Error, Question };
    struct Entry {
        Kind kind;
        std::string text;
    };

    void Notice(const std::string& text) override { entries_.push_back({Kind::Notice, text}); }
    void Error(const std::string& text) override { entries_.push_back({Kind::Error, text}); }
    bool Question(const std::string& text) override;

    // Answers for the next questions, in order; when the queue is empty the default answer is used.
    void QueueAnswer(bool yes) { answers_.push_back(yes); }
    void SetDefaultAnswer(bool yes) { defaultAnswer_ = yes; }

    const std::vector<Entry>& Entries() const { return entries_; }
    std::vector<std::string> Texts(Kind kind) const;
    std::vector<std::string> Notices() const { return Texts(Kind::Notice); }
    std::vector<std::string> Errors() const { return Texts(Kind::Error); }
    std::vector<std::string> Questions() const { return Texts(Kind::Question); }
    void Clear() { entries_.clear(); }

private:
    std::vector<Entry> entries_;
    std::deque<bool> answers_;
    bool defaultAnswer_ = false;
};

}  // namespace pixmond
