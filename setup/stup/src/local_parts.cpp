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
#include "pxall/commit_files.h"
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

// What one set's calls keep between them, as the screen makes them: its
// paths, and whether the next source is merged into the set in force.
struct Paths {
    std::string data, index;
    bool merge = false;
};
Paths g_paths[3];

int set_of(int16_t type) { return type <= 1 ? 0 : (type == 2 ? 1 : 2); }

std::string in_kind(int kind, const std::string& name) {
    char p[pxall::kPathSize] = {};
    std::snprintf(p, sizeof p, "%s", name.c_str());
    pxall::get_path_name(kind, -1, p);
    return p;
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

// A whole file into *out: 0, or 11/14 with errno.
int read_whole(const std::string& path, std::string* out) {
    std::FILE* fp = plat::fopen(path, "rb");
    if (fp == nullptr) return 11;
    char buf[1 << 15];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, fp)) > 0) out->append(buf, n);
    bool bad = std::ferror(fp) != 0;
    std::fclose(fp);
    return bad ? 14 : 0;
}

// New and old records (each sorted) interleaved by the set's order, equal
// keys new first in sets 1 and 2 and old first in set 3.
std::vector<std::string> merged(const std::vector<std::string>& fresh, const std::vector<std::string>& old, int set) {
    std::vector<std::string> out;
    out.reserve(fresh.size() + old.size());
    size_t a = 0, b = 0;
    while (a < fresh.size() || b < old.size()) {
        bool take_new;
        if (b == old.size())
            take_new = true;
        else if (a == fresh.size())
            take_new = false;
        else if (set < 2)
            take_new = !before(set, old[b], fresh[a]);  // equal: new first
        else
            take_new = before(set, fresh[a], old[b]);   // equal: old first
        out.push_back(take_new ? fresh[a++] : old[b++]);
    }
    return out;
}

// The index of a set's records: one entry per key, in data order.
std::string index_of(const lp::SetLayout& lay, const std::vector<std::string>& all) {
    std::string out;
    const size_t key = static_cast<size_t>(lay.key_len);
    std::string entry(static_cast<size_t>(lay.entry_len), '\0');
    uint16_t count = 0;
    auto flush = [&]() {
        entry[lp::count_at(lay.key_len)] = static_cast<char>(count & 0xff);
        entry[lp::count_at(lay.key_len) + 1] = static_cast<char>(count >> 8);
        out += entry;
    };
    for (size_t i = 0; i < all.size(); ++i) {
        if (i > 0 && std::memcmp(entry.data(), all[i].data(), key) == 0) {
            ++count;
            continue;
        }
        if (i > 0) flush();
        std::memcpy(entry.data(), all[i].data(), key);
        entry[lp::first_at(lay.key_len)] = static_cast<char>(i & 0xff);
        entry[lp::first_at(lay.key_len) + 1] = static_cast<char>((i >> 8) & 0xff);
        count = 1;
    }
    if (!all.empty()) flush();
    return out;
}

// The converted records of the source: 0, kSourceBadRecord (a record not
// whole or not printable; logged), 11 or 14 (logged).
int convert(int16_t type, int set, const char* source, int rec_len, std::vector<std::string>* out) {
    const char* fn = "Setup_Localp";
    if (type == 0) {
        std::string all;
        int r = read_whole(source, &all);
        if (r != 0) return fail(fn, r == 11 ? "fopen" : "fread", r, errno, r == 11 ? 2 : 3);
        // Line ends after the last record, as an editor leaves them.
        size_t end = all.size();
        while (end > 0 && (all[end - 1] == '\r' || all[end - 1] == '\n' || all[end - 1] == 0x1a)) --end;
        if (end % kFixedRecord != 0) return fail(fn, source, kSourceBadRecord, static_cast<int32_t>(end), 12);
        for (size_t at = 0; at < end; at += kFixedRecord) {
            const char* src = all.data() + at;
            if (!printable(src, kFixedRecord))
                return fail(fn, source, kSourceBadRecord, static_cast<int32_t>(at / kFixedRecord + 1), 13);
            std::string r(static_cast<size_t>(rec_len), ' ');
            r.replace(0, 24, src, 24);
            r.replace(32, 20, src + 24, 20);
            out->push_back(r);
        }
        return 0;
    }
    std::FILE* in = plat::fopen(source, "rb");
    if (in == nullptr) return fail(fn, "fopen", 11, errno, 4);
    std::vector<char> buf;
    buffer_stream(in, buf);
    const SetDef& def = kSets[set];
    SourceLines lines(in, kLine - 2);
    std::string line;
    int got;
    while ((got = lines.next(&line)) == 1) {
        std::string r(static_cast<size_t>(rec_len), ' ');
        const char* pos = line.c_str();
        for (int f = 0; f < def.nslots && pos != nullptr && *pos != 0 && *pos != '\n'; ++f) {
            int16_t first = 0, last = 0;
            const char* next = pxall::get_next_csv(pos, &first, &last);
            pxall::copy_csv_item(pos, r.data() + def.slots[f].at, def.slots[f].width, first, last);
            pos = next;
        }
        out->push_back(r);
    }
    std::fclose(in);
    if (got == kSourceBadRecord)
        return fail(fn, source, kSourceBadRecord, static_cast<int32_t>(out->size() + 1), 14);
    return got == 0 ? 0 : fail(fn, "fread", 14, errno, 5);
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

}  // namespace pxstup

