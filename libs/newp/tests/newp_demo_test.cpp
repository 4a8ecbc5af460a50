// The part-number list on the demo installation, with the earlier issue of
// CD E1 in a second drive as the demo is to be wired.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "newp/newp.h"
#include "newp/newp_layout.h"
#include "platform/drives.h"
#include "platform/msgbox.h"
#include "pxall/blocks.h"
#include "pxall/env.h"
#include "pxall/hinban.h"
#include "pxall/part_records.h"
#include "pxall/texts.h"
#include "pxbuild/demo_data.h"
#include "pxbuild/demo_install.h"
#include "pxbuild/demo_parts.h"
#include "support/parts_fixture.h"

namespace fs = std::filesystem;

namespace {

using namespace pxall;

TEST(NewpDemo, TheEarlierIssueGivesTheNewPartsOfACatalogue) {
    pxtest::KeyedEnv k;
    std::string folder = pxtest::open_demo(k);
    ASSERT_FALSE(folder.empty());
    ASSERT_EQ(get_ctop_addr()[ctop::kDriveCount], 2);

    // The estate's parts that came after the earlier issue, in key order.
    std::vector<std::string> want;
    for (const auto& r : pxbuild::demo::root_files("E1").figind)
        if (r.compare(0, 6, "4420B1") == 0 && pxbuild::demo::added_later(r.substr(figind_rec::kPart, 12)))
            want.push_back(r.substr(figind_rec::kPart, 12));
    std::sort(want.begin(), want.end());
    ASSERT_FALSE(want.empty());
    EXPECT_EQ(want.back().substr(0, 3), "909") << "the newest parts lie beyond the earlier issue's last";
    plat::set_message_box_hook([](const std::string&, const std::string&, uint32_t) { return plat::kIdOk; });

    newp_init();
    ASSERT_EQ(newp_area_check(), 0);
    std::string code = "4420B1";
    VbString s{code.data(), 6};
    int16_t msg = 0, count = 0;
    ASSERT_EQ(newp_input_check(&s, &msg), 0);
    ASSERT_EQ(newp_main(&msg, &count), 0);
    EXPECT_EQ(msg, 105);
    EXPECT_EQ(count, static_cast<int16_t>(want.size()));
    std::string list;
    {
        std::ifstream in(folder + "/c/PXDROM/WORK/PXNEWP2.TMP", std::ios::binary);
        list.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::string> got;
    for (size_t at = 0; at + newp::list_rec::kSize <= list.size(); at += newp::list_rec::kSize)
        if (list[at] != ' ') {
            char part[12];
            edit_hinban12(part, list.data() + at + newp::list_rec::kPart);
            got.emplace_back(part, 12);
        }
    EXPECT_EQ(got, want);
    newp_term();
    plat::set_message_box_hook({});
    free_msg();
    free_scr();
}

}  // namespace
