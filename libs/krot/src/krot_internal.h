// Pieces shared by the search-route entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "pxall/keyed_file.h"
#include "pxall/paths.h"
#include "pxall/vbstring.h"

namespace pxkrot {

constexpr const char* kModGroups = "PXKGRL01";
constexpr const char* kModKeyword = "PXKKWD01";
constexpr const char* kModEntry = "PXKPNC01";
constexpr const char* kModRoute = "PXKROT01";

// Catalogue CD request option of the opens (the catalogue CD message).
constexpr int kCdOption = 0;

// Writes one error-log line and hands the code back.
int32_t fail(const char* module, const char* function, const char* step, int32_t code, int32_t detail, int place);

// Copies a NUL-terminated caller's string into a field of n bytes: at most n
// bytes are read, the rest of the field is blank.
void take_field(char* out, const char* s, size_t n);
// Copies n bytes into the caller's string, as many as it holds; the rest of
// the string is NUL.
void give_string(VbString* s, const char* src, size_t n);

// The current vehicle: its catalogue code (6 bytes), the set-up index of its
// data set and that of the CD its car name was read on.
void vehicle_catalog(char* out6);
int vehicle_setup();
int name_setup();

// The part-name file of the data language ("HINM01.DAT") into a buffer of 16.
void part_name_file(char* out16);

// Opens a catalogue file of the vehicle's catalogue (catalog true: in its
// directory) on set-up entry `setup`.
int open_catalog_file(const char* name, bool catalog, int setup, int read_mode, pxall::CdHandle** h, int* detail);

// The full path of a work file: get_path_name's result.
int work_path(const char* name, char* buf);

// A text work file, closed when it goes out of scope. Lines are gathered
// and written in large pieces.
struct TextFile {
    std::FILE* fp = nullptr;
    std::string pending;
    ~TextFile() { close(); }
    bool open(const char* path);
    // The line and CR LF: false when it could not be written.
    bool put(const std::string& line);
    // False when what was left could not be written or the close failed.
    bool close();
};

// List-box line i (empty when there is none), blank-padded to len.
std::string list_line(int32_t list, int32_t i, size_t len);
int32_t list_count(int32_t list);
bool list_selected(int32_t list, int32_t i);
// Replaces line i by text at the same place (delete and insert).
void list_replace(int32_t list, int32_t i, const std::string& text);

// The block's figure list becomes this one figure.
void set_one_figure(const char* figure4);

}  // namespace pxkrot
