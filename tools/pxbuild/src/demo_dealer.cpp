// The demo dealer's own files: the demo's prices and local parts in the
// forms the set-up reads, so that the demo can be brought in as a dealer
// brings in his.
#include <filesystem>

#include "pxbuild/bytes.h"
#include "pxbuild/dealer_sources.h"
#include "pxbuild/demo_dprc.h"
#include "pxbuild/demo_localp.h"

namespace fs = std::filesystem;

namespace pxbuild {

void write_demo_dealer_files(const std::string& host_folder) {
    fs::path root(host_folder);
    fs::create_directories(root / "PICS");
    std::string fixed;
    for (const auto& r : demo::kakaku_records()) fixed += r;
    write_text((root / "PRICE").string(), fixed);
    fixed.clear();
    for (const auto& r : demo::price3_records()) fixed += r;
    write_text((root / "PRICE3").string(), fixed);

    // The fields of each set, from the record's start.
    const std::vector<int> widths[] = {{12, 12, 4, 4, 30}, {6, 6, 12, 4, 4, 30}, {6, 4, 30, 12, 12, 4, 4, 30, 30}};
    for (int set = 1; set <= 3; ++set)
        write_text((root / ("LOCALP" + std::to_string(set))).string(),
                   dealer_csv(demo::local_price_records(set), widths[set - 1]));
    for (const auto& [name, bytes] : demo::local_pictures()) write_file((root / "PICS" / name).string(), bytes);
}

}  // namespace pxbuild
