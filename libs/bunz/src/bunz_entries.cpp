// Opening and closing the illustration, paging through the chosen figures and
// their sub-illustrations, switching the match, and the print title.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "bunz/bunz.h"
#include "bunz_internal.h"
#include "platform/files.h"
#include "pxall/errlog.h"
#include "pxall/selection.h"
#include "pxall/text_cut.h"

namespace pxbunz {

namespace {

constexpr int kAtPath = 1010;
constexpr int kAtInit = 1020;
constexpr int kAtNext = 1030;
constexpr int kAtPrev = 1040;
constexpr int kAtMatch = 1050;
constexpr int kAtBusz = 1060;

State g_state;

// The chosen-figure list of the next-screen block.
int16_t chosen_count() {
    const unsigned char* na = pxall::get_cnexta_addr();
    if (na == nullptr) return 0;
    int16_t n = pxall::get_i16(na + pxall::cnexta::kFigureCount);
    return static_cast<int16_t>(std::clamp<int>(n, 0, pxall::cnexta::kMaxFigures));
}
const unsigned char* chosen_figure(int i) {
    return pxall::get_cnexta_addr() + pxall::cnexta::kFigures + static_cast<size_t>(i) * fig::kFigureSize;
}

int16_t figure_index() {
    int16_t i = pxall::get_i16(pxall::get_cimg_addr() + img::kFigureIndex);
    return static_cast<int16_t>(std::clamp<int>(i, 0, img::kMaxFigures - 1));
}
unsigned char* match_flag(int i) { return pxall::get_cimg_addr() + img::kMatchFlags + 2 * static_cast<size_t>(i); }

void copy_out(const unsigned char* fs, VbString* state, VbString* name) {
    to_caller(state, fs, fig::kSize);
    to_caller(name, fs + fig::kName, fig::kSize - fig::kName);
}

bool ready() { return pxall::get_cimg_addr() != nullptr && pxall::get_cnexta_addr() != nullptr; }

// Makes chosen figure i the figure in hand, with its own match flag, and
// builds its pages; the first (or, from behind, the last) page is current.
int enter_figure(int i, bool from_behind, int16_t* match, int16_t* status) {
    unsigned char* fs = main_fig();
    free_pages(&g_state.main);
    pxall::put_i16(pxall::get_cimg_addr() + img::kFigureIndex, static_cast<int16_t>(i));
    std::memset(fs, 0, fig::kSize);
    std::memcpy(fs + fig::kFigure, chosen_figure(i), fig::kFigureSize);
    int16_t flag = pxall::get_i16(match_flag(i));
    pxall::put_i16(fs + fig::kMatch, flag);
    *match = flag;
    int r = MakeFigTmpFile(&g_state.main, fs, status);
    if (r != 0) return r;
    if (*status == 0) g_state.main.current = from_behind ? g_state.main.list.last : g_state.main.list.first;
    return 0;
}

// Deletes a work file; a path not yet built names nothing.
void remove_work(const char* path) {
    if (path[0] != 0) plat::delete_file(path);
}

}  // namespace

State& state() { return g_state; }

void path_to_caller(VbString* s, const char* path) {
    if (s == nullptr || s->data == nullptr || s->len <= 0) return;
    size_t room = static_cast<size_t>(s->len);
    size_t n = std::min(std::strlen(path), room);
    std::memcpy(s->data, path, n);
    std::memset(s->data + n, 0, room - n);
}

int16_t bun_is_last_page(bool sub_mode) {
    if (sub_mode && g_state.sub.current != nullptr && g_state.sub.current->next != nullptr) return 0;
    if (g_state.main.current != nullptr && g_state.main.current->next != nullptr) return 0;
    return figure_index() + 1 >= chosen_count() ? 1 : 0;
}

void close_sub() {
    if (unsigned char* s = sub_fig()) std::memset(s, 0, fig::kSize);
    bun_free_text();
    pxall::AllDeleteItem(&g_state.refs);
    free_pages(&g_state.sub);
}

}  // namespace pxbunz

using namespace pxbunz;

