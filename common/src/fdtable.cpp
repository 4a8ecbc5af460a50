#include "pxall/fdtable.h"

#include <fcntl.h>
#include <set>
#include <unistd.h>

#include "platform/files.h"

namespace pxall {

namespace {
// Descriptors 0-31 as the mask callers may inspect; every descriptor, of any
// number, in the set, so that none stays open for ever.
uint32_t g_mask = 0;
std::set<int>& open_set() {
    static std::set<int> fds;
    return fds;
}

void forget(int fd) {
    open_set().erase(fd);
    if (fd >= 0 && fd < 32) g_mask &= ~(uint32_t{1} << fd);
}
}  // namespace

int open2(const char* path, int flags, int permission) {
    if (path == nullptr) return -1;
    int fd = ((flags & O_CREAT) && permission != 0) ? plat::open(path, flags, permission) : plat::open(path, flags, 0);
    if (fd < 0) return -1;
    open_set().insert(fd);
    if (fd < 32) g_mask |= uint32_t{1} << fd;
    return fd;
}

int close2(int fd) {
    if (open_set().count(fd) == 0) return 0;
    int r = ::close(fd);
    if (r != 0) return r;
    forget(fd);
    return 0;
}

int closeall2() {
    int result = 0;
    std::set<int> fds = open_set();
    for (int fd : fds) {
        if (::close(fd) != 0)
            result = -1;
        else
            forget(fd);
    }
    return result;
}

uint32_t* handle_flag() { return &g_mask; }

}  // namespace pxall
