// The part-name-code entry screens: the entry check, the wildcard pick list,
// the entry list's lines and the selection made from them.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "krot/krot.h"
#include "krot/search_route_layout.h"
#include "krot_internal.h"
#include "platform/controls.h"
#include "pxall/cdrom.h"
#include "pxall/index_layout.h"
#include "pxall/part_records.h"
#include "pxall/selection.h"

using namespace pxkrot;

namespace {

constexpr const char* kFnList = "VBKpncMakePncLst";
constexpr const char* kFnSelect = "VBKpncWriteSelectTmp";
constexpr const char* kFnAdd = "VBKpncAddRepPnc";
constexpr int kMinWild = 3;
constexpr int kMinPlain = 5;
constexpr size_t kPrefixMax = 6;

bool letter_or_digit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

struct Held {
    pxall::CdHandle* codes = nullptr;
    pxall::CdHandle* names = nullptr;
    TextFile out;
    ~Held() {
        int d = 0;
        pxall::cdclose(&codes, &d);
        pxall::cdclose(&names, &d);
    }
};

// Writes "%03d" of n over the first three characters.
void put_number(std::string* line, int32_t n) {
    char num[8];
    std::snprintf(num, sizeof num, "%03d", static_cast<int>(n % 1000));
    line->replace(entry::kNumber, entry::kNumberSize, num, entry::kNumberSize);
}

}  // namespace

extern "C" int32_t VBKpncCheckPnc(const char* entry, int16_t* wildcard) {
    int16_t dummy = 0;
    if (wildcard == nullptr) wildcard = &dummy;
    *wildcard = 0;
    int counted = 0;
    for (const char* p = entry; p != nullptr && *p != 0; ++p) {
        if (*p == ' ') break;
        if (*p == '*') {
            *wildcard = 1;
            break;
        }
        if (!letter_or_digit(*p)) return kPncBadChar;
        ++counted;
    }
    if (*wildcard != 0) return counted < kMinWild ? kPncWildShort : kPncOk;
    return counted < kMinPlain ? kPncShort : kPncOk;
}

extern "C" int32_t VBKpncMakePncLst(const char* entry, int16_t* count, VbString* path, int16_t* status) {
    namespace hc = pxall::hcodeh;
    int16_t dummy_count = 0, dummy_status = 0;
    if (count == nullptr) count = &dummy_count;
    if (status == nullptr) status = &dummy_status;
    *count = 0;
    *status = 0;

    char prefix[kPrefixMax];
    int len = 0;
    for (const char* p = entry; p != nullptr && *p != 0 && *p != '*' && *p != ' ' && len < static_cast<int>(kPrefixMax); ++p)
        prefix[len++] = *p;
    if (len < kMinWild) {
        *status = 2;
        return 0;
    }

    Held held;
    int detail = 0;
    int r = open_catalog_file(hc::kFileName, true, vehicle_setup(), 0, &held.codes, &detail);
    if (r == 4) {
        *status = kCdMissing;
        return 0;
    }
    if (r != 0) return fail_logged(kModEntry, kFnList, hc::kFileName, r, detail, 31);
    char name_file[16];
    part_name_file(name_file);
    r = open_catalog_file(name_file, false, name_setup(), 0, &held.names, &detail);
    if (r == 4) {
        *status = kCdMissing;
        return 0;
    }
    if (r != 0) return fail_logged(kModEntry, kFnList, name_file, r, detail, 32);

    char file[pxall::kPathSize];
    if (int p = work_path(pncpop::kFileName, file); p != 0)
        return fail_logged(kModEntry, kFnList, "get_path_name", p, 0, 33);
    if (!held.out.open(file)) return fail_logged(kModEntry, kFnList, file, 11, errno, 34);

    int32_t lines = 0;
    uint8_t rec[hc::kSize];
    uint8_t name_rec[pxall::hinmei_rec::kSize];
    std::string line(pncpop::kLineLen, ' ');
    while ((r = pxall::cdread(rec, prefix, len, 0, nullptr, nullptr, held.codes, &detail)) == 0) {
        // The read goes on past the prefix in key order: the list ends there.
        if (std::memcmp(rec + hc::kPnc, prefix, static_cast<size_t>(len)) != 0) {
            r = -1;
            break;
        }
        const char* pnc = reinterpret_cast<const char*>(rec + hc::kPnc);
        // A code standing in several figures is read again from the start.
        pxall::cdreopen(held.names, &detail);
        int n = pxall::cdread(name_rec, pnc, hc::kPncSize, 0, nullptr, nullptr, held.names, &detail);
        if (n == 4) {
            *status = kCdMissing;
            return 0;
        }
        if (n != 0 && n != -1) return fail_logged(kModEntry, kFnList, "cdread", n, detail, 35);
        line.replace(pncpop::kPnc, pncpop::kPncSize, pnc, pncpop::kPncSize);
        if (n == 0)
            line.replace(pncpop::kName, pncpop::kNameSize,
                         reinterpret_cast<const char*>(name_rec + pxall::hinmei_rec::kName), pncpop::kNameSize);
        else
            line.replace(pncpop::kName, pncpop::kNameSize, pncpop::kNameSize, ' ');
        if (!held.out.put(line)) return fail_logged(kModEntry, kFnList, "fputs", 13, errno, 36);
        ++lines;
    }
    if (r == 4) {
        *status = kCdMissing;
        return 0;
    }
    if (r != -1) return fail_logged(kModEntry, kFnList, "cdread", r, detail, 37);
    if (!held.out.close()) return fail_logged(kModEntry, kFnList, "fputs", 13, errno, 38);
    *count = static_cast<int16_t>(lines > INT16_MAX ? INT16_MAX : lines);
    give_string(path, file, std::strlen(file));
    return 0;
}

