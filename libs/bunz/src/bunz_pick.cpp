// Picking on the illustration screen: references clicked on the picture or
// toggled in the lists go into and out of the selection list, the two list
// boxes and the quantity box follow, and every selected reference is marked
// on the picture (a code is marked exactly while it is selected).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "bunz/bunz.h"
#include "bunz_internal.h"
#include "platform/controls.h"
#include "pxall/cdrom.h"
#include "pxall/errlog.h"
#include "pxall/image.h"
#include "pxall/part_records.h"
#include "pxall/selection.h"

namespace pxbunz {

namespace {

namespace im = pxall::image;

constexpr int16_t kStEmptyQty = 1;
constexpr int16_t kStBadQty = 2;
constexpr int16_t kStFull = 6;
constexpr int16_t kStSubPicked = 31;

constexpr int kAtSetSel = 4010;
constexpr int kAtHinmei = 4020;

constexpr const char kFirstQty[] = "01";
constexpr int kMinQty = 1, kMaxQty = 99;
constexpr size_t kCodeSize = 12;

// Reference-number list (modes 1, 3) or selected-items list (mode 2).
bool valid_mode(int16_t mode) { return mode >= 1 && mode <= 3; }
bool selected_list(int16_t mode) { return mode == 2; }
size_t qty_column(int16_t mode) { return selected_list(mode) ? selline::kQty : refline::kQty; }

const uint8_t* placements(int16_t mode) {
    return mode == 1 ? state().text.halved() : state().text.stored();
}
const uint8_t* entry(const uint8_t* table, int32_t i) { return table + static_cast<size_t>(i) * im::kTextEntrySize; }
const char* entry_code(const uint8_t* e) { return reinterpret_cast<const char*>(e + im::kTeText); }

// Inverts every placement of a code: marks it, or takes the mark off.
void mark_code(int16_t mode, int32_t picture, int32_t window, const char* code) {
    const uint8_t* t = placements(mode);
    for (int32_t i = 0; t != nullptr && i < state().text.count; ++i) {
        const uint8_t* e = entry(t, i);
        if (std::memcmp(entry_code(e), code, kCodeSize) != 0) continue;
        int16_t rect[4] = {pxall::get_i16(e + im::kTeLeft), pxall::get_i16(e + im::kTeTop),
                           pxall::get_i16(e + im::kTeRight), pxall::get_i16(e + im::kTeBottom)};
        pxall::reverse_image(picture, window, rect);
    }
}

// Column c of a line, a blank beyond its end.
char col(const std::string& line, size_t c) { return c < line.size() ? line[c] : ' '; }

// The code of a line: columns 0-11 up to the first blank, blank-padded.
std::string line_code(const std::string& line) {
    std::string code(kCodeSize, ' ');
    for (size_t i = 0; i < kCodeSize && static_cast<unsigned char>(col(line, i)) > ' '; ++i) code[i] = line[i];
    return code;
}

void put_cols(std::string* line, size_t at, const char* two) {
    if (line->size() < at + 2) line->resize(at + 2, ' ');
    line->replace(at, 2, two, 2);
}

bool read_line(plat::Control* lb, int32_t i, std::string* line) { return lb->lb_text(i, line) >= 0; }

// Replaces a line; it comes back unselected, and the caret stays on it.
void replace_line(plat::Control* lb, int32_t i, const std::string& line) {
    bool caret = lb->lb_get_cur() == i;
    lb->lb_delete(i);
    lb->lb_insert(i, line);
    if (caret) lb->lb_set_cur(i);
}

// A line is selected: in the selected-items list, by being current.
bool is_selected(int16_t mode, plat::Control* lb, int32_t i) {
    return selected_list(mode) ? lb->lb_get_cur() == i : lb->lb_get_sel(i) > 0;
}

void set_qty_box(plat::Control* box, const std::string& text, bool focus) {
    if (box == nullptr) return;
    box->set_text(text);
    if (focus) box->set_focus();
}

void prepare_sub(const char* figure, int16_t* status) {
    unsigned char* s = sub_fig();
    std::memset(s, 0, fig::kSize);
    std::memcpy(s + fig::kFigure, figure, fig::kFigureSize);
    *status = kStSubPicked;
}

// After a selected-items line is deleted, the quantity box follows the
// current line: empty when the list is empty or none is current.
void follow_current(plat::Control* lb, plat::Control* box) {
    int32_t count = lb->lb_count();
    int32_t cur = lb->lb_get_cur();
    std::string line;
    if (count <= 0) {
        set_qty_box(box, "", false);
        lb->set_focus();
        return;
    }
    if (cur < 0 || !read_line(lb, cur, &line)) {
        set_qty_box(box, "", true);
        return;
    }
    lb->lb_set_cur(cur);
    set_qty_box(box, line.size() > selline::kQty ? line.substr(selline::kQty) : std::string(), true);
}

std::string selected_line(const char* code, const char* qty) {
    std::string line(code, kCodeSize);
    line += "  ";
    line.append(qty, 2);
    return line;
}

// The selected-items line of a code, or -1.
int32_t find_selected_line(plat::Control* lb, const char* code) {
    int32_t n = lb->lb_count();
    std::string line;
    for (int32_t i = 0; i < n; ++i) {
        if (!read_line(lb, i, &line)) continue;
        line.resize(std::max(line.size(), kCodeSize), ' ');
        if (line.compare(0, kCodeSize, code, kCodeSize) == 0) return i;
    }
    return -1;
}

// A list line that is a code's first line (not a continuation, not a
// sub-illustration).
bool has_code(const std::string& line) { return col(line, 0) != ' ' && col(line, refline::kSubMark) != ' '; }

}  // namespace

}  // namespace pxbunz

