// The local-price selection list and LCPSEL.TMP.
#include <cstring>

#include "pxall/errlog.h"
#include "pxall/selection.h"
#include "selection_file.h"

namespace pxall {

namespace {

ItemList g_lcp{};  // the process's local-price selection list

constexpr const char* kModule = "PXSUBF23";
constexpr selimpl::LogSite kReadSite{kModule, "VBReadLcpselTmp", 2310};
constexpr selimpl::LogSite kWriteSite{kModule, "VBWriteLcpselTmp", 2320};
constexpr selimpl::LogSite kClearSite{"PXSUBF24", "clear_lcpsel_tmp", 2400};
constexpr int32_t kPlaceSetAdd = 2330;

LcpTmpItem* new_item(ItemList* list) {
    return static_cast<LcpTmpItem*>(AddItem(list, static_cast<int>(sizeof(LcpTmpItem))));
}

void fill_record(unsigned char* rec, const ItemLinks* link) {
    const auto* it = reinterpret_cast<const LcpTmpItem*>(link);
    std::memcpy(rec + selfile::lcp::kFigure, it->figure, selfile::lcp::kFigureSize);
    std::memcpy(rec + selfile::lcp::kPart, it->part, selfile::lcp::kPartSize);
    std::memcpy(rec + selfile::lcp::kQty, it->qty, selfile::lcp::kQtySize);
    rec[selfile::lcp::kKind] = static_cast<unsigned char>(it->kind);
}

bool add_record(ItemList* list, const unsigned char* rec) {
    LcpTmpItem* it = new_item(list);
    if (it == nullptr) return false;
    it->kind = rec[selfile::lcp::kKind];
    std::memcpy(it->figure, rec + selfile::lcp::kFigure, sizeof it->figure);
    std::memcpy(it->part, rec + selfile::lcp::kPart, sizeof it->part);
    std::memcpy(it->qty, rec + selfile::lcp::kQty, sizeof it->qty);
    return true;
}

}  // namespace

int InitLcpTmp() {
    g_lcp = ItemList{};
    return 0;
}

void TermLcpTmp() { AllDeleteItem(&g_lcp); }

ItemList* GetPtrLcpTmp() { return &g_lcp; }

int SetLcpTmp(const char* part, const char* qty, const char* figure) {
    if (g_lcp.count >= kMaxLcpTmp) return 1;
    LcpTmpItem* it = new_item(&g_lcp);
    if (it == nullptr) {
        syerr_message(kModule, "SetLcpTmp", "AddItem", 20, 0, kPlaceSetAdd);
        return 20;
    }
    it->kind = 1;
    std::memcpy(it->figure, figure, sizeof it->figure);
    std::memcpy(it->part, part, sizeof it->part);
    std::memcpy(it->qty, qty, sizeof it->qty);
    return 0;
}

LcpTmpItem* SearchLcpTmp(const char* figure, const char* part) {
    for (ItemLinks* l = g_lcp.first; l != nullptr; l = l->next) {
        auto* it = reinterpret_cast<LcpTmpItem*>(l);
        if (std::memcmp(it->figure, figure, sizeof it->figure) == 0 &&
            std::memcmp(it->part, part, sizeof it->part) == 0)
            return it;
    }
    return nullptr;
}

void DelLcpTmp(const char* figure, const char* part) {
    if (LcpTmpItem* it = SearchLcpTmp(figure, part)) DeleteItem(&g_lcp, it);
}

int read_lcpsel_tmp(unsigned char* buf, int32_t* err) { return selimpl::read_image(selfile::kLcpselName, buf, err); }

int write_lcpsel_tmp(const unsigned char* buf, int32_t* err) {
    return selimpl::write_image(selfile::kLcpselName, buf, err);
}

int clear_lcpsel_tmp() { return selimpl::clear_image(write_lcpsel_tmp, "write_lcpsel_tmp", kClearSite); }

}  // namespace pxall

extern "C" {

int32_t VBClearLcpTmp() {
    pxall::TermLcpTmp();
    return 0;
}

int16_t VBGetNumLcpTmp() { return static_cast<int16_t>(pxall::GetPtrLcpTmp()->count); }

int32_t VBClearLcpselTmp() { return pxall::clear_lcpsel_tmp(); }

int32_t VBWriteLcpselTmp() {
    return pxall::selimpl::write_list(pxall::selfile::kLcpselName, pxall::GetPtrLcpTmp(), pxall::fill_record,
                                      pxall::kWriteSite);
}

int32_t VBReadLcpselTmp() {
    return pxall::selimpl::read_list(pxall::selfile::kLcpselName, pxall::GetPtrLcpTmp(), pxall::add_record,
                                     pxall::kReadSite);
}
}
