// Picking part lines on a local-parts page, and their quantities.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "lpps/local_parts_layout.h"
#include "lpps/lpps.h"
#include "lpps_internal.h"
#include "platform/controls.h"
#include "platform/files.h"
#include "pxall/paths.h"
#include "pxall/selection.h"

using namespace pxlpps;
using namespace pxlpps::partlist;

namespace {

constexpr int16_t kPicksFull = 6;
constexpr int kMinQty = 1;
constexpr int kMaxQty = 99;

bool continuation(const std::string& line) { return line[0] == ' '; }

std::string figure_of(const char* figure) {
    char f[4];
    take_field(f, figure, sizeof f);
    return std::string(f, sizeof f);
}

void put_qty(std::string* line, const char* qty) { line->replace(kQty, kQtySize, qty, kQtySize); }

}  // namespace

extern "C" int32_t VBLppsSelectListBox(const char* figure, int32_t list, int32_t qty_box, int16_t* status) {
    int16_t dummy = 0;
    if (status == nullptr) status = &dummy;
    *status = 0;
    const int32_t i = list_current(list);
    if (i < 0) return 0;
    std::string line = list_line(list, i, kLineLen);
    if (continuation(line)) {
        list_select(list, i, false);
        return 0;
    }
    const std::string fig = figure_of(figure);
    const char* part = line.data() + kPart;
    if (pxall::SearchLcpTmp(fig.data(), part) != nullptr) {
        pxall::DelLcpTmp(fig.data(), std::string(part, kPartSize).c_str());
        put_qty(&line, "  ");
        list_replace(list, i, line);
        set_box_text(qty_box, "");
        focus(list);
        return 0;
    }
    int r = pxall::SetLcpTmp(part, "01", fig.data());
    if (r == 1) {
        // The click left the line selected; it is no pick.
        list_select(list, i, false);
        *status = kPicksFull;
        return 0;
    }
    if (r != 0) return fail_logged(kModPages, "VBLppsSelectListBox", "SetLcpTmp", r, 0, 41);
    put_qty(&line, "01");
    list_replace(list, i, line);
    list_select(list, i, true);
    set_box_text(qty_box, "01");
    focus(qty_box);
    return 0;
}

extern "C" int32_t VBLppsClickListBox(int32_t list, int32_t qty_box) {
    const int32_t i = list_current(list);
    if (i < 0) return 0;
    const std::string line = list_line(list, i, kLineLen);
    if (continuation(line)) {
        list_select(list, i, false);
        set_box_text(qty_box, "");
    } else if (list_selected(list, i)) {
        set_box_text(qty_box, line.substr(kQty, kQtySize));
        focus(qty_box);
    } else {
        set_box_text(qty_box, "");
    }
    return 0;
}

extern "C" int32_t VBLppsEntryQty(const char* figure, int16_t step, int32_t list, int32_t qty_box, int16_t* status) {
    int16_t dummy = 0;
    if (status == nullptr) status = &dummy;
    *status = 0;
    const int32_t i = list_current(list);
    if (i < 0 || !list_selected(list, i)) return 0;
    std::string line = list_line(list, i, kLineLen);
    if (continuation(line)) return 0;
    const std::string text = box_text(qty_box);
    if (text.empty()) {
        *status = 1;
        return 0;
    }
    int v = 0;
    for (size_t k = 0; k < text.size() && k < kQtySize; ++k) {
        if (text[k] == ' ') continue;
        if (text[k] < '0' || text[k] > '9') {
            *status = 2;
            return 0;
        }
        v = v * 10 + (text[k] - '0');
    }
    if (step < 0) v -= 1;
    if (step > 0) v += 1;
    // "0", "00" or blanks stepped by 0 would give "00": quantities stay 01-99.
    v = v < kMinQty ? kMinQty : v > kMaxQty ? kMaxQty : v;
    char qty[3];
    std::snprintf(qty, sizeof qty, "%02d", v);
    set_box_text(qty_box, qty);
    const std::string fig = figure_of(figure);
    if (pxall::LcpTmpItem* it = pxall::SearchLcpTmp(fig.data(), line.data() + kPart)) std::memcpy(it->qty, qty, 2);
    put_qty(&line, qty);
    list_replace(list, i, line);
    list_select(list, i, true);
    focus(qty_box);
    return 0;
}

extern "C" int32_t VBLppsSelectAll(const char* figure, int32_t list) {
    constexpr const char* kFn = "VBLppsSelectAll";
    char file[pxall::kPathSize];
    if (int p = work_path(kFileName, file); p != 0) return fail_logged(kModPages, kFn, "get_path_name", p, 0, 51);
    std::FILE* fp = plat::fopen(file, "rb");
    if (fp == nullptr) return fail_logged(kModPages, kFn, "fopen", 11, errno, 52);
    const std::string fig = figure_of(figure);
    const int32_t lines = list_count(list);
    char rec[kRecord];
    int32_t result = 0;
    for (int32_t k = 0;; ++k) {
        const size_t got = std::fread(rec, 1, sizeof rec, fp);
        if (got == 0 && std::feof(fp)) break;
        if (got != sizeof rec) {
            result = fail_logged(kModPages, kFn, "fread", 14, errno, 53);
            break;
        }
        if (rec[0] == ' ' || k >= lines) continue;
        const pxall::LcpTmpItem* it = pxall::SearchLcpTmp(fig.data(), rec + kPart);
        if (it == nullptr) continue;
        std::string line = list_line(list, k, kLineLen);
        put_qty(&line, it->qty);
        list_replace(list, k, line);
        list_select(list, k, true);
    }
    std::fclose(fp);
    // The lines marked before a read fault stay marked, so the list is
    // scrolled on that path too.
    if (plat::Control* c = plat::control(list)) c->lb_set_top(0);
    return result;
}
