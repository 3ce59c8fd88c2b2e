#include "app/MenuScreenshots.h"

#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QRegularExpression>
#include <cstdio>

#include "ui/qt/QtText.h"

namespace pixmond {

namespace {

QString Slug(QString title) {
    title.remove(QLatin1Char('&'));
    return title.toLower().replace(QRegularExpression(QStringLiteral("[^a-z0-9]+")), QStringLiteral("-"))
        .remove(QRegularExpression(QStringLiteral("^-+|-+$")));
}

void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

}  // namespace

int WriteMenuScreenshots(QMainWindow& window, const std::string& path) {
    QString base = PathToQString(path);
    if (base.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) base.chop(4);
    Settle();
    int failed = 0;
    QMenuBar* bar = window.menuBar();
    for (QAction* action : bar->actions()) {
        QMenu* menu = action->menu();
        if (!menu || !action->isVisible()) continue;
        const QPoint below = bar->mapTo(&window, bar->actionGeometry(action).bottomLeft());
        // The menu is opened as the user opens it, so that it sets the states of its items first.
        menu->popup(window.mapToGlobal(below));
        Settle();
        const QImage shown = window.grab().toImage();
        const QImage open = menu->grab().toImage();
        const QRect whole = QRect(QPoint(0, 0), shown.size()).united(QRect(below, open.size()));
        QImage picture(whole.size(), QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.drawImage(0, 0, shown);
        painter.drawImage(below, open);
        painter.setPen(Qt::darkGray);
        painter.drawRect(QRect(below, open.size()).adjusted(0, 0, -1, -1));
        painter.end();
        menu->hide();
        const QString file = base + QLatin1Char('-') + Slug(action->text()) + QStringLiteral(".png");
        if (!picture.save(file, "PNG")) {
            std::fprintf(stderr, "pixmond: cannot write %s\n", PathFromQString(file).c_str());
            ++failed;
        }
    }
    return failed;
}

}  // namespace pixmond
