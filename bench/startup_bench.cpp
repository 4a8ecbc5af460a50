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
#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "bench_report.h"
#include "pxbuild/demo_install.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kF10 = 0xffc7;  // its keysym

// The X server as the bench watches it.
class Server {
public:
    bool open(const char* display) {
        c_ = xcb_connect(display, nullptr);
        if (xcb_connection_has_error(c_)) return false;
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
        root_ = screen->root;
        screen_w_ = screen->width_in_pixels;
        screen_h_ = screen->height_in_pixels;
        const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c_, &xcb_damage_id);
        if (damage == nullptr || !damage->present) return false;
        damage_event_ = damage->first_event;
        free(xcb_damage_query_version_reply(c_, xcb_damage_query_version(c_, 1, 1), nullptr));
        const xcb_query_extension_reply_t* test = xcb_get_extension_data(c_, &xcb_test_id);
        if (test == nullptr || !test->present) return false;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
        f10_ = keycode_of(kF10);
        xcb_flush(c_);
        return f10_ != 0;
    }
    ~Server() {
        if (c_ != nullptr) xcb_disconnect(c_);
    }

    // The time at which a window mapped at `since` or later had every pixel
    // drawn; -1 after `limit_ms` without one.
    double wait_frame(double since, double limit_ms) {
        const double end = pxbench::now_ns() + limit_ms * 1e6;
        for (;;) {
            if (pump(end) < 0) return -1;
            for (const auto& entry : windows_) {
                const Window& w = entry.second;
                if (w.mapped && w.mapped_at >= since && w.drawn_at > 0) return w.drawn_at;
            }
        }
    }

    // Reads what the server has told meanwhile, then waits until nothing
    // has been drawn for `quiet_ms` (at most `limit_ms`).
    void settle(double quiet_ms, double limit_ms) {
        const double end = pxbench::now_ns() + limit_ms * 1e6;
        last_damage_ = pxbench::now_ns();
        for (;;) {
            const double now = pxbench::now_ns();
            if (now >= end || now - last_damage_ >= quiet_ms * 1e6) return;
            pump(std::min(end, last_damage_ + quiet_ms * 1e6));
        }
    }

    // F10 pressed and released at the server: the time it was sent.
    double press_f10() {
        const double t = pxbench::now_ns();
        xcb_test_fake_input(c_, XCB_KEY_PRESS, f10_, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(c_, XCB_KEY_RELEASE, f10_, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(c_);
        return t;
    }

private:
    // A window's part on the screen, in its own coordinates: what can be drawn.
    struct Window {
        int x = 0, y = 0, width = 0, height = 0;
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        bool mapped = false;
        double mapped_at = 0, drawn_at = 0;
        // Each row's spans drawn since the map, apart and in order; the
        // pixels they hold.
        std::vector<std::vector<std::pair<int, int>>> drawn;
        int64_t count = 0;
    };

    xcb_keycode_t keycode_of(uint32_t keysym) {
        const xcb_setup_t* setup = xcb_get_setup(c_);
        const int n = setup->max_keycode - setup->min_keycode + 1;
        xcb_get_keyboard_mapping_reply_t* r =
            xcb_get_keyboard_mapping_reply(c_, xcb_get_keyboard_mapping(c_, setup->min_keycode, n), nullptr);
        if (r == nullptr) return 0;
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(r);
        xcb_keycode_t found = 0;
        for (int k = 0; k < n && found == 0; ++k)
            if (syms[k * r->keysyms_per_keycode] == keysym) found = static_cast<xcb_keycode_t>(setup->min_keycode + k);
        free(r);
        return found;
    }

    // Handles the events that come before `until`: -1 when the time ran out.
    double pump(double until) {
        xcb_generic_event_t* e = xcb_poll_for_event(c_);
        if (e == nullptr) {
            const double left_ms = (until - pxbench::now_ns()) / 1e6;
            if (left_ms <= 0) return -1;
            pollfd p{xcb_get_file_descriptor(c_), POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left_ms) + 1) <= 0) return -1;
            e = xcb_poll_for_event(c_);
        }
        for (; e != nullptr; e = xcb_poll_for_event(c_)) {
            handle(e, pxbench::now_ns());
            free(e);
        }
        return 0;
    }

    void handle(const xcb_generic_event_t* e, double now) {
        const uint8_t type = e->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            auto* ev = reinterpret_cast<const xcb_create_notify_event_t*>(e);
            if (ev->parent != root_) return;
            Window& w = windows_[ev->window];
            w.x = ev->x;
            w.y = ev->y;
            w.width = ev->width;
            w.height = ev->height;
            // Made at once, so that no drawing goes unseen.
            xcb_damage_create(c_, xcb_generate_id(c_), ev->window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
            xcb_flush(c_);
        } else if (type == XCB_CONFIGURE_NOTIFY) {
            auto* ev = reinterpret_cast<const xcb_configure_notify_event_t*>(e);
            auto it = windows_.find(ev->window);
            if (it == windows_.end()) return;
            Window& w = it->second;
            if (w.x == ev->x && w.y == ev->y && w.width == ev->width && w.height == ev->height) return;
            w.x = ev->x;
            w.y = ev->y;
            w.width = ev->width;
            w.height = ev->height;
            restart(w);
        } else if (type == XCB_MAP_NOTIFY) {
            auto it = windows_.find(reinterpret_cast<const xcb_map_notify_event_t*>(e)->window);
            if (it == windows_.end()) return;
            it->second.mapped = true;
            it->second.mapped_at = now;
            restart(it->second);
        } else if (type == XCB_UNMAP_NOTIFY) {
            auto it = windows_.find(reinterpret_cast<const xcb_unmap_notify_event_t*>(e)->window);
            if (it != windows_.end()) it->second.mapped = false;
        } else if (type == XCB_DESTROY_NOTIFY) {
            windows_.erase(reinterpret_cast<const xcb_destroy_notify_event_t*>(e)->window);
        } else if (type == damage_event_ + XCB_DAMAGE_NOTIFY) {
            auto* ev = reinterpret_cast<const xcb_damage_notify_event_t*>(e);
            last_damage_ = now;
            auto it = windows_.find(ev->drawable);
            if (it == windows_.end() || !it->second.mapped || it->second.drawn_at > 0) return;
            Window& w = it->second;
            const int x0 = std::max(w.x0, int(ev->area.x)), y0 = std::max(w.y0, int(ev->area.y));
            const int x1 = std::min(w.x1, ev->area.x + ev->area.width);
            const int y1 = std::min(w.y1, ev->area.y + ev->area.height);
            for (int y = y0; y < y1 && x0 < x1; ++y) w.count += cover(w.drawn[static_cast<size_t>(y)], x0, x1);
            if (w.count == static_cast<int64_t>(w.x1 - w.x0) * (w.y1 - w.y0)) w.drawn_at = now;
        }
    }

    void restart(Window& w) const {
        w.x0 = std::max(0, -w.x);
        w.y0 = std::max(0, -w.y);
        w.x1 = std::max(w.x0, std::min(w.width, screen_w_ - w.x));
        w.y1 = std::max(w.y0, std::min(w.height, screen_h_ - w.y));
        w.drawn.assign(static_cast<size_t>(std::max(0, w.height)), {});
        w.count = 0;
        w.drawn_at = 0;
    }

    // Adds the span [x0, x1) to a row's: the pixels it newly covers.
    static int cover(std::vector<std::pair<int, int>>& row, int x0, int x1) {
        int before = 0, after = 0;
        std::vector<std::pair<int, int>> out;
        for (const auto& [a, b] : row) {
            before += b - a;
            if (b < x0 || a > x1) {
                out.push_back({a, b});
            } else {
                x0 = std::min(x0, a);
                x1 = std::max(x1, b);
            }
        }
        out.push_back({x0, x1});
        std::sort(out.begin(), out.end());
        for (const auto& [a, b] : out) after += b - a;
        row.swap(out);
        return after - before;
    }

    xcb_connection_t* c_ = nullptr;
    xcb_window_t root_ = 0;
    int screen_w_ = 0, screen_h_ = 0;
    uint8_t damage_event_ = 0;
    xcb_keycode_t f10_ = 0;
    double last_damage_ = 0;
    std::map<xcb_window_t, Window> windows_;
};

