// Files committed together through a journal, and the removal of the
// temporaries that interrupted replacements left behind (commit_files.h).
#include "pxall/commit_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "pxall/errlog.h"
#include "run_marks.h"
#include "stale_twins.h"

namespace pxall {

std::string dir_of(const std::string& host) {
    size_t slash = host.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return host.substr(0, slash);
}

// The renames of a folder reach the disk; a folder that refuses to be synced
// (some file systems do) has still got them.
void sync_dir(const std::string& dir) {
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

namespace {

constexpr const char* kJournalHead = "PXCOMMIT 1";
constexpr const char* kJournalEnd = "END";
constexpr const char* kJournalRun = "RUN ";
constexpr size_t kJournalLimit = 4096;
constexpr const char* kCopyMark = ".pxcopy-";


std::string base_of(const std::string& host) {
    size_t slash = host.rfind('/');
    return slash == std::string::npos ? host : host.substr(slash + 1);
}

std::string join(const std::string& dir, const std::string& name) { return dir == "/" ? "/" + name : dir + "/" + name; }

bool write_full(int fd, const char* p, size_t n) {
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
            if (w == 0) errno = ENOSPC;
            return false;
        }
        p += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

// A whole file into a new temporary beside target, flushed to the disk.
// 0 with *twin, or the C error number (the temporary is then gone). With
// `kept` the temporary stays open there, for the caller to lock and close.
int write_twin(const std::string& target, const void* data, size_t n, std::string* twin, int* kept = nullptr) {
    if (int e = write_step("create", target)) return e;
    struct stat st;
    bool exists = ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        *twin = twin_name(target);
        fd = ::open(twin->c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return errno;
    }
    if (fd < 0) return EEXIST;
    if (exists) ::fchmod(fd, st.st_mode & 07777);
    int e = write_step("write", target);
    if (e == 0 && !write_full(fd, static_cast<const char*>(data), n)) e = errno;
    if (e == 0) e = write_step("sync", target);
    if (e == 0 && ::fsync(fd) != 0) e = errno;
    if (e == 0 && kept != nullptr) {
        *kept = fd;
        return 0;
    }
    if (::close(fd) != 0 && e == 0) e = errno;
    if (e != 0) ::unlink(twin->c_str());
    return e;
}

// A journal as read: the pairs (temporary, file) it names, both as names in
// its folder (an empty temporary for a file the set drops), and the run that
// writes it (0 in a journal of an older version, which names none).
struct Journal {
    long run = 0;
    std::vector<std::pair<std::string, std::string>> pairs;
};

// Reads the journal open on fd: false for one that is not whole.
bool read_journal_fd(int fd, Journal* j) {
    struct stat st;
    std::string text;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<size_t>(st.st_size) <= kJournalLimit) {
        char buf[kJournalLimit + 1];
        ssize_t got = ::pread(fd, buf, sizeof buf, 0);
        if (got > 0) text.assign(buf, static_cast<size_t>(got));
    }
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
        size_t nl = text.find('\n', at);
        if (nl == std::string::npos) return false;  // every line ends, the last too
        lines.push_back(text.substr(at, nl - at));
        at = nl + 1;
    }
    if (lines.size() < 3 || lines.front() != kJournalHead || lines.back() != kJournalEnd) return false;
    size_t first = 1;
    const size_t run_size = std::strlen(kJournalRun);
    if (lines[1].compare(0, run_size, kJournalRun) == 0) {
        const std::string digits = lines[1].substr(run_size);
        if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        j->run = std::strtol(digits.c_str(), nullptr, 10);
        if (j->run <= 0) return false;
        first = 2;
    }
    if (first + 1 >= lines.size()) return false;
    for (size_t i = first; i + 1 < lines.size(); ++i) {
        size_t tab = lines[i].find('\t');
        if (tab == std::string::npos) return false;
        std::string twin = lines[i].substr(0, tab), file = lines[i].substr(tab + 1);
        // Only names in the journal's own folder, and temporaries of their files.
        if (file.empty() || file.find('/') != std::string::npos || twin.find('/') != std::string::npos ||
            (!twin.empty() && twin.compare(0, file.size() + 2, file + kTwinMark) != 0))
            return false;
        j->pairs.emplace_back(twin, file);
    }
    return true;
}

bool read_journal(const std::string& journal, Journal* j) {
    int fd = ::open(journal.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    bool whole = read_journal_fd(fd, j);
    ::close(fd);
    return whole;
}

// Puts the journal in place as one step: 0, EBUSY where another run's
// journal of the same files stands, or the C error number. The
// journal names this run and stays locked by it (*lock, closed once the
// commit is carried out or left): while the lock is held no other run takes
// the commit over. Where the file system has no locks *lock is -1, and the
// run's number alone tells the others whether it still runs.
int write_journal(const std::string& journal, const std::vector<std::pair<std::string, std::string>>& pairs,
                  int* lock) {
    *lock = -1;
    std::string text = std::string(kJournalHead) + "\n" + kJournalRun + std::to_string(::getpid()) + "\n";
    for (const auto& [twin, file] : pairs) text += base_of(twin) + "\t" + base_of(file) + "\n";
    text += std::string(kJournalEnd) + "\n";
    std::string twin;
    int fd = -1;
    int e = write_step("journal", journal);
    if (e == 0) e = write_twin(journal, text.data(), text.size(), &twin, &fd);
    if (e != 0) return e;
    // A new file that nobody else knows yet: its lock is free.
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    // Only where no journal stands: the commit of the same files that
    // another run began after this one settled the folder is never replaced
    // (both would put their files in place). A file system without links
    // takes a rename.
    if (::link(twin.c_str(), journal.c_str()) == 0) {
        ::unlink(twin.c_str());
    } else if (errno == EEXIST) {
        ::close(fd);
        ::unlink(twin.c_str());
        return EBUSY;
    } else if (::rename(twin.c_str(), journal.c_str()) != 0) {
        e = errno;
        ::close(fd);
        ::unlink(twin.c_str());
        return e;
    }
    if (locked) {
        *lock = fd;
    } else {
        ::close(fd);
    }
    sync_dir(dir_of(journal));
    return 0;
}

bool process_runs(long pid) { return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH); }

long pid_after(const std::string& name, size_t at, bool digits_only);

// The process number in the name of a temporary of `file`: this version's
// "<file>.~pxdrom<pid>-<serial>" or an older one's "<file>.~<pid>-<serial>".
long twin_pid(const std::string& twin, const std::string& file) {
    size_t at = file.size() + std::strlen(kTwinMark);
    if (twin.compare(file.size(), std::strlen(kTwinTag), kTwinTag) == 0) at = file.size() + std::strlen(kTwinTag);
    return pid_after(twin, at, true);
}

// Whether this run may finish a whole journal (open on fd, read into j):
// never while the run that writes it is carrying it out. A journal of this
// version stays locked by its run for as long as that run is at it (one it
// left after a failure is free again). One of an older version names no
// run: it is taken for a dead run's only when every temporary it names is of
// a process that no longer runs, or when no other run of the installation
// is alive.
bool journal_free(int fd, const Journal& j) {
    if (j.run > 0) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno == EWOULDBLOCK || errno == EINTR) return false;
        // No locks on this file system: the run's number alone tells.
        return j.run == static_cast<long>(::getpid()) || !process_runs(j.run);
    }
    bool named = false, dead = true;
    for (const auto& [twin, file] : j.pairs) {
        if (twin.empty()) continue;
        named = true;
        long pid = twin_pid(twin, file);
        if (pid <= 0 || (pid != static_cast<long>(::getpid()) && process_runs(pid))) dead = false;
    }
    return (named && dead) || !other_run_alive();
}

