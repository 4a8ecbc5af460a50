// What the result grids of the inquiry screens share: the grid font (the
// Japanese one under code page 932, else Courier, 12 point) and column
// widths given in characters of that font, with half characters.
#pragma once

#include <initializer_list>

namespace px {
class Grid;
}

namespace px::inquiry {

void set_result_font(Grid* grid);
// Column widths in tenths of a character: 25 is 2.5 characters, a half
// character being the character width divided by 2, remainder dropped.
void set_col_widths(Grid* grid, std::initializer_list<int> tenths);

}  // namespace px::inquiry
