// The program's start and its first hand-over, on the demo installation:
// from the start of a pxdrom process to its main menu painted (goal: under
// 150 ms), and from F10 on the vehicle screen, a demo vehicle identified by
// its VIN, to the search-route screen painted (goal: under 50 ms); each the
// median of ten.
//
// Each start is a fresh process running the program's own start (a copy of
// its main with probes on first paints, offscreen): the parent notes the
// time, starts it, and reads back the time the child saw the menu painted;
// both read the system's monotonic clock. The last child goes on to the
// vehicle screen and times F10 ten times (F3 on the search-route screen
// leads back each time). Each child ends the program as F3 does, so no work
// file is left.
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
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "pxbuild/demo_install.h"
#include "shell/binding.h"
#include "shell/form.h"
#include "shell/gyom.h"
#include "shell/program.h"
#include "shell/stack.h"

namespace fs = std::filesystem;

namespace {

int64_t now_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void send_key(QWidget* to, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(to, &press);
    QCoreApplication::sendEvent(to, &release);
}

QWidget* focus_of(px::Form& form) { return form.focusWidget() != nullptr ? form.focusWidget() : &form; }

// Notes the first paint of the main menu once it is on the screen; with
// `handovers` it then identifies a demo vehicle and times F10 from the
// vehicle screen to the search-route screen painted, that many times. Then
// it ends the program.
class PaintProbe : public QObject {
public:
    PaintProbe(int out_fd, int handovers) : out_fd_(out_fd), handovers_(handovers) {}
    bool eventFilter(QObject* obj, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        const QString name = obj->objectName();
        if (name == "Gyom" && !menu_seen_) {
            menu_seen_ = true;
            // After the paint event has been handled and flushed.
            QTimer::singleShot(0, [this] {
                put(now_ns());
                if (handovers_ > 0) to_vehicle_screen();
                else end();
            });
        } else if (name == "Krot" && waiting_) {
            waiting_ = false;
            QTimer::singleShot(0, [this] {
                put(now_ns() - f10_at_);
                // Back to the vehicle screen for the next one.
                if (px::Form* krot = px::loaded_form("Krot")) send_key(focus_of(*krot), Qt::Key_F3);
                QTimer::singleShot(0, [this] { next_f10(); });
            });
        }
        return false;
    }

private:
    void put(int64_t v) {
        if (::write(out_fd_, &v, sizeof v) != static_cast<ssize_t>(sizeof v)) std::perror("write");
    }
    void end() {
        if (px::Form* menu = px::loaded_form(px::Gyom::kName)) {
            px::ScrBackToMenu();
            menu->on_key_down(px::key_f(3));
        }
    }
    void to_vehicle_screen() {
        px::Form* menu = px::loaded_form(px::Gyom::kName);
        auto* item = menu != nullptr ? menu->findChild<QPushButton*>("cmd_Menu_1") : nullptr;
        if (item == nullptr) return fail("no menu item 1");
        item->click();
        px::Form* vjin = px::loaded_form("Vjin");
        auto* vin = vjin != nullptr ? vjin->findChild<QLineEdit*>("txt_Vin") : nullptr;
        if (vin == nullptr) return fail("no vehicle screen");
        vin->setFocus();
        vin->setText("PX1AVS1600A200123");
        send_key(vin, Qt::Key_Return);
        QTimer::singleShot(0, [this] { next_f10(); });
    }
    void next_f10() {
        if (handovers_-- <= 0) return end();
        px::Form* vjin = px::loaded_form("Vjin");
        if (vjin == nullptr || !vjin->isVisible()) return fail("the vehicle screen is not shown");
        waiting_ = true;
        f10_at_ = now_ns();
        send_key(focus_of(*vjin), Qt::Key_F10);
    }
    void fail(const char* what) {
        std::fprintf(stderr, "hand-over: %s\n", what);
        put(-1);
        end();
    }

    int out_fd_;
    int handovers_;
    bool menu_seen_ = false;
    bool waiting_ = false;
    int64_t f10_at_ = 0;
};

int child(int argc, char** argv, int out_fd, int handovers) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    px::set_library_folder(PX_BIN_DIR);  // the program's libraries, beside pxdrom
    PaintProbe probe(out_fd, handovers);
    app.installEventFilter(&probe);
    if (!px::start_program()) return px::program_exit_code();
    return QApplication::exec();
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--child") == 0)
        return child(argc, argv, std::atoi(argv[2]), std::atoi(argv[3]));

    int starts = 10;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--starts=", 9) == 0) starts = std::max(1, std::atoi(argv[i] + 9));

    fs::path dir = fs::temp_directory_path() / ("pxstartbench-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    pxbuild::write_demo(dir.string());
    const fs::path install = dir / "c" / "PXDROM";
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("PXDROM_PRINT_DIR", (dir / "print").c_str(), 1);

    std::vector<double> ms, handover_ms;
    for (int i = 0; i < starts; ++i) {
        const int handovers = i + 1 == starts ? 10 : 0;
        int fds[2];
        if (::pipe(fds) != 0) return 1;
        const int64_t t0 = now_ns();
        pid_t pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            if (::chdir(install.c_str()) != 0) _exit(2);
            std::string fd = std::to_string(fds[1]), n = std::to_string(handovers);
            ::execl("/proc/self/exe", argv[0], "--child", fd.c_str(), n.c_str(), static_cast<char*>(nullptr));
            _exit(3);
        }
        ::close(fds[1]);
        int64_t t1 = 0;
        ssize_t got = ::read(fds[0], &t1, sizeof t1);
        for (int k = 0; k < handovers; ++k) {
            int64_t d = 0;
            if (::read(fds[0], &d, sizeof d) != static_cast<ssize_t>(sizeof d) || d < 0) break;
            handover_ms.push_back(static_cast<double>(d) / 1e6);
        }
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
    for (double h : handover_ms) std::printf("F10: search-route screen painted after %.1f ms\n", h);
    std::printf("start to main menu painted: median of %zu starts %.1f ms (goal: under 150 ms)\n", ms.size(),
                median(ms));
    if (!handover_ms.empty())
        std::printf("F10 on the vehicle screen to the search-route screen painted: median of %zu %.1f ms "
                    "(goal: under 50 ms)\n",
                    handover_ms.size(), median(handover_ms));
    return handover_ms.size() == 10 ? 0 : 1;
}
