// The part-number list's state between the screen's calls.
#pragma once

#include <cstdint>
#include <cstdio>

#include "pxall/blocks.h"
#include "pxall/keyed_file.h"
#include "pxall/paths.h"

namespace newp {

constexpr const char* kModule = "PXNEWP01";
constexpr const char* kPopupModule = "PXNEWP02";
constexpr int kFailed = -999;
constexpr int kBufSize = 10 * pxall::keyed::kBlockSize;

enum PathSlot { kPathCopy, kPathList, kPathParts, kPathPopup, kPathCsv, kPathCount };

// The end modes of the catalogue list as this list reads them (position 524
// of the current-vehicle block): 3 left with F3; 1 the code was entered
// here (taken from 404); -1 given up.
constexpr int32_t kModeFromInput = 1;
constexpr int32_t kModeF3 = 3;
constexpr int32_t kModeGivenUp = -1;
// Where the entered catalogue code is kept in the current-vehicle block.
constexpr size_t kCarInputCode = 404;
constexpr size_t kInputCodeSize = 15;

struct State {
    unsigned char* top = nullptr;
    unsigned char* car = nullptr;
    unsigned char* next = nullptr;
    char paths[kPathCount][pxall::kPathSize] = {};
    unsigned char* buf_cur = nullptr;  // figure-index blocks of the current CD
    unsigned char* buf_cmp = nullptr;  // and of the earlier issue
    unsigned char cd_table[pxall::ctop::kMaxSetup * pxall::ctop::kSetupEntrySize] = {};
    int32_t cd_count = 0;
    int32_t start_index = -1;  // the start CD: a set-up entry
    char start_no[2] = {};     // its CD number
    // The catalogue of the search.
    char cat_name[2] = {};   // the CD's set-up name ("E1")
    char cat_no[2] = {};     // its CD number
    char cat_date[8] = {};   // its CD date
    int32_t cat_index = -1;  // its set-up entry
    char code[14] = {};
    char car_name[20] = {};
    char from[4] = {}, to[4] = {};
    std::FILE* list = nullptr;
    std::FILE* parts = nullptr;
    std::FILE* csv = nullptr;
    pxall::CdHandle* hinban = nullptr;
    pxall::CdHandle* hinmei = nullptr;
    pxall::CdHandle* fig_cur = nullptr;
    pxall::CdHandle* fig_cmp = nullptr;
};

State& st();
void log(const char* function, const char* step, int code, int second, int place);
char area_letter();
void select_start_cd();
// Closes every file; deletes the work files named (PXNEWP0, 2, 3).
void close_all();
void delete_work(bool copy, bool list, bool parts);
// Whether a set-up entry's data set is a full copy on disk.
bool on_disk(int32_t setup_index);
// Makes the catalogue's CD present (nothing to do for a data set on disk):
// 0, 4 (cancelled) or kFailed.
int cd_set_current(const char* function);
// Builds the list; the message into *msg.
int make_list(int16_t* msg, int32_t* count);

}  // namespace newp
