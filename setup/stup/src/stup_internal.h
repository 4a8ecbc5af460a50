// The set-up library's working storage for one run and the routines its
// parts share. Not re-entrant: one run at a time on the caller's thread.
//
// Set-up status block (122 bytes, blank-filled; CATALOG.TMP four of them in
// area order E, G, U, J, FRAME.TMP two, world then Japan, DRVINFO.TMP one):
//     0  1  '1' selected for set-up, blank otherwise
//     1  1  drive letter that holds (or is to hold) the block's data sets
//     2 120 ten CD entries of 12 bytes, entry j at 2 + 12 j:
//              0 2  CD code ("A1", "B3", "F1"); NUL or blank: empty
//              2 8  CD issue; 8 blanks: install anew; "yyyymmdd": keep the
//                   installed issue
//             10 1  install kind '1' full copy, '0' master files only
//             11 1  '1' when the CD is in a CD drive as the file is written
//
// CD work entry (one per CD of the block being installed): directory name
// (area letter + directory character), CD code, issue, state 0 new, 1 asked
// for, 2 installed, install kind.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "platform/export.h"

namespace pxstup {

constexpr int kBlockSize = 122;
constexpr int kCdEntries = 10;
constexpr int kCdEntrySize = 12;
constexpr int kCatalogImage = 4 * kBlockSize;  // 488
constexpr int kFrameImage = 2 * kBlockSize;    // 244
namespace blk {
constexpr int kSelected = 0;
constexpr int kDrive = 1;
constexpr int kEntries = 2;
}  // namespace blk
namespace cde {
constexpr int kCode = 0;
constexpr int kIssue = 2;
constexpr int kKind = 10;
constexpr int kInDrive = 11;
}  // namespace cde

constexpr const char kAreaLetters[] = "EGUJ";
constexpr const char* kAreaNames[4] = {"EU", "GR", "US", "JP"};

// Results the screens show.
constexpr int kCancelled = 4;
constexpr int kNoSpace = 871;
constexpr int kDiskFull = 884;
// A CD code for which no data set directory exists (B8, B9).
constexpr int kBadCdCode = 128;
// Message of the wrong-CD box and the message option of the CD request.
constexpr int kWrongCdMessage = 810;
constexpr int kCdRequestOption = 705;

struct AreaWork {
    char letter;
    uint8_t first_cd;  // 1 while the CD-number table of the first CD is to be made
    int32_t count;
};

struct CdWork {
    char name[2];
    char code[2];
    char issue[8];
    int32_t state;
    char kind;
};

struct RunState {
    AreaWork area[4];
    CdWork cd[kCdEntries];
    char asked[kCdEntries][2];
    int asked_count;
    int cd_drive;                  // drive index of the CD last checked
    char drive_ids[10][10];        // per CD drive: issue 8, CD id 2
    std::vector<uint8_t> cdno;     // CD-number table of the block's first CD
    unsigned char catalog[kCatalogImage];
    unsigned char frame[kFrameImage];
    int32_t syserr;                // system error number of the last failing call
    // Data sets the choice drops, removed once the run has recorded the new state.
    std::vector<std::string> dropped;
    // A set dropped or replaced could not be removed (logged; the next
    // start-up removes it).
    bool unremoved;
};

PX_EXPORT RunState& run();

// --- Small helpers ---------------------------------------------------------
bool blank(char c);
// A shared-state directory field as a string, without a trailing backslash.
std::string state_dir(size_t at);
// The path with its drive letter replaced (a path that names no drive is
// returned unchanged).
std::string on_drive(std::string path, char drive);
std::string join(const std::string& dir, const std::string& name);
// Creates a directory and the ones above it that are missing.
bool make_dirs(const std::string& win_path);
// Writes n bytes to fp, charged to the drive of win_path; false with errno.
bool put_bytes(std::FILE* fp, const std::string& win_path, const void* data, size_t n);
// A whole file, created or emptied, written in one piece charged to its
// drive: 0, or the C error number.
int put_file(const std::string& win_path, const void* data, size_t n);
// A stream that reads or writes a whole dealer or price file gets a buffer
// of this size, so that the file passes in a few calls a megabyte.
constexpr size_t kStreamBuffer = size_t{64} << 10;
// Gives a stream just opened the buffer `buf` (sized here), which must
// outlive the stream.
inline void buffer_stream(std::FILE* fp, std::vector<char>& buf) {
    if (fp == nullptr) return;
    buf.resize(kStreamBuffer);
    std::setvbuf(fp, buf.data(), _IOFBF, buf.size());
}
// --- The dealer's sources (source_lines.cpp) --------------------------------
// A source with a record that is not whole or not printable, or out of order.
constexpr int kSourceBadRecord = 848;
constexpr int kSourceUnread = 14;
// True when n bytes hold no control character (nor a zero byte).
bool printable(const char* p, size_t n);
// A line end or the end mark: after a source's last record these are no
// records.
inline bool line_end(char c) { return c == '\r' || c == '\n' || c == 0x1a; }
// The lines of a text source, without their line ends. Blank lines at the
// very end are no records; a blank line before another line, a line longer
// than `limit` or one with a control character is refused.
// The stream is read a large piece at a time (the caller's buffer for it is
// not needed).
class SourceLines {
public:
    SourceLines(std::FILE* fp, size_t limit) : fp_(fp), limit_(limit) {}
    // 1 a line in *line; 0 the end; kSourceBadRecord; kSourceUnread (errno).
    int next(std::string* line);

private:
    // More bytes into buf_: false at the end of the stream or on an error.
    bool fill();
    std::FILE* fp_;
    size_t limit_;
    int held_ = 0;  // blank lines read and not yet known to be the end
    std::vector<char> buf_;
    size_t at_ = 0, end_ = 0;  // the bytes of buf_ not yet taken
};

// A file written while its bytes are still being made: each piece of a
// megabyte goes to the file as soon as it is made and the disk starts
// taking it at once, so that the flush before a commit finds little left.
class PieceWriter {
public:
    explicit PieceWriter(std::string win_path) : path_(std::move(win_path)) {}
    ~PieceWriter();
    PieceWriter(const PieceWriter&) = delete;
    PieceWriter& operator=(const PieceWriter&) = delete;
    // Writes the whole pieces `bytes` holds past the part written (a page
    // is never written twice); the part written must stay as it is. False
    // with error().
    bool keep_up(const std::vector<char>& bytes) {
        return bytes.size() < written_ + kPiece || write_to(bytes.data(), bytes.size() / kPiece * kPiece);
    }
    // The file holds exactly n bytes, which begin with the part written:
    // 0, or the C error number (charged writes as put_bytes).
    int finish(const char* bytes, size_t n);
    int error() const { return error_; }

private:
    static constexpr size_t kPiece = size_t{1} << 20;
    bool write_to(const char* bytes, size_t end);
    std::string path_;
    std::FILE* fp_ = nullptr;
    size_t written_ = 0;
    int error_ = 0;
};

// The data language code, two characters.
std::string data_lang();
// 1 for a digit, as the directory rule and the scans read it.
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }
// An issue that names a date (a digit first), not "yyyymmdd" or blanks.
bool known_issue(const char* issue);

