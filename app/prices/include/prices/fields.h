// The price and saved-list screens' byte fields, fixed-length strings and
// files: the shell's fixed text services (shell/fixed_text.h), by their names
// in this area.
#pragma once

#include "shell/fixed_text.h"

namespace px::prices {
using namespace px::text;
}  // namespace px::prices
