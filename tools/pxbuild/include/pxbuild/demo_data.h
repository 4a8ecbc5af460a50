// The demo's catalogue content: a small make with five catalogues on two CDs
// of area E, their models, frame models, vehicles, figures and parts, laid out
// as the records of each catalogue file. Deterministic: the same build always
// gives the same bytes.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace pxbuild::demo {

struct Catalog {
    std::string code;      // 6 characters, e.g. "4410A1"
    std::string car_name;  // at most 20
    std::string description;
    std::string date_from, date_to;  // YYMM
    std::string cd_id;     // "E1" or "E2"
    std::string cd_no;     // CD code: "A1" or "A2"
    std::vector<std::string> frame_models;  // 7 characters each
    std::string wmi;       // 3-character maker code of its VINs
    int variants;          // part numbers per part-name code
};

// Records of the data-set files of one CD (at its root).
struct RootFiles {
    std::vector<std::string> shamei, jouhou, framno, ryakug, figm01, hinm01, figind, katarg;
};

// Records of one catalogue's directory.
struct CatalogFiles {
    std::vector<std::string> eminde, hcodeh, buinde, hinban, kirika, tokume, kigouu;
};

const std::vector<Catalog>& catalogs();

// The root files of a CD: car names and abbreviations of the whole area, the
// vehicles, frame numbers, figure names, part names and figure index of the
// CD's own catalogues.
RootFiles root_files(const std::string& cd_id);
CatalogFiles catalog_files(const Catalog& cat);

// Every part number of every catalogue with its part name (for the prices).
std::map<std::string, std::string> all_part_numbers();

// Frame-model records (FRKATA.DAT, 2048 bytes each) of every frame model,
// sorted by key.
std::vector<std::string> frkata();

}  // namespace pxbuild::demo
