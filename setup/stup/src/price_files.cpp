// The keyed price files (layout in pxall/price_layout.h, shared with the
// price reader and the data-set builder): the master's entries, the index
// levels built in memory over the data, and the master file.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/files.h"
#include "pxall/price_layout.h"
#include "price_setup.h"
#include "stup_internal.h"

namespace pxstup {

namespace {

namespace pl = pxall::price;

// The built-in table: per kind the data row, then index levels 1-3.
struct Row {
    const char* name;
    int32_t rec_len;
    int32_t block;
};
constexpr Row kRows[2][4] = {
    {{"KAKAKU  D  ", pl::kKakakuRecLen, pl::kKakakuBlock},
     {"KAKAKU  IA1", pl::kIndexEntrySize, pl::kKakakuBlock},
     {"KAKAKU  IA2", pl::kIndexEntrySize, pl::kKakakuBlock},
     {"KAKAKU  IA3", pl::kIndexEntrySize, pl::kKakakuBlock}},
    {{"PRICE3  D  ", pl::kPrice3RecLen, pl::kPrice3Block},
     {"PRICE3  IA1", pl::kIndexEntrySize, pl::kPrice3Block},
     {"PRICE3  IA2", pl::kIndexEntrySize, pl::kPrice3Block},
     {"PRICE3  IA3", pl::kIndexEntrySize, pl::kPrice3Block}},
};

uint8_t g_master[pl::kMasterSize];

void put_u16(uint8_t* p, uint32_t v) {
    p[0] = v & 0xff;
    p[1] = (v >> 8) & 0xff;
}
void put_u32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = (v >> (8 * i)) & 0xff;
}

void fill_entry(uint8_t* e, const Row& r, bool data) {
    std::memset(e, 0, pl::pment::kSize);
    std::memcpy(e + pl::pment::kId, r.name, pl::kIdSize);
    e[pl::pment::kFileNo] = pl::kFileNo;
    e[pl::pment::kMask] = data ? pl::kDataMask : pl::kIndexMask;
    e[pl::pment::kKeyLen] = pl::kKeySize;
    e[pl::pment::kKeyOff] = 0;
    e[pl::pment::kFlag] = pl::kFlag;
    put_u16(e + pl::pment::kBlockSize, static_cast<uint32_t>(r.block));
    put_u16(e + pl::pment::kRecLen, static_cast<uint32_t>(r.rec_len));
    e[pl::pment::kClass] = pl::kClass;
}

// One index level over `below`, items of item_len packed from each block's
// first byte (a zero first byte ends a block's items): an entry a block,
// keyed by its last item, the level padded to a whole block.
void index_level(const uint8_t* below, size_t size, int32_t item_len, int32_t block, std::vector<uint8_t>* level) {
    const size_t blocks = size / static_cast<size_t>(block);
    const int32_t per_block = block / item_len;
    const size_t entries_per_block = static_cast<size_t>(block / pl::kIndexEntrySize);
    const size_t padded = (blocks + entries_per_block - 1) / entries_per_block * static_cast<size_t>(block);
    level->assign(padded, 0);
    for (size_t b = 0; b < blocks; ++b) {
        const uint8_t* p = below + b * static_cast<size_t>(block);
        int32_t count = 0;
        while (count < per_block && p[static_cast<size_t>(count) * item_len] != 0) ++count;
        // A block without a record names no key; the data's order is
        // checked before the index is built, so this cannot happen there.
        const uint8_t* last = p + static_cast<size_t>(count > 0 ? count - 1 : 0) * item_len;
        uint8_t* e = level->data() + b * pl::kIndexEntrySize;
        std::memcpy(e + pl::kIndexKey, last, pl::kKeySize);
        put_u32(e + pl::kIndexBlock, static_cast<uint32_t>(b));
        put_u16(e + pl::kIndexCount, 1);
    }
}

}  // namespace

size_t stup_data_limit(int32_t block) {
    const size_t per_block = static_cast<size_t>(block / pl::kIndexEntrySize);
    return per_block * per_block * static_cast<size_t>(block);
}

int stup_user_mst_entry(const char* id, int64_t s) {
    int kind = -1;
    for (int k = 0; k < 2; ++k)
        if (std::memcmp(kRows[k][0].name, id, pl::kIdSize) == 0) kind = k;
    if (kind < 0) return kPriceNoData;
    const Row* rows = kRows[kind];
    const int64_t per_block = rows[1].block / rows[1].rec_len;
    if (s <= 0 || s % rows[0].rec_len != 0) return kPriceNoData;
    const int64_t d = (s + rows[0].block - 1) / rows[0].block;
    const int64_t l1 = (d + per_block - 1) / per_block;
    const int64_t l2 = l1 > 1 ? (l1 + per_block - 1) / per_block : 0;
    if (l2 > 1) return kPriceNoData;  // a third level would be needed

    std::memset(g_master, 0, sizeof g_master);
    uint8_t* top = g_master;
    uint8_t* second = g_master + pl::pment::kSize;
    uint8_t* data = g_master + pl::kDataEntry * pl::pment::kSize;
    fill_entry(top, rows[1], false);
    fill_entry(second, rows[2], false);
    fill_entry(g_master + 2 * pl::pment::kSize, rows[3], false);
    fill_entry(data, rows[0], true);
    put_u32(data + pl::pment::kBlocks, static_cast<uint32_t>(d));
    if (l2 == 0) {
        put_u32(top + pl::pment::kBlocks, static_cast<uint32_t>(l1));
        top[pl::pment::kLevels] = 1;
        data[pl::pment::kLevels] = 1;
    } else {
        put_u32(top + pl::pment::kBlocks, static_cast<uint32_t>(l2));
        top[pl::pment::kLevels] = 1;
        put_u32(second + pl::pment::kBlocks, static_cast<uint32_t>(l1));
        put_u32(second + pl::pment::kFirstBlock, static_cast<uint32_t>(l2));
        second[pl::pment::kLevels] = 2;
        data[pl::pment::kLevels] = 2;
    }
    return 0;
}

int stup_user_index(const uint8_t* data, size_t size, int32_t rec_len, int32_t block, std::vector<uint8_t>* index) {
    const size_t entries_per_block = static_cast<size_t>(block / pl::kIndexEntrySize);
    if (size < static_cast<size_t>(block)) return -1;
    index_level(data, size, rec_len, block, index);
    // The level next to the data; the one above it when it needs more than
    // one block, top level first.
    if (size / static_cast<size_t>(block) > entries_per_block) {
        std::vector<uint8_t> top;
        index_level(index->data(), index->size(), pl::kIndexEntrySize, block, &top);
        index->insert(index->begin(), top.begin(), top.end());
    }
    return 0;
}

int stup_user_mst_file(const std::string& master_path, int32_t* detail) {
    plat::delete_file(master_path);
    std::FILE* fp = plat::fopen(master_path, "wb+");
    if (fp == nullptr) {
        *detail = 1;
        return 11;
    }
    bool ok = put_bytes(fp, master_path, g_master, 96);
    if (!ok) *detail = 1;
    if (ok && !put_bytes(fp, master_path, g_master + 96, 32)) {
        ok = false;
        *detail = 2;
    }
    if (std::fclose(fp) != 0 && ok) {
        ok = false;
        *detail = 2;
    }
    return ok ? 0 : 13;
}

}  // namespace pxstup
