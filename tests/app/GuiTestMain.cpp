#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// The widget tests need one application object for the whole run; they draw offscreen unless told otherwise.
int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(pixmond);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
