// store_fuzz_seeds <target> <dir>: the seed corpus of one stored-file fuzz
// target, written by the data-set builder: the demo installation's files of
// that kind (the work files, which the demo has none of, are put together
// from their layouts with the demo's values), each framed as the target
// reads its input (fuzz_input.h), plus truncations of every seed.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "pxall/group_layout.h"
#include "pxall/selection_layout.h"
#include "pxall/vehicle_work_layout.h"
#include "pxbuild/bytes.h"
#include "pxbuild/cd_writer.h"
#include "pxbuild/dealer_sources.h"
#include "pxbuild/installer.h"
#include "pxbuild/keyed_writer.h"
#include "pxbuild/demo_data.h"
#include "pxbuild/demo_install.h"

namespace fs = std::filesystem;

namespace {

struct Seeds {
    fs::path out;
    fs::path demo;
    int n = 0;

    std::string file(const std::string& rel) const {
        pxbuild::Bytes b = pxbuild::read_file((demo / rel).string());
        return std::string(b.begin(), b.end());
    }
    // A seed and its truncations: inside the first record, mid-way, one short.
    void add(const std::string& name, uint8_t use, const std::vector<std::string>& parts) {
        std::string s = pxfuzz::frame(use, parts);
        write(name, s);
        for (size_t cut : {size_t(8), size_t(40), s.size() / 2, s.size() - 1}) {
            if (cut == 0 || cut >= s.size()) continue;
            write(name + "-cut" + std::to_string(cut), s.substr(0, cut));
        }
    }
    void write(const std::string& name, const std::string& s) {
        pxbuild::write_file((out / name).string(), pxbuild::Bytes(s.begin(), s.end()));
        ++n;
    }
};

std::string field(std::string s, size_t n) {
    s.resize(n, ' ');
    return s;
}

void put(std::string& rec, size_t at, const std::string& text) { rec.replace(at, text.size(), text); }

void put_u32(std::string& rec, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) rec[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
}

// The vehicle-information hits the identification leaves in JOUHOU.TMP: one
// record per catalogue of the demo.
std::string jouhou_tmp(char mark) {
    namespace jt = pxall::vehwork::jtmp;
    std::string file;
    int i = 0;
    for (const auto& cat : pxbuild::demo::catalogs()) {
        std::string r(jt::kSize, ' ');
        put(r, jt::kSix, field(cat.code, jt::kSixSize));
        put(r, jt::kVin, field(cat.wmi + "123456", jt::kVinSize));
        put(r, jt::kFifteen, field(cat.frame_models.empty() ? "" : cat.frame_models[0], jt::kFifteenSize));
        put(r, jt::kFrom, field(cat.date_from, jt::kDateSize));
        put(r, jt::kTo, field(cat.date_to, jt::kDateSize));
        put(r, jt::kText, field(cat.description, jt::kTextSize));
        put_u32(r, jt::kNum1, static_cast<uint32_t>(i + 1));
        put_u32(r, jt::kNum2, static_cast<uint32_t>(i % 2));
        r[jt::kMark] = (i % 2 == 0) ? ' ' : mark;
        file += r;
        ++i;
    }
    return file;
}

// The pop-up file of the demo's first catalogue: its special features.
std::string vclinf_tmp(int records) {
    namespace vt = pxall::vehwork::vinft;
    const auto& cat = pxbuild::demo::catalogs().front();
    std::string file(vt::kEmptyFileSize, ' ');
    put(file, vt::kCatalog, cat.code);
    put_u32(file, vt::kCount, static_cast<uint32_t>(records));
    auto features = pxbuild::demo::catalog_files(cat).tokume;
    for (int n = 0; n < records && n < static_cast<int>(features.size()); ++n) {
        std::string r(vt::kRecordSize, ' ');
        put(r, vt::kSymbol, field(features[n].substr(0, 10), vt::kSymbolSize));
        put(r, vt::kPiece, field(features[n].substr(10), vt::kPieceSize));
        r[vt::kHit] = n % 3 == 0 ? '1' : '0';
        file.replace(vt::record_offset(n), vt::kRecordSize, r);
    }
    return file;
}

std::string select_tmp(bool lcp) {
    namespace sf = pxall::selfile;
    std::string img(sf::kImageSize, '\0');
    int n = 0;
    for (const auto& [part, name] : pxbuild::demo::all_part_numbers()) {
        if (n == 12) break;
        std::string r(sf::kRecordSize, ' ');
        if (lcp) {
            put(r, sf::lcp::kFigure, "1101");
            put(r, sf::lcp::kPart, field(part, sf::lcp::kPartSize));
            put(r, sf::lcp::kQty, "01");
            r[sf::lcp::kKind] = '1';
        } else {
            put(r, sf::sel::kCode, field(n % 2 ? part : part.substr(0, 5), sf::sel::kCodeSize));
            put(r, sf::sel::kQty, "02");
            r[sf::sel::kKind] = n % 2 ? 1 : 0;
        }
        img.replace(static_cast<size_t>(n) * sf::kRecordSize, sf::kRecordSize, r);
        ++n;
    }
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: store_fuzz_seeds <target> <dir>\n");
        return 2;
    }
    const std::string target = argv[1];
    Seeds s;
    s.out = argv[2];
    s.demo = s.out / ".demo";
    fs::create_directories(s.out);
    const bool needs_demo = target != "selection" && target != "worktmp" && target != "records" && target != "buinde" &&
                            target != "picture" && target != "sources" && target != "vinf";
    if (needs_demo) pxbuild::write_demo(s.demo.string());

