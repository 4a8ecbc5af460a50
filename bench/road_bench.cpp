// The end-to-end road, step by step: the road (tests/e2e/road.sh) run as it
// is, each time on a fresh demo installation and its own Xvfb, with
// road_xdotool standing in for xdotool, so that every key, typed text and
// click of the road is sent to the X server by this bench, which times what
// the program draws next:
//
// - a screen change (a window mapped or unmapped after the key): from the
//   key at the server to the window mapped since then drawn whole, or where
//   none was mapped (a dialog gone, the window beneath drawn again) to the
//   end of the first frame drawn;
// - any other step: to the end of the first frame drawn after the key (the
//   rectangles drawn until the server is quiet for 10 ms).
//
// A text box's blinking caret is not an answer: a caret-sized rectangle
// drawn again where it was drawn half a blink period before (Qt's 500 ms)
// starts no frame, so that a click that changes nothing on the screen (into
// the box that already has the focus) counts as drawing nothing.
//
// A typed text counts as one step, its slowest character. Between steps the
// bench waits until nothing has been drawn for 100 ms, so that no key falls
// into the frames of the one before. Each step's median over the runs
// (10 unless told) has the goal: under 50 ms, a screen change under 100 ms.
// The bench prints the slowest five and, last, the step furthest from its
// goal.
//
//   road_bench [--rounds=N] [--all] [--road=PATH]
//
// Meaningful in an optimised build without sanitizers (the program and its
// libraries of the same build).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "bench_report.h"
#include "x_server.h"

namespace fs = std::filesystem;

namespace {

constexpr double kQuietMs = 100;      // between steps: nothing drawn for this long
constexpr double kNothingMs = 2000;   // a key after which nothing is drawn for this long drew nothing
constexpr double kBurstGapMs = 10;    // rectangles closer than this belong to one frame
constexpr double kBlinkMs = 500;      // Qt's caret: shown and hidden in turn this long
constexpr double kBlinkSlackMs = 150; // a busy machine's timers run late
constexpr int kCaretWidth = 12;       // the caret's rectangle with its margins
constexpr double kStepGoalMs = 50, kChangeGoalMs = 100;

// A key as the road names it (xdotool's names): its keysym and the modifiers
// held; 0 for a name the bench does not know.
struct KeyName {
    uint32_t keysym = 0;
    std::vector<uint32_t> held;
};

KeyName key_name(const std::string& name) {
    static const std::map<std::string, uint32_t> names = {
        {"Return", 0xff0d}, {"KP_Enter", 0xff8d}, {"Tab", 0xff09}, {"ISO_Left_Tab", 0xfe20}, {"Escape", 0xff1b},
        {"BackSpace", 0xff08}, {"Delete", 0xffff}, {"Insert", 0xff63}, {"Home", 0xff50}, {"End", 0xff57},
        {"Prior", 0xff55}, {"Page_Up", 0xff55}, {"Next", 0xff56}, {"Page_Down", 0xff56}, {"Left", 0xff51},
        {"Up", 0xff52}, {"Right", 0xff53}, {"Down", 0xff54}, {"space", 0x20}, {"comma", 0x2c}, {"period", 0x2e},
        {"minus", 0x2d}, {"slash", 0x2f}, {"percent", 0x25}, {"ampersand", 0x26}, {"apostrophe", 0x27},
        {"parenleft", 0x28}, {"parenright", 0x29}, {"plus", 0x2b}, {"asterisk", 0x2a}, {"underscore", 0x5f}};
    static const std::map<std::string, uint32_t> modifiers = {
        {"shift", 0xffe1}, {"ctrl", 0xffe3}, {"control", 0xffe3}, {"alt", 0xffe9}};
    KeyName k;
    std::string rest = name;
    for (size_t plus; (plus = rest.find('+')) != std::string::npos && plus + 1 < rest.size();) {
        std::string m = rest.substr(0, plus);
        std::transform(m.begin(), m.end(), m.begin(), [](unsigned char c) { return std::tolower(c); });
        const auto it = modifiers.find(m);
        if (it == modifiers.end()) return {};
        k.held.push_back(it->second);
        rest = rest.substr(plus + 1);
    }
    if (const auto it = names.find(rest); it != names.end()) {
        k.keysym = it->second;
    } else if (rest.size() >= 2 && rest.size() <= 3 && rest[0] == 'F' && std::atoi(rest.c_str() + 1) >= 1 &&
               std::atoi(rest.c_str() + 1) <= 24) {
        k.keysym = 0xffbe + static_cast<uint32_t>(std::atoi(rest.c_str() + 1) - 1);
    } else if (rest.size() == 1 && rest[0] > 0x20 && rest[0] < 0x7f) {
        k.keysym = static_cast<unsigned char>(rest[0]);
    }
    return k;
}

// One key to send: its keycode and the keycodes held with it.
struct Stroke {
    xcb_keycode_t code = 0;
    std::vector<xcb_keycode_t> held;
};

// What one road run gave: each step's name (in the road's order) and, for
// each press that belongs to it, the time it was sent.
struct Press {
    size_t step;
    double at;
};

class RoadRun {
public:
    RoadRun(std::string bin, std::string road, fs::path work) : bin_(std::move(bin)), road_(std::move(road)),
                                                                  work_(std::move(work)) {}

