#include "pxbuild/keyed_writer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

#include "pxall/keyed_layout.h"

namespace pxbuild {

namespace kl = pxall::keyed;

namespace {

struct Entry {
    std::string key;
    int32_t first;
    int32_t count;
};

using Block = std::vector<const std::string*>;

const kl::FileDesc& row(int i) { return kl::file_table()[i]; }

std::string data_key(const kl::FileDesc& d, const std::string& rec) { return rec.substr(d.key_off, d.key_len); }

std::string index_key(const kl::FileDesc& data, int idx_key_len, const std::string& dkey) {
    char out[kl::kMaxKey];
    int n = kl::index_key_form(data.file_id, dkey.data(), static_cast<int>(dkey.size()), out);
    return std::string(out, std::min(n, idx_key_len));
}

void check_records(const kl::FileDesc& d, const std::vector<std::string>& records) {
    if (d.key_off + d.key_len > d.rec_len) throw BuildError(std::string(d.name) + ": key outside the record");
    for (const auto& r : records) {
        if (static_cast<int>(r.size()) != d.rec_len)
            throw BuildError(std::string(d.name) + ": record of " + std::to_string(r.size()) + " bytes, expected " +
                             std::to_string(d.rec_len));
        if (r[0] == '\0') throw BuildError(std::string(d.name) + ": a record may not begin with NUL");
    }
}

// Data blocks; with `align_len` > 0 a block never holds two different
// index keys (the first align_len bytes of the index form).
std::vector<Block> lay_out(const kl::FileDesc& d, int idx_key_len, const std::vector<std::string>& records, int per_block,
                           bool align) {
    int fit = kl::recs_per_block(d.rec_len);
    if (per_block <= 0 || per_block > fit) per_block = fit;
    std::vector<Block> blocks;
    std::string prev;
    for (const auto& r : records) {
        std::string k = align ? index_key(d, idx_key_len, data_key(d, r)) : std::string();
        if (blocks.empty() || static_cast<int>(blocks.back().size()) == per_block || (align && k != prev))
            blocks.emplace_back();
        blocks.back().push_back(&r);
        prev = k;
    }
    return blocks;
}

Bytes serialize(const std::vector<Block>& blocks, int rec_len) {
    Bytes out(blocks.size() * kl::kBlockSize, 0);
    for (size_t b = 0; b < blocks.size(); ++b)
        for (size_t i = 0; i < blocks[b].size(); ++i)
            std::memcpy(&out[b * kl::kBlockSize + i * rec_len], blocks[b][i]->data(), rec_len);
    return out;
}

void check_entry(const Entry& e) {
    if (e.first < 0 || e.first > kl::kIndexMaxBlock || e.count < 1 || e.count > kl::kIndexMaxCount)
        throw BuildError("index range does not fit its digits");
}

// Packs a level's entries into blocks and writes them.
std::vector<std::vector<Entry>> pack(const std::vector<Entry>& entries, int per_block) {
    std::vector<std::vector<Entry>> blocks;
    for (const auto& e : entries) {
        if (blocks.empty() || static_cast<int>(blocks.back().size()) == per_block) blocks.emplace_back();
        blocks.back().push_back(e);
    }
    return blocks;
}

Bytes serialize_level(const std::vector<std::vector<Entry>>& blocks, int key_len) {
    int rec = kl::index_rec_len(key_len);
    Bytes out(blocks.size() * kl::kBlockSize, 0);
    for (size_t b = 0; b < blocks.size(); ++b)
        for (size_t i = 0; i < blocks[b].size(); ++i) {
            const Entry& e = blocks[b][i];
            check_entry(e);
            uint8_t* p = &out[b * kl::kBlockSize + i * rec];
            std::memcpy(p, e.key.data(), key_len);
            char digits[kl::kIndexDigits + 1];
            std::snprintf(digits, sizeof digits, "%06d%03d", e.first, e.count);
            std::memcpy(p + key_len, digits, kl::kIndexDigits);
        }
    return out;
}

// The levels above the one next to the data, top first.
std::vector<Bytes> build_levels(std::vector<Entry> bottom, int key_len, int table_levels, const IndexShape& shape) {
    if (bottom.empty()) return {};
    int per_block = kl::kBlockSize / kl::index_rec_len(key_len);
    if (shape.index_entries_per_block > 0 && shape.index_entries_per_block < per_block)
        per_block = shape.index_entries_per_block;
    int min_levels = std::clamp(shape.levels > 0 ? shape.levels : table_levels, 1, kl::kMaxLevels);
    std::vector<std::vector<std::vector<Entry>>> levels;  // bottom first
    levels.push_back(pack(bottom, per_block));
    while (levels.back().size() > 1 || static_cast<int>(levels.size()) < min_levels) {
        if (static_cast<int>(levels.size()) == kl::kMaxLevels)
            throw BuildError("too many records for three index levels");
        std::vector<Entry> upper;
        const auto& below = levels.back();
        for (size_t b = 0; b < below.size(); ++b) upper.push_back({below[b].back().key, static_cast<int32_t>(b), 1});
        levels.push_back(pack(upper, per_block));
    }
    std::vector<Bytes> out;
    for (auto it = levels.rbegin(); it != levels.rend(); ++it) out.push_back(serialize_level(*it, key_len));
    return out;
}

bool has_index(const kl::FileDesc& d, const std::array<int, 3>& rows) {
    return d.key_len > 0 && d.level > 0 && row(rows[0]).rec_len > 0;
}

// The entries next to the data of a primary index.
std::vector<Entry> primary_entries(const kl::FileDesc& d, int idx_key_len, const std::vector<Block>& blocks, bool dense) {
    std::vector<Entry> out;
    for (size_t b = 0; b < blocks.size(); ++b) {
        std::string k = index_key(d, idx_key_len, data_key(d, *blocks[b].back()));
        if (dense && !out.empty() && out.back().key == k) {
            out.back().count++;
            continue;
        }
        out.push_back({k, static_cast<int32_t>(b), 1});
    }
    return out;
}

// The entries next to the data of a key set over data in another order.
std::vector<Entry> secondary_entries(const kl::FileDesc& d, int idx_key_len, const std::vector<Block>& blocks) {
    std::map<std::string, std::vector<int32_t>> where;
    for (size_t b = 0; b < blocks.size(); ++b)
        for (const auto* r : blocks[b]) {
            auto& v = where[index_key(d, idx_key_len, data_key(d, *r))];
            if (v.empty() || v.back() != static_cast<int32_t>(b)) v.push_back(static_cast<int32_t>(b));
        }
    std::vector<Entry> out;
    for (const auto& [key, list] : where)
        for (int32_t b : list) {
            if (!out.empty() && out.back().key == key && out.back().first + out.back().count == b &&
                out.back().count < kl::kIndexMaxCount)
                out.back().count++;
            else
                out.push_back({key, b, 1});
        }
    return out;
}

void sort_and_check(const kl::FileDesc& d, int idx_key_len, std::vector<std::string>& records) {
    std::stable_sort(records.begin(), records.end(), [&](const std::string& a, const std::string& b) {
        return data_key(d, a) < data_key(d, b);
    });
    std::string prev;
    for (const auto& r : records) {
        std::string k = index_key(d, idx_key_len, data_key(d, r));
        if (k < prev) throw BuildError(std::string(d.name) + ": index keys do not ascend at " + k);
        prev = k;
    }
}

}  // namespace

int find_row(std::string_view name, int key_set) {
    for (int i = 0; i < kl::kTableSize; ++i) {
        const auto& d = row(i);
        if (name != d.name) continue;
        if (d.key_sets > 1 && d.file_id != key_set) continue;
        return i;
    }
    throw BuildError("no descriptor row for " + std::string(name));
}

std::array<int, 3> index_rows(int data_row) {
    if (data_row == kl::kKatargFirst) return {data_row + 1, data_row + 2, data_row + 3};
    return {data_row - 3, data_row - 2, data_row - 1};
}

int32_t block_count(const Bytes& b) { return static_cast<int32_t>((b.size() + kl::kBlockSize - 1) / kl::kBlockSize); }

KeyedImage build_keyed(std::string_view data_name, std::vector<std::string> records, const IndexShape& shape) {
    int data_row = find_row(data_name);
    const auto& d = row(data_row);
    auto rows = index_rows(data_row);
    check_records(d, records);
    KeyedImage img;
    if (!has_index(d, rows)) {
        img.data = build_plain(d.rec_len, records, shape.records_per_block);
        return img;
    }
    int idx_key_len = row(rows[0]).key_len;
    sort_and_check(d, idx_key_len, records);
    bool dense = false;
    for (int r : rows) dense = dense || row(r).mask == kl::kMaskEqual;
    auto blocks = lay_out(d, idx_key_len, records, shape.records_per_block, dense);
    img.data = serialize(blocks, d.rec_len);
    img.levels = build_levels(primary_entries(d, idx_key_len, blocks, dense), idx_key_len, d.level, shape);
    return img;
}

MultiKeyImage build_jouhou(std::vector<std::string> records, const IndexShape& shape) {
    MultiKeyImage img;
    int a_row = find_row("JOUHOU.DAT", 1);
    const auto& a = row(a_row);
    check_records(a, records);
    int a_key_len = row(index_rows(a_row)[0]).key_len;
    sort_and_check(a, a_key_len, records);
    auto blocks = lay_out(a, a_key_len, records, shape.records_per_block, false);
    img.data = serialize(blocks, a.rec_len);
    img.indexes[0] = build_levels(primary_entries(a, a_key_len, blocks, false), a_key_len, a.level, shape);
    for (int set = 2; set <= 3; ++set) {
        int r = find_row("JOUHOU.DAT", set);
        int k = row(index_rows(r)[0]).key_len;
        img.indexes[set - 1] = build_levels(secondary_entries(row(r), k, blocks), k, row(r).level, shape);
    }
    return img;
}

Bytes build_plain(int rec_len, const std::vector<std::string>& records, int records_per_block) {
    if (rec_len <= 0) {
        Bytes out;
        for (const auto& r : records) out.insert(out.end(), r.begin(), r.end());
        out.resize(static_cast<size_t>(block_count(out)) * kl::kBlockSize, 0);
        return out;
    }
    int fit = kl::recs_per_block(rec_len);
    if (records_per_block <= 0 || records_per_block > fit) records_per_block = fit;
    std::vector<Block> blocks;
    for (const auto& r : records) {
        if (static_cast<int>(r.size()) != rec_len) throw BuildError("record of the wrong length");
        if (r[0] == '\0') throw BuildError("a record may not begin with NUL");
        if (blocks.empty() || static_cast<int>(blocks.back().size()) == records_per_block) blocks.emplace_back();
        blocks.back().push_back(&r);
    }
    return serialize(blocks, rec_len);
}

}  // namespace pxbuild