    if (target == "env") {
        s.add("env", 0, {s.file("c/PXDROM/PXDROM.SYS")});
        s.add("drives", 1, {s.file("c/PXDROM/PXDRIVES.SYS")});
    } else if (target == "texts") {
        s.add("msg", 0, {s.file("c/PXDROM/PRG/PXDROM01.MSG")});
        s.add("scr", 1, {s.file("c/PXDROM/PXDROM01.SCR")});
    } else if (target == "textfile") {
        int i = 0;
        for (const auto& e : fs::directory_iterator(s.demo / "c/PXDROM/PRG")) {
            if (e.path().extension() != ".HLP" || i >= 4) continue;
            std::string text = s.file("c/PXDROM/PRG/" + e.path().filename().string());
            s.add("help" + std::to_string(i), 0, {text});
            s.add("list" + std::to_string(i), 1, {text});
            ++i;
        }
    } else if (target == "groups") {
        std::string names = s.file("c/MST/PXGRPMEI.D"), codes = s.file("c/MST/PXGRPPNC.D");
        s.add("groups", 0, {names, codes});
        // The used front of each file, which the target fills up again.
        int count = static_cast<unsigned char>(names[0]) | static_cast<unsigned char>(names[1]) << 8;
        namespace gf = pxall::grpfile;
        s.add("groups-front", 1, {names.substr(0, gf::slot_offset(count + 1)), codes.substr(0, gf::record_offset(count + 1))});
    } else if (target == "savefile") {
        std::string m = s.file("c/MST/PXIFSMST.SAV"), one = s.file("c/MST/PXIF0001.SAV"),
                    three = s.file("c/MST/PXIF0003.SAV");
        s.add("lists", 0, {m, one, "", three});
        s.add("lists-file-gone", 0, {m, "", "", three});
    } else if (target == "price") {
        s.add("kakaku", 0, {s.file("c/MST/PRICE.MST"), s.file("c/MST/KAKAKU.IA"), s.file("c/MST/KAKAKU.D")});
        s.add("price3", 0, {s.file("p/MST/PRICE.MST"), s.file("p/MST/PRICE3.IA"), s.file("p/MST/PRICE3.D")});
        for (int set = 1; set <= 3; ++set) {
            std::string base = "c/MST/LOCALP" + std::to_string(set);
            s.add("local" + std::to_string(set), static_cast<uint8_t>(1 + 2 * (set - 1)),
                  {"", s.file(base + ".IA"), s.file(base + ".D")});
        }
    } else if (target == "cdfile") {
        std::vector<std::string> parts = {s.file("cd/E2/.volume-label")};
        for (const char* f : {"FIGIND.DAT", "FIGIND.IA1", "FIGIND.IA2", "FIGIND.IA3"}) parts.push_back(s.file(std::string("cd/E2/") + f));
        s.add("figind", 0, parts);
        s.add("figind-given", 1, parts);
    } else if (target == "buinde") {
        // A catalogue master holding the demo catalogue's BUINDE.DAT (small
        // index blocks, so that the index has levels), made as the set-up makes it.
        const auto& cat = pxbuild::demo::catalogs().front();
        auto pages = pxbuild::demo::catalog_files(cat).buinde;
        fs::path work = s.out / ".work";
        pxbuild::CdWriter cd((work / "cd").string(), "E1", "20240115");
        pxbuild::IndexShape shape;
        shape.records_per_block = 3;
        shape.index_entries_per_block = 3;
        cd.put_keyed(cat.code, "BUINDE.DAT", pxbuild::build_keyed("BUINDE.DAT", pages, shape));
        pxbuild::InstallSpec job;
        job.cd_folder = (work / "cd").string();
        job.target_dir = (work / "MST").string();
        job.dir_name = "E1";
        pxbuild::Installer().install_catalog_cd(job);
        pxbuild::Bytes b = pxbuild::read_file((work / "MST" / "E1" / ("PX" + cat.code + ".MST")).string());
        std::string master(b.begin(), b.end());
        fs::remove_all(work);
        std::string figure = pages.empty() ? std::string("0000") : pages.front().substr(6, 4);
        s.add("pages", 0, {figure, master});
        s.add("pages-all", 1, {figure, master});
        if (pages.size() > 4) s.add("pages-later", 0, {pages[pages.size() / 2].substr(6, 4), master});
    } else if (target == "setup") {
        s.add("two-sets", 0, {s.file("c/MST/E1/PXROOTMF.MST"), s.file("c/MST/E2/PXROOTMF.MST")});
        s.add("one-set", 1, {s.file("c/MST/E1/PXROOTMF.MST"), ""});
    } else if (target == "selection") {
        s.add("select", 0, {select_tmp(false)});
        s.add("lcpsel", 1, {select_tmp(true)});
    } else if (target == "worktmp") {
        s.add("jouhou", 0, {jouhou_tmp('v')});
        s.add("vclinf", 1, {vclinf_tmp(12)});
        s.add("vclinf-empty", 1, {vclinf_tmp(0)});
    } else if (target == "records") {
        // The part-number records of the demo's catalogues, a run per part name.
        for (const auto& cat : pxbuild::demo::catalogs()) {
            auto recs = pxbuild::demo::catalog_files(cat).hinban;
            std::string run;
            for (size_t i = 0; i < recs.size() && i < 24; ++i) run += recs[i];
            s.write("hinban-" + cat.code, std::string(1, '\0') + run);
            s.write("hinban-filtered-" + cat.code, std::string(1, '\1') + run);
            s.write("hinban-cut-" + cat.code, std::string(1, '\0') + run.substr(0, run.size() / 2 + 7));
        }
    } else if (target == "picture" || target == "sources") {
        // The files a dealer receives: the pictures of the local parts, the
        // price and local-parts sources, small.
        fs::path work = s.out / ".work";
        pxbuild::write_dealer_sources(work.string(), 40, 2);
        auto file = [&](const fs::path& p) {
            pxbuild::Bytes b = pxbuild::read_file(p.string());
            return std::string(b.begin(), b.end());
        };
        if (target == "picture") {
            int i = 0;
            for (const auto& e : fs::directory_iterator(work / "PICS")) {
                s.add("picture" + std::to_string(i), 0, {file(e.path())});
                s.add("picture-looked-at" + std::to_string(i++), 1, {file(e.path())});
            }
        } else {
            const struct {
                const char* name;
                uint8_t use;
            } sources[] = {{"PRICE", 0},   {"PRICE3", 2},  {"PRICE001.CSV", 4}, {"PRIC3001.CSV", 6},
                           {"LOCALP", 1},  {"LOCALP1", 3}, {"LOCALP2", 5},      {"LOCALP3", 7}};
            for (const auto& src : sources) s.add(src.name, src.use, {file(work / src.name)});
        }
        fs::remove_all(work);
    } else if (target == "vinf") {
        const std::string text =
            "PXVJIN=1\r\nVIN=XPA1234567A123456\r\nCATALOG=4410A1\r\nMODEL=AVS16P\r\nFRAMEMODEL=AVS16P1\r\n"
            "FRAMENO=A123456\r\nPRODDATE=202203\r\nCOLOR=1G3\r\nTRIM=FA12\r\nNOTES=brake job\r\nLANG=1\r\n";
        const std::string csv =
            "PXVJIN,VIN,CATALOG,MODEL,FRAMEMODEL,FRAMENO,PRODDATE,COLOR,TRIM,NOTES,LANG\r\n"
            "1,XPA1234567A123456,4410A1,AVS16P,AVS16P1,A123456,202203,1G3,FA12,\"brake, job\",1\r\n";
        s.add("text", 0, {text});
        s.add("text-written-back", 2, {text});
        s.add("csv", 1, {csv});
        s.add("csv-written-back", 3, {csv});
    } else {
        std::fprintf(stderr, "store_fuzz_seeds: no target %s\n", target.c_str());
        return 2;
    }
    if (needs_demo) fs::remove_all(s.demo);
    std::printf("%d seeds for %s\n", s.n, target.c_str());
    return 0;
}