extern "C" int32_t VBKpncWriteSelectTmp(int32_t list, int16_t* status) {
    int16_t dummy = 0;
    if (status == nullptr) status = &dummy;
    *status = 0;
    struct Selection {
        Selection() { pxall::TermSelTmp(); }
        ~Selection() { pxall::TermSelTmp(); }
    } selection;

    const int32_t n = list_count(list);
    for (int32_t i = 0; i < n; ++i) {
        const std::string text = list_line(list, i, entry::kLineLen);
        char code[12];
        std::memset(code, ' ', sizeof code);
        std::memcpy(code, text.data() + entry::kPnc, entry::kPncSize);
        int r = pxall::SetSelTmp(code, text.data() + entry::kQty);
        if (r == 1) {
            *status = 1;
            return 0;
        }
        if (r != 0) return fail_logged(kModEntry, kFnSelect, "SetSelTmp", r, 0, 41);
    }
    if (int32_t r = VBWriteSelectTmp(); r != 0) return fail_logged(kModEntry, kFnSelect, "VBWriteSelectTmp", r, 0, 42);
    return 0;
}

extern "C" int32_t VBKpncAddRepPnc(int32_t list, const char* pnc, const char* qty, int16_t* index) {
    int16_t dummy = -1;
    if (index == nullptr) index = &dummy;
    char code[entry::kPncSize];
    take_field(code, pnc, entry::kPncSize);
    char quantity[entry::kQtySize];
    take_field(quantity, qty, entry::kQtySize);
    plat::Control* box = plat::control(list);
    const int32_t n = list_count(list);

    if (*index != -1) {
        if (*index < 0 || *index >= n || box == nullptr)
            return fail_logged(kModEntry, kFnAdd, "lb_text", 128, *index, 51);
        // A line that takes another code takes that code's name too, so that
        // no line shows one code beside another code's name.
        char name[entry::kNameSize];
        int16_t flag = 0;
        int r = pxall::get_hinmei(code, name, &flag);
        if (r != 0) return fail_logged(kModEntry, kFnAdd, "get_hinmei", r, 0, 53);
        if (flag == 4) std::memset(name, ' ', sizeof name);
        std::string text = list_line(list, *index, entry::kLineLen);
        text.replace(entry::kPnc, entry::kPncSize, code, entry::kPncSize);
        text.replace(entry::kName, entry::kNameSize, name, entry::kNameSize);
        text.replace(entry::kQty, entry::kQtySize, quantity, entry::kQtySize);
        list_replace(list, *index, text);
        *index = flag == 4 ? kCdMissing : 0;
        return 0;
    }

    if (n >= entry::kMaxLines) {
        *index = 1;
        return 0;
    }
    char name[entry::kNameSize];
    int16_t flag = 0;
    int r = pxall::get_hinmei(code, name, &flag);
    if (r != 0) return fail_logged(kModEntry, kFnAdd, "get_hinmei", r, 0, 52);
    // Without the CD the line comes without its name.
    if (flag == 4) std::memset(name, ' ', sizeof name);
    std::string line(entry::kLineLen, ' ');
    put_number(&line, n);
    line.replace(entry::kPnc, entry::kPncSize, code, entry::kPncSize);
    line.replace(entry::kName, entry::kNameSize, name, entry::kNameSize);
    line.replace(entry::kQty, entry::kQtySize, quantity, entry::kQtySize);
    // The new line is shown as the list's first visible line.
    if (box != nullptr) {
        const int32_t at = box->lb_add(line);
        if (at >= 0) box->lb_set_top(at);
    }
    *index = flag == 4 ? kCdMissing : 0;
    return 0;
}

extern "C" int32_t VBKpncDelPnc(int32_t list) {
    int32_t n = list_count(list);
    int32_t i = 0;
    while (i < n && !list_selected(list, i)) ++i;
    plat::Control* box = plat::control(list);
    if (box == nullptr) return 0;
    // From the first selected line on: selected lines go, the others take
    // the number of their new place.
    while (i < n) {
        if (list_selected(list, i)) {
            box->lb_delete(i);
            --n;
            continue;
        }
        std::string text = list_line(list, i, entry::kNumberSize);
        put_number(&text, i);
        list_replace(list, i, text);
        ++i;
    }
    return 0;
}
