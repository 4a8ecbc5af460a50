// pxmkdemo [--setup] <folder>: writes the demo installation (catalogue CDs as
// folders, the dealer's price and local-parts files, the program folder with
// its environment file and drive table). By default the builder installs
// the data sets, prices and local parts itself; with --setup the set-up
// library installs them from the CDs and the dealer's files, as at a dealer.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "demo_setup.h"
#include "pxbuild/demo_install.h"

namespace {

constexpr const char* kUsage =
    "usage: pxmkdemo [--setup] <folder>\n"
    "  writes the demo installation into <folder>; with --setup the set-up\n"
    "  library installs it from the demo's CDs and dealer files\n";

}  // namespace

int main(int argc, char** argv) {
    // One folder, perhaps after --setup; anything else that looks like an
    // option is one we do not know, never a folder to write into.
    bool setup = false;
    const char* folder_arg = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--setup") == 0 && !setup) {
            setup = true;
        } else if (argv[i][0] != '-' && argv[i][0] != '\0' && folder_arg == nullptr) {
            folder_arg = argv[i];
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (folder_arg == nullptr) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string folder = folder_arg;
    try {
        pxbuild::DemoSummary s = setup ? pxbuild::write_demo_media(folder) : pxbuild::write_demo(folder);
        if (setup) {
            std::string error = pxdemo::install_demo_through_setup(folder);
            if (!error.empty()) {
                std::fprintf(stderr, "pxmkdemo: the set-up of the demo failed: %s\n", error.c_str());
                return 1;
            }
        }
        std::printf("demo written to %s%s: %d catalogues, %d vehicles, %d part numbers\n", folder.c_str(),
                    setup ? " and installed through the set-up" : "", s.catalogs, s.vehicles, s.part_numbers);
        std::printf("start the program in %s/c/PXDROM (drive table PXDRIVES.SYS there)\n", folder.c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pxmkdemo: %s\n", e.what());
        return 1;
    }
}
