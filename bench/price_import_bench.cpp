// Importing 360,000 CSV price records with the price set-up (conversion,
// order check, data file, index and master) against a small program doing
// the same parse, sort, write and flush on the same file: it reads the CSV
// whole, cuts each line's fields (quoted or not) into the same 50-byte records,
// sorts them by part number and writes them to a file in one piece, on one
// thread, and flushes that file to the disk (fsync) before it closes it, as a
// careful program does with data that must survive a power cut: the import
// flushes its files as its commit puts them in place. The two are
// interleaved; the goal is that the import takes no longer (time ratio at
// most 1).
//
//   price_import_bench [--rounds=N] [--batch-ms=N]
//
// Meaningful in an optimised build without sanitizers.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench_report.h"
#include "platform/drives.h"
#include "pxall/blocks.h"
#include "pxbuild/dealer_sources.h"
#include "stup/stup.h"

namespace fs = std::filesystem;
namespace ct = pxall::ctop;

namespace {

constexpr int kRecords = 360000;
constexpr size_t kRecLen = 50;
constexpr size_t kKeyLen = 12;
// The single-price record's fields: offset and width.
constexpr std::array<std::pair<size_t, size_t>, 4> kFields = {{{0, 12}, {12, 8}, {20, 10}, {30, 20}}};

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

bool import_csv() {
    std::string path = "C:\\SRC\\PRICE001.CSV";
    VbString src{path.data(), static_cast<int32_t>(path.size())};
    return stup_kakaku_setup(&src, 1, 0) == 0;
}

using Record = std::array<char, kRecLen>;

// The peer: the CSV read whole, parsed, sorted, written and flushed.
bool parse_sort_write(const fs::path& csv, const fs::path& out) {
    std::FILE* in = std::fopen(csv.c_str(), "rb");
    if (in == nullptr) return false;
    std::string text(static_cast<size_t>(fs::file_size(csv)), '\0');
    const bool read = std::fread(text.data(), 1, text.size(), in) == text.size();
    std::fclose(in);
    if (!read) return false;
    std::vector<Record> records;
    records.reserve(kRecords);
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        Record r;
        r.fill(' ');
        for (size_t f = 0; f < kFields.size() && p < end && *p != '\r' && *p != '\n'; ++f) {
            const auto [at, width] = kFields[f];
            size_t n = 0;
            if (*p == '"') {  // quoted, "" a quote
                for (++p; p < end; ++p) {
                    if (*p == '"' && (p + 1 == end || p[1] != '"')) {
                        ++p;
                        break;
                    }
                    if (*p == '"') ++p;
                    if (n < width) r[at + n++] = *p;
                }
            } else {
                for (; p < end && *p != ',' && *p != '\r' && *p != '\n'; ++p)
                    if (n < width) r[at + n++] = *p;
            }
            if (p < end && *p == ',') ++p;
        }
        while (p < end && *p != '\n') ++p;
        ++p;
        records.push_back(r);
    }
    std::sort(records.begin(), records.end(),
              [](const Record& a, const Record& b) { return std::memcmp(a.data(), b.data(), kKeyLen) < 0; });
    std::FILE* o = std::fopen(out.c_str(), "wb");
    if (o == nullptr) return false;
    const bool written = std::fwrite(records.data(), kRecLen, records.size(), o) == records.size() &&
                         std::fflush(o) == 0 && ::fsync(::fileno(o)) == 0;
    return std::fclose(o) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    pxbench::Bench bench("Price import of 360,000 CSV records against a parse, sort, write and flush of the same file",
                         argc, argv);
    Scratch s;
    const fs::path csv = s.root / "c" / "SRC" / "PRICE001.CSV", out = s.root / "c" / "WORK" / "SORTED";
    // Both must give the same records before either is timed.
    if (!import_csv() || !parse_sort_write(csv, out)) {
        std::printf("a side failed before timing\n");
        return 1;
    }
    std::ifstream sorted(out, std::ios::binary), kakaku(s.root / "c" / "MST" / "KAKAKU.D", std::ios::binary);
    std::string a((std::istreambuf_iterator<char>(sorted)), {}), b((std::istreambuf_iterator<char>(kakaku)), {});
    if (a.size() != kRecords * kRecLen || b.compare(0, a.size(), a) != 0) {
        std::printf("the import and the peer do not give the same records\n");
        return 1;
    }
    const auto fig = bench.interleave({{"price import", pxbench::wall(import_csv), 1},
                                       {"parse, sort, write and flush", pxbench::wall([&] {
                                            return parse_sort_write(csv, out);
                                        }),
                                        1}});
    bench.time_ratio("price import against a parse, sort, write and flush", fig[0], fig[1], pxbench::at_most(1.0));
    return bench.conclude();
}
