#pragma once
#include <QPointer>
#include <QWidget>

#include "ui/Messages.h"

namespace pixmond {

// Message boxes owned by the main window: notices and questions with the question mark, errors with the stop sign.
class QtMessages : public Messages {
public:
    void SetOwner(QWidget* owner) { owner_ = owner; }
    // With nobody at the window (a screenshot run), messages go to stderr and questions are answered No,
    // instead of a box that would wait for ever.
    void SetUnattended(bool unattended) { unattended_ = unattended; }
    void Notice(const std::string& text) override;
    void Error(const std::string& text) override;
    bool Question(const std::string& text) override;

private:
    QPointer<QWidget> owner_;
    bool unattended_ = false;
};

}  // namespace pixmond
