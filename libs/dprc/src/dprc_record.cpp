#include <cstdio>
#include <cstring>

#include "dprc/price_inquiry_layout.h"
#include "dprc_internal.h"
#include "pxall/hinban.h"
#include "pxall/paths.h"
#include "pxall/price_layout.h"
#include "pxall/strutil.h"

namespace pxdprc {

namespace pe = pxall::price::entry;

int work_path(char* buf) {
    std::memset(buf, 0, pxall::kPathSize);
    std::snprintf(buf, pxall::kPathSize, "%s", kWorkName);
    return pxall::get_path_name(pxall::kPathWork, -1, buf);
}

int read_price(pxall::CdHandle* h, const char* part12, int32_t kind, char* entry, int* detail, const char** step) {
    *step = "kakaku_reopen";
    int r = pxall::kakaku_reopen(h);
    if (r != 0) return r;
    *step = "kakaku_read";
    return pxall::kakaku_read(entry, part12, pxall::kHinbanSize, kind, h, detail);
}

void edit_price(char* out, const char* entry) {
    std::memcpy(out, entry + pe::kPrice, rec::kPriceSize);
    pxall::erase_zero(out, static_cast<int>(rec::kPriceSize));
}

void make_record(char* out, int32_t line, const char* part12, const char* entry, bool found) {
    char num[16];
    std::snprintf(num, sizeof num, "%02d", static_cast<int>(line % 100));
    std::memcpy(out + rec::kLine, num, rec::kLineSize);
    pxall::edit_hinban14(out + rec::kPartNo, found ? entry + pe::kPartNo : part12);
    if (!found) {
        std::memset(out + rec::kPrice, rec::kUnknownFill, rec::kSize - rec::kPrice);
        return;
    }
    edit_price(out + rec::kPrice, entry);
    std::memcpy(out + rec::kField, entry + pe::kField, rec::kFieldSize);
    std::memcpy(out + rec::kField2, entry + pe::kField2, rec::kField2Size);
    std::memcpy(out + rec::kName, entry + pe::kName, rec::kNameSize);
}

}  // namespace pxdprc
