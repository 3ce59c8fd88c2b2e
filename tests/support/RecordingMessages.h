#pragma once
#include <deque>
#include <string>

#include "ui/CollectingMessages.h"

namespace pixmond {

// The test double: keeps every message with its kind and exact text, answers questions from a queue.
class RecordingMessages : public CollectingMessages {
public:
    bool Question(const std::string& text) override;

    // Answers for the next questions, in order; when the queue is empty the default answer is used.
    void QueueAnswer(bool yes) { answers_.push_back(yes); }
    void SetDefaultAnswer(bool yes) { defaultAnswer_ = yes; }

private:
    std::deque<bool> answers_;
    bool defaultAnswer_ = false;
};

}  // namespace pixmond
