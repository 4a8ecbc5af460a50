// Pages of the chosen figures for the current vehicle: which pages a figure
// has, paging across figures and sub-illustrations, the match switch.
#include <gtest/gtest.h>

#include <algorithm>

#include "bunz_fixture.h"
#include "platform/msgbox.h"

namespace bunztest {
namespace {

using pxbuild::ImageText;

// The vehicle's bits share bit 2 of byte 3 with the catalogue's pages.
const std::string kVehicleBits = bits_at(3, 0x04);

class BunzPages : public ::testing::Test {
protected:
    BunzEnv env;
    Catalogue cat;
    std::string plain, with_sub;

    void SetUp() override {
        plain = cat.image({{10, 10, 40, 20, '0', 0, "11400A"}});
        with_sub = cat.image({{10, 10, 40, 20, '0', 0, "11400A"}, {150, 10, 190, 30, '1', 0, "9001"}});
        // 1101: repeats, a continued page, dates around the grace, bits.
        cat.page("1101", "1101001", "A", plain, "2001", "");
        cat.page("1101", "1101001", "A", plain, "2001", "");          // repeat of the page before
        cat.page("1101", "1101002", "B", plain, "2001", "", all_bits(), '1');
        cat.continuation("1101", "CONT-B");
        cat.page("1101", "1101002", "B", plain, "2001", "");          // after a continued page: no repeat
        cat.page("1101", "1101003", "D", plain, "2001", "2303");      // ends in March
        cat.page("1101", "1101004", "E", plain, "2001", "2302");      // ends in February
        cat.page("1101", "1101005", "F", plain, "2306", "");          // starts in June
        cat.page("1101", "1101006", "G", plain, "2001", "", bits_at(3, 0x08));
        cat.page("1101", "1101007", "H", plain, "2001", "", bits_at(3, 0x08), '1');
        cat.continuation("1101", "CONT-H");
        cat.continuation("1101", "ORPHAN");                           // no page waits for it
        cat.page("1301", "1301001", "P1", with_sub, "2001", "");
        cat.page("1301", "1301002", "P2", plain, "2001", "");
        cat.page("1501", "1501001", "Q", plain, "2001", "");
        cat.page("9001", "9001001", "S1", plain, "2001", "");
        cat.page("9001", "9001002", "S2", plain, "2001", "");
        cat.figure_name("1101", "ENGINE ASSEMBLY");
        cat.figure_name("1301", "CRANKSHAFT & PISTON");
        cat.figure_name("9001", "PISTON DETAIL");
        cat.part_name("11400A", "BLOCK SUB-ASSY, SHORT");
    }

    void install(const std::vector<std::string>& figures, const std::string& date = "202305",
                 const std::string& bits = kVehicleBits) {
        env.install(cat);
        env.vehicle(date, bits);
        env.choose(figures);
    }

