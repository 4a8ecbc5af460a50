#include "pxbuild/demo_emok.h"

#include <cmath>
#include <cstdio>

#include "drawing.h"
#include "pxall/image_layout.h"
#include "pxall/index_layout.h"
#include "pxbuild/demo_data.h"
#include "pxbuild/demo_images.h"
#include "pxbuild/keyed_writer.h"
#include "demo_tables.h"

namespace pxbuild {

namespace demo {

namespace {

using namespace draw;
namespace em = pxall::eminde;

// The index screen shows the top-left 640 x 352 pixels of each picture:
// every picture is that size. It is drawn at twice the size, with the line
// widths and letters of the illustrations, and then halved.
constexpr int kShownWidth = 640, kShownHeight = 352;
constexpr int kWidth = 2 * kShownWidth;
constexpr int kHeight = 2 * kShownHeight;
constexpr double kLine = 3;

// Detail picture: one row per area, its box on the left and its figure
// labels beside it. The labels' tops stay within the first 49 units (after
// the halving and the index's 90/100 scaling) below the box's top, so each
// links to it.
constexpr int kRowTop = 80, kRowStep = 205, kBoxLeft = 60, kBoxRight = 460, kBoxHeight = 185;
constexpr int kLabelLeft = 540, kLabelFirst = 6, kLabelStep = 44, kLabelScale = 3;

// Overall picture: the vehicle and its area boxes reach below the shown
// height; drawn on a taller canvas, the shown part starts this far down.
constexpr int kOverallHeight = 832, kOverallTop = 70;

struct Box {
    int left, top, right, bottom;
};

const char* group_title(char g) {
    switch (g) {
        case '1': return "ENGINE & FUEL";
        case '2': return "POWER TRAIN & CHASSIS";
        case '3': return "BODY";
        default: return "ELECTRICAL & CLIMATE";
    }
}

std::string figure_name(const std::string& no) {
    for (const auto& f : figures())
        if (no == f.no) return f.name;
    throw BuildError("no demo figure " + no);
}

Path rect(const Box& b) {
    return {{double(b.left), double(b.top)}, {double(b.right), double(b.top)}, {double(b.right), double(b.bottom)},
            {double(b.left), double(b.bottom)}};
}

// A small drawing of an area inside its box, from (x, y), about 200 x 130.
void icon(Pen& pen, const std::string& code, double x, double y) {
    auto circle = [&](P2 c, double r, double w) {
        Path p;
        for (int i = 0; i <= 64; ++i) p.push_back({c.x + r * std::cos(i * 6.2831853 / 64), c.y + r * std::sin(i * 6.2831853 / 64)});
        pen.path(p, w);
    };
    if (code == "EN") {  // engine block with four cylinders
        pen.path({{x, y + 40}, {x + 200, y + 40}, {x + 200, y + 130}, {x, y + 130}}, kLine, true);
        for (int i = 0; i < 4; ++i) {
            pen.path({{x + 10 + 48.0 * i, y}, {x + 48 + 48.0 * i, y}, {x + 48 + 48.0 * i, y + 40}, {x + 10 + 48.0 * i, y + 40}}, 2, true);
            circle({x + 29 + 48.0 * i, y + 85}, 14, 2);
        }
    } else if (code == "LU") {  // oil drop and radiator core
        pen.path({{x + 40, y}, {x + 10, y + 70}, {x + 40, y + 100}, {x + 70, y + 70}}, kLine, true);
        pen.path({{x + 100, y + 10}, {x + 200, y + 10}, {x + 200, y + 130}, {x + 100, y + 130}}, kLine, true);
        for (int i = 1; i < 8; ++i) pen.line({x + 100, y + 10 + 15.0 * i}, {x + 200, y + 10 + 15.0 * i}, 1.5);
    } else if (code == "IN") {  // intake pipes and an injector
        for (int i = 0; i < 4; ++i) pen.path({{x + 20 + 40.0 * i, y + 130}, {x + 20 + 40.0 * i, y + 60}, {x + 180, y + 20}}, kLine);
        pen.path({{x + 150, y}, {x + 200, y}, {x + 200, y + 40}, {x + 150, y + 40}}, kLine, true);
    } else if (code == "IG") {  // spark plug
        pen.path({{x + 80, y}, {x + 120, y}, {x + 120, y + 50}, {x + 80, y + 50}}, kLine, true);
        pen.path({{x + 70, y + 50}, {x + 130, y + 50}, {x + 130, y + 80}, {x + 70, y + 80}}, kLine, true);
        pen.line({x + 100, y + 80}, {x + 100, y + 120}, kLine);
        pen.line({x + 100, y + 125}, {x + 115, y + 125}, kLine);
    } else if (code == "TR") {  // two gears
        circle({x + 60, y + 65}, 55, kLine);
        circle({x + 60, y + 65}, 15, 2);
        circle({x + 150, y + 65}, 35, kLine);
        circle({x + 150, y + 65}, 10, 2);
    } else if (code == "DS") {  // shaft with two joints
        pen.line({x, y + 65}, {x + 200, y + 65}, 6);
        circle({x + 20, y + 65}, 22, kLine);
        circle({x + 180, y + 65}, 22, kLine);
    } else if (code == "BR") {  // disc and caliper
        circle({x + 70, y + 65}, 60, kLine);
        circle({x + 70, y + 65}, 20, 2);
        pen.path({{x + 110, y + 20}, {x + 150, y + 20}, {x + 150, y + 110}, {x + 110, y + 110}}, kLine, true);
    } else if (code == "ST") {  // steering wheel and column
        circle({x + 60, y + 65}, 55, kLine);
        pen.line({x + 5, y + 65}, {x + 115, y + 65}, kLine);
        pen.line({x + 115, y + 65}, {x + 200, y + 120}, 6);
    } else if (code == "SU") {  // coil spring and damper
        Path coil;
        for (int i = 0; i <= 12; ++i) coil.push_back({x + 40 + (i % 2 ? 60.0 : 0), y + 10 * i + 5});
        pen.path(coil, kLine);
        pen.line({x + 170, y}, {x + 170, y + 130}, 8);
    } else if (code == "BF") {  // front end with grille
        pen.path({{x, y + 130}, {x, y + 50}, {x + 60, y + 20}, {x + 200, y + 20}, {x + 200, y + 130}}, kLine);
        for (int i = 0; i < 4; ++i) pen.line({x + 30, y + 70 + 12.0 * i}, {x + 170, y + 70 + 12.0 * i}, 2);
    } else if (code == "DR") {  // door with window
        pen.path({{x + 20, y}, {x + 180, y}, {x + 180, y + 130}, {x + 20, y + 130}}, kLine, true);
        pen.path({{x + 40, y + 15}, {x + 160, y + 15}, {x + 160, y + 60}, {x + 40, y + 60}}, 2, true);
        pen.line({x + 140, y + 80}, {x + 165, y + 80}, 4);
    } else if (code == "LP") {  // lamp and beam
        circle({x + 50, y + 65}, 45, kLine);
        for (int i = -2; i <= 2; ++i) pen.line({x + 100, y + 65 + 10.0 * i}, {x + 200, y + 65 + 25.0 * i}, 2);
    } else if (code == "WP") {  // wiper arc
        Path arc;
        for (int i = 0; i <= 32; ++i) arc.push_back({x + 100 - 90 * std::cos(i * 3.14159 / 32), y + 120 - 90 * std::sin(i * 3.14159 / 32)});
        pen.path(arc, 2);
        pen.line({x + 100, y + 120}, {x + 30, y + 50}, 6);
    } else {  // fan
        circle({x + 100, y + 65}, 60, kLine);
        for (int i = 0; i < 5; ++i) {
            double t = i * 6.2831853 / 5;
            pen.line({x + 100, y + 65}, {x + 100 + 50 * std::cos(t), y + 65 + 50 * std::sin(t)}, 5);
        }
    }
}

// The vehicle from the side, drawn in one of the demo's body styles.
void vehicle(Pen& pen, int style) {
    const double ground = 700, r = style == 4 ? 100 : 88;
    const double front = 300, rear = 900;
    Path body;
    switch (style) {
        case 1:  // estate
            body = {{120, 600}, {120, 500}, {160, 470}, {430, 450}, {600, 310}, {1060, 305}, {1095, 470}, {1100, 600}};
            break;
        case 2:  // hatchback
            body = {{150, 600}, {150, 500}, {190, 475}, {430, 455}, {590, 320}, {820, 315}, {1000, 470}, {1010, 600}};
            break;
        case 3:  // van
            body = {{120, 600}, {120, 480}, {180, 460}, {300, 220}, {1095, 215}, {1100, 600}};
            break;
        case 4:  // off-road
            body = {{130, 580}, {130, 470}, {170, 450}, {440, 430}, {590, 280}, {1050, 275}, {1080, 440}, {1085, 580}};
            break;
        default:  // sedan
            body = {{120, 600}, {120, 500}, {160, 470}, {430, 450}, {600, 320}, {830, 320}, {960, 450}, {1090, 460}, {1100, 600}};
    }
    pen.path(body, 4, true);
    pen.line({120, 600}, {1100, 600}, 4);
    for (double c : {front, rear}) {
        pen.disc({c, ground - r}, r + 10, false);
        Path tyre;
        for (int i = 0; i <= 96; ++i) tyre.push_back({c + r * std::cos(i * 6.2831853 / 96), ground - r + r * std::sin(i * 6.2831853 / 96)});
        pen.path(tyre, 6);
        pen.disc({c, ground - r}, r * 0.45, true);
        pen.disc({c, ground - r}, r * 0.3, false);
    }
    pen.line({640, 330}, {640, 590}, 2);  // door line
    pen.line({60, ground + 2}, {1156, ground + 2}, 2);
}

// The areas of a group on the overall picture.
std::vector<std::pair<std::string, Box>> overall_boxes(char group) {
    switch (group) {
        case '1':
            return {{"EN", {150, 470, 300, 570}}, {"LU", {310, 470, 440, 570}}, {"IN", {150, 360, 300, 460}},
                    {"IG", {310, 360, 440, 460}}};
        case '2':
            return {{"TR", {460, 480, 620, 580}}, {"DS", {430, 600, 610, 690}}, {"ST", {480, 340, 620, 470}},
                    {"BR", {200, 590, 400, 745}}, {"SU", {800, 590, 1000, 745}}};
        case '3':
            return {{"BF", {100, 430, 300, 590}}, {"DR", {520, 330, 800, 590}}};
        default:
            return {{"LP", {100, 450, 190, 530}}, {"WP", {430, 360, 560, 445}}, {"AC", {580, 380, 720, 470}},
                    {"LP", {1030, 450, 1120, 530}}};
    }
}

// The shown part of a drawing from row `top`, halved: a pixel is black
// where any of its four is; the text placements follow.
Picture halved(const Picture& drawn, int top, std::vector<ImageText>* texts) {
    Picture out(kShownWidth, kShownHeight);
    for (int y = 0; y < kShownHeight; ++y)
        for (int x = 0; x < kShownWidth; ++x) {
            const int sx = 2 * x, sy = top + 2 * y;
            if (drawn.get(sx, sy) || drawn.get(sx + 1, sy) || drawn.get(sx, sy + 1) || drawn.get(sx + 1, sy + 1))
                out.set(x, y);
        }
    for (ImageText& t : *texts) {
        t.left /= 2;
        t.right /= 2;
        t.top = (t.top - top) / 2;
        t.bottom = (t.bottom - top) / 2;
    }
    return out;
}

StoredImage stored(const Picture& pic, std::vector<ImageText> texts, const std::string& id, uint32_t number) {
    StoredImage img;
    img.number = number;
    img.kind = '2';
    img.id = id;
    img.width = pic.width();
    img.height = pic.height();
    img.coded = fax_code(pic, FaxCoding::kGroup4);
    img.texts = std::move(texts);
    return img;
}

// Appends image bytes and gives their locator relative to first_block.
std::string add(Bytes* data, int32_t first_block, const StoredImage& img) {
    Bytes b = stored_image(img);
    const size_t first = static_cast<size_t>(first_block) + data->size() / pxall::image::kBlockSize;
    const size_t count = b.size() / pxall::image::kBlockSize;
    if (first > 999999 || count > 999) throw BuildError("index image " + img.id + " does not fit a locator");
    data->insert(data->end(), b.begin(), b.end());
    char loc[32];
    std::snprintf(loc, sizeof loc, "%06zu%03zu", first, count);
    return loc;
}

}  // namespace

const std::vector<IndexPage>& index_pages() {
    static const std::vector<IndexPage> k = {
        {'1', {{"EN", "ENGINE", {"1101", "1301"}}, {"LU", "LUBRICATION & COOLING", {"1501", "1601"}}}},
        {'1', {{"IN", "INTAKE & FUEL", {"1701", "2301"}}, {"IG", "IGNITION & STARTING", {"1901"}}}},
        {'2', {{"TR", "CLUTCH & TRANSMISSION", {"3101", "3301"}}, {"DS", "DRIVE SHAFT", {"4101"}},
               {"ST", "STEERING", {"4501"}}}},
        {'2', {{"BR", "BRAKES", {"4301", "4401"}}, {"SU", "SUSPENSION", {"4801", "4802"}}}},
        {'3', {{"BF", "FRONT BODY", {"5201"}}, {"DR", "DOORS", {"6101"}}}},
        {'4', {{"LP", "LAMPS", {"8101"}}, {"WP", "WIPER & WASHER", {"8501"}}, {"AC", "HEATER & AIR CONDITIONER", {"8801"}}}},
    };
    return k;
}

Picture index_detail_picture(const IndexPage& page, std::vector<ImageText>* texts) {
    Picture pic(kWidth, kHeight);
    Pen pen(&pic);
    std::vector<ImageText> drawn;
    pen.path(rect({10, 10, kWidth - 11, kHeight - 11}), 2, true);
    pen.text({60, 30}, std::string("ILLUSTRATION INDEX - ") + group_title(page.group), 4);
    for (size_t k = 0; k < page.areas.size(); ++k) {
        const IndexArea& a = page.areas[k];
        const int y0 = kRowTop + static_cast<int>(k) * kRowStep;
        const Box box{kBoxLeft, y0, kBoxRight, y0 + kBoxHeight};
        pen.path(rect(box), 4, true);
        pen.text({kBoxLeft + 16.0, y0 + 14.0}, a.code, 5);
        pen.text({kBoxLeft + 16.0, y0 + kBoxHeight - 26.0}, a.name, 2);
        icon(pen, a.code, kBoxLeft + 170.0, y0 + 14.0);
        drawn.push_back({box.left, box.top, box.right, box.bottom, '2', 0, a.code});
        for (size_t j = 0; j < a.figures.size(); ++j) {
            const std::string& fig = a.figures[j];
            const int top = y0 + kLabelFirst + static_cast<int>(j) * kLabelStep;
            const int w = Pen::text_width(fig, kLabelScale) + 16, h = Pen::text_height(kLabelScale) + 10;
            const Box label{kLabelLeft, top, kLabelLeft + w, top + h};
            pen.line({double(kBoxRight), top + h / 2.0}, {double(kLabelLeft), top + h / 2.0}, 2);
            pen.fill(rect(label), false);
            pen.path(rect(label), 2, true);
            pen.text({kLabelLeft + 8.0, top + 5.0}, fig, kLabelScale);
            pen.text({label.right + 20.0, top + 9.0}, figure_name(fig), 2);
            drawn.push_back({label.left, label.top, label.right, label.bottom, '1', 0, fig});
        }
    }
    Picture shown = halved(pic, 0, &drawn);
    texts->insert(texts->end(), drawn.begin(), drawn.end());
    return shown;
}

Picture index_overall_picture(char group, int body_style, std::vector<ImageText>* texts) {
    Picture pic(kWidth, kOverallHeight);
    Pen pen(&pic);
    std::vector<ImageText> drawn;
    pen.path(rect({10, kOverallTop + 10, kWidth - 11, kOverallTop + kHeight - 11}), 2, true);
    pen.text({60, kOverallTop + 30.0}, std::string("ILLUSTRATION INDEX - ") + group_title(group), 4);
    vehicle(pen, body_style);
    for (const auto& [code, b] : overall_boxes(group)) {
        pen.fill(rect({b.left + 3, b.top + 3, b.left + 58, b.top + 44}), false);
        Path frame = rect(b);
        frame.push_back(frame.front());
        pen.dashed(frame, 3, {14, 8});
        pen.text({b.left + 8.0, b.top + 8.0}, code, 4);
        drawn.push_back({b.left, b.top, b.right, b.bottom, '2', 0, code});
    }
    Picture shown = halved(pic, kOverallTop, &drawn);
    texts->insert(texts->end(), drawn.begin(), drawn.end());
    return shown;
}

IndexPictures index_pictures(int32_t first_block) {
    IndexPictures out;
    uint32_t number = 900;
    // The detail pictures are the same for every catalogue.
    std::vector<std::string> details;
    for (size_t i = 0; i < index_pages().size(); ++i) {
        std::vector<ImageText> texts;
        Picture pic = index_detail_picture(index_pages()[i], &texts);
        char id[32];
        std::snprintf(id, sizeof id, "IX%c%02zuS", index_pages()[i].group, i + 1);
        details.push_back(add(&out.images, first_block, stored(pic, texts, id, ++number)));
    }
    const auto& cats = catalogs();
    std::map<std::pair<char, int>, std::string> overalls;
    for (size_t c = 0; c < cats.size(); ++c) {
        const int style = static_cast<int>(c % 5);
        std::vector<std::string>& recs = out.eminde[cats[c].code];
        int seq = 0;
        for (size_t i = 0; i < index_pages().size(); ++i) {
            const char g = index_pages()[i].group;
            char s[8];
            std::snprintf(s, sizeof s, "%03d", ++seq % 1000);
            const std::string key = std::string("00") + g + "0";
            recs.push_back(Record(em::kSize).text(em::kCatalog, 6, cats[c].code).text(em::kKey, 4, key)
                               .text(em::kSeq, 3, s).text(em::kKind, 1, "0").text(em::kImage, 9, details[i]));
            // The overall record closes the group's run of pages.
            if (i + 1 < index_pages().size() && index_pages()[i + 1].group == g) continue;
            auto it = overalls.find({g, style});
            if (it == overalls.end()) {
                std::vector<ImageText> texts;
                Picture pic = index_overall_picture(g, style, &texts);
                char id[32];
                std::snprintf(id, sizeof id, "IX%c%02dZ", g, style);
                it = overalls.emplace(std::make_pair(g, style), add(&out.images, first_block, stored(pic, texts, id, ++number))).first;
            }
            std::snprintf(s, sizeof s, "%03d", ++seq % 1000);
            recs.push_back(Record(em::kSize).text(em::kCatalog, 6, cats[c].code).text(em::kKey, 4, key)
                               .text(em::kSeq, 3, s).text(em::kKind, 1, "1").text(em::kImage, 9, it->second));
        }
    }
    return out;
}

}  // namespace demo

void write_demo_index(const CdWriter& cd, const std::string& cd_id) {
    const Bytes& figures = demo::demo_image_file().data;
    static const demo::IndexPictures index =
        demo::index_pictures(static_cast<int32_t>(figures.size() / pxall::image::kBlockSize));
    Bytes imagef = figures;
    imagef.insert(imagef.end(), index.images.begin(), index.images.end());
    cd.put("", "IMAGEF.DAT", imagef);
    for (const auto& cat : demo::catalogs()) {
        if (cat.cd_id != cd_id) continue;
        cd.put_keyed(cat.code, "EMINDE.DAT", build_keyed("EMINDE.DAT", index.eminde.at(cat.code)));
    }
}

}  // namespace pxbuild
