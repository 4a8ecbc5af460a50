#include "pxbuild/demo_install.h"

#include <cstdio>
#include <filesystem>

#include "pxbuild/cd_writer.h"
#include "pxbuild/dealer_sources.h"
#include "pxbuild/demo_bunz.h"
#include "pxbuild/demo_data.h"
#include "pxbuild/demo_emok.h"
#include "pxbuild/demo_dprc.h"
#include "pxbuild/demo_localp.h"
#include "pxbuild/demo_parts.h"
#include "pxbuild/demo_vehicle_info.h"
#include "pxbuild/installer.h"
#include "pxbuild/keyed_writer.h"
#include "pxbuild/price_writer.h"
#include "demo_groups.h"
#include "demo_help.h"
#include "demo_savefiles.h"
#include "demo_texts.h"

namespace fs = std::filesystem;

namespace pxbuild {

namespace {

struct CdDef {
    const char* id;
    const char* date;
    const char* cd_no;
    char install_kind;
};

constexpr CdDef kCds[] = {
    {"E1", "20240115", "A1", '1'},
    {"E2", "20240115", "A2", '0'},
};

// The frame-number CD of the world frame numbers.
constexpr const char* kFrameCd = "EF";
constexpr const char* kFrameCdDate = "20240115";

void write_cd(const std::string& folder, const CdDef& cd, DemoSummary* sum) {
    CdWriter w(folder, cd.id, cd.date);
    demo::RootFiles r = demo::root_files(cd.id);
    w.put_keyed("", "SHAMEI.DAT", build_keyed("SHAMEI.DAT", r.shamei));
    w.put_jouhou(build_jouhou(r.jouhou));
    w.put_keyed("", "FRAMNO.DAT", build_keyed("FRAMNO.DAT", r.framno));
    w.put_keyed("", "RYAKUG.DAT", build_keyed("RYAKUG.DAT", r.ryakug));
    w.put_keyed("", "FIGM01.DAT", build_keyed("FIGM01.DAT", r.figm01));
    w.put_keyed("", "HINM01.DAT", build_keyed("HINM01.DAT", r.hinm01));
    w.put_keyed("", "FIGIND.DAT", build_keyed("FIGIND.DAT", r.figind));
    w.put("", "KATARG.DAT", build_plain(253, r.katarg));
    if (std::string(cd.id) == "E1") w.put_keyed("", "FRKATA.DAT", build_keyed("FRKATA.DAT", demo::frkata()));

    for (const auto& cat : demo::catalogs()) {
        if (cat.cd_id != cd.id) continue;
        demo::CatalogFiles f = demo::catalog_files(cat);
        w.put_keyed(cat.code, "HCODEH.DAT", build_keyed("HCODEH.DAT", f.hcodeh));
        w.put_keyed(cat.code, "BUINDE.DAT", build_keyed("BUINDE.DAT", demo::illustration_pages(cat)));
        w.put_keyed(cat.code, "HINBAN.DAT", build_keyed("HINBAN.DAT", f.hinban));
        w.put_keyed(cat.code, "KIRIKA.DAT", build_keyed("KIRIKA.DAT", f.kirika));
        w.put_keyed(cat.code, "TOKUME.DAT", build_keyed("TOKUME.DAT", f.tokume));
        w.put_keyed(cat.code, "KIGOUU.DAT", build_keyed("KIGOUU.DAT", f.kigouu));
        sum->catalogs++;
    }
    // The vehicle information of the whole area, with its VINs, frame
    // numbers and feature texts, replaces the plain tables above.
    write_vehicle_info(w, cd.id, std::string(cd.id) == "E1");
    // The sectional illustrations and the illustration index pictures
    // (IMAGEF.DAT), with each catalogue's index pages (EMINDE.DAT).
    write_demo_index(w, cd.id);
}

const char* kEnvironment =
    "ECRAM=C:\\PXDROM\\WORK\r\n"
    "ECMST=C:\\MST\r\n"
    "ECFIL=C:\\PXDROM\\PRG\r\n"
    "LANGUAGE=ENGLISH\r\n"
    "MENULANG=ENGLISH\r\n"
    "CDROM=E:,F:\r\n"
    "PRICE=P:\r\n"
    "LOCALP=C:\r\n"
    "CRNTAREA=EU\r\n"
    "ECMSTALL=EU:C\r\n"
    "FRAMEWLD=C:\\FRW\r\n"
    "FRAMEJPN=C:\\FRJ\r\n"
    "EXPPPNHO=C:\\PXDROM\\PXPNHO\r\n"
    "EXPPFSAD=C:\\PXDROM\\PXEDIT\r\n";

// The export programs the environment file names: each notes the file it
// was handed in EXPORTS.LOG beside it, where a dealer's own program would
// take the list into his shop system.
const char* kExportProgram =
    "#!/bin/sh\n"
    "# Demo export program: notes each exported file it is handed.\n"
    "echo \"$(date '+%Y-%m-%d %H:%M:%S') $(basename \"$0\") $*\" >> \"$(dirname \"$0\")/EXPORTS.LOG\"\n";

// Relative to the drive table's own folder, c/PXDROM.
const char* kDriveTable =
    "# Drives of the demo installation\n"
    "C=..\n"
    "E=../../cd/E2,cdrom\n"
    "F=../../cd/E1-2023,cdrom\n"
    "P=../../p\n"
    "A=../../dealer,removable\n";

}  // namespace

DemoSummary write_demo_media(const std::string& folder) {
    DemoSummary sum;
    fs::path root(folder);
    fs::path c = root / "c";
    for (const char* d : {"PXDROM/PRG", "PXDROM/WORK", "MST", "FRW", "FRJ"}) fs::create_directories(c / d);
    fs::create_directories(root / "p");  // drive P:, the price drive

    for (const auto& cd : kCds) write_cd((root / "cd" / cd.id).string(), cd, &sum);
    CdWriter frame((root / "cd" / kFrameCd).string(), kFrameCd, kFrameCdDate);
    frame.put_keyed("", "FRKATA.DAT", build_keyed("FRKATA.DAT", demo::frkata()));
    // The earlier issue of the first CD, for the part-number list's comparison.
    write_demo_earlier_issue(folder);
    // Every CD carries the whole area's vehicles: count them once.
    sum.vehicles = static_cast<int>(demo::vehicle_files("E1").jouhou.size());
    sum.part_numbers = static_cast<int>(demo::all_part_numbers().size());
    write_demo_dealer_files((root / "dealer").string());

    write_text((c / "PXDROM" / "PXDROM.SYS").string(), kEnvironment);
    write_text((c / "PXDROM" / "PXDRIVES.SYS").string(), kDriveTable);
    for (const char* program : {"PXPNHO", "PXEDIT"}) {
        fs::path p = c / "PXDROM" / program;
        write_text(p.string(), kExportProgram);
        fs::permissions(p, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                        fs::perm_options::add);
    }

    // Texts and help in the program files, the screen texts where the
    // program starts; the workshop's part groups and saved lists.
    demo::write_demo_texts((c / "PXDROM" / "PRG").string(), (c / "PXDROM").string());
    demo::write_demo_help((c / "PXDROM" / "PRG").string());
    demo::write_demo_groups((c / "MST").string());
    pxdemo::write_demo_saved_lists((c / "MST").string());
    return sum;
}

DemoSummary write_demo(const std::string& folder) {
    DemoSummary sum = write_demo_media(folder);
    fs::path root(folder);
    fs::path c = root / "c";
    Installer inst;
    for (const auto& cd : kCds) {
        InstallSpec job;
        job.cd_folder = (root / "cd" / cd.id).string();
        job.target_dir = (c / "MST").string();
        job.dir_name = cd.id;
        job.install_kind = cd.install_kind;
        job.cd_no = cd.cd_no;
        inst.install_catalog_cd(job);
    }
    InstallSpec frame;
    frame.cd_folder = (root / "cd" / kFrameCd).string();
    frame.target_dir = (c / "FRW").string();
    frame.dir_name = "EF";
    frame.install_kind = '1';
    frame.cd_no = "F1";
    inst.install_frame_set(frame);

    // KAKAKU on C:, PRICE3 with its three prices on P: (the one in force).
    write_demo_prices((c / "MST").string(), (root / "p" / "MST").string());
    write_demo_local_prices((c / "MST").string());
    return sum;
}

}  // namespace pxbuild
