// The catalogue data the identification reads: the vehicles (JOUHOU.DAT by
// its key sets), the frame-number ranges (FRAMNO.DAT), the frame models of
// the frame-number data set (FRKATA.DAT) and the car names (SHAMEI.DAT), all
// from the current area's data sets.
#include <algorithm>
#include <cstring>

#include "engine.h"
#include "pxall/blocks.h"
#include "pxall/car_name.h"
#include "pxall/cdrom.h"
#include "pxall/errlog.h"
#include "pxall/keyed_file.h"
#include "pxall/part_records.h"

namespace pxvjin {

namespace {

constexpr int kGaveUp = 4;
// A keyed read never runs longer than the largest vehicle file can hold.
constexpr int kMaxReads = 200000;

char area_letter() {
    const unsigned char* top = pxall::get_ctop_addr();
    if (top == nullptr) return 0;
    int32_t a = pxall::get_i32(top + pxall::ctop::kAreaIndex);
    return a >= 0 && a <= 3 ? "EGUJ"[a] : 0;
}

bool catalog_entry(int i, char letter) {
    const unsigned char* e = pxall::setup_entry_addr(i);
    return e != nullptr && e[0] == static_cast<unsigned char>(letter) && e[1] >= '0' && e[1] <= '9';
}

int opened(int r, const char* function, const char* file, int detail, int place) {
    if (r == kGaveUp) return kGaveUp;
    return fail(function, file, r, detail, place);
}

}  // namespace

int top_entry() {
    char letter = area_letter();
    return letter == 0 ? -1 : pxall::setuped_top_cdno(letter);
}

int area_entries(std::vector<int32_t>* out) {
    out->clear();
    char letter = area_letter();
    const unsigned char* top = pxall::get_ctop_addr();
    if (letter == 0 || top == nullptr) return 0;
    int n = pxall::get_i32(top + pxall::ctop::kSetupCount);
    for (int i = 0; i < n && i < pxall::ctop::kMaxSetup; ++i)
        if (catalog_entry(i, letter)) out->push_back(i);
    return 0;
}

int read_models(int key_set, const std::string& key, std::vector<Model>* out) {
    out->clear();
    int entry = top_entry();
    if (entry < 0) return fail("read_models", "setuped_top_cdno", 128, 0, 1);
    pxall::CdHandle* h = nullptr;
    int detail = 0;
    int r = pxall::cdopen(jouhou::kFile, "", key_set, 0, -1, entry, 0, &h, &detail);
    if (r == -1) return 0;  // a data set without vehicles has none to find
    if (r != 0) return opened(r, "read_models", "cdopen", detail, 2);
    const size_t off = key_set == jouhou::kSetCatalog ? jouhou::kCatalog
                       : key_set == jouhou::kSetVin   ? jouhou::kVin
                                                      : jouhou::kModel;
    std::vector<std::string> records;
    std::string rec(jouhou::kSize, '\0');
    int result = 0;
    for (int n = 0; n < kMaxReads; ++n) {
        r = pxall::cdread(rec.data(), key.data(), static_cast<int>(key.size()), 0, nullptr, nullptr, h, &detail);
        if (r == -1) break;
        if (r != 0) {
            result = opened(r, "read_models", "cdread", detail, 3);
            break;
        }
        if (rec.compare(off, key.size(), key) == 0) {
            records.push_back(rec);
        } else if (key_set == jouhou::kSetCatalog) {
            break;  // the data stand in catalogue order
        }
    }
    int closed = pxall::cdclose(&h, &detail);
    if (result != 0) return result;
    if (closed != 0) return fail("read_models", "cdclose", closed, detail, 4);
    *out = group(records);
    return 0;
}

int find_frames(const std::string& frame_no, const std::string& frame_model, std::vector<FrameRange>* out) {
    out->clear();
    int entry = top_entry();
    if (entry < 0) return fail("find_frames", "setuped_top_cdno", 128, 0, 10);
    pxall::CdHandle* h = nullptr;
    int detail = 0;
    int r = pxall::cdopen(framno::kFile, "", 1, 0, -1, entry, 0, &h, &detail);
    if (r == -1) return 0;
    if (r != 0) return opened(r, "find_frames", "cdopen", detail, 11);
    std::string rec(framno::kSize, '\0');
    int result = 0;
    // Read in sequence: a frame number alone names no key.
    for (int n = 0; n < kMaxReads; ++n) {
        r = pxall::cdread(rec.data(), nullptr, 0, 0, nullptr, nullptr, h, &detail);
        if (r == -1) break;
        if (r != 0) {
            result = opened(r, "find_frames", "cdread", detail, 12);
            break;
        }
        std::string fm = rec.substr(framno::kFrameModel, kFmodW);
        if (!frame_model.empty() && fm != padded(frame_model, kFmodW)) continue;
        if (frame_no < rec.substr(framno::kFirst, kFnoW) || frame_no > rec.substr(framno::kLast, kFnoW)) continue;
        out->push_back({rec.substr(framno::kCatalog, kCodeSize), fm, rec.substr(framno::kFrom, 4),
                        rec.substr(framno::kTo, 4)});
    }
    int closed = pxall::cdclose(&h, &detail);
    if (result != 0) return result;
    if (closed != 0) return fail("find_frames", "cdclose", closed, detail, 13);
    return 0;
}

int find_catalog(const std::string& code, Catalog* out) {
    std::vector<int32_t> entries;
    area_entries(&entries);
    if (entries.empty()) return 1;
    char rec[pxall::shamei_rec::kSize];
    int32_t own = -1, err = 0;
    std::string key = padded(code, kCodeSize);
    int r = pxall::v_check_shamei_d(key.c_str(), entries.data(), static_cast<int>(entries.size()), rec, &own, &err);
    if (r == 1 || r == 6) return 1;  // unknown, or on a CD that is not set up
    if (r == kGaveUp) return kGaveUp;
    if (r != 0) return fail("find_catalog", "v_check_shamei_d", r, err, 20);
    Catalog c;
    c.code = key;
    c.shamei.assign(rec, sizeof rec);
    c.read_index = top_entry();
    c.own_index = own;
    std::vector<Model> models;
    if (int m = read_models(jouhou::kSetCatalog, key, &models); m != 0) return m;
    for (const Model& m : models) c.frame_models.push_back(m.frame_model());
    *out = c;
    return 0;
}

}  // namespace pxvjin
