// The local-parts set-up: the three sets of locally supplied parts (layout
// in pxall/localp_layout.h, shared with the local-price reader) built from
// the dealer's files or merged into what is there, and the pictures of set
// 3 listed and copied into the local-price directory.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/csv.h"
#include "pxall/errlog.h"
#include "pxall/localp_layout.h"
#include "pxall/paths.h"
#include "stup/stup.h"
#include "stup_internal.h"

namespace pxstup {

namespace {

namespace lp = pxall::localp;
constexpr const char* kModule = "PXSTUP41";
constexpr int kLine = 256;
constexpr int kFixedRecord = 44;
// Record numbers and counts of an index entry are 16-bit.
constexpr int64_t kMaxRecords = 65535;
// A larger set is refused with the message that says so.
constexpr int kMsgTooManyRecords = 849;

struct Slot {
    int at, width;
};
struct SetDef {
    int nslots;
    Slot slots[9];
};
constexpr SetDef kSets[3] = {
    {5, {{0, 12}, {12, 12}, {24, 4}, {28, 4}, {32, 30}}},
    {6, {{0, 6}, {6, 6}, {12, 12}, {24, 4}, {28, 4}, {32, 30}}},
    {9, {{0, 6}, {6, 4}, {10, 30}, {40, 12}, {52, 12}, {64, 4}, {68, 4}, {72, 30}, {102, 30}}},
};

// Paths kept between the calls of one set, as the screen makes them.
struct Paths {
    std::string data, previous, index, work;
};
Paths g_paths[3];

int set_of(int16_t type) { return type <= 1 ? 0 : (type == 2 ? 1 : 2); }

std::string in_kind(int kind, const std::string& name) {
    char p[pxall::kPathSize] = {};
    std::snprintf(p, sizeof p, "%s", name.c_str());
    pxall::get_path_name(kind, -1, p);
    return p;
}

// The data file's name with another extension ("LOCALP1.D" -> "LOCALP1.TMP").
std::string with_ext(const char* data_name, const char* ext) {
    std::string n(data_name);
    return n.substr(0, n.find('.') + 1) + ext;
}

int fail(const char* function, const char* step, int code, int32_t err, int place) {
    pxall::syerr_message(kModule, function, step, code, err, place);
    return code;
}

// Sort order of a set: sets 1 and 2 bytes 0-23; set 3 bytes 0-9, then
// 52-63 (the part number).
bool before(int set, const std::string& a, const std::string& b) {
    if (set < 2) return std::memcmp(a.data(), b.data(), 24) < 0;
    int c = std::memcmp(a.data(), b.data(), 10);
    if (c != 0) return c < 0;
    return std::memcmp(a.data() + 52, b.data() + 52, 12) < 0;
}

// Reads a file of records whole: 0, or 11/14 with errno.
int read_records(const std::string& path, int rec_len, std::vector<std::string>* out) {
    std::FILE* fp = plat::fopen(path, "rb");
    if (fp == nullptr) return 11;
    std::string rec(static_cast<size_t>(rec_len), ' ');
    while (std::fread(rec.data(), 1, rec.size(), fp) == rec.size()) out->push_back(rec);
    bool bad = std::ferror(fp) != 0;
    std::fclose(fp);
    return bad ? 14 : 0;
}

int write_records(const std::string& path, const std::vector<std::string>& recs) {
    std::FILE* fp = plat::fopen(path, "wb");
    if (fp == nullptr) return 11;
    bool ok = true;
    for (const std::string& r : recs)
        if (!put_bytes(fp, path, r.data(), r.size())) {
            ok = false;
            break;
        }
    if (std::fclose(fp) != 0) ok = false;
    return ok ? 0 : 13;
}

// The converted records of the source.
int convert(int16_t type, int set, const char* source, int rec_len, std::vector<std::string>* out) {
    const char* fn = "Setup_Localp";
    if (type == 0) {
        std::FILE* in = plat::fopen(source, "rb");
        if (in == nullptr) return fail(fn, "fopen", 11, errno, 2);
        char src[kFixedRecord];
        while (std::fread(src, 1, sizeof src, in) == sizeof src) {
            std::string r(static_cast<size_t>(rec_len), ' ');
            r.replace(0, 24, src, 24);
            r.replace(32, 20, src + 24, 20);
            out->push_back(r);
        }
        bool bad = std::ferror(in) != 0;
        std::fclose(in);
        return bad ? fail(fn, "fread", 14, errno, 3) : 0;
    }
    std::FILE* in = plat::fopen(source, "rt");
    if (in == nullptr) return fail(fn, "fopen", 11, errno, 4);
    char line[kLine];
    const SetDef& def = kSets[set];
    while (plat::fgets_text(line, sizeof line, in) != nullptr) {
        std::string r(static_cast<size_t>(rec_len), ' ');
        const char* pos = line;
        for (int f = 0; f < def.nslots && pos != nullptr && *pos != 0 && *pos != '\n'; ++f) {
            int16_t first = 0, last = 0;
            const char* next = pxall::get_next_csv(pos, &first, &last);
            pxall::copy_csv_item(pos, r.data() + def.slots[f].at, def.slots[f].width, first, last);
            pos = next;
        }
        out->push_back(r);
    }
    bool bad = std::ferror(in) != 0;
    std::fclose(in);
    return bad ? fail(fn, "fgets", 14, errno, 5) : 0;
}

// A picture name of the dealer's file as a file name of the local-price
// directory: an 8.3 name, nothing that leads out of the directory.
bool safe_picture_name(const std::string& name) {
    if (name.empty() || name.size() > 12) return false;
    size_t dot = name.find('.');
    std::string base = name.substr(0, dot);
    std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || ext.size() > 3 || ext.find('.') != std::string::npos) return false;
    if (dot != std::string::npos && ext.empty()) return false;
    for (char c : base + ext) {
        unsigned char u = static_cast<unsigned char>(c);
        if (!(std::isalnum(u) || c == '_' || c == '-' || c == '$' || c == '~' || c == '!' || c == '#' || c == '%' ||
              c == '&' || c == '@' || c == '^' || c == '(' || c == ')' || c == '{' || c == '}' || c == '\''))
            return false;
    }
    return true;
}

bool same_ci(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

}  // namespace

// Merges two sorted files of records: new and old interleaved by the set's
// order, equal keys new first in sets 1 and 2 and old first in set 3.
int FileMarge(const std::string& new_path, const std::string& old_path, const std::string& out_path, int rec_len,
              int set) {
    const char* fn = "FileMarge";
    std::FILE* a = plat::fopen(new_path, "rb");
    std::FILE* b = a == nullptr ? nullptr : plat::fopen(old_path, "rb");
    std::FILE* out = b == nullptr ? nullptr : plat::fopen(out_path, "wb");
    if (out == nullptr) {
        int e = errno;
        if (a) std::fclose(a);
        if (b) std::fclose(b);
        return fail(fn, "fopen", 11, e, 1);
    }
    std::string ra(static_cast<size_t>(rec_len), ' '), rb(static_cast<size_t>(rec_len), ' ');
    bool has_a = std::fread(ra.data(), 1, ra.size(), a) == ra.size();
    bool has_b = std::fread(rb.data(), 1, rb.size(), b) == rb.size();
    int r = 0;
    while (has_a || has_b) {
        bool take_new;
        if (!has_b)
            take_new = true;
        else if (!has_a)
            take_new = false;
        else if (set < 2)
            take_new = !before(set, rb, ra);  // equal: new first
        else
            take_new = before(set, ra, rb);   // equal: old first
        std::string& rec = take_new ? ra : rb;
        if (!put_bytes(out, out_path, rec.data(), rec.size())) {
            r = fail(fn, "fwrite", 13, errno, 2);
            break;
        }
        if (take_new)
            has_a = std::fread(ra.data(), 1, ra.size(), a) == ra.size();
        else
            has_b = std::fread(rb.data(), 1, rb.size(), b) == rb.size();
    }
    if (r == 0 && (std::ferror(a) || std::ferror(b))) r = fail(fn, "fread", 14, errno, 3);
    std::fclose(a);
    std::fclose(b);
    if (std::fclose(out) != 0 && r == 0) r = fail(fn, "fwrite", 13, errno, 4);
    return r;
}

}  // namespace pxstup

