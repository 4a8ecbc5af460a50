#include <algorithm>
#include <cstring>

#include "krot_internal.h"
#include "platform/controls.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/errlog.h"
#include "pxall/part_records.h"

namespace pxkrot {

int32_t fail(const char* module, const char* function, const char* step, int32_t code, int32_t detail, int place) {
    pxall::syerr_message(module, function, step, code, detail, place);
    return code;
}

void take_field(char* out, const char* s, size_t n) {
    std::memset(out, ' ', n);
    if (s != nullptr) std::memcpy(out, s, strnlen(s, n));
}

void give_string(VbString* s, const char* src, size_t n) {
    if (s == nullptr || s->data == nullptr || s->len <= 0) return;
    const size_t room = static_cast<size_t>(s->len);
    const size_t k = std::min(room, n);
    std::memcpy(s->data, src, k);
    std::memset(s->data + k, 0, room - k);
}

void vehicle_catalog(char* out6) {
    const unsigned char* car = pxall::get_ccar_addr();
    if (car == nullptr) {
        std::memset(out6, ' ', 6);
        return;
    }
    std::memcpy(out6, car + pxall::ccar::kCatalog, 6);
}

int vehicle_setup() {
    const unsigned char* car = pxall::get_ccar_addr();
    return car == nullptr ? -1 : pxall::get_i32(car + pxall::ccar::kSetupIndex);
}

int name_setup() {
    const unsigned char* car = pxall::get_ccar_addr();
    return car == nullptr ? -1 : pxall::get_i32(car + pxall::ccar::kNameSetupIndex);
}

void part_name_file(char* out16) {
    const unsigned char* top = pxall::get_ctop_addr();
    char lang[3] = {'0', '1', 0};
    if (top != nullptr && top[pxall::ctop::kDataLangCode] != 0) std::memcpy(lang, top + pxall::ctop::kDataLangCode, 2);
    std::snprintf(out16, 16, pxall::kHinmeiFormat, lang);
}

int open_catalog_file(const char* name, bool catalog, int setup, int read_mode, pxall::CdHandle** h, int* detail) {
    char cat[7] = {};
    if (catalog) vehicle_catalog(cat);
    return pxall::cdopen(name, cat, 1, read_mode, -1, setup, kCdOption, h, detail);
}

int work_path(const char* name, char* buf) {
    std::memset(buf, 0, pxall::kPathSize);
    std::strncpy(buf, name, pxall::kPathSize - 1);
    return pxall::get_path_name(pxall::kPathWork, -1, buf);
}

namespace {
constexpr size_t kWritePiece = 64 * 1024;

bool write_all(std::FILE* fp, std::string* pending) {
    const bool ok = std::fwrite(pending->data(), 1, pending->size(), fp) == pending->size();
    pending->clear();
    return ok;
}
}  // namespace

bool TextFile::open(const char* path) {
    pending.clear();
    // Made anew rather than truncated: a file system may flush a truncated
    // file's new contents at once when it is closed.
    plat::delete_file(path);
    fp = plat::fopen(path, "wt");
    return fp != nullptr;
}

bool TextFile::put(const std::string& line) {
    pending.append(line).append("\r\n", 2);
    return pending.size() < kWritePiece || write_all(fp, &pending);
}

bool TextFile::close() {
    if (fp == nullptr) return true;
    bool ok = pending.empty() || write_all(fp, &pending);
    ok = std::fclose(fp) == 0 && ok;
    fp = nullptr;
    return ok;
}

std::string list_line(int32_t list, int32_t i, size_t len) {
    std::string text;
    plat::Control* c = plat::control(list);
    if (c == nullptr || c->lb_text(i, &text) == plat::kLbErr) text.clear();
    text.resize(std::max(text.size(), len), ' ');
    return text;
}

int32_t list_count(int32_t list) {
    plat::Control* c = plat::control(list);
    int32_t n = c == nullptr ? 0 : c->lb_count();
    return n < 0 ? 0 : n;
}

bool list_selected(int32_t list, int32_t i) {
    plat::Control* c = plat::control(list);
    return c != nullptr && c->lb_get_sel(i) > 0;
}

void list_replace(int32_t list, int32_t i, const std::string& text) {
    plat::Control* c = plat::control(list);
    if (c == nullptr) return;
    c->lb_delete(i);
    c->lb_insert(i, text);
}

void set_one_figure(const char* figure4) {
    unsigned char* blk = pxall::get_cnexta_addr();
    if (blk == nullptr) return;
    std::memset(blk + pxall::cnexta::kFigures, 0, 4 * static_cast<size_t>(pxall::cnexta::kMaxFigures));
    std::memcpy(blk + pxall::cnexta::kFigures, figure4, 4);
    pxall::put_i16(blk + pxall::cnexta::kFigureCount, 1);
}

}  // namespace pxkrot
