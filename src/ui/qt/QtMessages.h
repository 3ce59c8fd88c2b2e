#pragma once
#include <QPointer>
#include <QWidget>

#include "ui/Messages.h"

namespace pixmond {

// Message boxes owned by the main window: notices and questions with the question mark, errors with the stop sign.
class QtMessages : public Messages {
public:
    void SetOwner(QWidget* owner) { owner_ = owner; }
    void Notice(const std::string& text) override;
    void Error(const std::string& text) override;
    bool Question(const std::string& text) override;

private:
    QPointer<QWidget> owner_;
};

}  // namespace pixmond
