// The selection list and SELECT.TMP.
#include <cstring>

#include "pxall/errlog.h"
#include "pxall/selection.h"
#include "selection_file.h"

namespace pxall {

namespace {

ItemList g_sel{};  // the process's selection list

constexpr const char* kModule = "PXSUBF21";
constexpr selimpl::LogSite kReadSite{kModule, "VBReadSelectTmp", 2110};
constexpr selimpl::LogSite kWriteSite{kModule, "VBWriteSelectTmp", 2120};
constexpr selimpl::LogSite kClearSite{"PXSUBF20", "clear_select_tmp", 2000};
constexpr int32_t kPlaceSetAdd = 2130;

SelTmpItem* new_item(ItemList* list) {
    return static_cast<SelTmpItem*>(AddItem(list, static_cast<int>(sizeof(SelTmpItem))));
}

void fill_record(unsigned char* rec, const ItemLinks* link) {
    const auto* it = reinterpret_cast<const SelTmpItem*>(link);
    std::memcpy(rec + selfile::sel::kCode, it->code, selfile::sel::kCodeSize);
    std::memcpy(rec + selfile::sel::kQty, it->qty, selfile::sel::kQtySize);
    rec[selfile::sel::kKind] = static_cast<unsigned char>(it->kind);
}

bool add_record(ItemList* list, const unsigned char* rec) {
    SelTmpItem* it = new_item(list);
    if (it == nullptr) return false;
    it->kind = rec[selfile::sel::kKind];
    std::memcpy(it->qty, rec + selfile::sel::kQty, sizeof it->qty);
    std::memset(it->code, ' ', sizeof it->code);
    std::memcpy(it->code, rec + selfile::sel::kCode, it->kind == 0 ? 6 : sizeof it->code);
    return true;
}

}  // namespace

int InitSelTmp() {
    g_sel = ItemList{};
    return 0;
}

void TermSelTmp() { AllDeleteItem(&g_sel); }

ItemList* GetPtrSelTmp() { return &g_sel; }

int SetSelTmp(const char* code, const char* qty) {
    if (g_sel.count >= kMaxSelTmp) return 1;
    SelTmpItem* it = new_item(&g_sel);
    if (it == nullptr) {
        syerr_message(kModule, "SetSelTmp", "AddItem", 20, 0, kPlaceSetAdd);
        return 20;
    }
    if (code[6] != ' ') {
        it->kind = 1;
        std::memcpy(it->code, code, sizeof it->code);
    } else {
        it->kind = 0;
        std::memcpy(it->code, code, 6);
        std::memset(it->code + 6, ' ', 6);
    }
    std::memcpy(it->qty, qty, sizeof it->qty);
    return 0;
}

SelTmpItem* SearchSelTmp(const char* code) {
    for (ItemLinks* l = g_sel.first; l != nullptr; l = l->next) {
        auto* it = reinterpret_cast<SelTmpItem*>(l);
        if (std::memcmp(it->code, code, sizeof it->code) == 0) return it;
    }
    return nullptr;
}

void DelSelTmp(const char* code) {
    if (SelTmpItem* it = SearchSelTmp(code)) DeleteItem(&g_sel, it);
}

int read_select_tmp(unsigned char* buf, int32_t* err) { return selimpl::read_image(selfile::kSelectName, buf, err); }

int write_select_tmp(const unsigned char* buf, int32_t* err) {
    return selimpl::write_image(selfile::kSelectName, buf, err);
}

int clear_select_tmp() { return selimpl::clear_image(write_select_tmp, "write_select_tmp", kClearSite); }

}  // namespace pxall

extern "C" {

int32_t VBClearSelTmp() {
    pxall::TermSelTmp();
    return 0;
}

int16_t VBGetNumSelTmp() { return static_cast<int16_t>(pxall::GetPtrSelTmp()->count); }

int32_t VBClearSelectTmp() { return pxall::clear_select_tmp(); }

int32_t VBWriteSelectTmp() {
    return pxall::selimpl::write_list(pxall::selfile::kSelectName, pxall::GetPtrSelTmp(), pxall::fill_record,
                                      pxall::kWriteSite);
}

int32_t VBReadSelectTmp() {
    return pxall::selimpl::read_list(pxall::selfile::kSelectName, pxall::GetPtrSelTmp(), pxall::add_record,
                                     pxall::kReadSite);
}
}
