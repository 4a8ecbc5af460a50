// The part-number and part-name search on the demo installation.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "hinb/hinb.h"
#include "hinb/hinb_layout.h"
#include "pxall/part_records.h"
#include "pxbuild/demo_data.h"
#include "support/parts_fixture.h"

namespace {

using namespace pxall;

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(HinbDemo, ANameAndACodeSharedByEveryCatalogue) {
    pxtest::KeyedEnv k;
    std::string folder = pxtest::open_demo(k);
    ASSERT_FALSE(folder.empty());
    hinb_init();
    ASSERT_EQ(hinb_cdmake_cdidtbl_alldrive(0), 0);

    // Names holding "PUMP", once each though both CDs name them.
    std::set<std::string> want;
    for (const auto& r : pxbuild::demo::root_files("E1").hinm01)
        if (r.find("PUMP", hinmei_rec::kName) != std::string::npos) want.insert(r.substr(0, 6));
    ASSERT_FALSE(want.empty());
    std::string text(60, ' '), code(6, ' '), name(60, ' '), code_out(6, ' ');
    text.replace(0, 4, "PUMP");
    VbString t{text.data(), 60}, c{code.data(), 6}, n{name.data(), 60}, co{code_out.data(), 6};
    int16_t msg = 0, count = 0;
    EXPECT_EQ(hinb_in_check_input(4, &t, &c, &n, &co, &msg), 2);
    ASSERT_EQ(hinb_pc_main(&msg, &count), 0);
    std::string names = slurp(folder + "/c/PXDROM/WORK/" + hinb::kNameFile);
    std::multiset<std::string> got;
    for (size_t at = 0; at + 66 <= names.size(); at += 66) got.insert(names.substr(at, 6));
    EXPECT_EQ(got, std::multiset<std::string>(want.begin(), want.end()));
    hinb_term2();

    // The oil filter's code: one common part number in all five catalogues.
    code = "15601A";
    ASSERT_EQ(hinb_in_check_input(4, &t, &c, &n, &co, &msg), 0);
    EXPECT_EQ(name.substr(0, 19), "ELEMENT, OIL FILTER");
    ASSERT_EQ(hinb_pn_main(&msg, &count), 0);
    EXPECT_EQ(count, 5);
    std::string list = slurp(folder + "/c/PXDROM/WORK/" + hinb::kListFile);
    std::set<std::string> catalogs;
    for (size_t at = 0; at + hinb::list_rec::kSize <= list.size(); at += hinb::list_rec::kSize)
        if (list[at] != ' ') {
            EXPECT_EQ(list.substr(at + hinb::list_rec::kPart, 14), "15601-YZ001-A1");
            catalogs.insert(list.substr(at + hinb::list_rec::kCatalog, 6));
        }
    EXPECT_EQ(catalogs.size(), pxbuild::demo::catalogs().size());
    int16_t mode = 1;
    hinb_term(&mode);
}

}  // namespace
