// The demo's illustration index: for each figure group pages whose detail
// picture shows areas of the vehicle, each a box with the figure labels of
// its figures beside it (placed so that the index library links them to the
// box), and an overall picture of the vehicle with the areas boxed on it.
// Group 1 engine and fuel, 2 power train and chassis, 3 body, 4 electrical
// and climate; groups 1 and 2 have two pages each, whose second page has no
// overall record and shows the first page's overall picture. Every picture
// is 640 x 352 pixels, the part of a picture the index screen shows, so
// that every area and label can be picked on the screen.
//
// The pictures follow the figures' illustrations in IMAGEF.DAT; the records
// go into each catalogue's EMINDE.DAT (pxall/index_layout.h).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "pxbuild/cd_writer.h"
#include "pxbuild/image_writer.h"

namespace pxbuild::demo {

struct IndexArea {
    std::string code;                  // 2 characters
    std::string name;
    std::vector<std::string> figures;  // at most two, as an area selects
};

struct IndexPage {
    char group;  // '1'-'4'
    std::vector<IndexArea> areas;
};

// The index pages, in EMINDE order.
const std::vector<IndexPage>& index_pages();

struct IndexPictures {
    Bytes images;  // whole blocks, to stand at first_block of IMAGEF.DAT
    std::map<std::string, std::vector<std::string>> eminde;  // catalogue code -> EMINDE.DAT records
};

// The index pictures of every demo catalogue (the overall picture drawn in
// the catalogue's body style), placed from block first_block of IMAGEF.DAT.
// Deterministic.
IndexPictures index_pictures(int32_t first_block);

// A detail picture and an overall picture of the index (for tests).
Picture index_detail_picture(const IndexPage& page, std::vector<ImageText>* texts);
Picture index_overall_picture(char group, int body_style, std::vector<ImageText>* texts);

}  // namespace pxbuild::demo

namespace pxbuild {

// Writes IMAGEF.DAT at the CD's root (the figures' illustrations, then the
// index pictures) and EMINDE.DAT of each demo catalogue on the CD, replacing
// both. Call after the catalogue files are written, before installing.
void write_demo_index(const CdWriter& cd, const std::string& cd_id);

}  // namespace pxbuild
