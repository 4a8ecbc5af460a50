// Scripted stand-ins of PXSTUP and PXSIUP for the set-up screens' tests: each
// answers what the test put into setup_fakes() and records its calls; the
// selection files go into the installation's root (C:\).
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace pxtest {

class Installation;

struct SetupFakes {
    std::vector<std::string> calls;  // "stup_main_proc", "kakaku C:\PRICE001.CSV 1 0" ...

    // Catalogue set-up.
    int32_t client = 0;
    int32_t make_rc = 0;
    std::string catalog;  // CATALOG.TMP as the library writes it (488 bytes)
    std::string frame;    // FRAME.TMP (244 bytes)
    std::map<std::string, std::string> drive_info;  // "<type><drive>" ("0D") -> DRVINFO.TMP block
    std::set<std::string> client_drives;            // "<type><drive>" the client check accepts
    int32_t run_rc = 0;
    std::string run_catalog, run_frame;  // the selection files as the run found them
    int32_t latest_rc = 0;
    int16_t latest_language = 1;
    int32_t check_setup_rc = 0;  // drom_check_setup

    // Prices.
    int16_t price_set = 0;
    std::deque<int32_t> kakaku_rc;  // one a pass; 0 when empty

    // Local parts.
    int32_t localp_set = 0;
    std::deque<int16_t> localp_rc;
    int32_t image_rc = 0;
    std::vector<std::string> images;  // lines Localp3_SetImageFile lists

    // System settings.
    std::map<int32_t, int32_t> scrmsg_rc;  // by language; 0 when absent
    int16_t write_rc = 0;
    std::string written_sys;  // what Write_Initial_Data writes as PXDROM.SYS ("" keeps it)
};

SetupFakes& setup_fakes();
// Binds every entry of the set-up area (and drom_check_setup) to its fake,
// with the fakes reset; unbind puts the real ones back.
void bind_setup_fakes(const Installation& inst);
void unbind_setup_fakes();

// A set-up status block: flag, drive and entries of 12 bytes each.
std::string block(char flag, char drive, const std::vector<std::string>& entries = {});
// A 12-byte CD entry.
std::string entry(const std::string& code, const std::string& issue, char source, char mark = ' ');

}  // namespace pxtest
