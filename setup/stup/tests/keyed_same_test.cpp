// A set-up installation reads as the data-set builder's own: every keyed
// file of every installed data set, opened through the master files, gives
// the same records in sequence, the same records for its keys and the same
// blocks, whether the set-up or the builder installed the CDs.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/msgbox.h"
#include "pxall/blocks.h"
#include "pxall/cdrom.h"
#include "pxall/keyed_file.h"
#include "pxall/keyed_layout.h"
#include "pxall/setup_scan.h"
#include "pxbuild/installer.h"
#include "setup_fixture.h"
#include "stup/stup.h"

namespace fs = std::filesystem;
namespace kl = pxall::keyed;
using namespace stuptest;

namespace {

constexpr const char* kCatalogs[] = {"E1000A", "E1001A", "E2000A", "E3000A", "U1000A"};
constexpr int kMaxRecords = 5000;

std::string hex_result(int r, int detail) { return "r=" + std::to_string(r) + "/" + std::to_string(detail); }

// Everything one open of a file gives: records in sequence, records of a
// few of their keys, blocks.
void read_file(const kl::FileDesc& d, const std::function<int(int, pxall::CdHandle**, int*)>& open,
               std::vector<std::string>* out) {
    const std::string tag = std::string(d.name) + "#" + std::to_string(d.file_id);
    pxall::CdHandle* h = nullptr;
    int detail = 0;
    int r = open(0, &h, &detail);
    out->push_back(tag + " open " + std::to_string(r));
    if (r != 0) return;
    std::vector<std::string> recs;
    std::vector<char> buf(4096);
    int n = 0;
    while ((r = pxall::cdread(buf.data(), nullptr, 0, 0, nullptr, nullptr, h, &detail)) == 0 && n++ < kMaxRecords)
        recs.emplace_back(buf.data(), buf.data() + d.rec_len);
    out->push_back(tag + " seq end " + std::to_string(r) + " count " + std::to_string(recs.size()));
    out->insert(out->end(), recs.begin(), recs.end());
    if (d.key_len > 0 && !recs.empty()) {
        for (size_t at : {size_t{0}, recs.size() / 2, recs.size() - 1}) {
            std::string key = recs[at].substr(static_cast<size_t>(d.key_off), static_cast<size_t>(d.key_len));
            pxall::cdreopen(h, &detail);
            int got = 0;
            while ((r = pxall::cdread(buf.data(), key.data(), d.key_len, 0, nullptr, nullptr, h, &detail)) == 0 &&
                   got++ < 50)
                out->push_back(tag + " key " + key + " " + std::string(buf.data(), buf.data() + d.rec_len));
            out->push_back(tag + " key end " + std::to_string(r));
        }
    }
    pxall::cdclose(&h, &detail);

    r = open(1, &h, &detail);
    if (r != 0) return;
    std::vector<char> blocks(12 * kl::kBlockSize);
    int32_t count = 0;
    std::string all;
    while ((r = pxall::cdread(blocks.data(), nullptr, 0, 12, &count, nullptr, h, &detail)) == 0)
        all.append(blocks.data(), static_cast<size_t>(count) * kl::kBlockSize);
    out->push_back(tag + " blocks " + std::to_string(all.size()) + " end " + std::to_string(r));
    out->push_back(all);
    pxall::cdclose(&h, &detail);
}

// Every query on the installation the shared state names.
std::vector<std::string> every_query() {
    std::vector<std::string> out;
    EXPECT_EQ(pxall::setuped_cd_check(), 0);
    const unsigned char* top = pxall::get_ctop_addr();
    int n = pxall::get_i32(top + pxall::ctop::kSetupCount);
    const kl::FileDesc* t = kl::file_table();
    for (int i = 0; i < n; ++i) {
        std::string name(reinterpret_cast<const char*>(pxall::setup_entry_addr(i)), 2);
        out.push_back("data set " + name + " " +
                      std::string(reinterpret_cast<const char*>(pxall::setup_entry_addr(i)) + 2, 14));
        if (name[1] == 'F' || name[1] == 'G') {
            const kl::FileDesc& d = t[kl::kFrameFirst + 3];
            read_file(d, [&](int mode, pxall::CdHandle** h, int* detail) {
                return pxall::fcdopen(d.name, 1, mode, -1, i, 0, h, detail);
            }, &out);
            continue;
        }
        for (int row = kl::kRootFirst + 3; row < kl::kRootCount; row += kl::kGroupRows) {
            const kl::FileDesc& d = t[row];
            read_file(d, [&](int mode, pxall::CdHandle** h, int* detail) {
                return pxall::cdopen(d.name, "", d.file_id, mode, -1, i, 0, h, detail);
            }, &out);
        }
        for (const char* cat : kCatalogs) {
            for (int row = kl::kCatalogFirst + 3; row < kl::kCatalogFirst + kl::kCatalogCount; row += kl::kGroupRows) {
                const kl::FileDesc& d = t[row];
                read_file(d, [&](int mode, pxall::CdHandle** h, int* detail) {
                    return pxall::cdopen(d.name, cat, 1, mode, -1, i, 0, h, detail);
                }, &out);
            }
        }
    }
    return out;
}

TEST(KeyedSame, SetupInstallationAnswersAsTheBuildersOwn) {
    SetupEnv s;
    // Area E read from its CDs (master files only), area U a full copy,
    // the world frame numbers a full copy.
    s.select_area(0, 'C', {{"A1", '0'}, {"A2", '0'}, {"B1", '0'}});
    s.select_area(2, 'C', {{"A1", '1'}});
    s.select_frame(0, 'C', {{"F1", '1'}});
    s.insert('Q', "E1");
    s.insert('R', "E2");
    s.insert('S', "E3");
    s.script({{plat::kIdRetry, 'Q', "U1"}, {plat::kIdRetry, 'Q', "EF"}});
    s.write_selection();
    ASSERT_EQ(stup_main_proc(), 0);
    ASSERT_EQ(s.boxes().size(), 2u);
    s.insert('Q', "E1");
    std::vector<std::string> setup = every_query();

    // The builder's installation of the same CDs on drive D.
    s.env().map_drive('D', "b", plat::kDriveFixed);
    struct Job {
        const char* cd;
        const char* code;
        char kind;
        const char* target;
    } jobs[] = {{"E1", "A1", '0', "MST"}, {"E2", "A2", '0', "MST"}, {"E3", "B1", '0', "MST"},
                {"U1", "A1", '1', "MST"}, {"EF", "F1", '1', "FRW"}};
    pxbuild::Installer inst;
    for (const Job& j : jobs) {
        pxbuild::InstallSpec install;
        install.cd_folder = s.root() + "/cd/" + j.cd;
        install.target_dir = s.root() + "/b/" + j.target;
        fs::create_directories(install.target_dir);
        install.dir_name = j.cd;
        install.install_kind = j.kind;
        install.cd_no = j.code;
        if (std::string(j.cd) == "EF")
            inst.install_frame_set(install);
        else
            inst.install_catalog_cd(install);
    }
    unsigned char* top = s.top();
    top[pxall::ctop::kMasterDir] = 'D';
    top[pxall::ctop::kFrameWorldDir] = 'D';
    top[pxall::ctop::kAreaDrives] = 'D';
    top[pxall::ctop::kAreaDrives + 4] = 'D';
    std::vector<std::string> built = every_query();

    ASSERT_EQ(setup.size(), built.size());
    size_t records = 0;
    for (size_t i = 0; i < setup.size(); ++i) {
        EXPECT_EQ(setup[i], built[i]) << "line " << i;
        if (setup[i] != built[i]) break;
        records += setup[i].find(" open ") == std::string::npos;
    }
    EXPECT_GT(records, 1000u);  // the comparison saw real data
}

}  // namespace
