// Keyed catalogue files against SQLite on the same records: random full-key
// lookups (the file opened once, then one read per key) and a sequential
// read of the whole file. Figure-index files of 28-byte records with 18-byte
// keys and three index levels, at each size asked for.
//
// SQLite is set up as a careful user would for a read-only catalogue: a
// WITHOUT ROWID table whose primary key is the record's key and whose one
// other column is the rest of the record (the key stored once), one
// prepared statement reused, the database held in exclusive locking mode
// inside one read transaction, no memory mapping (the mapped file would be
// memory beside the page cache that the comparison sizes; the keyed file
// maps nothing either). A lookup asks for the
// rest of the record and puts the record together, as the keyed file hands
// it over whole. SQLite runs twice: with a page cache of the same size as
// the memory the keyed file kept in its lookups (index blocks, and data
// blocks within the program's budget, which drom_init sets for this
// machine's memory; BM "same memory"), and with a cache that holds the whole
// database ("warm"). Both sides are warmed by the same lookups before they
// are timed, then interleaved round by round, each going on through the same
// million random keys. What neither holds is read from the system's cache.
//
//   keyed_lookup_bench [--records=N[,N...]] [--memory-mib=N] [--rounds=N] [--batch-ms=N]
//   (default --records=10000,1000000,10000000; --memory-mib sets the budget
//   as drom_init would on a machine of that much memory)
//
// Meaningful in an optimised build without sanitizers.
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
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
constexpr int kTailLen = kRecLen - kKeyLen;
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
    r.append(tail, kTailLen);
    return r;
}

// The same records as an installed data set and as an SQLite database, and
// the random keys both look up.
struct Fixture {
    int records = 0;
    fs::path dir;
    std::vector<char> keys;  // kKeyLen bytes each
    std::vector<int> numbers;  // the record number of each key

