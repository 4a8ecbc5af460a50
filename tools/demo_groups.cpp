#include "demo_groups.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "pxall/group_layout.h"

namespace pxbuild::demo {

namespace {

namespace gf = pxall::grpfile;

struct Group {
    const char* code;
    const char* name;
    std::vector<const char*> pncs;
};

// Jobs a service desk quotes again and again; the codes are in HINM01.
const std::vector<Group>& groups() {
    static const std::vector<Group> g = {
        {"SRV", "SERVICE, 15000 KM / 12 MONTHS", {"15601A", "90341A", "17801A", "87139A"}},
        {"SRL", "SERVICE, 60000 KM / 48 MONTHS", {"15601A", "90341A", "17801A", "87139A", "90919A", "23300A", "85212A"}},
        {"BRF", "BRAKE SERVICE, FRONT", {"04465A", "43512A", "90947A"}},
        {"BRR", "BRAKE SERVICE, REAR", {"04495A", "42431A", "47550A"}},
        {"CL1", "CLUTCH REPLACEMENT KIT", {"31250A", "31210A", "31230A"}},
        {"TB1", "TIMING BELT AND WATER PUMP", {"11270A", "16100A", "90916A", "16571A", "16572A"}},
        {"WIN", "WINTER CHECK", {"28800A", "85212A", "90981A", "16401A", "85330A"}},
    };
    return g;
}

void put_field(std::string& img, size_t at, size_t width, const char* text) {
    size_t n = std::min(std::strlen(text), width);
    img.replace(at, n, text, n);
    img.replace(at + n, width - n, width - n, ' ');
}

void write_whole(const std::string& path, const std::string& bytes) {
    std::FILE* fp = std::fopen(path.c_str(), "wb");
    if (fp == nullptr) throw std::runtime_error("cannot create " + path + ": " + std::strerror(errno));
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), fp) == bytes.size();
    ok = std::fclose(fp) == 0 && ok;
    if (!ok) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int demo_group_count() { return static_cast<int>(groups().size()); }

void write_demo_groups(const std::string& master_dir) {
    const auto& gs = groups();
    std::string names(gf::kNameFileSize, '\0');
    std::string codes(gf::kCodeFileSize, ' ');
    names[gf::kCountAt] = static_cast<char>(gs.size() & 0xff);
    names[gf::kCountAt + 1] = static_cast<char>((gs.size() >> 8) & 0xff);
    for (size_t i = 0; i < gs.size(); ++i) {
        int slot = static_cast<int>(i) + 1;
        put_field(names, gf::slot_offset(slot) + gf::kCodeAt, gf::kCodeLen, gs[i].code);
        put_field(names, gf::slot_offset(slot) + gf::kNameAt, gf::kNameLen, gs[i].name);
        for (size_t k = 0; k < gs[i].pncs.size(); ++k)
            put_field(codes, gf::record_offset(slot) + k * gf::kPncLen, gf::kPncLen, gs[i].pncs[k]);
    }
    write_whole(master_dir + "/" + gf::kNameFile, names);
    write_whole(master_dir + "/" + gf::kCodeFile, codes);
}

}  // namespace pxbuild::demo
