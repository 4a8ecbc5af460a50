#include "pxbuild/installer.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "pxall/keyed_layout.h"

namespace fs = std::filesystem;
namespace kl = pxall::keyed;

namespace pxbuild {

namespace {

const kl::FileDesc& row(int i) { return kl::file_table()[i]; }

struct Slot {
    int row = 0;
    uint8_t loc = 0;
    int32_t first = 0;
    int32_t blocks = 0;
    std::string dir;
    uint8_t level = 0;
};
using Group = Slot[kl::kGroupRows];

enum class Master { kRoot, kCatalog, kFrame };

uint8_t location(Master m, const kl::FileDesc& d, char kind, const std::string& lang) {
    uint8_t cls = d.loc_class;
    if (cls == 9) return std::string_view(d.name + 4, 2) == lang ? uint8_t{kl::kOnDisk} : uint8_t{kl::kOnCd};
    if (kind != '1') return cls;
    switch (m) {
    case Master::kRoot: return kl::kOnDisk;
    case Master::kCatalog: return cls == kl::kOnCd ? uint8_t{kl::kInMaster} : cls;
    case Master::kFrame: return cls == kl::kOnCd ? uint8_t{kl::kOnDisk} : cls;
    }
    return cls;
}

// The data entry's level byte from the sizes of the three levels, and the
// start blocks of separate index levels, which follow one another in one file
// (an absent level starts where it would follow).
void finish_group(Group& g) {
    int32_t s1 = g[0].blocks, s2 = g[1].blocks, s3 = g[2].blocks;
    g[3].level = s1 == 0 ? 0 : s2 == 0 ? 1 : s3 == 0 ? 2 : 3;
    for (int i = 0; i < 3; ++i) g[i].level = static_cast<uint8_t>(row(g[i].row).level);
    if (g[1].loc == kl::kOnDisk) g[1].first = s1;
    if (g[2].loc == kl::kOnDisk) g[2].first = s1 + s2;
}

void put_entry(uint8_t* e, const Slot& s) {
    const auto& d = row(s.row);
    std::memset(e, 0, kl::ment::kSize);
    std::memcpy(e + kl::ment::kName, d.name, std::min<size_t>(std::strlen(d.name), kl::kNameSize));
    e[kl::ment::kFileId] = d.file_id;
    e[kl::ment::kMask] = d.mask;
    e[kl::ment::kKeyLen] = static_cast<uint8_t>(d.key_len);
    e[kl::ment::kKeyOff] = static_cast<uint8_t>(d.key_off);
    e[kl::ment::kKeySets] = static_cast<uint8_t>(d.key_sets);
    put_u32(e + kl::ment::kFirstBlock, static_cast<uint32_t>(s.first));
    put_u32(e + kl::ment::kBlocks, static_cast<uint32_t>(s.blocks));
    put_u16(e + kl::ment::kRecLen, static_cast<uint32_t>(d.rec_len));
    e[kl::ment::kLevels] = s.level;
    e[kl::ment::kLocation] = s.loc;
    if (s.loc != kl::kOnCd && s.dir.size() == 2) std::memcpy(e + kl::ment::kDataSet, s.dir.data(), 2);
}

void put_header(uint8_t* h, const std::string& cd_date, const InstallSpec& job, bool catalog) {
    std::memset(h, 0, kl::mhdr::kSize);
    std::memcpy(h + kl::mhdr::kCdDate, cd_date.data(), std::min<size_t>(cd_date.size(), 8));
    std::memcpy(h + kl::mhdr::kSetupDate, job.setup_date.data(), std::min<size_t>(job.setup_date.size(), 8));
    std::memcpy(h + kl::mhdr::kSetupTime, job.setup_time.data(), std::min<size_t>(job.setup_time.size(), 6));
    std::memcpy(h + kl::mhdr::kDirName, job.dir_name.data(), 2);
    std::memcpy(h + kl::mhdr::kCdNo, job.cd_no.data(), std::min<size_t>(job.cd_no.size(), 2));
    h[kl::mhdr::kLangDigit] = job.lang.size() == 2 ? job.lang[1] : '1';
    if (catalog) std::memcpy(h + kl::mhdr::kOwnDir, job.dir_name.data(), 2);
}

// A CD file padded to exactly `blocks` blocks.
Bytes cd_file(const std::string& cd, const std::string& dir, const std::string& name, int32_t blocks) {
    fs::path p(cd);
    if (!dir.empty()) p /= dir;
    Bytes b = read_file((p / name).string());
    b.resize(static_cast<size_t>(blocks) * kl::kBlockSize, 0);
    return b;
}

// Copies a root or frame group's separate files into the directory its
// entries name.
void copy_separate(const InstallSpec& job, const Group& g, const std::string& cd, bool* jouhou_done) {
    const Slot& data = g[3];
    std::string data_name = row(data.row).name;
    if (data.loc == kl::kOnDisk && data.blocks > 0 && !(data_name == "JOUHOU.DAT" && *jouhou_done)) {
        write_file((fs::path(job.target_dir) / data.dir / data_name).string(), cd_file(cd, "", data_name, data.blocks));
        if (data_name == "JOUHOU.DAT") *jouhou_done = true;
    }
    if (g[0].loc == kl::kOnDisk && g[3].level > 0) {
        Bytes joined;
        for (int i = 0; i < 3; ++i) {
            if (g[i].loc != kl::kOnDisk || g[i].blocks == 0) continue;
            Bytes b = cd_file(cd, "", row(g[i].row).name, g[i].blocks);
            joined.insert(joined.end(), b.begin(), b.end());
        }
        std::string name = std::string(row(g[0].row).name).substr(0, kl::kDiskIndexNameSize);
        write_file((fs::path(job.target_dir) / g[0].dir / name).string(), joined);
    }
}

void fresh_dir(const fs::path& p) {
    std::error_code ec;
    fs::remove_all(p, ec);
    fs::create_directories(p);
}

std::vector<std::string> catalog_dirs(const std::string& cd) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(cd)) {
        std::string n = e.path().filename().string();
        if (e.is_directory() && !n.empty() && n[0] != '.') out.push_back(n);
    }
    std::sort(out.begin(), out.end());
    return out;
}

