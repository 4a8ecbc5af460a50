#include "pxbuild/price_writer.h"

#include <cstring>
#include <filesystem>

#include "pxall/price_layout.h"

namespace pr = pxall::price;

namespace pxbuild {

namespace {

struct KindInfo {
    const char* base;  // 8 characters, blank-padded
    int32_t rec_len;
    int32_t block;
    const char* master;
};

KindInfo info(PriceKind k) {
    switch (k) {
    case PriceKind::kKakaku: return {"KAKAKU  ", pr::kKakakuRecLen, pr::kKakakuBlock, pr::kPriceMaster};
    case PriceKind::kPrice3: return {"PRICE3  ", pr::kPrice3RecLen, pr::kPrice3Block, pr::kPriceMaster};
    case PriceKind::kLocal: return {"LOCALP  ", pr::kLocalRecLen, pr::kLocalBlock, pr::kLocalMaster};
    }
    throw BuildError("unknown price kind");
}

std::string dotted(const std::string& base8, const std::string& ext) {
    std::string name;
    for (char c : base8)
        if (c != ' ') name += c;
    return name + "." + ext;
}

// One index level over `input` made of items of item_len in blocks of
// block bytes: an entry for each block (key of its last item), padded to a
// whole block.
Bytes build_level(const Bytes& input, int32_t item_len, int32_t block) {
    Bytes out;
    int32_t per = block / item_len;
    size_t blocks = input.size() / block;
    for (size_t b = 0; b < blocks; ++b) {
        const uint8_t* p = &input[b * block];
        int32_t n = 0;
        while (n < per && p[n * item_len] != 0) ++n;
        if (n == 0) throw BuildError("a price block without records");
        uint8_t e[pr::kIndexEntrySize] = {};
        std::memcpy(e + pr::kIndexKey, p + (n - 1) * item_len, pr::kKeySize);
        put_u32(e + pr::kIndexBlock, static_cast<uint32_t>(b));
        put_u16(e + pr::kIndexCount, 1);
        out.insert(out.end(), e, e + pr::kIndexEntrySize);
    }
    int32_t entries_per_block = block / pr::kIndexEntrySize;
    size_t n = blocks % entries_per_block;
    if (n != 0) out.resize(out.size() + block - n * pr::kIndexEntrySize, 0);
    return out;
}

void put_entry(uint8_t* e, const std::string& name11, bool data, const KindInfo& k, int32_t blocks, int32_t first,
               int32_t rec_len, uint8_t levels) {
    std::memset(e, 0, pr::pment::kSize);
    std::memcpy(e + pr::pment::kId, name11.data(), pr::kIdSize);
    e[pr::pment::kFileNo] = pr::kFileNo;
    e[pr::pment::kMask] = data ? pr::kDataMask : pr::kIndexMask;
    e[pr::pment::kKeyLen] = pr::kKeySize;
    e[pr::pment::kKeyOff] = 0;
    e[pr::pment::kFlag] = pr::kFlag;
    put_u16(e + pr::pment::kBlockSize, static_cast<uint32_t>(k.block));
    put_u32(e + pr::pment::kBlocks, static_cast<uint32_t>(blocks));
    put_u32(e + pr::pment::kFirstBlock, static_cast<uint32_t>(first));
    put_u16(e + pr::pment::kRecLen, static_cast<uint32_t>(rec_len));
    e[pr::pment::kLevels] = levels;
    e[pr::pment::kClass] = pr::kClass;
}

}  // namespace

int32_t price_rec_len(PriceKind kind) { return info(kind).rec_len; }
int32_t price_block_size(PriceKind kind) { return info(kind).block; }

PriceImage build_price(PriceKind kind, const std::vector<std::string>& records) {
    KindInfo k = info(kind);
    if (records.empty()) throw BuildError("a price file needs records");
    std::string prev;
    for (const auto& r : records) {
        if (static_cast<int32_t>(r.size()) != k.rec_len) throw BuildError("price record of the wrong length");
        if (r[0] == '\0') throw BuildError("a price record may not begin with NUL");
        std::string key = r.substr(0, pr::kKeySize);
        if (!prev.empty() && key <= prev) throw BuildError("price keys must ascend: " + key);
        prev = key;
    }
    PriceImage img;
    std::string base(k.base);
    img.data_name = dotted(base, "D");
    img.index_name = dotted(base, "IA");
    img.master_name = k.master;

    int32_t per = k.block / k.rec_len;
    int32_t d = static_cast<int32_t>((records.size() + per - 1) / per);
    img.data.assign(static_cast<size_t>(d) * k.block, 0);
    for (size_t i = 0; i < records.size(); ++i)
        std::memcpy(&img.data[(i / per) * k.block + (i % per) * k.rec_len], records[i].data(), k.rec_len);

    int32_t e = k.block / pr::kIndexEntrySize;
    int32_t l1 = (d + e - 1) / e;
    int32_t l2 = l1 > 1 ? (l1 + e - 1) / e : 0;
    if (l2 > 1) throw BuildError("too many price records for two index levels");
    Bytes level1 = build_level(img.data, k.rec_len, k.block);
    if (l2 > 0) {
        Bytes level2 = build_level(level1, pr::kIndexEntrySize, k.block);
        img.index = level2;
        img.index.insert(img.index.end(), level1.begin(), level1.end());
    } else {
        img.index = level1;
    }

    img.master.assign(pr::kMasterSize, 0);
    uint8_t* m = img.master.data();
    if (l2 == 0) {
        put_entry(m, base + "IA1", false, k, l1, 0, pr::kIndexEntrySize, 1);
        put_entry(m + 32, base + "IA2", false, k, 0, 0, pr::kIndexEntrySize, 0);
    } else {
        put_entry(m, base + "IA1", false, k, l2, 0, pr::kIndexEntrySize, 1);
        put_entry(m + 32, base + "IA2", false, k, l1, l2, pr::kIndexEntrySize, 2);
    }
    put_entry(m + 64, base + "IA3", false, k, 0, 0, pr::kIndexEntrySize, 0);
    put_entry(m + 96, base + "D  ", true, k, d, 0, k.rec_len, l2 == 0 ? 1 : 2);
    return img;
}

void write_price(const std::string& host_dir, const PriceImage& img) {
    namespace fs = std::filesystem;
    write_file((fs::path(host_dir) / img.data_name).string(), img.data);
    write_file((fs::path(host_dir) / img.index_name).string(), img.index);
    write_file((fs::path(host_dir) / img.master_name).string(), img.master);
}

}  // namespace pxbuild