    // Runs the road to its end: false when it failed (its last lines shown).
    bool run(const fs::path& shim_dir) {
        fs::remove_all(work_);
        fs::create_directories(work_);
        const std::string sock = (work_ / "bench.sock").string();
        listen_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::snprintf(a.sun_path, sizeof a.sun_path, "%s", sock.c_str());
        if (listen_ < 0 || ::bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
            ::listen(listen_, 4) != 0) {
            std::printf("no socket for the road at %s\n", sock.c_str());
            return false;
        }
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0) return false;
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(out[1], 1);
            const std::string err = (work_ / "road-stderr.log").string();
            if (std::FILE* e = std::fopen(err.c_str(), "w")) ::dup2(fileno(e), 2);
            setenv("PATH", (shim_dir.string() + ":" + std::getenv("PATH")).c_str(), 1);
            setenv("PXBENCH_ROAD_SOCKET", sock.c_str(), 1);
            ::execlp("bash", "bash", road_.c_str(), bin_.c_str(), (work_ / "road").c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        ::close(out[1]);
        const bool ok = serve(out[0]);
        ::close(out[0]);
        ::close(listen_);
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (!ok || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::printf("the road failed (exit status %d); its last lines:\n", WIFEXITED(status) ? WEXITSTATUS(status) : -1);
            for (const std::string& l : last_lines_) std::printf("    %s\n", l.c_str());
            std::printf("its error output and files: %s\n", work_.c_str());
            return false;
        }
        fs::remove_all(work_);
        return true;
    }

    // Each step's time (ns) to its frame, and whether it changed the screen;
    // the names of the steps after which nothing was drawn.
    void results(std::vector<std::pair<std::string, double>>* times, std::map<std::string, bool>* change,
                 std::set<std::string>* nothing) const {
        std::vector<double> worst(steps_.size(), -1);
        std::vector<bool> changed(steps_.size(), false);
        for (size_t k = 0; k < presses_.size(); ++k) {
            const double from = presses_[k].at;
            const double to = k + 1 < presses_.size() ? presses_[k + 1].at : 1e300;
            bool screen = false;
            const double t = frame_after(from, to, &screen);
            const size_t s = presses_[k].step;
            changed[s] = changed[s] || screen;
            if (t >= 0) worst[s] = std::max(worst[s], t);
        }
        for (size_t s = 0; s < steps_.size(); ++s) {
            (*change)[steps_[s]] = (*change)[steps_[s]] || changed[s];
            if (worst[s] < 0) nothing->insert(steps_[s]);
            else times->push_back({steps_[s], worst[s]});
        }
    }

private:
    // The time from `from` to the frame that answered it, before `to`; -1
    // when nothing was drawn.
    double frame_after(double from, double to, bool* screen) const {
        if (!server_) return -1;
        double first = -1, end = -1, whole = -1;
        bool ended = false;  // the first frame: rectangles closer than kBurstGapMs
        const std::vector<pxbench::XServer::Logged>& log = server_->log();
        for (size_t i = 0; i < log.size(); ++i) {
            const pxbench::XServer::Logged& l = log[i];
            if (l.at < from) continue;
            if (l.at >= to) break;
            switch (l.kind) {
            case pxbench::XServer::Logged::kMap:
            case pxbench::XServer::Logged::kUnmap:
                *screen = true;
                break;
            case pxbench::XServer::Logged::kDrawnWhole:
                if (whole < 0 && l.mapped_at >= from) whole = l.at;
                break;
            case pxbench::XServer::Logged::kDamage:
                if (caret_blink(log, i)) break;
                if (first < 0) first = end = l.at;
                else if (!ended && l.at - end <= kBurstGapMs * 1e6) end = l.at;
                else ended = true;
                break;
            }
        }
        if (whole >= 0) return whole - from;
        return first < 0 ? -1 : end - from;
    }

