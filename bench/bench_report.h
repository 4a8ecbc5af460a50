// What every benchmark of bench/ shares: one way of interleaving, timing and
// reporting, on Google Benchmark.
//
// A benchmark names each piece of work it times as a Case: a name and a
// timer that does the work n times over and gives the nanoseconds that took
// (wall() makes one from a call of the work). Bench::interleave registers
// every case with Google Benchmark, first once to warm it and to size its
// batch (Google Benchmark's own growth of the iterations up to half the
// batch time), then once a round: each round runs one batch of every case,
// the order rotated from one round to the next, so that the project and its
// peer meet the same moments of a loaded machine. Each such run is one
// benchmark of Google Benchmark with the batch as its iterations and our
// timer's time as its manual time. (Its repetitions would run one case's
// rounds back to back, or shuffled with --benchmark_enable_random_interleaving,
// and neither pairs the project and its peer round by round.)
//
// Each case is reported by the median of its rounds and their quartiles; a
// pair compared round by round gives one ratio a round, whose median is the
// figure and whose quartiles its spread. The head lines say the machine,
// the date and its load; at the end the load again and, last, the ratio
// furthest from its goal with that goal (or, in a bench without a peer, the
// time furthest from its own).
//
//   Bench bench("what is timed", argc, argv, {{"--own=", setter}});
//   std::vector<Figures> f = bench.interleave({{"ours", wall(...)}, {"peer", wall(...)}});
//   bench.speed_ratio("ours against the peer", f[0], f[1], at_least(0.8));
//   return bench.conclude();
//
// Flags every benchmark takes: --rounds=N (rounds of batches), --batch-ms=N
// (the time a batch is sized to), --show-rounds (Google Benchmark's line for
// every run), and Google Benchmark's own --benchmark_* flags
// (--benchmark_filter=REGEX runs only the cases it matches,
// --benchmark_out=FILE writes every run as JSON).
#pragma once

#include <sys/utsname.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <string.h>  // memmem

#include <benchmark/benchmark.h>

namespace pxbench {

// Keeps the compiler from dropping work whose result is not used.
template <typename T>
inline void keep(T const& value) {
    asm volatile("" : : "r,m"(value) : "memory");
}

inline double now_ns() {
    return static_cast<double>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

// Does the work n times: the nanoseconds it took, or a negative number when
// the work failed.
using Timer = std::function<double(int64_t n)>;

// The timer of a call that does the work once and says whether it went well.
template <typename Body>
Timer wall(Body body) {
    return [body](int64_t n) mutable -> double {
        const double t0 = now_ns();
        for (int64_t i = 0; i < n; ++i)
            if (!body()) return -1;
        return now_ns() - t0;
    };
}

// The timer of a call that does the work once, each call after `clear`
// (outside the time) puts back what the work starts from.
template <typename Clear, typename Body>
Timer after(Clear clear, Body body) {
    return [clear, body](int64_t n) mutable -> double {
        double t = 0;
        for (int64_t i = 0; i < n; ++i) {
            clear();
            const double t0 = now_ns();
            if (!body()) return -1;
            t += now_ns() - t0;
        }
        return t;
    };
}

struct Case {
    std::string name;
    Timer time;
    int64_t batch = 0;  // repetitions a batch; 0: as many as fill the batch time
};

// A case's time per repetition in each round.
struct Figures {
    std::string name;
    std::vector<double> ns;
    int64_t batch = 0;
    bool failed = false;
};

// The value at quantile q (0 to 1) of some numbers, between neighbours.
inline double quantile(std::vector<double> v, double q) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const double at = q * static_cast<double>(v.size() - 1);
    const size_t lo = static_cast<size_t>(at);
    const size_t hi = std::min(lo + 1, v.size() - 1);
    return v[lo] + (v[hi] - v[lo]) * (at - static_cast<double>(lo));
}

// A goal: the figure at least (or at most) this; a bound of 0 is no goal.
struct Goal {
    double bound = 0;
    bool at_least = true;
    bool none() const { return bound <= 0; }
    bool met(double v) const { return at_least ? v >= bound : v <= bound; }
    // How far a figure stands from it, on one scale for every goal: 1 on
    // the bound, above 1 inside it.
    double margin(double v) const {
        if (v <= 0 || bound <= 0) return 0;
        return at_least ? v / bound : bound / v;
    }
};
inline Goal at_least(double v) { return {v, true}; }
inline Goal at_most(double v) { return {v, false}; }
// A figure shown beside the others, without a goal of its own.
inline Goal no_goal() { return {0, true}; }

// Google Benchmark's console, which tells the machine once and each run's
// line only when asked: the figures are the bench's own report. Every run
// also goes to the file of --benchmark_out (JSON), one file for the whole
// bench.
class RoundReporter : public benchmark::ConsoleReporter {
public:
    RoundReporter() : benchmark::ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}
    ~RoundReporter() override {
        if (file_ && file_told_) file_->Finalize();
    }
    bool show_runs = false;

