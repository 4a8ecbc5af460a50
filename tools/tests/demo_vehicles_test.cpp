// The demo's vehicles as the screens show them: the captions over the
// characteristics name what the vehicles carry there, and the saved lists
// hold vehicles of the demo (by VIN, by frame number) with production dates
// that pick one part number of several, and parts of their catalogues.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "demo_savefiles.h"
#include "demo_texts.h"
#include "pxbuild/demo_data.h"
#include "pxbuild/demo_vehicle_info.h"

namespace {

namespace demo = pxbuild::demo;

std::string screen_text(int no) {
    for (const demo::AreaTexts* a : demo::area_texts())
        for (const demo::Text& t : a->screen_texts)
            if (t.no == no) return t.text;
    return {};
}

std::string trimmed(const std::string& s) { return s.substr(0, s.find_last_not_of(' ') + 1); }

const demo::Catalog* catalog(const std::string& code) {
    for (const auto& c : demo::catalogs())
        if (c.code == code) return &c;
    return nullptr;
}

// "202105" against a validity "2004".."2201" ("9999" open).
bool in_force(const std::string& yyyymm, const std::string& from, const std::string& to) {
    const std::string d = yyyymm.substr(2, 4);
    return from <= d && (to == "9999" || d <= to);
}

TEST(DemoVehicles, CharacteristicCaptionsNameWhatTheVehiclesCarry) {
    // The features of a catalogue, by code: what the vehicle's first
    // characteristics hold, in that order.
    std::map<int, std::string> feature;
    for (const std::string& r : demo::feature_files(demo::catalogs().front()).tokume)
        if (r.compare(8, 2, "01") == 0)
            feature[static_cast<unsigned char>(r[6]) | static_cast<unsigned char>(r[7]) << 8] = trimmed(r.substr(10, 20));
    ASSERT_EQ(feature.size(), 4u);
    for (int first : {310, 1107})
        for (int k = 0; k < 4; ++k) {
            std::string caption = screen_text(first + k);
            SCOPED_TRACE(std::to_string(first + k) + " " + caption);
            ASSERT_FALSE(caption.empty());
            if (caption.back() == '.') caption.pop_back();  // an abbreviation
            std::transform(caption.begin(), caption.end(), caption.begin(), [](unsigned char c) { return std::toupper(c); });
            EXPECT_EQ(feature[k + 1].compare(0, caption.size(), caption), 0) << feature[k + 1];
        }
}

TEST(DemoVehicles, SavedListsHoldDemoVehiclesWithDatesThatPickTheirParts) {
    int by_vin = 0, by_frame = 0;
    for (const pxdemo::DemoSavedList& l : pxdemo::default_demo_saved_lists()) {
        if (l.parts.empty()) continue;  // a deleted list
        SCOPED_TRACE(l.save_no);
        const demo::Catalog* cat = catalog(l.catalog);
        ASSERT_NE(cat, nullptr) << "the demo has no catalogue " << l.catalog;
        ASSERT_EQ(l.prod_date.size(), 6u);
        (l.vin.empty() ? by_frame : by_vin)++;

        // The vehicle: its model in the catalogue, made at that date, with
        // that VIN; its frame number in a range of its frame model.
        const demo::VehicleFiles v = demo::vehicle_files(cat->cd_id);
        bool vehicle = false;
        for (const std::string& r : v.jouhou) {
            if (r.compare(0, 6, l.catalog) != 0 || trimmed(r.substr(15, 15)) != trimmed(l.vehicle)) continue;
            if (!l.vin.empty() && r.compare(6, 9, l.vin, 0, 9) != 0) continue;
            const std::string to = trimmed(r.substr(34, 4));
            if (in_force(l.prod_date, r.substr(30, 4), to.empty() ? "9999" : to)) vehicle = true;
        }
        EXPECT_TRUE(vehicle) << "no vehicle " << l.vehicle << " made " << l.prod_date;
        bool frame = false;
        for (const std::string& r : v.framno)
            if (r.compare(0, 6, l.catalog) == 0 && r.compare(6, 7, l.frame_model) == 0 && r.substr(13, 7) <= l.frame_no &&
                l.frame_no <= r.substr(20, 7))
                frame = true;
        EXPECT_TRUE(frame) << "no frame range holds " << l.frame_model << "-" << l.frame_no;

        // Each part is a part of the catalogue in force at the date; where
        // its part-name code has several part numbers, the date leaves it
        // the only one, so the parts list narrowed by date shows fewer.
        const auto hinban = demo::catalog_files(*cat).hinban;
        int narrowed = 0;
        for (const auto& [part, qty] : l.parts) {
            SCOPED_TRACE(part);
            auto it = std::find_if(hinban.begin(), hinban.end(),
                                   [&](const std::string& r) { return r[34] == '1' && r.compare(12, 12, part) == 0; });
            ASSERT_NE(it, hinban.end()) << "not a part of " << l.catalog;
            EXPECT_TRUE(in_force(l.prod_date, it->substr(26, 4), it->substr(30, 4)));
            int variants = 0, in_date = 0;
            for (const std::string& r : hinban)
                if (r[34] == '1' && r.compare(6, 6, *it, 6, 6) == 0) {
                    ++variants;
                    in_date += in_force(l.prod_date, r.substr(26, 4), r.substr(30, 4)) ? 1 : 0;
                }
            EXPECT_EQ(in_date, 1);
            if (variants > 1) ++narrowed;
        }
        EXPECT_GT(narrowed, 0) << "the date narrows none of its parts";
    }
    EXPECT_GT(by_vin, 0);
    EXPECT_GT(by_frame, 0);
}

}  // namespace
