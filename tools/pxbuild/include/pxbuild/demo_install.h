// The whole demo installation in one folder:
//
//   c/                     drive C: (fixed)
//     PXDROM/              the program's folder: PXDROM.SYS, PXDRIVES.SYS
//       PRG/  WORK/        program files (ECFIL) and work files (ECRAM)
//     MST/                 master directory (ECMST); PRICE.MST, KAKAKU.D,
//                          KAKAKU.IA (a price directory on C:), the local
//                          parts LOCALPn.D/.IA with their pictures
//       E1/                catalogue CD E1 copied whole
//       E2/                catalogue CD E2, master files only: its files are
//                          read from the CD, its car names, vehicles and names
//                          shared with E1
//     FRW/EF/              frame-number data set (FRKATA) from CD EF
//     FRJ/                 Japan frame-number directory, empty
//   cd/E1/, cd/E2/         the two catalogue CDs (CD codes A1, A2); E2 is in
//                          drive E: (cdrom)
//   cd/EF/                 the world frame-number CD (CD code F1)
//   cd/E1-2023/            an earlier issue of E1, in drive F: (cdrom)
//   p/MST/                 PRICE.MST, PRICE3.D, PRICE3.IA (PRICE=P:)
//   dealer/                the dealer's price and local-parts files, in
//                          drive A: (removable)
#pragma once

#include <string>

namespace pxbuild {

struct DemoSummary {
    int catalogs = 0;
    int part_numbers = 0;
    int vehicles = 0;
};

// Writes (or rewrites) the demo below `folder`, the data sets, prices and
// local parts installed by the builder itself. Throws BuildError.
DemoSummary write_demo(const std::string& folder);

// Writes what the demo is installed from: the CDs, the dealer's files, the
// program folder with its environment file and drive table, the texts, part
// groups and saved lists; no data set, price or local part. Throws
// BuildError.
DemoSummary write_demo_media(const std::string& folder);

}  // namespace pxbuild
