#include "ui/qt/QtMessages.h"

#include <QMessageBox>
#include <cstdio>

#include "ui/qt/QtText.h"

namespace pixmond {

namespace {
int Show(QWidget* owner, QMessageBox::Icon icon, const std::string& text, QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, QStringLiteral("Pixmond"), ToQString(text), buttons, owner);
    return box.exec();
}
}  // namespace

void QtMessages::Notice(const std::string& text) {
    if (unattended_) std::fprintf(stderr, "pixmond: %s\n", text.c_str());
    else Show(owner_, QMessageBox::Question, text, QMessageBox::Ok);
}

void QtMessages::Error(const std::string& text) {
    if (unattended_) std::fprintf(stderr, "pixmond: %s\n", text.c_str());
    else Show(owner_, QMessageBox::Critical, text, QMessageBox::Ok);
}

bool QtMessages::Question(const std::string& text) {
    if (unattended_) {
        std::fprintf(stderr, "pixmond: %s -> No\n", text.c_str());
        return false;
    }
    return Show(owner_, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace pixmond
