#include "support/step_script.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "pxall/atomic_write.h"

namespace pxtest {

StepScript& step_script() {
    static StepScript script;
    return script;
}

int scripted_step(const char* step, const char* host) {
    StepScript& s = step_script();
    const int n = static_cast<int>(s.seen.size());
    s.seen.push_back(std::string(step) + " " + std::filesystem::path(host).filename().string());
    if (n != s.at) return 0;
    if (s.kill) ::_exit(0);
    return s.error;
}

int index_of(const std::vector<std::string>& steps, const std::string& step) {
    auto it = std::find(steps.begin(), steps.end(), step);
    return it == steps.end() ? -1 : static_cast<int>(it - steps.begin());
}

std::vector<std::string> steps_of(const std::function<void()>& write) {
    step_script() = StepScript{};
    pxall::set_write_step_hook(scripted_step);
    write();
    pxall::set_write_step_hook(nullptr);
    return step_script().seen;
}

void failed_at_step(int at, const std::vector<std::string>& steps, const std::function<void()>& write) {
    step_script() = StepScript{};
    step_script().at = at;
    const bool rename = at >= 0 && at < static_cast<int>(steps.size()) && steps[at].rfind("rename", 0) == 0;
    step_script().error = rename ? EIO : ENOSPC;
    pxall::set_write_step_hook(scripted_step);
    write();
    pxall::set_write_step_hook(nullptr);
}

bool killed_at_step(int at, const std::function<void()>& write) {
    step_script() = StepScript{};
    step_script().at = at;
    step_script().kill = true;
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        pxall::set_write_step_hook(scripted_step);
        write();
        ::_exit(3);  // not ended at the step: the script went wrong
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

pid_t dead_pid() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

}  // namespace pxtest
