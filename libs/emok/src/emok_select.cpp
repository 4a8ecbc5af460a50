// The clerk's picks on an index page: a figure label, an area box or a list
// line toggles figures in the selected-figure list, and the three views
// (detail picture, overall picture, list) follow.
#include <cmath>
#include <cstring>
#include <string>

#include "emok/emok.h"
#include "emok_internal.h"
#include "platform/controls.h"
#include "pxall/image.h"
#include "pxall/selection.h"

using namespace pxemok;

namespace {

struct Views {
    int32_t overall_pic, overall_win, detail_pic, detail_win, list;
};

bool same_figure(const char* a, const char* b) { return std::memcmp(a, b, 4) == 0; }

// Inverts an entry's rectangle to show it marked (on) or not (off).
void mark(uint8_t* e, bool on, int32_t pic, int32_t win) {
    if ((e[spot::kInverted] != 0) == on) return;
    const int16_t rect[4] = {left(e), top(e), right(e), bottom(e)};
    pxall::reverse_image(pic, win, rect);
    e[spot::kInverted] = on ? 1 : 0;
}

// The list line of a figure ("NN-NN" at its start), or -1.
int32_t figure_line(int32_t list, const char* figure) {
    plat::Control* box = plat::control(list);
    if (box == nullptr) return -1;
    const int32_t n = box->lb_count();
    std::string t;
    for (int32_t i = 0; i < n; ++i) {
        if (box->lb_text(i, &t) == plat::kLbErr || t.size() < fnls::kFigureSize || t[0] == ' ') continue;
        if (t[0] == figure[0] && t[1] == figure[1] && t[3] == figure[2] && t[4] == figure[3]) return i;
    }
    return -1;
}

void select_line(int32_t list, const char* figure, bool on) {
    const int32_t i = figure_line(list, figure);
    if (plat::Control* box = plat::control(list); box != nullptr && i >= 0) box->lb_set_sel(i, on);
}

// The figure's labels on the detail picture (EmokReverseShoFigno).
void mark_labels(State& s, const char* figure, bool on, const Views& v) {
    const int32_t n = s.detail.size();
    for (int32_t i = 0; i < n; ++i) {
        uint8_t* e = s.detail.at(i);
        if (attribute(e) == spot::kFigureLabel && same_figure(text(e), figure)) mark(e, on, v.detail_pic, v.detail_win);
    }
}

// The figures an area selects: its first links, at most two.
int area_figures(const State& s, const char* area, const char* out[kFiguresPerArea]) {
    int k = 0;
    for (const Link& l : s.links)
        if (k < kFiguresPerArea && std::memcmp(l.area, area, 2) == 0) out[k++] = l.figure;
    return k;
}

// The overall area boxes of an area: marked while one of its figures is picked.
void update_area(State& s, const char* area, const Views& v) {
    const char* figs[kFiguresPerArea];
    const int k = area_figures(s, area, figs);
    bool on = false;
    for (int i = 0; i < k; ++i) on = on || pxall::search_selfgn(figs[i]) != nullptr;
    const int32_t n = s.overall.size();
    for (int32_t i = 0; i < n; ++i) {
        uint8_t* e = s.overall.at(i);
        if (attribute(e) == spot::kAreaBox && std::memcmp(text(e), area, 2) == 0) mark(e, on, v.overall_pic, v.overall_win);
    }
}

void update_areas_of(State& s, const char* figure, const Views& v) {
    for (const Link& l : s.links)
        if (same_figure(l.figure, figure)) update_area(s, l.area, v);
}

// Toggles one figure: out of the list when there, else into it. 0, the
// status 6 when the list is full (nothing changed), or 20 logged.
int32_t toggle_figure(State& s, const char* figure, const Views& v, int16_t* status, const char* fn) {
    if (pxall::search_selfgn(figure) != nullptr) {
        pxall::del_selfgn(figure);
        select_line(v.list, figure, false);
        mark_labels(s, figure, false, v);
    } else {
        int r = pxall::set_selfgn(figure);
        if (r == 1) {
            select_line(v.list, figure, false);
            *status = kListFull;
            return 0;
        }
        if (r != 0) return fail_logged(kModEntries, fn, "set_selfgn", r, 0, 51);
        select_line(v.list, figure, true);
        mark_labels(s, figure, true, v);
    }
    update_areas_of(s, figure, v);
    return 0;
}

// A click on an area: its figures all out when its overall box is marked,
// else all in.
int32_t toggle_area(State& s, const char* area, const Views& v, int16_t* status, const char* fn) {
    *status = kAreaHit;
    bool deselect = false;
    const int32_t n = s.overall.size();
    for (int32_t i = 0; i < n; ++i) {
        const uint8_t* e = s.overall.at(i);
        if (attribute(e) == spot::kAreaBox && std::memcmp(text(e), area, 2) == 0) {
            deselect = e[spot::kInverted] != 0;
            break;
        }
    }
    const char* figs[kFiguresPerArea];
    const int k = area_figures(s, area, figs);
    for (int i = 0; i < k; ++i) {
        if (deselect) {
            pxall::del_selfgn(figs[i]);
        } else if (pxall::search_selfgn(figs[i]) == nullptr) {
            int r = pxall::set_selfgn(figs[i]);
            if (r == 1) {
                *status = kListFull;
                continue;
            }
            if (r != 0) return fail_logged(kModEntries, fn, "set_selfgn", r, 0, 52);
        }
        const bool on = pxall::search_selfgn(figs[i]) != nullptr;
        mark_labels(s, figs[i], on, v);
        select_line(v.list, figs[i], on);
    }
    update_area(s, area, v);
    // A figure of this area may stand by other areas too.
    for (int i = 0; i < k; ++i) update_areas_of(s, figs[i], v);
    return 0;
}

// The first hot spot of the table at (x, y), edges included, among those of
// the attributes given; null when none (or the point is no number).
uint8_t* hit(HotSpots& t, float fx, float fy, bool labels) {
    if (!std::isfinite(fx) || !std::isfinite(fy) || std::fabs(fx) > 1e6f || std::fabs(fy) > 1e6f) return nullptr;
    const int x = static_cast<int>(fx), y = static_cast<int>(fy);
    const int32_t n = t.size();
    for (int32_t i = 0; i < n; ++i) {
        uint8_t* e = t.at(i);
        const char a = attribute(e);
        if (a != spot::kAreaBox && !(labels && a == spot::kFigureLabel)) continue;
        if (left(e) <= x && x <= right(e) && top(e) <= y && y <= bottom(e)) return e;
    }
    return nullptr;
}

}  // namespace

