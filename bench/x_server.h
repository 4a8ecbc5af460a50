// The X server as a benchmark watches it: the windows clients make, map
// and draw (the DAMAGE extension reports every rectangle drawn into a
// window, and a window counts as drawn once every pixel of it on the screen
// has been), and keys pressed at the server (XTEST). An Xvfb and a session
// bus started for the run where the session has none.
//
//   XServer x;  x.open(display);
//   const double drawn = x.wait_frame(since, 20000);  // a window mapped since then, drawn whole
//   const double pressed = x.press_f10();
//
// With keep_log(), the server's answers are also kept in order (every
// rectangle drawn, every map and unmap, every window drawn whole since its
// map), for a bench that reads afterwards what followed each key.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "bench_report.h"

namespace pxbench {

constexpr uint32_t kF10 = 0xffc7;  // its keysym

// The X server as a benchmark watches it.
class XServer {
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
        adopt_windows();
        f10_ = keycode_of(kF10).first;
        xcb_flush(c_);
        return f10_ != 0;
    }
    ~XServer() {
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
    double press_f10() { return press(f10_, {}); }

    // A key pressed and released at the server with the modifier keys held
    // (their keycodes): the time it was sent.
    double press(xcb_keycode_t key, const std::vector<xcb_keycode_t>& held) {
        const double t = pxbench::now_ns();
        for (xcb_keycode_t m : held) fake(XCB_KEY_PRESS, m);
        fake(XCB_KEY_PRESS, key);
        fake(XCB_KEY_RELEASE, key);
        for (auto m = held.rbegin(); m != held.rend(); ++m) fake(XCB_KEY_RELEASE, *m);
        xcb_flush(c_);
        return t;
    }

    // A mouse button clicked where the pointer is: the time it was sent.
    double click(uint8_t button) {
        const double t = pxbench::now_ns();
        fake(XCB_BUTTON_PRESS, button);
        fake(XCB_BUTTON_RELEASE, button);
        xcb_flush(c_);
        return t;
    }

    // The keycode of a keysym and the level it stands at (1: with Shift);
    // keycode 0 where the keyboard has none.
    std::pair<xcb_keycode_t, int> keycode_of(uint32_t keysym) {
        const xcb_setup_t* setup = xcb_get_setup(c_);
        const int n = setup->max_keycode - setup->min_keycode + 1;
        xcb_get_keyboard_mapping_reply_t* r =
            xcb_get_keyboard_mapping_reply(c_, xcb_get_keyboard_mapping(c_, setup->min_keycode, n), nullptr);
        if (r == nullptr) return {0, 0};
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(r);
        std::pair<xcb_keycode_t, int> found{0, 0};
        for (int level = 0; level < std::min<int>(2, r->keysyms_per_keycode) && found.first == 0; ++level)
            for (int k = 0; k < n && found.first == 0; ++k)
                if (syms[k * r->keysyms_per_keycode + level] == keysym)
                    found = {static_cast<xcb_keycode_t>(setup->min_keycode + k), level};
        free(r);
        return found;
    }

    // What the server told, in order (keep_log()).
    struct Logged {
        enum Kind { kDamage, kMap, kUnmap, kDrawnWhole } kind;
        double at;
        double mapped_at;  // kDrawnWhole: when that window was mapped
        // kDamage: the window and the rectangle drawn in it.
        uint32_t window = 0;
        int16_t x = 0, y = 0;
        uint16_t width = 0, height = 0;
    };
    void keep_log() { logging_ = true; }
    const std::vector<Logged>& log() const { return log_; }

    // The descriptor of the connection, and what came on it handled.
    int fd() { return xcb_get_file_descriptor(c_); }
    void drain() {
        for (xcb_generic_event_t* e = xcb_poll_for_event(c_); e != nullptr; e = xcb_poll_for_event(c_)) {
            handle(e, pxbench::now_ns());
            free(e);
        }
    }
    // Handles what comes before `until`: false when nothing came.
    bool wait_until(double until) { return pump(until) == 0; }
    double last_damage() const { return last_damage_; }
    // The server has gone (or never answered).
    bool gone() { return c_ == nullptr || xcb_connection_has_error(c_) != 0; }

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

    void fake(uint8_t type, uint8_t detail) {
        xcb_test_fake_input(c_, type, detail, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    }

    void note(Logged::Kind kind, double at, double mapped_at = 0) {
        if (logging_) log_.push_back({kind, at, mapped_at});
    }
    void note_damage(const xcb_damage_notify_event_t& ev, double at) {
        if (logging_)
            log_.push_back({Logged::kDamage, at, 0, ev.drawable, ev.area.x, ev.area.y, ev.area.width, ev.area.height});
    }

    // The windows there before the watch began: watched from now on, the
    // mapped ones taken as drawn.
    void adopt_windows() {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c_, xcb_query_tree(c_, root_), nullptr);
        if (tree == nullptr) return;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c_, xcb_get_geometry(c_, children[i]), nullptr);
            xcb_get_window_attributes_reply_t* a =
                xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, children[i]), nullptr);
            if (g != nullptr && a != nullptr && windows_.count(children[i]) == 0) {
                Window& w = windows_[children[i]];
                w.x = g->x;
                w.y = g->y;
                w.width = g->width;
                w.height = g->height;
                restart(w);
                w.mapped = a->map_state != XCB_MAP_STATE_UNMAPPED;
                w.drawn_at = 1;
                xcb_damage_create(c_, xcb_generate_id(c_), children[i], XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
            }
            free(g);
            free(a);
        }
        free(tree);
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
            note(Logged::kMap, now);
        } else if (type == XCB_UNMAP_NOTIFY) {
            auto it = windows_.find(reinterpret_cast<const xcb_unmap_notify_event_t*>(e)->window);
            if (it != windows_.end()) it->second.mapped = false;
            note(Logged::kUnmap, now);
        } else if (type == XCB_DESTROY_NOTIFY) {
            windows_.erase(reinterpret_cast<const xcb_destroy_notify_event_t*>(e)->window);
        } else if (type == damage_event_ + XCB_DAMAGE_NOTIFY) {
            auto* ev = reinterpret_cast<const xcb_damage_notify_event_t*>(e);
            last_damage_ = now;
            note_damage(*ev, now);
            auto it = windows_.find(ev->drawable);
            if (it == windows_.end() || !it->second.mapped || it->second.drawn_at > 0) return;
            Window& w = it->second;
            const int x0 = std::max(w.x0, int(ev->area.x)), y0 = std::max(w.y0, int(ev->area.y));
            const int x1 = std::min(w.x1, ev->area.x + ev->area.width);
            const int y1 = std::min(w.y1, ev->area.y + ev->area.height);
            for (int y = y0; y < y1 && x0 < x1; ++y) w.count += cover(w.drawn[static_cast<size_t>(y)], x0, x1);
            if (w.count == static_cast<int64_t>(w.x1 - w.x0) * (w.y1 - w.y0)) {
                w.drawn_at = now;
                note(Logged::kDrawnWhole, now, w.mapped_at);
            }
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
    bool logging_ = false;
    std::vector<Logged> log_;
};