    // False when the file does not open.
    bool write_to(const std::string& path) {
        out_.open(path);
        if (!out_) return false;
        file_ = std::make_unique<benchmark::JSONReporter>();
        file_->SetOutputStream(&out_);
        file_->SetErrorStream(&out_);
        return true;
    }
    bool ReportContext(const Context& context) override {
        if (file_ && !file_told_) file_told_ = file_->ReportContext(context);
        if (told_) return true;
        told_ = true;
        return benchmark::ConsoleReporter::ReportContext(context);
    }
    void ReportRuns(const std::vector<Run>& runs) override {
        if (file_) file_->ReportRuns(runs);
        if (show_runs) benchmark::ConsoleReporter::ReportRuns(runs);
    }

private:
    bool told_ = false, file_told_ = false;
    std::ofstream out_;
    std::unique_ptr<benchmark::BenchmarkReporter> file_;
};

// A bench's own flag ("--codes=") and what takes its value.
using Flag = std::pair<const char*, std::function<void(const char*)>>;

class Bench {
public:
    // Takes Google Benchmark's flags, the common ones and the bench's own
    // from argv (an unknown flag ends the program) and prints the head lines.
    Bench(std::string title, int argc, char** argv, const std::vector<Flag>& own = {}, int rounds = 15)
        : title_(std::move(title)), rounds_(rounds) {
        // The file of every run is written here, once for all the bench's
        // runs (Google Benchmark would write it anew at each).
        std::string out;
        int kept = 1;
        for (int i = 1; i < argc; ++i) {
            if (std::strncmp(argv[i], "--benchmark_out=", 16) == 0) out = argv[i] + 16;
            else argv[kept++] = argv[i];
        }
        argc = kept;
        if (!out.empty() && !reporter_.write_to(out)) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], out.c_str());
            std::exit(2);
        }
        benchmark::Initialize(&argc, argv);
        std::vector<Flag> flags = own;
        flags.push_back({"--rounds=", [this](const char* v) { rounds_ = std::max(1, std::atoi(v)); }});
        flags.push_back({"--batch-ms=", [this](const char* v) { batch_ns_ = std::max(1, std::atoi(v)) * 1e6; }});
        flags.push_back({"--show-rounds", [this](const char*) { reporter_.show_runs = true; }});
        for (int i = 1; i < argc; ++i) {
            bool known = false;
            for (const Flag& f : flags) {
                const size_t n = std::strlen(f.first);
                if (std::strncmp(argv[i], f.first, n) == 0) {
                    f.second(argv[i] + n);
                    known = true;
                    break;
                }
            }
            if (!known) {
                std::fprintf(stderr, "%s: unknown flag %s; flags:", argv[0], argv[i]);
                for (const Flag& f : flags) std::fprintf(stderr, " %s%s", f.first, f.first[std::strlen(f.first) - 1] == '=' ? "N" : "");
                std::fprintf(stderr, " --benchmark_*\n");
                std::exit(2);
            }
        }
        std::printf("%s\n%s\n", title_.c_str(), machine().c_str());
        std::printf("load at the start: %s\n", load().c_str());
        std::fflush(stdout);
    }
    ~Bench() { benchmark::Shutdown(); }

    // Runs the cases interleaved (see the head of this file) and prints each
    // one's median and spread. The figures come back in the order given.
    std::vector<Figures> interleave(std::vector<Case> cases) {
        std::vector<Figures> out(cases.size());
        for (size_t i = 0; i < cases.size(); ++i) {
            out[i].name = cases[i].name;
            out[i].batch = cases[i].batch;
        }
        // Warming and sizing, where the case has no batch of its own.
        benchmark::ClearRegisteredBenchmarks();
        bool sizing = false;
        std::vector<char> warmed(cases.size(), 0);
        for (size_t i = 0; i < cases.size(); ++i) {
            if (out[i].batch > 0) continue;
            sizing = true;
            benchmark::RegisterBenchmark(("warm-up/" + out[i].name).c_str(),
                                         [this, &cases, &out, &warmed, i](benchmark::State& st) {
                                             warmed[i] = 1;
                                             const int64_t n = st.max_iterations;
                                             while (st.KeepRunningBatch(n)) {
                                                 const double t = cases[i].time(n);
                                                 if (t < 0) {
                                                     st.SkipWithError("the work failed");
                                                     continue;
                                                 }
                                                 st.SetIterationTime(t / 1e9);
                                                 // The last call is the longest.
                                                 out[i].batch = std::max<int64_t>(
                                                     1, static_cast<int64_t>(static_cast<double>(n) * batch_ns_ /
                                                                             std::max(t, 1.0)));
                                             }
                                         })
                ->UseManualTime()
                ->MinTime(batch_ns_ / 2 / 1e9);
        }
        if (sizing) benchmark::RunSpecifiedBenchmarks(&reporter_);
        // A case --benchmark_filter left out is not run (and has not failed).
        for (size_t i = 0; i < cases.size(); ++i) out[i].failed = warmed[i] && out[i].batch < 1;

        benchmark::ClearRegisteredBenchmarks();
        double load_lo = 1e9, load_hi = 0;
        for (int r = 0; r < rounds_; ++r) {
            for (size_t k = 0; k < cases.size(); ++k) {
                const size_t i = (k + static_cast<size_t>(r)) % cases.size();
                if (out[i].failed || out[i].batch < 1) continue;
                const bool first = k == 0;
                benchmark::RegisterBenchmark((out[i].name + "/round:" + std::to_string(r + 1)).c_str(),
                                             [&, i, first](benchmark::State& st) {
                                                 if (first) {
                                                     const double l = load_1min();
                                                     load_lo = std::min(load_lo, l);
                                                     load_hi = std::max(load_hi, l);
                                                 }
                                                 if (out[i].failed) st.SkipWithError("failed in an earlier round");
                                                 while (st.KeepRunningBatch(out[i].batch)) {
                                                     const double t = cases[i].time(out[i].batch);
                                                     if (t < 0) {
                                                         out[i].failed = true;
                                                         st.SkipWithError("the work failed");
                                                         continue;
                                                     }
                                                     st.SetIterationTime(t / 1e9);
                                                     out[i].ns.push_back(t / static_cast<double>(out[i].batch));
                                                 }
                                             })
                    ->UseManualTime()
                    ->Iterations(out[i].batch)
                    ->Repetitions(1)
                    ->Unit(out[i].batch >= 1000 ? benchmark::kNanosecond
                           : out[i].batch >= 10 ? benchmark::kMicrosecond
                                                : benchmark::kMillisecond);
            }
        }
        benchmark::RunSpecifiedBenchmarks(&reporter_);
        benchmark::ClearRegisteredBenchmarks();

        spaced_ = false;
        if (load_lo > load_hi) load_lo = load_hi = load_1min();  // no round ran
        std::printf("\n%d rounds, the order rotated each round; 1-minute load %.2f to %.2f\n", rounds_, load_lo,
                    load_hi);
        table(out);
        return out;
    }

    // Work whose one run gives several times at once (the steps of a road):
    // run once a round, each run one benchmark of Google Benchmark (its
    // manual time the sum of the run's times).
    // The figures of each name over the rounds come back in the order the
    // names first came; a run that fails ends the rounds.
    using Sampler = std::function<bool(std::vector<std::pair<std::string, double>>* ns)>;
    std::vector<Figures> repeat(const std::string& name, Sampler run) {
        std::vector<Figures> out;
        std::map<std::string, size_t> at;
        double load_lo = 1e9, load_hi = 0;
        int runs = 0;
        bool failed = false;
        benchmark::ClearRegisteredBenchmarks();
        for (int r = 0; r < rounds_; ++r) {
            benchmark::RegisterBenchmark((name + "/round:" + std::to_string(r + 1)).c_str(), [&](benchmark::State& st) {
                const double l = load_1min();
                load_lo = std::min(load_lo, l);
                load_hi = std::max(load_hi, l);
                if (failed) st.SkipWithError("failed in an earlier round");
                while (st.KeepRunningBatch(1)) {
                    std::vector<std::pair<std::string, double>> ns;
                    if (!run(&ns)) {
                        failed = true;
                        st.SkipWithError("the run failed");
                        continue;
                    }
                    ++runs;
                    double sum = 0;
                    for (const auto& [what, t] : ns) {
                        auto [it, fresh] = at.emplace(what, out.size());
                        if (fresh) out.push_back({what, {}, 1, false});
                        out[it->second].ns.push_back(t);
                        sum += t;
                    }
                    st.counters["times"] = static_cast<double>(ns.size());
                    st.SetIterationTime(sum / 1e9);
                }
            })
                ->UseManualTime()
                ->Iterations(1)
                ->Repetitions(1)
                ->Unit(benchmark::kMillisecond);
        }
        benchmark::RunSpecifiedBenchmarks(&reporter_);
        benchmark::ClearRegisteredBenchmarks();
        failed_ = failed_ || failed;
        spaced_ = false;
        if (load_lo > load_hi) load_lo = load_hi = load_1min();
        std::printf("\n%d runs%s; 1-minute load %.2f to %.2f\n", runs, failed ? " (then one FAILED)" : "", load_lo,
                    load_hi);
        std::fflush(stdout);
        return out;
    }

    // Each figure's median and quartiles, one line each.
    void table(const std::vector<Figures>& figures) {
        std::printf("%-44s %12s %25s %10s\n", "", "median", "quartiles", "batch");
        for (const Figures& f : figures) {
            if (f.failed) {
                std::printf("%-44s FAILED\n", f.name.c_str());
                failed_ = true;
                continue;
            }
            if (f.ns.empty()) {
                std::printf("%-44s not run\n", f.name.c_str());
                continue;
            }
            std::printf("%-44s %12s %12s - %-12s %6lld\n", f.name.c_str(), time_text(quantile(f.ns, 0.5)).c_str(),
                        time_text(quantile(f.ns, 0.25)).c_str(), time_text(quantile(f.ns, 0.75)).c_str(),
                        static_cast<long long>(f.batch));
        }
        std::fflush(stdout);
    }

    // The peer's time over ours, round by round (ours the faster above 1).
    void speed_ratio(const std::string& what, const Figures& ours, const Figures& peer, Goal goal) {
        paired(what, "speed ratio", peer, ours, goal);
    }
    // Our time over the peer's, round by round (ours the faster below 1).
    void time_ratio(const std::string& what, const Figures& ours, const Figures& peer, Goal goal) {
        paired(what, "time ratio", ours, peer, goal);
    }
    // A time against a goal of its own, in milliseconds.
    void time_goal(const std::string& what, const Figures& f, Goal goal_ms) {
        if (f.failed || f.ns.empty()) return no_figure(what, f.failed);
        add(what, "median", quantile(f.ns, 0.5) / 1e6, quantile(f.ns, 0.25) / 1e6, quantile(f.ns, 0.75) / 1e6, goal_ms,
            " ms");
    }

    // Prints the load at the end and, last, the ratio furthest from its goal
    // with that goal (a time against its own goal where no ratio has one).
    // 0, or 1 when some work failed.
    int conclude() {
        std::printf("\nload at the end: %s\n", load().c_str());
        bool ratios = false;
        for (const Line& l : lines_) ratios = ratios || (!l.goal.none() && l.unit.empty());
        const Line* worst = nullptr;
        for (const Line& l : lines_) {
            if (l.goal.none() || (ratios && !l.unit.empty())) continue;
            if (worst == nullptr || l.goal.margin(l.value) < worst->goal.margin(worst->value)) worst = &l;
        }
        if (worst != nullptr)
            std::printf("%s%s\n", lines_.size() > 1 ? "furthest from its goal: " : "", text(*worst).c_str());
        if (failed_) std::printf("some work FAILED: its figures are missing\n");
        std::fflush(stdout);
        return failed_ ? 1 : 0;
    }

    // "12.3 us", "4.56 ms", "1.23 s".
    static std::string time_text(double ns) {
        char b[32];
        if (ns < 1e3) std::snprintf(b, sizeof b, "%.1f ns", ns);
        else if (ns < 1e6) std::snprintf(b, sizeof b, "%.2f us", ns / 1e3);
        else if (ns < 1e9) std::snprintf(b, sizeof b, "%.2f ms", ns / 1e6);
        else std::snprintf(b, sizeof b, "%.3f s", ns / 1e9);
        return b;
    }

    // The three load averages and the processors.
    static std::string load() {
        std::ifstream in("/proc/loadavg");
        double a = 0, b = 0, c = 0;
        in >> a >> b >> c;
        char out[96];
        std::snprintf(out, sizeof out, "%.2f %.2f %.2f (1, 5, 15 minutes) on %ld processors", a, b, c,
                      ::sysconf(_SC_NPROCESSORS_ONLN));
        return out;
    }

