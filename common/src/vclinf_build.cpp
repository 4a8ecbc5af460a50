#include "pxall/vclinf.h"

#include <array>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

#include "pxall/blocks.h"
#include "pxall/errlog.h"
#include "pxall/keyed_file.h"
#include "pxall/strutil.h"
#include "pxall/vehicle_work_layout.h"
#include "pxall/wrap.h"

namespace pxall {

namespace {
namespace vw = vehwork;
namespace vt = vehwork::vinft;

constexpr const char* kModule = "PXSUBV30";
constexpr int kSecondCharacts = 21;
constexpr size_t kCharact2Size = 5;

// Place numbers of the logged steps.
enum : int32_t { kAtTokume = 1, kAtKigouu = 2, kAtReopen = 3, kAtOver = 4 };

using Rec = std::array<unsigned char, vt::kRecordSize>;

Rec fresh_record() {
    Rec r{};
    std::memset(r.data(), ' ', vt::kFreshBlanks);
    return r;
}

struct Feature {
    uint16_t code;
    char name[vw::tokume::kNameSize];
};

// What the builder reads once: the data language and the characteristics of
// the current vehicle.
struct Source {
    char lang[2];
    const unsigned char* car;  // current-vehicle block, or null
};

// The table of records; never more than the file holds.
class Table {
public:
    bool add(const Rec& r) {
        if (recs_.size() >= static_cast<size_t>(vt::kMaxRecords)) {
            syerr_message(kModule, "v_pop_tblset", "Area over", -1, vt::kMaxRecords, kAtOver);
            return false;
        }
        recs_.push_back(r);
        return true;
    }
    const std::vector<Rec>& records() const { return recs_; }

private:
    std::vector<Rec> recs_;
};

bool is_characteristic(const unsigned char* symbol, const Source& s) {
    if (s.car == nullptr) return false;
    const unsigned char* c1 = s.car + ccar::kCharact1a;
    if (memlenb(reinterpret_cast<const char*>(c1), vw::kigouu::kSymbolSize) > 0 &&
        std::memcmp(symbol, c1, vw::kigouu::kSymbolSize) == 0)
        return true;
    for (int k = 0; k < kSecondCharacts; ++k) {
        const unsigned char* c2 = s.car + ccar::kCharact2 + kCharact2Size * static_cast<size_t>(k);
        if (memlenb(reinterpret_cast<const char*>(c2), kCharact2Size) > 0 && std::memcmp(symbol, c2, kCharact2Size) == 0)
            return true;
    }
    return false;
}

// One record read in sequence into a buffer that holds any record length.
int read_next(CdHandle* h, unsigned char* buf, int* detail) {
    return cdread(buf, nullptr, 0, 0, nullptr, nullptr, h, detail);
}

// The features of the data language, at most 250.
int read_features(VinftContext* ctx, const char* catalog, const Source& s, std::vector<Feature>* out) {
    int detail = 0;
    int r = cdopen("TOKUME.DAT", catalog, 1, 0, -1, ctx->setup_entry, 0, &ctx->cat1, &detail);
    if (r != 0) {
        syerr_message(kModule, "v_pop_read", "cdopen", r, detail, kAtTokume);
        return -1;
    }
    std::vector<unsigned char> buf(keyed::kBlockSize);
    while ((r = read_next(ctx->cat1, buf.data(), &detail)) == 0) {
        if (std::memcmp(buf.data() + vw::tokume::kLang, s.lang, 2) != 0) continue;
        if (out->size() >= static_cast<size_t>(vt::kMaxRecords)) continue;
        Feature f{};
        f.code = static_cast<uint16_t>(get_i16(buf.data() + vw::tokume::kCode));
        std::memcpy(f.name, buf.data() + vw::tokume::kName, sizeof f.name);
        out->push_back(f);
    }
    cdclose(&ctx->cat1, nullptr);
    if (r != -1) {
        syerr_message(kModule, "v_pop_read", "cdread", r, detail, kAtTokume);
        return -1;
    }
    return 0;
}

bool add_heading(Table* t, const Feature& f) {
    Rec r = fresh_record();
    int len = memlenb(f.name, sizeof f.name);
    if (len == 0) {
        std::memcpy(r.data(), f.name, sizeof f.name);
    } else {
        std::memcpy(r.data(), "** ", 3);
        std::memcpy(r.data() + 3, f.name, static_cast<size_t>(len));
        std::memcpy(r.data() + 3 + len, " **", 3);
    }
    return t->add(r);
}

// A symbol record, then one record for each further piece of its text.
bool add_symbol(Table* t, const unsigned char* kig, const Source& s) {
    Rec r = fresh_record();
    std::memcpy(r.data() + vt::kSymbol, kig + vw::kigouu::kSymbol, vt::kSymbolSize);
    r[vt::kHit] = is_characteristic(kig + vw::kigouu::kSymbol, s) ? 1 : 0;
    const char* text = reinterpret_cast<const char*>(kig + vw::kigouu::kText);
    char piece[vt::kPieceSize];
    int32_t pos = 0;
    if (memory_edit_2_n_data(text, vw::kigouu::kTextSize, piece, vt::kPieceSize, &pos) == 0)
        std::memcpy(r.data() + vt::kPiece, piece, vt::kPieceSize);
    if (!t->add(r)) return false;
    while (memory_edit_2_n_data(text, vw::kigouu::kTextSize, piece, vt::kPieceSize, &pos) == 0) {
        Rec more = fresh_record();
        std::memcpy(more.data() + vt::kPiece, piece, vt::kPieceSize);
        if (!t->add(more)) return false;
    }
    return true;
}

int build_records(VinftContext* ctx, const char* catalog, const Source& s, Table* t) {
    std::vector<Feature> features;
    if (read_features(ctx, catalog, s, &features) != 0) return -1;

    int detail = 0;
    int r = cdopen("KIGOUU.DAT", catalog, 1, 0, -1, ctx->setup_entry, 0, &ctx->cat2, &detail);
    if (r != 0) {
        syerr_message(kModule, "v_pop_read2", "cdopen", r, detail, kAtKigouu);
        return -1;
    }
    std::vector<unsigned char> buf(keyed::kBlockSize);
    for (const Feature& f : features) {
        if (!add_heading(t, f)) return -1;
        if ((r = cdreopen(ctx->cat2, &detail)) != 0) {
            syerr_message(kModule, "v_pop_read2", "cdreopen", r, detail, kAtReopen);
            return -1;
        }
        while ((r = read_next(ctx->cat2, buf.data(), &detail)) == 0) {
            if (std::memcmp(buf.data() + vw::kigouu::kLang, s.lang, 2) != 0) continue;
            if (static_cast<uint16_t>(get_i16(buf.data() + vw::kigouu::kCode)) != f.code) continue;
            if (!add_symbol(t, buf.data(), s)) return -1;
        }
        if (r != -1) {
            syerr_message(kModule, "v_pop_read2", "cdread", r, detail, kAtKigouu);
            return -1;
        }
    }
    return 0;
}

// The builder's error routine: the catalogue files go with the work file.
int close_catalogs(VinftContext* ctx) {
    cdclose(&ctx->cat1, nullptr);
    cdclose(&ctx->cat2, nullptr);
    return -1;
}

int write_all(VinftContext* ctx, unsigned char* header, const Table& t) {
    int n = 0;
    for (const Rec& r : t.records())
        if (put_rec_VINFT(ctx, n++, r.data()) < 0) return -1;
    put_i32(header + vt::kCount, static_cast<int32_t>(t.records().size()));
    return put_hdr_VINFT(ctx, header) < 0 ? -1 : 0;
}

int write_empty(VinftContext* ctx, const unsigned char* header) {
    if (put_hdr_VINFT(ctx, header) < 0) return -1;
    const Rec zero{};
    for (int n = 0; n < vt::kMaxRecords; ++n)
        if (put_rec_VINFT(ctx, n, zero.data()) < 0) return -1;
    return 0;
}

}  // namespace

int v_pop_make_vclinf_tmp(VinftContext* ctx, unsigned char* header) {
    if (ctx == nullptr || header == nullptr) return -1;
    const unsigned char* top = get_ctop_addr();
    if (top == nullptr) return -1;
    ctx->cat1 = nullptr;
    ctx->cat2 = nullptr;
    ctx->oflags = O_CREAT | O_TRUNC | O_RDWR;
    ctx->pmode = S_IRUSR | S_IWUSR;
    ctx->on_error = close_catalogs;
    ctx->fd = -1;
    if (init_VINFT(ctx) < 0) return -1;

    int result = 0;
    if (header[vt::kCatalog] <= ' ') {
        result = write_empty(ctx, header);
    } else {
        char catalog[vt::kCatalogSize + 1] = {};
        std::memcpy(catalog, header + vt::kCatalog, vt::kCatalogSize);
        Source s{};
        std::memcpy(s.lang, top + ctop::kDataLangCode, 2);
        s.car = get_ccar_addr();
        Table t;
        result = build_records(ctx, catalog, s, &t);
        if (result == 0) result = write_all(ctx, header, t);
    }
    term_VINFT(ctx);
    close_catalogs(ctx);
    return result;
}

}  // namespace pxall
