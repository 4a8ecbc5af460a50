// The entered catalogue code, and making the catalogue's CD present.
#include <cstring>

#include "newp/newp.h"
#include "newp_state.h"
#include "pxall/cdrom.h"
#include "pxall/part_records.h"
#include "pxall/strutil.h"

namespace newp {

int cd_set_current(const char* function) {
    State& s = st();
    if (on_disk(s.cat_index)) return 0;
    char id[3] = {s.cat_name[0], s.cat_name[1], 0};
    char no[3] = {s.cat_no[0], s.cat_no[1], 0};
    char date[9] = {};
    std::memcpy(date, s.cat_date, 8);
    int drive = -1, detail = 0;
    char found_id[2], found_date[8];
    int r = pxall::cdset_cd(-1, id, no, date, &drive, found_id, found_date, 0, &detail);
    if (r == 4) return 4;
    if (r != 0) {
        log(function, "cdset_cd", r, detail, 20);
        return kFailed;
    }
    // The start CD becomes the set-up entry of the CD found.
    int i = pxall::setuped_cdno2_to_cdno1(found_id[0], nullptr, no);
    if (const unsigned char* e = pxall::setup_entry_addr(i)) {
        s.start_index = i;
        std::memcpy(s.start_no, e + pxall::setup_entry::kCdNo, 2);
    }
    return 0;
}

}  // namespace newp

using namespace newp;

extern "C" {

int32_t newp_input_check(VbString* entered, int16_t* msg) {
    State& s = st();
    if (msg != nullptr) *msg = 0;
    unsigned char* car = pxall::get_ccar_addr();
    if (car == nullptr) return kFailed;
    char text[14];
    std::memset(text, ' ', sizeof text);
    for (int i = 0; entered != nullptr && entered->data != nullptr && i < entered->len && i < 14 &&
                    entered->data[i] != 0;
         ++i)
        text[i] = entered->data[i];
    std::memcpy(car + pxall::ccar::kCatalog, text, 8);
    if (s.start_index < 0) select_start_cd();

    if (pxall::memlenb(text, sizeof text) != 6 || !pxall::memcatcheck(text, 6)) {
        // Not a catalogue code: the catalogue list searches the start CD.
        if (msg != nullptr) *msg = 700;
        pxall::put_i32(car + pxall::ccar::kSearchCdCount, 1);
        pxall::put_i32(car + pxall::ccar::kSearchCds, s.start_index);
        return -13;
    }
    pxall::CdHandle* h = nullptr;
    int detail = 0;
    int r = pxall::cdopen("SHAMEI.DAT", "", 1, 0, -1, s.start_index, 0, &h, &detail);
    if (r == 4) {
        close_all();
        delete_work(true, true, true);
        return 4;
    }
    if (r != 0) {
        log("newp_shamei_read", "cdopen", r, detail, 21);
        return kFailed;
    }
    unsigned char rec[pxall::keyed::kBlockSize];
    r = pxall::cdread(rec, text, 6, 0, nullptr, nullptr, h, &detail);
    pxall::cdclose(&h, nullptr);
    if (r == -1) {
        if (msg != nullptr) *msg = 860;
        return 1;
    }
    if (r != 0) {
        log("newp_shamei_read", "cdread", r, detail, 22);
        return kFailed;
    }
    namespace sr = pxall::shamei_rec;
    std::memcpy(car + pxall::ccar::kCatalog, rec + sr::kCatalog, 6);
    std::memcpy(car + pxall::ccar::kVehicleName, rec + sr::kCarName, sr::kCarNameSize);
    std::memcpy(car + pxall::ccar::kProdFrom, rec + sr::kFrom, 4);
    std::memcpy(car + pxall::ccar::kProdTo, rec + sr::kTo, 4);
    int32_t search = s.start_index;
    if (std::memcmp(rec + sr::kCdNo, s.start_no, 2) != 0) {
        const unsigned char* start = pxall::setup_entry_addr(s.start_index);
        char no[3] = {static_cast<char>(rec[sr::kCdNo]), static_cast<char>(rec[sr::kCdNo + 1]), 0};
        search = start == nullptr ? -1 : pxall::setuped_cdno2_to_cdno1(static_cast<char>(start[0]), nullptr, no);
        const unsigned char* e = pxall::setup_entry_addr(search);
        if (e == nullptr) {
            if (msg != nullptr) *msg = 828;
            return 1;
        }
        s.cat_index = search;
        std::memcpy(s.cat_name, e + pxall::setup_entry::kName, 2);
        std::memcpy(s.cat_no, e + pxall::setup_entry::kCdNo, 2);
        std::memcpy(s.cat_date, e + pxall::setup_entry::kCdDate, 8);
        r = cd_set_current("newp_cd_set");
        if (r != 0) {
            close_all();
            delete_work(true, true, true);
            return r;
        }
    }
    // The list reads the catalogue from the CD of the search.
    pxall::put_i32(car + pxall::ccar::kSetupIndex, search);
    return 0;
}

}  // extern "C"
