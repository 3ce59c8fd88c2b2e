#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "ui/qt/CProgressBar.h"
#include "ui/qt/CProgressWnd.h"
#include "ui/qt/QtProgressFactory.h"

namespace pixmond {
namespace {

TEST(ProgressWindow, TextChangesWithTheWholePercentageTheBarWithEveryStep) {
    QMainWindow main;
    CProgressWnd window(&main, "Repacking");
    window.SetRange(0, 1000);
    window.SetText("Repacking 1000 files...\n\nHit Cancel or ESC");
    const int before = window.TextRewrites();
    for (int i = 0; i < 1000; ++i) window.StepIt();
    EXPECT_EQ(window.TextRewrites() - before, 100);
    EXPECT_EQ(window.Bar()->value(), 1000);
    EXPECT_EQ(window.TextLabel()->text(), QStringLiteral("Repacking 1000 files...\n\nHit Cancel or ESC    [100%]"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Repacking"));
    EXPECT_EQ(window.width(), 390);
    EXPECT_EQ(window.CancelButton()->text(), QStringLiteral(" Cancel "));

    CProgressWnd empty(&main);
    empty.SetRange(0, 0);
    empty.SetPos(5);
    EXPECT_EQ(empty.Percent(), 0);
    EXPECT_EQ(empty.windowTitle(), QStringLiteral("Progress"));
}

TEST(ProgressWindow, EscapeCancelsWhileThePumpAllowsItAndTheButtonAlways) {
    QMainWindow main;
    main.show();
    {
        CProgressWnd window(&main, "Work");
        window.GoModal();
        EXPECT_EQ(QApplication::activeModalWidget(), &window);
        QApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        EXPECT_TRUE(window.PeekAndPump(false));
        EXPECT_FALSE(window.Cancelled());
        QApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        EXPECT_FALSE(window.PeekAndPump(true));
        EXPECT_TRUE(window.Cancelled());
        EXPECT_FALSE(window.isVisible());
    }
    // The modal window is gone: the main window takes input again.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(main.isEnabled());

    CProgressWnd clicked(&main, "Work");
    clicked.GoModal();
    QTest::mouseClick(clicked.CancelButton(), Qt::LeftButton);
    EXPECT_TRUE(clicked.Cancelled());
    clicked.Clear();
    EXPECT_FALSE(clicked.Cancelled());
}

TEST(StatusBarProgress, BarSitsBesideTheLabelAndTheMessageComesBack) {
    EXPECT_EQ(CProgressBar::BarRect(QRect(0, 0, 500, 20), 60, 4, 80), QRect(161, 2, 339, 16));
    EXPECT_EQ(CProgressBar::BarRect(QRect(0, 0, 500, 20), 0, 4, 50), QRect(250, 2, 250, 16));

    QMainWindow main;
    main.resize(800, 600);
    main.statusBar()->showMessage(QStringLiteral("Ready"));
    main.show();
    QtProgressFactory factory;
    factory.SetMainWindow(&main);
    {
        auto bar = factory.OpenStatusBar("Loading", 80, 50);
        bar->StepIt();
        bar->StepIt();
        auto* widget = dynamic_cast<CProgressBar*>(bar.get());
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->value(), 2);
        EXPECT_EQ(widget->maximum(), 50);
        EXPECT_EQ(main.statusBar()->currentMessage(), QStringLiteral("Loading"));
        EXPECT_TRUE(widget->isVisible());
        EXPECT_GT(widget->geometry().left(), 0);
    }
    EXPECT_EQ(main.statusBar()->currentMessage(), QStringLiteral("Ready"));

    QtProgressFactory headless;
    auto quiet = headless.OpenStatusBar("Loading", 80, 10);
    quiet->StepIt();
    EXPECT_FALSE(quiet->Cancelled());
}

}  // namespace
}  // namespace pixmond