    // Whether log[i] is a caret blinking: a narrow rectangle drawn in the
    // same place of the same window one blink period before.
    static bool caret_blink(const std::vector<pxbench::XServer::Logged>& log, size_t i) {
        const pxbench::XServer::Logged& l = log[i];
        if (l.width > kCaretWidth) return false;
        for (size_t k = i; k-- > 0;) {
            const pxbench::XServer::Logged& e = log[k];
            const double ago = (l.at - e.at) / 1e6;
            if (ago > kBlinkMs + kBlinkSlackMs) return false;
            if (e.kind == pxbench::XServer::Logged::kDamage && ago >= kBlinkMs - kBlinkSlackMs &&
                e.window == l.window && e.x == l.x && e.y == l.y && e.width == l.width && e.height == l.height)
                return true;
        }
        return false;
    }

    // Reads the road's output and answers its requests until it ends.
    bool serve(int out) {
        std::string pending;
        for (;;) {
            pollfd p[3] = {{out, POLLIN, 0}, {listen_, POLLIN, 0}, {-1, POLLIN, 0}};
            if (server_ && !server_->gone()) p[2].fd = server_->fd();
            if (::poll(p, 3, 1000) < 0 && errno != EINTR) return false;
            if (p[2].revents != 0) server_->drain();
            if (p[0].revents != 0) {
                char b[4096];
                const ssize_t n = ::read(out, b, sizeof b);
                if (n <= 0) return true;
                pending.append(b, static_cast<size_t>(n));
                for (size_t nl; (nl = pending.find('\n')) != std::string::npos; pending.erase(0, nl + 1)) {
                    const std::string line = pending.substr(0, nl);
                    last_lines_.push_back(line);
                    if (last_lines_.size() > 20) last_lines_.pop_front();
                    if (line.rfind("--- ", 0) == 0) {
                        section_ = line.substr(4);
                        seen_.clear();
                    }
                }
                continue;  // the road's lines before its requests
            }
            if (p[1].revents != 0) answer();
        }
    }

    void answer() {
        const int c = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
        if (c < 0) return;
        std::string line;
        char ch = 0;
        while (line.size() < 4096 && ::read(c, &ch, 1) == 1 && ch != '\n') line.push_back(ch);
        std::vector<std::string> f;
        std::stringstream in(line);
        for (std::string field; std::getline(in, field, '\t');) f.push_back(field);
        const bool ok = f.size() >= 3 && connect(f[0]) && act(f);
        (void)!::write(c, ok ? "ok" : "no", 2);
        ::close(c);
    }

    bool connect(const std::string& display) {
        if (server_ && display == display_ && !server_->gone()) return true;
        server_ = std::make_unique<pxbench::XServer>();
        display_ = display;
        if (!server_->open(display.c_str())) {
            server_.reset();
            return false;
        }
        server_->keep_log();
        return true;
    }

