// The illustration library and the selection entries as the screen's tests
// script them: each entry records its call and answers from a queue (by
// default result 0, status 0); the page in hand is what the fields say.
#pragma once

#include <cstdint>
#include <array>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include <QImage>

namespace figtest {

struct Answer {
    int32_t rc = 0;
    int16_t status = 0;
};

struct FakeBunz {
    std::vector<std::string> calls;                // "Init", "Next", "MakePageInfo", "SelectAll1 1" ...
    std::map<std::string, std::deque<Answer>> answers;  // by the call's first word

    // The page in hand as the page calls copy it out.
    std::string key = "1101";
    std::string record = "ENGINE ASSEMBLY";
    int16_t match = 0;
    int16_t last = 0;
    int16_t sub_out = 0;  // what next/prev leave in the sub-illustration flag
    // What MakePageInfo reports.
    int16_t kind = 1;
    std::string code = "ILL0001";
    std::string title = "ENGINE ASSEMBLY & CYLINDER HEAD";
    std::string bitmap;  // host path of the page bitmap
    std::string list;    // host path of the part-name list
    // The sub-illustration that BuszInit opens.
    std::string sub_key = "1301";
    std::string sub_record = "CRANKSHAFT & PISTON";
    // Picking: the name a picture pick reads in, and what was asked.
    std::string pick_name;
    struct Pick {
        int16_t kind;
        float x, y;
    };
    std::vector<Pick> picks;
    // Rectangles a picture pick marks (left, top, right, bottom; right and
    // bottom excluded), through the picture handles the screen passes.
    std::vector<std::array<int, 4>> marks;
    std::vector<int> qty_steps;
    // The selection list.
    int16_t selected = 0;
    std::vector<std::string> list_kinds;  // kind of each list call, "Click 1" ...

    void answer(const std::string& call, int32_t rc, int16_t status) { answers[call].push_back(Answer{rc, status}); }
    Answer take(const std::string& call);
    int count(const std::string& call) const;
};

FakeBunz& fake();
// Puts the fake entries in place of the libraries' / takes them out.
void install_fake();
void remove_fake();

// A one-bit bitmap file of w x h (a frame and two diagonals) at `path`.
void write_page_bitmap(const std::string& path, int w, int h);
// The part-name list file with these lines.
void write_list(const std::string& path, const std::vector<std::string>& lines);

}  // namespace figtest
