#include <QApplication>
#include <gtest/gtest.h>

// GUI suites run with one QApplication on the offscreen platform (set by the test's
// environment), so dialogs can be created and driven without a display.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
