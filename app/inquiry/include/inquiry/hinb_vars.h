// What the part-number search screen Hinb and its part-name pick list Slpn
// share (they live as long as the program): the part-name code and name of
// the current search, the paths of the library's work files, the tables read
// from them and the pick list's outcome. The resting message and the records
// on display are the inquiry screens' shared values (popup_vars.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace px {

struct HinbVars {
    std::string HinbPnc = std::string(6, ' ');
    std::string HinbPartName = std::string(60, ' ');
    std::string HinbTmp0Path, HinbTmp1Path;
    std::vector<std::string> HinbListTable;  // PXHINB1.TMP, 158-byte records
    std::vector<std::string> HinbNameTable;  // PXHINB0.TMP, 66-byte records
    int16_t HinbNoPick = 0;                  // 1 when a name search ended without a pick
    int16_t HinbPickStatus = 0;              // 0 normal, 1 left with F3, 2 not loaded
};
HinbVars& hinb_vars();

}  // namespace px
