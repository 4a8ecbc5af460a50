// pxenvcheck <installation folder>: opens the catalogue environment of an
// installation the way the program does, reports what it found, and closes
// it again, checking that no work file is left behind.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/drives.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/drom.h"
#include "pxall/errlog.h"
#include "pxall/texts.h"

namespace {

std::string field(const unsigned char* p, size_t width) {
    size_t n = 0;
    while (n < width && p[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(p), n);
}

std::string scr(int no) {
    const char* t = pxall::get_scr_text(no);
    return t ? std::string(t) : std::string("(none)");
}

void print_log() {
    char path[pxall::kErrorLogPathSize];
    if (!pxall::error_log_path(path)) return;
    std::FILE* fp = plat::fopen(path, "rt");
    if (fp == nullptr) return;
    std::printf("Error log:\n");
    char line[512];
    while (plat::fgets_text(line, sizeof line, fp)) std::printf("  %s", line);
    std::fclose(fp);
}

int count_work_files(const std::string& work) {
    plat::FindData fd;
    int32_t h = plat::find_first(work + "\\*.TMP", &fd);
    if (h == 0) return 0;
    int n = 1;
    while (plat::find_next(h, &fd)) ++n;
    plat::find_close(h);
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '-') {
        const bool asked = argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0);
        std::fprintf(asked ? stdout : stderr, "usage: %s <installation folder>\n", argv[0]);
        return asked ? 0 : 2;
    }
    std::string folder = argv[1];
    std::string error;
    if (!plat::load_drive_table(folder + "/PXDRIVES.SYS", &error)) {
        std::fprintf(stderr, "drive table: %s\n", error.c_str());
        return 1;
    }
    if (!plat::set_current_directory(folder)) {
        std::fprintf(stderr, "cannot enter %s\n", folder.c_str());
        return 1;
    }
    std::printf("Installation %s (current directory %s)\n", folder.c_str(), plat::current_directory().c_str());
    int32_t rc = drom_init();
    if (rc != 0) {
        std::printf("Start-up failed with %d\n", rc);
        print_log();
        return 1;
    }
    const unsigned char* top = pxall::get_ctop_addr();
    using namespace pxall::ctop;
    std::printf("Menu language %s, data language %s, current area %d\n", field(top + kMenuLangCode, 3).c_str(),
                field(top + kDataLangCode, 3).c_str(), pxall::get_i32(top + kAreaIndex));
    std::printf("Work directory     %s\n", field(top + kWorkDir, kDirSize).c_str());
    std::printf("Master directory   %s\n", field(top + kMasterDir, kDirSize).c_str());
    std::printf("Program files      %s\n", field(top + kProgramDir, kDirSize).c_str());
    std::printf("Prices             %s\n", field(top + kPriceDir, kDirSize).c_str());
    std::printf("Local prices       %s\n", field(top + kLocalPriceDir, kDirSize).c_str());
    std::printf("CD drives:");
    for (int i = 0; i < top[kDriveCount] && i < kMaxDrives; ++i) {
        std::string drive = field(top + kDrives + 2 * i, 2);
        std::string label;
        if (plat::volume_label(drive + "\\", &label))
            std::printf(" %s [%s]", drive.c_str(), label.c_str());
        else
            std::printf(" %s [no disc]", drive.c_str());
    }
    std::printf("\nInstalled data sets: %d\n", pxall::get_i32(top + kSetupCount));
    for (int i = 0; i < pxall::get_i32(top + kSetupCount) && i < kMaxSetup; ++i) {
        const unsigned char* e = pxall::setup_entry_addr(i);
        std::printf("  %.2s  CD %.2s  dated %.8s  %s\n", e, e + 2, e + 4,
                    e[pxall::setup_entry::kPictureFlag] ? "with illustrations" : "");
    }
    std::printf("Texts: %d messages, %d screen texts; title \"%s\"\n", pxall::get_i16(top + kMsgCount),
                pxall::get_i16(top + kScrCount), scr(1000).c_str());
    for (int i = 1001; i <= 1008; ++i) std::printf("  menu %d: %s\n", i - 1000, scr(i).c_str());
    std::printf("Menu check: item 1 -> %d, item 5 -> %d\n", drom_check_setup(1), drom_check_setup(5));

    std::string work = field(top + kWorkDir, kDirSize);
    std::printf("Work files while open: %d\n", count_work_files(work));
    drom_term();
    int left = count_work_files(work);
    std::printf("Work files after close: %d\n", left);
    print_log();
    return left == 0 ? 0 : 1;
}
