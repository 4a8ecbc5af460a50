// pxmkdemo <folder>: writes the demo installation (catalogue CDs as folders,
// installed data sets, prices, environment file and drive table).
#include <cstdio>
#include <exception>

#include "pxbuild/demo_install.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: pxmkdemo <folder>\n");
        return 2;
    }
    try {
        pxbuild::DemoSummary s = pxbuild::write_demo(argv[1]);
        std::printf("demo written to %s: %d catalogues, %d vehicles, %d part numbers\n", argv[1], s.catalogs, s.vehicles,
                    s.part_numbers);
        std::printf("start the program in %s/c/PXDROM (drive table PXDRIVES.SYS there)\n", argv[1]);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pxmkdemo: %s\n", e.what());
        return 1;
    }
}
