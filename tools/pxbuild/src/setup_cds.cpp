#include "pxbuild/setup_cds.h"

#include <cstdio>
#include <filesystem>

#include "pxall/keyed_layout.h"
#include "pxbuild/cd_writer.h"
#include "pxbuild/keyed_writer.h"

namespace fs = std::filesystem;
namespace kl = pxall::keyed;

namespace pxbuild {

namespace {

struct SetupCatalog {
    const char* code;  // 6 characters: the catalogue's folder
    const char* area;  // area letter
    const char* cd_no; // CD number of the car-name record
};

constexpr SetupCatalog kCatalogs[] = {
    {"E1000A", "E", "A1"}, {"E1001A", "E", "A1"}, {"E2000A", "E", "A2"},
    {"E3000A", "E", "B1"}, {"U1000A", "U", "A1"},
};

const kl::FileDesc& desc(const char* data_name, int key_set = 1) { return kl::file_table()[find_row(data_name, key_set)]; }

// A record of the file's length, filled with `fill`, the key at its offset.
std::string record(const kl::FileDesc& d, const std::string& key, char fill) {
    std::string r(static_cast<size_t>(d.rec_len), fill);
    r.replace(static_cast<size_t>(d.key_off), key.size(), key);
    return r;
}

// Key n of a length: a tag, four digits, a fixed sixth character (which
// the figure files leave out of their index key), then letters.
std::string key(int len, int n, char tag) {
    char buf[32];
    if (len < 6) {
        std::snprintf(buf, sizeof buf, "%0*d", len, n);
        return buf;
    }
    std::snprintf(buf, sizeof buf, "%c%04dX", tag, n);
    return std::string(buf) + std::string(static_cast<size_t>(len - 6), 'A');
}

KeyedImage simple(const char* name, int count, char tag, char fill) {
    const kl::FileDesc& d = desc(name);
    std::vector<std::string> recs;
    for (int n = 1; n <= count; ++n) recs.push_back(record(d, key(d.key_len, n, tag), fill));
    return build_keyed(name, recs);
}

std::string cd_tag(const SetupCd& cd) { return cd.id + cd.issue; }

void write_catalogue_cd(const CdWriter& w, const SetupCd& cd, int scale) {
    const char area = cd.id[0];
    const char fill = static_cast<char>('a' + (cd.id[1] - '0') % 26);

    // Car names of the whole area, each with the CD number of its catalogue.
    const kl::FileDesc& sh = desc("SHAMEI.DAT");
    std::vector<std::string> shamei;
    for (const auto& c : kCatalogs) {
        if (c.area[0] != area) continue;
        std::string r = record(sh, c.code, ' ');
        r.replace(3, 20, std::string("CAR ") + c.code + std::string(10, ' '));
        r.replace(87, 2, c.cd_no);
        shamei.push_back(r);
    }
    w.put_keyed("", "SHAMEI.DAT", build_keyed("SHAMEI.DAT", shamei));

    // Vehicles under their three key sets.
    std::vector<std::string> jouhou;
    const kl::FileDesc& jo = desc("JOUHOU.DAT");
    for (int n = 1; n <= 40 * scale; ++n) {
        std::string r = record(jo, key(6, n, area), fill);
        char s[16], k[24];
        std::snprintf(s, sizeof s, "S%08d", 100000 - n);
        std::snprintf(k, sizeof k, "K%014d", (n * 7) % 53);
        r.replace(6, 9, s);
        r.replace(15, 15, k);
        jouhou.push_back(r);
    }
    w.put_jouhou(build_jouhou(jouhou));

    KeyedImage framno = simple("FRAMNO.DAT", 30 * scale, area, fill);
    w.put("", "FRAMNO.DAT", framno.data);
    if (cd.code != "B1") w.put_keyed("", "FRAMNO.DAT", framno);  // B1 lacks the index levels
    w.put_keyed("", "RYAKUG.DAT", simple("RYAKUG.DAT", 25 * scale, area, fill));
    w.put_keyed("", "FIGM01.DAT", simple("FIGM01.DAT", 60 * scale, area, fill));
    w.put_keyed("", "HINM01.DAT", simple("HINM01.DAT", 60 * scale, area, fill));
    w.put_keyed("", "FIGM03.DAT", simple("FIGM03.DAT", 10, area, 'f'));  // another language
    w.put_keyed("", "FIGIND.DAT", simple("FIGIND.DAT", 50 * scale, area, fill));
    // The illustrations of this CD: bytes that name it.
    std::string pictures;
    for (int i = 0; i < 3000 * scale; ++i) pictures += cd_tag(cd);
    w.put("", "IMAGEF.DAT", Bytes(pictures.begin(), pictures.end()));

    for (const auto& c : kCatalogs) {
        if (c.area[0] != area || cd.code != c.cd_no) continue;
        const char tag = c.code[1];
        w.put_keyed(c.code, "EMINDE.DAT", simple("EMINDE.DAT", 20 * scale, tag, fill));
        w.put_keyed(c.code, "HCODEH.DAT", simple("HCODEH.DAT", 30 * scale, tag, fill));
        w.put_keyed(c.code, "BUINDE.DAT", simple("BUINDE.DAT", 12 * scale, tag, fill));
        KeyedImage hinban = simple("HINBAN.DAT", 40 * scale, tag, fill);
        if (cd.code == "B1") hinban.levels.resize(1);  // only its first index level
        w.put_keyed(c.code, "HINBAN.DAT", hinban);
        w.put_keyed(c.code, "KIRIKA.DAT", simple("KIRIKA.DAT", 20 * scale, tag, fill));
        std::vector<std::string> tok(15 * scale, std::string(30, fill)), kig(8 * scale, std::string(90, fill));
        w.put(c.code, "TOKUME.DAT", build_plain(30, tok));
        w.put(c.code, "KIGOUU.DAT", build_plain(90, kig));
    }
}

void write_frame_cd(const CdWriter& w, int scale) {
    const kl::FileDesc& d = desc("FRKATA.DAT");
    std::vector<std::string> recs;
    for (int n = 1; n <= 6 * scale; ++n) recs.push_back(record(d, key(d.key_len, n, 'F'), 'r'));
    w.put_keyed("", "FRKATA.DAT", build_keyed("FRKATA.DAT", recs));
}

}  // namespace

const std::vector<SetupCd>& setup_cds() {
    static const std::vector<SetupCd> cds = {
        {"E1", "E1", "20240601", "A1"},    {"E2", "E2", "20240601", "A2"}, {"E3", "E3", "20240501", "B1"},
        {"E2NEW", "E2", "20240901", "A2"}, {"U1", "U1", "20240301", "A1"}, {"EF", "EF", "20240601", "F1"},
    };
    return cds;
}

void write_setup_cd(const SetupCd& cd, const std::string& host_folder, int scale) {
    CdWriter w(host_folder, cd.id, cd.issue);
    if (cd.id[1] == 'F')
        write_frame_cd(w, scale);
    else
        write_catalogue_cd(w, cd, scale);
}

void write_setup_cds(const std::string& folder, int scale) {
    for (const SetupCd& cd : setup_cds()) write_setup_cd(cd, (fs::path(folder) / cd.folder).string(), scale);
}

}  // namespace pxbuild
