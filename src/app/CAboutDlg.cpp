#include "app/CAboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <sstream>

#include "base/Format.h"

namespace pixmond {

std::string CAboutDlg::BuildDate(const char* compilerDate) {
    std::istringstream in(compilerDate);
    std::string month, day, year;
    if (!(in >> month >> day >> year)) return compilerDate;
    return day + " " + month + " " + year;
}

std::string CAboutDlg::Line() {
    return Format("Pixmond Version %s, built %s", PIXMOND_VERSION, BuildDate().c_str());
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Pixmond"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/pixmond-64.png")).pixmap(64, 64));
    auto* text = new QLabel(QString::fromStdString(Line()), this);
    text->setObjectName(QStringLiteral("aboutLine"));
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace pixmond
