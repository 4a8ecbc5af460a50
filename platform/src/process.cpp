#include "platform/process.h"

#include <dirent.h>
#include <dlfcn.h>
#include <spawn.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
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

int32_t run_and_wait(const std::string& program, const std::vector<std::string>& args, int32_t* exit_code) {
    std::optional<std::string> path = locate(program);
    if (!path) {
        set_last_error(kErrFileNotFound);
        return 0;
    }

    std::vector<char*> argv;
    std::vector<std::string> own = args;
    if (own.empty()) own.push_back(program);
    for (std::string& a : own) argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    int rc = ::posix_spawn(&pid, path->c_str(), nullptr, nullptr, argv.data(), environ);
    if (rc != 0) {
        set_last_error(win_error_from_errno(rc));
        return 0;
    }
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

}  // namespace plat