using namespace pxbunz;

extern "C" {

int32_t VBBunSelectAll1(int16_t mode, int32_t picture, int32_t window, int32_t list) {
    plat::Control* lb = plat::control(list);
    if (!valid_mode(mode) || lb == nullptr) return kBadState;
    std::string line;
    for (pxall::ItemLinks* l = state().refs.first; l != nullptr; l = l->next) {
        auto* ref = reinterpret_cast<RefItem*>(l);
        const pxall::SelTmpItem* it = pxall::SearchSelTmp(ref->code);
        if (it == nullptr || !read_line(lb, ref->line, &line)) continue;
        put_cols(&line, refline::kQty, it->qty);
        replace_line(lb, ref->line, line);
        lb->lb_set_sel(ref->line, true);
        mark_code(mode, picture, window, ref->code);
    }
    lb->lb_set_top(0);
    return 0;
}

int32_t VBBunSelectAll2(int32_t picture, int32_t window, int32_t list) {
    plat::Control* lb = plat::control(list);
    if (lb == nullptr) return kBadState;
    for (pxall::ItemLinks* l = pxall::GetPtrSelTmp()->first; l != nullptr; l = l->next) {
        auto* it = reinterpret_cast<pxall::SelTmpItem*>(l);
        lb->lb_add(selected_line(it->code, it->qty));
        mark_code(2, picture, window, it->code);
    }
    if (lb->lb_count() > 0) lb->lb_set_cur(0);
    return 0;
}

int32_t VBBunSelectIllust(int16_t mode, int32_t picture, int32_t window, int32_t list, int32_t qty_box,
                          VbString* name, float x, float y, int16_t* status) {
    *status = 0;
    plat::Control* lb = plat::control(list);
    plat::Control* box = plat::control(qty_box);
    if (!valid_mode(mode) || lb == nullptr) return kBadState;
    // Picture coordinates are far inside 16 bits; anything else hits nothing.
    if (!std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > 32767.0f || std::fabs(y) > 32767.0f) return 0;
    const int px = static_cast<int>(x), py = static_cast<int>(y);

    const uint8_t* t = placements(mode);
    const uint8_t* hit = nullptr;
    for (int32_t i = 0; t != nullptr && i < state().text.count && hit == nullptr; ++i) {
        const uint8_t* e = entry(t, i);
        if (pxall::get_i16(e + im::kTeLeft) <= px && px <= pxall::get_i16(e + im::kTeRight) &&
            pxall::get_i16(e + im::kTeTop) <= py && py <= pxall::get_i16(e + im::kTeBottom))
            hit = e;
    }
    if (hit == nullptr || !has_reference(entry_code(hit))) return 0;
    char code[kCodeSize];
    std::memcpy(code, entry_code(hit), kCodeSize);
    if (hit[im::kTeAttribute] == im::kAttrSubIllustration) {
        prepare_sub(code, status);
        return 0;
    }

    int32_t line_no = -1;
    if (!selected_list(mode)) {
        const RefItem* ref = find_ref(code);
        if (ref == nullptr) return 0;
        line_no = ref->line;
    } else {
        line_no = find_selected_line(lb, code);
    }
    std::string line;

    if (pxall::SearchSelTmp(code) != nullptr) {
        pxall::DelSelTmp(code);
        if (!selected_list(mode)) {
            if (read_line(lb, line_no, &line)) {
                put_cols(&line, refline::kQty, "  ");
                replace_line(lb, line_no, line);
            }
            set_qty_box(box, "", false);
            lb->set_focus();
        } else {
            if (line_no >= 0) lb->lb_delete(line_no);
            follow_current(lb, box);
        }
        mark_code(mode, picture, window, code);
        return 0;
    }

    int r = pxall::SetSelTmp(code, kFirstQty);
    if (r == 1) {
        *status = kStFull;
        return 0;
    }
    if (r != 0) {
        pxall::syerr_message(kModPick, "VBBunSelectIllust", "SetSelTmp", r, 0, kAtSetSel);
        return r;
    }
    if (!selected_list(mode)) {
        if (read_line(lb, line_no, &line)) {
            put_cols(&line, refline::kQty, kFirstQty);
            replace_line(lb, line_no, line);
            lb->lb_set_sel(line_no, true);
        }
    } else {
        int32_t at = lb->lb_add(selected_line(code, kFirstQty));
        if (at >= 0) lb->lb_set_cur(at);
    }
    set_qty_box(box, kFirstQty, true);
    // Marked before the name is read, so that a failing read leaves the
    // picked code marked as it is selected.
    mark_code(mode, picture, window, code);
    if (selected_list(mode) && name != nullptr) {
        char part_name[pxall::hinmei_rec::kNameSize] = {};
        r = pxall::get_hinmei(code, part_name, status);
        if (r != 0) {
            pxall::syerr_message(kModPick, "VBBunSelectIllust", "get_hinmei", r, 0, kAtHinmei);
            return r;
        }
        to_caller(name, part_name, sizeof part_name);
    }
    return 0;
}

int32_t VBBunSelectListBox(int16_t mode, int32_t picture, int32_t window, int32_t list, int32_t qty_box,
                           int16_t* status) {
    *status = 0;
    plat::Control* lb = plat::control(list);
    plat::Control* box = plat::control(qty_box);
    if (!valid_mode(mode) || lb == nullptr) return kBadState;
    int32_t caret = lb->lb_get_cur();
    std::string line;
    if (caret < 0 || !read_line(lb, caret, &line)) return 0;
    if (col(line, 0) == ' ') {
        lb->lb_set_sel(caret, false);
        return 0;
    }
    if (col(line, refline::kSubMark) == ' ') {
        lb->lb_set_sel(caret, false);
        prepare_sub(line.c_str(), status);
        return 0;
    }
    std::string code = line_code(line);
    if (selected_list(mode)) {
        bool held = pxall::SearchSelTmp(code.c_str()) != nullptr;
        pxall::DelSelTmp(code.c_str());
        lb->lb_delete(caret);
        follow_current(lb, box);
        if (!held) return 0;
    } else if (pxall::SearchSelTmp(code.c_str()) != nullptr) {
        pxall::DelSelTmp(code.c_str());
        put_cols(&line, refline::kQty, "  ");
        replace_line(lb, caret, line);
        lb->lb_set_cur(caret);
        set_qty_box(box, "", false);
    } else {
        int r = pxall::SetSelTmp(code.c_str(), kFirstQty);
        if (r == 1) {
            lb->lb_set_sel(caret, false);
            *status = kStFull;
            return 0;
        }
        if (r != 0) return r;
        put_cols(&line, refline::kQty, kFirstQty);
        replace_line(lb, caret, line);
        lb->lb_set_sel(caret, true);
        set_qty_box(box, kFirstQty, true);
    }
    mark_code(mode, picture, window, code.c_str());
    return 0;
}

int32_t VBBunClickListBox(int16_t mode, int32_t list, int32_t qty_box, int16_t* status) {
    *status = 0;
    plat::Control* lb = plat::control(list);
    plat::Control* box = plat::control(qty_box);
    if (!valid_mode(mode) || lb == nullptr) return kBadState;
    int32_t caret = lb->lb_get_cur();
    std::string line;
    if (caret < 0 || !read_line(lb, caret, &line)) return 0;
    if (col(line, 0) == ' ' || col(line, refline::kSubMark) == ' ') {
        lb->lb_set_sel(caret, false);
        set_qty_box(box, "", false);
        if (col(line, 0) != ' ') prepare_sub(line.c_str(), status);
        return 0;
    }
    if (!selected_list(mode) && lb->lb_get_sel(caret) <= 0) {
        set_qty_box(box, "", false);
        return 0;
    }
    size_t at = qty_column(mode);
    set_qty_box(box, std::string{col(line, at), col(line, at + 1)}, true);
    return 0;
}

int32_t VBBunEntryQty(int16_t mode, int16_t step, int32_t list, int32_t qty_box, int16_t* status) {
    *status = 0;
    plat::Control* lb = plat::control(list);
    plat::Control* box = plat::control(qty_box);
    if (!valid_mode(mode) || lb == nullptr || box == nullptr) return kBadState;
    int32_t caret = lb->lb_get_cur();
    std::string line;
    if (caret < 0 || !is_selected(mode, lb, caret) || !read_line(lb, caret, &line)) return 0;

    std::string text = box->text();
    if (text.empty()) {
        *status = kStEmptyQty;
        return 0;
    }
    if (text.size() > 2) {
        *status = kStBadQty;
        return 0;
    }
    for (char c : text)
        if (c != ' ' && (c < '0' || c > '9')) {
            *status = kStBadQty;
            return 0;
        }
    // Blanks before the digits are passed over (" 5" is 5); what comes out
    // stays within 01-99, also for "0", "00" and blanks.
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    int n = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) n = n * 10 + (text[i] - '0');
    if (step < 0) n -= 1;
    if (step > 0) n += 1;
    n = std::clamp(n, kMinQty, kMaxQty);
    char qty[3];
    std::snprintf(qty, sizeof qty, "%02d", n);
    box->set_text(qty);

    if (selected_list(mode) || has_code(line)) {
        std::string code = line_code(line);
        if (pxall::SelTmpItem* it = pxall::SearchSelTmp(code.c_str())) std::memcpy(it->qty, qty, sizeof it->qty);
        put_cols(&line, qty_column(mode), qty);
        replace_line(lb, caret, line);
        if (selected_list(mode))
            lb->lb_set_cur(caret);
        else
            lb->lb_set_sel(caret, true);
    }
    box->set_focus();
    return 0;
}

}  // extern "C"
