// The keyword search and the selection made from its list.
#include <gtest/gtest.h>

#include <cstdio>

#include "krot/krot.h"
#include "krot/search_route_layout.h"
#include "krot_fixture.h"

namespace {

using namespace krottest;

// The lines of a work file of fixed lines ended by CR LF; fails the test
// when a line is not exactly len characters.
std::vector<std::string> lines_of(const std::string& file, size_t len) {
    std::vector<std::string> out;
    EXPECT_EQ(file.size() % (len + 2), 0u);
    for (size_t at = 0; at + len + 2 <= file.size(); at += len + 2) {
        EXPECT_EQ(file.substr(at + len, 2), "\r\n");
        out.push_back(file.substr(at, len));
    }
    return out;
}

std::string kkwd_line(const std::string& name, const std::string& pnc, const std::string& fig) {
    return pad(name, 60) + " " + pnc + " " + fig;
}

class KeywordTest : public CatalogTest {
protected:
    int32_t load(const char* keyword, int16_t* count, int16_t* status) {
        path.assign(80, 'x');
        VbString p{path.data(), 80};
        return VBKkwdLoad(keyword, count, &p, status);
    }
    std::string path;
};

TEST_F(KeywordTest, LinesForTheNamesThatContainTheKeyword) {
    make({{"15601A", "1501"}, {"15601A", "1502"}, {"17801A", "1501"}, {"28800A", "8101"}, {"90341A", "1101"}},
         {{"15601A", "ELEMENT, OIL FILTER"}, {"17801A", "ELEMENT, AIR FILTER"}, {"28800A", "BATTERY"},
          {"90341A", "PLUG, DRAIN"}, {"99999Z", "FILTER NOT IN THIS CATALOGUE"}});
    struct Case {
        const char* keyword;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"FILTER", {kkwd_line("ELEMENT, OIL FILTER", "15601A", "1501"), kkwd_line("ELEMENT, OIL FILTER", "15601A", "1502"),
                    kkwd_line("ELEMENT, AIR FILTER", "17801A", "1501")}},
        {"OIL FILTER    ", {kkwd_line("ELEMENT, OIL FILTER", "15601A", "1501"), kkwd_line("ELEMENT, OIL FILTER", "15601A", "1502")}},
        {"filter", {}},  // the match is case-sensitive
        {"ELEMENT, AIR FILTER  TOO LONG", {kkwd_line("ELEMENT, AIR FILTER", "17801A", "1501")}},  // 20 characters taken
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keyword);
        int16_t count = -1, status = -1;
        ASSERT_EQ(load(c.keyword, &count, &status), 0);
        EXPECT_EQ(status, 0);
        if (*c.keyword == 0) {
            // Blank lists every code that has a name: all five records.
            EXPECT_EQ(count, 5);
            continue;
        }
        EXPECT_EQ(lines_of(work(pxkrot::kkwd::kFileName), 72), c.lines);
        EXPECT_EQ(count, static_cast<int16_t>(c.lines.size()));
        EXPECT_EQ(path.substr(0, 20), std::string("C:\\WORK\\KKWDPNC.TMP") + '\0');
        EXPECT_EQ(path.substr(19), std::string(61, '\0'));
    }
    EXPECT_TRUE(k.env().log_lines().empty());
}

TEST_F(KeywordTest, ManyBlocksOfCodesAndNames) {
    // 600 codes (five blocks of the header) over 400 names (13 blocks),
    // codes without a name among them, and names that end where the next
    // record's code begins so that a match could run across the two.
    std::vector<Code> codes;
    std::vector<Name> names;
    std::vector<std::string> expect;
    for (int i = 0; i < 600; ++i) {
        char pnc[8], fig[8];
        std::snprintf(pnc, sizeof pnc, "%05dA", i * 7 % 1000 + 10000 * (i % 3));
        std::snprintf(fig, sizeof fig, "%04d", 1000 + i % 37);
        codes.push_back({pnc, fig});
    }
    std::sort(codes.begin(), codes.end(), [](const Code& a, const Code& b) { return a.pnc < b.pnc; });
    for (size_t i = 0; i < codes.size(); ++i) {
        if (i % 3 == 2) continue;  // no name
        std::string name = i % 5 == 0 ? "BOLT, FLANGE" : i % 5 == 1 ? "BRACKET, ENGINE MOUNTING" : "NUT";
        if (i % 7 == 0) name = std::string(56, '.') + "BOLT";  // fills the field
        names.push_back({codes[i].pnc, name});
        if (name.find("BOLT") != std::string::npos) expect.push_back(kkwd_line(name, codes[i].pnc, codes[i].figure));
    }
    make(codes, names);
    int16_t count = 0, status = 0;
    ASSERT_EQ(load("BOLT", &count, &status), 0);
    EXPECT_EQ(lines_of(work(pxkrot::kkwd::kFileName), 72), expect);
    EXPECT_EQ(count, static_cast<int16_t>(expect.size()));
    // "T0" would only match across a name's end and the next code.
    ASSERT_EQ(load("BOLT0", &count, &status), 0);
    EXPECT_EQ(count, 0);
    ASSERT_EQ(load(" ", &count, &status), 0);
    EXPECT_EQ(count, 400);
}

