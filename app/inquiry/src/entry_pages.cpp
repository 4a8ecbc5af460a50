#include "inquiry/entry_pages.h"

#include "inquiry/fixed_text.h"

namespace px::inquiry {

int32_t entry_block_end(const std::function<bool(int32_t)>& is_head, int32_t count, int32_t start, int32_t size) {
    // The first block is cut from `size` records on (a list of exactly 2000
    // gives two blocks), later ones only when records lie beyond the cut.
    bool cut_here = start == 0 ? count >= size : start + size < count;
    if (!cut_here) return count;
    int32_t cut = start + size;
    for (int32_t i = cut; i > start; --i)
        if (is_head(i)) return i;
    return cut;
}

std::vector<int32_t> entry_block_starts(const std::function<bool(int32_t)>& is_head, int32_t count, int32_t size) {
    std::vector<int32_t> starts;
    for (int32_t start = 0; start < count; start = entry_block_end(is_head, count, start, size)) starts.push_back(start);
    return starts;
}

bool starts_entry(const std::vector<std::string>& records, int32_t i) {
    if (i < 0 || static_cast<size_t>(i) >= records.size()) return false;
    return is_numeric(field(records[static_cast<size_t>(i)], 0, 2));
}

QString block_label(int32_t block, int32_t last_block) {
    QString pad(QString::number(block).size(), ' ');
    return pad + QString::number(block + 1) + "/" + pad + QString::number(last_block + 1);
}

}  // namespace px::inquiry
