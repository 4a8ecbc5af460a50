// The demo's sectional illustrations: for every demo figure an exploded
// drawing of its parts along a centre line, each part with a callout line to
// its reference code (the part-name code), and a text placement record over
// every code, so that a click on the code picks the part. Some figures also
// carry a boxed reference to another figure, a sub-illustration (attribute
// '1', text the 4-digit figure number).
//
// Each figure has two variants: 0 as drawn, 1 the page after a production
// change (a part drawn altered, the title marked). The same pictures are on
// every demo CD; deterministic, the same build always gives the same bytes.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "pxbuild/cd_writer.h"
#include "pxbuild/image_writer.h"

namespace pxbuild::demo {

constexpr int kIllustrationWidth = 1600;
constexpr int kIllustrationHeight = 1120;

struct Illustration {
    Picture picture;
    std::vector<ImageText> texts;
};

// The drawing of a demo figure ("1101"); throws BuildError for a figure the
// demo does not have.
Illustration illustration(const std::string& figure_no, int variant = 0);

// The figures each figure refers to as sub-illustrations.
const std::map<std::string, std::vector<std::string>>& sub_illustrations();

struct DemoImageFile {
    Bytes data;                                    // IMAGEF.DAT
    std::map<std::string, std::string> locators;   // figure number + variant digit ("11010") -> locator
    // The 9-digit locator of a figure's page; throws BuildError when absent.
    const std::string& locator(const std::string& figure_no, int variant = 0) const;
};

// IMAGEF.DAT with every demo figure in both variants, coded with libtiff
// (Group 4, every fourth figure Group 3 two-dimensional). Built once.
const DemoImageFile& demo_image_file();

}  // namespace pxbuild::demo

namespace pxbuild {

// Writes the demo's IMAGEF.DAT at the root of a CD (replacing the file).
void write_demo_images(const CdWriter& cd);

}  // namespace pxbuild
