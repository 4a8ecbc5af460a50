#include "support/demo_vehicle.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "pxall/blocks.h"
#include "shell/binding.h"

namespace pxtest {

namespace {

px::Declared<unsigned char*()> ccar{"PXALL", "_ZN5pxall13get_ccar_addrEv"};
px::Declared<unsigned char*()> ctop{"PXALL", "_ZN5pxall13get_ctop_addrEv"};

void put(unsigned char* block, size_t at, size_t width, const std::string& text) {
    std::memset(block + at, 0, width);
    std::memcpy(block + at, text.data(), std::min(width, text.size()));
}

}  // namespace

void identify_demo_vehicle() {
    unsigned char* top = ctop();
    unsigned char* car = ccar();
    ASSERT_NE(car, nullptr);
    int setup = -1;
    for (int i = 0; i < pxall::ctop::kMaxSetup; ++i)
        if (std::memcmp(top + pxall::ctop::kSetupTable + 16 * static_cast<size_t>(i), "E1", 2) == 0) setup = i;
    ASSERT_GE(setup, 0);
    namespace cc = pxall::ccar;
    put(car, cc::kCatalog, 6, "4410A1");
    pxall::put_i32(car + cc::kSetupIndex, setup);
    pxall::put_i32(car + cc::kNameSetupIndex, setup);
    put(car, cc::kFrameModel, 7, "AVS14P1");
    put(car, cc::kFrameNo, 7, "1234567");
    put(car, cc::kProdDate, 6, "202101");
    put(car, cc::kVinPrefix, 10, "XPAAVS1P10");
    put(car, cc::kVehicleName, 20, "ARVENA SEDAN");
    put(car, cc::kProdFrom, 4, "1803");
    put(car, cc::kProdTo, 4, "2312");
    put(car, cc::kModel, 20, "AVS14P1 GL 5MT EUR");
    put(car, cc::kCharact2, 5, "1.4P");
}

void pick_demo_parts(const std::filesystem::path& work) {
    std::string image;
    for (const char* pnc : {"15601A", "15100A", "12101A"}) {
        std::string r = std::string(pnc) + "      01";
        r.push_back('\0');  // kind 0: a part-name code
        r.append(5, '\0');
        image += r;
    }
    image.resize(20000, '\0');
    std::ofstream(work / "SELECT.TMP", std::ios::binary) << image;
}

}  // namespace pxtest
