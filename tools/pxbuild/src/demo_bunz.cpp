#include "pxbuild/demo_bunz.h"

#include <algorithm>
#include <cstdio>

#include "demo_tables.h"
#include "pxall/applicability.h"
#include "pxall/buinde_layout.h"
#include "pxbuild/bytes.h"
#include "pxbuild/demo_images.h"

namespace pxbuild::demo {

namespace {

namespace bi = pxall::buinde;

// Figures redrawn after a production change, and figures with a page per
// engine kind.
const std::vector<std::string> kChanged = {"1101", "1301", "4301", "4801", "8101"};
const std::vector<std::string> kByEngine = {"1501", "1701", "2301"};
// Figures whose page the index lists twice.
const std::vector<std::string> kListedTwice = {"1901", "5201"};

bool in(const std::vector<std::string>& v, const std::string& s) { return std::find(v.begin(), v.end(), s) != v.end(); }

int months(const std::string& yymm) { return std::stoi(yymm.substr(0, 2)) * 12 + std::stoi(yymm.substr(2, 2)) - 1; }
std::string yymm(int m) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d%02d", (m / 12) % 100, m % 12 + 1);
    return b;
}

// Frame models of the catalogue with a diesel (or petrol) engine: the
// engine letter follows the displacement ("AVS19D1").
std::string engine_bits(const Catalog& cat, bool diesel) {
    std::vector<std::string> wanted;
    for (const std::string& fm : cat.frame_models)
        if ((fm.size() > 5 && fm[5] == 'D') == diesel) wanted.push_back(fm);
    return pxall::applicability::frame_model_bits(cat.frame_models, wanted);
}

struct Page {
    std::string figure, key, title, from, to, image;
    char kind = bi::kKindPage;
    std::string bits = std::string(bi::kBitsSize, '\xff');
};

std::string record(const Catalog& cat, const Page& p) {
    Record r(bi::kSize);
    r.text(bi::kCatalog, 6, cat.code).text(bi::kFigure, bi::kFigureSize, p.figure).text(bi::kPageKey, bi::kPageKeySize, p.key);
    r.text(bi::kFrom, bi::kDateSize, p.from).text(bi::kTo, bi::kDateSize, p.to);
    r.text(bi::kKind, 1, std::string(1, p.kind));
    r.zero(bi::kBits, bi::kBitsSize).text(bi::kBits, bi::kBitsSize, p.bits);
    r.text(bi::kTitle, bi::kTitleSize, p.title).text(bi::kImage, bi::kImageSize, p.image);
    return r;
}

std::string continuation(const Catalog& cat, const std::string& figure, const std::string& block) {
    Record r(bi::kSize);
    r.text(bi::kCatalog, 6, cat.code).text(bi::kFigure, bi::kFigureSize, figure);
    r.text(bi::kKind, 1, std::string(1, bi::kKindContinuation)).text(bi::kContinuation, bi::kContinuationSize, block);
    return r;
}

}  // namespace

std::string vehicle_applicability(const Catalog& cat, const std::string& frame_model) {
    return pxall::applicability::frame_model_bits(cat.frame_models, {frame_model});
}

std::vector<std::string> illustration_pages(const Catalog& cat) {
    const DemoImageFile& images = demo_image_file();
    const int mid = (months(cat.date_from) + months(cat.date_to)) / 2;
    std::vector<std::string> out;
    for (const FigureDef& f : figures()) {
        const std::string fig = f.no;
        int n = 0;
        auto key = [&] {
            char k[8];
            std::snprintf(k, sizeof k, "%s%03d", fig.c_str(), ++n);
            return std::string(k);
        };
        if (in(kChanged, fig)) {
            out.push_back(record(cat, {fig, key(), std::string(f.name) + " (TO CHANGE)", cat.date_from, yymm(mid),
                                       images.locator(fig, 0)}));
            out.push_back(record(cat, {fig, key(), std::string(f.name) + " (FROM CHANGE)", yymm(mid + 1), "",
                                       images.locator(fig, 1)}));
            continue;
        }
        Page all{fig, key(), f.name, cat.date_from, "", images.locator(fig, 0)};
        out.push_back(record(cat, all));
        if (in(kListedTwice, fig)) out.push_back(record(cat, all));
        if (!in(kByEngine, fig)) continue;
        for (bool diesel : {false, true}) {
            std::string bits = engine_bits(cat, diesel);
            if (bits[0] == 0) continue;  // the catalogue has no such engine
            Page p{fig, key(), std::string(f.name) + (diesel ? " (DIESEL)" : " (PETROL)"), cat.date_from, "",
                   images.locator(fig, 0), bi::kKindContinued, bits};
            out.push_back(record(cat, p));
            out.push_back(continuation(cat, fig,
                                       diesel ? "DIESEL ENGINES: PARTS MARKED * FIT THE COMMON-RAIL VERSION ONLY."
                                              : "PETROL ENGINES: PARTS MARKED * FIT THE VARIABLE VALVE TIMING "
                                                "VERSION ONLY."));
        }
    }
    return out;
}

}  // namespace pxbuild::demo
