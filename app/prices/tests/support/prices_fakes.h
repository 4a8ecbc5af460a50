// Scripted stand-ins of Pxdprc, PXFSAV and the export entries of PXPNHO for
// the screen tests: each answers what the test put into prices_fakes() and
// records its calls; the work files go into the installation's C:\WORK.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace pxtest {

class Installation;

struct PricesFakes {
    std::vector<std::string> calls;  // "dprc_search ABCDE12345FG 0" ...

    // Pxdprc. Each price is the three prices of a part number (12
    // characters, as the library takes it); a part not in it is unknown.
    int32_t kind = 1;
    int32_t search_rc = 0;
    int32_t update_rc = 0;
    std::map<std::string, std::vector<std::string>> prices;

    // PXFSAV.
    int16_t exec_main_rc = 0;
    std::vector<std::string> list_records;  // pxfsav.tmp
    int16_t reset_rc = 0;
    std::map<int, int16_t> check_rc;   // by save number; 0 when absent
    std::map<int, int16_t> delete_rc;  // the same
    int16_t check_flno_rc = 0;
    int16_t current = 0;               // the current saved-list number
    int16_t shamei_rc = 0;
    std::string save_file = "C:\\MST\\PXIF0001.SAV";

    // PXPNHO.
    std::vector<std::string> programs;  // EXPPPNHO entries, "" for an empty one
    std::string fsad_program;
    int16_t exec_intf_rc = 0;
};

PricesFakes& prices_fakes();
// Binds every entry of the prices area but PXALL's to its fake, with the
// fakes reset; unbind puts the real ones back.
void bind_prices_fakes(const Installation& inst);
void unbind_prices_fakes();

// A work-file record of the listing: running number, save number, VIN,
// frame, note, date, time.
std::string save_list_record(int run, int save_no, const std::string& vin, const std::string& frame,
                             const std::string& note, const std::string& date, const std::string& time);
// A save data file: header fields, the count field as written, then the parts.
std::string save_file_bytes(const std::string& count_field, const std::vector<std::string>& parts,
                            const std::string& note = "FRONT BRAKES");

}  // namespace pxtest
