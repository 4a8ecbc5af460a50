// The keyed price files (layout in pxall/price_layout.h, shared with the
// price reader and the data-set builder): padding the data file to whole
// blocks, one index level at a time, the index file, and the master.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/files.h"
#include "pxall/errlog.h"
#include "pxall/paths.h"
#include "pxall/price_layout.h"
#include "price_setup.h"
#include "stup_internal.h"

namespace pxstup {

namespace {

namespace pl = pxall::price;
constexpr const char* kModule = "PXSTUP90";

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

int64_t file_size(const std::string& path) {
    std::FILE* fp = plat::fopen(path, "rb");
    if (fp == nullptr) return -1;
    std::fseek(fp, 0, SEEK_END);
    long n = std::ftell(fp);
    std::fclose(fp);
    return n;
}

}  // namespace

int stup_user_mst_entry(const char* id, const std::string& data_path) {
    int kind = -1;
    for (int k = 0; k < 2; ++k)
        if (std::memcmp(kRows[k][0].name, id, pl::kIdSize) == 0) kind = k;
    if (kind < 0) return kPriceNoData;
    const Row* rows = kRows[kind];
    const int64_t per_block = rows[1].block / rows[1].rec_len;
    const int64_t s = file_size(data_path);
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

int stup_user_d_file(const std::string& data_path, int32_t block) {
    const char* fn = "stup_user_d_file";
    std::FILE* fp = plat::fopen(data_path, "ab+");
    if (fp == nullptr) {
        pxall::syerr_message(kModule, fn, data_path.c_str(), 11, errno, 43);
        return -1;
    }
    if (std::fseek(fp, 0, SEEK_END) != 0) {
        pxall::syerr_message(kModule, fn, "Handle Error", 0, errno, 51);
        std::fclose(fp);
        return -1;
    }
    long len = std::ftell(fp);
    int ok = 0;
    if (len % block != 0) {
        std::vector<uint8_t> zeros(static_cast<size_t>(block - len % block), 0);
        if (!put_bytes(fp, data_path, zeros.data(), zeros.size())) ok = errno == ENOSPC ? kPriceDiskFull : -1;
    }
    if (std::fclose(fp) != 0 && ok == 0) ok = errno == ENOSPC ? kPriceDiskFull : -1;
    // A full disk is the screen's to say; other failures are logged.
    if (ok == -1) pxall::syerr_message(kModule, fn, "fwrite", 13, errno, 67);
    return ok;
}

int stup_user_tmp_file(const std::string& in_path, const std::string& out_path, int32_t item_len, int32_t block) {
    const char* fn = "stup_user_tmp_file";
    std::vector<char> in_buf, out_buf;  // outlive the streams
    std::FILE* in = plat::fopen(in_path, "rb");
    buffer_stream(in, in_buf);
    if (in == nullptr) {
        pxall::syerr_message(kModule, fn, in_path.c_str(), 11, errno, 115);
        return -1;
    }
    std::FILE* out = plat::fopen(out_path, "wb+");
    buffer_stream(out, out_buf);
    if (out == nullptr) {
        pxall::syerr_message(kModule, fn, out_path.c_str(), 11, errno, 122);
        std::fclose(in);
        return -1;
    }
    std::vector<uint8_t> buf(static_cast<size_t>(block));
    const int32_t per_block = block / item_len;
    const int32_t entries_per_block = block / pl::kIndexEntrySize;
    int64_t n = 0;
    int result = 0;
    while (std::fread(buf.data(), 1, buf.size(), in) == buf.size()) {
        int32_t count = 0;
        while (count < per_block && buf[static_cast<size_t>(count) * item_len] != 0) ++count;
        // A block without a record names no key; the data's order is
        // checked before the index is built, so this cannot happen there.
        const uint8_t* last = buf.data() + static_cast<size_t>(count > 0 ? count - 1 : 0) * item_len;
        uint8_t e[pl::kIndexEntrySize] = {};
        std::memcpy(e, last, pl::kKeySize);
        put_u32(e + pl::kIndexBlock, static_cast<uint32_t>(n));
        put_u16(e + pl::kIndexCount, 1);
        if (!put_bytes(out, out_path, e, sizeof e)) {
            if (errno == ENOSPC) {
                result = kPriceDiskFull;
                break;
            }
            pxall::syerr_message(kModule, fn, out_path.c_str(), 13, errno, 146);
            result = -1;
            break;
        }
        ++n;
    }
    if (result == 0 && n == 0) {
        pxall::syerr_message(kModule, fn, "No Data", 0, 0, 161);
        result = -1;
    }
    if (result == 0 && n % entries_per_block != 0) {
        std::vector<uint8_t> zeros(static_cast<size_t>(block - (n % entries_per_block) * pl::kIndexEntrySize), 0);
        if (!put_bytes(out, out_path, zeros.data(), zeros.size())) {
            result = errno == ENOSPC ? kPriceDiskFull : -1;
            if (result == -1) pxall::syerr_message(kModule, fn, out_path.c_str(), 13, errno, 171);
        }
    }
    std::fclose(in);
    if (std::fclose(out) != 0 && result == 0) {
        result = errno == ENOSPC ? kPriceDiskFull : -1;
        if (result == -1) pxall::syerr_message(kModule, fn, out_path.c_str(), 13, errno, 171);
    }
    if (result != 0) return result;
    return n <= entries_per_block ? 1 : 0;
}

int stup_user_ia(const std::string& base, int32_t block, const std::string& index_path, int32_t* detail) {
    std::FILE* out = plat::fopen(index_path, "wb");
    if (out == nullptr) {
        *detail = errno;
        return 11;
    }
    std::vector<uint8_t> buf(static_cast<size_t>(block));
    int found = 0;
    for (int level = 1; level <= 3; ++level) {
        char name[pxall::kPathSize + 8];
        std::snprintf(name, sizeof name, "%s%s%d", base.c_str(), ".TM", level);
        if (!plat::file_exists(name)) continue;
        std::FILE* in = plat::fopen(name, "rb");
        if (in == nullptr) {
            *detail = level;
            std::fclose(out);
            return 11;
        }
        size_t got;
        while ((got = std::fread(buf.data(), 1, buf.size(), in)) > 0) {
            ++found;
            if (!put_bytes(out, index_path, buf.data(), got)) {
                *detail = errno;
                std::fclose(in);
                std::fclose(out);
                return *detail == ENOSPC ? kPriceDiskFull : 13;
            }
        }
        std::fclose(in);
    }
    if (std::fclose(out) != 0) {
        *detail = errno;
        return errno == ENOSPC ? kPriceDiskFull : 13;
    }
    if (found == 0) return 128;
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