private:
    struct Line {
        std::string what, kind;
        double value, q1, q3;
        Goal goal;
        std::string unit;
    };

    static double load_1min() {
        std::ifstream in("/proc/loadavg");
        double a = 0;
        in >> a;
        return a;
    }

    // The date, the processor and the memory.
    static std::string machine() {
        char date[32];
        const std::time_t t = std::time(nullptr);
        std::tm tm{};
        gmtime_r(&t, &tm);
        std::strftime(date, sizeof date, "%Y-%m-%d %H:%M UTC", &tm);
        std::string cpu = "unknown processor";
        std::ifstream info("/proc/cpuinfo");
        for (std::string l; std::getline(info, l);) {
            if (l.rfind("model name", 0) == 0) {
                cpu = l.substr(l.find(':') + 2);
                break;
            }
        }
        struct utsname u {};
        ::uname(&u);
        const double gib = static_cast<double>(::sysconf(_SC_PHYS_PAGES)) * static_cast<double>(::sysconf(_SC_PAGESIZE)) /
                           (1024.0 * 1024 * 1024);
        char out[256];
        std::snprintf(out, sizeof out, "%s; %s, %ld processors, %.1f GiB; Linux %s", date, cpu.c_str(),
                      ::sysconf(_SC_NPROCESSORS_ONLN), gib, u.release);
        return out;
    }

    // a over b, round by round.
    void paired(const std::string& what, const char* kind, const Figures& a, const Figures& b, Goal goal) {
        if (a.failed || b.failed || a.ns.empty() || a.ns.size() != b.ns.size())
            return no_figure(what, a.failed || b.failed);
        std::vector<double> r;
        for (size_t i = 0; i < a.ns.size(); ++i) r.push_back(a.ns[i] / b.ns[i]);
        add(what, kind, quantile(r, 0.5), quantile(r, 0.25), quantile(r, 0.75), goal, "");
    }

    void add(const std::string& what, const char* kind, double v, double q1, double q3, Goal goal, const char* unit) {
        space();
        lines_.push_back({what, kind, v, q1, q3, goal, unit});
        std::printf("%s\n", text(lines_.back()).c_str());
        std::fflush(stdout);
    }

    // A figure whose work failed, or was not run (--benchmark_filter).
    void no_figure(const std::string& what, bool failed) {
        space();
        std::printf("%s: no figure (%s)\n", what.c_str(), failed ? "the work failed" : "not run");
        failed_ = failed_ || failed;
    }

    // A blank line before the first figure after a table.
    void space() {
        if (!spaced_) std::printf("\n");
        spaced_ = true;
    }

    static std::string text(const Line& l) {
        char b[512];
        if (l.goal.none()) {
            std::snprintf(b, sizeof b, "%s: %s %.2f%s (quartiles %.2f-%.2f) (no goal)", l.what.c_str(), l.kind.c_str(),
                          l.value, l.unit.c_str(), l.q1, l.q3);
            return b;
        }
        std::snprintf(b, sizeof b, "%s: %s %.2f%s (quartiles %.2f-%.2f) (goal: %s %.2f%s) %s", l.what.c_str(),
                      l.kind.c_str(), l.value, l.unit.c_str(), l.q1, l.q3, l.goal.at_least ? "at least" : "at most",
                      l.goal.bound, l.unit.c_str(), l.goal.met(l.value) ? "met" : "NOT MET");
        return b;
    }

    std::string title_;
    RoundReporter reporter_;
    int rounds_;
    double batch_ns_ = 20e6;
    std::vector<Line> lines_;
    bool failed_ = false;
    bool spaced_ = false;
};

// --- The peer of the name searches -------------------------------------------

// `count` names of `width` bytes in one buffer in memory, searched in one
// pass: memmem over the whole buffer, from hit to hit, a hit counting once
// for its name and only when it lies inside it (the search's own rule), and
// only when `take(name index)` says so (a search that lists each code once).
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

}  // namespace pxbench
