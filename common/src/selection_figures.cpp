// The selected-figure list and its copy in the next-screen block.
#include <cstring>

#include "pxall/blocks.h"
#include "pxall/errlog.h"
#include "pxall/selection.h"

namespace pxall {

namespace {

ItemList g_fgn{};  // the process's selected-figure list

constexpr const char* kModule = "PXSUBF22";
constexpr int32_t kPlaceSet = 2210;
constexpr int32_t kPlaceRead = 2220;
constexpr size_t kFigureBytes = 4 * static_cast<size_t>(cnexta::kMaxFigures);

SelFgnItem* add_figure(const char* figure) {
    auto* it = static_cast<SelFgnItem*>(AddItem(&g_fgn, static_cast<int>(sizeof(SelFgnItem))));
    if (it != nullptr) std::memcpy(it->figure, figure, sizeof it->figure);
    return it;
}

}  // namespace

int init_selfgn() {
    g_fgn = ItemList{};
    return 0;
}

void term_selfgn() { AllDeleteItem(&g_fgn); }

ItemList* get_selfgn() { return &g_fgn; }

int16_t get_num_selfgn() { return static_cast<int16_t>(g_fgn.count); }

int set_selfgn(const char* figure) {
    if (g_fgn.count >= kMaxSelFgn) return 1;
    if (add_figure(figure) == nullptr) {
        syerr_message(kModule, "set_selfgn", "AddItem", 20, 0, kPlaceSet);
        return 20;
    }
    return 0;
}

SelFgnItem* search_selfgn(const char* figure) {
    for (ItemLinks* l = g_fgn.first; l != nullptr; l = l->next) {
        auto* it = reinterpret_cast<SelFgnItem*>(l);
        if (std::memcmp(it->figure, figure, sizeof it->figure) == 0) return it;
    }
    return nullptr;
}

void del_selfgn(const char* figure) {
    if (SelFgnItem* it = search_selfgn(figure)) DeleteItem(&g_fgn, it);
}

}  // namespace pxall

extern "C" {

int32_t VBset_selfgn(const char* figure) { return pxall::set_selfgn(figure); }

int32_t VBdel_selfgn(const char* figure) {
    pxall::del_selfgn(figure);
    return 0;
}

int32_t VBcheck_selfgn(const char* figure) { return pxall::search_selfgn(figure) != nullptr ? 1 : 0; }

int32_t VBread_figno() {
    using namespace pxall;
    unsigned char* blk = get_cnexta_addr();
    if (blk == nullptr) return 0;
    int count = get_i16(blk + cnexta::kFigureCount);
    // The block holds 100 slots; a larger count is never read past them.
    if (count > cnexta::kMaxFigures) count = cnexta::kMaxFigures;
    for (int i = 0; i < count; ++i) {
        if (add_figure(reinterpret_cast<const char*>(blk + cnexta::kFigures + 4 * static_cast<size_t>(i))) ==
            nullptr) {
            syerr_message(kModule, "VBread_figno", "AddItem", 20, 0, kPlaceRead);
            return 20;
        }
    }
    return 0;
}

int32_t VBwrite_figno(int16_t* count) {
    using namespace pxall;
    unsigned char* blk = get_cnexta_addr();
    int16_t n = 0;
    if (blk != nullptr) {
        std::memset(blk + cnexta::kFigures, 0, kFigureBytes);
        for (ItemLinks* l = g_fgn.first; l != nullptr && n < cnexta::kMaxFigures; l = l->next, ++n)
            std::memcpy(blk + cnexta::kFigures + 4 * static_cast<size_t>(n), reinterpret_cast<SelFgnItem*>(l)->figure,
                        4);
        put_i16(blk + cnexta::kFigureCount, n);
    }
    if (count != nullptr) *count = n;
    return 0;
}

int32_t VBclear_figno() {
    using namespace pxall;
    if (unsigned char* blk = get_cnexta_addr()) {
        std::memset(blk + cnexta::kFigures, 0, kFigureBytes);
        put_i16(blk + cnexta::kFigureCount, 0);
    }
    term_selfgn();
    return 0;
}
}