// Finishes the commit a journal names: 0 (also when it is gone), EBUSY while
// the run that writes it is carrying it out (waited for up to `wait_ms`), or
// the C error number of a rename that still fails (the journal then stays).
int finish_journal(const std::string& journal, int wait_ms) {
    std::string dir = dir_of(journal);
    int fd = ::open(journal.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? 0 : errno;
    Journal j;
    const bool whole = read_journal_fd(fd, &j);
    if (whole) {
        for (int waited = 0; !journal_free(fd, j); waited += 10) {
            if (waited >= wait_ms) {
                ::close(fd);
                return EBUSY;
            }
            const struct timespec tick = {0, 10 * 1000 * 1000};
            ::nanosleep(&tick, nullptr);
        }
        // Its run may have carried it out meanwhile: the name is then gone,
        // or names the journal of a later commit.
        struct stat held, named;
        if (::fstat(fd, &held) != 0 || ::stat(journal.c_str(), &named) != 0 || held.st_ino != named.st_ino ||
            held.st_dev != named.st_dev) {
            ::close(fd);
            return 0;
        }
        for (const auto& [twin, file] : j.pairs) {
            if (twin.empty()) continue;
            std::string from = join(dir, twin);
            struct stat st;
            if (::lstat(from.c_str(), &st) != 0) continue;  // renamed before the interruption
            if (::rename(from.c_str(), join(dir, file).c_str()) != 0) {
                int e = errno;
                ::close(fd);
                return e;
            }
        }
        // A file the set drops that still will not go is named by nothing
        // now: it is left rather than holding every reader up.
        for (const auto& [twin, file] : j.pairs)
            if (twin.empty()) ::unlink(join(dir, file).c_str());
        sync_dir(dir);
    }
    // A journal that is not whole was never put in place by a commit (it is
    // written as one step): nothing was renamed after it. The lock taken
    // goes with the journal.
    const int e = ::unlink(journal.c_str()) != 0 && errno != ENOENT ? errno : 0;
    ::close(fd);
    if (e != 0) return e;
    sync_dir(dir);
    return 0;
}

// The process number in a temporary's name after `at` ("<pid>-<rest>"),
// or 0 when the rest is not of that form; with digits_only the rest is a
// serial number.
long pid_after(const std::string& name, size_t at, bool digits_only) {
    size_t dash = name.find('-', at);
    if (dash == std::string::npos || dash == at || dash - at > 9) return 0;
    auto digits = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i)
            if (name[i] < '0' || name[i] > '9') return false;
        return true;
    };
    if (!digits(at, dash) || dash + 1 >= name.size()) return 0;
    if (digits_only && !digits(dash + 1, name.size())) return 0;
    return std::strtol(name.c_str() + at, nullptr, 10);
}