    // Title and continuation block of the page in hand.
    std::string page() {
        BunzEnv::PageInfo p = env.page_info();
        if (p.result != 0) return "(" + std::to_string(p.result) + ")";
        std::string cont = p.record.substr(pxbunz::page::kContinuation, pxbunz::page::kContinuationSize);
        cont.erase(cont.find_last_not_of(' ') + 1);
        return cont.empty() ? p.title() : p.title() + "|" + cont;
    }
    // Every page of the figure in hand from the first, moving forward.
    std::vector<std::string> figure_pages(const BunzEnv::Move& at_first) {
        std::vector<std::string> out;
        for (int i = 0; i < at_first.pages(); ++i) {
            if (i > 0) {
                EXPECT_EQ(env.next().status, 0);
            }
            out.push_back(page());
        }
        return out;
    }
};

using Titles = std::vector<std::string>;

TEST_F(BunzPages, FigureKeepsThePagesThatFitTheVehicleAndDropsRepeats) {
    install({"1101"});
    BunzEnv::Move m = env.init();
    ASSERT_EQ(m.result, 0);
    EXPECT_EQ(m.status, 0);
    EXPECT_EQ(m.match, 0);
    EXPECT_EQ(m.figure(), "1101");
    EXPECT_EQ(m.name(), "ENGINE ASSEMBLY" + std::string(45, ' '));
    EXPECT_EQ(m.state[64], '\0');
    EXPECT_EQ(figure_pages(m), (Titles{"A", "B|CONT-B", "B", "D"}));

    // All pages: the continued page whose bits do not fit comes in with its
    // own block; the repeat and the orphan continuation stay out.
    BunzEnv::Move all = env.change();
    EXPECT_EQ(all.match, 1);
    EXPECT_EQ(all.pages(), 8);
    EXPECT_EQ(figure_pages(all), (Titles{"A", "B|CONT-B", "B", "D", "E", "F", "G", "H|CONT-H"}));
    EXPECT_EQ(env.change().match, 0);
    EXPECT_EQ(page(), "A");
}

TEST_F(BunzPages, ProductionDateWithTwoMonthsOfGrace) {
    struct Case {
        const char* date;
        Titles pages;
    };
    const Case cases[] = {
        {"", {"A", "B|CONT-B", "B", "D", "E", "F"}},  // no date: every date fits
        {"202305", {"A", "B|CONT-B", "B", "D"}},      // March + 2 still fits May
        {"202306", {"A", "B|CONT-B", "B", "F"}},      // June is past March + 2
        {"202304", {"A", "B|CONT-B", "B", "D", "E"}},
    };
    install({"1101"});
    for (const Case& c : cases) {
        env.vehicle(c.date, kVehicleBits);
        BunzEnv::Move m = env.init();
        ASSERT_EQ(m.result, 0) << c.date;
        EXPECT_EQ(figure_pages(m), c.pages) << "vehicle date " << c.date;
    }
}

TEST_F(BunzPages, FigureWithoutPagesForTheVehicle) {
    install({"1101"}, "201912");
    BunzEnv::Move m = env.init();
    EXPECT_EQ(m.result, 0);
    EXPECT_EQ(m.status, 1);
    EXPECT_EQ(m.pages(), 0);
    EXPECT_EQ(m.last, 1);
    EXPECT_EQ(env.page_info().result, 128);
    EXPECT_TRUE(env.k.env().log_lines().empty());
}

TEST_F(BunzPages, VehicleWithoutBitsFailsUnlessAllPagesAreShown) {
    install({"1101"}, "202305", std::string(125, '\0'));
    BunzEnv::Move m = env.init();
    EXPECT_EQ(m.result, 128);
    EXPECT_EQ(env.page_info().result, 128);
    auto log = env.k.env().log_lines();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].rfind("PXBSUB02,bun_make_buindex_tmp,check_tekiyou,(128)", 0), 0u) << log[0];
    EXPECT_EQ(log[1].rfind("PXBUNZ02,MakeFigTmpFile,bun_make_buindex_tmp,(128)", 0), 0u) << log[1];
    EXPECT_EQ(log[2].rfind("PXBUNZ01,VBBunzInit,MakeFigTmpFile,(128)", 0), 0u) << log[2];

    BunzEnv::Move all = env.change();
    EXPECT_EQ(all.result, 0);
    EXPECT_EQ(all.match, 1);
    EXPECT_EQ(all.pages(), 8);
    EXPECT_EQ(page(), "A");
}

TEST_F(BunzPages, PagingAcrossFiguresRestoresEachFiguresMatchFlag) {
    install({"1101", "1301", "1501"});
    BunzEnv::Move m = env.init();
    ASSERT_EQ(m.result, 0);
    EXPECT_EQ(env.change().pages(), 8);  // all pages of 1101
    for (int i = 0; i < 7; ++i) EXPECT_EQ(env.next().last, 0);
    EXPECT_EQ(page(), "H|CONT-H");

    m = env.next();  // forward into the next figure: its first page, its own flag
    EXPECT_EQ(m.result, 0);
    EXPECT_EQ(m.sub, 0);
    EXPECT_EQ(m.figure(), "1301");
    EXPECT_EQ(m.match, 0);
    EXPECT_EQ(m.pages(), 2);
    EXPECT_EQ(page(), "P1");

    m = env.prev();  // back into the previous figure: its last page, its flag
    EXPECT_EQ(m.figure(), "1101");
    EXPECT_EQ(m.match, 1);
    EXPECT_EQ(m.pages(), 8);
    EXPECT_EQ(page(), "H|CONT-H");

    env.next();
    EXPECT_EQ(env.next().last, 0);
    EXPECT_EQ(page(), "P2");
    m = env.next();
    EXPECT_EQ(m.figure(), "1501");
    EXPECT_EQ(m.name(), std::string(60, ' '));  // the catalogue has no name for it
    EXPECT_EQ(m.last, 1);
    EXPECT_EQ(page(), "Q");

    m = env.next();  // past the last page of the last figure
    EXPECT_EQ(m.result, 0);
    EXPECT_EQ(m.status, 11);
    EXPECT_EQ(m.last, 1);
    EXPECT_EQ(m.state, std::string(71, '\0'));  // nothing copied
    EXPECT_EQ(page(), "Q");

    m = env.prev();
    EXPECT_EQ(m.figure(), "1301");
    EXPECT_EQ(page(), "P2");
    env.prev();
    env.prev();
    for (int i = 0; i < 7; ++i) env.prev();
    EXPECT_EQ(page(), "A");
    m = env.prev();  // before the first page of the first figure
    EXPECT_EQ(m.result, 0);
    EXPECT_EQ(m.status, 12);
    EXPECT_EQ(m.figure(), "1101");
    EXPECT_EQ(m.last, 0);
    EXPECT_EQ(page(), "A");
}

