#include <unistd.h>

#include <cerrno>

#include "host_fs.h"
#include "platform/drives.h"
#include "platform/errors.h"
#include "platform/files.h"

namespace plat {

// The process's own current directory is the one Windows paths resolve
// against, so a relative open and a chdir agree.
std::string current_directory() {
    std::string cwd = detail::host_cwd();
    if (cwd.empty()) {
        set_last_error(win_error_from_errno(errno));
        return {};
    }
    return windows_path(cwd);
}

bool set_current_directory(std::string_view win_path) {
    auto host = host_path(win_path);
    if (!host) return false;
    if (::chdir(host->c_str()) != 0) return detail::fail_errno(errno, *host);
    return true;
}

}  // namespace plat
