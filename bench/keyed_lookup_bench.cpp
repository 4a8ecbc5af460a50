// Keyed catalogue files against SQLite on the same records: random full-key
// lookups (the file opened once, then one read per key; one prepared
// statement reused) and a sequential read of the whole file. A figure-index
// file of about a million 28-byte records, 18-byte keys, three index levels.
//
//   keyed_lookup_bench [--records=N] [benchmark flags]
//
// Meaningful in an optimised build without sanitizers.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench_report.h"
#include "platform/drives.h"
#include "pxall/blocks.h"
#include "pxall/keyed_file.h"
#include "pxbuild/cd_writer.h"
#include "pxbuild/installer.h"
#include "pxbuild/keyed_writer.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRecLen = 28;
constexpr int kKeyLen = 18;
int g_records = 1000000;

std::string key_of(int i) {
    char k[32];
    std::snprintf(k, sizeof k, "4410A1%012d", i * 3);
    return std::string(k, kKeyLen);
}

std::string record_of(int i) {
    std::string r = key_of(i);
    char tail[16];
    std::snprintf(tail, sizeof tail, "%05dA%04d", i % 100000, i % 9000 + 1000);
    r.append(tail, kRecLen - kKeyLen);
    return r;
}

// The same records as an installed data set and as an SQLite database.
struct Fixture {
    fs::path dir;
    pxall::CdHandle* seq = nullptr;
    sqlite3* db = nullptr;
    std::vector<int> order;  // random record numbers for the lookups

    Fixture() {
        dir = fs::temp_directory_path() / ("pxbench-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "MST");
        std::vector<std::string> recs;
        recs.reserve(g_records);
        for (int i = 0; i < g_records; ++i) recs.push_back(record_of(i));
        {
            pxbuild::CdWriter cd((dir / "cd").string(), "E1", "20240115");
            cd.put_keyed("", "FIGIND.DAT", pxbuild::build_keyed("FIGIND.DAT", recs));
            pxbuild::InstallSpec job;
            job.cd_folder = (dir / "cd").string();
            job.target_dir = (dir / "MST").string();
            job.dir_name = "E1";
            pxbuild::Installer().install_catalog_cd(job);
        }
        plat::set_drive('C', dir.string(), plat::kDriveFixed);
        pxall::set_table();
        unsigned char* top = pxall::get_ctop_addr();
        std::strcpy(reinterpret_cast<char*>(top + pxall::ctop::kMasterDir), "C:\\MST");
        pxall::put_i32(top + pxall::ctop::kSetupCount, 1);
        std::memcpy(pxall::setup_entry_addr(0), "E10120240115", 12);

        sqlite3_open((dir / "bench.db").string().c_str(), &db);
        sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;"
                         "CREATE TABLE figind(k BLOB PRIMARY KEY, v BLOB) WITHOUT ROWID;",
                     nullptr, nullptr, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* ins = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO figind VALUES(?, ?)", -1, &ins, nullptr);
        for (const auto& r : recs) {
            sqlite3_bind_blob(ins, 1, r.data(), kKeyLen, SQLITE_STATIC);
            sqlite3_bind_blob(ins, 2, r.data(), kRecLen, SQLITE_STATIC);
            sqlite3_step(ins);
            sqlite3_reset(ins);
        }
        sqlite3_finalize(ins);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);

        std::mt19937 rng(42);
        order.resize(1 << 16);
        for (auto& o : order) o = static_cast<int>(rng() % g_records);
    }
    ~Fixture() {
        sqlite3_close(db);
        pxall::free_table();
        fs::remove_all(dir);
    }
    static Fixture& get() {
        static Fixture f;
        return f;
    }
};

pxall::CdHandle* open_figind(benchmark::State& state) {
    pxall::CdHandle* h = nullptr;
    int detail = 0;
    if (pxall::cdopen("FIGIND.DAT", "", 15, 0, -1, 0, 0, &h, &detail) != 0) state.SkipWithError("cdopen failed");
    return h;
}

