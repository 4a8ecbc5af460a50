// What the search screens' tests stand on: the program started on a scratch
// installation, the search-route libraries answered by a script where they
// would need a catalogue (the others run for real), stand-in screens for the
// screens the routes open, and the texts of messages by number.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <QString>

#include "support/fixture.h"

class QListWidget;

namespace pxtest {

// One scripted answer of an entry: its result and out values.
struct Answer {
    int32_t rc = 0;
    int16_t status = 0;
    int16_t count = 0;
    std::string text;  // a figure number or a path handed back
};

struct Script {
    std::map<std::string, Answer> answers;  // by entry name ("VBKrotCheckFigNo")
    std::vector<std::string> calls;          // "VBKrotCheckFigNo(123 )" in order
    // The lines the group entries add: group list lines, a group's code lines.
    std::vector<std::string> group_lines;
    std::vector<std::string> group_pnc_lines;
    std::string group_code = "G01";
    std::string group_name = "BRAKE PARTS";
    // Names the fake part-name look-up gives, by code (else a made-up name).
    std::map<std::string, std::string> names;
    // The local-parts pages: figure, name, picture path (empty: none) and
    // the part lines (36 characters each).
    struct Page {
        std::string figure, name, picture;
        std::vector<std::string> lines;
    };
    std::vector<Page> pages;
    int16_t picks = 0;  // what the hand-over counts
    int16_t index_pages = 1;  // pages of the illustration index

    Answer& operator[](const std::string& entry) { return answers[entry]; }
    // The calls of one entry, with their arguments.
    std::vector<std::string> calls_of(const std::string& entry) const;
};

Script& script();

// A screen standing in for one the routes open (Bunz, Pnho, Vinf):
// a message line and F3 back.
class StandIn : public px::Form {
public:
    explicit StandIn(const char* name);
    bool on_key_down(int key_code) override;
    static std::vector<std::string>& opened();
};

class SearchTest : public ProgramTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The text of message `no` as the message line shows it.
    static QString message(int no);
    // Writes a work file of the installation and gives its Windows path.
    std::string work_file(const std::string& name, const std::string& bytes);
    // The bytes of a work file, empty when missing.
    std::string read_work(const std::string& name) const;
    // The lines of a list as bytes.
    static std::vector<std::string> lines(QListWidget* list);
    // Marks or unmarks line i as a click would.
    static void click_line(QListWidget* list, int i);
    // The next-screen block of the common library: its figure list, and
    // the group code and name.
    static std::vector<std::string> block_figures();
    static std::string block_group_code();
    static std::string block_group_name();
    // The selection file as (code, quantity) pairs of its used records.
    std::vector<std::pair<std::string, std::string>> selection() const;

    px::Form* menu = nullptr;
};

}  // namespace pxtest
