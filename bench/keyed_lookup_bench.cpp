// Keyed catalogue files against SQLite on the same records: random full-key
// lookups (the file opened once, then one read per key) and a sequential
// read of the whole file. Figure-index files of 28-byte records with 18-byte
// keys and three index levels, at each size asked for.
//
// SQLite is set up as a careful user would for a read-only catalogue: a
// WITHOUT ROWID table keyed on the same key, one prepared statement reused,
// the database held in exclusive locking mode inside one read transaction,
// no journal. It runs twice: with a page cache of the same size as the
// blocks the keyed file kept in its lookups (index blocks, and data blocks
// within the program's budget; BM_SqliteLookupSameMemory), and with a cache
// that holds the whole database, warmed by a full scan first
// (BM_SqliteLookupWarm). What neither holds is read from the operating
// system's cache.
//
//   keyed_lookup_bench [--records=N[,N...]] [benchmark flags]
//   (default --records=10000,1000000,10000000)
//
// Meaningful in an optimised build without sanitizers.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bench_report.h"
#include "platform/drives.h"
#include "pxall/blocks.h"
#include "pxall/keyed_file.h"
#include "pxall/keyed_layout.h"
#include "pxbuild/cd_writer.h"
#include "pxbuild/installer.h"
#include "pxbuild/keyed_writer.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRecLen = 28;
constexpr int kKeyLen = 18;
// Random keys a run looks up in turn: enough that at 10M records nearly
// every data block is among them, so that no cache holds a small part.
constexpr size_t kLookups = size_t{1} << 20;
std::vector<int> g_sizes = {10000, 1000000, 10000000};

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

// The same records as an installed data set and as an SQLite database. One
// size at a time: the fixture of the last size asked for.
struct Fixture {
    int records = 0;
    fs::path dir;
    sqlite3* db = nullptr;
    int64_t kept_kib = 0;     // what the keyed file kept after its lookups
    std::vector<char> keys;   // kKeyLen bytes each: the keys of random records, looked up in turn

