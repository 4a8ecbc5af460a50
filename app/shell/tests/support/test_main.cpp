// The shell's tests run the real forms without a display.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>

#include "shell/program.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    px::join_threads_at_exit();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    int code = RUN_ALL_TESTS();
    px::close_application();
    return code;
}