extern "C" {

int32_t VBBunzInit(VbString* state, VbString* name, int16_t* match, int16_t* last_page, int16_t* status) {
    *status = 0;
    *last_page = 0;
    if (!ready()) return kBadState;
    // A selection left over from before is freed, not just forgotten.
    pxall::TermSelTmp();
    pxall::InitSelTmp();
    bun_free_text();
    pxall::AllDeleteItem(&g_state.refs);
    free_pages(&g_state.main);
    free_pages(&g_state.sub);
    std::memset(pxall::get_cimg_addr(), 0, pxall::area::kCimgSize);

    struct {
        char* buf;
        const char* name;
    } paths[] = {{g_state.image_path, kImageWork},
                 {g_state.bitmap_path, kBitmapWork},
                 {g_state.list_path, kListWork},
                 {g_state.name_path, kNameWork}};
    for (auto& p : paths) {
        std::memset(p.buf, 0, pxall::kPathSize);
        std::strcpy(p.buf, p.name);
        int r = pxall::get_path_name(pxall::kPathWork, -1, p.buf);
        if (r != 0) {
            pxall::syerr_message(kModEntries, "VBBunzInit", "get_path_name", r, 0, kAtPath);
            for (auto& q : paths) q.buf[0] = 0;
            return r;
        }
    }

    int r = enter_figure(0, false, match, status);
    if (r != 0) {
        pxall::syerr_message(kModEntries, "VBBunzInit", "MakeFigTmpFile", r, 0, kAtInit);
        return r;
    }
    *last_page = bun_is_last_page(false);
    copy_out(main_fig(), state, name);
    return 0;
}

int32_t VBBunzTerm() {
    remove_work(g_state.list_path);
    remove_work(g_state.name_path);
    remove_work(g_state.image_path);
    remove_work(g_state.bitmap_path);
    bun_free_text();
    pxall::AllDeleteItem(&g_state.refs);
    pxall::TermSelTmp();
    free_pages(&g_state.main);
    free_pages(&g_state.sub);
    return 0;
}

int32_t VBBunzNextPage(int16_t* sub, VbString* state, VbString* name, int16_t* match, int16_t* last_page,
                       int16_t* status) {
    *status = 0;
    if (!ready()) return kBadState;
    Pages& sp = g_state.sub;
    Pages& mp = g_state.main;
    if (sub_open() && sp.current != nullptr && sp.current->next != nullptr) {
        sp.current = sp.current->next;
        *sub = 1;
        *match = pxall::get_i16(sub_fig() + fig::kMatch);
        *last_page = bun_is_last_page(true);
        copy_out(sub_fig(), state, name);
        return 0;
    }
    if (mp.current != nullptr && mp.current->next != nullptr) {
        mp.current = mp.current->next;
        *sub = 0;
        if (sub_open() || sp.list.first != nullptr) close_sub();
    } else if (figure_index() + 1 < chosen_count()) {
        *sub = 0;
        if (sub_open() || sp.list.first != nullptr) close_sub();
        int r = enter_figure(figure_index() + 1, false, match, status);
        if (r != 0) {
            pxall::syerr_message(kModEntries, "VBBunzNextPage", "MakeFigTmpFile", r, 0, kAtNext);
            return r;
        }
    } else {
        *last_page = 1;
        *status = kStNoNext;
        return 0;
    }
    *match = pxall::get_i16(main_fig() + fig::kMatch);
    *last_page = bun_is_last_page(false);
    copy_out(main_fig(), state, name);
    return 0;
}

int32_t VBBunzPrevPage(int16_t* sub, VbString* state, VbString* name, int16_t* match, int16_t* last_page,
                       int16_t* status) {
    *status = 0;
    if (!ready()) return kBadState;
    Pages& sp = g_state.sub;
    Pages& mp = g_state.main;
    *sub = 0;
    bool back_to_main = false;
    if (sub_open()) {
        if (sp.current != nullptr && sp.current->prev != nullptr) {
            sp.current = sp.current->prev;
            *sub = 1;
            *match = pxall::get_i16(sub_fig() + fig::kMatch);
            *last_page = bun_is_last_page(true);
            copy_out(sub_fig(), state, name);
            return 0;
        }
        // Out of the sub-illustration, back on the page it was opened from.
        close_sub();
        back_to_main = mp.current != nullptr;
    } else if (mp.current != nullptr && mp.current->prev != nullptr) {
        mp.current = mp.current->prev;
        back_to_main = true;
    }
    if (!back_to_main) {
        if (figure_index() == 0) {
            *last_page = bun_is_last_page(false);
            *status = kStNoPrev;
            copy_out(main_fig(), state, name);
            return 0;
        }
        int r = enter_figure(figure_index() - 1, true, match, status);
        if (r != 0) {
            pxall::syerr_message(kModEntries, "VBBunzPrevPage", "MakeFigTmpFile", r, 0, kAtPrev);
            return r;
        }
    }
    *match = pxall::get_i16(main_fig() + fig::kMatch);
    *last_page = bun_is_last_page(false);
    copy_out(main_fig(), state, name);
    return 0;
}

int32_t VBBunzChangeMatch(VbString* state, VbString* name, int16_t* match, int16_t* last_page, int16_t* status) {
    *status = 0;
    if (!ready()) return kBadState;
    bool in_sub = sub_open();
    Pages& pages = in_sub ? g_state.sub : g_state.main;
    unsigned char* fs = in_sub ? sub_fig() : main_fig();
    free_pages(&pages);
    unsigned char* flag_at = in_sub ? fs + fig::kMatch : match_flag(figure_index());
    int16_t flag = pxall::get_i16(flag_at) == 0 ? 1 : 0;
    pxall::put_i16(flag_at, flag);
    pxall::put_i16(fs + fig::kMatch, flag);
    *match = flag;
    int r = MakeFigTmpFile(&pages, fs, status);
    if (r != 0) {
        pxall::syerr_message(kModEntries, "VBBunzChangeMatch", "MakeFigTmpFile", r, 0, kAtMatch);
        return r;
    }
    if (*status == 0) pages.current = pages.list.first;
    *last_page = bun_is_last_page(in_sub);
    copy_out(fs, state, name);
    return 0;
}

int32_t VBBuszInit(VbString* state, VbString* name, int16_t* match, int16_t* last_page, int16_t* status) {
    *status = 0;
    *last_page = 0;
    if (!ready()) return kBadState;
    unsigned char* fs = sub_fig();
    free_pages(&g_state.sub);
    *match = pxall::get_i16(fs + fig::kMatch);
    int r = MakeFigTmpFile(&g_state.sub, fs, status);
    if (r != 0) {
        pxall::syerr_message(kModEntries, "VBBuszInit", "MakeFigTmpFile", r, 0, kAtBusz);
        return r;
    }
    if (*status == 0) {
        g_state.sub.current = g_state.sub.list.first;
        *last_page = bun_is_last_page(true);
    }
    copy_out(fs, state, name);
    return 0;
}

int32_t VBBuszTerm() {
    close_sub();
    return 0;
}

int32_t VBBunMakePrnIllustNm(VbString* page_text, VbString* title) {
    // Three lines of the page text: 74 bytes, 74 more, then 52. A character
    // that would not fit at a line's end begins the next line.
    constexpr size_t kLine = 74, kLast = 52;
    constexpr size_t kWidths[] = {kLine, kLine, kLast};
    // One byte more than the lines show: it tells whether the last byte shown
    // begins a character that goes on past them.
    char src[2 * kLine + kLast + 1];
    std::memset(src, ' ', sizeof src);
    if (page_text != nullptr && page_text->data != nullptr && page_text->len > 0)
        std::memcpy(src, page_text->data, std::min(sizeof src, static_cast<size_t>(page_text->len)));
    char out[2 * kLine + kLast + 4];
    char* o = out;
    size_t at = 0;
    for (size_t w : kWidths) {
        if (o != out) {
            *o++ = '\r';
            *o++ = '\n';
        }
        const std::string_view rest(src + at, sizeof src - at);
        const size_t n = pxall::text_cut_length(rest, w);
        pxall::put_text_field(o, w, rest.substr(0, n), ' ');
        at += n;
        o += w;
    }
    if (title != nullptr && title->data != nullptr && title->len > 0)
        pxall::put_text_field(title->data, std::min(sizeof out, static_cast<size_t>(title->len)),
                              std::string_view(out, sizeof out), ' ');
    return title == nullptr ? 0 : title->len;
}

}  // extern "C"
