// The demo's vehicle and picks as the screens before the parts list leave
// them, for the tests that open later screens directly.
#pragma once

#include <filesystem>

namespace pxtest {

// The identified vehicle: the sedan's first frame model, made in January
// 2021, petrol 1.4, in the installed catalogue data set E1.
void identify_demo_vehicle();

// Three part-name codes picked on the oil pump figure, in the selection
// file of the work folder.
void pick_demo_parts(const std::filesystem::path& work);

}  // namespace pxtest
