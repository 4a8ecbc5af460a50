// Pieces shared by the search-route entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "pxall/entry_support.h"
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

// Shared entry pieces (pxall/entry_support.h).
using pxall::fail_logged;
using pxall::give_string;
using pxall::list_count;
using pxall::list_line;
using pxall::list_selected;
using pxall::name_setup;
using pxall::take_field;
using pxall::vehicle_catalog;
using pxall::vehicle_setup;
using pxall::work_path;

// The part-name file of the data language ("HINM01.DAT") into a buffer of 16.
void part_name_file(char* out16);

// Opens a catalogue file of the vehicle's catalogue (catalog true: in its
// directory) on set-up entry `setup`.
int open_catalog_file(const char* name, bool catalog, int setup, int read_mode, pxall::CdHandle** h, int* detail);

// A text work file, closed when it goes out of scope. Lines are gathered
// and written in large pieces.
struct TextFile {
    std::FILE* fp = nullptr;
    std::string pending;
    ~TextFile() { close(); }
    bool open(const char* path);
    // The line and CR LF: false when it could not be written.
    bool put(const std::string& line);
    // A line of `len` characters that fill(char*) writes in place, and CR
    // LF: false when it could not be written.
    template <typename Fill>
    bool put_with(size_t len, Fill fill) {
        const size_t at = pending.size();
        pending.resize(at + len + 2);
        char* p = pending.data() + at;
        fill(p);
        p[len] = '\r';
        p[len + 1] = '\n';
        return pending.size() < kWritePiece || write_pending();
    }
    // False when what was left could not be written or the close failed.
    bool close();

private:
    // Each write of a file costs its times an update on some file systems:
    // few large writes rather than many small ones.
    static constexpr size_t kWritePiece = 1024 * 1024;
    // Writes what is pending: false when it could not be written.
    bool write_pending();
};

// Replaces line i by text at the same place (delete and insert).
void list_replace(int32_t list, int32_t i, const std::string& text);

// The block's figure list becomes this one figure.
void set_one_figure(const char* figure4);

}  // namespace pxkrot
