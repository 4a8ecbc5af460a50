#include "newp_sides.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "newp/newp_layout.h"
#include "newp_state.h"
#include "platform/files.h"
#include "pxall/cdrom.h"
#include "pxall/fdtable.h"
#include "pxall/part_records.h"
#include "pxall/texts.h"

namespace newp {

namespace {

namespace fr = pxall::figind_rec;
constexpr int32_t kBlock = pxall::keyed::kBlockSize;
// The earlier issue is asked for with the catalogue CD request.
constexpr int kAskEarlier = 0;

const unsigned char* step(Blocks* b) {
    while (b->block < b->count) {
        if (++b->rec < fr::kPerBlock) {
            const unsigned char* r = b->buf + static_cast<size_t>(b->block) * kBlock + static_cast<size_t>(b->rec) * fr::kSize;
            if (r[0] != 0) return r;
        }
        b->block++;
        b->rec = -1;
    }
    return nullptr;
}

// The catalogue code of the last record of a block.
const unsigned char* last_record(const unsigned char* block) {
    const unsigned char* last = nullptr;
    for (int i = 0; i < fr::kPerBlock && block[static_cast<size_t>(i) * fr::kSize] != 0; ++i)
        last = block + static_cast<size_t>(i) * fr::kSize;
    return last;
}

}  // namespace

Side::Side(const char* code, unsigned char* buf) {
    std::memcpy(code_, code, sizeof code_);
    b_.buf = buf;
}

int Side::advance() {
    rec_ = nullptr;
    if (ended_) return 0;
    for (;;) {
        const unsigned char* r = step(&b_);
        if (r == nullptr) {
            int x = refill();
            if (x == -1) break;
            if (x != 0) return x;
            b_.block = 0;
            b_.rec = -1;
            continue;
        }
        int c = std::memcmp(r + fr::kCatalog, code_, sizeof code_);
        if (c < 0) continue;  // before the catalogue, in the first blocks read
        if (c > 0) break;     // the next catalogue
        rec_ = r;
        return 0;
    }
    ended_ = true;
    return 0;
}

int HandleSide::refill() {
    int32_t got = 0, pos = 0;
    int detail = 0;
    b_.count = 0;
    int r = pxall::cdread(b_.buf, nullptr, 0, kReadBlocks, &got, &pos, *h_, &detail);
    if (r == -1) return -1;
    if (r != 0) {
        log(function_, "cdread", r, detail, 40);
        return kFailed;
    }
    b_.count = got;
    next_ = pos + got;
    return 0;
}

CopiedSide::~CopiedSide() {
    if (fd_ >= 0) pxall::close2(fd_);
    delete_work(true, false, false);
}

int CopiedSide::start() { return round(true); }

int CopiedSide::round(bool first) {
    State& s = st();
    if (fd_ >= 0) {
        pxall::close2(fd_);
        fd_ = -1;
    }
    delete_work(true, false, false);
    int drive = -1;
    char id[3] = {}, date[9] = {};
    int r = find_comparison(&drive, id, date);
    if (r != 0) return r;
    int detail = 0;
    pxall::cdclose(&s.fig_cmp, nullptr);
    r = pxall::cdopen_direct("FIGIND.DAT", "", 15, drive, kAskEarlier, id, nullptr, date, 0, 0, 1, &s.fig_cmp, &detail);
    if (r == 4) return 4;
    if (r != 0) {
        log("newp_set_work", "cdopen_direct", r, detail, 41);
        return kFailed;
    }
    char code[7] = {};
    std::memcpy(code, s.code, 6);
    r = first ? pxall::cdseek_key(code, 6, s.fig_cmp, &detail) : pxall::cdseek(pxall::kDataSlot, cd_next_, s.fig_cmp, &detail);
    if (r == -1) {
        pxall::cdclose(&s.fig_cmp, nullptr);
        if (first) return 1;
        cd_done_ = true;
        return restore_();
    }
    if (r != 0) {
        log("newp_set_work", first ? "cdseek_key" : "cdread", r, detail, 42);
        return kFailed;
    }
    int fd = pxall::open2(s.paths[kPathCopy], O_CREAT | O_TRUNC | O_RDWR, 0600);
    if (fd < 0) {
        log("newp_set_work", "open", 11, errno, 43);
        return kFailed;
    }
    for (int n = 0; n < kRoundReads; ++n) {
        int32_t got = 0, pos = 0;
        r = pxall::cdread(b_.buf, nullptr, 0, kReadBlocks, &got, &pos, s.fig_cmp, &detail);
        if (r == -1) {
            cd_done_ = true;
            break;
        }
        if (r != 0) {
            pxall::close2(fd);
            log("newp_set_work", "cdread", r, detail, 44);
            return kFailed;
        }
        size_t bytes = static_cast<size_t>(got) * kBlock;
        if (::write(fd, b_.buf, bytes) != static_cast<ssize_t>(bytes)) {
            pxall::close2(fd);
            log("newp_set_work", "fwrite", 13, errno, 45);
            return kFailed;
        }
        cd_next_ = pos + got;
        // Blocks past the catalogue are of no use to the comparison.
        const unsigned char* last = got > 0 ? last_record(b_.buf + static_cast<size_t>(got - 1) * kBlock) : nullptr;
        if (last != nullptr && std::memcmp(last + fr::kCatalog, s.code, 6) > 0) {
            cd_done_ = true;
            break;
        }
    }
    pxall::cdclose(&s.fig_cmp, nullptr);
    if (::lseek(fd, 0, SEEK_SET) != 0) {
        pxall::close2(fd);
        log("newp_set_work", "fseek", 15, errno, 46);
        return kFailed;
    }
    fd_ = fd;
    b_.count = 0;
    return restore_();
}

int CopiedSide::refill() {
    for (;;) {
        if (fd_ >= 0) {
            ssize_t n = ::read(fd_, b_.buf, kBufSize);
            if (n < 0) {
                log("newp_make_data2", "read", 14, errno, 47);
                return kFailed;
            }
            if (n > 0) {
                // A short last block reads as zero records past its end.
                if (n % kBlock != 0) std::memset(b_.buf + n, 0, static_cast<size_t>(kBlock - n % kBlock));
                b_.count = static_cast<int32_t>((n + kBlock - 1) / kBlock);
                return 0;
            }
        }
        if (cd_done_) return -1;
        int r = round(false);
        if (r != 0) return r;
    }
}

int find_comparison(int* drive, char* id, char* date) {
    State& s = st();
    int drives = s.top != nullptr ? s.top[pxall::ctop::kDriveCount] : 0;
    if (drives > pxall::ctop::kMaxDrives) drives = pxall::ctop::kMaxDrives;
    for (;;) {
        for (int d = 0; d < drives; ++d) {
            char ident[pxall::kCdIdentSize];
            int err = 0;
            if (pxall::cdread_head(d, ident, &err) != 0) continue;
            if (ident[0] != s.cat_name[0] || ident[1] < '0' || ident[1] > '9') continue;
            if (std::memcmp(ident + 2, s.cat_date, 8) >= 0) continue;
            *drive = d;
            std::memcpy(id, ident, 2);
            std::memcpy(date, ident + 2, 8);
            return 0;
        }
        char cd_id[3] = {s.cat_name[0], s.cat_name[1], 0};
        int answer = 0;
        int r = pxall::disp_msgbox(pxall::cdmsgid(kAskEarlier), -1, cd_id, nullptr, &answer);
        if (r != 0) {
            log("newp_cd_set", "MessageBox", r, 0, 48);
            return kFailed;
        }
        if (answer != 2) return 4;
    }
}

}  // namespace newp