using namespace pxstup;

int32_t Check_Setuped_Localp(int16_t type) {
    int set = set_of(type);
    g_paths[set].data = in_kind(pxall::kPathLocalPrice, lp::kLayout[set].data_name);
    return plat::file_exists(g_paths[set].data) ? 1 : 0;
}

void Init_Setuped_Localp(int16_t flag, int16_t type) {
    int set = set_of(type);
    Paths& p = g_paths[set];
    if (p.data.empty()) p.data = in_kind(pxall::kPathLocalPrice, lp::kLayout[set].data_name);
    p.previous = in_kind(pxall::kPathWork, with_ext(lp::kLayout[set].data_name, "D00"));
    if (flag == 0) {
        plat::delete_file(p.previous);
        plat::move_file(p.data, p.previous);
    } else {
        plat::delete_file(p.data);
    }
}

int16_t Setup_Localp(int16_t type, const char* source) {
    const char* fn = "Setup_Localp";
    if (pxall::get_ctop_addr() == nullptr || source == nullptr) return 11;
    const int set = set_of(type);
    const lp::SetLayout& lay = lp::kLayout[set];
    Paths& p = g_paths[set];
    if (p.data.empty()) p.data = in_kind(pxall::kPathLocalPrice, lay.data_name);
    if (p.previous.empty()) p.previous = in_kind(pxall::kPathWork, with_ext(lay.data_name, "D00"));
    const std::string dir = state_dir(pxall::ctop::kLocalPriceDir);
    if (!make_dirs(dir)) {
        pxall::syerr_message(kModule, fn, dir.c_str(), 0, plat::last_error(), 1);
        return -1;
    }
    p.index = in_kind(pxall::kPathLocalPrice, lay.index_name);
    p.work = in_kind(pxall::kPathWork, with_ext(lay.data_name, "TMP"));

    // Convert and sort every new record.
    std::vector<std::string> recs;
    int r = convert(type, set, source, lay.rec_len, &recs);
    if (r != 0) return static_cast<int16_t>(r);
    std::stable_sort(recs.begin(), recs.end(), [set](const std::string& a, const std::string& b) {
        return before(set, a, b);
    });
    r = write_records(p.work, recs);
    if (r != 0) return static_cast<int16_t>(fail(fn, r == 11 ? "fopen" : "fwrite", r, errno, 6));

    // The index numbers records in 16 bits: a set that would hold more is
    // refused, and data set aside for the merge go back where they were.
    const bool merging = plat::file_exists(p.previous);
    int64_t total = static_cast<int64_t>(recs.size());
    if (merging) {
        std::FILE* fp = plat::fopen(p.previous, "rb");
        if (fp != nullptr) {
            std::fseek(fp, 0, SEEK_END);
            total += std::ftell(fp) / lay.rec_len;
            std::fclose(fp);
        }
    }
    if (total > kMaxRecords) {
        plat::delete_file(p.work);
        if (merging && !plat::file_exists(p.data)) plat::move_file(p.previous, p.data);
        return static_cast<int16_t>(
            fail(fn, "more than 65535 records", kMsgTooManyRecords, static_cast<int32_t>(total), 7));
    }

    if (merging) {
        r = FileMarge(p.work, p.previous, p.data, lay.rec_len, set);
        if (r != 0) return static_cast<int16_t>(fail(fn, "FileMarge", r, 0, 8));
        plat::delete_file(p.previous);
        plat::delete_file(p.work);
    } else {
        plat::delete_file(p.data);
        plat::move_file(p.work, p.data);
    }

    // One index entry per key, in data order.
    std::vector<std::string> all;
    r = read_records(p.data, lay.rec_len, &all);
    if (r != 0) return static_cast<int16_t>(fail(fn, r == 11 ? "fopen" : "fread", r, errno, 9));
    std::FILE* out = plat::fopen(p.index, "wb");
    if (out == nullptr) return static_cast<int16_t>(fail(fn, "fopen", 11, errno, 10));
    const size_t key = static_cast<size_t>(lay.key_len);
    std::vector<uint8_t> entry(static_cast<size_t>(lay.entry_len));
    bool pending = false;
    uint16_t count = 0;
    auto flush = [&]() {
        entry[lp::count_at(lay.key_len)] = static_cast<uint8_t>(count & 0xff);
        entry[lp::count_at(lay.key_len) + 1] = static_cast<uint8_t>(count >> 8);
        return put_bytes(out, p.index, entry.data(), entry.size());
    };
    bool ok = true;
    for (size_t i = 0; i < all.size() && ok; ++i) {
        if (pending && std::memcmp(entry.data(), all[i].data(), key) == 0) {
            ++count;
            continue;
        }
        if (pending) ok = flush();
        std::memcpy(entry.data(), all[i].data(), key);
        entry[lp::first_at(lay.key_len)] = static_cast<uint8_t>(i & 0xff);
        entry[lp::first_at(lay.key_len) + 1] = static_cast<uint8_t>((i >> 8) & 0xff);
        count = 1;
        pending = true;
    }
    if (ok && pending) ok = flush();
    if (std::fclose(out) != 0) ok = false;
    if (!ok) return static_cast<int16_t>(fail(fn, "fwrite", 13, errno, 11));
    return 0;
}