void BM_KeyedLookup(benchmark::State& state) {
    Fixture& f = Fixture::get();
    pxall::CdHandle* h = open_figind(state);
    char rec[kRecLen];
    size_t n = 0;
    for (auto _ : state) {
        std::string k = key_of(f.order[n++ & (f.order.size() - 1)]);
        pxall::cdreopen(h, nullptr);
        if (pxall::cdread(rec, k.data(), kKeyLen, 0, nullptr, nullptr, h, nullptr) != 0) {
            state.SkipWithError("key not found");
            break;
        }
        benchmark::DoNotOptimize(rec);
    }
    state.SetItemsProcessed(state.iterations());
    pxall::cdclose(&h, nullptr);
}

void BM_SqliteLookup(benchmark::State& state) {
    Fixture& f = Fixture::get();
    sqlite3_stmt* q = nullptr;
    sqlite3_prepare_v2(f.db, "SELECT v FROM figind WHERE k = ?", -1, &q, nullptr);
    size_t n = 0;
    for (auto _ : state) {
        std::string k = key_of(f.order[n++ & (f.order.size() - 1)]);
        sqlite3_bind_blob(q, 1, k.data(), kKeyLen, SQLITE_STATIC);
        if (sqlite3_step(q) != SQLITE_ROW) {
            state.SkipWithError("key not found");
            break;
        }
        benchmark::DoNotOptimize(sqlite3_column_blob(q, 0));
        sqlite3_reset(q);
    }
    state.SetItemsProcessed(state.iterations());
    sqlite3_finalize(q);
}

void BM_KeyedSequential(benchmark::State& state) {
    Fixture::get();
    pxall::CdHandle* h = open_figind(state);
    char rec[kRecLen];
    int64_t total = 0;
    for (auto _ : state) {
        pxall::cdreopen(h, nullptr);
        int64_t n = 0;
        while (pxall::cdread(rec, nullptr, 0, 0, nullptr, nullptr, h, nullptr) == 0) ++n;
        if (n != g_records) state.SkipWithError("short sequential read");
        total += n;
    }
    state.SetItemsProcessed(total);
    pxall::cdclose(&h, nullptr);
}

void BM_SqliteSequential(benchmark::State& state) {
    Fixture& f = Fixture::get();
    sqlite3_stmt* q = nullptr;
    sqlite3_prepare_v2(f.db, "SELECT v FROM figind ORDER BY k", -1, &q, nullptr);
    int64_t total = 0;
    for (auto _ : state) {
        int64_t n = 0;
        while (sqlite3_step(q) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_blob(q, 0));
            ++n;
        }
        sqlite3_reset(q);
        total += n;
    }
    state.SetItemsProcessed(total);
    sqlite3_finalize(q);
}

BENCHMARK(BM_KeyedLookup);
BENCHMARK(BM_SqliteLookup);
BENCHMARK(BM_KeyedSequential)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqliteSequential)->Unit(benchmark::kMillisecond);

// SQLite's time over ours for one pair.
void pair(const pxbench::RatioReporter& r, const char* what, const char* ours, const char* theirs) {
    const double o = r.ns(ours), t = r.ns(theirs);
    if (o <= 0 || t <= 0) return;
    std::printf("%s: keyed file %.1f ns, SQLite %.1f ns, SQLite/keyed = %.2f\n", what, o, t, t / o);
}

// At the end, each pair.
void summary(const pxbench::RatioReporter& r) {
    pair(r, "lookup", "BM_KeyedLookup", "BM_SqliteLookup");
    pair(r, "sequential read", "BM_KeyedSequential", "BM_SqliteSequential");
}

}  // namespace

int main(int argc, char** argv) {
    const auto args = pxbench::take_flags(
        argc, argv, {{"--records=", [](const char* v) { g_records = std::max(1000, std::atoi(v)); }}});
    pxbench::RatioReporter reporter(summary);
    return pxbench::run_benchmarks(args, &reporter);
}
