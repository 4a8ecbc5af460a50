// The applicability search's state between the screen's calls.
#pragma once

#include <cstdint>
#include <vector>

#include "pxall/paths.h"

namespace teki {

constexpr const char* kModule = "PXTEKI01";
constexpr int kCdTableSize = 11;
constexpr int kMaxEntries = 10;
constexpr int kNameSize = 60;

// One part number of the list box.
struct Entry {
    char path[pxall::kPathSize];  // its work file
    int16_t found;
    char part[12];
    char name[kNameSize];
};

// One catalogue of a CD of the CD table.
struct Catalog {
    char cd_no[2];
    char code[6];
    char car_name[20];
    int slot;  // the CD table slot it was made for
};

struct State {
    int32_t cd_table[kCdTableSize] = {};
    int32_t cd_count = 0;
    Entry entries[kMaxEntries] = {};
    int entry_count = 0;
    Catalog* cattbl = nullptr;
    int32_t cat_count = 0;
};

State& st();
void log(const char* function, const char* step, int code, int second, int place);
void free_cattbl();
// Deletes WRKTEKI0-9.TMP.
void delete_work_files();
// A work file's path (path kind 0) or the CSV file's (kind 1): false when it
// cannot be built.
bool file_path(const char* name, char* path, int kind = pxall::kPathWork);
void hinmei_name(char* name, int size);

// SCRTEKI.TMP and PXTEKI.CSV from the entries' work files: 0 or the code.
int make_scrteki(const char* path);
int make_scrteki_csv(const char* path);

}  // namespace teki
