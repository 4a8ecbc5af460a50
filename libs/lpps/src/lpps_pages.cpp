// The local-parts pages: one figure of the chosen list at a time, its
// picture and its part lines; and the end of the route, the picks written
// for the parts list.
#include <cerrno>
#include <cstring>
#include <string>

#include "lpps/local_parts_layout.h"
#include "lpps/lpps.h"
#include "lpps_internal.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/localp.h"
#include "pxall/localp_layout.h"
#include "pxall/selection.h"
#include "pxall/strutil.h"
#include "pxall/wrap.h"

using namespace pxlpps;

namespace {

constexpr const char* kFnPage = "VBLppsGetPageData";
namespace s3 = pxall::localp::set3;
constexpr size_t kRecSize = s3::kText2 + s3::kTextSize;  // 132

constexpr int16_t kPictureMissing = 1;
constexpr int16_t kPageNegative = 11;
constexpr int16_t kPagePastEnd = 12;

struct Reader {
    pxall::LcpHandle h{};
    bool open = false;
    ~Reader() {
        if (open) pxall::LCPClose(&h);
    }
};

// The block's figure count, within the 100 slots.
int32_t figure_count(const unsigned char* blk) {
    int32_t n = pxall::get_i16(blk + pxall::cnexta::kFigureCount);
    return n < 0 ? 0 : n > pxall::cnexta::kMaxFigures ? pxall::cnexta::kMaxFigures : n;
}

// The part lines of one record's part: the part number with the first piece
// of its text, then continuation lines. False when a line was not written.
bool put_part(TextFile* out, const char* rec) {
    using namespace partlist;
    std::string line(kLineLen, ' ');
    line.replace(kPart, kPartSize, rec + s3::kPart, s3::kPartSize);
    char piece[kTextSize];
    int32_t pos = 0;
    bool first = true;
    while (pxall::memory_edit_2_n_data(rec + s3::kText, s3::kTextSize, piece, kTextSize, &pos) == 0) {
        if (!first) line.replace(kPart, kPartSize, kPartSize, ' ');
        line.replace(kText, kTextSize, piece, kTextSize);
        if (!out->put(line)) return false;
        first = false;
    }
    // A part without text still gets its line, so that it can be picked.
    return !first || out->put(line);
}

}  // namespace

extern "C" int32_t VBLppsInit() {
    // Empty, and nothing of an earlier frame left allocated.
    pxall::TermLcpTmp();
    pxall::InitLcpTmp();
    return 0;
}

extern "C" int32_t VBLppsTerm() {
    pxall::TermLcpTmp();
    return 0;
}

extern "C" int32_t VBLppsExec(int16_t* count) {
    int16_t dummy = 0;
    if (count == nullptr) count = &dummy;
    *count = VBGetNumLcpTmp();
    if (*count == 0) return 0;
    if (int32_t r = VBWriteLcpselTmp(); r != 0)
        return fail_logged(kModPages, "VBLppsExec", "VBWriteLcpselTmp", r, 0, 21);
    if (unsigned char* blk = pxall::get_cnexta_addr()) blk[pxall::cnexta::kLocalFlag] = 1;
    return 0;
}

extern "C" int32_t VBLppsGetPageData(int16_t n, VbString* figure, VbString* name, VbString* picture, VbString* list_path,
                                     int16_t* last, int16_t* status) {
    int16_t dummy_last = 0, dummy_status = 0;
    if (last == nullptr) last = &dummy_last;
    if (status == nullptr) status = &dummy_status;
    *last = 0;
    *status = 0;
    if (n < 0) {
        *status = kPageNegative;
        return 0;
    }
    const unsigned char* blk = pxall::get_cnexta_addr();
    const int32_t count = blk == nullptr ? 0 : figure_count(blk);
    if (n >= count) {
        *last = 1;
        *status = kPagePastEnd;
        return 0;
    }
    char key[s3::kCatalogSize + s3::kFigureSize];
    vehicle_catalog(key);
    std::memcpy(key + s3::kCatalogSize, blk + pxall::cnexta::kFigures + 4 * static_cast<size_t>(n), s3::kFigureSize);

    Reader rd;
    int r = pxall::LCPOpen(&rd.h, kLocalSet);
    if (r != 0) return fail_logged(kModPages, kFnPage, "LCPOpen", r, 0, 31);
    rd.open = true;
    char file[pxall::kPathSize];
    if (int p = work_path(partlist::kFileName, file); p != 0)
        return fail_logged(kModPages, kFnPage, "get_path_name", p, 0, 32);
    TextFile out;
    if (!out.open(file)) return fail_logged(kModPages, kFnPage, "fopen", 11, errno, 33);
    give_string(list_path, file, std::strlen(file));

    char rec[kRecSize];
    r = pxall::LCPKeyRead(&rd.h, key, static_cast<int16_t>(sizeof key), rec);
    if (r != 0) return fail_logged(kModPages, kFnPage, "LCPKeyRead", r, 0, 34);
    if (rd.h.end_flag != 0) {
        if (!out.close()) return fail_logged(kModPages, kFnPage, "fputs", 13, errno, 35);
        if (n + 1 == count) *last = 1;
        return 0;
    }

    // The picture, a file of the local-price directory. A folder under its
    // name is no missing picture but one that cannot be read: the screen
    // reports it.
    char pic[pxall::kPathSize] = {};
    const int len = pxall::memlenf(rec + s3::kPicture, s3::kPictureSize);
    std::memcpy(pic, rec + s3::kPicture, static_cast<size_t>(len));
    if (len > 0 && pxall::get_path_name(pxall::kPathLocalPrice, -1, pic) == 0 &&
        (plat::file_exists(pic) || plat::directory_exists(pic))) {
        give_string(picture, pic, std::strlen(pic));
    } else {
        // No stale picture of an earlier page is left in the string.
        give_string(picture, "", 0);
        *status = kPictureMissing;
    }
    give_string(figure, rec + s3::kFigure, s3::kFigureSize);
    give_string(name, rec + s3::kTitle, s3::kTitleSize);

    char prev[s3::kPartSize];
    bool any = false;
    while (rd.h.end_flag == 0) {
        if (!any || std::memcmp(prev, rec + s3::kPart, s3::kPartSize) != 0) {
            if (!put_part(&out, rec)) return fail_logged(kModPages, kFnPage, "fputs", 13, errno, 36);
            std::memcpy(prev, rec + s3::kPart, s3::kPartSize);
            any = true;
        }
        r = pxall::LCPSeqRead(&rd.h, rec);
        if (r != 0) return fail_logged(kModPages, kFnPage, "LCPSeqRead", r, 0, 37);
    }
    if (!out.close()) return fail_logged(kModPages, kFnPage, "fputs", 13, errno, 38);
    if (n + 1 == count) *last = 1;
    return 0;
}
