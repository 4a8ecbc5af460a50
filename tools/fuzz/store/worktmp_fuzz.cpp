// Fuzz target: the vehicle work files. Even first byte: JOUHOU.TMP
// narrowed by every test at once and by the date alone; odd: VCLINF.TMP, its
// header and every record read.
#include <fcntl.h>

#include <cstdint>

#include "fuzz_place.h"
#include "pxall/jouhou_tmp.h"
#include "pxall/vclinf.h"
#include "pxall/vehicle_work_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static pxfuzz::Place place;
    pxfuzz::Input in = pxfuzz::split(data, size, 1);
    place.reset();
    if (in.use & 1) {
        place.put("WORK/VCLINF.TMP", in.parts[0]);
        pxall::VinftContext ctx{};
        ctx.oflags = O_RDONLY;
        ctx.fd = -1;
        if (pxall::init_VINFT(&ctx) >= 0) {
            unsigned char buf[pxall::vehwork::vinft::kHeaderSize];
            if (pxall::get_hdr_VINFT(&ctx, buf) >= 0)
                for (int n = 0; n < 250 && ctx.fd >= 0; ++n)
                    if (pxall::get_rec_VINFT(&ctx, n, buf) < 0) break;
        }
        pxall::term_VINFT(&ctx);
        pxall::chk_ext_VINFT();
    } else {
        place.put("WORK/JOUHOU.TMP", in.parts[0]);
        const char text[126] = "ENGINE";
        int32_t detail = 0;
        namespace vw = pxall::vehwork;
        // Every test at once, then the date alone (the one with a range).
        const int32_t tests[] = {0x7f, vw::kTestDate};
        for (int32_t flags : tests)
            pxall::v_jtmp_sign(flags, 3, 1, "JT1234567", "4410A1", "AVS16P1        ", text, "202401", &detail);
        std::FILE* fp = nullptr;
        int32_t count = 0, err = 0;
        pxall::v_open_jouhou_tmp(pxall::kJouhouRead, &fp, &count, &err);
        pxall::v_close_jouhou_tmp(&fp, &err);
    }
    return 0;
}
