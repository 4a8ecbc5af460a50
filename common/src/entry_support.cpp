#include "pxall/entry_support.h"

#include <algorithm>
#include <cstring>

#include "platform/controls.h"
#include "pxall/blocks.h"
#include "pxall/errlog.h"
#include "pxall/paths.h"

namespace pxall {

int32_t fail_logged(const char* module, const char* function, const char* step, int32_t code, int32_t detail,
                    int place) {
    syerr_message(module, function, step, code, detail, place);
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
    const unsigned char* car = get_ccar_addr();
    if (car == nullptr) {
        std::memset(out6, ' ', 6);
        return;
    }
    std::memcpy(out6, car + ccar::kCatalog, 6);
}

int vehicle_setup() {
    const unsigned char* car = get_ccar_addr();
    return car == nullptr ? -1 : get_i32(car + ccar::kSetupIndex);
}

int name_setup() {
    const unsigned char* car = get_ccar_addr();
    return car == nullptr ? -1 : get_i32(car + ccar::kNameSetupIndex);
}

int work_path(const char* name, char* buf) {
    std::memset(buf, 0, kPathSize);
    std::strncpy(buf, name, kPathSize - 1);
    return get_path_name(kPathWork, -1, buf);
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

}  // namespace pxall
