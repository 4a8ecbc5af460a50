// Catalogue data for the tests of the part-number inquiries: car names,
// part names, figure index and part-number files of a few catalogues,
// written by the data-set builder onto CD folders (see keyed_fixture.h).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "pxbuild/cd_writer.h"
#include "support/keyed_fixture.h"

namespace pxtest {

struct TestPart {
    std::string pnc;                // part-name code, 6
    std::string part;               // part number, 12
    std::string qty = "01";
    std::string from = "1801";
    std::string to = "9999";
    std::string remarks;            // first part, at most 71
    std::vector<std::string> alts;  // kind '3': up to 4 of part number 12 + quantity 2
    std::vector<std::string> more;  // kind '4': remarks continued, at most 219 each
    std::string fig = "1101";
};

struct TestCatalog {
    std::string code;  // 6
    std::string car_name;
    std::string cd_no = "01";
    std::string from = "1801";
    std::string to = "2412";
    std::vector<TestPart> parts;
};

using TestNames = std::vector<std::pair<std::string, std::string>>;  // code, name

// HINBAN.DAT records of a catalogue: each part's kind '1', '3' and '4'.
std::vector<std::string> hinban_records(const TestCatalog& cat);
std::string shamei_record(const TestCatalog& cat);
std::vector<std::string> figind_records(const TestCatalog& cat);
std::string hinmei_record(const std::string& pnc, const std::string& name);

// A catalogue CD in the folder cd/<folder> of the environment: car names of
// `area`, the part names, the figure index and part files of `own` (the
// figure index of `indexed` instead, when given).
void write_parts_cd(KeyedEnv& k, const std::string& folder, const std::string& id, const std::string& date,
                    const std::vector<TestCatalog>& own, const std::vector<TestCatalog>& area,
                    const TestNames& names, const std::vector<TestCatalog>* indexed = nullptr);

// The demo installation below the environment's folder "demo", with the
// earlier issue of CD E1 in drive F and the texts of the part-number
// inquiries (the wiring the demo builder is to get), opened as the program
// opens it: drive table, environment file, texts. Returns the demo folder,
// or "" after a failed expectation.
std::string open_demo(KeyedEnv& k);

}  // namespace pxtest
