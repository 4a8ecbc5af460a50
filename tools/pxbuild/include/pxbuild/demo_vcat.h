// Car-name records (SHAMEI.DAT, 97 bytes, keyed by the catalogue code at
// 23) as the catalogue CDs carry them, one per catalogue:
//     0   3  record prefix ("001")      3  20  car name
//    23   6  catalogue code             29  50  description
//    79   4  production date from YYMM  83   4  production date to YYMM
//    87   2  CD number of the catalogue 89   3  blank
//    92   4  a field the catalogue list carries unchanged ("LHD")
//    96   1  brand flag
#pragma once

#include <string>

namespace pxbuild {

struct CarName {
    std::string code;         // 6 characters
    std::string car_name;     // at most 20
    std::string description;  // at most 50
    std::string date_from = "0001";
    std::string date_to = "9912";
    std::string cd_no = "01";
    std::string field = "LHD";
    std::string brand = "1";
    std::string prefix = "001";
};

std::string car_name_record(const CarName& c);

}  // namespace pxbuild