// A server of the desktop the children run on, started for the run: a
// program that prints one line on a descriptor named in its arguments
// ("{fd}" stands for its number) once it is ready, and is ended with the run.
class Started {
public:
    // The line it printed, or false when it printed none in 30 s.
    bool start(std::vector<std::string> args, std::string* line) {
        int fds[2];
        if (::pipe(fds) != 0) return false;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            std::vector<char*> argv;
            for (std::string& a : args) {
                if (const size_t at = a.find("{fd}"); at != std::string::npos) a.replace(at, 4, std::to_string(fds[1]));
                argv.push_back(a.data());
            }
            argv.push_back(nullptr);
            ::execvp(argv[0], argv.data());
            _exit(127);
        }
        ::close(fds[1]);
        // The whole line, maybe in several writes, is read before the pipe
        // closes, or the writer fails on the rest.
        pollfd p{fds[0], POLLIN, 0};
        char c = 0;
        line->clear();
        while (line->find('\n') == std::string::npos && ::poll(&p, 1, 30000) > 0 && ::read(fds[0], &c, 1) == 1)
            line->push_back(c);
        ::close(fds[0]);
        if (line->find('\n') == std::string::npos) return false;
        line->pop_back();
        return true;
    }
    bool started() const { return pid_ > 0; }
    ~Started() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }

private:
    pid_t pid_ = -1;
};

// The desktop the children run on: DISPLAY's server, or where there is none
// a fresh Xvfb (which becomes DISPLAY); and the session bus, or where there
// is none one started for the run (Qt's accessibility bridge connects to it
// when a first window shows; without one, libdbus tries to start a bus for
// the display in every process).
struct Desktop {
    Started xvfb, bus;
};

// Sets up the desktop and watches its X server. False, with the reason
// printed, when that cannot be done.
inline bool open_display(Desktop* desktop, XServer* server) {
    std::string line;
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == 0) {
        if (!desktop->xvfb.start({"Xvfb", "-displayfd", "{fd}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
                                 &line)) {
            std::printf("no display, and Xvfb does not start\n");
            return false;
        }
        setenv("DISPLAY", (":" + std::to_string(std::atoi(line.c_str()))).c_str(), 1);
        display = std::getenv("DISPLAY");
    }
    const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (bus == nullptr || *bus == 0) {
        if (!desktop->bus.start({"dbus-daemon", "--session", "--nofork", "--print-address={fd}"}, &line)) {
            std::printf("no session bus, and dbus-daemon does not start\n");
            return false;
        }
        setenv("DBUS_SESSION_BUS_ADDRESS", line.c_str(), 1);
    }
    unsetenv("QT_QPA_PLATFORM");
    if (!server->open(display)) {
        std::printf("the X server %s has no DAMAGE or XTEST extension, or no F10 key\n", display);
        return false;
    }
    std::printf("X server %s%s; session bus %s\n", display,
                desktop->xvfb.started() ? " (Xvfb, 1280x1024x24, started for the run)" : "",
                desktop->bus.started() ? "started for the run" : "of the session");
    return true;
}

}  // namespace pxbench
