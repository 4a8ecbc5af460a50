// The keyword search of the search routes over a catalogue of about 100,000
// part-name codes, the part names of the demo catalogues repeated with
// running numbers, against one pass of memmem over the same names in memory,
// from hit to hit, counting the same hits (the least that work can cost).
// Both are reported as codes a second, with the speed ratio at the end; the
// goal is 0.8 or more.
//
//   keyword_bench [--codes=N] [--keyword=TEXT] [benchmark flags]
//
// Meaningful in an optimised build without sanitizers.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "krot/krot.h"
#include "bench_report.h"
#include "platform/drives.h"
#include "pxall/blocks.h"
#include "pxall/index_layout.h"
#include "pxall/part_records.h"
#include "pxbuild/bytes.h"
#include "pxbuild/cd_writer.h"
#include "pxbuild/demo_data.h"
#include "pxbuild/installer.h"
#include "pxbuild/keyed_writer.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kCat = "4410A1";
constexpr size_t kName = pxall::hinmei_rec::kNameSize;
int g_codes = 100000;
std::string g_keyword = "FILTER";

// The catalogue installed in a scratch folder, and its names in memory.
struct Fixture {
    fs::path dir;
    std::vector<char> names;  // g_codes names of 60 bytes, in code order

    Fixture() {
        dir = fs::temp_directory_path() / ("pxkwbench-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "MST");
        fs::create_directories(dir / "WORK");
        std::set<std::string> distinct;
        for (const auto& [part, name] : pxbuild::demo::all_part_numbers()) distinct.insert(name);
        const std::vector<std::string> base(distinct.begin(), distinct.end());

        std::vector<std::string> hcodeh, hinm;
        names.assign(static_cast<size_t>(g_codes) * kName, ' ');
        for (int i = 0; i < g_codes; ++i) {
            char pnc[16], fig[8];
            std::snprintf(pnc, sizeof pnc, "%05d%c", i % 100000, 'A' + i / 100000 % 26);
            std::snprintf(fig, sizeof fig, "%04d", 1000 + i % 9000);
            std::string name = base[static_cast<size_t>(i) % base.size()];
            if (i >= static_cast<int>(base.size())) name += ", NO." + std::to_string(i / base.size());
            hcodeh.push_back(pxbuild::Record(pxall::hcodeh::kSize).text(0, 6, kCat).text(6, 4, fig).text(10, 6, pnc));
            hinm.push_back(pxbuild::Record(pxall::hinmei_rec::kSize).text(0, 6, pnc).text(6, kName, name));
        }
        std::sort(hcodeh.begin(), hcodeh.end(), [](const std::string& a, const std::string& b) { return a.compare(10, 6, b, 10, 6) < 0; });
        std::sort(hinm.begin(), hinm.end());
        for (size_t i = 0; i < hinm.size(); ++i) std::memcpy(&names[i * kName], hinm[i].data() + 6, kName);
        {
            pxbuild::CdWriter cd((dir / "cd").string(), "E1", "20240115");
            cd.put_keyed(kCat, "HCODEH.DAT", pxbuild::build_keyed("HCODEH.DAT", hcodeh));
            cd.put_keyed("", "HINM01.DAT", pxbuild::build_keyed("HINM01.DAT", hinm));
            pxbuild::InstallSpec job;
            job.cd_folder = (dir / "cd").string();
            job.target_dir = (dir / "MST").string();
            job.dir_name = "E1";
            job.install_kind = '1';
            pxbuild::Installer().install_catalog_cd(job);
        }
        plat::set_drive('C', dir.string(), plat::kDriveFixed);
        pxall::set_table();
        unsigned char* top = pxall::get_ctop_addr();
        std::strcpy(reinterpret_cast<char*>(top + pxall::ctop::kMasterDir), "C:\\MST");
        std::strcpy(reinterpret_cast<char*>(top + pxall::ctop::kWorkDir), "C:\\WORK");
        std::memcpy(top + pxall::ctop::kDataLangCode, "01", 2);
        pxall::put_i32(top + pxall::ctop::kSetupCount, 1);
        std::memcpy(pxall::setup_entry_addr(0), "E10120240115", 12);
        pxall::setup_entry_addr(0)[pxall::setup_entry::kPictureFlag] = 1;
        unsigned char* car = pxall::get_ccar_addr();
        std::memcpy(car + pxall::ccar::kCatalog, kCat, 6);
        pxall::put_i32(car + pxall::ccar::kSetupIndex, 0);
    }
    ~Fixture() {
        pxall::free_table();
        fs::remove_all(dir);
    }
    static Fixture& get() {
        static Fixture f;
        return f;
    }
};

// The keyword search as the screen calls it: header, names, result file.
void BM_KeywordSearch(benchmark::State& state) {
    Fixture::get();
    char path[80];
    VbString p{path, sizeof path};
    int16_t count = 0, status = 0;
    for (auto _ : state) {
        if (VBKkwdLoad(g_keyword.c_str(), &count, &p, &status) != 0 || status != 0) {
            state.SkipWithError("keyword search failed");
            break;
        }
        benchmark::DoNotOptimize(count);
    }
    state.counters["hits"] = count;
    state.SetItemsProcessed(state.iterations() * g_codes);
}

// The same names in memory, searched in one pass.
void BM_OnePassMemmem(benchmark::State& state) {
    pxbench::one_pass_memmem(state, Fixture::get().names.data(), static_cast<size_t>(g_codes), kName, g_keyword);
}

BENCHMARK(BM_KeywordSearch)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OnePassMemmem)->Unit(benchmark::kMillisecond)->UseRealTime();

// At the end, the keyword search's rate against the scan's.
void summary(const pxbench::RatioReporter& r) {
    const std::string head = std::to_string(g_codes) + " codes, keyword \"" + g_keyword + "\"";
    pxbench::print_memmem_ratio(r, head, "BM_KeywordSearch", "keyword search", "codes");
}

}  // namespace

int main(int argc, char** argv) {
    const auto args = pxbench::take_flags(
        argc, argv,
        {{"--codes=", [](const char* v) { g_codes = std::max(1000, std::min(2000000, std::atoi(v))); }},
         {"--keyword=", [](const char* v) { g_keyword = std::string(v).substr(0, 20); }}});
    pxbench::RatioReporter reporter(summary);
    return pxbench::run_benchmarks(args, &reporter);
}
