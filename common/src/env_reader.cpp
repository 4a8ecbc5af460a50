// Reader of the environment file (layout in env.h).

#include "pxall/env.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/drives.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/errlog.h"
#include "pxall/paths.h"
#include "pxall/setup_scan.h"

namespace pxall {

namespace {

constexpr const char* kModule = "PXDROM";
constexpr const char* kFunction = "kankyo_set";

// Values limited "with the line end" are measured as if one were present.
constexpr size_t kPathLimit = 64;
constexpr size_t kAreaLimit = 3;
constexpr size_t kDriveValueLimit = 3;
constexpr size_t kMaxDirName = 8;

// Position n - 1 holds the word of language n.
constexpr const char* kLanguageWords[] = {"ENGLISH", "JAPANESE", "FRENCH", "GERMANY", "SPANISH",
                                          " ",       " ",        " ",      "OTHER"};
constexpr int kLanguageCount = 9;

constexpr char kAreaLetters[] = "EGUJ";
constexpr int kAreaCount = 4;

enum class Key {
    kEcram, kEcmst, kLanguage, kMenulang, kCdrom, kEcfil, kPrice, kLocalp,
    kCrntarea, kEcmstall, kFramewld, kFramejpn, kExpppnho, kExppfsad, kUnknown,
};

struct KeyName {
    const char* name;
    Key key;
};

constexpr KeyName kKeys[] = {
    {"ECRAM", Key::kEcram},       {"ECMST", Key::kEcmst},       {"LANGUAGE", Key::kLanguage},
    {"MENULANG", Key::kMenulang}, {"CDROM", Key::kCdrom},       {"ECFIL", Key::kEcfil},
    {"PRICE", Key::kPrice},       {"LOCALP", Key::kLocalp},     {"CRNTAREA", Key::kCrntarea},
    {"ECMSTALL", Key::kEcmstall}, {"FRAMEWLD", Key::kFramewld}, {"FRAMEJPN", Key::kFramejpn},
    {"EXPPPNHO", Key::kExpppnho}, {"EXPPFSAD", Key::kExppfsad},
};

Key find_key(std::string_view name) {
    for (const KeyName& k : kKeys)
        if (name == k.name) return k.key;
    return Key::kUnknown;
}

// A defect: the log line's step, code and place.
struct Defect {
    std::string step;
    int code;
    int place;
};

char ascii_upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string upper_copy(std::string_view v) {
    std::string s(v);
    for (char& c : s) c = ascii_upper(c);
    return s;
}

// Clears a field and stores text in it; the caller has checked that the text
// leaves room for the NUL.
void store_field(unsigned char* top, size_t at, size_t width, std::string_view text) {
    std::memset(top + at, 0, width);
    std::memcpy(top + at, text.data(), std::min(text.size(), width - 1));
}

// Characters 0x20-0x7F only; every directory name followed by a backslash,
// other than the first name and one whose backslash ends the path, at most 8.
bool path_ok(std::string_view path) {
    for (char c : path) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u > 0x7F) return false;
    }
    size_t start = 0;
    bool first = true;
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] != '\\') continue;
        if (!first && i + 1 != path.size() && i - start > kMaxDirName) return false;
        first = false;
        start = i + 1;
    }
    return true;
}

void set_defaults(unsigned char* top) {
    std::memcpy(top + ctop::kDataLangCode, "01", 3);
    std::memcpy(top + ctop::kMenuLangCode, "01", 3);
    put_i16(top + ctop::kDataLangNo, 1);
    put_i16(top + ctop::kMenuLangNo, 1);
    put_i32(top + ctop::kAreaIndex, 0);
    top[ctop::kDriveCountGuard] = 0;
    top[ctop::kDriveCount] = 0;
    std::memset(top + ctop::kDrives, 0, 2 * ctop::kMaxDrives);
    std::memset(top + ctop::kWorkDir, 0, ctop::kDirSize);
    std::memset(top + ctop::kMasterDir, 0, ctop::kDirSize);
    std::memset(top + ctop::kPriceDir, 0, ctop::kDirSize);
    std::memset(top + ctop::kAreaDrives, 0, 2 * kAreaCount);
    std::memset(top + ctop::kFrameWorldDir, 0, ctop::kDirSize);
    std::memset(top + ctop::kFrameJapanDir, 0, ctop::kDirSize);
    std::memset(top + ctop::kExportPrograms, 0, ctop::kMaxExportPrograms * ctop::kExportProgramSize);
    std::memset(top + ctop::kSaveEditor, 0, ctop::kSaveEditorSize);
    // The program-file and local-price directories keep what they hold.
}

