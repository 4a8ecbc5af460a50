// Fuzz target: the selection work files SELECT.TMP (even first byte) and
// LCPSEL.TMP (odd), read as an image and into their lists.
#include <cstdint>
#include <vector>

#include "fuzz_place.h"
#include "pxall/selection.h"
#include "pxall/selection_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static pxfuzz::Place place;
    static std::vector<unsigned char> image(1 << 20);
    pxfuzz::Input in = pxfuzz::split(data, size, 1);
    place.reset();
    int32_t err = 0;
    if (in.use & 1) {
        place.put("WORK/LCPSEL.TMP", in.parts[0]);
        pxall::read_lcpsel_tmp(image.data(), &err);
        pxall::InitLcpTmp();
        VBReadLcpselTmp();
        pxall::TermLcpTmp();
    } else {
        place.put("WORK/SELECT.TMP", in.parts[0]);
        pxall::read_select_tmp(image.data(), &err);
        pxall::InitSelTmp();
        VBReadSelectTmp();
        pxall::TermSelTmp();
    }
    return 0;
}
