#include <cstring>

#include "krot_internal.h"
#include "platform/controls.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/part_records.h"

namespace pxkrot {

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

bool TextFile::open(const char* path) {
    pending.clear();
    // Written over in place (see fopen_rewrite): neither truncated nor made anew.
    fp = plat::fopen_rewrite(path);
    return fp != nullptr;
}

bool TextFile::put(const std::string& line) {
    return put_with(line.size(), [&](char* p) { std::memcpy(p, line.data(), line.size()); });
}

bool TextFile::write_pending() {
    const bool ok = std::fwrite(pending.data(), 1, pending.size(), fp) == pending.size();
    pending.clear();
    return ok;
}

bool TextFile::close() {
    if (fp == nullptr) return true;
    bool ok = pending.empty() || write_pending();
    ok = plat::fclose_rewrite(fp) == 0 && ok;
    fp = nullptr;
    return ok;
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
