// Installing a full-copy catalogue CD of more than 300 MB with the set-up
// run against copying the same CD folder with `cp -r` onto the same disk and
// flushing the copy (each file and folder), as the set-up flushes a new set
// before it changes places with the one in force. The set-up reads each CD
// file in 12-block pieces and writes the master files besides; the two are
// interleaved, and the goal is to stay within 1.3 times the copy (time
// ratio).
//
//   setup_install_bench [--rounds=N]   (7 rounds unless told)
//
// Meaningful in an optimised build without sanitizers.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_report.h"
#include "platform/drives.h"
#include "platform/msgbox.h"
#include "pxall/blocks.h"
#include "pxbuild/setup_cds.h"
#include "stup/stup.h"

namespace fs = std::filesystem;
namespace ct = pxall::ctop;

namespace {

constexpr size_t kPictureBytes = size_t{310} << 20;

struct Scratch {
    fs::path root;
    Scratch() {
        // Beside the build folder, so that both copies land on the disk the
        // benchmark runs on.
        root = fs::current_path() / "setup-install-bench";
        fs::remove_all(root);
        const pxbuild::SetupCd& cd = pxbuild::setup_cds()[4];  // U1
        pxbuild::write_setup_cd(cd, (root / "cd" / "U1").string());
        // One large illustration file makes the CD's size.
        std::ofstream out(root / "cd" / "U1" / "IMAGEF.DAT", std::ios::binary | std::ios::trunc);
        std::vector<char> block(1 << 20);
        for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 31 + 7);
        for (size_t n = 0; n < kPictureBytes; n += block.size()) out.write(block.data(), block.size());
        out.close();
        for (const char* d : {"c/MST", "c/WORK", "c/FRW", "c/FRJ", "c/PRG"}) fs::create_directories(root / d);
        std::ofstream(root / "c" / "PXDROM.SYS") << "ECMST=C:\\MST\r\nCRNTAREA=\r\nECMSTALL=\r\n";

        plat::clear_drives();
        plat::set_drive('C', (root / "c").string(), plat::kDriveFixed);
        plat::set_drive('Q', (root / "cd" / "U1").string(), plat::kDriveCdrom);
        fs::current_path(root / "c");
        pxall::set_table();
        unsigned char* top = pxall::get_ctop_addr();
        auto field = [&](size_t at, const char* v) { std::strcpy(reinterpret_cast<char*>(top + at), v); };
        field(ct::kMasterDir, "C:\\MST");
        field(ct::kWorkDir, "C:\\WORK");
        field(ct::kProgramDir, "C:\\PRG");
        field(ct::kFrameWorldDir, "C:\\FRW");
        field(ct::kFrameJapanDir, "C:\\FRJ");
        field(ct::kDataLangCode, "01");
        top[ct::kDriveCount] = 1;
        std::memcpy(top + ct::kDrives, "Q:", 2);

        std::string cat(488, ' ');
        for (int a = 0; a < 4; ++a) cat[a * 122 + 1] = 'C';
        cat.replace(244, 14, "1CA1        1 ");
        std::string frame(244, ' ');
        frame[1] = frame[123] = 'C';
        std::ofstream(root / "c" / "WORK" / "CATALOG.TMP", std::ios::binary) << cat;
        std::ofstream(root / "c" / "WORK" / "FRAME.TMP", std::ios::binary) << frame;
    }
    ~Scratch() {
        pxall::free_table();
        plat::clear_drives();
        fs::current_path(root.parent_path());
        fs::remove_all(root);
    }
};

Scratch& scratch() {
    static Scratch s;
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    pxbench::Bench bench("Installing a full-copy catalogue CD of 310 MB against cp -r of the same CD folder, flushed", argc, argv,
                         {}, 7);
    Scratch& s = scratch();
    const std::string copy = (s.root / "c" / "COPY").string();
    const std::string cmd = "cp -r '" + (s.root / "cd" / "U1").string() + "' '" + copy + "' && find '" + copy +
                            "' -exec sync {} + && sync '" + (s.root / "c").string() + "'";
    const auto fig = bench.interleave(
        {{"set-up run", pxbench::after([&] { fs::remove_all(s.root / "c" / "MST" / "U1"); }, [] { return stup_main_proc() == 0; }),
          1},
         {"cp -r + sync", pxbench::after([&] { fs::remove_all(s.root / "c" / "COPY"); }, [&] { return std::system(cmd.c_str()) == 0; }),
          1}});
    bench.time_ratio("set-up run against cp -r + sync", fig[0], fig[1], pxbench::at_most(1.3));
    return bench.conclude();
}
