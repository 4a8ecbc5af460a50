// The search's state, kept between the calls of one screen as the screen's
// calling order requires (init, CD choice, inquiries, term).
#pragma once

#include <cstdint>
#include <cstdio>

#include "pxall/keyed_file.h"
#include "pxall/paths.h"

namespace hinb {

constexpr int kCdTableSize = 30;
constexpr int kCdRemembered = 10;
constexpr int kTextSize = 60;
constexpr int kCodeSize = 6;
constexpr int kCatEntrySize = 30;  // set-up index (32-bit), catalogue code 6, car name 20
constexpr int kNameBlocks = 128;  // blocks read and searched at once
constexpr int kMaxNames = 30000;

// Failure inside the library; the exports answer -1.
constexpr int kFailed = -999;

struct State {
    unsigned char* top = nullptr;
    unsigned char* car = nullptr;
    char search_text[kTextSize];
    char search_code[kCodeSize];
    int32_t cd_table[kCdTableSize];
    int32_t cd_count = 0;
    // Catalogue table: kCatEntrySize-byte entries, sorted as byte strings.
    unsigned char* cattbl = nullptr;
    int32_t cat_count = 0;
    // The input block of the last input check.
    bool have_input = false;
    int32_t input_n = 0;
    char input_text[kTextSize + 1];
    char input_code[kCodeSize + 1];
    // CDs on which the last look-up found something (their order of reading).
    int32_t cds_found = 0;
    char* name_buf = nullptr;  // blocks of the part-name scan
    std::FILE* tmp0 = nullptr;
    std::FILE* tmp1 = nullptr;
    std::FILE* tmp2 = nullptr;
    std::FILE* csv = nullptr;
    pxall::CdHandle* shamei = nullptr;
    pxall::CdHandle* hinban = nullptr;
};

State& st();

void log(const char* module, const char* function, const char* step, int code, int second, int place);
// A file's full path (kPathSize bytes) in the work directory or another
// path kind: false when it cannot be built.
bool file_path(const char* name, char* path, int kind = pxall::kPathWork);
// The part-name file of the data language: "HINM01.DAT".
void hinmei_name(char* name, int size);
// The letter of the current area, or 0.
char area_letter();
// Frees the catalogue table.
void free_cattbl();
// Builds the catalogue table of a set-up entry's CD: 0, 4, or kFailed.
int make_cattbl(int32_t setup_index);
// Writes PXPOPUP.TMP: 0 or kFailed.
int popup_make_data();
// The catalogue set-up entries of the current area into list (room for
// kCdTableSize): false, logged, when the area has none.
bool area_list(int32_t* list, int* count);
// Closes a work file: 0, or kFailed (logged with the function's name).
int close_tmp(std::FILE** f, const char* function, int place);
// Deletes a work file; a path that cannot be built is logged.
void delete_tmp(const char* name, const char* function, int place);

}  // namespace hinb