void write_catalog_master(const InstallSpec& job, const std::string& cd_date, const std::string& cd_dir) {
    Bytes mst(kl::kCatalogMasterRead, 0);
    put_header(mst.data(), cd_date, job, true);
    int32_t running = 1;
    std::vector<Slot> placed;
    for (int g = 0; g < kl::kCatalogCount / kl::kGroupRows; ++g) {
        Group grp;
        for (int i = 0; i < kl::kGroupRows; ++i) {
            Slot& s = grp[i];
            s.row = kl::kCatalogFirst + g * kl::kGroupRows + i;
            s.loc = location(Master::kCatalog, row(s.row), job.install_kind, job.lang);
            s.blocks = cd_file_blocks(job.cd_folder, cd_dir, row(s.row).name);
            if (s.loc == kl::kInMaster) {
                s.first = running;
                running += s.blocks;
                s.dir = job.dir_name;
            }
        }
        finish_group(grp);
        for (int i = 0; i < kl::kGroupRows; ++i) {
            put_entry(&mst[kl::mhdr::kSize + (g * kl::kGroupRows + i) * kl::ment::kSize], grp[i]);
            placed.push_back(grp[i]);
        }
    }
    for (const Slot& s : placed) {
        if (s.loc != kl::kInMaster || s.blocks == 0) continue;
        Bytes b = cd_file(job.cd_folder, cd_dir, row(s.row).name, s.blocks);
        mst.insert(mst.end(), b.begin(), b.end());
    }
    std::string name = "PX" + cd_dir.substr(0, 6) + ".MST";
    write_file((fs::path(job.target_dir) / job.dir_name / name).string(), mst);
}

}  // namespace

