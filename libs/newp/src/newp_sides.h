// The two sides of the comparison: the figure-index records of the
// catalogue, in key order, on the current CD and on the earlier issue.
#pragma once

#include <cstdint>
#include <functional>

#include "pxall/keyed_file.h"

namespace newp {

// Blocks of the figure index in a buffer and the record reached in them.
struct Blocks {
    unsigned char* buf = nullptr;
    int32_t count = 0;  // blocks held
    int32_t block = 0;
    int rec = -1;
};

class Side {
public:
    virtual ~Side() = default;
    // The catalogue's current record, or null once the side has ended.
    const unsigned char* rec() const { return rec_; }
    bool ended() const { return ended_; }
    // Moves to the catalogue's next record: 0 (rec() null at the end), or
    // a failing code, 4 included.
    int advance();

protected:
    Side(const char* code, unsigned char* buf);
    // Loads the next blocks into b_: 0, -1 when there are none, or a code.
    virtual int refill() = 0;
    Blocks b_;

private:
    char code_[6];
    const unsigned char* rec_ = nullptr;
    bool ended_ = false;
};

// The figure index read from an open handle, ten blocks at a time.
class HandleSide : public Side {
public:
    HandleSide(const char* code, unsigned char* buf, pxall::CdHandle** h, const char* function)
        : Side(code, buf), h_(h), function_(function) {}
    // The block the next read starts at.
    int32_t next_block() const { return next_; }

protected:
    int refill() override;

private:
    pxall::CdHandle** h_;
    const char* function_;
    int32_t next_ = 0;
};

// The earlier issue with a single CD drive: its blocks of the catalogue are
// copied into PXNEWP0.TMP a round at a time while its CD is in the drive,
// and read back from there.
class CopiedSide : public Side {
public:
    // `restore` brings the current CD back after a round: 0, 4 or a code.
    CopiedSide(const char* code, unsigned char* buf, std::function<int()> restore)
        : Side(code, buf), restore_(std::move(restore)) {}
    ~CopiedSide() override;
    // The first round: 0, 1 when the catalogue is not there, 4 or a code.
    int start();

protected:
    int refill() override;

private:
    int round(bool first);
    std::function<int()> restore_;
    int fd_ = -1;
    int32_t cd_next_ = 0;    // the block of the CD's file the next round starts at
    bool cd_done_ = false;   // the catalogue's blocks are all copied
};

// Finds the earlier issue of the catalogue's CD in the drives, asking the
// clerk while it is missing: 0 with its drive, id (2) and date (8); 4
// when the clerk cancels; or kFailed.
int find_comparison(int* drive, char* id, char* date);

}  // namespace newp