    Stroke stroke(const KeyName& k) {
        Stroke s;
        if (k.keysym == 0) return s;
        const auto [code, level] = server_->keycode_of(k.keysym);
        for (uint32_t m : k.held) s.held.push_back(server_->keycode_of(m).first);
        if (level == 1) s.held.push_back(server_->keycode_of(0xffe1).first);
        if (std::find(s.held.begin(), s.held.end(), 0) == s.held.end()) s.code = code;
        return s;
    }

    // The step's name in its section of the road, the n-th of that name
    // numbered.
    size_t step(const std::string& what) {
        std::string name = section_ + ": " + what;
        if (const int n = ++seen_[what]; n > 1) name += " #" + std::to_string(n);
        steps_.push_back(name);
        return steps_.size() - 1;
    }

    bool act(const std::vector<std::string>& f) {
        const std::string& kind = f[1];
        if (kind == "key") {
            std::vector<Stroke> strokes;
            for (size_t i = 2; i < f.size(); ++i) {
                strokes.push_back(stroke(key_name(f[i])));
                if (strokes.back().code == 0) return false;
            }
            for (size_t i = 0; i < strokes.size(); ++i) {
                const size_t s = step(f[i + 2]);
                quiet();
                presses_.push_back({s, server_->press(strokes[i].code, strokes[i].held)});
                answered(presses_.back().at);
            }
            return true;
        }
        if (kind == "type") {
            std::string text;
            for (size_t i = 2; i < f.size(); ++i) text += f[i];
            std::vector<Stroke> strokes;
            for (char ch : text) {
                strokes.push_back(stroke(key_name(ch == ' ' ? "space" : std::string(1, ch))));
                if (strokes.back().code == 0) return false;
            }
            // The road's own folder, which changes from run to run, by name.
            std::string shown = text;
            const std::string road_dir = (work_ / "road").string();
            for (size_t at; (at = shown.find(road_dir)) != std::string::npos;) shown.replace(at, road_dir.size(), "$work");
            const size_t s = step("\"" + shown + "\" typed");
            for (const Stroke& k : strokes) {
                quiet();
                presses_.push_back({s, server_->press(k.code, k.held)});
                answered(presses_.back().at);
            }
            return true;
        }
        if (kind == "click" && f.size() >= 5) {
            const int button = std::atoi(f[2].c_str()), repeat = std::max(1, std::atoi(f[3].c_str()));
            const double delay_ms = std::atof(f[4].c_str());
            if (button < 1 || button > 5) return false;
            const std::string place = f.size() > 5 ? " at " + f[5] : "";
            const size_t s = step(std::string(repeat == 2 ? "double-click" : "click") + place);
            quiet();
            presses_.push_back({s, server_->click(static_cast<uint8_t>(button))});
            for (int r = 1; r < repeat; ++r) {
                server_->wait_until(pxbench::now_ns() + delay_ms * 1e6);
                server_->click(static_cast<uint8_t>(button));
            }
            answered(presses_.back().at);
            return true;
        }
        return false;
    }

    // Waits until nothing has been drawn for 30 ms (a second at most), so
    // that a key does not fall into a frame still being drawn.
    void quiet() { server_->settle(30, 1000); }

    // Waits until the program has answered the key sent at t: something
    // drawn and then nothing for kQuietMs, or nothing at all for kNothingMs
    // (ten seconds at most).
    void answered(double t) {
        for (;;) {
            const double now = pxbench::now_ns(), last = server_->last_damage();
            if (now - t >= 10e9) return;
            if (last >= t && now - last >= kQuietMs * 1e6) return;
            if (last < t && now - t >= kNothingMs * 1e6) return;
            const double until = last >= t ? last + kQuietMs * 1e6 : t + kNothingMs * 1e6;
            server_->wait_until(std::min(until, t + 10e9));
            if (server_->gone()) return;
        }
    }

    std::string bin_, road_;
    fs::path work_;
    int listen_ = -1;
    std::unique_ptr<pxbench::XServer> server_;
    std::string display_, section_ = "start";
    std::map<std::string, int> seen_;
    std::vector<std::string> steps_;
    std::vector<Press> presses_;
    std::deque<std::string> last_lines_;
};

// The real xdotool on PATH.
std::string which(const char* program) {
    std::stringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
    for (std::string dir; std::getline(path, dir, ':');) {
        const fs::path p = fs::path(dir) / program;
        if (!dir.empty() && ::access(p.c_str(), X_OK) == 0) return p.string();
    }
    return "";
}

}  // namespace