// A fresh X server for the run, when there is no display.
struct Xvfb {
    pid_t pid = -1;
    std::string display;
    bool start() {
        int fds[2];
        if (::pipe(fds) != 0) return false;
        pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                     static_cast<char*>(nullptr));
            _exit(127);
        }
        ::close(fds[1]);
        // The number and a line end, maybe in two writes: all read before
        // the pipe closes, or the server fails writing the rest.
        std::string got;
        pollfd p{fds[0], POLLIN, 0};
        char c = 0;
        while (got.find('\n') == std::string::npos && ::poll(&p, 1, 30000) > 0 && ::read(fds[0], &c, 1) == 1)
            got.push_back(c);
        ::close(fds[0]);
        if (got.find('\n') == std::string::npos) return false;
        display = ":" + std::to_string(std::atoi(got.c_str()));
        return true;
    }
    ~Xvfb() {
        if (pid > 0) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
    }
};

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
    Server* server;
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
    Xvfb xvfb;
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == 0) {
        if (!xvfb.start()) {
            std::printf("no display, and Xvfb does not start\n");
            return 1;
        }
        setenv("DISPLAY", xvfb.display.c_str(), 1);
        display = xvfb.display.c_str();
    }
    unsetenv("QT_QPA_PLATFORM");
    Server server;
    if (!server.open(display)) {
        std::printf("the X server %s has no DAMAGE or XTEST extension, or no F10 key\n", display);
        return 1;
    }
    std::printf("X server %s%s\n", display, xvfb.pid > 0 ? " (Xvfb, 1280x1024x24)" : "");

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
