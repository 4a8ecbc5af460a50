// The clock the libraries read. Tests fix it; a fixed clock moves only when
// someone sleeps, so waits that poll the clock end at once in tests.
#pragma once

#include <cstdint>
#include <ctime>

#include "platform/export.h"

namespace plat {

// Local calendar time now (the fixed time when one is set).
PX_EXPORT std::tm local_now();
// Seconds since the epoch now.
PX_EXPORT int64_t now_seconds();
// Fixes the clock at a local time given by its fields; unfix_clock() returns
// to the real clock.
PX_EXPORT void fix_clock(int year, int month, int day, int hour, int minute, int second);
PX_EXPORT void unfix_clock();
// Waits; under a fixed clock it advances the clock instead.
PX_EXPORT void sleep_ms(int32_t ms);

}  // namespace plat
