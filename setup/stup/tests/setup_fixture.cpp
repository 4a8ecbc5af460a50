#include "setup_fixture.h"

#include <cstring>
#include <filesystem>

#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/msgbox.h"
#include "platform/space.h"
#include "pxall/texts.h"
#include "pxbuild/setup_cds.h"

namespace fs = std::filesystem;
using namespace pxall;

namespace stuptest {

std::string default_sys() {
    return "ECRAM=C:\\WORK\r\n"
           "ECMST=C:\\MST\r\n"
           "LANGUAGE=ENGLISH\r\n"
           "MENULANG=ENGLISH\r\n"
           "CDROM=Q:,R:,S:\r\n"
           "ECFIL=C:\\PRG\r\n"
           "PRICE=C:\r\n"
           "LOCALP=C:\r\n"
           "CRNTAREA=EU\r\n"
           "ECMSTALL=EU:C\r\n"
           "FRAMEWLD=C:\\FRW\r\n"
           "FRAMEJPN=C:\\FRJ\r\n"
           "EXPPPNHO=C:\\PXDROM\\PXPNHO\r\n"
           "EXPPFSAD=C:\\PXDROM\\PXEDIT\r\n";
}

SetupEnv::SetupEnv(int scale) {
    plat::fix_clock(2024, 6, 20, 9, 30, 0);
    unsigned char* t = top();
    pxtest::set_field(t, ctop::kMasterDir, ctop::kDirSize, "C:\\MST");
    pxtest::set_field(t, ctop::kWorkDir, ctop::kDirSize, "C:\\WORK");
    pxtest::set_field(t, ctop::kProgramDir, ctop::kDirSize, "C:\\PRG");
    pxtest::set_field(t, ctop::kFrameWorldDir, ctop::kDirSize, "C:\\FRW");
    pxtest::set_field(t, ctop::kFrameJapanDir, ctop::kDirSize, "C:\\FRJ");
    pxtest::set_field(t, ctop::kDataLangCode, 3, "01");
    pxtest::set_field(t, ctop::kMenuLangCode, 3, "01");
    put_i16(t + ctop::kDataLangNo, 1);
    put_i16(t + ctop::kMenuLangNo, 1);
    put_i32(t + ctop::kAreaIndex, 0);
    t[ctop::kAreaDrives] = 'C';
    const char drives[] = "Q:R:S:";
    t[ctop::kDriveCount] = 3;
    std::memcpy(t + ctop::kDrives, drives, 6);
    for (const char* d : {"MST", "WORK", "FRW", "FRJ", "PRG"}) env_.mkdir(d);
    env_.write("PRG/PXDROM01.MSG",
               "810This is not the CD wanted [\n810insert the CD [\n"
               "881Please insert into drive [\n881the catalogue CD [\n"
               "882Please insert into drive [\n882the frame CD [\n");
    env_.write("PXDROM01.SCR", "0111 ANY DRIVE\n0112 EU-CAT\n0113 GR-CAT\n0114 US-CAT\n0115 JP-CAT\n0126 EU-FRM\n");
    set_msg();
    set_scr();
    write_sys(default_sys());
    pxbuild::write_setup_cds((fs::path(root()) / "cd").string(), scale);
    for (char d : {'Q', 'R', 'S'}) insert(d, "");
    // Room for every full copy the tests make.
    plat::set_disk_space_limit('C', int64_t{100} << 30);
    plat::set_disk_space_limit('D', int64_t{100} << 30);
    clear_selection();
    plat::set_message_box_hook([this](const std::string& text, const std::string&, uint32_t) {
        shown_.push_back(text);
        if (steps_.empty()) return static_cast<int32_t>(plat::kIdCancel);
        Step s = steps_.front();
        steps_.erase(steps_.begin());
        if (s.drive != 0) insert(s.drive, s.folder);
        return static_cast<int32_t>(s.answer);
    });
}

SetupEnv::~SetupEnv() {
    plat::set_message_box_hook({});
    plat::clear_disk_space_limits();
    plat::unfix_clock();
    free_msg();
    free_scr();
}

void SetupEnv::insert(char drive, const std::string& folder) {
    std::string rel = folder.empty() ? std::string("no-disc-") + drive : "cd/" + folder;
    env_.map_drive(drive, rel, plat::kDriveCdrom, false);
}

namespace {
void fill_block(unsigned char* b, char drive, const std::vector<Choice>& cds, bool selected) {
    std::memset(b, ' ', 122);
    b[0] = selected ? '1' : ' ';
    b[1] = static_cast<unsigned char>(drive);
    for (size_t j = 0; j < cds.size() && j < 10; ++j) {
        unsigned char* e = b + 2 + 12 * j;
        std::memcpy(e, cds[j].code.data(), 2);
        std::memcpy(e + 2, cds[j].issue.data(), 8);
        e[10] = static_cast<unsigned char>(cds[j].kind);
    }
}
}  // namespace

void SetupEnv::select_area(int area, char drive, const std::vector<Choice>& cds, bool selected) {
    fill_block(catalog + 122 * area, drive, cds, selected);
}

void SetupEnv::select_frame(int block, char drive, const std::vector<Choice>& cds, bool selected) {
    fill_block(frame + 122 * block, drive, cds, selected);
}

void SetupEnv::clear_selection() {
    for (int a = 0; a < 4; ++a) fill_block(catalog + 122 * a, 'C', {}, false);
    for (int b = 0; b < 2; ++b) fill_block(frame + 122 * b, 'C', {}, false);
}

void SetupEnv::write_selection() {
    env_.write("WORK/CATALOG.TMP", std::string(reinterpret_cast<char*>(catalog), sizeof catalog));
    env_.write("WORK/FRAME.TMP", std::string(reinterpret_cast<char*>(frame), sizeof frame));
}

void SetupEnv::script(std::vector<Step> steps) {
    steps_ = std::move(steps);
    shown_.clear();
}

std::string SetupEnv::sys() const { return env_.read("PXDROM.SYS"); }
void SetupEnv::write_sys(const std::string& text) const { env_.write("PXDROM.SYS", text); }

std::string SetupEnv::value(const std::string& key) const {
    std::string all = sys();
    size_t at = 0;
    while (at < all.size()) {
        size_t nl = all.find('\n', at);
        std::string line = all.substr(at, nl == std::string::npos ? std::string::npos : nl - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, key.size() + 1, key + "=") == 0) return line.substr(key.size() + 1);
        if (nl == std::string::npos) break;
        at = nl + 1;
    }
    return "";
}

std::vector<std::string> SetupEnv::setup_names() const {
    std::vector<std::string> out;
    int n = get_i32(top() + ctop::kSetupCount);
    for (int i = 0; i < n; ++i) out.emplace_back(reinterpret_cast<const char*>(setup_entry_addr(i)), 2);
    return out;
}

}  // namespace stuptest
