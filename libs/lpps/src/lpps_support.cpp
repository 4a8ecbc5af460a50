#include <algorithm>
#include <cstring>

#include "lpps_internal.h"
#include "platform/controls.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/errlog.h"
#include "pxall/paths.h"

namespace pxlpps {

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

int work_path(const char* name, char* buf) {
    std::memset(buf, 0, pxall::kPathSize);
    std::strncpy(buf, name, pxall::kPathSize - 1);
    return pxall::get_path_name(pxall::kPathWork, -1, buf);
}

bool TextFile::open(const char* path) {
    fp = plat::fopen(path, "wt");
    return fp != nullptr;
}

bool TextFile::put(const std::string& line) {
    return std::fwrite(line.data(), 1, line.size(), fp) == line.size() && std::fwrite("\r\n", 1, 2, fp) == 2;
}

bool TextFile::close() {
    if (fp == nullptr) return true;
    bool ok = std::fclose(fp) == 0;
    fp = nullptr;
    return ok;
}

int32_t list_count(int32_t list) {
    plat::Control* c = plat::control(list);
    int32_t n = c == nullptr ? 0 : c->lb_count();
    return n < 0 ? 0 : n;
}

int32_t list_current(int32_t list) {
    plat::Control* c = plat::control(list);
    int32_t i = c == nullptr ? -1 : c->lb_get_cur();
    return i < 0 || i >= list_count(list) ? -1 : i;
}

bool list_selected(int32_t list, int32_t i) {
    plat::Control* c = plat::control(list);
    return c != nullptr && c->lb_get_sel(i) > 0;
}

void list_select(int32_t list, int32_t i, bool on) {
    if (plat::Control* c = plat::control(list)) c->lb_set_sel(i, on);
}

std::string list_line(int32_t list, int32_t i, size_t len) {
    std::string text;
    plat::Control* c = plat::control(list);
    if (c == nullptr || c->lb_text(i, &text) == plat::kLbErr) text.clear();
    text.resize(std::max(text.size(), len), ' ');
    return text;
}

void list_replace(int32_t list, int32_t i, const std::string& text) {
    plat::Control* c = plat::control(list);
    if (c == nullptr) return;
    const int32_t cur = c->lb_get_cur();
    c->lb_delete(i);
    c->lb_insert(i, text);
    if (cur >= 0) c->lb_set_cur(cur);
}

void focus(int32_t window) {
    if (plat::Control* c = plat::control(window)) c->set_focus();
}

std::string box_text(int32_t box) {
    plat::Control* c = plat::control(box);
    return c == nullptr ? std::string() : c->text();
}

void set_box_text(int32_t box, const std::string& text) {
    if (plat::Control* c = plat::control(box)) c->set_text(text);
}

}  // namespace pxlpps