// A temporary of a process that no longer runs (or of this one, when no
// stream of it writes the file: then it is a leftover of an earlier process
// with the same number).
bool stale(long pid, const std::string& host) {
    if (pid <= 0) return false;
    if (pid == static_cast<long>(::getpid())) return !twin_is_staged(host);
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// The process number of a temporary named `name`, or 0 when it is none.
long temporary_pid(const std::string& name) {
    if (name.compare(0, std::strlen(kCopyMark), kCopyMark) == 0) return pid_after(name, std::strlen(kCopyMark), false);
    size_t mark = name.rfind(kTwinTag);
    if (mark == std::string::npos || mark == 0) return 0;
    return pid_after(name, mark + std::strlen(kTwinTag), true);
}

std::vector<std::string> names_in(const std::string& dir, bool* ok) {
    std::vector<std::string> names;
    DIR* d = ::opendir(dir.c_str());
    *ok = d != nullptr;
    if (d == nullptr) return names;
    while (dirent* e = ::readdir(d)) names.emplace_back(e->d_name);
    ::closedir(d);
    return names;
}

bool ends_with(const std::string& s, const char* tail) {
    size_t n = std::strlen(tail);
    return s.size() > n && s.compare(s.size() - n, n, tail) == 0;
}

// Finishes the journals of a folder, then removes its stale temporaries (of
// every file). A temporary that a journal still names
// (its rename failed) is never removed: the journal's next reader would
// take the missing temporary for one already renamed and read a mix. The
// number removed, -1 when unreadable; *journal_error the C error number of
// a journal that could not be finished (its name in *journal_name), EBUSY
// for one that a live run is still carrying out after `wait_ms`.
int sweep(const std::string& dir, int wait_ms, int* journal_error,
          std::string* journal_name = nullptr) {
    bool ok = false;
    std::vector<std::string> names = names_in(dir, &ok);
    if (!ok) return -1;
    bool journals = false;
    std::vector<std::string> named;  // temporaries of journals still pending
    for (const auto& name : names) {
        if (!ends_with(name, kJournalSuffix)) continue;
        journals = true;
        int e = finish_journal(join(dir, name), wait_ms);
        if (e == 0) continue;
        // A journal that fails is told before one that only waits for its run.
        if (journal_error != nullptr && (*journal_error == 0 || *journal_error == EBUSY)) {
            *journal_error = e;
            if (journal_name != nullptr) *journal_name = name;
        }
        Journal j;
        read_journal(join(dir, name), &j);
        for (const auto& p : j.pairs) named.push_back(p.first);
    }
    if (journals) names = names_in(dir, &ok);
    int removed = 0;
    for (const auto& name : names) {
        if (std::find(named.begin(), named.end(), name) != named.end()) continue;
        std::string host = join(dir, name);
        if (stale(temporary_pid(name), host) && ::unlink(host.c_str()) == 0) ++removed;
    }
    return removed;
}

// The temporaries written and flushed (an empty one for a file the set
// drops): journal, renames, removals, journal last. 0, 13 or 16 with *err;
// before the first rename a failure leaves the old files (the temporaries
// removed), after it the journal stays for the next settle.
int put_in_place(const std::vector<std::pair<std::string, std::string>>& pairs, const std::string& journal,
                 int32_t* err) {
    const std::string dir = dir_of(journal);
    auto drop_twins = [&] {
        for (const auto& p : pairs)
            if (!p.first.empty()) ::unlink(p.first.c_str());
    };
    int lock = -1;
    // The journal's lock goes when the commit is carried out or left.
    struct Unlock {
        int& fd;
        ~Unlock() {
            if (fd >= 0) ::close(fd);
        }
    } unlock{lock};
    int e = injected_failure();
    if (e == 0) e = write_journal(journal, pairs, &lock);
    if (e != 0) {
        drop_twins();
        *err = e;
        return 13;
    }
    // Committed: from here on the new files win.
    bool renamed = false;
    for (const auto& [twin, target] : pairs) {
        if (twin.empty()) continue;
        e = write_step("rename", target);
        if (e == 0 && ::rename(twin.c_str(), target.c_str()) != 0) {
            e = errno;
            // A temporary that is gone was put in place by a run that took
            // the commit over (one that does not honour the journal's lock):
            // the new file stands, as this run would have left it.
            struct stat st;
            if (e == ENOENT && ::lstat(twin.c_str(), &st) != 0 && errno == ENOENT) e = 0;
        }
        if (e == 0) {
            renamed = true;
            continue;
        }
        if (!renamed) {
            // Nothing replaced yet: the old files stay, as if never begun.
            ::unlink(journal.c_str());
            sync_dir(dir);
            drop_twins();
        }
        // Else the journal stays and the next reader finishes the renames.
        *err = e;
        return 13;
    }
    sync_dir(dir);
    // The files the set drops go only now that nothing names them.
    for (const auto& [twin, target] : pairs) {
        if (!twin.empty()) continue;
        int r = write_step("remove", target);
        if (r == 0 && ::unlink(target.c_str()) != 0 && errno != ENOENT) r = errno;
        if (r != 0) e = r;
    }
    if (e != 0) {
        // The journal stays: the next settle tries the removal once more.
        sync_dir(dir);
        *err = e;
        return 16;
    }
    sync_dir(dir);
    if (write_step("unjournal", journal) == 0 && ::unlink(journal.c_str()) == 0) sync_dir(dir);
    // A journal that could not go is finished (a no-op) by the next settle.
    return 0;
}

// The host paths of Windows-shaped paths, all in one folder: 0, or 11 with *err.
int targets_of(const std::vector<const char*>& win_paths, std::vector<std::string>* targets, int32_t* err) {
    for (const char* w : win_paths) {
        auto host = w != nullptr ? plat::host_path(w) : std::nullopt;
        if (!host || (!targets->empty() && dir_of(*host) != dir_of(targets->front()))) {
            *err = host ? EINVAL : ENOENT;
            return 11;
        }
        targets->push_back(*host);
    }
    if (targets->empty()) {
        *err = EINVAL;
        return 11;
    }
    return 0;
}

// How long a reader or a writer waits for another run to carry out its
// commit in the same folder (a few renames and flushes).
constexpr int kLiveCommitWaitMs = 5000;

// An earlier commit of the folder is finished before a new one begins or the
// files are read: 0, or 13 (err EBUSY while another run still carries its
// commit out).
int settle_dir(const std::string& dir, int32_t* err) {
    int pending = 0;
    sweep(dir, kLiveCommitWaitMs, &pending);
    if (pending == 0) return 0;
    *err = pending;
    return 13;
}

}  // namespace