// --- Work tables and data set directories ------------------------------------
// The directory character of a CD code: catalogue "A1" '1', "A " ' ' (filled
// from the CD-number table), "B1".."B7" '3'..'9'; frame 'F' for a second
// character '1', else 'G'. 0 when the code has none (B8, B9, others).
PX_EXPORT char dir_char(const char* code, bool frame);
PX_EXPORT void stup_cd_dir_name(const char* code, char area_letter, char* out);
PX_EXPORT void stup_remove_setup_dir(const char* name);
// Index 0-3 of an area letter, -1 for another.
int area_index(char letter);

// --- Master files --------------------------------------------------------------
PX_EXPORT int stup_root_file(int k);
PX_EXPORT int stup_catalog_file(int k);
PX_EXPORT int stup_rootmf_file(int k, int block);
// A data set is built under "$<name>" beside its directory
// (pxall/dataset_folder.h) and put in place whole once every file is written
// and flushed, so a kill, a full disk or a cancelled CD request leaves the
// set in force; a killed run's is removed at the next start-up or set-up.
std::string building_dir(const std::string& base, const char* name);
// The set built replaces the one in force, which is then removed: 0, or 13
// with run().syserr (the set in force stays).
int put_set_in_place(const std::string& base, const char* name);
// Removes a set being built (a failed or cancelled copy).
void drop_building(const std::string& base, const char* name);
// Removes a folder set aside or half built; one that will not go is logged
// and noted in run().unremoved.
void remove_aside(const std::string& win_dir);
// A set leaves the list in one step, then its files go: 0, or
// pxall::kNotRemoved (logged) when it could not be set aside (it stays
// listed, whole) or not removed (run().unremoved).
int drop_set(const std::string& win_dir);
// Copies a CD file (host-side stream) of expected_blocks blocks to the end
// of dst: 0, 13, 14, 15, 20.
int stup_write_setup_file(std::FILE* src, std::FILE* dst, const std::string& dst_path, int32_t expected_blocks);

// --- CD check ------------------------------------------------------------------
PX_EXPORT int stup_cd_check(int k, int mode);
PX_EXPORT int stup_cd_make_cdno_table(int k, int mode);
PX_EXPORT int stup_pxrootmf_rmak(const char (*names)[2], int count);

// --- Environment file --------------------------------------------------------
PX_EXPORT int Updt_Sys_File(const unsigned char* catalog, const unsigned char* frame, int mode);
PX_EXPORT int Updt_Sys_File_F4(const unsigned char* catalog, const unsigned char* frame);

// --- Set-up run ----------------------------------------------------------------
PX_EXPORT int stup_cd_setup();
PX_EXPORT int stup_check_space(char drive, int32_t* free_mb, int area_index, int cd_count);
PX_EXPORT int stup_check_space2(char drive, int32_t* free_mb, int frame_index, int cd_count);

}  // namespace pxstup
