#include "platform/process.h"

#include <dirent.h>
#include <dlfcn.h>
#include <spawn.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <climits>
#include <cstdlib>
#include <optional>

#include "platform/drives.h"
#include "platform/errors.h"

extern char** environ;

namespace plat {

namespace {

bool is_program(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The entry of `dir` named `name` without regard to case (an exact match
// first), when it is a program.
std::optional<std::string> find_in(const std::string& dir, const std::string& name) {
    std::string base = dir.empty() ? std::string(".") : dir;
    std::string exact = base + "/" + name;
    if (is_program(exact)) return exact;
    DIR* d = ::opendir(base.c_str());
    if (d == nullptr) return std::nullopt;
    std::optional<std::string> found;
    while (dirent* e = ::readdir(d)) {
        if (::strcasecmp(e->d_name, name.c_str()) != 0) continue;
        std::string candidate = base + "/" + e->d_name;
        if (is_program(candidate)) {
            found = candidate;
            break;
        }
    }
    ::closedir(d);
    return found;
}

bool has_exe_suffix(const std::string& name) {
    return name.size() > 4 && ::strcasecmp(name.c_str() + name.size() - 4, ".EXE") == 0;
}

// The name, then the name without ".EXE": a Windows program name finds the
// host program of the same stem.
std::optional<std::string> find_with_suffix_rule(const std::string& dir, const std::string& name) {
    if (auto p = find_in(dir, name)) return p;
    if (has_exe_suffix(name)) return find_in(dir, name.substr(0, name.size() - 4));
    return std::nullopt;
}

std::optional<std::string> locate(const std::string& program) {
    if (program.empty()) return std::nullopt;
    bool windows_shaped = program.find('\\') != std::string::npos ||
                          (program.size() >= 2 && program[1] == ':');
    if (windows_shaped || program.find('/') != std::string::npos) {
        std::string host = program;
        if (windows_shaped) {
            auto h = host_path(program);
            if (!h) return std::nullopt;
            host = *h;
        }
        size_t slash = host.rfind('/');
        std::string dir = slash == std::string::npos ? std::string(".") : host.substr(0, slash);
        if (slash == 0) dir = "/";
        return find_with_suffix_rule(dir, host.substr(slash + 1));
    }

    std::vector<std::string> dirs;
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) != nullptr) dirs.emplace_back(cwd);
    std::string libs = library_folder();
    if (!libs.empty()) dirs.push_back(libs);
    if (const char* path = std::getenv("PATH")) {
        std::string all = path;
        size_t start = 0;
        for (;;) {
            size_t colon = all.find(':', start);
            std::string dir = all.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
            // An empty PATH element means the current directory, already searched.
            if (!dir.empty()) dirs.push_back(dir);
            if (colon == std::string::npos) break;
            start = colon + 1;
        }
    }
    for (const std::string& dir : dirs)
        if (auto p = find_with_suffix_rule(dir, program)) return p;
    return std::nullopt;
}

}  // namespace

std::string library_folder() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&library_folder), &info) == 0 || info.dli_fname == nullptr) return {};
    char resolved[PATH_MAX];
    std::string file = ::realpath(info.dli_fname, resolved) != nullptr ? resolved : info.dli_fname;
    size_t slash = file.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? std::string("/") : file.substr(0, slash);
}

namespace {

// Starts the program; false with last_error set when it cannot be started.
bool spawn(const std::string& program, const std::vector<std::string>& args, pid_t* pid) {
    std::optional<std::string> path = locate(program);
    if (!path) {
        set_last_error(kErrFileNotFound);
        return false;
    }

    std::vector<char*> argv;
    std::vector<std::string> own = args;
    if (own.empty()) own.push_back(program);
    for (std::string& a : own) argv.push_back(a.data());
    argv.push_back(nullptr);

    int rc = ::posix_spawn(pid, path->c_str(), nullptr, nullptr, argv.data(), environ);
    if (rc != 0) {
        set_last_error(win_error_from_errno(rc));
        return false;
    }
    return true;
}

// The programs started and not waited for, until their end is collected:
// 0 a free slot, -1 one taken for a start under way. The child signal's
// handler reads it, so it holds lock-free atomics only.
constexpr int kStartedMax = 64;
std::array<std::atomic<pid_t>, kStartedMax> g_started{};
struct sigaction g_previous_child_handler {};

// Collects each started program that has ended, so that none stays a
// zombie; children that others wait for are left to them.
void reap_started() noexcept {
    int saved_errno = errno;
    for (auto& slot : g_started) {
        pid_t pid = slot.load();
        if (pid <= 0) continue;
        pid_t r = ::waitpid(pid, nullptr, WNOHANG);
        if (r == pid || (r < 0 && errno == ECHILD)) slot.compare_exchange_strong(pid, 0);
    }
    errno = saved_errno;
}

void on_child_ended(int sig, siginfo_t* info, void* context) {
    reap_started();
    const struct sigaction& prev = g_previous_child_handler;
    if ((prev.sa_flags & SA_SIGINFO) != 0) {
        if (prev.sa_sigaction != nullptr) prev.sa_sigaction(sig, info, context);
    } else if (prev.sa_handler != SIG_DFL && prev.sa_handler != SIG_IGN) {
        prev.sa_handler(sig);
    }
}

bool install_reaper() {
    struct sigaction sa {};
    sa.sa_sigaction = on_child_ended;
    sa.sa_flags = SA_SIGINFO | SA_RESTART | SA_NOCLDSTOP;
    sigemptyset(&sa.sa_mask);
    return ::sigaction(SIGCHLD, &sa, &g_previous_child_handler) == 0;
}

}  // namespace

int32_t run_and_wait(const std::string& program, const std::vector<std::string>& args, int32_t* exit_code) {
    pid_t pid = 0;
    if (!spawn(program, args, &pid)) return 0;
    int status = 0;
    pid_t waited;
    do {
        waited = ::waitpid(pid, &status, 0);
    } while (waited < 0 && errno == EINTR);
    if (waited < 0) {
        set_last_error(win_error_from_errno(errno));
        return 0;
    }
    int32_t code = 0;
    if (WIFEXITED(status))
        code = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        code = 128 + WTERMSIG(status);
    if (exit_code != nullptr) *exit_code = code;
    return 1;
}

int32_t start_program(const std::string& program, const std::vector<std::string>& args) {
    static const bool reaper = install_reaper();
    if (!reaper) {
        set_last_error(win_error_from_errno(errno));
        return 0;
    }
    reap_started();
    std::atomic<pid_t>* slot = nullptr;
    for (auto& s : g_started) {
        pid_t free_slot = 0;
        if (s.compare_exchange_strong(free_slot, -1)) {
            slot = &s;
            break;
        }
    }
    if (slot == nullptr) {
        set_last_error(kErrNotEnoughMemory);
        return 0;
    }
    pid_t pid = 0;
    if (!spawn(program, args, &pid)) {
        slot->store(0);
        return 0;
    }
    slot->store(pid);
    // It may have ended before its slot named it, its signal passed over.
    reap_started();
    return 1;
}

}  // namespace plat