extern "C" int32_t VBEmokSelectAll(int32_t overall_pic, int32_t overall_win, int32_t detail_pic, int32_t detail_win,
                                   int32_t list) {
    State& s = state();
    const Views v{overall_pic, overall_win, detail_pic, detail_win, list};
    for (pxall::ItemLinks* l = pxall::get_selfgn()->first; l != nullptr; l = l->next) {
        const char* figure = reinterpret_cast<pxall::SelFgnItem*>(l)->figure;
        for (const Link& k : s.links) {
            if (!same_figure(k.figure, figure)) continue;
            const int32_t n = s.overall.size();
            for (int32_t i = 0; i < n; ++i) {
                uint8_t* e = s.overall.at(i);
                if (attribute(e) == spot::kAreaBox && std::memcmp(text(e), k.area, 2) == 0)
                    mark(e, true, v.overall_pic, v.overall_win);
            }
            break;  // the first link only
        }
        bool labelled = false;
        const int32_t n = s.detail.size();
        for (int32_t i = 0; i < n && !labelled; ++i)
            labelled = attribute(s.detail.at(i)) == spot::kFigureLabel && same_figure(text(s.detail.at(i)), figure);
        if (labelled) {
            select_line(list, figure, true);
            mark_labels(s, figure, true, v);
        }
    }
    return 0;
}

extern "C" int32_t VBEmokSelectListBox(int32_t overall_pic, int32_t overall_win, int32_t detail_pic,
                                       int32_t detail_win, int32_t list, int16_t* status) {
    int16_t dummy = 0;
    if (status == nullptr) status = &dummy;
    *status = 0;
    plat::Control* box = plat::control(list);
    if (box == nullptr) return 0;
    const int32_t i = box->lb_get_cur();
    std::string t;
    if (i < 0 || box->lb_text(i, &t) == plat::kLbErr) return 0;
    if (t.size() < fnls::kFigureSize || t[0] == ' ') {
        box->lb_set_sel(i, false);  // a name's continuation is no figure
        return 0;
    }
    const char figure[4] = {t[0], t[1], t[3], t[4]};
    const Views v{overall_pic, overall_win, detail_pic, detail_win, list};
    int32_t r = toggle_figure(state(), figure, v, status, "VBEmokSelectListBox");
    if (*status == kListFull) box->lb_set_sel(i, false);
    return r;
}

extern "C" int32_t VBEmokSelectZentai(int32_t overall_pic, int32_t overall_win, int32_t detail_pic, int32_t detail_win,
                                      int32_t list, float x, float y, int16_t* status) {
    int16_t dummy = 0;
    if (status == nullptr) status = &dummy;
    State& s = state();
    const uint8_t* e = hit(s.overall, x, y, false);
    if (e == nullptr) return 0;
    const char area[2] = {text(e)[0], text(e)[1]};
    return toggle_area(s, area, Views{overall_pic, overall_win, detail_pic, detail_win, list}, status,
                       "VBEmokSelectZentai");
}

extern "C" int32_t VBEmokSelectShosai(int32_t overall_pic, int32_t overall_win, int32_t detail_pic, int32_t detail_win,
                                      int32_t list, float x, float y, int16_t* status) {
    int16_t dummy = 0;
    if (status == nullptr) status = &dummy;
    State& s = state();
    const uint8_t* e = hit(s.detail, x, y, true);
    if (e == nullptr) return 0;
    const Views v{overall_pic, overall_win, detail_pic, detail_win, list};
    if (attribute(e) == spot::kFigureLabel) {
        const char figure[4] = {text(e)[0], text(e)[1], text(e)[2], text(e)[3]};
        return toggle_figure(s, figure, v, status, "VBEmokSelectShosai");
    }
    const char area[2] = {text(e)[0], text(e)[1]};
    return toggle_area(s, area, v, status, "VBEmokSelectShosai");
}
