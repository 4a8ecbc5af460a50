// Scripted stand-ins of the inquiry libraries for the screen tests: each
// entry answers what the test put into fakes() and records its calls; the
// work files it "writes" go into the test installation's work folder
// (C:\WORK).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pxtest {

class Installation;

struct LibFakes {
    // Calls in order, as "VBTekiPopupSetSel 5 0".
    std::vector<std::string> calls;
    // PXPOPUP.TMP as the pop-up functions write it (records of popup_record).
    std::vector<std::string> popup;
    int32_t popup_rc = 0;

    int32_t teki_init_rc = 0;
    int16_t teki_init_flag = 0;
    int32_t teki_search_rc = 0;
    int16_t teki_status = 0;
    std::vector<std::string> teki_records;  // SCRTEKI.TMP
    std::vector<std::string> teki_names;    // the name each list line gets
    std::vector<std::string> teki_lines;    // the list lines the search saw

    int32_t newp_check_rc = 0;
    int16_t newp_check_msg = 0;
    int32_t newp_main_rc = 0;
    int16_t newp_main_msg = 105;
    std::vector<std::string> newp_records;  // PXNEWP2.TMP
    int32_t vcat_rc = 0;
    std::string catalog = "4410A1", car_name = "DEMO SEDAN", from = "0101", to = "9999";

    int32_t hinb_scan_rc = 0;
    int32_t hinb_check_rc = 0;
    int32_t hinb_code_check_rc = 0;  // the check of a code (length 6) answers this
    int16_t hinb_check_msg = 0;
    std::string hinb_check_name;  // the name a PNC check finds
    int32_t hinb_pn_rc = 0;
    int16_t hinb_pn_msg = 105;
    std::vector<std::string> hinb_records;  // PXHINB1.TMP
    int32_t hinb_pc_rc = 0;
    int16_t hinb_pc_msg = 0;
    std::vector<std::string> hinb_names;  // PXHINB0.TMP
    int32_t hinb_make_cat_rc = 0;
};

LibFakes& fakes();
// Binds every inquiry entry to its fake, with fakes() reset; unbind puts the
// real entries back.
void bind_fakes(const Installation& inst);
void unbind_fakes();

// Records of the work files.
std::string popup_record(int no, int16_t setup_index, char area, bool present, const std::string& text);
// SCRTEKI.TMP: a first line (part number, code, catalogue ...) or, with an
// empty part, a continuation line carrying remarks.
std::string teki_record(const std::string& number, const std::string& part, const std::string& code,
                        const std::string& catalog, const std::string& car_name, const std::string& from,
                        const std::string& to, const std::string& remark1, const std::string& remark2 = "",
                        const std::string& part2 = "", const std::string& label2 = "");
// PXNEWP2.TMP
std::string newp_record(const std::string& number, const std::string& pnc, const std::string& part,
                        const std::string& period, const std::string& name, const std::string& remark);
// A list of `count` records in entries of `entry` records each (the last
// entry shorter), numbered from 1.
std::vector<std::string> newp_list(int count, int entry);
// PXHINB1.TMP
std::string hinb_record(const std::string& number, const std::string& mark, const std::string& part,
                        const std::string& catalog, const std::string& car_name, const std::string& span,
                        const std::string& qty, const std::string& remarks);
std::vector<std::string> hinb_list(int count, int entry);
// PXHINB0.TMP
std::string hinb_name(const std::string& pnc, const std::string& name);

// Writes a message file where message n reads "M<n>", for every n given.
void write_numbered_messages(const Installation& inst, const std::vector<int>& numbers);

}  // namespace pxtest
