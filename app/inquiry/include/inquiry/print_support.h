// What the inquiry printouts share: today's date as the printouts show it
// and the page number's form.
#pragma once

#include <QString>

namespace px::inquiry {

// Day, month and two-digit year of the clock: "dd/mm/yy".
QString print_date();
// The page number with leading zeros to three digits.
QString page_number(int page);

}  // namespace px::inquiry
