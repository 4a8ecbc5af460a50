// The demo's user part groups: a few groups a workshop keeps for its
// everyday jobs, written as the two group files of the master directory.
#pragma once

#include <string>

namespace pxbuild::demo {

// Writes PXGRPMEI.D and PXGRPPNC.D into the host folder of the master
// directory. The part-name codes are codes of the demo catalogues' part-name
// file. Throws std::runtime_error when a file cannot be written.
void write_demo_groups(const std::string& master_dir);

// Number of groups written, for the builder's summary.
int demo_group_count();

}  // namespace pxbuild::demo
