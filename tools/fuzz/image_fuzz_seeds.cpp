// image_fuzz_seeds <dir>: the seed corpus of the image fuzz target, written
// by the data-set builder: image work files of small pictures and of demo
// illustrations (Group 4 and Group 3 two-dimensional), their truncations,
// and the same coded pictures for the decoder alone.
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "pxbuild/bytes.h"
#include "pxbuild/demo_images.h"
#include "pxbuild/image_writer.h"

namespace fs = std::filesystem;
using pxbuild::Bytes;

namespace {

void seed(const fs::path& dir, const std::string& name, uint8_t use, const Bytes& b, bool cuts) {
    Bytes s = {use};
    s.insert(s.end(), b.begin(), b.end());
    pxbuild::write_file((dir / name).string(), s);
    if (!cuts) return;
    for (size_t cut : {size_t(12), size_t(30), s.size() / 2, s.size() - 40}) {
        if (cut >= s.size()) continue;
        pxbuild::write_file((dir / (name + "-cut" + std::to_string(cut))).string(), Bytes(s.begin(), s.begin() + cut));
    }
}

pxbuild::Picture small_picture(int w, int h, unsigned seed) {
    pxbuild::Picture p(w, h);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w;) {
            int run = 1 + static_cast<int>(rng() % 24);
            if (rng() % 3 == 0)
                for (int i = x; i < x + run; ++i) p.set(i, y);
            x += run;
        }
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: image_fuzz_seeds <dir>\n");
        return 2;
    }
    fs::path out(argv[1]);
    fs::create_directories(out);
    int n = 0;
    for (auto coding : {pxbuild::FaxCoding::kGroup4, pxbuild::FaxCoding::kGroup3TwoD}) {
        for (auto [w, h] : {std::pair{64, 16}, {13, 9}, {300, 40}}) {
            pxbuild::Picture p = small_picture(w, h, static_cast<unsigned>(w * h));
            pxbuild::StoredImage img;
            img.id = "SEED001";
            img.width = w;
            img.height = h;
            img.coded = pxbuild::fax_code(p, coding);
            img.texts = {{1, 2, 30, 12, '0', 0, "11400A"}, {5, 5, 9, 9, '1', 3, "1301"}};
            std::string name = "pic" + std::to_string(n++);
            seed(out, name, 0, pxbuild::stored_image(img), true);
            Bytes raw = {static_cast<uint8_t>(w & 0xff), static_cast<uint8_t>(w >> 8)};
            raw.insert(raw.end(), img.coded.begin(), img.coded.end());
            seed(out, name + "-raw", 1, raw, true);
        }
    }
    // Two demo illustrations as stored (one of each coding).
    const auto& demo = pxbuild::demo::demo_image_file();
    for (const char* key : {"11010", "19010"}) {
        const std::string& loc = demo.locators.at(key);
        size_t first = std::stoul(loc.substr(0, 6)) * 2048, size = std::stoul(loc.substr(6, 3)) * 2048;
        seed(out, std::string("demo") + key, 0, Bytes(demo.data.begin() + first, demo.data.begin() + first + size), false);
    }
    return 0;
}
