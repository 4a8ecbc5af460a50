// Demo saved lists for the data-set builder: a save master and the save data
// files of its used entries, written from the layout constants alone.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace pxdemo {

struct DemoSavedList {
    int save_no;              // 1-9999
    unsigned char state;      // 1 used, 'U' in use, 'D' deleted (no data file)
    std::string date;         // DDMMYY
    std::string time;         // HHMMSS
    // Vehicle header fields, cut or blank-padded to their widths.
    std::string vin;          // first 10 characters, empty for none
    std::string vehicle;      // 15
    std::string catalog;      // 6
    std::string prod_date;    // 6
    std::string frame_model;  // 7
    std::string frame_no;     // 7
    std::string color;        // 3
    std::string trim;         // 4
    std::string notes;        // 30
    int number = 0;           // bytes 96-98
    std::vector<std::pair<std::string, std::string>> parts;  // part number (12), quantity "01".."99"
};

// A few believable lists of demo vehicles: two kept (one vehicle
// identified by VIN, one by frame number, both with a production date), one
// deleted.
std::vector<DemoSavedList> default_demo_saved_lists();

// Writes PXIFSMST.SAV and a PXIFnnnn.SAV for every list that is not deleted
// into master_dir_host (a host folder that exists). The master's count is the
// number of lists kept; its next number follows the highest one. Throws
// std::runtime_error when a file cannot be written.
void write_demo_saved_lists(const std::string& master_dir_host, const std::vector<DemoSavedList>& lists);
void write_demo_saved_lists(const std::string& master_dir_host);

}  // namespace pxdemo
