// The engine's state between the screen's calls: the whole list as built
// from the selection, every line with its mark and quantity, and which
// lines the current narrowing shows. The list file is only ever a picture
// of this state, so marks and quantities survive every rewrite.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pxall/hinban_lines.h"
#include "pxall/paths.h"
#include "pxall/vbstring.h"

namespace pxpnho {

constexpr const char* kModule = "PXPNHO01";
constexpr int kFailed = -999;

// One line of the list as the catalogue gives it.
struct Line {
    int part = 0;             // index into State::parts
    bool first = false;       // the part's first line
    char number[14] = {};     // part number, display form; blank for none
    char part12[12] = {};     // the stored part number of that slot
    char label[6] = {};       // usage label of an alternative, or blanks
    char cat_qty[2] = {};     // catalogue quantity, or blanks
    char piece[30] = {};      // remarks piece, or blanks
    bool has_part = false;    // carries a part number: may be marked
    bool marked = false;
    char qty[2] = {};         // quantity asked for
};

// One part of a selection item (or the item alone, when the catalogue
// does not hold it).
struct Part {
    int item = 0;             // the selection item, from 0
    char pnc[6] = {};
    char name[30] = {};
    char from[4] = {}, to[4] = {};
    std::string remarks;      // every remarks byte, for the narrowing
    bool found = true;        // the catalogue holds it
};

struct Conditions {
    bool active = false;
    char frame_model[7] = {};
    char frame_no[7] = {};
    char ad[6] = {};          // YYYYMM
    char color[3] = {};
    char trim[4] = {};
};

struct Feature {
    int kind = 0;
    char code[10] = {};
};

struct State {
    bool open = false;
    bool local = false;       // built from LCPSEL.TMP
    int16_t match = 0;        // 1 narrowed to the vehicle
    Conditions cond;
    std::vector<Part> parts;
    std::vector<Line> lines;
    std::vector<int> shown;   // indexes of lines in the list file, in order
    // Prices of the last price list, by line; kind -1 when none was built.
    int price_kind = -1;
    std::vector<int64_t> price;  // hundredths; -1 not priced
    std::vector<Feature> chosen;   // handed over by the pop-up
    std::vector<Feature> features; // every code of the last feature files
    char paths[5][pxall::kPathSize] = {};
};

enum PathSlot { kPathList, kPathPrint, kPathPrice, kPathKind, kPathCode };

State& st();
// Logs one failure and returns kFailed.
int fail(const char* function, const char* step, int code, int second, int place);
// Builds the work path of slot into the state: false when it cannot.
bool work_path(PathSlot slot, const char* name);
// Copies a path into the caller's string, NUL-terminated within its length.
void give_path(VbString* s, const char* path);

// Builds parts and lines from the selection: 0, 4, or kFailed.
int build_list();
// Decides the lines shown by the narrowing and the conditions.
void choose_lines();
// Writes the list file from the lines shown: 0 or kFailed.
int write_list();
// The line shown at index, or null.
Line* shown_line(int index);
int marked_count();

// Blank-trimmed digits only.
bool reads_as_number(const char* field, size_t n);
// "YYMM" to months (year x 12 + month, years below 50 in the 2000s); -1
// when not four digits.
int yymm_months(const char* yymm);
// "YYYYMM" to months the same way; -1 when not six digits with month 1-12.
int yyyymm_months(const char* yyyymm);

}  // namespace pxpnho