void sweep_stale_twins_of(const std::string& target) { sweep(dir_of(target), 0, nullptr); }

int commit_files(const CommitFile* files, int n, int32_t* err) {
    int32_t dummy = 0;
    if (err == nullptr) err = &dummy;
    *err = 0;
    if (files == nullptr || n < 1) {
        *err = EINVAL;
        return 11;
    }
    std::vector<const char*> paths;
    for (int i = 0; i < n; ++i) {
        if (!files[i].remove && files[i].data == nullptr && files[i].size > 0) {
            *err = EINVAL;
            return 11;
        }
        paths.push_back(files[i].win_path);
    }
    std::vector<std::string> targets;
    if (int r = targets_of(paths, &targets, err)) return r;
    if (int r = settle_dir(dir_of(targets.front()), err)) return r;

    std::vector<std::pair<std::string, std::string>> pairs;
    for (int i = 0; i < n; ++i) {
        std::string twin;
        if (files[i].remove) {
            pairs.emplace_back(std::string(), targets[i]);
            continue;
        }
        if (int e = write_twin(targets[i], files[i].data, files[i].size, &twin)) {
            for (const auto& p : pairs)
                if (!p.first.empty()) ::unlink(p.first.c_str());
            *err = e;
            return e == ENOSPC || e == EDQUOT || e == EIO ? 13 : 11;
        }
        pairs.emplace_back(twin, targets[i]);
    }
    return put_in_place(pairs, targets.front() + kJournalSuffix, err);
}

