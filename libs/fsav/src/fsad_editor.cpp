// The saved-list editor's support: the current save number, the editor's
// work copy and the car name of a list's catalogue.
#include <cstdio>
#include <cstring>
#include <vector>

#include "fsav/fsav.h"
#include "fsav/save_list_layout.h"
#include "fsav_internal.h"
#include "pxall/blocks.h"
#include "pxall/cdrom.h"
#include "pxall/errlog.h"
#include "pxall/keyed_layout.h"
#include "pxall/paths.h"
#include "pxall/savefile.h"

namespace pxfsav {
namespace {
constexpr const char* kFnShamei = "fsad_get_shamei";
}  // namespace
}  // namespace pxfsav

extern "C" int16_t fsad_check_flno(int16_t* save_no, VbString* path) {
    using namespace pxall;
    unsigned char* top = get_ctop_addr();
    if (top == nullptr) return pxfsav::kMsgNoCurrent;
    if (save_no != nullptr && *save_no != 0) put_i32(top + ctop::kCurrentSaveNo, *save_no);
    int32_t current = get_i32(top + ctop::kCurrentSaveNo);
    if (current == 0) return pxfsav::kMsgNoCurrent;
    if (save_no != nullptr) *save_no = static_cast<int16_t>(current);
    char buf[kPathSize] = {};
    int r = make_save_dat_file_name(current, buf);
    if (r != 0) return static_cast<int16_t>(r);
    pxfsav::path_to_caller(path, buf);
    return 0;
}

extern "C" int16_t fsad_get_flname(VbString* path) {
    char buf[pxall::kPathSize] = {};
    std::snprintf(buf, sizeof buf, "%s", pxfsav::kEditName);
    int r = pxall::get_path_name(pxall::kPathWork, -1, buf);
    if (r != 0) return static_cast<int16_t>(r);
    pxfsav::path_to_caller(path, buf);
    return 0;
}

extern "C" int16_t fsad_get_shamei(int16_t save_no, VbString* date_from, VbString* date_to, VbString* car_name) {
    using namespace pxfsav;
    namespace sf = pxall::savefile;
    std::FILE* fp = nullptr;
    int32_t err = 0;
    int r = pxall::open_save_dat_file(save_no, pxall::kSaveUpdateInPlace, pxall::kSaveRead, &fp, &err);
    if (r != 0) {
        pxall::syerr_message(kModEdit, kFnShamei, "open_save_dat_file", r, err, 1);
        return static_cast<int16_t>(r);
    }
    char hdr[sf::kDatHeaderSize];
    r = pxall::read_save_dat_file(fp, hdr, static_cast<int32_t>(sizeof hdr), &err);
    int32_t ignored = 0;
    pxall::close_save_dat_file(&fp, &ignored);
    if (r != 0) {
        pxall::syerr_message(kModEdit, kFnShamei, "read_save_dat_file", r, err, 2);
        return static_cast<int16_t>(r);
    }

    // Room for any record length the stored data may claim.
    std::vector<char> rec(pxall::keyed::kBlockSize);
    pxall::CdCursor* cursor = nullptr;
    int detail = 0;
    r = pxall::cdget_some_cd_data(carname::kFile, "", 1, 0, -1, nullptr, 0, rec.data(), hdr + sf::kDatCatalog,
                                  static_cast<int>(pxall::kCatalogSize), 0, nullptr, nullptr, 0, &cursor, &detail);
    if (cursor != nullptr)
        pxall::cdget_some_cd_data(nullptr, nullptr, 0, -1, 0, nullptr, 0, nullptr, nullptr, 0, 0, nullptr, nullptr, 0,
                                  &cursor, nullptr);
    if (r == 0) {
        to_caller(date_from, rec.data() + carname::kFrom, pxall::kDateSize, -1);
        to_caller(date_to, rec.data() + carname::kTo, pxall::kDateSize, -1);
        to_caller(car_name, rec.data() + carname::kCarName, carname::kCarNameSize, -1);
        return 0;
    }
    if (r == -1) {
        for (VbString* s : {date_from, date_to, car_name}) to_caller(s, "", 0, ' ');
        return 0;
    }
    if (r == 4) return 4;  // the screen asks for the CD
    pxall::syerr_message(kModEdit, kFnShamei, "cdget_some_cd_data", r, detail, 3);
    return static_cast<int16_t>(r);
}
