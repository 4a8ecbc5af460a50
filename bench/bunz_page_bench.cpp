// The illustration screen's page step: from the page in hand (a page key of
// the current figure) to the page ready to paint, on a demo illustration of
// 1600 x 1120 pixels. The library copies the stored picture out of
// IMAGEF.DAT, decodes it into the page bitmap and builds the page's
// placements and part-name list (VBBunzMakePageInfo); the screen reads the
// bitmap and reduces it to half size for the whole page (or keeps it at full
// size for the enlarged one). Beside it the decode alone (the stored picture
// already copied out, decoded into the bitmap file). The medians are reported
// at the end; the goal is under 15 ms for the page step. The three are
// interleaved; the page step has no peer.
//
//   bunz_page_bench [--rounds=N] [--batch-ms=N]
//
// Meaningful in an optimised build without sanitizers.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <QImage>

#include "bench_report.h"
#include "bunz/bunz.h"
#include "platform/drives.h"
#include "pxall/blocks.h"
#include "pxall/image.h"
#include "pxall/texts.h"
#include "pxbuild/cd_writer.h"
#include "pxbuild/demo_bunz.h"
#include "pxbuild/demo_data.h"
#include "pxbuild/demo_images.h"
#include "pxbuild/installer.h"
#include "pxbuild/keyed_writer.h"
#include "shell/picture_box.h"

namespace fs = std::filesystem;
namespace demo = pxbuild::demo;

namespace {

// The first demo catalogue installed in a scratch folder, a vehicle of it,
// and figure 1101 chosen, its first page in hand.
struct Fixture {
    fs::path dir;
    fs::path saved_cwd;
    std::string bitmap, image;
    bool ready = false;

    Fixture() {
        const demo::Catalog& cat = demo::catalogs().front();
        dir = fs::temp_directory_path() / ("pxbunzbench-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "MST");
        fs::create_directories(dir / "WORK");
        {
            demo::RootFiles root = demo::root_files(cat.cd_id);
            pxbuild::CdWriter cd((dir / "cd").string(), cat.cd_id, "20240115");
            cd.put_keyed("", "FIGM01.DAT", pxbuild::build_keyed("FIGM01.DAT", root.figm01));
            cd.put_keyed("", "HINM01.DAT", pxbuild::build_keyed("HINM01.DAT", root.hinm01));
            pxbuild::write_demo_images(cd);
            cd.put_keyed(cat.code, "BUINDE.DAT", pxbuild::build_keyed("BUINDE.DAT", demo::illustration_pages(cat)));
            pxbuild::InstallSpec job;
            job.cd_folder = (dir / "cd").string();
            job.target_dir = (dir / "MST").string();
            job.dir_name = cat.cd_id;
            job.install_kind = '1';
            pxbuild::Installer().install_catalog_cd(job);
        }
        std::ofstream(dir / "PXDROM01.SCR") << "1809 SEE SPECIAL NOTE\r\n1810 SEE SUB-ILLUSTRATION\r\n";
        saved_cwd = fs::current_path();
        fs::current_path(dir);
        plat::set_drive('C', dir.string(), plat::kDriveFixed);
        pxall::set_table();
        pxall::set_scr();
        unsigned char* top = pxall::get_ctop_addr();
        std::strcpy(reinterpret_cast<char*>(top + pxall::ctop::kMasterDir), "C:\\MST");
        std::strcpy(reinterpret_cast<char*>(top + pxall::ctop::kWorkDir), "C:\\WORK");
        std::memcpy(top + pxall::ctop::kDataLangCode, "01", 2);
        pxall::put_i32(top + pxall::ctop::kSetupCount, 1);
        const std::string entry = cat.cd_id + "01" + "20240115";
        std::memcpy(pxall::setup_entry_addr(0), entry.data(), 12);
        pxall::setup_entry_addr(0)[pxall::setup_entry::kPictureFlag] = 1;
        unsigned char* car = pxall::get_ccar_addr();
        std::memcpy(car + pxall::ccar::kCatalog, cat.code.data(), 6);
        pxall::put_i32(car + pxall::ccar::kSetupIndex, 0);
        std::memcpy(car + pxall::ccar::kProdDate, "201901", 6);
        const std::string bits = demo::vehicle_applicability(cat, "AVS16P1");
        std::memcpy(car + pxall::ccar::kApplicability, bits.data(), pxall::ccar::kApplicabilitySize);
        unsigned char* na = pxall::get_cnexta_addr();
        pxall::put_i16(na + pxall::cnexta::kFigureCount, 1);
        std::memcpy(na + pxall::cnexta::kFigures, "1101", 4);

        char key[4], record[61];
        VbString k{key, 4}, r{record, 61};
        int16_t match = 0, last = 0, status = 0;
        if (VBBunzInit(&k, &r, &match, &last, &status) != 0 || status != 0) return;
        int16_t kind = 0;
        if (!make_page(&kind)) return;
        image = "C:\\WORK\\pximg1.tmp";
        ready = true;
    }
    ~Fixture() {
        VBBunzTerm();
        pxall::free_table();
        fs::current_path(saved_cwd);
        fs::remove_all(dir);
    }
    // The library's page step; the bitmap path it returns.
    bool make_page(int16_t* kind) {
        char code[7], title[250], bmp[80], list[80];
        VbString c{code, 7}, t{title, 250}, b{bmp, 80}, l{list, 80};
        int16_t status = 0;
        if (VBBunzMakePageInfo(&c, &t, &b, &l, kind, &status) != 0 || status != 0) return false;
        bitmap.assign(bmp, strnlen(bmp, sizeof bmp));
        return true;
    }
    static Fixture& get() {
        static Fixture f;
        return f;
    }
};

// Page key to the whole page ready to paint: the library's page, the bitmap
// read, reduced to half size.
bool page_whole(Fixture& f) {
    int16_t kind = 0;
    QImage full;
    if (!f.make_page(&kind) || px::load_picture_file(f.bitmap, &full) != 0) return false;
    QImage half = px::reduce_half(full);
    pxbench::keep(half.constBits());
    return true;
}

// Page key to the enlarged page ready to paint: the bitmap at full size.
bool page_enlarged(Fixture& f) {
    int16_t kind = 0;
    QImage full;
    if (!f.make_page(&kind) || px::load_picture_file(f.bitmap, &full) != 0) return false;
    pxbench::keep(full.constBits());
    return true;
}

// The decode alone: the stored picture (already copied out) into the bitmap file.
bool decode_only(Fixture& f) {
    uint8_t header[pxall::image::kHeaderSize];
    return pxall::decord_img(f.image.c_str(), "C:\\WORK\\bench.bmp", header) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    pxbench::Bench bench("The illustration screen's page step", argc, argv);
    Fixture& f = Fixture::get();
    if (!f.ready) {
        std::printf("no page in hand\n");
        return 1;
    }
    std::printf("demo page %d x %d\n", demo::kIllustrationWidth, demo::kIllustrationHeight);
    const auto fig = bench.interleave({{"page key to whole page ready", pxbench::wall([&] { return page_whole(f); })},
                                       {"page key to enlarged page ready", pxbench::wall([&] { return page_enlarged(f); })},
                                       {"decode only", pxbench::wall([&] { return decode_only(f); })}});
    bench.time_goal("page key to enlarged page ready", fig[1], pxbench::no_goal());
    bench.time_goal("decode only", fig[2], pxbench::no_goal());
    bench.time_goal("page key to whole page ready", fig[0], pxbench::at_most(15));
    return bench.conclude();
}
