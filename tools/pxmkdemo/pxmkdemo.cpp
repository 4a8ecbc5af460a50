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

int main(int argc, char** argv) {
    const bool setup = argc == 3 && std::strcmp(argv[1], "--setup") == 0;
    if (argc != 2 && !setup) {
        std::fprintf(stderr, "usage: pxmkdemo [--setup] <folder>\n");
        return 2;
    }
    const std::string folder = argv[argc - 1];
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
