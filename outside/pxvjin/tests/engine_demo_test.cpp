// The engine on the demo installation: vehicles identified by VIN, by frame
// number and by catalogue and model, what it leaves in the current-vehicle
// block and the work files, the lists, and vehicle-information files.
#include "support/engine_fixture.h"

namespace {

using namespace pxvjintest;
namespace fs = std::filesystem;
namespace cc = pxall::ccar;

TEST_F(EngineDemo, VinIdentifiesTheVehicleAndFillsTheBlock) {
    EXPECT_EQ(vjin_check_inputarea(), 0);
    ASSERT_EQ(check(vjin_check_input_vin, kVin, 17), 32);
    EXPECT_EQ(vjin_check_inputarea(), 1);
    EXPECT_EQ(shown(vjin_disp_cat, 15), "4410A1         ");
    EXPECT_EQ(shown(vjin_disp_mod, 20), "AVS16P1STD 5MEU     ");
    EXPECT_EQ(shown(vjin_disp_fmod, 7), "AVS16P1");
    EXPECT_EQ(shown(vjin_disp_fno, 7), "A200123");
    EXPECT_EQ(shown(vjin_disp_nam, 20), "ARVENA SEDAN        ");
    EXPECT_EQ(shown(vjin_disp_pdf, 4) + "-" + shown(vjin_disp_pdt, 4), "1803-2312");
    EXPECT_EQ(shown(vjin_disp_char1, 10), "1.6P      ");
    std::string c2(5, ' ');
    VbString v{c2.data(), 5};
    vjin_disp_char2(1, &v);
    EXPECT_EQ(c2, "5MT  ");

    EXPECT_EQ(car(cc::kCatalog, 6), "4410A1");
    EXPECT_EQ(car(cc::kModel, 20), "AVS16P1STD 5MEU     ");
    EXPECT_EQ(car(cc::kFrameModel, 7), "AVS16P1");
    EXPECT_EQ(car(cc::kFrameNo, 7), "A200123");
    EXPECT_EQ(car(cc::kVinPrefix, 10), "PX1AVS1600");
    EXPECT_EQ(car(cc::kCharact1a, 10), "1.6P      ");
    EXPECT_EQ(car(cc::kVehicleName, 20), "ARVENA SEDAN        ");
    EXPECT_EQ(pxall::get_i32(pxall::get_ccar_addr() + cc::kSetupIndex), 0);
    // The same bits the builder gives the pages of this frame model.
    EXPECT_EQ(car(cc::kApplicability, cc::kApplicabilitySize).substr(0, 1), bits_of("AVS16P1").substr(0, 1));
    EXPECT_NE(std::string(reinterpret_cast<const char*>(pxall::get_ccar_addr() + cc::kApplicability), 125),
              std::string(125, '\0'));

    EXPECT_EQ(check(vjin_check_input_date, "201807", 6), 0);
    EXPECT_EQ(car(cc::kProdDate, 6), "201807");
    EXPECT_EQ(vjin_exec(), 1);
    // JOUHOU.TMP holds the vehicle's records (one a production period).
    EXPECT_EQ(fs::file_size(work("JOUHOU.TMP")) % 191, 0u);
    EXPECT_GE(fs::file_size(work("JOUHOU.TMP")), 191u);
    // VCLINF.TMP: the catalogue's features, the vehicle's symbols marked.
    ASSERT_TRUE(fs::exists(work("VCLINF.TMP")));
    std::ifstream in(work("VCLINF.TMP"), std::ios::binary);
    std::string vcl((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GT(vcl.size(), 133u);
    EXPECT_EQ(vcl.substr(17, 6), "4410A1");
    EXPECT_NE(vcl.find("1.6P"), std::string::npos);
}

TEST_F(EngineDemo, VinRefusals) {
    struct Case {
        const char* vin;
        int32_t code;
        int16_t msg;
    } cases[] = {
        {"PX1AVS16", 1, pxvjin::kMsgVinForm},           // too short
        {"PX1AVS1600A20012-", 1, pxvjin::kMsgVinForm},  // not letters and digits
        {"QQQAVS1600A200123", 2, pxvjin::kMsgVinUnknown},
        {"", 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(check(vjin_check_input_vin, c.vin, 17), c.code) << c.vin;
        EXPECT_EQ(vjin_check_msgid(), c.msg) << c.vin;
    }
    // A VIN of another catalogue than the one entered is refused.
    ASSERT_EQ(check(vjin_check_input_cat, "5130C2", 15), 16);
    EXPECT_EQ(check(vjin_check_input_vin, kVin, 17), 4);
    EXPECT_EQ(vjin_check_msgid(), pxvjin::kMsgVinNotFit);
}

TEST_F(EngineDemo, FrameNumberThroughTheModelList) {
    // The frame number alone fits two catalogues' ranges: the catalogue list
    // opens on the vehicles left (blank key).
    ASSERT_EQ(frame("", "A200123"), 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(pxall::get_cnexta_addr() + pxall::cnexta::kSearchKey), 15),
              std::string(15, ' '));
    EXPECT_GT(fs::file_size(work("JOUHOU.TMP")), 0u);
    // The catalogue list of those vehicles, and a choice in it.
    ASSERT_EQ(vcat_init(), 0);
    EXPECT_EQ(vcat_check_mode(), 1) << "the vehicles of JOUHOU.TMP";
    std::ifstream dsp(work("DSPCAT.TMP"), std::ios::binary);
    std::string rows((std::istreambuf_iterator<char>(dsp)), {});
    ASSERT_EQ(rows.size(), 2u * 91) << "ARVENA SEDAN and TORVAN VAN share the frame number";
    ASSERT_EQ(rows.substr(20, 6), "4410A1");
    ASSERT_EQ(vcat_ret(0), 0);
    EXPECT_EQ(vjin_return_from_pxxxxx(), 0);
    EXPECT_EQ(vjin_return_vxxx(), 2) << "the frame model's models next";
    EXPECT_EQ(shown(vjin_disp_fmod, 7), "AVS16P1");
    ASSERT_EQ(vkei_init(), 0);
    EXPECT_EQ(fs::file_size(work("VKEILST.TMP")), 24u * pxvjin::modellist::kSize);
    ASSERT_EQ(vkei_ret(5), 0);
    EXPECT_EQ(vjin_return_vxxx(), 16);
    EXPECT_EQ(vjin_exec(), 1);
    // With its frame model: one catalogue, the models of that frame model.
    ASSERT_EQ(vjin_clear(), 0);
    ASSERT_EQ(frame("AVS16P1", "A200123"), 2);
    EXPECT_EQ(vjin_check_inputarea(), 1);
    EXPECT_EQ(vkei_check_mode(), 1) << "no F3 on the frame path";
    ASSERT_EQ(vkei_init(), 0);
    char path[80];
    VbString p{path, 80};
    vkei_main(&p);
    std::string list_path(path);
    EXPECT_NE(list_path.find("VKEILST.TMP"), std::string::npos);
    EXPECT_EQ(fs::file_size(work("VKEILST.TMP")), 24u * pxvjin::modellist::kSize);  // grades x gearboxes x markets
    EXPECT_EQ(vkei_ret(24), -1) << "past the list";
    EXPECT_NE(log().find("vkei_ret"), std::string::npos);
    ASSERT_EQ(vkei_ret(0), 0);
    EXPECT_EQ(vjin_return_from_pxxxxx(), 0);
    EXPECT_EQ(vjin_return_vxxx(), 16);
    EXPECT_EQ(shown(vjin_disp_fmod, 7), "AVS16P1");
    EXPECT_EQ(vjin_exec(), 1);
}

TEST_F(EngineDemo, FrameRefusals) {
    EXPECT_EQ(frame("", "2001"), 4);
    EXPECT_EQ(vjin_check_msgid(), pxvjin::kMsgFrameForm);
    EXPECT_EQ(frame("AVS16P1", "Z999999"), 4);
    EXPECT_EQ(vjin_check_msgid(), pxvjin::kMsgFrameUnknown);
    EXPECT_EQ(frame("", ""), 0);
}

TEST_F(EngineDemo, CatalogueAndModel) {
    EXPECT_EQ(check(vjin_check_input_cat, "", 15), 1) << "the list of every catalogue";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(pxall::get_cnexta_addr() + pxall::cnexta::kSearchKey), 3),
              "ALL");
    EXPECT_EQ(pxall::get_i32(pxall::get_ccar_addr() + cc::kSearchCdCount), 2);
    EXPECT_EQ(check(vjin_check_input_cat, "ARVENA", 15), 1) << "a car name goes to the list";
    ASSERT_EQ(check(vjin_check_input_cat, "6230E1", 15), 16);
    EXPECT_EQ(pxall::get_i32(pxall::get_ccar_addr() + cc::kSetupIndex), 1) << "the E2 data set";
    EXPECT_EQ(check(vjin_check_input_cat, "6230E1", 15), 0);
    EXPECT_EQ(check(vjin_check_input_model, "AVS16P1STD", 20), 4) << "of another catalogue";
    EXPECT_EQ(vjin_exec(), 0);
    ASSERT_EQ(check(vjin_check_input_model, "MRV22D4GL  6MUK", 20), 8);
    // The frame model the vehicle shows, with no frame number: nothing waits
    // for the frame check, which changes nothing; another frame model without
    // a number is an entry of the wrong form.
    EXPECT_EQ(frame("MRV22D4", ""), 0);
    EXPECT_EQ(vjin_check_msgid(), 0);
    EXPECT_EQ(shown(vjin_disp_fmod, 7), "MRV22D4");
    EXPECT_EQ(shown(vjin_disp_fno, 7), std::string(7, ' '));
    EXPECT_EQ(frame("AVS16P1", ""), 4);
    EXPECT_EQ(vjin_check_msgid(), pxvjin::kMsgFrameForm);
    EXPECT_EQ(shown(vjin_disp_fmod, 7), "MRV22D4");
    EXPECT_EQ(check(vjin_check_input_model, "MRV22D4GL  6MUK", 20), 1);
    // The third frame model of the catalogue.
    EXPECT_EQ(car(cc::kApplicability, 1)[0], 2);
    EXPECT_EQ(check(vjin_check_input_date, "199901", 6), 4);
    EXPECT_EQ(vjin_check_msgid(), pxvjin::kMsgDateOutside);
    EXPECT_EQ(check(vjin_check_input_date, "202113", 6), 4);
    EXPECT_EQ(check(vjin_check_input_date, "202204", 6), 0);
    EXPECT_EQ(check(vjin_check_input_col, "B1-", 3), 4);
    EXPECT_EQ(check(vjin_check_input_col, "B1A", 3), 0);
    EXPECT_EQ(check(vjin_check_input_trim, "T12", 4), 0);
    EXPECT_EQ(vjin_exec(), 1);
    EXPECT_EQ(car(cc::kColorNo, 3), "B1A");

    // The model list of the catalogue: every model, F3 allowed.
    EXPECT_EQ(check(vjin_check_input_model, "", 20), 2);
    EXPECT_EQ(vkei_check_mode(), 0);
}

TEST_F(EngineDemo, ThePreviousVehicleComesBackAtTheNextLoad) {
    ASSERT_EQ(check(vjin_check_input_vin, kVin, 17), 32);
    ASSERT_EQ(vjin_exec(), 1);
    // The screen loads again (after the search routes): clear, then init.
    ASSERT_EQ(vjin_clear(), 0);
    ASSERT_EQ(vjin_init(), 0);
    EXPECT_EQ(shown(vjin_disp_vin, 17), kVin);
    EXPECT_EQ(car(cc::kCatalog, 6), "4410A1");
    // F11 on the open screen forgets it.
    ASSERT_EQ(vjin_clear(), 0);
    EXPECT_EQ(shown(vjin_disp_vin, 17), std::string(17, ' '));
    vjin_back();
    ASSERT_EQ(vjin_clear(), 0);
    ASSERT_EQ(vjin_init(), 0);
    EXPECT_EQ(shown(vjin_disp_vin, 17), std::string(17, ' '));
}

TEST_F(EngineDemo, VehicleInformationFiles) {
    ASSERT_EQ(check(vjin_check_input_vin, kVin, 17), 32);
    ASSERT_EQ(check(vjin_check_input_date, "201807", 6), 0);
    ASSERT_EQ(check(vjin_check_input_note, "SERVICE, \"A\"", 30), 0);
    vjin_change_lang(3);
    for (const char* name : {"car.txt", "car.csv"}) {
        std::string path = root + "/" + name;
        ASSERT_EQ(vjin_set_vinf(path.c_str()), 0);
        ASSERT_EQ(vjin_clear(), 0);
        EXPECT_EQ(vjin_get_vinf(path.c_str()), 4) << name << ": the VIN check goes on";
        EXPECT_EQ(shown(vjin_disp_vin, 17), kVin) << name;
        EXPECT_EQ(shown(vjin_disp_ad, 6), "201807") << name;
        EXPECT_EQ(shown(vjin_disp_not, 30), "SERVICE, \"A\"                  ") << name;
        EXPECT_EQ(vjin_check_lang(), 3) << name;
    }
    // Files that are not ours: refused (code 0), logged, nothing read.
    const std::pair<const char*, std::string> foreign[] = {
        {"empty.txt", ""},
        {"other.txt", "[Vehicle]\r\nVIN=PX1AVS1600A200123\r\n"},
        {"binary.txt", std::string("PXVJIN=1\r\nVIN=\0\1\2", 17)},
        {"long.txt", "PXVJIN=1\r\nVIN=" + std::string(40, 'A') + "\r\n"},
        {"bad.csv", "PXVJIN,VIN\r\n1,PX1,EXTRA\r\n"},
        {"huge.txt", "PXVJIN=1\r\nNOTES=" + std::string(20000, 'x') + "\r\n"},
    };
    for (const auto& [name, bytes] : foreign) {
        std::string path = root + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        EXPECT_EQ(vjin_get_vinf(path.c_str()), 0) << name;
    }
    EXPECT_NE(log().find("not a vehicle-information file"), std::string::npos);
    EXPECT_EQ(vjin_get_vinf((root + "/missing.txt").c_str()), -1);
}

TEST_F(EngineDemo, SavedVehicles) {
    // The demo's saved lists 1 and 3 are in use: a vehicle identified by
    // VIN and one by frame number, each with its production date.
    ASSERT_EQ(vjin_select(), 0);
    ASSERT_EQ(fsel_init(), 0);
    char path[80];
    VbString p{path, 80};
    fsel_get_filename(&p);
    EXPECT_NE(std::string(path).find("pxfsav.tmp"), std::string::npos);
    EXPECT_EQ(fs::file_size(work("pxfsav.tmp")), 2 * 80u);
    EXPECT_EQ(fsel_select_file(2), 1) << "deleted";
    const struct {
        int16_t save_no;
        const char *vin, *catalog, *model, *frame, *date, *notes;
    } saved[] = {
        {1, "PX2AVS2630A200456", "4410A1", "AVS16P1GL  6MUK", "A200456", "201811", "Oil pump and sump"},
        {3, "", "4420B1", "AVW19D1GLX 5MEU", "B612345", "202105", "Brake service, front axle"},
    };
    for (const auto& v : saved) {
        SCOPED_TRACE(v.save_no);
        ASSERT_EQ(fsel_init(), 0);
        ASSERT_EQ(fsel_select_file(v.save_no), 0);
        EXPECT_EQ(vjin_return_from_pxxxxx(), 0);
        EXPECT_EQ(vjin_make_from_pxfsel(), 64) << "identified, with date, colour and trim";
        EXPECT_EQ(vjin_check_msgid(), 0);
        EXPECT_EQ(shown(vjin_disp_vin, 17), pad(v.vin, 17));
        EXPECT_EQ(car(cc::kCatalog, 6), v.catalog);
        EXPECT_EQ(car(cc::kModel, 15), v.model);
        EXPECT_EQ(car(cc::kFrameNo, 7), v.frame);
        EXPECT_EQ(car(cc::kProdDate, 6), v.date);
        EXPECT_EQ(shown(vjin_disp_not, 30), pad(v.notes, 30));
    }

    // A saved list of a demo vehicle comes back whole.
    std::string h(99, ' ');
    h.replace(0, 10, "PX1AVS1600");
    h.replace(10, 7, "A200123");
    h.replace(17, 15, "AVS16P1STD 5MEU");
    h.replace(32, 6, "4410A1");
    h.replace(38, 6, "201807");
    h.replace(44, 8, "AVS16P1-");
    h.replace(52, 7, "A200123");
    h.replace(59, 7, "B1AT12 ");
    h.replace(66, 5, "FLEET");
    std::ofstream(root + "/demo/c/MST/PXIF0001.SAV", std::ios::binary) << h;
    ASSERT_EQ(fsel_init(), 0);
    ASSERT_EQ(fsel_select_file(1), 0);
    EXPECT_EQ(vjin_make_from_pxfsel(), 64) << "date, colour and trim given: on to the notes";
    EXPECT_EQ(shown(vjin_disp_vin, 17), kVin);
    EXPECT_EQ(car(cc::kModel, 20), "AVS16P1STD 5MEU     ");
    EXPECT_EQ(car(cc::kColorNo, 3), "B1A");
    EXPECT_EQ(vjin_exec(), 1);

    fsel_init();
    fsel_end_proc(3);
    EXPECT_EQ(vjin_return_from_pxxxxx(), 3);
    fsel_end_proc(4);
    EXPECT_EQ(vjin_return_from_pxxxxx(), 4);
}

}  // namespace
