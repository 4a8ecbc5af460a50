// Pieces shared by the local-parts entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "pxall/entry_support.h"
#include "pxall/vbstring.h"

namespace pxlpps {

constexpr const char* kModFigures = "PXLPEM01";
constexpr const char* kModPages = "PXLPPS01";
constexpr int kLocalSet = 3;

// Shared entry pieces (pxall/entry_support.h).
using pxall::fail_logged;
using pxall::give_string;
using pxall::list_count;
using pxall::list_line;
using pxall::list_selected;
using pxall::take_field;
using pxall::vehicle_catalog;
using pxall::work_path;

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
int32_t list_current(int32_t list);  // -1 when no line has the focus
void list_select(int32_t list, int32_t i, bool on);
// Replaces line i at the same place; the focus line stays where it was.
void list_replace(int32_t list, int32_t i, const std::string& text);
void focus(int32_t window);
std::string box_text(int32_t box);
void set_box_text(int32_t box, const std::string& text);

}  // namespace pxlpps
