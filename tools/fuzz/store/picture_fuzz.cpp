// Fuzz target: the screens' picture reader (a one-bit bitmap read here, any
// other picture through Qt), on a file as the screens open it.
#include <cstdint>

#include <QImage>

#include "fuzz_place.h"
#include "shell/picture_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static pxfuzz::Place place;
    pxfuzz::Input in = pxfuzz::split(data, size, 1);
    place.reset();
    place.put("WORK/LOCAL01.BMP", in.parts[0]);
    QImage picture;
    if (px::load_picture_file("C:\\WORK\\LOCAL01.BMP", &picture) == 0 && (in.use & 1)) {
        // What the page then does with it: pixels all over it looked at.
        volatile QRgb sum = 0;
        const int dy = picture.height() / 64 + 1, dx = picture.width() / 64 + 1;
        for (int y = 0; y < picture.height(); y += dy)
            for (int x = 0; x < picture.width(); x += dx) sum = sum + picture.pixel(x, y);
    }
    return 0;
}
