// The fax decoder against libtiff's decoder on the same coded bytes: the
// demo's illustrations, line drawings of illustration size and A4 pages,
// Group 4 and Group 3 two-dimensional coding. Our decoder is fed the way the
// image code feeds it (2048 bytes of input, 7168 bytes of output a call,
// copied into the picture); libtiff decodes its strip in one call. The two
// are interleaved picture by picture; the speed ratio (libtiff's time over
// ours) of each picture has the goal 1 or more.
//
//   faxdecode_bench [--rounds=N] [--batch-ms=N]
//
// Meaningful in an optimised build without sanitizers.
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_report.h"
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

}  // namespace

int main(int argc, char** argv) {
    pxbench::Bench bench("Fax decoding against libtiff's decoder on the same coded pictures", argc, argv);
    const std::vector<Sample> samples = make_samples();
    std::vector<pxbench::Case> cases;
    for (const Sample& s : samples) {
        auto in = std::make_shared<std::vector<uint8_t>>(2048);
        auto out = std::make_shared<std::vector<uint8_t>>(7168);
        auto picture = std::make_shared<std::vector<uint8_t>>(s.picture.bits.size());
        // Both must give the picture before either is timed.
        if (!decode_ours(s, *in, *out, *picture) || *picture != s.picture.bits) {
            std::printf("%s: our decoder does not give the picture\n", s.name.c_str());
            return 1;
        }
        auto dec = std::make_shared<pxtest::ReferenceDecoder>(s.coded, s.picture.width, s.picture.height, s.coding);
        std::vector<uint8_t> check(s.picture.bits.size());
        if (!dec->ok() || !dec->decode(check.data()) || check != s.picture.bits) {
            std::printf("%s: libtiff does not give the picture\n", s.name.c_str());
            return 1;
        }
        cases.push_back({"ours " + s.name, pxbench::wall([&s, in, out, picture] {
                             const bool ok = decode_ours(s, *in, *out, *picture);
                             pxbench::keep(picture->data());
                             return ok;
                         })});
        cases.push_back({"libtiff " + s.name, pxbench::wall([dec, picture] {
                             const bool ok = dec->decode(picture->data());
                             pxbench::keep(picture->data());
                             return ok;
                         })});
    }
    const auto fig = bench.interleave(cases);
    for (size_t i = 0; i < samples.size(); ++i) {
        const Sample& s = samples[i];
        char what[160];
        std::snprintf(what, sizeof what, "%s (%d x %d), ours against libtiff", s.name.c_str(), s.picture.width,
                      s.picture.height);
        bench.speed_ratio(what, fig[2 * i], fig[2 * i + 1], pxbench::at_least(1.0));
    }
    return bench.conclude();
}
