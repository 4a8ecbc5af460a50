// The fax decoder against libtiff's decoder on the same coded bytes: the
// demo's illustrations, line drawings of illustration size and A4 pages,
// Group 4 and Group 3 two-dimensional coding. Our decoder is fed the way the
// image code feeds it (2048 bytes of input, 7168 bytes of output a call,
// copied into the picture); libtiff decodes its strip in one call. Each run
// ends with a table of pixels per second and the speed ratio (ours / libtiff)
// per picture.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "pxall/faxdecode.h"
#include "pxbuild/demo_images.h"
#include "support/fax_pictures.h"
#include "support/tiff_codec.h"

namespace {

using pxtest::Bitmap;
using pxtest::FaxCoding;

struct Sample {
    std::string name;
    Bitmap picture;
    FaxCoding coding;
    std::vector<uint8_t> coded;
};

std::vector<Sample> make_samples() {
    struct Page {
        const char* name;
        int width, height;
        unsigned seed;
    } pages[] = {
        {"illustration_1616x1158", 1616, 1158, 1},
        {"illustration_1216x880", 1216, 880, 2},
        {"a4_200dpi_1616x2286", 1616, 2286, 3},
        {"a4_300dpi_2480x3508", 2480, 3508, 4},
    };
    std::vector<Sample> samples;
    // Demo illustrations: a large assembly, a page of thin parts, fine hatching.
    for (const char* fig : {"1101", "4501", "8801"}) {
        pxbuild::demo::Illustration ill = pxbuild::demo::illustration(fig);
        Bitmap pic(ill.picture.width(), ill.picture.height());
        pic.bits = ill.picture.bits();
        for (FaxCoding c : {FaxCoding::kGroup4, FaxCoding::kGroup3TwoD}) {
            std::string name = std::string("demo_") + fig + (c == FaxCoding::kGroup4 ? "/g4" : "/g3_2d");
            samples.push_back({name, pic, c, pxtest::fax_encode(pic, c)});
        }
    }
    for (const Page& p : pages) {
        Bitmap pic = pxtest::line_drawing(p.width, p.height, p.seed);
        for (FaxCoding c : {FaxCoding::kGroup4, FaxCoding::kGroup3TwoD}) {
            std::string name = std::string(p.name) + (c == FaxCoding::kGroup4 ? "/g4" : "/g3_2d");
            samples.push_back({name, pic, c, pxtest::fax_encode(pic, c)});
        }
    }
    return samples;
}

// Decodes as the image code does; false unless the picture comes out whole.
bool decode_ours(const Sample& s, std::vector<uint8_t>& in, std::vector<uint8_t>& out, std::vector<uint8_t>& picture) {
    uint16_t width = static_cast<uint16_t>(s.picture.width), status;
    int32_t count = 0;
    if (pxall::fax_decode(pxall::kFaxInit, &width, nullptr, 0, nullptr, &count, &status) != 0) return false;
    size_t at = 0, filled = 0;
    auto next = [&] {
        size_t n = std::min<size_t>(2048, s.coded.size() - at);
        std::memcpy(in.data(), s.coded.data() + at, n);
        at += n;
        return static_cast<int32_t>(n);
    };
    int32_t in_len = next();
    for (;;) {
        count = static_cast<int32_t>(out.size());
        if (pxall::fax_decode(pxall::kFaxDecode, &width, in.data(), in_len, out.data(), &count, &status) != 0)
            return false;
        if (status == pxall::kFaxNeedInput) {
            if (at == s.coded.size()) break;
            in_len = next();
            continue;
        }
        if (filled + static_cast<size_t>(count) > picture.size()) break;
        std::memcpy(picture.data() + filled, out.data(), static_cast<size_t>(count));
        filled += static_cast<size_t>(count);
        if (status == pxall::kFaxEndOfImage) return filled == picture.size();
    }
    pxall::fax_decode(pxall::kFaxRelease, nullptr, nullptr, 0, nullptr, nullptr, nullptr);
    return false;
}

void set_rate(benchmark::State& state, const Sample& s) {
    double pixels = static_cast<double>(s.picture.width) * s.picture.height;
    state.counters["pixels/s"] =
        benchmark::Counter(pixels * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(s.coded.size()));
}

void bm_ours(benchmark::State& state, const Sample* s) {
    std::vector<uint8_t> in(2048), out(7168), picture(s->picture.bits.size());
    if (!decode_ours(*s, in, out, picture) || picture != s->picture.bits) {
        state.SkipWithError("our decoder does not give the picture");
        return;
    }
    for (auto _ : state) {
        decode_ours(*s, in, out, picture);
        benchmark::DoNotOptimize(picture.data());
    }
    set_rate(state, *s);
}

void bm_libtiff(benchmark::State& state, const Sample* s) {
    pxtest::ReferenceDecoder dec(s->coded, s->picture.width, s->picture.height, s->coding);
    std::vector<uint8_t> picture(s->picture.bits.size());
    if (!dec.ok() || !dec.decode(picture.data())) {
        state.SkipWithError("libtiff does not decode the picture");
        return;
    }
    for (auto _ : state) {
        dec.decode(picture.data());
        benchmark::DoNotOptimize(picture.data());
    }
    set_rate(state, *s);
}

// Prints, after the usual table, our speed over libtiff's per picture.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.error_occurred || r.run_type != Run::RT_Iteration) continue;
            std::string name = r.benchmark_name();
            auto it = r.counters.find("pixels/s");
            if (it == r.counters.end()) continue;
            size_t slash = name.find('/');
            rates_[name.substr(slash + 1)][name.substr(0, slash)] = it->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-36s %14s %14s %7s\n", "picture", "ours Mpx/s", "libtiff Mpx/s", "ratio");
        for (const auto& [picture, by] : rates_) {
            auto ours = by.find("ours"), tiff = by.find("libtiff");
            if (ours == by.end() || tiff == by.end()) continue;
            std::printf("%-36s %14.1f %14.1f %7.2f\n", picture.c_str(), ours->second / 1e6, tiff->second / 1e6,
                        ours->second / tiff->second);
        }
    }

private:
    std::map<std::string, std::map<std::string, double>> rates_;
};

}  // namespace

int main(int argc, char** argv) {
    static const std::vector<Sample> samples = make_samples();
    for (const Sample& s : samples) {
        benchmark::RegisterBenchmark(("ours/" + s.name).c_str(), bm_ours, &s)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("libtiff/" + s.name).c_str(), bm_libtiff, &s)->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
