// The inquiry screens' byte fields and record files: the shell's fixed text
// services (shell/fixed_text.h), by their names in this area.
#pragma once

#include "shell/fixed_text.h"

namespace px::inquiry {
using namespace px::text;
}  // namespace px::inquiry