    explicit Fixture(int n) : records(n) {
        dir = fs::temp_directory_path() / ("pxbench-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "MST");
        std::vector<std::string> recs;
        recs.reserve(static_cast<size_t>(records));
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
        fs::remove_all(dir / "cd");
        plat::set_drive('C', dir.string(), plat::kDriveFixed);
        unsigned char* top = pxall::get_ctop_addr();
        std::strcpy(reinterpret_cast<char*>(top + pxall::ctop::kMasterDir), "C:\\MST");
        pxall::put_i32(top + pxall::ctop::kSetupCount, 1);
        std::memcpy(pxall::setup_entry_addr(0), "E10120240115", 12);

        sqlite3* db = nullptr;
        sqlite3_open((dir / "bench.db").string().c_str(), &db);
        sqlite3_exec(db,
                     "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;"
                     "CREATE TABLE figind(k BLOB PRIMARY KEY, v BLOB NOT NULL) WITHOUT ROWID;",
                     nullptr, nullptr, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* ins = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO figind VALUES(?, ?)", -1, &ins, nullptr);
        for (const auto& r : recs) {
            sqlite3_bind_blob(ins, 1, r.data(), kKeyLen, SQLITE_STATIC);
            sqlite3_bind_blob(ins, 2, r.data() + kKeyLen, kTailLen, SQLITE_STATIC);
            sqlite3_step(ins);
            sqlite3_reset(ins);
        }
        sqlite3_finalize(ins);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);

        std::mt19937 rng(42);
        keys.resize(kLookups * kKeyLen);
        numbers.resize(kLookups);
        for (size_t n = 0; n < kLookups; ++n) {
            numbers[n] = static_cast<int>(rng() % static_cast<unsigned>(records));
            std::memcpy(keys.data() + n * kKeyLen, key_of(numbers[n]).data(), kKeyLen);
        }
    }
    ~Fixture() { fs::remove_all(dir); }
    const char* key(size_t n) const { return keys.data() + (n & (kLookups - 1)) * kKeyLen; }
};

// A read-only connection as a careful user runs one: exclusive locking, one
// read transaction for the whole run, a page cache of `cache_kib`.
struct Sqlite {
    sqlite3* db = nullptr;
    sqlite3_stmt* lookup = nullptr;
    sqlite3_stmt* scan = nullptr;
    Sqlite(const Fixture& f, int64_t cache_kib) {
        sqlite3_open_v2((f.dir / "bench.db").string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        const std::string pragmas = "PRAGMA locking_mode=EXCLUSIVE; PRAGMA cache_size=-" + std::to_string(cache_kib) +
                                    "; PRAGMA mmap_size=0; BEGIN;";
        sqlite3_exec(db, pragmas.c_str(), nullptr, nullptr, nullptr);
        sqlite3_prepare_v2(db, "SELECT v FROM figind WHERE k = ?", -1, &lookup, nullptr);
        sqlite3_prepare_v2(db, "SELECT k, v FROM figind ORDER BY k", -1, &scan, nullptr);
    }
    ~Sqlite() {
        sqlite3_finalize(lookup);
        sqlite3_finalize(scan);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    // The record of a key, put together.
    bool find(const char* key, char* rec) {
        sqlite3_bind_blob(lookup, 1, key, kKeyLen, SQLITE_STATIC);
        const bool ok = sqlite3_step(lookup) == SQLITE_ROW && sqlite3_column_bytes(lookup, 0) == kTailLen;
        if (ok) {
            std::memcpy(rec, key, kKeyLen);
            std::memcpy(rec + kKeyLen, sqlite3_column_blob(lookup, 0), kTailLen);
        }
        sqlite3_reset(lookup);
        return ok;
    }
    // Every record in key order: how many.
    int64_t read_all(char* rec) {
        int64_t n = 0;
        while (sqlite3_step(scan) == SQLITE_ROW) {
            std::memcpy(rec, sqlite3_column_blob(scan, 0), kKeyLen);
            std::memcpy(rec + kKeyLen, sqlite3_column_blob(scan, 1), kTailLen);
            pxbench::keep(rec[0]);
            ++n;
        }
        sqlite3_reset(scan);
        return n;
    }
};

struct Keyed {
    pxall::CdHandle* h = nullptr;
    Keyed() {
        int detail = 0;
        pxall::cdopen("FIGIND.DAT", "", 15, 0, -1, 0, 0, &h, &detail);
    }
    ~Keyed() { pxall::cdclose(&h, nullptr); }
    bool find(const char* key, char* rec) {
        pxall::cdreopen(h, nullptr);
        return pxall::cdread(rec, key, kKeyLen, 0, nullptr, nullptr, h, nullptr) == 0;
    }
    int64_t read_all(char* rec) {
        pxall::cdreopen(h, nullptr);
        int64_t n = 0;
        while (pxall::cdread(rec, nullptr, 0, 0, nullptr, nullptr, h, nullptr) == 0) ++n;
        return n;
    }
};

// Lookups of the keys in turn from a cursor of its own.
template <typename Side>
pxbench::Timer lookups(const Fixture& f, Side* side) {
    auto next = std::make_shared<size_t>(0);
    return pxbench::wall([&f, side, next] {
        char rec[kRecLen];
        if (!side->find(f.key((*next)++), rec)) return false;
        pxbench::keep(rec[0]);
        return true;
    });
}

template <typename Side>
pxbench::Timer reads(const Fixture& f, Side* side) {
    return pxbench::wall([&f, side] {
        char rec[kRecLen];
        return side->read_all(rec) == f.records;
    });
}

// Both sides give every record as it was written, on some of the keys.
bool same_records(const Fixture& f, Keyed& keyed, Sqlite& sqlite) {
    for (size_t n = 0; n < 2000; ++n) {
        const std::string want = record_of(f.numbers[n]);
        char a[kRecLen], b[kRecLen];
        if (!keyed.find(f.key(n), a) || !sqlite.find(f.key(n), b)) return false;
        if (std::memcmp(a, want.data(), kRecLen) != 0 || std::memcmp(b, want.data(), kRecLen) != 0) return false;
    }
    return true;
}

std::vector<int> sizes_of(const char* v) {
    std::vector<int> out;
    std::stringstream in(v);
    for (std::string item; std::getline(in, item, ',');)
        if (int n = std::atoi(item.c_str()); n >= 1000) out.push_back(n);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    int64_t memory_mib = 0;
    pxbench::Bench bench("Keyed catalogue files against SQLite on the same records", argc, argv,
                         {{"--records=", [](const char* v) { g_sizes = sizes_of(v); }},
                          {"--memory-mib=", [&](const char* v) { memory_mib = std::atoll(v); }}});
    pxall::set_table();
    int64_t budget = pxall::fit_kept_data_budget();
    if (memory_mib > 0) {
        budget = pxall::kept_data_budget_for(static_cast<uint64_t>(memory_mib) << 20);
        pxall::set_kept_data_budget(budget);
        std::printf("kept-data budget as on a machine of %lld MiB: %lld MiB\n", static_cast<long long>(memory_mib),
                    static_cast<long long>(budget >> 20));
    } else {
        std::printf("kept-data budget for this machine's memory: %lld MiB\n", static_cast<long long>(budget >> 20));
    }
    for (int n : g_sizes) {
        std::printf("\n--- %d records\n", n);
        std::fflush(stdout);
        Fixture f(n);
        Keyed keyed;
        if (keyed.h == nullptr) {
            std::printf("the keyed file does not open\n");
            return 1;
        }
        // The keyed file's lookups first, so that what it keeps is known.
        char rec[kRecLen];
        for (size_t k = 0; k < kLookups; ++k) keyed.find(f.key(k), rec);
        const int64_t kept_kib = std::max<int64_t>((pxall::cdkept_bytes(keyed.h) + 1023) / 1024, 64);
        const int64_t whole_kib = static_cast<int64_t>(fs::file_size(f.dir / "bench.db") / 1024) * 2 + 1024;
        // A connection of its own reads in sequence, so that it passes
        // through no cache the lookups use.
        Sqlite same(f, kept_kib), warm(f, whole_kib), scan(f, kept_kib);
        for (size_t k = 0; k < kLookups; ++k) same.find(f.key(k), rec);
        warm.read_all(rec);
        for (size_t k = 0; k < kLookups; ++k) warm.find(f.key(k), rec);
        if (!same_records(f, keyed, same) || !same_records(f, keyed, warm)) {
            std::printf("the two sides do not give the same records\n");
            return 1;
        }
        std::printf("keyed file keeps %lld KiB after a million lookups; SQLite's caches: %lld KiB (same memory), "
                    "%lld KiB (warm)\n",
                    static_cast<long long>(kept_kib), static_cast<long long>(kept_kib),
                    static_cast<long long>(whole_kib));
        const auto fig = bench.interleave({{"keyed file lookup", lookups(f, &keyed)},
                                           {"SQLite lookup, same memory", lookups(f, &same)},
                                           {"SQLite lookup, warm", lookups(f, &warm)},
                                           {"keyed file sequential read", reads(f, &keyed), 1},
                                           {"SQLite sequential read", reads(f, &scan), 1}});
        const std::string at = std::to_string(n) + " records, ";
        bench.speed_ratio(at + "lookup against SQLite with the same memory", fig[0], fig[1], pxbench::at_least(2.0));
        bench.speed_ratio(at + "lookup against SQLite warm", fig[0], fig[2], pxbench::at_least(1.0));
        bench.speed_ratio(at + "sequential read against SQLite", fig[3], fig[4], pxbench::no_goal());
    }
    pxall::free_table();
    return bench.conclude();
}
