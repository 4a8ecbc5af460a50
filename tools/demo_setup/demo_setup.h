// Installs a demo written by write_demo_media as a dealer installs his
// catalogue: the set-up library copies CD E1 whole and the master files of
// CD E2 (read from its CD), sets up the world frame numbers from CD EF,
// imports the dealer's price files (KAKAKU into C:\MST, PRICE3 into the
// price directory P:\MST, the one in force) and his local parts with their
// pictures.
#pragma once

#include <string>

namespace pxdemo {

// Runs in `folder`/c/PXDROM with the demo's drive table, the CD requests
// answered by loading the next CD into drive E: (which holds E2 again at the
// end, as the drive table has it). Returns "" or what failed.
std::string install_demo_through_setup(const std::string& folder);

}  // namespace pxdemo
