// For the length of a scope, no file of this process may grow past a few
// bytes, as on a full disk: a write past the limit fails with EFBIG instead
// of raising SIGXFSZ.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace pxtest {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        set_ = ::sigaction(SIGXFSZ, &ignore, &old_action_) == 0 && ::getrlimit(RLIMIT_FSIZE, &old_limit_) == 0;
        rlimit small = old_limit_;
        small.rlim_cur = bytes;
        set_ = set_ && ::setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit() { lift(); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // Whether the limit stands.
    bool set() const { return set_; }
    // The limit gone before the scope ends.
    void lift() {
        if (lifted_) return;
        lifted_ = true;
        ::setrlimit(RLIMIT_FSIZE, &old_limit_);
        ::sigaction(SIGXFSZ, &old_action_, nullptr);
    }

private:
    struct sigaction old_action_ {};
    rlimit old_limit_{};
    bool set_ = false, lifted_ = false;
};

}  // namespace pxtest
