// A program that ends as pxdrom ends, on a session bus: the application's
// first window connects Qt to the bus, whose connection thread Qt stops only
// after main returns. The bus thread's last steps are held back a moment, as
// a busy machine does. A check registered before the exit's join step runs
// after it and fails the program if any thread is still there: the bus
// thread's data would be left allocated, and the leak checker at exit would
// report it.
//
//   pxdrom_exit_probe [--without-join]   (the second form shows the fault)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QWidget>
#include <unistd.h>

#include "shell/program.h"

namespace {

int other_threads() {
    int n = 0;
    for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task")) ++n;
    return n - 1;
}

void alone_at_the_end() {
    int others = other_threads();
    if (others > 0) {
        std::fprintf(stderr, "pxdrom_exit_probe: %d thread(s) still there as the process ends\n", others);
        _exit(1);
    }
    std::fprintf(stderr, "pxdrom_exit_probe: no other thread at the end\n");
}

struct HeldTail {
    ~HeldTail() { std::this_thread::sleep_for(std::chrono::milliseconds(300)); }
};

}  // namespace

int main(int argc, char** argv) {
    bool join = !(argc > 1 && std::strcmp(argv[1], "--without-join") == 0);
    std::atexit(alone_at_the_end);
    if (join) px::join_threads_at_exit();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "pxdrom_exit_probe: no session bus\n");
        return 2;
    }
    // A window, as the program's first: close_application() deletes it.
    auto* window = new QWidget;
    window->show();
    // Objects of the bus connection live in its thread: a thread_local made
    // there is destroyed as that thread ends.
    QMetaObject::invokeMethod(
        bus.interface(), [] {
            static thread_local HeldTail tail;
            (void)&tail;
        },
        Qt::BlockingQueuedConnection);
    px::close_application();
    return 0;
}
