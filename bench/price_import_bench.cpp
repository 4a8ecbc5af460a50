// Importing 360,000 CSV price records with the price set-up (conversion,
// order check, data file, index and master) against `sort` of the same
// lines writing them to a file. Goal: the import is the faster.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench_report.h"
#include "platform/drives.h"
#include "pxall/blocks.h"
#include "pxbuild/dealer_sources.h"
#include "stup/stup.h"

namespace fs = std::filesystem;
namespace ct = pxall::ctop;

namespace {

constexpr int kRecords = 360000;

struct Scratch {
    fs::path root;
    Scratch() {
        root = fs::current_path() / "price-import-bench";
        fs::remove_all(root);
        for (const char* d : {"c/MST", "c/WORK", "c/SRC"}) fs::create_directories(root / d);
        std::ofstream(root / "c" / "SRC" / "PRICE001.CSV", std::ios::binary)
            << pxbuild::dealer_price_csv(1, pxbuild::dealer_price_records(1, kRecords));
        plat::clear_drives();
        plat::set_drive('C', (root / "c").string(), plat::kDriveFixed);
        fs::current_path(root / "c");
        pxall::set_table();
        unsigned char* top = pxall::get_ctop_addr();
        auto field = [&](size_t at, const char* v) { std::strcpy(reinterpret_cast<char*>(top + at), v); };
        field(ct::kMasterDir, "C:\\MST");
        field(ct::kPriceDir, "C:\\MST");
        field(ct::kWorkDir, "C:\\WORK");
    }
    ~Scratch() {
        pxall::free_table();
        plat::clear_drives();
        fs::current_path(root.parent_path());
        fs::remove_all(root);
    }
};

Scratch& scratch() {
    static Scratch s;
    return s;
}

void BM_ImportCsv(benchmark::State& state) {
    scratch();
    std::string path = "C:\\SRC\\PRICE001.CSV";
    VbString src{path.data(), static_cast<int32_t>(path.size())};
    for (auto _ : state)
        if (stup_kakaku_setup(&src, 1, 0) != 0) state.SkipWithError("the import failed");
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kRecords);
}
BENCHMARK(BM_ImportCsv)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_SortLines(benchmark::State& state) {
    Scratch& s = scratch();
    const std::string cmd = "LC_ALL=C sort '" + (s.root / "c" / "SRC" / "PRICE001.CSV").string() + "' > '" +
                            (s.root / "c" / "WORK" / "SORTED").string() + "'";
    for (auto _ : state)
        if (std::system(cmd.c_str()) != 0) state.SkipWithError("sort failed");
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kRecords);
}
BENCHMARK(BM_SortLines)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // The ratio of the two medians (or single runs), printed last.
    pxbench::RatioReporter reporter([](const pxbench::RatioReporter& r) {
        const double import = r.ns("BM_ImportCsv"), sort = r.ns("BM_SortLines");
        if (import > 0 && sort > 0) std::printf("import / sort: %.2f (goal: below 1.00)\n", import / sort);
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
