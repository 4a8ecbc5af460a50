// What the comparison benchmarks share: a console reporter that keeps each
// benchmark's rate and time so that the summary can set two side by side,
// and the run of the benchmarks once a bench has taken its own flags.
#pragma once

#include <benchmark/benchmark.h>

#include <string.h>  // memmem

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace pxbench {

// Prints each run as the console reporter does and, at the end, calls the
// summary. A benchmark is known by its function name ("BM_Search") and, when
// it has arguments, also by the name with them ("BM_Lookup/1000000"); its
// figure is the median of its repetitions, or its one run without them.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    using Summary = std::function<void(const RatioReporter&)>;
    explicit RatioReporter(Summary summary) : summary_(std::move(summary)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs) {
            const bool median = r.aggregate_name == "median";
            if (!r.aggregate_name.empty() && !median) continue;
            std::vector<std::string> names = {r.run_name.function_name};
            if (!r.run_name.args.empty()) names.push_back(r.run_name.function_name + "/" + r.run_name.args);
            for (const std::string& name : names) {
                if (!median && medians_.count(name) != 0) continue;  // a median stands
                if (median) medians_.insert(name);
                ns_[name] = r.GetAdjustedRealTime() * unit_ns(r.time_unit);
                auto it = r.counters.find("items_per_second");
                if (it != r.counters.end()) rate_[name] = it->second;
            }
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        if (summary_) summary_(*this);
    }

    // Items per second, 0 when the benchmark did not run or counted none.
    double rate(const std::string& name) const { return find(rate_, name); }
    // Real time per iteration in nanoseconds, 0 when it did not run.
    double ns(const std::string& name) const { return find(ns_, name); }

private:
    static double find(const std::map<std::string, double>& m, const std::string& name) {
        auto it = m.find(name);
        return it == m.end() ? 0 : it->second;
    }
    static double unit_ns(benchmark::TimeUnit u) {
        switch (u) {
        case benchmark::kSecond: return 1e9;
        case benchmark::kMillisecond: return 1e6;
        case benchmark::kMicrosecond: return 1e3;
        default: return 1;
        }
    }

    Summary summary_;
    std::set<std::string> medians_;
    std::map<std::string, double> rate_;
    std::map<std::string, double> ns_;
};

// The peer a name search is set against: `count` names of `width` bytes in
// one buffer in memory, searched in one pass: memmem over the whole buffer,
// from hit to hit, a hit counting once for its name and only when it lies
// inside it (the search's own rule), and only when `take(name index)` says
// so (a search that lists each code once). Registered as BM_OnePassMemmem.
struct TakeAll {
    bool operator()(size_t) const { return true; }
};

template <typename Take = TakeAll>
int one_pass_hits(const char* names, size_t count, size_t width, const std::string& text, Take&& take = Take{}) {
    const size_t k = text.size(), end = count * width;
    int hits = 0;
    size_t at = 0;
    while (k > 0 && at + k <= end) {
        const void* p = ::memmem(names + at, end - at, text.data(), k);
        if (p == nullptr) break;
        const size_t o = static_cast<size_t>(static_cast<const char*>(p) - names);
        const size_t name = o / width;
        if (o - name * width + k <= width) {
            if (take(name)) ++hits;
            at = (name + 1) * width;  // on with the next name
        } else {
            at = o + 1;
        }
    }
    return hits;
}

inline void one_pass_memmem(benchmark::State& state, const char* names, size_t count, size_t width,
                            const std::string& text) {
    int hits = 0;
    for (auto _ : state) {
        hits = one_pass_hits(names, count, width, text);
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = hits;
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(count));
}

// A set of nonzero 64-bit keys by open addressing, for a peer that counts a
// key once: about the least a set can cost.
class FlatKeySet {
public:
    void clear() {
        std::fill(slots_.begin(), slots_.end(), 0);
        count_ = 0;
    }
    // False when the key was there already.
    bool insert(uint64_t key) {
        if ((count_ + 1) * 2 > slots_.size()) grow();
        size_t i = static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & (slots_.size() - 1);
        while (slots_[i] != 0) {
            if (slots_[i] == key) return false;
            i = (i + 1) & (slots_.size() - 1);
        }
        slots_[i] = key;
        ++count_;
        return true;
    }

private:
    void grow() {
        std::vector<uint64_t> old = std::move(slots_);
        slots_.assign(old.empty() ? 4096 : old.size() * 2, 0);
        count_ = 0;
        for (uint64_t k : old)
            if (k != 0) insert(k);
    }
    std::vector<uint64_t> slots_;
    size_t count_ = 0;
};

// "<head>: <label> R <unit>/s, one-pass memmem R <unit>/s, speed ratio ..."
// for a search against the one-pass peer on the same names, when both ran.
inline void print_memmem_ratio(const RatioReporter& r, const std::string& head, const char* ours, const char* label,
                               const char* unit) {
    const double rate = r.rate(ours), peer = r.rate("BM_OnePassMemmem");
    if (rate <= 0 || peer <= 0) return;
    std::printf("%s: %s %.3g %s/s, one-pass memmem %.3g %s/s, speed ratio %.2f (goal: 0.8 or more)\n", head.c_str(),
                label, rate, unit, peer, unit, rate / peer);
}

// A bench's own flag ("--codes=") and what takes its value.
using Flag = std::pair<const char*, std::function<void(const char*)>>;

// argv less the bench's own flags, each of those handed to its setter.
inline std::vector<char*> take_flags(int argc, char** argv, const std::vector<Flag>& flags) {
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        bool own = false;
        for (const Flag& f : flags) {
            const size_t n = std::strlen(f.first);
            if (std::strncmp(argv[i], f.first, n) == 0) {
                f.second(argv[i] + n);
                own = true;
                break;
            }
        }
        if (!own) args.push_back(argv[i]);
    }
    return args;
}

// Runs the benchmarks with the flags left in args (the program name first).
inline int run_benchmarks(std::vector<char*> args, benchmark::BenchmarkReporter* reporter) {
    int n = static_cast<int>(args.size());
    benchmark::Initialize(&n, args.data());
    benchmark::RunSpecifiedBenchmarks(reporter);
    benchmark::Shutdown();
    return 0;
}

}  // namespace pxbench
