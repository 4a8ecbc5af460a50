#include <cstring>

#include "lpps_internal.h"
#include "platform/controls.h"
#include "platform/files.h"
#include "pxall/blocks.h"

namespace pxlpps {

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

int32_t list_current(int32_t list) {
    plat::Control* c = plat::control(list);
    int32_t i = c == nullptr ? -1 : c->lb_get_cur();
    return i < 0 || i >= list_count(list) ? -1 : i;
}

void list_select(int32_t list, int32_t i, bool on) {
    if (plat::Control* c = plat::control(list)) c->lb_set_sel(i, on);
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
