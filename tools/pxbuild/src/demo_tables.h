// The fixed tables of the demo content (figures, abbreviations, features).
#pragma once

#include <string>
#include <vector>

#include "pxbuild/demo_data.h"

namespace pxbuild::demo {

struct PartDef {
    const char* pnc;
    const char* name;
    int qty;
};

struct FigureDef {
    const char* no;
    const char* name;
    std::vector<PartDef> parts;
};

struct Abbreviation {
    const char* key;
    const char* lang;
    const char* meaning;
};

struct Symbol {
    const char* code;
    const char* text;
};

struct Feature {
    int code;
    const char* name;
    std::vector<Symbol> symbols;
};

const std::vector<FigureDef>& figures();
// Part-name codes whose part number is the same in every catalogue.
const std::vector<std::string>& common_part_codes();
const std::vector<Abbreviation>& abbreviations();
const std::vector<Feature>& features();

}  // namespace pxbuild::demo
