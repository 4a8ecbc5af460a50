// Free disk space against what the CDs of a block need.
#include <cstring>

#include "platform/errors.h"
#include "platform/space.h"
#include "pxall/blocks.h"
#include "stup_internal.h"

namespace pxstup {

namespace {

constexpr int32_t kFullCopyMb = 650;
constexpr int32_t kMastersMb = 15;
constexpr int32_t kMastersJapanMb = 25;
constexpr int32_t kFrameMastersMb = 1;
constexpr uint64_t kMb = 1048576;

// True when the set-up table holds the work entry's data set with the same
// install kind.
bool installed_alike(const CdWork& w) {
    const unsigned char* top = pxall::get_ctop_addr();
    int n = pxall::get_i32(top + pxall::ctop::kSetupCount);
    for (int i = 0; i < n && i < pxall::ctop::kMaxSetup; ++i) {
        const unsigned char* e = pxall::setup_entry_addr(i);
        if (std::memcmp(e + pxall::setup_entry::kName, w.name, 2) != 0) continue;
        if ((e[pxall::setup_entry::kPictureFlag] == 1) == (w.kind == '1')) return true;
    }
    return false;
}

int check(char drive, int32_t* free_mb, int block, int cd_count, bool frame) {
    const unsigned char* top = pxall::get_ctop_addr();
    char recorded = 0;
    if (!frame)
        recorded = static_cast<char>(top[pxall::ctop::kAreaDrives + 2 * static_cast<size_t>(block)]);
    else
        recorded = static_cast<char>(top[block == 4 ? pxall::ctop::kFrameWorldDir : pxall::ctop::kFrameJapanDir]);

    int64_t required = 0;
    for (int k = 0; k < cd_count; ++k) {
        const CdWork& w = run().cd[k];
        if (recorded == drive && installed_alike(w)) continue;
        if (w.kind == '1')
            required += kFullCopyMb;
        else if (frame)
            required += kFrameMastersMb;
        else
            required += block == 3 ? kMastersJapanMb : kMastersMb;
    }

    char root[4] = {drive, ':', '\\', 0};
    uint32_t spc = 0, bps = 0;
    uint64_t clusters = 0;
    if (!plat::disk_free_clusters(root, &spc, &bps, &clusters)) {
        run().syserr = plat::last_error();
        return -1;
    }
    uint64_t mb = uint64_t{spc} * bps * clusters / kMb;
    *free_mb = mb > 0x7fffffff ? 0x7fffffff : static_cast<int32_t>(mb);
    return static_cast<int64_t>(mb) < required ? kNoSpace : 0;
}

}  // namespace

int stup_check_space(char drive, int32_t* free_mb, int area, int cd_count) {
    return check(drive, free_mb, area, cd_count, false);
}

int stup_check_space2(char drive, int32_t* free_mb, int frame_index, int cd_count) {
    return check(drive, free_mb, frame_index, cd_count, true);
}

}  // namespace pxstup
