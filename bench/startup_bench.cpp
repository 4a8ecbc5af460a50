// The program's start: from the start of a pxdrom process on the demo
// installation to its main menu painted, the median of ten starts (goal:
// under 150 ms).
//
// Each start is a fresh process running the program's own start (a copy of
// its main with a probe on the menu's first paint, offscreen): the parent
// notes the time, starts it, and reads back the time the child saw the menu
// painted; both read the system's monotonic clock. The child then ends the
// program as F3 does, so no work file is left.
//
//   startup_bench [--starts=N]
//
// Meaningful in an optimised build without sanitizers.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <QApplication>
#include <QTimer>

#include "pxbuild/demo_install.h"
#include "shell/binding.h"
#include "shell/form.h"
#include "shell/gyom.h"
#include "shell/program.h"

namespace fs = std::filesystem;

namespace {

int64_t now_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Notes the first paint of the main menu once it is on the screen, then
// ends the program.
class PaintProbe : public QObject {
public:
    explicit PaintProbe(int out_fd) : out_fd_(out_fd) {}
    bool eventFilter(QObject* obj, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_ && obj->objectName() == "Gyom") {
            seen_ = true;
            // After the paint event has been handled and flushed.
            QTimer::singleShot(0, [this] {
                int64_t t = now_ns();
                if (::write(out_fd_, &t, sizeof t) != static_cast<ssize_t>(sizeof t)) std::perror("write");
                if (px::Form* menu = px::loaded_form(px::Gyom::kName)) menu->on_key_down(px::key_f(3));
            });
        }
        return false;
    }

private:
    int out_fd_;
    bool seen_ = false;
};

int child(int argc, char** argv, int out_fd) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    px::set_library_folder(PX_BIN_DIR);  // the program's libraries, beside pxdrom
    PaintProbe probe(out_fd);
    app.installEventFilter(&probe);
    if (!px::start_program()) return px::program_exit_code();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) return child(argc, argv, std::atoi(argv[2]));

    int starts = 10;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--starts=", 9) == 0) starts = std::max(1, std::atoi(argv[i] + 9));

    fs::path dir = fs::temp_directory_path() / ("pxstartbench-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    pxbuild::write_demo(dir.string());
    const fs::path install = dir / "c" / "PXDROM";
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("PXDROM_PRINT_DIR", (dir / "print").c_str(), 1);

    std::vector<double> ms;
    for (int i = 0; i < starts; ++i) {
        int fds[2];
        if (::pipe(fds) != 0) return 1;
        const int64_t t0 = now_ns();
        pid_t pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            if (::chdir(install.c_str()) != 0) _exit(2);
            std::string fd = std::to_string(fds[1]);
            ::execl("/proc/self/exe", argv[0], "--child", fd.c_str(), static_cast<char*>(nullptr));
            _exit(3);
        }
        ::close(fds[1]);
        int64_t t1 = 0;
        ssize_t got = ::read(fds[0], &t1, sizeof t1);
        ::close(fds[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (got != static_cast<ssize_t>(sizeof t1) || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "start %d failed (status %d)\n", i + 1, status);
            fs::remove_all(dir);
            return 1;
        }
        ms.push_back(static_cast<double>(t1 - t0) / 1e6);
        std::printf("start %2d: main menu painted after %.1f ms\n", i + 1, ms.back());
    }
    fs::remove_all(dir);
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    const size_t n = sorted.size();
    const double median = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    std::printf("start to main menu painted: median of %zu starts %.1f ms (goal: under 150 ms)\n", n, median);
    return 0;
}
