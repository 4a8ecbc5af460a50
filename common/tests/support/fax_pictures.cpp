#include "support/fax_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>

namespace pxtest {

Bitmap line_drawing(int w, int h, unsigned seed) {
    Bitmap b(w, h);
    std::mt19937 rng(seed);
    auto rnd = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(std::max(n, 1))); };
    auto dot = [&](int x, int y) {
        if (x >= 0 && x < w && y >= 0 && y < h) b.set(x, y);
    };
    auto line = [&](int x0, int y0, int x1, int y1, int thick) {
        int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0)) + 1;
        for (int i = 0; i <= steps; ++i) {
            int x = x0 + (x1 - x0) * i / steps, y = y0 + (y1 - y0) * i / steps;
            for (int t = 0; t < thick; ++t) dot(x + t, y);
        }
    };
    // Seven-segment digits, 2-pixel strokes: the reference numbers.
    auto digit = [&](int x0, int y0, int d) {
        static const unsigned char segments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
        const int sw = 9, sh = 8;  // segment length across / half height
        int seg = segments[d % 10];
        if (seg & 0x01) line(x0, y0, x0 + sw, y0, 2), line(x0, y0 + 1, x0 + sw, y0 + 1, 2);
        if (seg & 0x02) line(x0 + sw, y0, x0 + sw, y0 + sh, 2);
        if (seg & 0x04) line(x0 + sw, y0 + sh, x0 + sw, y0 + 2 * sh, 2);
        if (seg & 0x08) line(x0, y0 + 2 * sh, x0 + sw, y0 + 2 * sh, 2), line(x0, y0 + 2 * sh + 1, x0 + sw, y0 + 2 * sh + 1, 2);
        if (seg & 0x10) line(x0, y0 + sh, x0, y0 + 2 * sh, 2);
        if (seg & 0x20) line(x0, y0, x0, y0 + sh, 2);
        if (seg & 0x40) line(x0, y0 + sh, x0 + sw, y0 + sh, 2), line(x0, y0 + sh + 1, x0 + sw, y0 + sh + 1, 2);
    };
    // The amount of drawing grows with the area (640 x 480 is one unit).
    int units = std::max(1, w * h / (640 * 480));
    for (int i = 0; i < 4 * units; ++i) {  // part outlines: circles of 2-pixel lines
        int cx = rnd(w), cy = rnd(h), r = 10 + rnd(std::min(w, h) / 6);
        int steps = 8 * r + 8;
        for (int a = 0; a < steps; ++a) {
            double t = a * 2 * 3.14159265358979 / steps;
            int x = cx + static_cast<int>(r * std::cos(t)), y = cy + static_cast<int>(r * std::sin(t));
            dot(x, y), dot(x + 1, y);
        }
    }
    for (int i = 0; i < 3 * units; ++i) {  // boxes, one of them hatched
        int x0 = rnd(w), y0 = rnd(h), bw = 20 + rnd(w / 6), bh = 20 + rnd(h / 6);
        line(x0, y0, x0 + bw, y0, 2), line(x0, y0 + bh, x0 + bw, y0 + bh, 2);
        line(x0, y0, x0, y0 + bh, 2), line(x0 + bw, y0, x0 + bw, y0 + bh, 2);
        if (i % 3 == 0)
            for (int d = 8; d < bw; d += 8) line(x0 + d, y0, std::max(x0, x0 + d - bh), y0 + std::min(bh, d), 1);
    }
    for (int i = 0; i < 8 * units; ++i) {  // callout lines ending in a reference number
        int x0 = rnd(w), y0 = rnd(h), x1 = rnd(w), y1 = rnd(h);
        line(x0, y0, x1, y1, 1);
        int n = 1 + rnd(9999);
        for (int c = 0; n > 0; ++c, n /= 10) digit(x1 + 4 + (3 - c) * 13, y1 - 8, n % 10);
    }
    return b;
}

}  // namespace pxtest
