// The exit's last step: every other thread has wholly ended, not only been
// told to stop and waited for.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include <QThread>
#include <QThreadPool>
#include <sys/syscall.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "shell/program.h"

namespace pxtest {
namespace {

std::atomic<bool> g_caller_waits{false};
std::atomic<bool> g_tail_done{false};
std::atomic<long> g_tid{0};

// A thread_local's destructor runs after QThread::wait() has been released
// and before the thread's own thread-specific destructors, where Qt frees
// the thread's data: it stands for a thread that the scheduler holds back in
// that tail on a busy machine.
struct HeldTail {
    ~HeldTail() {
        while (!g_caller_waits) std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        g_tail_done = true;
    }
};

bool task_alive(long tid) { return std::filesystem::exists("/proc/self/task/" + std::to_string(tid)); }

TEST(ExitTest, WaitsUntilAQtThreadThatWasWaitedForHasWhollyEnded) {
    QThreadPool::globalInstance()->waitForDone();
    QThread* thread = QThread::create([] {
        g_tid = syscall(SYS_gettid);
        static thread_local HeldTail tail;
        (void)&tail;
    });
    thread->start();
    ASSERT_TRUE(thread->wait());
    // Qt's wait is over, and the thread has not ended: its tail is still to run.
    EXPECT_FALSE(g_tail_done);
    EXPECT_TRUE(task_alive(g_tid));
    delete thread;

    g_caller_waits = true;
    px::wait_for_other_threads();
    EXPECT_TRUE(g_tail_done);
    EXPECT_FALSE(task_alive(g_tid));
}

}  // namespace
}  // namespace pxtest