bool read_path(unsigned char* top, std::string_view value, size_t field, int len_code, int len_place,
               int path_code, int path_place, Defect* d) {
    if (value.size() + 1 > kPathLimit) {
        *d = {std::string(value), len_code, len_place};
        return false;
    }
    std::string up = upper_copy(value);
    if (!path_ok(up)) {
        *d = {up, path_code, path_place};
        return false;
    }
    store_field(top, field, ctop::kDirSize, up);
    return true;
}

bool read_language(unsigned char* top, std::string_view value, size_t code_at, size_t no_at, int code, int place,
                   Defect* d) {
    std::string up = upper_copy(value);
    for (int n = 1; n <= kLanguageCount; ++n) {
        if (std::string_view(up).starts_with(kLanguageWords[n - 1])) {
            top[code_at] = '0';
            top[code_at + 1] = static_cast<unsigned char>('0' + n);
            top[code_at + 2] = 0;
            put_i16(top + no_at, static_cast<int16_t>(n));
            return true;
        }
    }
    *d = {up, code, place};
    return false;
}

void read_cdrom(unsigned char* top, std::string_view value) {
    std::memset(top + ctop::kDrives, 0, 2 * ctop::kMaxDrives);
    int count = 0;
    size_t pos = 0;
    while (count < ctop::kMaxDrives && pos <= value.size()) {
        size_t comma = value.find(',', pos);
        std::string_view item = value.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos);
        if (item.size() >= 2) {
            std::string root(item.substr(0, 2));
            root += '\\';
            if (plat::drive_type(root) > plat::kDriveNoRootDir) {
                std::memcpy(top + ctop::kDrives + 2 * count, item.data(), 2);
                ++count;
            }
        }
        if (comma == std::string_view::npos) break;
        pos = comma + 1;
    }
    top[ctop::kDriveCountGuard] = 0;
    top[ctop::kDriveCount] = static_cast<unsigned char>(count);
}

bool read_drive(unsigned char* top, std::string_view value, size_t field, int code, int place, Defect* d) {
    std::string up = upper_copy(value);
    if (up.size() > kDriveValueLimit || up.size() < 2 || up[0] < 'A' || up[0] > 'Z' || up[1] != ':') {
        *d = {std::string(value), code, place};
        return false;
    }
    // Only the letter: the directory is completed from the master directory.
    std::memset(top + field, 0, ctop::kDirSize);
    top[field] = static_cast<unsigned char>(up[0]);
    return true;
}

bool read_area(unsigned char* top, std::string_view value, Defect* d) {
    if (value.size() + 1 > kAreaLimit) {
        *d = {std::string(value), 13, 620};
        return false;
    }
    int32_t index = -1;
    if (!value.empty()) {
        // Not strchr: it would find the terminator for an empty value.
        for (int i = 0; i < kAreaCount; ++i)
            if (value[0] == kAreaLetters[i]) index = i;
    }
    put_i32(top + ctop::kAreaIndex, index);
    return true;
}

void read_area_drives(unsigned char* top, std::string_view value) {
    std::memset(top + ctop::kAreaDrives, 0, 2 * kAreaCount);
    for (size_t i = 0; i < value.size(); ++i) {
        const char* at = value[i] == ',' ? nullptr : std::strchr(kAreaLetters, value[i]);
        if (at == nullptr || *at == 0) continue;
        // The drive letter stands behind the area name and its separator.
        if (i + 3 >= value.size()) break;
        size_t area = static_cast<size_t>(at - kAreaLetters);
        top[ctop::kAreaDrives + 2 * area] = static_cast<unsigned char>(value[i + 3]);
        top[ctop::kAreaDrives + 2 * area + 1] = 0;
        i += 3;
    }
}

void read_export_programs(unsigned char* top, std::string_view value) {
    std::memset(top + ctop::kExportPrograms, 0, ctop::kMaxExportPrograms * ctop::kExportProgramSize);
    int entry = 0;
    size_t pos = 0;
    for (char c : value) {
        if (c == ',') {
            if (++entry >= ctop::kMaxExportPrograms) break;
            pos = 0;
            continue;
        }
        if (pos + 1 < ctop::kExportProgramSize)
            top[ctop::kExportPrograms + entry * ctop::kExportProgramSize + pos++] = static_cast<unsigned char>(c);
    }
}

