// The local-parts figure list of the vehicle's catalogue and the figures the
// clerk chooses from it.
#include <cerrno>
#include <cstring>
#include <string>

#include "lpps/local_parts_layout.h"
#include "lpps/lpps.h"
#include "lpps_internal.h"
#include "pxall/blocks.h"
#include "pxall/localp.h"
#include "pxall/localp_layout.h"
#include "pxall/selection.h"

using namespace pxlpps;

namespace {

constexpr const char* kFnList = "VBLpemMakeFigListFile";
constexpr const char* kFnChoose = "VBLpemSetFigNo";
namespace s3 = pxall::localp::set3;

struct Reader {
    pxall::LcpHandle h{};
    bool open = false;
    ~Reader() {
        if (open) pxall::LCPClose(&h);
    }
};

}  // namespace

extern "C" int32_t VBLpemMakeFigListFile(int16_t* count, VbString* path) {
    int16_t dummy = 0;
    if (count == nullptr) count = &dummy;
    *count = 0;
    Reader rd;
    int r = pxall::LCPOpen(&rd.h, kLocalSet);
    if (r == -1) return 0;  // no local parts set up
    if (r != 0) return fail_logged(kModFigures, kFnList, "LCPOpen", r, 0, 1);
    rd.open = true;

    char file[pxall::kPathSize];
    if (int p = work_path(figlist::kFileName, file); p != 0)
        return fail_logged(kModFigures, kFnList, "get_path_name", p, 0, 2);
    TextFile out;
    if (!out.open(file)) return fail_logged(kModFigures, kFnList, "fopen", 11, errno, 3);

    char cat[s3::kCatalogSize];
    vehicle_catalog(cat);
    char rec[s3::kText2 + s3::kTextSize];
    r = pxall::LCPKeyRead(&rd.h, cat, s3::kCatalogSize, rec);
    if (r != 0) return fail_logged(kModFigures, kFnList, "LCPKeyRead", r, 0, 4);

    int32_t lines = 0;
    int32_t result = 0;
    char last[s3::kFigureSize] = {};
    bool any = false;
    std::string line(figlist::kLineLen, ' ');
    // A catalogue without records gives the empty list, its path and count 0.
    while (rd.h.end_flag == 0) {
        if (!any || std::memcmp(last, rec + s3::kFigure, s3::kFigureSize) != 0) {
            line.replace(figlist::kFigure, figlist::kFigureSize, rec + s3::kFigure, s3::kFigureSize);
            line.replace(figlist::kName, figlist::kNameSize, rec + s3::kTitle, s3::kTitleSize);
            if (!out.put(line)) return fail_logged(kModFigures, kFnList, "fputs", 13, errno, 5);
            std::memcpy(last, rec + s3::kFigure, s3::kFigureSize);
            any = true;
            ++lines;
        }
        r = pxall::LCPSeqRead(&rd.h, rec);
        if (r != 0) {
            // What was written so far still goes to the screen.
            result = fail_logged(kModFigures, kFnList, "LCPSeqRead", r, 0, 6);
            break;
        }
    }
    if (!out.close()) return fail_logged(kModFigures, kFnList, "fputs", 13, errno, 7);
    *count = static_cast<int16_t>(lines > INT16_MAX ? INT16_MAX : lines);
    give_string(path, file, std::strlen(file));
    return result;
}

extern "C" int32_t VBLpemSetFigNo(int32_t list, int16_t* status) {
    int16_t dummy = 0;
    if (status == nullptr) status = &dummy;
    *status = 0;
    struct Figures {
        Figures() { pxall::term_selfgn(); }
        ~Figures() { pxall::term_selfgn(); }
    } figures;

    const int32_t n = list_count(list);
    for (int32_t i = 0; i < n; ++i) {
        if (!list_selected(list, i)) continue;
        const std::string text = list_line(list, i, figlist::kLineLen);
        const char* fig = text.data() + figlist::kFigure;
        if (pxall::search_selfgn(fig) != nullptr) continue;
        int r = pxall::set_selfgn(fig);
        if (r == 1) {
            *status = 1;
            return 0;
        }
        if (r != 0) return fail_logged(kModFigures, kFnChoose, "set_selfgn", r, 0, 11);
    }
    if (pxall::get_num_selfgn() == 0) {
        *status = 2;
        return 0;
    }
    int16_t written = 0;
    VBwrite_figno(&written);
    return 0;
}
