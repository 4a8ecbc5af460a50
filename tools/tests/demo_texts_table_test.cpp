// The demo's message and screen files against the table of where each text
// is shown (demo_texts_table.txt): the same numbers with the same wordings,
// every screen text within the narrowest field that shows it and every
// message line within the message line, in each menu language the demo
// writes (its bytes in that language's code page).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "demo_texts.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kMessageLine = 71;  // characters of one message line

struct ScreenEntry {
    size_t width = 0;
    std::string text;
};

struct Table {
    std::map<int, std::vector<std::string>> messages;
    std::map<int, ScreenEntry> screen;
    std::vector<std::string> faults;  // lines the table itself gets wrong
};

std::string rtrim(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\r')) s.pop_back();
    return s;
}

bool all_digits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// A screen's four-letter name ("Vjin"), or "Any" for every screen.
bool screen_name(const std::string& s) {
    if (s == "Any") return true;
    if (s.size() != 4 || !std::isupper(static_cast<unsigned char>(s[0]))) return false;
    for (size_t i = 1; i < 4; ++i)
        if (!std::islower(static_cast<unsigned char>(s[i]))) return false;
    return true;
}

Table read_table(const std::string& path) {
    Table t;
    std::ifstream in(path);
    if (!in) {
        t.faults.push_back("cannot read " + path);
        return t;
    }
    std::string line;
    int shown_by = -1;  // screen lines under the last entry; -1 before the first
    std::string last;
    auto close_entry = [&] {
        if (shown_by == 0) t.faults.push_back(last + ": no screen shows it");
    };
    while (std::getline(in, line)) {
        line = rtrim(line);
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("    ", 0) == 0) {
            std::istringstream words(line);
            std::string name, situation;
            words >> name;
            std::getline(words, situation);
            if (shown_by < 0 || !screen_name(name) || rtrim(situation).empty())
                t.faults.push_back("not a screen and situation: " + line);
            else
                ++shown_by;
            continue;
        }
        const size_t colon = line.find(':');
        std::istringstream head(line.substr(0, colon == std::string::npos ? 0 : colon));
        std::string kind, no, width;
        head >> kind >> no >> width;
        const std::string text = colon == std::string::npos ? "" : rtrim(line.substr(std::min(line.size(), colon + 2)));
        if (kind == "message" && all_digits(no) && no.size() == 3 && width.empty()) {
            const int n = std::stoi(no);
            // The second line of a message follows its first, screens after both.
            if (!(last == line.substr(0, colon) && shown_by == 0)) close_entry();
            t.messages[n].push_back(text);
        } else if (kind == "screen" && all_digits(no) && no.size() == 4 && all_digits(width)) {
            close_entry();
            const int n = std::stoi(no);
            if (t.screen.count(n) != 0) t.faults.push_back("screen text " + no + " twice");
            t.screen[n] = ScreenEntry{std::stoul(width), text};
        } else {
            t.faults.push_back("not an entry: " + line);
            continue;
        }
        last = line.substr(0, colon);
        shown_by = 0;
    }
    close_entry();
    return t;
}

// The texts of a written message or screen file: number, then text (a
// screen text after one separating character).
std::map<int, std::vector<std::string>> read_texts(const fs::path& file, size_t digits) {
    std::map<int, std::vector<std::string>> out;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() < digits || !all_digits(line.substr(0, digits))) continue;
        const size_t at = digits == 4 ? 5 : 3;
        out[std::stoi(line.substr(0, digits))].push_back(line.size() > at ? line.substr(at) : "");
    }
    return out;
}

class DemoTextsTable : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("pxtexts-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        pxbuild::demo::write_demo_texts(dir.string());
        table = read_table(PX_TEXTS_TABLE);
    }
    void TearDown() override { fs::remove_all(dir); }
    // The menu languages the demo writes: "01", "02" ...
    std::vector<std::string> languages() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir)) {
            const std::string name = e.path().filename().string();
            if (name.size() == 12 && name.rfind("PXDROM", 0) == 0 && name.substr(8) == ".SCR")
                out.push_back(name.substr(6, 2));
        }
        return out;
    }
    fs::path dir;
    Table table;
};

TEST_F(DemoTextsTable, TheTableIsWellFormed) {
    for (const auto& f : table.faults) ADD_FAILURE() << f;
    EXPECT_FALSE(table.messages.empty());
    EXPECT_FALSE(table.screen.empty());
}

// The English demo holds each text the table lists, in its wording, and no other.
TEST_F(DemoTextsTable, EveryDemoTextHasTheTablesWording) {
    const auto messages = read_texts(dir / "PXDROM01.MSG", 3);
    const auto screen = read_texts(dir / "PXDROM01.SCR", 4);
    ASSERT_FALSE(messages.empty());
    ASSERT_FALSE(screen.empty());
    for (const auto& [no, lines] : messages) {
        auto it = table.messages.find(no);
        if (it == table.messages.end()) {
            ADD_FAILURE() << "message " << no << " is not in the table";
            continue;
        }
        std::vector<std::string> demo;
        for (const auto& l : lines) demo.push_back(rtrim(l));
        EXPECT_EQ(demo, it->second) << "message " << no;
    }
    for (const auto& [no, lines] : table.messages)
        EXPECT_EQ(messages.count(no), 1u) << "message " << no << " of the table is not in the demo";
    for (const auto& [no, texts] : screen) {
        auto it = table.screen.find(no);
        if (it == table.screen.end()) {
            ADD_FAILURE() << "screen text " << no << " is not in the table";
            continue;
        }
        EXPECT_EQ(texts.size(), 1u) << "screen text " << no << " given twice";
        EXPECT_EQ(rtrim(texts.front()), it->second.text) << "screen text " << no;
    }
    for (const auto& [no, entry] : table.screen)
        EXPECT_EQ(screen.count(no), 1u) << "screen text " << no << " of the table is not in the demo";
}

// Each screen text fits the field that shows it, and each message line the
// message line, in every menu language the demo writes: nothing is cut.
TEST_F(DemoTextsTable, EveryDemoTextFitsItsField) {
    const auto langs = languages();
    ASSERT_FALSE(langs.empty());
    for (const std::string& lang : langs) {
        for (const auto& [no, texts] : read_texts(dir / ("PXDROM" + lang + ".SCR"), 4)) {
            auto it = table.screen.find(no);
            if (it == table.screen.end()) continue;  // the wording test names it
            for (const auto& t : texts)
                EXPECT_LE(rtrim(t).size(), it->second.width)
                    << "language " << lang << ", screen text " << no << " \"" << t << "\" in " << it->second.width
                    << " bytes";
        }
        for (const auto& [no, lines] : read_texts(dir / ("PXDROM" + lang + ".MSG"), 3))
            for (const auto& l : lines)
                EXPECT_LE(rtrim(l).size(), kMessageLine) << "language " << lang << ", message " << no << " \"" << l << "\"";
    }
}

}  // namespace
