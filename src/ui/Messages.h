#pragma once
#include <string>

namespace pixmond {

// Modal message boxes: the three kinds every operation reports through.
class Messages {
public:
    virtual ~Messages() = default;
    virtual void Notice(const std::string& text) = 0;    // information, question-mark icon, OK
    virtual void Error(const std::string& text) = 0;     // stop icon, OK
    virtual bool Question(const std::string& text) = 0;  // Yes / No; true for Yes
};

}  // namespace pixmond