TEST_F(BunzPages, SubIllustrationPagesAndTheWayBack) {
    install({"1301", "1501"});
    ASSERT_EQ(env.init().result, 0);
    ASSERT_EQ(page(), "P1");

    // The clerk clicks the sub-illustration reference on the picture.
    plat::MemoryListBox list, qty;
    plat::MemoryPicture picture(200, 100);
    plat::MemoryPictureWindow window(200, 100);
    int32_t hl = env.add(&list), hq = env.add(&qty), hp = env.add(&picture), hw = env.add(&window);
    ASSERT_EQ(VBSetListBox(hl, env.page_info().list.c_str()), 0);
    int16_t status = -1;
    EXPECT_EQ(VBBunSelectIllust(3, hp, hw, hl, hq, nullptr, 170.0f, 20.0f, &status), 0);
    EXPECT_EQ(status, 31);

    BunzEnv::Move m = env.busz();
    EXPECT_EQ(m.result, 0);
    EXPECT_EQ(m.status, 0);
    EXPECT_EQ(m.figure(), "9001");
    EXPECT_EQ(m.name().substr(0, 13), "PISTON DETAIL");
    EXPECT_EQ(m.match, 0);
    EXPECT_EQ(m.last, 0);
    EXPECT_EQ(page(), "S1");

    m = env.next();
    EXPECT_EQ(m.sub, 1);
    EXPECT_EQ(m.figure(), "9001");
    EXPECT_EQ(page(), "S2");
    m = env.next();  // past the sub-illustration's last page: the main page after
    EXPECT_EQ(m.sub, 0);
    EXPECT_EQ(m.figure(), "1301");
    EXPECT_EQ(pxall::get_cimg_addr()[pxbunz::img::kSub], 0);
    EXPECT_EQ(page(), "P2");

    env.prev();
    ASSERT_EQ(page(), "P1");
    EXPECT_EQ(VBBunSelectIllust(3, hp, hw, hl, hq, nullptr, 150.0f, 10.0f, &status), 0);
    EXPECT_EQ(status, 31);
    env.busz();
    // The match switch inside the sub-illustration is its own.
    m = env.change();
    EXPECT_EQ(m.figure(), "9001");
    EXPECT_EQ(m.match, 1);
    EXPECT_EQ(pxall::get_i16(pxall::get_cimg_addr() + pxbunz::img::kMain + pxbunz::fig::kMatch), 0);
    EXPECT_EQ(env.next().sub, 1);
    m = env.prev();
    EXPECT_EQ(m.sub, 1);
    EXPECT_EQ(page(), "S1");
    m = env.prev();  // before its first page: back on the page it was opened from
    EXPECT_EQ(m.sub, 0);
    EXPECT_EQ(m.figure(), "1301");
    EXPECT_EQ(m.status, 0);
    EXPECT_EQ(page(), "P1");
}

// A damaged index: the read fails before any page; the figure shows no page
// and the failure is in the log.
TEST_F(BunzPages, DamagedIndexIsLoggedAndShowsNoPage) {
    install({"1101"});
    std::string master = env.k.env().read("MST/E1/PX4410A1.MST");
    int damaged = 0;
    for (size_t at = master.find("1101"); at != std::string::npos; at = master.find("1101", at + 1)) {
        if (at + 13 > master.size()) break;
        std::string digits = master.substr(at + 4, 9);
        if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            master.replace(at + 4, 9, "#########");
            ++damaged;
        }
    }
    ASSERT_GT(damaged, 0);
    env.k.env().write("MST/E1/PX4410A1.MST", master);

    BunzEnv::Move m = env.init();
    EXPECT_EQ(m.result, 0);
    EXPECT_EQ(m.status, 1);
    auto log = env.k.env().log_lines();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("PXBSUB02,bun_make_buindex_tmp,cdread,(128)", 0), 0u) << log[0];
}

