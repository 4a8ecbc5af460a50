// The price file of the price inquiry: KAKAKU or PRICE3, handed on as the
// 50-byte price entry.
#include <cstring>

#include "keyed_handle.h"
#include "pxall/price_file.h"
#include "pxall/price_layout.h"

namespace pxall {

namespace {
namespace pl = price;
constexpr int kPriceMode = 2;
}  // namespace

int kakaku_open(int skip, CdHandle** out, int* detail) {
    if (!skip) {
        int r = hdopen(pl::kKakakuId, kPriceMode, out, detail);
        if (r != -1) return r;
    }
    return hdopen(pl::kPrice3Id, kPriceMode, out, detail);
}

int kakaku_reopen(CdHandle* h) { return hdropen(h); }

int kakaku_close(CdHandle** h) { return hdclose(h); }

int kakaku_kind(const CdHandle* h) {
    if (h == nullptr) return 0;
    return h->kind == kKakakuFile ? kPriceKakaku : h->kind == kPrice3File ? kPricePrice3 : 0;
}

int kakaku_read(void* entry, const char* key, int key_len, int price_kind, CdHandle* h, int* detail) {
    if (entry == nullptr) return 128;
    uint8_t rec[pl::kPrice3RecLen] = {};
    if (h != nullptr && h->rec_len > static_cast<int32_t>(sizeof rec)) {
        set_detail(detail, cdd::kBadRecordLength);
        return 128;
    }
    int r = hdread(rec, key, key_len, h, detail);
    if (r != 0) return r;
    auto* out = static_cast<uint8_t*>(entry);
    std::memset(out, ' ', pl::entry::kSize);
    if (h->kind == kPrice3File) {
        std::memcpy(out + pl::entry::kPartNo, rec + pl::price3::kPartNo, pl::kKeySize);
        if (price_kind >= 0 && price_kind <= 2)
            std::memcpy(out + pl::entry::kPrice, rec + pl::price3::kPrice1 + 8 * price_kind, pl::entry::kPriceSize);
        std::memcpy(out + pl::entry::kField, rec + pl::price3::kField, pl::price3::kFieldSize);
        std::memcpy(out + pl::entry::kName, rec + pl::price3::kName, pl::price3::kNameSize);
    } else {
        std::memcpy(out, rec, pl::entry::kSize);
    }
    return 0;
}

int kakaku_check() {
    CdHandle* h = nullptr;
    int detail = 0;
    int r = kakaku_open(0, &h, &detail);
    if (r == 0) kakaku_close(&h);
    return r;
}

}  // namespace pxall
