// The scratch folder of a fuzz target's run: one per process, in memory
// (/dev/shm) where there is one, else the temporary folder; the folder named
// by PX_FUZZ_SCRATCH when it is set (scripts/fuzz and scripts/test set one per
// run and remove it whatever way the targets end).
//
// A target that aborts (a finding, a time-out, out of memory) never runs its
// destructors: its folder goes with the sanitizer's death callback where
// there is one, and in any case with the next run of any target, which
// removes the folders of processes that are gone.
#pragma once

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>

extern "C" void __sanitizer_set_death_callback(void (*callback)(void)) __attribute__((weak));

namespace pxfuzz {

class ScratchDir {
public:
    // A fresh folder "<prefix>-<pid>" under the scratch base.
    explicit ScratchDir(const std::string& prefix) {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::path base;
        if (const char* named = std::getenv("PX_FUZZ_SCRATCH"); named != nullptr && *named != '\0') {
            base = named;
            fs::create_directories(base, ec);
        } else if (fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0) {
            base = "/dev/shm";
        } else {
            base = fs::temp_directory_path();
        }
        sweep(base, prefix);
        path_ = base / (prefix + "-" + std::to_string(::getpid()));
        fs::remove_all(path_, ec);
        fs::create_directories(path_);
        current() = path_.string();
        if (__sanitizer_set_death_callback != nullptr) __sanitizer_set_death_callback(&remove_current);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
        current().clear();
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    // Folders of this prefix left by processes that no longer run.
    static void sweep(const std::filesystem::path& base, const std::string& prefix) {
        namespace fs = std::filesystem;
        std::error_code ec;
        const std::string head = prefix + "-";
        for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (name.compare(0, head.size(), head) != 0) continue;
            char* rest = nullptr;
            long pid = std::strtol(name.c_str() + head.size(), &rest, 10);
            if (pid <= 0 || *rest != '\0') continue;
            if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
            std::error_code ignored;
            fs::remove_all(it->path(), ignored);
        }
    }
    static std::string& current() {
        static std::string path;
        return path;
    }
    static void remove_current() {
        std::error_code ec;
        if (!current().empty()) std::filesystem::remove_all(current(), ec);
    }

    std::filesystem::path path_;
};

}  // namespace pxfuzz
