// The keyword search gives exactly the lines of the search as it is defined
// (each code of the header in turn, the first name record of its code, a
// line when that name holds the keyword), for keywords common and rare,
// long and short, with finds at the edges of blocks and across a name's end;
// whether it reads the files or finds them kept from a search before.
#include <gtest/gtest.h>

#include <cstdio>

#include "krot/krot.h"
#include "krot/search_route_layout.h"
#include "krot_fixture.h"
#include "platform/clock.h"
#include "pxall/keyed_file.h"

namespace {

using namespace krottest;

class KeywordWordsTest : public CatalogTest {
protected:
    void TearDown() override {
        pxall::drop_whole_files();
        plat::unfix_clock();
    }

    // 4000 names (129 blocks of 31), a few of them of 60 characters ending
    // where the next record's code begins, one code with two name records;
    // codes in one or two figures, some without a name.
    void make_catalogue() {
        const char* base[] = {"ELEMENT, OIL FILTER", "ABSORBER ASSY, SHOCK, FRONT LH", "CRANKSHAFT",
                              "KNUCKLE, STEERING", "BOLT, FLANGE", "HOSE, RADIATOR, NO.1", "GASKET, CYLINDER HEAD",
                              "ALTERNATOR ASSY", "LAMP ASSY, REAR COMBINATION", "PAN, OIL"};
        for (int i = 0; i < 4000; ++i) {
            char pnc[8];
            std::snprintf(pnc, sizeof pnc, "%05dA", i);
            std::string name = std::string(base[i % 10]) + ", NO." + std::to_string(i);
            if (i % 97 == 0) name = std::string(59 - 4, '.') + "BODY";  // fills the field: ends in "Y"
            names.push_back({pnc, name});
            if (i % 7 != 3) codes.push_back({pnc, "1101"});
            if (i % 4 == 0) codes.push_back({pnc, "1501"});
        }
        names.push_back({"01234A", "SECOND NAME, CRANKSHAFT"});  // not the code's first record
        codes.push_back({"99999Z", "4301"});                      // a code without any name
        make(codes, names);
    }

    // The lines the search is defined to give.
    std::string expected(const std::string& keyword) const {
        std::string k = keyword.substr(0, 20);
        while (!k.empty() && k.back() == ' ') k.pop_back();
        std::vector<Name> sorted = names;
        std::stable_sort(sorted.begin(), sorted.end(), [](const Name& a, const Name& b) {
            return a.pnc + pad(a.name, 60) < b.pnc + pad(b.name, 60);
        });
        std::vector<Code> header = codes;
        std::stable_sort(header.begin(), header.end(), [](const Code& a, const Code& b) { return a.pnc < b.pnc; });
        std::string out;
        for (const Code& c : header) {
            auto first = std::find_if(sorted.begin(), sorted.end(), [&](const Name& n) { return n.pnc == c.pnc; });
            if (first == sorted.end()) continue;
            const std::string name = pad(first->name, 60);
            if (name.find(k) != std::string::npos) out += name + " " + c.pnc + " " + c.figure + "\r\n";
        }
        return out;
    }

    std::string search(const std::string& keyword, int16_t* count) {
        std::string path(80, 'x');
        VbString p{path.data(), 80};
        int16_t status = -1;
        EXPECT_EQ(VBKkwdLoad(keyword.c_str(), count, &p, &status), 0);
        EXPECT_EQ(status, 0);
        return work(pxkrot::kkwd::kFileName);
    }

    std::vector<Code> codes;
    std::vector<Name> names;
};

TEST_F(KeywordWordsTest, SameLinesAsTheSearchDefinedReadOrKept) {
    make_catalogue();
    const std::vector<std::string> keywords = {
        "ASSY",                  // common, short
        "FILTER",                // common
        "CRANKSHAFT",            // rare, and in a code's second name record
        "KNUCKLE, STEERING",     // long
        "E",                     // one character, in nearly every name
        "NO.3999",               // the last name
        "NO.0",                  // the first name
        "NO.30",                 // the last record of the first block, and more
        "NO.31",                 // the first record of the second block, and more
        "BODY",                  // at a name's very end
        "Y0",                    // only across a name's end and the next code
        "ABSORBER ASSY, SHOCK",  // 20 characters
        "ASSY   ",               // trailing blanks are not part of it
        "GEARBOX",               // in no name
    };
    // Read from the files (just written, so not kept), then kept (the clock
    // a long way on) and found again.
    for (int pass = 0; pass < 3; ++pass) {
        if (pass == 1) plat::fix_clock(2099, 1, 1, 12, 0, 0);
        for (const std::string& k : keywords) {
            SCOPED_TRACE(k + " pass " + std::to_string(pass));
            const std::string want = expected(k);
            int16_t count = -1;
            EXPECT_EQ(search(k, &count), want);
            EXPECT_EQ(count, static_cast<int16_t>(want.size() / 74));
        }
        if (pass > 0) EXPECT_GT(pxall::kept_data_bytes(), 0);
    }
    EXPECT_TRUE(k.env().log_lines().empty());
}

}  // namespace
