// The dealer's price files and the local-price master (layout in
// price_layout.h): keyed files of the catalogue files' shape with a block
// size and a binary index of their own, opened through a 128-byte master.
//
// Results as the keyed catalogue files (keyed_file.h); hdread reports a short
// index block as 14 and a short data block as 11.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/keyed_file.h"

namespace pxall {

namespace prd {  // detail numbers
constexpr int kMasterPath = 50;
constexpr int kKeyTooLong = 55;
constexpr int kBadMode = 59;
}  // namespace prd

// The kind of price file a handle reads.
constexpr int kPriceKakaku = 1;
constexpr int kPricePrice3 = 2;

// Opens the keyed file whose data entry is the 11-character id (mode 2: the
// price master, 3: the local-price master): 0; -1 when the master or a file is
// missing, the id differs or the file is empty; 11, 14, 20; 128 with 59 for
// another mode, 50 when the master's path cannot be built.
PX_EXPORT int hdopen(const char* id, int mode, CdHandle** out, int* detail);
// Forgets the key and rewinds: 0, 128 without a handle.
PX_EXPORT int hdropen(CdHandle* h);
// Closes and frees; *h cleared. Always 0.
PX_EXPORT int hdclose(CdHandle** h);
// As cdread for one record: 0, -1, 11, 14, 15, 128 (55 key too long).
PX_EXPORT int hdread(void* rec, const char* key, int key_len, CdHandle* h, int* detail);
// The two steps of hdread.
PX_EXPORT int hd_search_index(CdHandle* h, int* detail);
PX_EXPORT int hd_search_data(void* rec, CdHandle* h, int* detail);

// The price file: KAKAKU first (unless skip), PRICE3 when KAKAKU is missing.
PX_EXPORT int kakaku_open(int skip, CdHandle** out, int* detail);
PX_EXPORT int kakaku_reopen(CdHandle* h);
// The 50-byte price entry of a part number; with PRICE3 price_kind 0-2 picks
// the price (another kind leaves it blank).
PX_EXPORT int kakaku_read(void* entry, const char* key, int key_len, int price_kind, CdHandle* h, int* detail);
PX_EXPORT int kakaku_close(CdHandle** h);
// Whether a price file can be opened: the open's result.
PX_EXPORT int kakaku_check();
// The kind of an open price handle: kPriceKakaku or kPricePrice3 (0 otherwise).
PX_EXPORT int kakaku_kind(const CdHandle* h);

}  // namespace pxall
