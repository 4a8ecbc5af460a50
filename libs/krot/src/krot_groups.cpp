// The user part-group route: the group code typed on the search-route
// screen, the group list and the group's part-name-code entry screen.
#include <cstring>

#include "krot/krot.h"
#include "krot/search_route_layout.h"
#include "krot_internal.h"
#include "pxall/blocks.h"
#include "pxall/groups.h"

using namespace pxkrot;

namespace {
constexpr size_t kCodeSize = 3;
constexpr size_t kNameSize = 60;
constexpr const char* kAllGroups = "***";
}  // namespace

extern "C" int32_t VBKgrlSetGroupCode(const char* code) {
    unsigned char* blk = pxall::get_cnexta_addr();
    if (blk == nullptr) return 0;
    take_field(reinterpret_cast<char*>(blk + pxall::cnexta::kGroupCode), code, kCodeSize);
    return 0;
}

extern "C" int32_t VBKgrlLoad(int16_t* status) {
    int16_t dummy = 0;
    if (status == nullptr) status = &dummy;
    *status = 0;
    unsigned char* blk = pxall::get_cnexta_addr();
    if (blk == nullptr) return fail_logged(kModGroups, "VBKgrlLoad", "get_cnexta_addr", 128, 0, 1);
    char code[kCodeSize + 1] = {};
    std::memcpy(code, blk + pxall::cnexta::kGroupCode, kCodeSize);

    VBRemakeGpFile();  // a file it cannot make shows up in the read below
    // The table is read afresh: a second load must not add the groups again.
    VBTermGrpTmp();
    int16_t count = 0;
    int32_t r = VBread_group_file(&count);
    if (r != 0) return fail_logged(kModGroups, "VBKgrlLoad", "VBread_group_file", r, 0, 2);
    if (count == 0) {
        *status = 1;
        return 0;
    }
    if (std::memcmp(code, kAllGroups, kCodeSize) == 0) return 0;
    const unsigned char* g = pxall::search_grptmp(code);
    if (g == nullptr) {
        *status = 2;
        return 0;
    }
    std::memcpy(blk + pxall::cnexta::kGroupName, g + pxall::grpitem::kName, kNameSize);
    return 0;
}

extern "C" int32_t VBKgrlSelectGroup(int32_t list, int16_t* status) {
    int16_t dummy = 0;
    if (status == nullptr) status = &dummy;
    *status = 0;
    const int32_t n = list_count(list);
    int32_t line = -1;
    for (int32_t i = 0; i < n && line < 0; ++i)
        if (list_selected(list, i)) line = i;
    unsigned char* blk = pxall::get_cnexta_addr();
    if (line < 0 || blk == nullptr) {
        *status = 1;
        return 0;
    }
    std::string text = list_line(list, line, grpline::kName + grpline::kNameSize);
    std::memcpy(blk + pxall::cnexta::kGroupCode, text.data() + grpline::kCode, grpline::kCodeSize);
    std::memcpy(blk + pxall::cnexta::kGroupName, text.data() + grpline::kName, grpline::kNameSize);
    return 0;
}

extern "C" int32_t VBKgrpGetGroup(VbString* code, VbString* name) {
    const unsigned char* blk = pxall::get_cnexta_addr();
    if (blk == nullptr) return 0;
    give_string(code, reinterpret_cast<const char*>(blk + pxall::cnexta::kGroupCode), kCodeSize);
    give_string(name, reinterpret_cast<const char*>(blk + pxall::cnexta::kGroupName), kNameSize);
    return 0;
}
