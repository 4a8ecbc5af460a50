// The group work table and the exports that edit it in memory.
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "groups_internal.h"
#include "platform/controls.h"
#include "pxall/errlog.h"
#include "pxall/group_layout.h"
#include "pxall/text_cut.h"

namespace pxall {

namespace grp {

namespace {
ItemList g_table{};
}  // namespace

ItemList& table() { return g_table; }

void pad_field(char* field, const char* text, size_t width) {
    std::memset(field, ' ', width);
    if (text == nullptr) return;
    size_t n = strnlen(text, width);
    std::memcpy(field, text, n);
}

unsigned char* find(const char* code) {
    char key[grpfile::kCodeLen];
    pad_field(key, code, sizeof key);
    for (ItemLinks* it = g_table.first; it != nullptr; it = it->next) {
        unsigned char* data = item_data(it);
        if (std::memcmp(data + grpitem::kCode, key, sizeof key) == 0) return data;
    }
    return nullptr;
}

std::string group_line(const unsigned char* group) {
    std::string line = "  ";
    line.append(reinterpret_cast<const char*>(group + grpitem::kCode), grpfile::kCodeLen);
    line.append(5, ' ');
    line.append(reinterpret_cast<const char*>(group + grpitem::kName), grpfile::kNameLen);
    return line;
}

std::string pnc_line(const char* pnc6, const char* name60) {
    std::string line(pnc6, grpfile::kPncLen);
    line.append(2, ' ');
    line.append(name60, grpfile::kNameLen);
    return line;
}

}  // namespace grp

unsigned char* search_grptmp(const char* code) { return grp::find(code); }

}  // namespace pxall

using namespace pxall;

extern "C" int32_t VBInitGrpTmp() {
    // The screens free the table first (VBTermGrpTmp); this only starts afresh.
    grp::table() = ItemList{};
    return 0;
}

extern "C" int32_t VBTermGrpTmp() {
    AllDeleteItem(&grp::table());
    return 0;
}

extern "C" int16_t VBGetGrpNum() { return static_cast<int16_t>(grp::table().count); }

extern "C" int32_t VBMakeListGrpMei(int32_t hwnd) {
    plat::Control* box = plat::control(hwnd);
    if (box == nullptr) return 0;
    for (ItemLinks* it = grp::table().first; it != nullptr; it = it->next) box->lb_add(grp::group_line(item_data(it)));
    return 0;
}

extern "C" int32_t VBGetGrpName(const char* code, VbString* name) {
    const unsigned char* group = grp::find(code);
    if (group == nullptr) return 0;
    if (name != nullptr && name->data != nullptr && name->len > 0) {
        put_text_field(name->data, std::min(static_cast<size_t>(name->len), grpfile::kNameLen),
                       std::string_view(reinterpret_cast<const char*>(group + grpitem::kName), grpfile::kNameLen), ' ');
    }
    return 1;
}

extern "C" int32_t VBSetGrpCd(const char* code, const char* name) {
    unsigned char* group = grp::find(code);
    if (group == nullptr) {
        if (grp::table().count >= grpfile::kMaxGroups) return 1;
        void* item = AddItem(&grp::table(), static_cast<int>(kItemDataOffset + grpitem::kSize));
        if (item == nullptr) {
            syerr_message(grp::kModuleTable, "VBSetGrpCd", "AddItem", 20, 0, 1);
            return 20;
        }
        group = item_data(item);
        grp::pad_field(reinterpret_cast<char*>(group + grpitem::kCode), code, grpfile::kCodeLen);
        group[grpitem::kCode + grpfile::kCodeLen] = ' ';
        std::memset(group + grpitem::kSlots, ' ', grpfile::kRecordSize);
    }
    // A name longer than its field loses the character that would not fit
    // whole; the byte after the field's length tells.
    const std::string_view given =
        name == nullptr ? std::string_view() : std::string_view(name, strnlen(name, grpfile::kNameLen + 1));
    put_text_field(reinterpret_cast<char*>(group + grpitem::kName), grpfile::kNameLen, given, ' ');
    return 0;
}

extern "C" int32_t VBDelGrpCd(const char* code) {
    unsigned char* group = grp::find(code);
    if (group != nullptr) DeleteItem(&grp::table(), group - kItemDataOffset);
    return 0;
}

extern "C" int32_t VBCheckGrpCd(const char* code) { return grp::find(code) != nullptr ? 1 : 0; }

extern "C" int32_t VBDelGrpPnc(int32_t hwnd, const char* code) {
    unsigned char* group = grp::find(code);
    plat::Control* box = plat::control(hwnd);
    if (group == nullptr || box == nullptr) return 0;
    auto* work = static_cast<unsigned char*>(std::malloc(grpfile::kRecordSize));
    if (work == nullptr) {
        syerr_message(grp::kModuleTable, "VBDelGrpPnc", "malloc", 20, 0, 1);
        return 20;
    }
    std::memcpy(work, group + grpitem::kSlots, grpfile::kRecordSize);
    constexpr int kLast = grpfile::kCodesPerGroup - 1;
    int32_t i = 0;
    while (i < box->lb_count()) {
        if (box->lb_get_sel(i) <= 0) {
            ++i;
            continue;
        }
        std::string text;
        box->lb_text(i, &text);
        // A line that will not go would be met again at the same index.
        if (box->lb_delete(i) == plat::kLbErr) {
            ++i;
            continue;
        }
        char key[grpfile::kPncLen];
        std::memset(key, ' ', sizeof key);
        std::memcpy(key, text.data(), std::min(text.size(), sizeof key));
        for (int s = 0; s <= kLast; ++s) {
            unsigned char* slot = work + static_cast<size_t>(s) * grpfile::kPncLen;
            if (std::memcmp(slot, key, sizeof key) != 0) continue;
            std::memmove(slot, slot + grpfile::kPncLen, static_cast<size_t>(kLast - s) * grpfile::kPncLen);
            std::memset(work + static_cast<size_t>(kLast) * grpfile::kPncLen, ' ', grpfile::kPncLen);
            break;
        }
    }
    std::memcpy(group + grpitem::kSlots, work, grpfile::kRecordSize);
    std::free(work);
    return 0;
}
