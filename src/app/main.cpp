#include <QApplication>
#include <QIcon>

#include "app/CApp.h"

int main(int argc, char** argv) {
    QApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(pixmond);
    QApplication::setApplicationName(QStringLiteral("Pixmond"));
    QApplication::setOrganizationName(QStringLiteral("Tamber_Tools"));
    QApplication::setApplicationVersion(QStringLiteral(PIXMOND_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("pixmond"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/pixmond-256.png")));
    pixmond::CApp app;
    const int early = app.Start(QApplication::arguments());
    if (early >= 0) return early;
    return application.exec();
}
