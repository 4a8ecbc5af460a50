#include "demo_savefiles.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "pxall/savefile_layout.h"

namespace pxdemo {

namespace sv = pxall::savefile;

namespace {

void put_u16(std::string& b, size_t at, int v) {
    b[at] = static_cast<char>(v & 0xff);
    b[at + 1] = static_cast<char>((v >> 8) & 0xff);
}

// Blank-padded, cut to the field's width.
void put_text(std::string& b, size_t at, size_t width, const std::string& s) {
    for (size_t i = 0; i < width; ++i) b[at + i] = i < s.size() ? s[i] : ' ';
}

void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string data_file(const DemoSavedList& l) {
    std::string h(sv::kDatHeaderSize, ' ');
    put_text(h, sv::kDatVin, sv::kDatVinSize, l.vin);
    if (!l.vin.empty() && !l.frame_no.empty()) put_text(h, sv::kDatVinFrame, sv::kDatVinFrameSize, l.frame_no);
    put_text(h, sv::kDatVehicle, sv::kDatVehicleSize, l.vehicle);
    put_text(h, sv::kDatCatalog, sv::kDatCatalogSize, l.catalog);
    put_text(h, sv::kDatProdDate, sv::kDatProdDateSize, l.prod_date);
    put_text(h, sv::kDatFrameModel, sv::kDatFrameModelSize, l.frame_model);
    h[sv::kDatDash] = '-';
    put_text(h, sv::kDatFrameNo, sv::kDatFrameNoSize, l.frame_no);
    put_text(h, sv::kDatColor, sv::kDatColorSize, l.color);
    put_text(h, sv::kDatTrim, sv::kDatTrimSize, l.trim);
    put_text(h, sv::kDatNotes, sv::kDatNotesSize, l.notes);
    char num[8];
    std::snprintf(num, sizeof num, "%03d", l.number % 1000);
    put_text(h, sv::kDatNumber, sv::kDatNumberSize, num);
    for (const auto& [part, qty] : l.parts) {
        std::string rec(sv::kPartRecordSize, ' ');
        put_text(rec, sv::kPartNo, sv::kPartNoSize, part);
        put_text(rec, sv::kPartQty, sv::kPartQtySize, qty);
        h += rec;
    }
    return h;
}

}  // namespace

std::vector<DemoSavedList> default_demo_saved_lists() {
    // Vehicles of the demo's catalogues as the parts list saves them (VIN
    // prefix and serial, model code, catalogue, production date, frame),
    // with parts in force at their production dates. Bytes 96-98 hold the
    // number of part records.
    std::vector<DemoSavedList> v;
    // Identified by VIN: an Arvena sedan 1.6 GL, 6-speed, UK, made in November 2018.
    v.push_back({1, sv::kStateUsed, "140324", "093512", "PX2AVS2630", "AVS16P1GL  6MUK", "4410A1", "201811", "AVS16P1",
                 "A200456", "040", "FB20", "Oil pump and sump", 4,
                 {{"15100AA43002", "01"}, {"12101AA77402", "01"}, {"90341AA74202", "01"}, {"15601YZ001A1", "01"}}});
    v.push_back({2, sv::kStateDeleted, "150324", "101000", "", "", "4410A1", "", "", "", "", "", "", 0, {}});
    // Identified by frame number: an Arvena estate 1.9 diesel GLX, made in May 2021.
    v.push_back({3, sv::kStateUsed, "020424", "161845", "", "AVW19D1GLX 5MEU", "4420B1", "202105", "AVW19D1", "B612345",
                 "1G3", "EA10", "Brake service, front axle", 4,
                 {{"04465YZ001A1", "01"}, {"43512AB77602", "02"}, {"47730AB73802", "02"}, {"90947AB55002", "02"}}});
    return v;
}

void write_demo_saved_lists(const std::string& master_dir_host, const std::vector<DemoSavedList>& lists) {
    int highest = 0;
    int kept = 0;
    for (const auto& l : lists) {
        if (l.save_no < 1 || l.save_no > sv::kMaxSaveNo) throw std::runtime_error("save number out of range");
        highest = std::max(highest, l.save_no);
        if (l.state == sv::kStateUsed || l.state == sv::kStateInUse) ++kept;
    }
    // The header and entries up to the highest number (at least one record).
    std::string mst(sv::entry_offset(std::max(highest, 1) + 1), '\0');
    put_u16(mst, sv::kHdrCount, kept);
    put_u16(mst, sv::kHdrNext, highest >= sv::kMaxSaveNo ? 1 : highest + 1);
    for (const auto& l : lists) {
        size_t at = sv::entry_offset(l.save_no);
        mst[at + sv::kEntState] = static_cast<char>(l.state);
        put_text(mst, at + sv::kEntDate, sv::kEntDateSize, l.date);
        put_text(mst, at + sv::kEntTime, sv::kEntTimeSize, l.time);
    }
    std::string dir = master_dir_host;
    if (!dir.empty() && dir.back() != '/') dir.push_back('/');
    write_file(dir + sv::kMasterName, mst);
    for (const auto& l : lists) {
        if (l.state == sv::kStateDeleted) continue;
        char name[16];
        std::snprintf(name, sizeof name, "%s%04d%s", sv::kDataPrefix, l.save_no, sv::kDataSuffix);
        write_file(dir + name, data_file(l));
    }
}

void write_demo_saved_lists(const std::string& master_dir_host) {
    write_demo_saved_lists(master_dir_host, default_demo_saved_lists());
}

}  // namespace pxdemo
