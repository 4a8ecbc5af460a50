// Building and showing a parts list of 2,000 lines: the parts-list engine
// reads 1,000 picked part-name codes from SELECT.TMP, each with two parts in
// the installed catalogue, and writes the list file; the screen's way of
// showing it, one read of the file and one fill of the nine-column grid.
// Interleaved, reported apart and together; the goal for the two together
// is under 100 ms. No peer: the work is the screen's own.
//
//   pnho_list_bench [--rounds=N] [--batch-ms=N]
//
// Meaningful in an optimised build without sanitizers.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <QApplication>

#include "bench_report.h"
#include "pxall/blocks.h"
#include "pxall/selection.h"
#include "pxpnho/pxpnho.h"
#include "shell/codepage.h"
#include "shell/grid.h"
#include "support/parts_fixture.h"

namespace {

constexpr int kCodes = 1000;
constexpr size_t kRecord = 96;

struct Fixture {
    pxtest::KeyedEnv k;
    Fixture() {
        pxtest::TestCatalog cat{"4410A1", "ARVENA SEDAN", "01"};
        pxtest::TestNames names;
        std::string image;
        char code[8], part[16];
        for (int i = 1; i <= kCodes; ++i) {
            std::snprintf(code, sizeof code, "%06d", i);
            names.push_back({code, "PART NAME " + std::to_string(i)});
            for (int v = 1; v <= 2; ++v) {
                std::snprintf(part, sizeof part, "%05dAA1000%d", i, v);
                pxtest::TestPart p{code, part, "01", v == 1 ? "1801" : "2101", v == 1 ? "2012" : "9999",
                                   v == 1 ? "FOR AVS14P1" : "FOR AVS16P1"};
                cat.parts.push_back(p);
            }
            std::string r = std::string(code) + "      01";
            r.push_back('\0');
            r.append(5, '\0');
            image += r;
        }
        pxtest::write_parts_cd(k, "E1", "E1", "20240115", {cat}, {cat}, names);
        k.install("E1", '1', "01");
        k.set_cd_drives({{'E', ""}});
        unsigned char* car = pxall::get_ccar_addr();
        std::memcpy(car + pxall::ccar::kCatalog, "4410A1", 6);
        pxall::put_i32(car + pxall::ccar::kSetupIndex, 0);
        image.resize(pxall::kSelectImage, '\0');
        int32_t err = 0;
        pxall::write_select_tmp(reinterpret_cast<const unsigned char*>(image.data()), &err);
    }
};

Fixture* fixture = nullptr;

std::string build_list() {
    std::string buf(260, '\0');
    VbString path{buf.data(), 260};
    int16_t match = 0;
    if (pnho_exec_main(&path, &match) != 0) return std::string();
    return fixture->k.env().read("WORK/PXPNHO1.TMP");
}

// The screen's fill: every record of the page into the grid's cells.
void fill(px::Grid& grid, const std::string& list) {
    const size_t n = list.size() / kRecord;
    grid.set_redraw(false);
    grid.set_rows(static_cast<int>(n) + 1);
    static const size_t at[9] = {0, 2, 8, 10, 24, 26, 35, 65, 95};
    static const size_t width[9] = {2, 6, 2, 14, 2, 9, 30, 30, 1};
    std::vector<QString> cells(9);
    for (size_t r = 0; r < n; ++r) {
        const char* rec = list.data() + r * kRecord;
        cells[0] = rec[95] == 'S' ? QStringLiteral("*") : QString();
        for (int f = 0; f < 8; ++f) cells[static_cast<size_t>(f) + 1] = px::from_ansi(std::string_view(rec + at[f], width[f]));
        grid.set_row_texts(static_cast<int>(r) + 1, cells);
    }
    grid.set_redraw(true);
}

}  // namespace

int main(int argc, char** argv) {
    pxbench::Bench bench("Building and showing a parts list of 2,000 lines", argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Fixture f;
    fixture = &f;
    const std::string list = build_list();
    if (list.size() != 2 * kCodes * kRecord) {
        std::printf("the list is not 2,000 lines\n");
        return 1;
    }
    px::Grid shown, filled, both;
    for (px::Grid* g : {&shown, &filled, &both}) g->set_cols(9);
    const auto fig = bench.interleave({{"engine builds the list", pxbench::wall([] {
                                            const std::string l = build_list();
                                            pxbench::keep(l.data());
                                            return l.size() == 2 * kCodes * kRecord;
                                        })},
                                       {"grid filled with it", pxbench::wall([&] {
                                            fill(filled, list);
                                            return true;
                                        })},
                                       {"built and shown", pxbench::wall([&] {
                                            fill(both, build_list());
                                            return true;
                                        })}});
    bench.time_goal("engine builds the list", fig[0], pxbench::no_goal());
    bench.time_goal("grid filled with it", fig[1], pxbench::no_goal());
    bench.time_goal("built and shown", fig[2], pxbench::at_most(100));
    pnho_close_main();
    fixture = nullptr;
    return bench.conclude();
}
