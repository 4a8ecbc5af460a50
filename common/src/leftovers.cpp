// What runs that ended without closing left behind (leftovers.h).
#include "pxall/leftovers.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/files.h"
#include "pxall/atomic_write.h"
#include "pxall/blocks.h"
#include "pxall/commit_files.h"
#include "pxall/errlog.h"
#include "pxall/fileutil.h"
#include "pxall/paths.h"
#include "pxall/savefile.h"
#include "pxall/setup_scan.h"
#include "run_marks.h"

namespace pxall {

namespace {

namespace sf = savefile;

// The folders this run marks as used: open descriptors holding a shared lock.
std::vector<int> g_marks;

std::string ctop_dir(size_t at) {
    const unsigned char* top = get_ctop_addr();
    if (top == nullptr) return {};
    char dir[ctop::kDirSize + 1] = {};
    std::memcpy(dir, top + at, ctop::kDirSize);
    return dir;
}

// Marks a folder (Windows path) as used by this run. The lock goes with the
// process however it ends, so a kill leaves no mark. True when no other
// running program had marked it.
bool mark_folder(const std::string& win_dir) {
    auto host = win_dir.empty() ? std::nullopt : plat::host_path(win_dir);
    if (!host) return false;
    int fd = ::open(host->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool alone = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    // Shared from here on; another run's start-up holding it whole is waited out.
    while (::flock(fd, LOCK_SH) != 0 && errno == EINTR) {
    }
    g_marks.push_back(fd);
    return alone;
}

// True when a commit journal still lies in the folder (Windows path): the
// files it names must stay until it is finished.
bool journal_pending(const std::string& win_dir) {
    plat::FindData found;
    int32_t h = plat::find_first(win_dir + "\\*.~jnl", &found);
    if (h == 0) return false;
    plat::find_close(h);
    return true;
}

constexpr const char* kModule = "PXDROM";
constexpr const char* kSavedLists = "saved_lists";

enum class Master { kWhole, kMissing, kDamaged };

// The save master's bytes (header and entries). kDamaged (with the code and
// the C error number) for one that cannot be read whole: it cannot be
// opened or read, it ends inside its header or an entry or runs past entry
// 9999, or its header holds what no master holds. Such a master accounts
// for no list, and none is taken for absent on its word.
Master read_master(std::vector<unsigned char>* bytes, int32_t* code, int32_t* err) {
    std::FILE* fp = nullptr;
    *err = 0;
    *code = open_save_mst_file(kSaveRead, &fp, err);
    if (*code == -1 && *err == ENOENT) return Master::kMissing;
    if (*code != 0) return Master::kDamaged;
    bytes->assign(sf::kMaxMasterSize + 1, 0);
    errno = 0;
    size_t got = std::fread(bytes->data(), 1, bytes->size(), fp);
    const bool failed = std::ferror(fp) != 0;
    if (failed) *err = errno != 0 ? errno : EIO;
    int32_t ignored = 0;
    close_save_mst_file(&fp, &ignored);
    bytes->resize(got);
    *code = 14;
    if (failed || got < sf::kRecordSize || got % sf::kRecordSize != 0 || got > sf::kMaxMasterSize) return Master::kDamaged;
    const int count = static_cast<uint16_t>(get_i16(bytes->data() + sf::kHdrCount));
    const int next = get_i16(bytes->data() + sf::kHdrNext);
    if (count > sf::kMaxCount || next < 0 || next > sf::kMaxSaveNo) return Master::kDamaged;
    *code = 0;
    return Master::kWhole;
}

unsigned char state_in(const std::vector<unsigned char>& master, int32_t no) {
    size_t at = sf::entry_offset(no) + sf::kEntState;
    return at < master.size() ? master[at] : sf::kStateFree;
}

// Lists marked "in use" by a run that is gone become used again.
void release_in_use_marks(const std::vector<unsigned char>& master) {
    std::vector<int32_t> marked;
    for (int32_t no = 1; no <= sf::kMaxSaveNo; ++no)
        if (state_in(master, no) == sf::kStateInUse) marked.push_back(no);
    if (marked.empty()) return;
    std::FILE* fp = nullptr;
    int32_t err = 0;
    if (open_save_mst_file(kSaveUpdate, &fp, &err) != 0) return;
    const unsigned char used = sf::kStateUsed;
    bool ok = true;
    for (int32_t no : marked) {
        ok = std::fseek(fp, static_cast<long>(sf::entry_offset(no) + sf::kEntState), SEEK_SET) == 0 &&
             std::fwrite(&used, 1, 1, fp) == 1;
        if (!ok) break;
    }
    if (ok) {
        close_save_mst_file(&fp, &err);
    } else if (atomic_is_staged(fp)) {
        atomic_close(fp, false, &err);
    } else {
        close_save_mst_file(&fp, &err);
    }
}

// Save data files whose number the master holds no list under. A save or
// delete that was interrupted leaves none (the journal of its commit names
// the file, and the sweep of the folder finished it): such a file is a list
// the master lost, and stays where it is (no lister shows it, and no new
// list takes its number) with one error-log line naming it.
void report_unlisted_data(const std::string& master_dir, const std::vector<unsigned char>& master) {
    std::vector<int32_t> unlisted;
    plat::FindData found;
    const std::string pattern = master_dir + "\\" + sf::kDataPrefix + "????" + sf::kDataSuffix;
    int32_t h = plat::find_first(pattern, &found);
    if (h == 0) return;
    const size_t prefix = std::strlen(sf::kDataPrefix);
    do {
        if ((found.attributes & plat::kAttrDirectory) != 0) continue;
        int32_t no = 0;
        bool digits = found.name.size() == prefix + 4 + std::strlen(sf::kDataSuffix);
        for (size_t i = prefix; digits && i < prefix + 4; ++i) {
            char c = found.name[i];
            digits = c >= '0' && c <= '9';
            no = no * 10 + (c - '0');
        }
        if (!digits || no < 1) continue;
        unsigned char s = state_in(master, no);
        if (s != sf::kStateUsed && s != sf::kStateInUse) unlisted.push_back(no);
    } while (plat::find_next(h, &found));
    plat::find_close(h);
    std::sort(unlisted.begin(), unlisted.end());
    for (int32_t no : unlisted) {
        char path[kPathSize] = {};
        if (make_save_dat_file_name(no, path) != 0) continue;
        syerr_message(kModule, kSavedLists, path, 14, no, 1);
    }
}

// The folder's identity (device and inode), false when it cannot be told.
bool folder_id(const std::string& win_dir, dev_t* dev, ino_t* ino) {
    auto host = win_dir.empty() ? std::nullopt : plat::host_path(win_dir);
    struct stat st;
    if (!host || ::stat(host->c_str(), &st) != 0) return false;
    *dev = st.st_dev;
    *ino = st.st_ino;
    return true;
}

}  // namespace

bool other_run_alive() {
    struct Folder {
        dev_t dev;
        ino_t ino;
    };
    std::vector<Folder> folders;
    for (size_t at : {ctop::kWorkDir, ctop::kMasterDir}) {
        Folder f{};
        if (folder_id(ctop_dir(at), &f.dev, &f.ino)) folders.push_back(f);
    }
    if (folders.empty()) return true;
    // The system's table of locks: "1: FLOCK  ADVISORY  READ 1234 fe:00:5678 0 EOF"
    // (a run waiting for a lock has "->" before FLOCK).
    std::FILE* fp = std::fopen("/proc/locks", "r");
    if (fp == nullptr) return true;
    const long self = static_cast<long>(::getpid());
    bool other = false;
    char line[256];
    while (!other && std::fgets(line, sizeof line, fp) != nullptr) {
        const char* at = std::strstr(line, "FLOCK ");
        if (at == nullptr) continue;
        char kind[16], type[16];
        long pid = 0;
        unsigned maj = 0, min = 0;
        unsigned long long ino = 0;
        if (std::sscanf(at, "FLOCK %15s %15s %ld %x:%x:%llu", kind, type, &pid, &maj, &min, &ino) != 6) continue;
        if (pid == self) continue;
        for (const Folder& f : folders)
            if (major(f.dev) == maj && minor(f.dev) == min && static_cast<unsigned long long>(f.ino) == ino)
                other = true;
    }
    std::fclose(fp);
    return other;
}

void release_run_marks() {
    for (int fd : g_marks) ::close(fd);
    g_marks.clear();
}

void remove_dead_runs_leftovers() {
    release_run_marks();
    const std::string work = ctop_dir(ctop::kWorkDir);
    const std::string master = ctop_dir(ctop::kMasterDir);
    const bool work_alone = mark_folder(work);
    // One folder for both is marked once: a second lock of this run's own
    // would see the first.
    const bool same = !work.empty() && plat::host_path(work) == plat::host_path(master);
    const bool master_alone = same ? work_alone : mark_folder(master);

    // Temporaries of the files rewritten in the program folder (the
    // environment file, the screen file), by whatever process they were left.
    std::string home = plat::current_directory();
    char program[kPathSize] = {};
    if (get_path_name(kPathProgram, -1, program) != 0) program[0] = '\0';
    if (home.size() >= 2 && home[1] == ':') sweep_stale_temporaries(home.c_str());
    if (program[0] != '\0' && plat::host_path(program) != plat::host_path(home))
        sweep_stale_temporaries(program);

    // What follows belongs to a run; only with none other running is every
    // one of them a dead run's.
    if (work_alone && !work.empty() && !journal_pending(work)) file_remove(work.c_str(), "*.TMP");
    if (!master_alone || master.empty()) return;
    // A running set-up holds the master folder: a data set being built is
    // then a dead run's.
    remove_building_leftovers();
    sweep_stale_temporaries(master.c_str());
    // A commit of the lists that could not be finished is logged by the
    // sweep; the lists are accounted for once it is.
    if (journal_pending(master)) return;
    std::vector<unsigned char> bytes;
    int32_t code = 0, err = 0;
    switch (read_master(&bytes, &code, &err)) {
        case Master::kDamaged: {
            char path[kPathSize] = {};
            if (make_save_mst_file_name(path) != 0) std::snprintf(path, sizeof path, "%s", sf::kMasterName);
            syerr_message(kModule, kSavedLists, path, code, err, 2);
            return;
        }
        case Master::kWhole: release_in_use_marks(bytes); break;
        case Master::kMissing: bytes.clear(); break;
    }
    report_unlisted_data(master, bytes);
}

}  // namespace pxall