using namespace pxstup;

int32_t Check_Setuped_Localp(int16_t type) {
    int set = set_of(type);
    g_paths[set].data = in_kind(pxall::kPathLocalPrice, lp::kLayout[set].data_name);
    g_paths[set].merge = false;
    // A set-up a kill interrupted is finished (or undone) first.
    int32_t err = 0;
    if (pxall::settle_commit(g_paths[set].data.c_str(), &err) != 0)
        fail("Check_Setuped_Localp", "commit", 13, err, 1);
    return plat::file_exists(g_paths[set].data) ? 1 : 0;
}

void Init_Setuped_Localp(int16_t flag, int16_t type) {
    // The set in force stays until the new one is built whole: it is only
    // noted here whether its records go into the new set.
    g_paths[set_of(type)].merge = flag == 0;
}

int16_t Setup_Localp(int16_t type, const char* source) {
    const char* fn = "Setup_Localp";
    if (pxall::get_ctop_addr() == nullptr || source == nullptr) return 11;
    const int set = set_of(type);
    const lp::SetLayout& lay = lp::kLayout[set];
    Paths& p = g_paths[set];
    const bool merge = p.merge;
    p.merge = false;  // each further source is merged only when asked again
    p.data = in_kind(pxall::kPathLocalPrice, lay.data_name);
    p.index = in_kind(pxall::kPathLocalPrice, lay.index_name);
    const std::string dir = state_dir(pxall::ctop::kLocalPriceDir);
    if (!make_dirs(dir)) {
        pxall::syerr_message(kModule, fn, dir.c_str(), 0, plat::last_error(), 1);
        return -1;
    }

    // Convert and sort every new record.
    std::vector<std::string> recs;
    int r = convert(type, set, source, lay.rec_len, &recs);
    if (r != 0) return static_cast<int16_t>(r);
    std::stable_sort(recs.begin(), recs.end(), [set](const std::string& a, const std::string& b) {
        return before(set, a, b);
    });

    // The records in force, for a merge (read after settling an interrupted set-up).
    int32_t err = 0;
    if (pxall::settle_commit(p.data.c_str(), &err) != 0) return static_cast<int16_t>(fail(fn, "commit", 13, err, 6));
    if (merge && plat::file_exists(p.data)) {
        std::string old;
        r = read_whole(p.data, &old);
        if (r != 0) return static_cast<int16_t>(fail(fn, r == 11 ? "fopen" : "fread", r, errno, 9));
        std::vector<std::string> kept;
        for (size_t at = 0; at + lay.rec_len <= old.size(); at += lay.rec_len) kept.push_back(old.substr(at, lay.rec_len));
        recs = merged(recs, kept, set);
    }
    // The index numbers records in 16 bits: a set that would hold more is
    // refused, the set in force stays.
    if (static_cast<int64_t>(recs.size()) > kMaxRecords)
        return static_cast<int16_t>(
            fail(fn, "more than 65535 records", kMsgTooManyRecords, static_cast<int32_t>(recs.size()), 7));

    // Data and index replace the set in force together (commit_files.h).
    std::string data;
    data.reserve(recs.size() * static_cast<size_t>(lay.rec_len));
    for (const std::string& rec : recs) data += rec;
    const std::string index = index_of(lay, recs);
    const pxall::CommitFile files[2] = {{p.data.c_str(), data.data(), data.size()},
                                        {p.index.c_str(), index.data(), index.size()}};
    r = pxall::commit_files(files, 2, &err);
    if (r != 0) return static_cast<int16_t>(fail(fn, "commit", r, err, 11));
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
