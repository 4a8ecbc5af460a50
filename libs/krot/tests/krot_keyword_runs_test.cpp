// The keyword search reads the part names in runs of blocks and searches a
// run at once: finds at the first and last name of a run, in the first and
// last record of a block, and codes standing in several figures each give
// their lines, in the header's order.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "krot/krot.h"
#include "krot/search_route_layout.h"
#include "krot_fixture.h"

namespace {

using namespace krottest;

class KeywordRunsTest : public CatalogTest {};

TEST_F(KeywordRunsTest, FindsAtTheEdgesOfBlocksAndRuns) {
    // 3000 names of 66 bytes: 31 to a block, 992 to a run of 32 blocks.
    const std::set<int> bolts = {0, 30, 31, 61, 62, 991, 992, 993, 1983, 1984, 2999};
    std::vector<Name> names;
    for (int i = 0; i < 3000; ++i) {
        char pnc[8];
        std::snprintf(pnc, sizeof pnc, "%05dA", i);
        names.push_back({pnc, bolts.count(i) ? "BOLT NO." + std::to_string(i) : "NUT NO." + std::to_string(i)});
    }
    // Every name has a code; every fifth code stands in two figures.
    std::vector<Code> codes;
    for (int i = 0; i < 3000; ++i) {
        char pnc[8];
        std::snprintf(pnc, sizeof pnc, "%05dA", i);
        codes.push_back({pnc, "1101"});
        if (i % 5 == 1) codes.push_back({pnc, "1501"});
    }
    make(codes, names);
    std::vector<std::string> expect;
    for (const auto& c : codes) {
        const int i = std::stoi(c.pnc.substr(0, 5));
        if (bolts.count(i)) expect.push_back(pad(names[i].name, 60) + " " + c.pnc + " " + c.figure + "\r\n");
    }
    std::string path(80, 'x');
    VbString p{path.data(), 80};
    int16_t count = 0, status = 0;
    ASSERT_EQ(VBKkwdLoad("BOLT", &count, &p, &status), 0);
    std::string want;
    for (const auto& l : expect) want += l;
    EXPECT_EQ(work(pxkrot::kkwd::kFileName), want);
    EXPECT_EQ(count, static_cast<int16_t>(expect.size()));
    // No keyword: every code with its name.
    ASSERT_EQ(VBKkwdLoad("", &count, &p, &status), 0);
    EXPECT_EQ(count, static_cast<int16_t>(codes.size()));
}

}  // namespace