int main(int argc, char** argv) {
    std::string road = PX_ROAD_SCRIPT;
    bool all = false;
    pxbench::Bench bench("The end-to-end road step by step: each key, typed text and click to the next frame "
                         "the program painted on the X server",
                         argc, argv,
                         {{"--road=", [&](const char* v) { road = v; }}, {"--all", [&](const char*) { all = true; }}},
                         10);
    const std::string real = which("xdotool");
    if (real.empty() || which("Xvfb").empty()) {
        std::printf("the road needs xdotool and Xvfb\n");
        return 1;
    }
    const fs::path here = fs::canonical("/proc/self/exe").parent_path();
    const fs::path dir = fs::temp_directory_path() / ("pxroadbench-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "shim");
    fs::create_symlink(here / "road_xdotool", dir / "shim" / "xdotool");
    setenv("PXBENCH_REAL_XDOTOOL", real.c_str(), 1);
    std::printf("road %s, program and demo from %s\n", road.c_str(), PX_BIN_DIR);
    std::fflush(stdout);

    std::map<std::string, bool> change;
    std::set<std::string> nothing;
    int run_no = 0;
    const auto fig = bench.repeat("road", [&](std::vector<std::pair<std::string, double>>* ns) {
        RoadRun r(PX_BIN_DIR, road, dir / ("run-" + std::to_string(++run_no)));
        const double t0 = pxbench::now_ns();
        if (!r.run(dir / "shim")) return false;
        r.results(ns, &change, &nothing);
        std::printf("run %d: %zu steps timed, the road took %.0f s\n", run_no, ns->size(),
                    (pxbench::now_ns() - t0) / 1e9);
        std::fflush(stdout);
        return true;
    });
    if (fig.empty()) return 1;
    fs::remove_all(dir);  // kept above where a run failed

    auto goal_of = [&](const pxbench::Figures& f) { return change[f.name] ? kChangeGoalMs : kStepGoalMs; };
    auto median_ms = [](const pxbench::Figures& f) { return pxbench::quantile(f.ns, 0.5) / 1e6; };
    int changes = 0, steps_over = 0, changes_over = 0;
    for (const pxbench::Figures& f : fig) {
        const bool c = change[f.name];
        changes += c;
        if (median_ms(f) >= goal_of(f)) ++(c ? changes_over : steps_over);
    }
    std::printf("%zu steps timed, %d of them screen changes; medians over the goal: %d steps (50 ms), "
                "%d screen changes (100 ms)\n",
                fig.size(), changes, steps_over, changes_over);
    for (const std::string& n : nothing)
        std::printf("nothing drawn after: %s\n", n.c_str());
    if (all) bench.table(fig);

    auto label = [&](const pxbench::Figures& f) { return f.name + (change[f.name] ? " (screen change)" : ""); };
    std::vector<const pxbench::Figures*> order;
    for (const pxbench::Figures& f : fig) order.push_back(&f);
    std::sort(order.begin(), order.end(), [&](auto* a, auto* b) { return median_ms(*a) > median_ms(*b); });
    std::printf("\nthe slowest five:");
    for (size_t i = 0; i < std::min<size_t>(5, order.size()); ++i)
        bench.time_goal(label(*order[i]), *order[i], pxbench::at_most(goal_of(*order[i])));
    // The step furthest from its goal, where it is not among them.
    const pxbench::Figures* worst = order.front();
    for (const pxbench::Figures* f : order)
        if (median_ms(*f) / goal_of(*f) > median_ms(*worst) / goal_of(*worst)) worst = f;
    if (std::find(order.begin(), order.begin() + std::min<size_t>(5, order.size()), worst) ==
        order.begin() + std::min<size_t>(5, order.size()))
        bench.time_goal(label(*worst), *worst, pxbench::at_most(goal_of(*worst)));
    return bench.conclude();
}
