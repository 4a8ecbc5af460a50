// Pieces shared by the local-parts entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "pxall/vbstring.h"

namespace pxlpps {

constexpr const char* kModFigures = "PXLPEM01";
constexpr const char* kModPages = "PXLPPS01";
constexpr int kLocalSet = 3;

// Writes one error-log line and hands the code back.
int32_t fail(const char* module, const char* function, const char* step, int32_t code, int32_t detail, int place);

// A NUL-terminated caller's string into a field of n bytes (at most n read,
// the rest blank).
void take_field(char* out, const char* s, size_t n);
// n bytes into the caller's string, as many as it holds, the rest NUL.
void give_string(VbString* s, const char* src, size_t n);

void vehicle_catalog(char* out6);
// The full path of a work file: get_path_name's result.
int work_path(const char* name, char* buf);

// A text work file, closed when it goes out of scope.
struct TextFile {
    std::FILE* fp = nullptr;
    ~TextFile() { close(); }
    bool open(const char* path);
    // The line and CR LF: false when it could not be written.
    bool put(const std::string& line);
    // False when the close failed (a write left in the buffer was lost).
    bool close();
};

// List boxes and text boxes by handle.
int32_t list_count(int32_t list);
int32_t list_current(int32_t list);  // -1 when no line has the focus
bool list_selected(int32_t list, int32_t i);
void list_select(int32_t list, int32_t i, bool on);
// Line i blank-padded to at least len (empty when there is none).
std::string list_line(int32_t list, int32_t i, size_t len);
// Replaces line i at the same place; the focus line stays where it was.
void list_replace(int32_t list, int32_t i, const std::string& text);
void focus(int32_t window);
std::string box_text(int32_t box);
void set_box_text(int32_t box, const std::string& text);

}  // namespace pxlpps
