#include "support/parts_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/drives.h"
#include "pxall/blocks.h"
#include "pxall/env.h"
#include "pxall/part_records.h"
#include "pxall/texts.h"
#include "pxbuild/demo_install.h"
#include "pxbuild/demo_parts.h"
#include "pxbuild/bytes.h"
#include "pxbuild/keyed_writer.h"

namespace fs = std::filesystem;

namespace pxtest {

using namespace pxall;
using pxbuild::Record;

std::vector<std::string> hinban_records(const TestCatalog& cat) {
    namespace hr = hinban_rec;
    std::vector<std::string> out;
    for (const TestPart& p : cat.parts) {
        out.push_back(Record(hr::kSize)
                          .text(hr::kCatalog, kCatalogSize, cat.code)
                          .text(hr::kPnc, kPncSize, p.pnc)
                          .text(hr::kPart, 12, p.part)
                          .text(hr::kQty, kQtySize, p.qty)
                          .text(hr::kFrom, kDateSize, p.from)
                          .text(hr::kTo, kDateSize, p.to)
                          .text(hr::kKind, 1, "1")
                          .text(hr::kRemarks, hr::kRemarksSize, p.remarks));
        if (!p.alts.empty()) {
            Record alt(hr::kSize);
            alt.text(hr::kCatalog, kCatalogSize, cat.code).text(hr::kPnc, kPncSize, p.pnc).text(hr::kKind, 1, "3");
            for (size_t i = 0; i < p.alts.size() && i < 4; ++i)
                alt.text(hr::kSlots + i * hr::kSlotSize, hr::kSlotSize, p.alts[i]);
            out.push_back(alt);
        }
        for (const std::string& m : p.more)
            out.push_back(Record(hr::kSize)
                              .text(hr::kCatalog, kCatalogSize, cat.code)
                              .text(hr::kPnc, kPncSize, p.pnc)
                              .text(hr::kKind, 1, "4")
                              .text(hr::kMore, hr::kMoreSize, m));
    }
    return out;
}

std::string shamei_record(const TestCatalog& cat) {
    namespace sr = shamei_rec;
    return Record(sr::kSize)
        .text(0, 3, "001")
        .text(sr::kCarName, sr::kCarNameSize, cat.car_name)
        .text(sr::kCatalog, kCatalogSize, cat.code)
        .text(sr::kFrom, kDateSize, cat.from)
        .text(sr::kTo, kDateSize, cat.to)
        .text(sr::kCdNo, 2, cat.cd_no);
}

std::vector<std::string> figind_records(const TestCatalog& cat) {
    namespace fr = figind_rec;
    std::vector<std::string> out;
    for (const TestPart& p : cat.parts)
        out.push_back(Record(fr::kSize)
                          .text(fr::kCatalog, kCatalogSize, cat.code)
                          .text(fr::kPart, 12, p.part)
                          .text(fr::kPnc, kPncSize, p.pnc)
                          .text(fr::kFigure, 4, p.fig));
    return out;
}

std::string hinmei_record(const std::string& pnc, const std::string& name) {
    namespace hm = hinmei_rec;
    return Record(hm::kSize).text(hm::kPnc, kPncSize, pnc).text(hm::kName, hm::kNameSize, name);
}

void write_parts_cd(KeyedEnv& k, const std::string& folder, const std::string& id, const std::string& date,
                    const std::vector<TestCatalog>& own, const std::vector<TestCatalog>& area,
                    const TestNames& names, const std::vector<TestCatalog>* indexed) {
    pxbuild::CdWriter cd((fs::path(k.env().root()) / "cd" / folder).string(), id, date);
    std::vector<std::string> shamei, figind, hinmei;
    for (const auto& c : area) shamei.push_back(shamei_record(c));
    for (const auto& c : indexed != nullptr ? *indexed : own)
        for (auto& r : figind_records(c)) figind.push_back(r);
    for (const auto& [code, name] : names) hinmei.push_back(hinmei_record(code, name));
    if (!shamei.empty()) cd.put_keyed("", "SHAMEI.DAT", pxbuild::build_keyed("SHAMEI.DAT", shamei));
    if (!figind.empty()) cd.put_keyed("", "FIGIND.DAT", pxbuild::build_keyed("FIGIND.DAT", figind));
    if (!hinmei.empty()) cd.put_keyed("", "HINM01.DAT", pxbuild::build_keyed("HINM01.DAT", hinmei));
    cd.put("", "IMAGEF.DAT", pxbuild::Bytes(2048, 0));
    for (const auto& c : own)
        if (!c.parts.empty()) cd.put_keyed(c.code, "HINBAN.DAT", pxbuild::build_keyed("HINBAN.DAT", hinban_records(c)));
}

std::string open_demo(KeyedEnv& k) {
    std::string folder = k.env().root() + "/demo";
    pxbuild::write_demo(folder);
    std::string prog = folder + "/c/PXDROM";
    std::string error;
    if (!plat::load_drive_table(prog + "/PXDRIVES.SYS", &error)) {
        ADD_FAILURE() << error;
        return "";
    }
    fs::current_path(prog);
    if (kankyo_set() != 0 || set_msg() != 0 || set_scr() != 0) {
        ADD_FAILURE() << "the demo's environment does not open";
        return "";
    }
    return folder;
}

}  // namespace pxtest