bool read_plain(unsigned char* top, std::string_view value, size_t field, size_t width, int code, int place,
                Defect* d) {
    if (value.size() + 1 > width) {
        *d = {std::string(value), code, place};
        return false;
    }
    store_field(top, field, width, upper_copy(value));
    return true;
}

// Handles one value; false with the defect filled when it fails its check.
bool read_value(unsigned char* top, Key key, std::string_view value, Defect* d) {
    switch (key) {
        case Key::kEcram: return read_path(top, value, ctop::kWorkDir, 3, 457, 4, 465, d);
        case Key::kEcmst: return read_path(top, value, ctop::kMasterDir, 5, 478, 6, 486, d);
        case Key::kLanguage: return read_language(top, value, ctop::kDataLangCode, ctop::kDataLangNo, 7, 509, d);
        case Key::kMenulang: return read_language(top, value, ctop::kMenuLangCode, ctop::kMenuLangNo, 8, 534, d);
        case Key::kCdrom: read_cdrom(top, value); return true;
        case Key::kEcfil: return read_path(top, value, ctop::kProgramDir, 9, 568, 10, 576, d);
        case Key::kPrice: return read_drive(top, value, ctop::kPriceDir, 11, 593, d);
        case Key::kLocalp: return read_drive(top, value, ctop::kLocalPriceDir, 12, 609, d);
        case Key::kCrntarea: return read_area(top, value, d);
        case Key::kEcmstall: read_area_drives(top, value); return true;
        case Key::kFramewld: return read_plain(top, value, ctop::kFrameWorldDir, ctop::kDirSize, 16, 645, d);
        case Key::kFramejpn: return read_plain(top, value, ctop::kFrameJapanDir, ctop::kDirSize, 17, 656, d);
        case Key::kExpppnho: read_export_programs(top, value); return true;
        case Key::kExppfsad: return read_plain(top, value, ctop::kSaveEditor, ctop::kSaveEditorSize, 14, 683, d);
        case Key::kUnknown: return true;
    }
    return true;
}

// A drive letter left in a price field would name "D\PRICE.MST"; the fields
// are completed after a defect too, not only at the end of the file.
void complete_price_dirs(unsigned char* top) {
    set_path_name(reinterpret_cast<char*>(top + ctop::kPriceDir), ctop::kDirSize);
    set_path_name(reinterpret_cast<char*>(top + ctop::kLocalPriceDir), ctop::kDirSize);
}

}  // namespace

int kankyo_set() {
    unsigned char* top = get_ctop_addr();
    if (top == nullptr) return 0;
    set_defaults(top);

    std::FILE* fp = plat::fopen(kEnvFileName, "rt");
    if (fp == nullptr) {
        syerr_message(kModule, kFunction, "Failed to open pxdrom.sys", 1, 0, 426);
        return 0;
    }

    char line[kEnvLineSize];
    Defect defect;
    bool failed = false;
    while (!failed && plat::fgets_text(line, sizeof line, fp) != nullptr) {
        std::string_view text(line, std::strlen(line));
        // A line that filled the buffer without its line feed is longer than
        // a line may be: taking its start would cut the value.
        if (!text.empty() && text.back() != '\n' && !env_line_fits(text)) {
            defect = {std::string(text), 2, 434};
            failed = true;
            break;
        }
        // The line end is kept out of values and log lines alike.
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
        size_t eq = text.find('=');
        if (eq == std::string_view::npos) {
            defect = {std::string(text), 2, 434};
            failed = true;
            break;
        }
        Key key = find_key(text.substr(0, eq));
        if (key == Key::kUnknown) continue;
        failed = !read_value(top, key, text.substr(eq + 1), &defect);
    }

    if (failed) {
        syerr_message(kModule, kFunction, defect.step.c_str(), defect.code, 0, defect.place);
        complete_price_dirs(top);
        std::fclose(fp);
        return 0;
    }
    setuped_cd_check();
    complete_price_dirs(top);
    std::fclose(fp);
    return 0;
}

}  // namespace pxall