int32_t cd_file_blocks(const std::string& cd_folder, const std::string& dir, const std::string& name) {
    fs::path p(cd_folder);
    if (!dir.empty()) p /= dir;
    p /= name;
    std::error_code ec;
    auto size = fs::file_size(p, ec);
    if (ec) return 0;
    return static_cast<int32_t>((size + kl::kBlockSize - 1) / kl::kBlockSize);
}

std::string cd_label(const std::string& cd_folder) {
    std::ifstream in(fs::path(cd_folder) / ".volume-label");
    std::string line;
    std::getline(in, line);
    if (line.size() < 10) throw BuildError("CD folder without a label: " + cd_folder);
    return line.substr(0, 10);
}

void Installer::install_catalog_cd(const InstallSpec& job) {
    if (job.dir_name.size() != 2) throw BuildError("a data set's directory name has two characters");
    std::string cd_date = cd_label(job.cd_folder).substr(2, 8);
    char area = job.dir_name[0];
    bool first = !first_dir_.count(area) || first_dir_[area] == job.dir_name;
    if (first) {
        first_dir_[area] = job.dir_name;
        root_sizes_.clear();
    }
    bool shared = !first && job.install_kind == '0';
    fresh_dir(fs::path(job.target_dir) / job.dir_name);

    Bytes mst(kl::mhdr::kSize + kl::kRootCount * kl::ment::kSize, 0);
    put_header(mst.data(), cd_date, job, false);
    bool jouhou_done = false;
    for (int g = 0; g < kl::kRootCount / kl::kGroupRows; ++g) {
        Group grp;
        for (int i = 0; i < kl::kGroupRows; ++i) {
            Slot& s = grp[i];
            s.row = kl::kRootFirst + g * kl::kGroupRows + i;
            const auto& d = row(s.row);
            s.loc = location(Master::kRoot, d, job.install_kind, job.lang);
            if (shared && s.loc == kl::kOnDisk) {
                s.blocks = root_sizes_[d.name];
            } else {
                s.blocks = cd_file_blocks(job.cd_folder, "", d.name);
                if (s.loc == kl::kOnDisk) root_sizes_[d.name] = s.blocks;
            }
            if (s.loc == kl::kOnDisk) s.dir = shared ? first_dir_[area] : job.dir_name;
        }
        finish_group(grp);
        for (int i = 0; i < kl::kGroupRows; ++i)
            put_entry(&mst[kl::mhdr::kSize + (g * kl::kGroupRows + i) * kl::ment::kSize], grp[i]);
        if (!shared) copy_separate(job, grp, job.cd_folder, &jouhou_done);
    }
    write_file((fs::path(job.target_dir) / job.dir_name / kl::kRootMaster).string(), mst);
    for (const auto& dir : catalog_dirs(job.cd_folder)) write_catalog_master(job, cd_date, dir);
}

void Installer::install_frame_set(const InstallSpec& job) {
    if (job.dir_name.size() != 2) throw BuildError("a data set's directory name has two characters");
    std::string cd_date = cd_label(job.cd_folder).substr(2, 8);
    fresh_dir(fs::path(job.target_dir) / job.dir_name);
    Bytes mst(kl::mhdr::kSize + kl::kFrameCount * kl::ment::kSize, 0);
    put_header(mst.data(), cd_date, job, false);
    Group grp;
    for (int i = 0; i < kl::kGroupRows; ++i) {
        Slot& s = grp[i];
        s.row = kl::kFrameFirst + i;
        s.loc = location(Master::kFrame, row(s.row), job.install_kind, job.lang);
        s.blocks = cd_file_blocks(job.cd_folder, "", row(s.row).name);
        if (s.loc == kl::kOnDisk) s.dir = job.dir_name;
    }
    finish_group(grp);
    for (int i = 0; i < kl::kGroupRows; ++i) put_entry(&mst[kl::mhdr::kSize + i * kl::ment::kSize], grp[i]);
    bool unused = false;
    copy_separate(job, grp, job.cd_folder, &unused);
    write_file((fs::path(job.target_dir) / job.dir_name / kl::kFrameMaster).string(), mst);
}

}  // namespace pxbuild