TEST_F(KeywordTest, NamesFarMoreThanCodesAndGapsBetween) {
    // The part-name file holds 6000 names (194 blocks); the catalogue's codes
    // run dense, then jump, then come sparse, and some have no name.
    std::vector<Name> names;
    const char* words[] = {"BOLT", "NUT, HEXAGON", "BOLT, FLANGE", "WASHER", "CLIP"};
    for (int i = 0; i < 6000; ++i) {
        char pnc[8];
        std::snprintf(pnc, sizeof pnc, "%05dA", i);
        names.push_back({pnc, std::string(words[i % 5]) + " NO." + std::to_string(i)});
    }
    std::vector<Code> codes;
    auto code = [&](int i, char suffix) {
        char pnc[8];
        std::snprintf(pnc, sizeof pnc, "%05d%c", i, suffix);
        codes.push_back({pnc, "1101"});
    };
    for (int i = 0; i < 1500; ++i) code(i, 'A');
    for (int i = 3000; i < 3050; ++i) code(i, 'A');
    for (int i = 3100; i < 6000; i += 97) code(i, i % 2 ? 'A' : 'B');
    code(7000, 'A');
    make(codes, names);
    std::vector<std::string> expect;
    for (const auto& c : codes) {
        if (c.pnc[5] != 'A' || c.pnc == "07000A") continue;
        const std::string& n = names[std::stoi(c.pnc.substr(0, 5))].name;
        if (n.find("BOLT") != std::string::npos) expect.push_back(kkwd_line(n, c.pnc, "1101"));
    }
    int16_t count = 0, status = 0;
    ASSERT_EQ(load("BOLT", &count, &status), 0);
    EXPECT_EQ(lines_of(work(pxkrot::kkwd::kFileName), 72), expect);
    EXPECT_EQ(count, static_cast<int16_t>(expect.size()));
}

TEST_F(KeywordTest, MissingCdIsAnOutValue) {
    make({{"15601A", "1501"}}, {{"15601A", "ELEMENT, OIL FILTER"}});
    remove_cd();
    int16_t count = 7, status = 0;
    EXPECT_EQ(load("OIL", &count, &status), 0);
    EXPECT_EQ(status, 4);
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(work_exists(pxkrot::kkwd::kFileName));
    EXPECT_TRUE(k.env().log_lines().empty());
}

TEST_F(KeywordTest, SelectionAddsEachFigureAndEachCodeOnce) {
    make({{"15601A", "1501"}}, {{"15601A", "X"}});
    const std::vector<std::string> lines = {
        kkwd_line("ELEMENT, OIL FILTER", "15601A", "1501"), kkwd_line("ELEMENT, OIL FILTER", "15601A", "1502"),
        kkwd_line("ELEMENT, AIR FILTER", "17801A", "1501"), kkwd_line("FILTER, FUEL", "23300A", "1601"),
        kkwd_line("FILTER, CABIN", "87139A", "7301")};
    for (const auto& l : lines) box.lb_add(l);
    for (int i : {0, 1, 2, 4}) box.lb_set_sel(i, true);
    int16_t status = 9;
    ASSERT_EQ(VBKkwdWriteSelectTmp(list, &status), 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(figure_list(), (std::vector<std::string>{"1501", "1502", "7301"}));
    EXPECT_EQ(select_records(), (std::vector<std::string>{"15601A      010", "17801A      010", "87139A      010"}));
    EXPECT_EQ(pxall::get_num_selfgn(), 0) << "the in-memory lists are freed";
    EXPECT_EQ(pxall::GetPtrSelTmp()->count, 0);
}

TEST_F(KeywordTest, AHundredAndFirstFigureWritesNothing) {
    make({{"15601A", "1501"}}, {{"15601A", "X"}});
    k.env().write("WORK/SELECT.TMP", std::string(20000, '\0'));
    for (int i = 0; i < 101; ++i) {
        char fig[8], pnc[8];
        std::snprintf(fig, sizeof fig, "%04d", 1000 + i);
        std::snprintf(pnc, sizeof pnc, "%05dA", i);
        box.lb_add(kkwd_line("PART", pnc, fig));
        box.lb_set_sel(i, true);
    }
    int16_t status = 0;
    ASSERT_EQ(VBKkwdWriteSelectTmp(list, &status), 0);
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(figure_list().empty());
    EXPECT_TRUE(select_records().empty());
    // One figure less fits.
    box.lb_set_sel(100, false);
    ASSERT_EQ(VBKkwdWriteSelectTmp(list, &status), 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(figure_list().size(), 100u);
    EXPECT_EQ(select_records().size(), 100u);
}

}  // namespace
