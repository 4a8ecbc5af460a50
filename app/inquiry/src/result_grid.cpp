#include "inquiry/result_grid.h"

#include "shell/codepage.h"
#include "shell/grid.h"

namespace px::inquiry {

void set_result_font(Grid* grid) {
    grid->set_font_name(oem_font_name(), 12);
}

void set_col_widths(Grid* grid, std::initializer_list<int> tenths) {
    int w = grid->char_width();
    int col = 0;
    for (int t : tenths) grid->set_col_width(col++, (t / 10) * w + (t % 10 != 0 ? w / 2 : 0));
}

}  // namespace px::inquiry
