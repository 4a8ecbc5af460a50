// Catalogue CDs as the catalogue set-up reads them from a disc, for two
// areas: a CD folder per disc with its volume label (area letter and
// directory character, then the 8-character issue), the data set's files
// at its root and one folder per catalogue. The set:
//
//   folder   label        CD code  what
//   E1       E120240601   A1       area E, first CD: car names of the whole
//                                  area (their CD numbers A1, A2, B1), two
//                                  catalogues
//   E2       E220240601   A2       one catalogue
//   E3       E320240501   B1       an older issue; its FRAMNO index levels
//                                  and two HINBAN index levels are missing
//   E2NEW    E220240901   A2       a newer issue of A2 (refused after E1 of
//                                  20240601)
//   U1       U120240301   A1       area U, one catalogue
//   EF       EF20240601   F1       world frame-number CD (FRKATA)
//
// Every CD carries its own figure index and illustration file (IMAGEF.DAT,
// bytes that name the CD), so a data set read from the wrong CD shows.
#pragma once

#include <string>
#include <vector>

namespace pxbuild {

struct SetupCd {
    std::string folder;  // folder name below the CD root folder
    std::string id;      // 2-character CD id of the label
    std::string issue;   // 8 characters
    std::string code;    // CD code the set-up chooses ("A1", "B1", "F1")
};

const std::vector<SetupCd>& setup_cds();

// Writes every CD of the set below `folder` (one sub-folder each). `scale`
// multiplies the vehicle and part records (1: a few blocks a file).
void write_setup_cds(const std::string& folder, int scale = 1);

// Writes one CD of the set (by folder name) into host_folder.
void write_setup_cd(const SetupCd& cd, const std::string& host_folder, int scale = 1);

}  // namespace pxbuild