    explicit Fixture(int n) : records(n) {
        dir = fs::temp_directory_path() / ("pxbench-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "MST");
        std::vector<std::string> recs;
        recs.reserve(records);
        for (int i = 0; i < records; ++i) recs.push_back(record_of(i));
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

        sqlite3_close(db);
        db = nullptr;

        // Made here, so that neither side's time holds their making.
        std::mt19937 rng(42);
        keys.resize(static_cast<size_t>(kLookups) * kKeyLen);
        for (size_t at = 0; at < keys.size(); at += kKeyLen)
            std::memcpy(keys.data() + at, key_of(static_cast<int>(rng() % records)).data(), kKeyLen);
    }
    const char* key(size_t n) const { return keys.data() + (n & (kLookups - 1)) * kKeyLen; }
    ~Fixture() {
        pxall::free_table();
        fs::remove_all(dir);
    }
    static Fixture& get(int n) {
        static std::unique_ptr<Fixture> f;
        if (!f || f->records != n) {
            f.reset();
            f = std::make_unique<Fixture>(n);
        }
        return *f;
    }
};

// A read-only connection as a careful user runs one: exclusive locking, one
// read transaction for the whole run, a page cache of `cache_kib`.
sqlite3* open_sqlite(const Fixture& f, int64_t cache_kib) {
    sqlite3* db = nullptr;
    sqlite3_open_v2((f.dir / "bench.db").string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    std::string pragmas = "PRAGMA locking_mode=EXCLUSIVE; PRAGMA cache_size=-" + std::to_string(cache_kib) +
                          "; PRAGMA mmap_size=0; BEGIN;";
    sqlite3_exec(db, pragmas.c_str(), nullptr, nullptr, nullptr);
    return db;
}

void close_sqlite(sqlite3* db) {
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The keyed file's memory: what it kept in its lookups (so SQLite's lookups
// run after the keyed file's, at each size).
int64_t keyed_memory_kib(const Fixture& f) { return std::max<int64_t>(f.kept_kib, 64); }

pxall::CdHandle* open_figind(benchmark::State& state) {
    pxall::CdHandle* h = nullptr;
    int detail = 0;
    if (pxall::cdopen("FIGIND.DAT", "", 15, 0, -1, 0, 0, &h, &detail) != 0) state.SkipWithError("cdopen failed");
    return h;
}

void BM_KeyedLookup(benchmark::State& state) {
    Fixture& f = Fixture::get(static_cast<int>(state.range(0)));
    pxall::CdHandle* h = open_figind(state);
    char rec[kRecLen];
    size_t n = 0;
    for (auto _ : state) {
        const char* k = f.key(n++);
        pxall::cdreopen(h, nullptr);
        if (pxall::cdread(rec, k, kKeyLen, 0, nullptr, nullptr, h, nullptr) != 0) {
            state.SkipWithError("key not found");
            break;
        }
        benchmark::DoNotOptimize(rec);
    }
    state.SetItemsProcessed(state.iterations());
    f.kept_kib = std::max(f.kept_kib, (pxall::cdkept_bytes(h) + 1023) / 1024);
    state.counters["memory_kib"] = static_cast<double>(f.kept_kib);
    pxall::cdclose(&h, nullptr);
}

void sqlite_lookups(benchmark::State& state, sqlite3* db, const Fixture& f) {
    sqlite3_stmt* q = nullptr;
    sqlite3_prepare_v2(db, "SELECT v FROM figind WHERE k = ?", -1, &q, nullptr);
    size_t n = 0;
    for (auto _ : state) {
        sqlite3_bind_blob(q, 1, f.key(n++), kKeyLen, SQLITE_STATIC);
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

// Every row once, so that a cache large enough holds the whole database.
void warm(sqlite3* db) {
    sqlite3_stmt* q = nullptr;
    sqlite3_prepare_v2(db, "SELECT sum(length(v)) FROM figind", -1, &q, nullptr);
    while (sqlite3_step(q) == SQLITE_ROW) {
    }
    sqlite3_finalize(q);
}

void BM_SqliteLookupSameMemory(benchmark::State& state) {
    Fixture& f = Fixture::get(static_cast<int>(state.range(0)));
    sqlite3* db = open_sqlite(f, keyed_memory_kib(f));
    sqlite_lookups(state, db, f);
    state.counters["memory_kib"] = static_cast<double>(keyed_memory_kib(f));
    close_sqlite(db);
}

void BM_SqliteLookupWarm(benchmark::State& state) {
    Fixture& f = Fixture::get(static_cast<int>(state.range(0)));
    int64_t whole = static_cast<int64_t>(fs::file_size(f.dir / "bench.db") / 1024) * 2 + 1024;
    sqlite3* db = open_sqlite(f, whole);
    warm(db);
    sqlite_lookups(state, db, f);
    state.counters["memory_kib"] = static_cast<double>(whole);
    close_sqlite(db);
}

void BM_KeyedSequential(benchmark::State& state) {
    Fixture& f = Fixture::get(static_cast<int>(state.range(0)));
    pxall::CdHandle* h = open_figind(state);
    char rec[kRecLen];
    int64_t total = 0;
    for (auto _ : state) {
        pxall::cdreopen(h, nullptr);
        int64_t n = 0;
        while (pxall::cdread(rec, nullptr, 0, 0, nullptr, nullptr, h, nullptr) == 0) ++n;
        if (n != f.records) state.SkipWithError("short sequential read");
        total += n;
    }
    state.SetItemsProcessed(total);
    pxall::cdclose(&h, nullptr);
}

void BM_SqliteSequential(benchmark::State& state) {
    Fixture& f = Fixture::get(static_cast<int>(state.range(0)));
    sqlite3* db = open_sqlite(f, keyed_memory_kib(f));
    sqlite3_stmt* q = nullptr;
    sqlite3_prepare_v2(db, "SELECT v FROM figind ORDER BY k", -1, &q, nullptr);
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
    close_sqlite(db);
}

// SQLite's time over ours for one pair at one size, with the goal beside it.
void pair(const pxbench::RatioReporter& r, int n, const char* what, const char* ours, const char* theirs,
          const char* goal) {
    const std::string at = "/" + std::to_string(n);
    const double o = r.ns(std::string(ours) + at), t = r.ns(std::string(theirs) + at);
    if (o <= 0 || t <= 0) return;
    std::printf("%d records, %s: keyed file %.1f ns, SQLite %.1f ns, SQLite/keyed = %.2f (goal: %s)\n", n, what, o, t,
                t / o, goal);
}

// At the end, each pair at each size.
void summary(const pxbench::RatioReporter& r) {
    for (int n : g_sizes) {
        pair(r, n, "lookup, same memory", "BM_KeyedLookup", "BM_SqliteLookupSameMemory", "2 or more");
        pair(r, n, "lookup, SQLite warm", "BM_KeyedLookup", "BM_SqliteLookupWarm", "1 or more");
        pair(r, n, "sequential read", "BM_KeyedSequential", "BM_SqliteSequential", "none");
    }
}

std::vector<int> sizes_of(const char* v) {
    std::vector<int> out;
    std::stringstream in(v);
    std::string item;
    while (std::getline(in, item, ','))
        if (int n = std::atoi(item.c_str()); n >= 1000) out.push_back(n);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const auto args = pxbench::take_flags(argc, argv, {{"--records=", [](const char* v) { g_sizes = sizes_of(v); }}});
    // Size after size, so that one fixture stands at a time.
    for (int n : g_sizes) {
        benchmark::RegisterBenchmark("BM_KeyedLookup", BM_KeyedLookup)->Arg(n);
        benchmark::RegisterBenchmark("BM_SqliteLookupSameMemory", BM_SqliteLookupSameMemory)->Arg(n);
        benchmark::RegisterBenchmark("BM_SqliteLookupWarm", BM_SqliteLookupWarm)->Arg(n);
        benchmark::RegisterBenchmark("BM_KeyedSequential", BM_KeyedSequential)->Arg(n)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_SqliteSequential", BM_SqliteSequential)->Arg(n)->Unit(benchmark::kMillisecond);
    }
    pxbench::RatioReporter reporter(summary);
    return pxbench::run_benchmarks(args, &reporter);
}
