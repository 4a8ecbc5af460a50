// The keyword search of the search routes over a catalogue of about 100,000
// part-name codes (the part names of the demo catalogues repeated with
// running numbers), against one pass of memmem over the same names in
// memory, from hit to hit, counting the same hits: the least that work can
// cost. The search is timed as the screen calls it (header, names, result
// file), on keywords common and rare, long and short; each keyword's search
// and its peer are interleaved, and the speed ratio's goal is 0.8 or more.
//
// The search keeps the two files it reads whole (cdread_whole), so that a
// search after the first costs no read of them: the figures are those of
// such searches, on installed files older than the settling time. Beside
// them, the first search of a catalogue (nothing kept, both files read from
// the system's cache) against the same peer, without a goal.
//
//   keyword_bench [--codes=N] [--keywords=A|B|...] [--rounds=N] [--batch-ms=N]
//
// Meaningful in an optimised build without sanitizers.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench_report.h"
#include "krot/krot.h"
#include "platform/drives.h"
#include "pxall/blocks.h"
#include "pxall/index_layout.h"
#include "pxall/keyed_file.h"
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
// Common and short, common, very common and short, rare, rare and long, in
// no name at all.
std::vector<std::string> g_keywords = {"OIL", "FILTER", "ASSY", "CRANKSHAFT", "KNUCKLE, STEERING", "GEARBOX"};

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
        std::sort(hcodeh.begin(), hcodeh.end(),
                  [](const std::string& a, const std::string& b) { return a.compare(10, 6, b, 10, 6) < 0; });
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
        pxall::fit_kept_data_budget();
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
        // Installed files are older than the settling time of kept files.
        std::this_thread::sleep_for(std::chrono::seconds(pxall::kWholeSettleSeconds + 1));
    }
    ~Fixture() {
        pxall::drop_whole_files();
        pxall::free_table();
        fs::remove_all(dir);
    }
};

// The keyword search as the screen calls it: header, names, result file.
bool search(const std::string& keyword, int16_t* count) {
    char path[80];
    VbString p{path, sizeof path};
    int16_t status = 0;
    return VBKkwdLoad(keyword.c_str(), count, &p, &status) == 0 && status == 0;
}

std::vector<std::string> keywords_of(const char* v) {
    std::vector<std::string> out;
    std::stringstream in(v);
    for (std::string k; std::getline(in, k, '|');)
        if (!k.empty()) out.push_back(k.substr(0, 20));
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    pxbench::Bench bench(
        "Keyword search against one memmem pass over the same names in memory",
        argc, argv,
        {{"--codes=", [](const char* v) { g_codes = std::max(1000, std::min(2000000, std::atoi(v))); }},
         {"--keywords=", [](const char* v) { g_keywords = keywords_of(v); }}});
    Fixture f;
    std::printf("%d part-name codes, one line of the result file for each code whose name holds the keyword\n",
                g_codes);

    std::vector<pxbench::Case> cases;
    std::vector<std::string> heads;
    for (const std::string& k : g_keywords) {
        int16_t count = 0;
        const int hits = pxbench::one_pass_hits(f.names.data(), static_cast<size_t>(g_codes), kName, k);
        if (!search(k, &count) || count != std::min(hits, 32767)) {
            std::printf("\"%s\": the search finds %d codes, the peer %d: not the same work\n", k.c_str(), count, hits);
            return 1;
        }
        char head[96];
        std::snprintf(head, sizeof head, "\"%s\" (%d codes, %.1f%%)", k.c_str(), hits, 100.0 * hits / g_codes);
        heads.push_back(head);
        cases.push_back({std::string(head) + " keyword search", pxbench::wall([k] {
                             int16_t n = 0;
                             const bool ok = search(k, &n);
                             pxbench::keep(n);
                             return ok;
                         })});
        cases.push_back({std::string(head) + " one-pass memmem", pxbench::wall([&f, k] {
                             pxbench::keep(pxbench::one_pass_hits(f.names.data(), static_cast<size_t>(g_codes),
                                                                  kName, k));
                             return true;
                         })});
    }
    // The first search of a catalogue: what it kept is dropped before each
    // (outside the time).
    const std::string first = g_keywords.empty() ? "FILTER" : g_keywords[g_keywords.size() > 1 ? 1 : 0];
    cases.push_back({"\"" + first + "\" first search, files read",
                     pxbench::after(pxall::drop_whole_files, [first] {
                         int16_t count = 0;
                         return search(first, &count);
                     })});
    cases.push_back({"\"" + first + "\" one-pass memmem", pxbench::wall([&f, first] {
                         pxbench::keep(
                             pxbench::one_pass_hits(f.names.data(), static_cast<size_t>(g_codes), kName, first));
                         return true;
                     })});

    const std::vector<pxbench::Figures> fig = bench.interleave(cases);
    for (size_t i = 0; i < heads.size(); ++i)
        bench.speed_ratio(heads[i] + ", keyword search against one-pass memmem", fig[2 * i], fig[2 * i + 1],
                          pxbench::at_least(0.8));
    const size_t last = fig.size() - 2;
    bench.speed_ratio("\"" + first + "\", first search of the catalogue against one-pass memmem", fig[last],
                      fig[last + 1], pxbench::no_goal());
    return bench.conclude();
}
