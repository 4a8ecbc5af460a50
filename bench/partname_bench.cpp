// The part-name search over every installed catalogue of a scaled demo
// installation: ten data sets of about 100,000 part names each (the demo's
// names repeated with running numbers; half the part-name codes of a data
// set are the same on every set, as on real CDs), against one pass of memmem
// over the same names in memory, from hit to hit, counting the same hits (a
// code found on several data sets once; the least that work can cost). Both
// are interleaved, and the speed ratio's goal is 0.8 or more.
//
//   partname_bench [--names=N] [--sets=N] [--text=TEXT] [--rounds=N] [--batch-ms=N]
//
// Meaningful in an optimised build without sanitizers.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "hinb/hinb.h"
#include "bench_report.h"
#include "platform/drives.h"
#include "pxall/blocks.h"
#include "pxall/part_records.h"
#include "pxbuild/bytes.h"
#include "pxbuild/cd_writer.h"
#include "pxbuild/demo_data.h"
#include "pxbuild/installer.h"
#include "pxbuild/keyed_writer.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kName = pxall::hinmei_rec::kNameSize;
int g_names = 100000;
int g_sets = 10;
std::string g_text = "FILTER";

// The data sets installed in a scratch folder, and all their names in memory.
struct Fixture {
    fs::path dir;
    std::vector<char> names;      // every set's names of 60 bytes, one after another
    std::vector<uint64_t> codes;  // and their part-name codes as numbers

    Fixture() {
        dir = fs::temp_directory_path() / ("pxpnbench-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "MST");
        fs::create_directories(dir / "WORK");
        std::set<std::string> distinct;
        for (const auto& [part, name] : pxbuild::demo::all_part_numbers()) distinct.insert(name);
        const std::vector<std::string> base(distinct.begin(), distinct.end());

        plat::set_drive('C', dir.string(), plat::kDriveFixed);
        pxall::set_table();
        unsigned char* top = pxall::get_ctop_addr();
        std::strcpy(reinterpret_cast<char*>(top + pxall::ctop::kMasterDir), "C:\\MST");
        std::strcpy(reinterpret_cast<char*>(top + pxall::ctop::kWorkDir), "C:\\WORK");
        std::memcpy(top + pxall::ctop::kDataLangCode, "01", 2);
        pxall::put_i32(top + pxall::ctop::kAreaIndex, 0);

        pxbuild::Installer installer;
        for (int s = 0; s < g_sets; ++s) {
            std::vector<std::string> hinm;
            for (int i = 0; i < g_names; ++i) {
                // Codes of the first half are every set's; the rest the set's own.
                int n = i < g_names / 2 ? i : s * g_names + i;
                char pnc[16];
                std::snprintf(pnc, sizeof pnc, "%05d%c", n % 100000, 'A' + n / 100000 % 26);
                std::string name = base[static_cast<size_t>(n) % base.size()];
                if (n >= static_cast<int>(base.size())) name += ", NO." + std::to_string(n / base.size());
                hinm.push_back(pxbuild::Record(pxall::hinmei_rec::kSize).text(0, 6, pnc).text(6, kName, name));
            }
            std::sort(hinm.begin(), hinm.end());
            for (const auto& r : hinm) {
                names.insert(names.end(), r.begin() + 6, r.begin() + 6 + kName);
                uint64_t code = 0;
                for (int i = 0; i < 6; ++i) code = code << 8 | static_cast<unsigned char>(r[i]);
                codes.push_back(code);
            }
            std::string id = "E" + std::to_string(s);
            char date[32];
            std::snprintf(date, sizeof date, "202401%02d", s + 1);
            fs::path cd_dir = dir / "cd" / id;
            pxbuild::CdWriter cd(cd_dir.string(), id, date);
            cd.put_keyed("", "HINM01.DAT", pxbuild::build_keyed("HINM01.DAT", hinm));
            cd.put("", "IMAGEF.DAT", pxbuild::Bytes(2048, 0));
            pxbuild::InstallSpec job;
            job.cd_folder = cd_dir.string();
            job.target_dir = (dir / "MST").string();
            job.dir_name = id;
            job.install_kind = '1';
            job.cd_no = "01";
            installer.install_catalog_cd(job);
            unsigned char* e = pxall::setup_entry_addr(s);
            std::memcpy(e, (id + "01" + date).data(), 12);
            e[pxall::setup_entry::kPictureFlag] = 1;
            pxall::put_i32(top + pxall::ctop::kSetupCount, s + 1);
        }
        hinb_init();
    }
    ~Fixture() {
        int16_t mode = 1;
        hinb_term(&mode);
        pxall::free_table();
        fs::remove_all(dir);
    }
    static Fixture& get() {
        static Fixture f;
        return f;
    }
};

// The part-name search as the screen calls it: input check, search, result
// file; the count of codes it wrote in *found.
bool part_name_search(int* found = nullptr) {
    std::string text = g_text;
    text.resize(60, ' ');
    char code[6] = {'0', '0', '0', '0', '0', '0'};
    char name_out[60], code_out[6];
    VbString t{text.data(), 60}, c{code, 6}, n{name_out, 60}, co{code_out, 6};
    int16_t msg = 0, count = 0;
    hinb_in_check_input(static_cast<int32_t>(g_text.size()), &t, &c, &n, &co, &msg);
    const int r = hinb_pc_main(&msg, &count);
    hinb_term2();
    pxbench::keep(count);
    if (found != nullptr) *found = count;
    return r == 0 || r == 1;
}

// The same names in memory, searched in one pass; like the search, a code
// found on several data sets counts once.
int one_pass(const Fixture& f, pxbench::FlatKeySet& seen) {
    seen.clear();
    return pxbench::one_pass_hits(f.names.data(), f.names.size() / kName, kName, g_text,
                                  [&](size_t name) { return seen.insert(f.codes[name]); });
}

}  // namespace

int main(int argc, char** argv) {
    pxbench::Bench bench(
        "Part-name search over every installed data set against one memmem pass over the same names in memory", argc,
        argv,
        {{"--names=", [](const char* v) { g_names = std::max(1000, std::min(1000000, std::atoi(v))); }},
         {"--sets=", [](const char* v) { g_sets = std::max(1, std::min(10, std::atoi(v))); }},
         {"--text=", [](const char* v) { g_text = std::string(v).substr(0, 60); }}});
    const Fixture& f = Fixture::get();
    pxbench::FlatKeySet seen;
    int found = -1;
    const int hits = one_pass(f, seen);
    if (!part_name_search(&found) || found != std::min(hits, 30000)) {
        std::printf("text \"%s\": the search finds %d codes, the peer %d: not the same work\n", g_text.c_str(), found,
                    hits);
        return 1;
    }
    std::printf("%d data sets of %d part names, text \"%s\": %d codes found\n", g_sets, g_names, g_text.c_str(), hits);
    const auto fig = bench.interleave({{"part-name search", pxbench::wall([] { return part_name_search(); })},
                                       {"one-pass memmem", pxbench::wall([&] {
                                            pxbench::keep(one_pass(f, seen));
                                            return true;
                                        })}});
    bench.speed_ratio("part-name search against one-pass memmem", fig[0], fig[1], pxbench::at_least(0.8));
    return bench.conclude();
}
