#include "pxbuild/demo_parts.h"

#include <filesystem>
#include <set>

#include "pxall/part_records.h"
#include "pxbuild/cd_writer.h"
#include "pxbuild/demo_data.h"
#include "pxbuild/keyed_writer.h"

namespace fs = std::filesystem;

namespace pxbuild {

namespace {

namespace hr = pxall::hinban_rec;
namespace fr = pxall::figind_rec;

uint32_t fnv(const std::string& s) {
    uint32_t h = 2166136261u;
    for (unsigned char c : s) h = (h ^ c) * 16777619u;
    return h;
}

// The withdrawn twin of a part number: its last two characters "00".
std::string withdrawn_twin(const std::string& part_no) { return part_no.substr(0, 10) + "00"; }

bool withdraws(const std::string& pnc) { return fnv(pnc + "OLD") % 7 == 0; }

std::string part_of(const std::string& rec, size_t at) { return rec.substr(at, 12); }

// The figure index of the earlier issue: the parts it held, and the
// withdrawn ones of the code's first part number.
std::vector<std::string> earlier_figind(const std::vector<std::string>& now, EarlierIssueSummary* sum) {
    std::vector<std::string> out;
    std::set<std::string> twins;
    for (const auto& r : now) {
        std::string part = part_of(r, fr::kPart);
        if (demo::added_later(part)) {
            sum->added_later++;
            continue;
        }
        out.push_back(r);
        std::string pnc = r.substr(fr::kPnc, pxall::kPncSize);
        std::string twin = r.substr(0, fr::kPart) + withdrawn_twin(part) + r.substr(fr::kPnc);
        if (withdraws(pnc) && part.substr(10) != "00" && twins.insert(twin.substr(0, fr::kKeySize)).second) {
            out.push_back(twin);
            sum->withdrawn++;
        }
    }
    sum->parts = static_cast<int>(out.size());
    return out;
}

// The part records of the earlier issue: a part added later goes with the
// records after it; a withdrawn part gets the first record of its twin.
std::vector<std::string> earlier_hinban(const std::vector<std::string>& now) {
    std::vector<std::string> out;
    bool skipping = false;
    std::set<std::string> twins;
    for (const auto& r : now) {
        if (r[hr::kKind] == hr::kKindPart) {
            std::string part = part_of(r, hr::kPart);
            skipping = demo::added_later(part);
            std::string pnc = r.substr(hr::kPnc, pxall::kPncSize);
            if (!skipping && withdraws(pnc) && part.substr(10) != "00" && twins.insert(withdrawn_twin(part)).second) {
                std::string twin = r;
                twin.replace(hr::kPart, 12, withdrawn_twin(part));
                out.push_back(twin);
            }
        }
        if (!skipping) out.push_back(r);
    }
    return out;
}

}  // namespace

namespace demo {

bool added_later(const std::string& part_no) {
    return part_no.compare(0, 3, "909") == 0 || fnv(part_no) % 5 == 0;
}

const std::vector<InquiryText>& part_inquiry_messages() {
    static const std::vector<InquiryText> k = {
        {105, "Press a function key to go on."},
        {125, "Enter a part name or a part-name code and press F10."},
        {140, "Choose the catalogue CDs to search."},
        {818, "More than 300 parts are listed. "},
        {818, "Go on listing (OK) or stop here (Cancel)?"},
        {828, "The CD of this catalogue is not set up."},
        {860, "The entry is not accepted."},
        {865, "Nothing was found."},
        {867, "The part-name code is wrong or not found."},
        {872, "The catalogue has no new part number."},
        {873, "The earlier CD does not hold this catalogue."},
        {874, "The CD does not hold the figure index of this catalogue."},
    };
    return k;
}

const std::vector<InquiryText>& part_inquiry_screen_texts() {
    static const std::vector<InquiryText> k = {
        {125, "AVAILABLE"},
        {2710, "*** NOT FOUND ***"},
    };
    return k;
}

}  // namespace demo

EarlierIssueSummary write_demo_earlier_issue(const std::string& folder) {
    EarlierIssueSummary sum;
    CdWriter w((fs::path(folder) / "cd" / kEarlierIssueFolder).string(), kEarlierIssueId, kEarlierIssueDate);
    demo::RootFiles r = demo::root_files(kEarlierIssueId);
    w.put_keyed("", "SHAMEI.DAT", build_keyed("SHAMEI.DAT", r.shamei));
    w.put_jouhou(build_jouhou(r.jouhou));
    w.put_keyed("", "FRAMNO.DAT", build_keyed("FRAMNO.DAT", r.framno));
    w.put_keyed("", "RYAKUG.DAT", build_keyed("RYAKUG.DAT", r.ryakug));
    w.put_keyed("", "FIGM01.DAT", build_keyed("FIGM01.DAT", r.figm01));
    w.put_keyed("", "HINM01.DAT", build_keyed("HINM01.DAT", r.hinm01));
    w.put_keyed("", "FIGIND.DAT", build_keyed("FIGIND.DAT", earlier_figind(r.figind, &sum)));
    w.put("", "IMAGEF.DAT", Bytes(2048, 0));
    w.put("", "KATARG.DAT", build_plain(253, r.katarg));
    for (const auto& cat : demo::catalogs()) {
        if (cat.cd_id != kEarlierIssueId) continue;
        demo::CatalogFiles f = demo::catalog_files(cat);
        w.put_keyed(cat.code, "EMINDE.DAT", build_keyed("EMINDE.DAT", f.eminde));
        w.put_keyed(cat.code, "HCODEH.DAT", build_keyed("HCODEH.DAT", f.hcodeh));
        w.put_keyed(cat.code, "BUINDE.DAT", build_keyed("BUINDE.DAT", f.buinde));
        w.put_keyed(cat.code, "HINBAN.DAT", build_keyed("HINBAN.DAT", earlier_hinban(f.hinban)));
        w.put_keyed(cat.code, "KIRIKA.DAT", build_keyed("KIRIKA.DAT", f.kirika));
        sum.catalogs++;
    }
    return sum;
}

}  // namespace pxbuild
