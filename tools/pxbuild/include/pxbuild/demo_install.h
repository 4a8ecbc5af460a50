// The whole demo installation in one folder:
//
//   c/                     drive C: (fixed)
//     PXDROM/              the program's folder: PXDROM.SYS, PXDRIVES.SYS
//       PRG/  WORK/        program files (ECFIL) and work files (ECRAM)
//     MST/                 master directory (ECMST); PRICE.MST, KAKAKU.D,
//                          KAKAKU.IA (PRICE=C: names the same folder)
//       E1/                catalogue CD E1 copied whole
//       E2/                catalogue CD E2, master files only: its files are
//                          read from the CD, its car names, vehicles and names
//                          shared with E1
//     FRW/EF/              frame-number data set (FRKATA) from CD E1
//     FRJ/                 Japan frame-number directory, empty
//   cd/E1/, cd/E2/         the two catalogue CDs; E2 is in drive E: (cdrom)
#pragma once

#include <string>

namespace pxbuild {

struct DemoSummary {
    int catalogs = 0;
    int part_numbers = 0;
    int vehicles = 0;
};

// Writes (or rewrites) the demo below `folder`. Throws BuildError.
DemoSummary write_demo(const std::string& folder);

}  // namespace pxbuild
