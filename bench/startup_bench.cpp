// The program's start and its first hand-over, on the demo installation,
// against a bare Qt 6 program that shows windows of the same layout, both on
// the same X server (a fresh Xvfb unless DISPLAY names one), timed to the
// first frame on the server:
//
// - start: from the fork of a fresh process to the first window it maps
//   drawn whole on the server (the main menu); goal: within a tenth of the
//   bare window's time, and under 150 ms;
// - F10: in a fresh process on the vehicle screen, a demo vehicle identified
//   by its VIN, from the key pressed at the server (XTest) to the window it
//   maps next drawn whole (the search-route screen); goal: under 50 ms.
//
// The bench watches the server itself: it learns of each window as it is
// made, asks the DAMAGE extension for every rectangle drawn into it, and
// takes the time at which a window mapped since the start (or the key) has
// had every pixel drawn. The program runs as startup_program (pxdrom's own
// start with the bench's commands on a socket); the peer as startup_bare,
// whose layouts the program describes first (the same widgets of Qt's own
// classes, places, sizes, captions and fonts). Each start and each F10 is a
// process of its own; the four kinds are interleaved, the order rotated.
//
//   startup_bench [--rounds=N]   (15 rounds unless told)
//
// Meaningful in an optimised build without sanitizers.
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_report.h"
#include "pxbuild/demo_install.h"
#include "x_server.h"

namespace fs = std::filesystem;

namespace {

// One child on the server: the program or the bare window.
class Child {
public:
    Child(const std::string& exe, const fs::path& dir) {
        int sv[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) != 0) return;
        started_at = pxbench::now_ns();
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(sv[0]);
            const int fd = ::dup(sv[1]);  // without close-on-exec
            setenv("PXBENCH_FD", std::to_string(fd).c_str(), 1);
            if (::chdir(dir.c_str()) != 0) _exit(2);
            ::execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
            _exit(3);
        }
        ::close(sv[1]);
        fd_ = sv[0];
    }
    ~Child() {
        if (pid_ > 0) {
            send('q');
            if (!exited(10000)) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, nullptr, 0);
            }
        }
        if (fd_ >= 0) ::close(fd_);
    }
    bool ok() const { return pid_ > 0 && fd_ >= 0; }
    // False when the child is gone.
    bool send(char c) { return ::send(fd_, &c, 1, MSG_NOSIGNAL) == 1; }
    // The child's reply, or 0 after limit_ms.
    char reply(int limit_ms) {
        pollfd p{fd_, POLLIN, 0};
        char c = 0;
        if (::poll(&p, 1, limit_ms) <= 0 || ::read(fd_, &c, 1) != 1) return 0;
        return c;
    }
    double started_at = 0;

private:
    bool exited(int limit_ms) {
        for (int waited = 0; waited < limit_ms; waited += 5) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) return true;
            ::usleep(5000);
        }
        return false;
    }
    pid_t pid_ = -1;
    int fd_ = -1;
};

struct Setup {
    pxbench::XServer* server;
    fs::path install;
};

double failed(const std::string& exe, const char* what) {
    std::fprintf(stderr, "%s: %s\n", fs::path(exe).filename().c_str(), what);
    return -1;
}

// From the fork to the first window drawn whole.
double start(const Setup& s, const std::string& exe) {
    Child child(exe, s.install);
    if (!child.ok()) return failed(exe, "not started");
    const double drawn = s.server->wait_frame(child.started_at, 20000);
    if (drawn < 0) return failed(exe, "no first frame");
    s.server->settle(50, 2000);
    return drawn - child.started_at;
}

// From F10 pressed on the vehicle screen to the next window drawn whole.
double f10(const Setup& s, const std::string& exe) {
    Child child(exe, s.install);
    if (!child.ok() || s.server->wait_frame(child.started_at, 20000) < 0) return failed(exe, "no first frame");
    s.server->settle(100, 5000);
    child.send('v');
    if (child.reply(20000) != 'r') return failed(exe, "no vehicle screen");
    s.server->settle(100, 5000);
    const double pressed = s.server->press_f10();
    const double drawn = s.server->wait_frame(pressed, 20000);
    if (drawn < 0) return failed(exe, "no window drawn after F10");
    s.server->settle(50, 2000);
    return drawn - pressed;
}

// The program describes the three screens' layouts for the bare window.
bool describe(const Setup& s, const std::string& exe) {
    Child child(exe, s.install);
    if (!child.ok() || s.server->wait_frame(child.started_at, 20000) < 0) return false;
    s.server->settle(100, 5000);
    child.send('d');
    if (child.reply(10000) != 'k') return false;
    child.send('v');
    if (child.reply(20000) != 'r') return false;
    s.server->settle(100, 5000);
    child.send('d');
    if (child.reply(10000) != 'k') return false;
    if (s.server->wait_frame(s.server->press_f10(), 20000) < 0) return false;
    s.server->settle(100, 5000);
    child.send('d');
    return child.reply(10000) == 'k';
}

pxbench::Timer timed(const Setup& s, double (*what)(const Setup&, const std::string&), std::string exe) {
    return [&s, what, exe](int64_t n) {
        double t = 0;
        for (int64_t i = 0; i < n; ++i) {
            const double one = what(s, exe);
            if (one < 0) return -1.0;
            t += one;
        }
        return t;
    };
}

}  // namespace

int main(int argc, char** argv) {
    pxbench::Bench bench("Start-up and the first hand-over, against a bare Qt 6 window of the same layout, "
                         "timed to the first frame on the X server",
                         argc, argv, {}, 15);
    pxbench::Desktop desktop;
    pxbench::XServer server;
    if (!pxbench::open_display(&desktop, &server)) return 1;

    const fs::path dir = fs::temp_directory_path() / ("pxstartbench-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    pxbuild::write_demo(dir.string());
    setenv("PXDROM_PRINT_DIR", (dir / "print").c_str(), 1);
    // Both sides' Qt has a runtime folder of its own.
    fs::create_directories(dir / "runtime");
    fs::permissions(dir / "runtime", fs::perms::owner_all, fs::perm_options::replace);
    setenv("XDG_RUNTIME_DIR", (dir / "runtime").c_str(), 1);
    setenv("PXBENCH_LAYOUT", (dir / "layouts.txt").c_str(), 1);
    const Setup s{&server, dir / "c" / "PXDROM"};
    const fs::path here = fs::canonical("/proc/self/exe").parent_path();
    const std::string program = (here / "startup_program").string(), bare = (here / "startup_bare").string();
    if (!describe(s, program)) {
        std::printf("the program did not reach the search-route screen\n");
        fs::remove_all(dir);
        return 1;
    }
    const auto fig = bench.interleave({{"program start to the main menu drawn", timed(s, start, program), 1},
                                       {"bare window start to its frame drawn", timed(s, start, bare), 1},
                                       {"program F10 to the search-route screen drawn", timed(s, f10, program), 1},
                                       {"bare window F10 to the next window drawn", timed(s, f10, bare), 1}});
    fs::remove_all(dir);
    bench.time_goal("program start to the main menu drawn", fig[0], pxbench::at_most(150));
    bench.time_goal("program F10 to the search-route screen drawn", fig[2], pxbench::at_most(50));
    bench.time_ratio("F10, program against the bare window", fig[2], fig[3], pxbench::no_goal());
    bench.time_ratio("start, program against the bare window", fig[0], fig[1], pxbench::at_most(1.1));
    return bench.conclude();
}