CommitBuild::~CommitBuild() { abandon(); }

int CommitBuild::begin(const std::vector<std::string>& win_paths, int32_t* err) {
    int32_t dummy = 0;
    if (err == nullptr) err = &dummy;
    *err = 0;
    abandon();
    std::vector<const char*> paths;
    for (const auto& w : win_paths) paths.push_back(w.c_str());
    std::vector<std::string> targets;
    if (int r = targets_of(paths, &targets, err)) return r;
    if (int r = settle_dir(dir_of(targets.front()), err)) return r;
    for (size_t i = 0; i < targets.size(); ++i) {
        if (int e = write_step("create", targets[i])) {
            *err = e;
            abandon();
            return 11;
        }
        std::string twin;
        int fd = -1;
        for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
            twin = twin_name(targets[i]);
            fd = ::open(twin.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 && errno != EEXIST) break;
        }
        if (fd < 0) {
            *err = errno;
            abandon();
            return 11;
        }
        ::close(fd);
        reserve_twin(twin, true);
        pairs_.emplace_back(twin, targets[i]);
        // The folder as the caller wrote it: the temporary's name is new, so
        // its path maps onto the host name made here.
        const std::string& w = win_paths[i];
        size_t sep = w.find_last_of("\\/:");
        win_twins_.push_back(w.substr(0, sep == std::string::npos ? 0 : sep + 1) + base_of(twin));
    }
    return 0;
}

int CommitBuild::commit(int32_t* err) {
    int32_t dummy = 0;
    if (err == nullptr) err = &dummy;
    *err = 0;
    if (pairs_.empty()) {
        *err = EINVAL;
        return 11;
    }
    // The disk takes every temporary's bytes at once; each fsync then waits
    // for its own and the first one's journal commit carries the others'
    // blocks, instead of one commit after another.
    for (const auto& p : pairs_) {
        int fd = ::open(p.first.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;  // the fsync below reports it
        ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
        ::close(fd);
    }
    int e = 0;
    for (const auto& [twin, target] : pairs_) {
        e = write_step("sync", target);
        if (e != 0) break;
        int fd = ::open(twin.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || ::fsync(fd) != 0) e = errno;
        if (fd >= 0) ::close(fd);
        if (e != 0) break;
    }
    if (e != 0) {
        *err = e;
        abandon();
        return 13;
    }
    auto pairs = std::move(pairs_);
    pairs_.clear();
    win_twins_.clear();
    for (const auto& p : pairs) reserve_twin(p.first, false);
    return put_in_place(pairs, pairs.front().second + kJournalSuffix, err);
}

void CommitBuild::abandon() {
    for (const auto& p : pairs_) {
        ::unlink(p.first.c_str());
        reserve_twin(p.first, false);
    }
    pairs_.clear();
    win_twins_.clear();
}

int settle_commit(const char* first_win_path, int32_t* err) {
    int32_t dummy = 0;
    if (err == nullptr) err = &dummy;
    *err = 0;
    auto host = first_win_path != nullptr ? plat::host_path(first_win_path) : std::nullopt;
    if (!host) return 0;  // nothing can be pending where no file can be
    return settle_dir(dir_of(*host), err);
}

int sweep_stale_temporaries(const char* win_dir) {
    if (win_dir == nullptr) return -1;
    auto host = plat::host_path(win_dir);
    if (!host) return -1;
    int pending = 0;
    std::string journal;
    int removed = sweep(*host, 0, &pending, &journal);
    // The files the journal names stay as they are; whoever reads them next
    // tries again and fails as loudly. A live run's commit is its own.
    if (pending != 0 && pending != EBUSY) syerr_message("PXCOMMIT", "sweep_stale_temporaries", journal.c_str(), 13, pending, 1);
    return removed;
}

}  // namespace pxall
