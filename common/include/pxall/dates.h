// Dates and waits on the platform clock, so tests can fix the time.
//
// Two-digit years: below 51 is 20yy, 51 and above 19yy.
#pragma once

#include <cstdint>

#include "platform/export.h"

namespace pxall {

// Waits until n seconds have passed on the clock (at once for n below 1).
PX_EXPORT void timer(int n);
// Today as "CCYYMMDD" into 8 bytes, no terminator; the century follows the
// two-digit year rule.
PX_EXPORT void date2(char* out);
// Now as "HHMMSS" into 6 bytes, no terminator.
PX_EXPORT void time2(char* out);
// The 2-character year as a number into *year (leading blanks skipped, read
// up to the first non-digit; "  " is 0); returns 2 when it is below 51, else 1.
PX_EXPORT int check_2000(const char* yy, int* year);
// Months of a 4-character year-month "YYMM": year x 12 + month, the year
// taken as 1yy (100 + yy) when check_2000 gives 2; 0 when year and month are
// both 0 (a blank date).
PX_EXPORT int32_t ad2i(const char* yymm);

}  // namespace pxall
