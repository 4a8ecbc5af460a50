// The demo's illustration pages: BUINDE.DAT of each demo catalogue
// (pxall/buinde_layout.h), each page showing one of the demo illustrations
// (demo_images.h). A figure has
//   - one page for every vehicle (kind '0', every applicability bit set),
//     the index listing it twice for some figures (the reader keeps one);
//   - or two pages split by a production change: up to the middle of the
//     catalogue's period, drawing 0, and from the month after, drawing 1;
//   - and for some figures a further page per engine kind, a page completed
//     by a continuation record (kinds '1' and '2') whose applicability bits
//     name the catalogue's petrol or diesel frame models.
// The sub-illustrations are references drawn on the pictures (figure 1101
// refers to 1301 and 1501, 4301 to 4101); each is a demo figure with pages
// of its own, and every demo figure has its name in FIGM01.DAT already.
//
// Applicability bits of the demo: the rule of pxall/applicability.h over the
// catalogue's frame models (demo_data.h), the one the vehicle identification
// follows too. A page for every vehicle has every bit of every byte set.
#pragma once

#include <string>
#include <vector>

#include "pxbuild/demo_data.h"

namespace pxbuild::demo {

// BUINDE.DAT records (256 bytes each) of a catalogue, in key order.
std::vector<std::string> illustration_pages(const Catalog& cat);

// The 125 applicability bytes of a vehicle of the catalogue with this frame
// model (all zero for a frame model the catalogue does not list), for the
// current-vehicle block (pxall/blocks.h ccar::kApplicability).
std::string vehicle_applicability(const Catalog& cat, const std::string& frame_model);

}  // namespace pxbuild::demo
