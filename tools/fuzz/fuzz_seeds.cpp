// keyed_fuzz_seeds <dir>: the seed corpus of the keyed-file fuzz target,
// written by the data-set builder: a data set's part-name file in its three
// files, a catalogue master holding its files, and truncations of both.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "pxbuild/bytes.h"
#include "pxbuild/cd_writer.h"
#include "pxbuild/installer.h"
#include "pxbuild/keyed_writer.h"

namespace fs = std::filesystem;
using pxbuild::Bytes;

namespace {

std::string rec(int len, size_t at, const std::string& key) {
    std::string r(len, ' ');
    r.replace(at, key.size(), key);
    return r;
}

void put_u32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void seed(const fs::path& dir, const std::string& name, const Bytes& b) {
    pxbuild::write_file((dir / name).string(), b);
    // Truncations: inside the header, inside the first block, mid-way.
    for (size_t cut : {size_t(20), size_t(300), b.size() / 2, b.size() - 1000}) {
        if (cut >= b.size()) continue;
        pxbuild::write_file((dir / (name + "-cut" + std::to_string(cut))).string(), Bytes(b.begin(), b.begin() + cut));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: keyed_fuzz_seeds <dir>\n");
        return 2;
    }
    fs::path out(argv[1]);
    fs::path work = out / ".work";
    fs::create_directories(out);
    pxbuild::IndexShape shape;
    shape.records_per_block = 3;
    shape.index_entries_per_block = 3;

    pxbuild::CdWriter cd((work / "cd").string(), "E1", "20240115");
    std::vector<std::string> names;
    for (int i = 1; i <= 40; ++i) {
        char k[8];
        std::snprintf(k, sizeof k, "P%05d", i);
        names.push_back(rec(66, 0, k));
    }
    cd.put_keyed("", "HINM01.DAT", pxbuild::build_keyed("HINM01.DAT", names, shape));
    std::vector<std::string> pages, codes, parts;
    for (int i = 0; i < 30; ++i) pages.push_back(rec(30, 6, std::to_string(1000 + i * 10)));
    for (int i = 0; i < 30; ++i) codes.push_back(rec(16, 10, std::to_string(100000 + i * 10)));
    for (int i = 0; i < 30; ++i) parts.push_back(rec(256, 6, std::to_string(164000 + i) ));
    cd.put_keyed("4410A1", "EMINDE.DAT", pxbuild::build_keyed("EMINDE.DAT", pages, shape));
    cd.put_keyed("4410A1", "HCODEH.DAT", pxbuild::build_keyed("HCODEH.DAT", codes, shape));
    cd.put_keyed("4410A1", "HINBAN.DAT", pxbuild::build_keyed("HINBAN.DAT", parts, shape));
    cd.put_keyed("4410A1", "TOKUME.DAT", pxbuild::build_keyed("TOKUME.DAT", {rec(30, 0, "4410A1")}));
    pxbuild::InstallSpec job;
    job.cd_folder = (work / "cd").string();
    job.target_dir = (work / "MST").string();
    job.dir_name = "E1";
    pxbuild::Installer().install_catalog_cd(job);

    fs::path set = work / "MST" / "E1";
    Bytes root = pxbuild::read_file((set / "PXROOTMF.MST").string());
    Bytes ia = pxbuild::read_file((set / "HINM01.IA").string());
    Bytes dat = pxbuild::read_file((set / "HINM01.DAT").string());
    Bytes a = {0};
    put_u32(a, static_cast<uint32_t>(root.size()));
    put_u32(a, static_cast<uint32_t>(ia.size()));
    put_u32(a, static_cast<uint32_t>(dat.size()));
    for (const Bytes* b : {&root, &ia, &dat}) a.insert(a.end(), b->begin(), b->end());
    seed(out, "dataset", a);

    Bytes cat = pxbuild::read_file((set / "PX4410A1.MST").string());
    for (uint8_t mode : {1, 3, 5, 7, 129}) {
        Bytes b = {mode};
        b.insert(b.end(), cat.begin(), cat.end());
        seed(out, "catalog-" + std::to_string(mode), b);
    }
    fs::remove_all(work);
    return 0;
}
