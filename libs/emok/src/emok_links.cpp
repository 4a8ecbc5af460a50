// What a page's detail picture says: which figure labels stand by which area
// box, and the page's figure list with the figure names.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "emok_internal.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/keyed_file.h"
#include "pxall/wrap.h"

namespace pxemok {

namespace {

namespace em = pxall::eminde;
namespace fm = pxall::figm;

// The right edge limit of area box p's labels: the left edge of the area
// box to its right (overlapping it vertically), as the boxes are walked.
int boundary(const HotSpots& t, int32_t n, const uint8_t* p) {
    int b = kNoBoundary;
    for (int32_t j = 0; j < n; ++j) {
        const uint8_t* q = t.at(j);
        if (attribute(q) != spot::kAreaBox) continue;
        if (left(q) > right(p) && top(q) <= bottom(p) && bottom(q) >= top(p) && right(q) < b) b = left(q);
    }
    return b;
}

bool has_label(const HotSpots& t, const char* figure) {
    const int32_t n = t.size();
    for (int32_t i = 0; i < n; ++i)
        if (attribute(t.at(i)) == spot::kFigureLabel && std::memcmp(text(t.at(i)), figure, 4) == 0) return true;
    return false;
}

// The range characters of the figure-name file for an index figure group.
const char* ranges(char group) {
    switch (group) {
        case '1': return "123";
        case '2': return "4";
        case '3': return "5";
        case '4': return "6";
        default: return nullptr;
    }
}

struct Out {
    std::FILE* fp = nullptr;
    ~Out() {
        if (fp != nullptr) std::fclose(fp);
    }
    bool put(const std::string& line) {
        return std::fwrite(line.data(), 1, line.size(), fp) == line.size() && std::fwrite("\r\n", 1, 2, fp) == 2;
    }
};

// The lines of one figure: "NN-NN", its name in pieces of 30. A blank name
// gives none. False when a line was not written.
bool put_figure(Out* out, const char* figure, const char* name, size_t name_len) {
    std::string line(fnls::kLineLen, ' ');
    const char num[fnls::kFigureSize] = {figure[0], figure[1], '-', figure[2], figure[3]};
    line.replace(fnls::kFigure, fnls::kFigureSize, num, fnls::kFigureSize);
    if (name == nullptr) return out->put(line);
    char piece[fnls::kNameSize];
    int32_t pos = 0;
    bool first = true;
    while (pxall::memory_edit_2_n_data(name, static_cast<int>(name_len), piece, fnls::kNameSize, &pos) == 0) {
        if (!first) line.replace(fnls::kFigure, fnls::kFigureSize, fnls::kFigureSize, ' ');
        line.replace(fnls::kName, fnls::kNameSize, piece, fnls::kNameSize);
        if (!out->put(line)) return false;
        first = false;
    }
    return true;
}

}  // namespace

int32_t make_links(State& s) {
    s.links.clear();
    const HotSpots& t = s.detail;
    const int32_t n = t.size();
    for (int32_t i = 0; i < n; ++i) {
        const uint8_t* p = t.at(i);
        if (attribute(p) != spot::kAreaBox) continue;
        const int b = boundary(t, n, p);
        for (int32_t j = 0; j < n; ++j) {
            const uint8_t* l = t.at(j);
            if (attribute(l) != spot::kFigureLabel) continue;
            if (!(top(p) - kLinkAbove < top(l) && top(l) < top(p) + kLinkBelow)) continue;
            if (left(l) < right(p) || right(l) >= b) continue;
            if (static_cast<int>(s.links.size()) == kMaxLinks)
                return fail_logged(kModLinks, "EmokAddkf", "KF NUM over", -1, kMaxLinks, 31);
            Link k;
            std::memcpy(k.area, text(p), sizeof k.area);
            std::memcpy(k.figure, text(l), sizeof k.figure);
            s.links.push_back(k);
        }
    }
    return 0;
}

int32_t make_figure_list(State& s, int page) {
    constexpr const char* kFn = "emok_make_figmei_file";
    Out out;
    out.fp = plat::fopen(s.paths[kFnls], "wt");
    if (out.fp == nullptr) return fail_logged(kModNames, kFn, "fopen", 11, errno, 41);
    const char* rs = ranges(static_cast<char>(s.pages[page - 1].detail[em::kGroup]));
    if (rs == nullptr) return fail_logged(kModNames, kFn, "figgrp", 128, s.pages[page - 1].detail[em::kGroup], 42);

    const unsigned char* top_blk = pxall::get_ctop_addr();
    char lang[3] = {'0', '1', 0};
    if (top_blk != nullptr && top_blk[pxall::ctop::kDataLangCode] != 0)
        std::memcpy(lang, top_blk + pxall::ctop::kDataLangCode, 2);
    char file[16];
    std::snprintf(file, sizeof file, fm::kFileFormat, lang);
    pxall::CdHandle* h = nullptr;
    int detail = 0;
    int r = pxall::cdopen(file, "", 1, 0, -1, name_setup(), 0, &h, &detail);
    if (r == 4) return 4;
    if (r != 0 && r != -1) return fail_logged(kModNames, kFn, "cdopen", r, detail, 43);
    struct Closer {
        pxall::CdHandle** h;
        ~Closer() {
            int d = 0;
            pxall::cdclose(h, &d);
        }
    } closer{&h};

    if (h == nullptr || pxall::cdfilelen(h) == 0) {
        // No names: a nameless line for each figure label, in table order.
        const int32_t n = s.detail.size();
        for (int32_t i = 0; i < n; ++i) {
            const uint8_t* e = s.detail.at(i);
            if (attribute(e) != spot::kFigureLabel) continue;
            if (!put_figure(&out, text(e), nullptr, 0)) return fail_logged(kModNames, kFn, "fputs", 13, errno, 44);
        }
    } else {
        char key[fm::kKeySize];
        vehicle_catalog(key);
        uint8_t rec[fm::kSize];
        for (const char* c = rs; *c != 0; ++c) {
            key[fm::kRange] = *c;
            pxall::cdreopen(h, &detail);
            while ((r = pxall::cdread(rec, key, fm::kKeySize, 0, nullptr, nullptr, h, &detail)) == 0) {
                const char* fig = reinterpret_cast<const char*>(rec + fm::kFigure);
                // The first page lists every figure of the first range.
                if (!(page == 1 && *c == '1') && !has_label(s.detail, fig)) continue;
                if (!put_figure(&out, fig, reinterpret_cast<const char*>(rec + fm::kName), fm::kNameSize))
                    return fail_logged(kModNames, kFn, "fputs", 13, errno, 45);
            }
            if (r == 4) return 4;
            if (r != -1) return fail_logged(kModNames, kFn, "cdread", r, detail, 46);
        }
    }
    const bool closed = std::fclose(out.fp) == 0;
    out.fp = nullptr;
    if (!closed) return fail_logged(kModNames, kFn, "fputs", 13, errno, 47);
    return 0;
}

}  // namespace pxemok