int32_t Localp3_SetImageFile(int32_t list) {
    const char* fn = "Localp3_SetImageFile";
    plat::Control* box = plat::control(list);
    if (box != nullptr) box->lb_reset();
    const lp::SetLayout& lay = lp::kLayout[2];
    g_paths[2].data = in_kind(pxall::kPathLocalPrice, lay.data_name);
    const std::string index = in_kind(pxall::kPathLocalPrice, lay.index_name);
    std::FILE* ix = plat::fopen(index, "rb");
    if (ix == nullptr) return fail(fn, "fopen", 11, errno, 1);
    std::FILE* data = plat::fopen(g_paths[2].data, "rb");
    if (data == nullptr) {
        std::fclose(ix);
        return fail(fn, "fopen", 11, errno, 2);
    }
    std::vector<uint8_t> entry(static_cast<size_t>(lay.entry_len));
    std::string rec(static_cast<size_t>(lay.rec_len), ' ');
    int r = 0;
    while (std::fread(entry.data(), 1, entry.size(), ix) == entry.size()) {
        size_t at = lp::first_at(lay.key_len);
        long no = entry[at] | entry[at + 1] << 8;
        if (std::fseek(data, no * lay.rec_len, SEEK_SET) != 0) {
            r = fail(fn, "fseek", 15, errno, 3);
            break;
        }
        if (std::fread(rec.data(), 1, rec.size(), data) != rec.size()) {
            r = fail(fn, "fread", 14, errno, 4);
            break;
        }
        if (box != nullptr) box->lb_add("  " + rec.substr(40, 12));
    }
    if (r == 0 && std::ferror(ix)) r = fail(fn, "fread", 14, errno, 5);
    std::fclose(ix);
    std::fclose(data);
    return r;
}

void Localp3_CopyImageFile(int32_t pictures, int32_t files, const char* source_dir) {
    plat::Control* pics = plat::control(pictures);
    plat::Control* list = plat::control(files);
    if (pics == nullptr || list == nullptr || source_dir == nullptr) return;
    const int32_t np = pics->lb_count(), nf = list->lb_count();
    for (int32_t i = 0; i < np; ++i) {
        std::string line;
        if (pics->lb_text(i, &line) < 0) continue;
        std::string name = line.size() > 2 ? line.substr(2, 12) : std::string();
        name = name.substr(0, name.find(' '));
        // A name from the dealer's file becomes a file of the local-price
        // directory only as a plain 8.3 name.
        if (!safe_picture_name(name)) continue;
        for (int32_t j = 0; j < nf; ++j) {
            std::string file;
            if (list->lb_text(j, &file) < 0 || !same_ci(file, name)) continue;
            if (!safe_picture_name(file)) break;
            const std::string target = in_kind(pxall::kPathLocalPrice, name);
            if (plat::copy_file(join(source_dir, file), target, false)) {
                line[0] = '*';
                pics->lb_delete(i);
                pics->lb_insert(i, line);
            }
            break;
        }
    }
}
