#include "demo_setup.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/controls.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/msgbox.h"
#include "pxall/blocks.h"
#include "pxall/drom.h"
#include "pxall/vbstring.h"
#include "stup/stup.h"

namespace fs = std::filesystem;
namespace ct = pxall::ctop;

namespace pxdemo {

namespace {

std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool write(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out.flush());
}

std::string failed(const std::string& step, long result) { return step + " returned " + std::to_string(result); }

// The choice a clerk makes on the catalogue set-up screen: area E from CD
// E1 (A1) copied whole and CD E2 (A2) read from its CD; the world frame
// numbers from CD EF (F1) copied. A selection block: selected, drive, ten
// CD entries of code, issue (blank: as the CD has it), install kind, flag.
std::string choose(const fs::path& work) {
    std::string cat = read(work / "CATALOG.TMP"), frame = read(work / "FRAME.TMP");
    if (cat.size() != 488 || frame.size() != 244) return "the set-up's selection files are not as written";
    cat.replace(0, 2 + 24, std::string("1C") + "A1        1 " + "A2        0 ");
    frame.replace(0, 2 + 12, std::string("1C") + "F1        1 ");
    if (!write(work / "CATALOG.TMP", cat) || !write(work / "FRAME.TMP", frame)) return "cannot write the selection";
    return "";
}

// Points a directory field of the shared state at another drive.
void on_drive(size_t field, char drive) { pxall::get_ctop_addr()[field] = static_cast<unsigned char>(drive); }

std::string import_prices(const fs::path& dealer) {
    struct Import {
        const char* file;
        int16_t kind;
        char drive;
    } imports[] = {{"PRICE", 1, 'C'}, {"PRICE3", 2, 'P'}};
    const char keep = static_cast<char>(pxall::get_ctop_addr()[ct::kPriceDir]);
    for (const Import& i : imports) {
        on_drive(ct::kPriceDir, i.drive);
        std::string source = plat::windows_path((dealer / i.file).string());
        VbString s{source.data(), static_cast<int32_t>(source.size())};
        int32_t r = stup_kakaku_setup(&s, i.kind, 0);
        if (r != 0) {
            on_drive(ct::kPriceDir, keep);
            return failed(std::string("the price set-up of ") + i.file, r);
        }
    }
    on_drive(ct::kPriceDir, keep);
    return "";
}

std::string import_local_parts(const fs::path& dealer) {
    for (int16_t type = 1; type <= 3; ++type) {
        if (Check_Setuped_Localp(type) == 1) Init_Setuped_Localp(1, type);
        std::string source = plat::windows_path((dealer / ("LOCALP" + std::to_string(type))).string());
        int16_t r = Setup_Localp(type, source.c_str());
        if (r != 0) return failed("the local-parts set-up of set " + std::to_string(type), r);
    }
    // The pictures of set 3, as the screen lists and copies them.
    plat::MemoryListBox pictures, files;
    int32_t hp = plat::register_control(&pictures), hf = plat::register_control(&files);
    std::string result;
    if (int32_t r = Localp3_SetImageFile(hp); r != 0) result = failed("the picture list", r);
    if (result.empty()) {
        for (const auto& e : fs::directory_iterator(dealer / "PICS")) files.lb_add(e.path().filename().string());
        Localp3_CopyImageFile(hp, hf, plat::windows_path((dealer / "PICS").string()).c_str());
        for (const std::string& line : pictures.lines())
            if (line.empty() || line[0] != '*') result = "a picture was not copied: " + line;
    }
    plat::unregister_control(hp);
    plat::unregister_control(hf);
    return result;
}

struct Session {
    fs::path cwd = fs::current_path();
    ~Session() {
        drom_term();
        plat::set_message_box_hook({});
        std::error_code ec;
        fs::current_path(cwd, ec);
    }
};

}  // namespace

std::string install_demo_through_setup(const std::string& folder) {
    const fs::path root = fs::absolute(folder);
    const fs::path program = root / "c" / "PXDROM";
    std::string error;
    if (!plat::load_drive_table((program / "PXDRIVES.SYS").string(), &error)) return error;
    Session session;
    fs::current_path(program);

    // The first CD in drive E:; each request for another is answered by
    // putting in the next.
    const std::vector<std::string> cds = {"E1", "E2", "EF"};
    size_t loaded = 0;
    plat::set_drive('E', (root / "cd" / cds[0]).string(), plat::kDriveCdrom);
    plat::set_message_box_hook([&](const std::string&, const std::string&, uint32_t) {
        if (++loaded >= cds.size()) return static_cast<int32_t>(plat::kIdCancel);
        plat::set_drive('E', (root / "cd" / cds[loaded]).string(), plat::kDriveCdrom);
        return static_cast<int32_t>(plat::kIdRetry);
    });

    if (int32_t r = drom_init(); r != 0) return failed("the start of the catalogue environment", r);
    char cpath[80] = {}, fpath[80] = {};
    VbString cp{cpath, sizeof cpath}, fp{fpath, sizeof fpath};
    if (int32_t r = stup_make_tmpfile(&cp, &fp, 0); r != 0) return failed("stup_make_tmpfile", r);
    const fs::path work = program / "WORK";
    if (error = choose(work); !error.empty()) return error;
    int32_t r = stup_main_proc();
    plat::set_drive('E', (root / "cd" / "E2").string(), plat::kDriveCdrom);
    if (r != 0) return failed("stup_main_proc", r);
    if (loaded != cds.size() - 1) return "the set-up asked for " + std::to_string(loaded) + " CDs after the first";
    // The screen removes its selection files when it closes.
    fs::remove(work / "CATALOG.TMP");
    fs::remove(work / "FRAME.TMP");
    drom_term();

    // The environment file as the set-up rewrote it, for the dealer's files.
    if (r = drom_init(); r != 0) return failed("the start after the set-up", r);
    const fs::path dealer = root / "dealer";
    if (error = import_prices(dealer); !error.empty()) return error;
    if (error = import_local_parts(dealer); !error.empty()) return error;
    return "";
}

}  // namespace pxdemo
