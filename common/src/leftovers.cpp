// What runs that ended without closing left behind (leftovers.h).
#include "pxall/leftovers.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

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
#include "pxall/fileutil.h"
#include "pxall/paths.h"
#include "pxall/savefile.h"
#include "pxall/setup_scan.h"

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

// The save master's bytes (header and entries), false when it cannot be read.
bool read_master(std::vector<unsigned char>* bytes) {
    std::FILE* fp = nullptr;
    int32_t err = 0;
    if (open_save_mst_file(kSaveRead, &fp, &err) != 0) return false;
    bytes->assign(sf::kMaxMasterSize, 0);
    size_t got = std::fread(bytes->data(), 1, bytes->size(), fp);
    bool ok = !std::ferror(fp) && got >= sf::kRecordSize;
    close_save_mst_file(&fp, &err);
    bytes->resize(got);
    return ok;
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

// Save data files whose number the master holds no list under: written by
// a save that was killed before its entry was marked.
void remove_unlisted_data(const std::string& master_dir, const std::vector<unsigned char>& master) {
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
    int32_t err = 0;
    for (int32_t no : unlisted) del_save_dat_file(no, &err);
}

}  // namespace

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
    std::vector<unsigned char> bytes;
    if (!read_master(&bytes)) return;
    release_in_use_marks(bytes);
    if (!journal_pending(master)) remove_unlisted_data(master, bytes);
}

}  // namespace pxall
