// The row table: one or more rows per car name, one per item of its
// description.
#include <cstring>

#include "pxall/blocks.h"
#include "pxall/cdrom.h"
#include "pxall/errlog.h"
#include "pxall/wrap.h"
#include "vcat_state.h"

namespace pxvcat {

State& state() {
    static State s;
    return s;
}

namespace {

void put_numbers(unsigned char* r, const unsigned char* rec, int32_t read_index, int32_t own_index, int32_t line,
                 int32_t lines) {
    std::memcpy(r + row::kCatalog, rec + shamei::kCatalog, row::kCatalogSize);
    pxall::put_i32(r + row::kReadIndex, read_index);
    pxall::put_i32(r + row::kOwnIndex, own_index);
    pxall::put_i32(r + row::kLine, line);
    pxall::put_i32(r + row::kLines, lines);
}

}  // namespace

bool has_row(const unsigned char* code, int32_t read_index) {
    const State& s = state();
    for (int32_t i = 0; i < s.count; ++i)
        if (std::memcmp(s.rows[i] + row::kCatalog, code, row::kCatalogSize) == 0 &&
            pxall::get_i32(s.rows[i] + row::kReadIndex) == read_index)
            return true;
    return false;
}

TableResult tblset(const unsigned char* rec, int32_t read_index) {
    State& s = state();
    // The catalogue's own CD: the set-up entry of the reading entry's area
    // with the record's CD number.
    const unsigned char* read_entry = pxall::setup_entry_addr(read_index);
    if (read_entry == nullptr) return kStored;
    int own = pxall::setuped_cdno2_to_cdno1(static_cast<char>(read_entry[pxall::setup_entry::kName]), nullptr,
                                            reinterpret_cast<const char*>(rec + shamei::kCdNo));
    if (own < 0) return kStored;

    const char* desc = reinterpret_cast<const char*>(rec + shamei::kDescription);
    const int desc_len = static_cast<int>(shamei::kDescriptionSize);
    char item[row::kItemSize];
    int32_t pos = 0, items = 0;
    while (items < desc_len && pxall::memory_edit_2_n_data(desc, desc_len, item, row::kItemSize, &pos) == 0) ++items;
    const int32_t lines = items == 0 ? 1 : items;

    if (s.count + lines > kMaxRows) {
        pxall::syerr_message(kModule, "tblset", "Area over", s.count, lines, 1);
        return kFull;
    }

    unsigned char* r = s.rows[s.count];
    std::memset(r, ' ', row::kSize);
    std::memcpy(r + row::kCarName, rec + shamei::kCarName, row::kCarNameSize);
    std::memcpy(r + row::kDateFrom, rec + shamei::kFrom, row::kDateSize);
    std::memcpy(r + row::kDateTo, rec + shamei::kTo, row::kDateSize);
    std::memcpy(r + row::kField, rec + shamei::kField, row::kFieldSize);
    std::memcpy(r + row::kCdNo, rec + shamei::kCdNo, row::kCdNoSize);
    r[row::kBrand] = rec[shamei::kBrand];
    put_numbers(r, rec, read_index, own, 0, lines);
    if (items == 0) {
        ++s.count;
        return kStored;
    }
    pos = 0;
    for (int32_t line = 0; line < items; ++line) {
        if (pxall::memory_edit_2_n_data(desc, desc_len, item, row::kItemSize, &pos) != 0) break;
        r = s.rows[s.count];
        // A continuation row carries only the code, the numbers and its item.
        if (line > 0) std::memset(r, ' ', row::kSize);
        std::memcpy(r + row::kItem, item, row::kItemSize);
        put_numbers(r, rec, read_index, own, line, lines);
        ++s.count;
    }
    return kStored;
}

}  // namespace pxvcat
