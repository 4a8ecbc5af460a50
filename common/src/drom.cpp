// Start-up and shut-down of the catalogue environment.
#include "pxall/drom.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/commit_files.h"
#include "pxall/env.h"
#include "pxall/errlog.h"
#include "pxall/fileutil.h"
#include "pxall/keyed_file.h"
#include "pxall/leftovers.h"
#include "pxall/savefile.h"
#include "pxall/selection.h"
#include "pxall/setup_scan.h"
#include "pxall/texts.h"

namespace {

constexpr const char* kModule = "PXDROM";
constexpr int kHomeDirSize = 256;
constexpr size_t kSelectImageSize = 20000;

// The directory the program started in; drom_set_homedir returns to it.
char g_home[kHomeDirSize] = {};

void write_empty_select_tmp() {
    unsigned char* image = static_cast<unsigned char*>(std::calloc(1, kSelectImageSize));
    if (image == nullptr) {
        pxall::syerr_message(kModule, "select_tmp", "malloc", 20, static_cast<int32_t>(kSelectImageSize), 156);
        return;
    }
    int32_t err = 0;
    int rc = pxall::write_select_tmp(image, &err);
    if (rc != 0) pxall::syerr_message(kModule, "select_tmp", "write_select_tmp", rc, err, 156);
    std::free(image);
}

// Finishes rewrites a kill interrupted and removes the temporaries that
// processes no longer running left in the folders the system rewrites files in.
void sweep_user_folders() {
    const unsigned char* top = pxall::get_ctop_addr();
    if (top == nullptr) return;
    for (size_t at : {pxall::ctop::kMasterDir, pxall::ctop::kWorkDir, pxall::ctop::kPriceDir,
                      pxall::ctop::kLocalPriceDir}) {
        char dir[pxall::ctop::kDirSize + 1] = {};
        std::memcpy(dir, top + at, pxall::ctop::kDirSize);
        if (dir[0] != '\0') pxall::sweep_stale_temporaries(dir);
    }
}

}  // namespace

extern "C" int32_t drom_init() {
    // Without the shared area nothing below has anywhere to go: fail cleanly.
    if (pxall::set_table() != 0) {
        pxall::syerr_message(kModule, "pxdrom", "set_table", 20, 0, 0);
        return 20;
    }
    // The previous run's log goes first, so that this run's complaints about
    // the environment file survive a successful start.
    pxall::init_syerr_message();
    // What the keyed files keep in memory fits this machine.
    pxall::fit_kept_data_budget();
    pxall::kankyo_set();
    sweep_user_folders();
    pxall::remove_dead_runs_leftovers();

    int rc = pxall::set_msg();
    if (rc != 0) {
        pxall::syerr_message(kModule, "pxdrom", "Invalid or not found MESSAGE FILE", rc, 0, 0);
        pxall::free_msg();
        pxall::free_scr();
        pxall::free_table();
        return rc;
    }
    rc = pxall::set_scr();
    if (rc != 0) {
        pxall::syerr_message(kModule, "pxdrom", "Invalid or not found SCREEN FILE", rc, 0, 0);
        pxall::free_msg();
        pxall::free_scr();
        pxall::free_table();
        return rc;
    }
    write_empty_select_tmp();

    std::string cwd = plat::current_directory();
    std::memset(g_home, 0, sizeof g_home);
    std::memcpy(g_home, cwd.data(), std::min(cwd.size(), sizeof g_home - 1));
    return 0;
}

extern "C" void drom_term() {
    if (unsigned char* top = pxall::get_ctop_addr()) {
        char work[pxall::ctop::kDirSize + 1] = {};
        std::memcpy(work, top + pxall::ctop::kWorkDir, pxall::ctop::kDirSize);
        pxall::file_remove(work, "*.TMP");
    }
    pxall::drop_whole_files();
    pxall::release_run_marks();
    pxall::free_msg();
    pxall::free_scr();
    pxall::free_table();
}

extern "C" int32_t drom_set_homedir() { return plat::set_current_directory(g_home) ? 1 : 0; }

extern "C" int32_t drom_check_setup(int16_t item) {
    pxall::setuped_cd_check();
    const unsigned char* top = pxall::get_ctop_addr();
    if (top == nullptr || top[pxall::ctop::kSetupFlag] == 0) return 891;
    if (item != 5) return 0;
    int32_t count = 0, err = 0;
    int rc = pxall::check_save_dat_file_exist(&count, &err);
    if (rc == -1) return 876;
    if (rc == 0) return 0;
    pxall::syerr_message(kModule, "drom_check_setup", "check_save_dat_file_exist", rc, err, 807);
    return 999;
}

extern "C" int32_t drom_reset_com() {
    int32_t err = 0;
    int rc = pxall::reset_save_mst_flag(&err);
    if (rc != 0) pxall::syerr_message(kModule, "drom_reset_com", "reset_save_mst_flag", rc, err, 828);
    return rc;
}