TEST_F(BunzPages, CatalogueCdNotPresent) {
    pxbuild::CdWriter cd = env.k.make_cd("E1", "20240115");
    cd.put_keyed("", "FIGM01.DAT", pxbuild::build_keyed("FIGM01.DAT", cat.figm));
    cd.put_keyed("", "HINM01.DAT", pxbuild::build_keyed("HINM01.DAT", cat.hinm));
    cd.put("", "IMAGEF.DAT", cat.image_file());
    cd.put_keyed(kCat, "BUINDE.DAT", pxbuild::build_keyed("BUINDE.DAT", cat.buinde));
    env.k.install("E1", '0');
    env.k.set_cd_drives({{'E', ""}});  // no disc: the clerk cancels the request
    std::memcpy(pxall::get_ccar_addr() + pxall::ccar::kCatalog, kCat, 6);
    env.vehicle("202305", kVehicleBits);
    env.choose({"1101"});

    BunzEnv::Move m = env.init();
    EXPECT_EQ(m.result, 0);
    EXPECT_EQ(m.status, 4);
    EXPECT_EQ(env.page_info().result, 128);
    EXPECT_GE(env.k.boxes_shown(), 1);
    EXPECT_TRUE(env.k.env().log_lines().empty());
}

TEST(BunzPrintTitle, ThreeLinesOfThePageText) {
    std::string text(259, ' ');
    for (int i = 0; i < 200; ++i) text[i] = static_cast<char>('A' + i % 26);
    VbString in{text.data(), static_cast<int32_t>(text.size())};
    std::string title(204, '\0');
    VbString out{title.data(), 204};
    EXPECT_EQ(VBBunMakePrnIllustNm(&in, &out), 204);
    EXPECT_EQ(title, text.substr(0, 74) + "\r\n" + text.substr(74, 74) + "\r\n" + text.substr(148, 52));

    std::string shorter(10, '\0');
    VbString small{shorter.data(), 10};
    EXPECT_EQ(VBBunMakePrnIllustNm(&in, &small), 10);
    EXPECT_EQ(shorter, text.substr(0, 10));
}

// Under the Japanese menu language (code page 932) a line of the printed
// title ends before a double-byte character that does not fit whole, padded,
// and the next line begins with it; a Latin menu splits the bytes.
TEST(BunzPrintTitle, JapaneseLinesEndBeforeACharacterThatDoesNotFit) {
    pxtest::TempEnv env;
    const std::string ka = "\x83\x4A";  // one character of two bytes
    auto text = [](const std::string& s) { return s + std::string(259 - s.size(), ' '); };
    const std::string flowing = std::string(73, 'A') + ka + std::string(72, 'B') + ka + std::string(50, 'C');
    struct Case {
        const char* lang;
        std::string page, first, second, third;
    };
    const Case cases[] = {
        {"02", flowing, std::string(73, 'A') + " ", ka + std::string(72, 'B'), ka + std::string(50, 'C')},
        // The last place shown is the first byte of a character.
        {"02", std::string(199, 'D') + ka, std::string(74, 'D'), std::string(74, 'D'), std::string(51, 'D') + " "},
        {"01", flowing, std::string(73, 'A') + "\x83", "\x4A" + std::string(72, 'B') + "\x83",
         "\x4A" + std::string(50, 'C') + " "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lang);
        pxtest::set_field(pxall::get_ctop_addr(), pxall::ctop::kMenuLangCode, 3, c.lang);
        std::string page = text(c.page);
        VbString in{page.data(), static_cast<int32_t>(page.size())};
        std::string title(204, '\0');
        VbString out{title.data(), 204};
        EXPECT_EQ(VBBunMakePrnIllustNm(&in, &out), 204);
        EXPECT_EQ(title, c.first + "\r\n" + c.second + "\r\n" + c.third);
    }
    // A caller's string that ends inside a character gets a blank there.
    pxtest::set_field(pxall::get_ctop_addr(), pxall::ctop::kMenuLangCode, 3, "02");
    std::string page = text("AAAAA" + ka);
    std::string shorter(6, '?');
    VbString in{page.data(), static_cast<int32_t>(page.size())};
    VbString small{shorter.data(), 6};
    EXPECT_EQ(VBBunMakePrnIllustNm(&in, &small), 6);
    EXPECT_EQ(shorter, "AAAAA ");
    pxtest::set_field(pxall::get_ctop_addr(), pxall::ctop::kMenuLangCode, 3, "01");
}

}  // namespace
}  // namespace bunztest
