// The demo's message and screen-text files are put together from the
// shell's texts, the libraries' and each area's: a number given by two of
// them would become one text of two lines, so each number has one source.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "demo_texts.h"
#include "pxbuild/demo_parts.h"

namespace {

using pxbuild::demo::Text;

template <typename List>
void add(std::map<int, std::set<std::string>>& by_number, const List& texts, const std::string& source) {
    for (const auto& t : texts) by_number[t.no].insert(source);
}

std::string sources(const std::set<std::string>& s) {
    std::string out;
    for (const auto& x : s) out += (out.empty() ? "" : ", ") + x;
    return out;
}

TEST(DemoTexts, EachNumberHasOneSource) {
    namespace d = pxbuild::demo;
    std::map<int, std::set<std::string>> messages, screen;
    add(messages, d::demo_messages(), "shell");
    add(screen, d::demo_screen_texts(), "shell");
    add(messages, d::part_inquiry_messages(), "inquiry libraries");
    add(screen, d::part_inquiry_screen_texts(), "inquiry libraries");
    int area = 0;
    for (const d::AreaTexts* a : d::area_texts()) {
        const std::string name = "area " + std::to_string(++area);
        add(messages, a->messages, name);
        add(screen, a->screen_texts, name);
    }
    for (const auto& [no, from] : messages) EXPECT_EQ(from.size(), 1u) << "message " << no << ": " << sources(from);
    for (const auto& [no, from] : screen) EXPECT_EQ(from.size(), 1u) << "screen text " << no << ": " << sources(from);
}

}  // namespace
