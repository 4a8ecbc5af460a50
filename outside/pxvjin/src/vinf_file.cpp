// Vehicle-information files: the entries of the vehicle screen kept in a
// file of the clerk's choice (format in pxvjin.h) and read back.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

#include "engine.h"
#include "platform/files.h"
#include "pxall/atomic_write.h"
#include "pxall/csv.h"
#include "pxvjin/pxvjin.h"

using namespace pxvjin;

namespace {

struct Field {
    const char* name;
    std::string Vehicle::*member;
    size_t width;
    uint8_t unchecked;  // an identification entry: its Unchecked bit, else 0
};
const Field kFields[] = {
    {"VIN", &Vehicle::vin, kVinW, kUncVin},
    {"CATALOG", &Vehicle::cat, kCatW, kUncCat},
    {"MODEL", &Vehicle::model, kModW, kUncModel},
    {"FRAMEMODEL", &Vehicle::fmod, kFmodW, kUncFmod},
    {"FRAMENO", &Vehicle::fno, kFnoW, kUncFno},
    {"PRODDATE", &Vehicle::ad, kAdW, 0},
    {"COLOR", &Vehicle::clr, kClrW, 0},
    {"TRIM", &Vehicle::trm, kTrmW, 0},
    {"NOTES", &Vehicle::notes, kNotW, 0},
};

bool is_csv(const std::string& path) {
    if (path.size() < 4) return false;
    std::string ext = path.substr(path.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".csv";
}

std::vector<std::string> lines_of(const std::string& bytes) {
    std::vector<std::string> out;
    size_t at = 0;
    while (at < bytes.size()) {
        size_t end = bytes.find('\n', at);
        std::string line = bytes.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return out;
}

// In capitals where the text is ASCII: in a double-byte code page a letter's
// byte may be the second half of a character, which must stay as it is (the
// screen's check upper-cases by characters).
std::string upper(std::string t) {
    if (std::any_of(t.begin(), t.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) return t;
    for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return t;
}

// The separator of a CSV line as spreadsheets write it: the first comma or
// semicolon outside quotes (a comma when there is neither).
char separator_of(const std::string& line) {
    bool quoted = false;
    for (char c : line) {
        if (c == '"') quoted = !quoted;
        else if (!quoted && (c == ',' || c == ';')) return c;
    }
    return ',';
}

// One CSV line into its fields, by the common library's reader.
bool split_csv(const std::string& line, char sep, std::vector<std::string>* out) {
    out->clear();
    const char* pos = line.c_str();
    for (int n = 0; pos != nullptr && n <= static_cast<int>(line.size()); ++n) {
        int16_t first = 0, last = -1;
        const char* next = pxall::get_next_csv(pos, &first, &last, sep);
        std::string item(static_cast<size_t>(std::max(0, last - first + 1)), '\0');
        int got = 0;
        if (first <= last) {
            pxall::copy_csv_item(pos, item.data(), static_cast<int>(item.size()), first, last);
            got = static_cast<int>(strnlen(item.data(), item.size()));
        }
        item.resize(static_cast<size_t>(got));
        out->push_back(item);
        pos = next;
    }
    return pos == nullptr;
}

// The file's names (upper case) and values; false when it is not a
// vehicle-information file of ours (or damaged). Names may stand in any
// case and with blanks around them; a UTF-8 byte-order mark is passed over
// (what follows it must then be plain ASCII: the engine holds the bytes of
// the catalogue's code page, which UTF-8 beyond ASCII is not).
bool parse(std::string bytes, bool csv, std::map<std::string, std::string>* values) {
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        bytes.erase(0, 3);
        if (std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
            return false;
    }
    if (bytes.find('\0') != std::string::npos) return false;
    std::vector<std::string> lines = lines_of(bytes);
    for (const std::string& l : lines)
        if (l.size() > vinf::kMaxLine) return false;
    auto name_of = [](const std::string& t) { return upper(trimmed(t.data(), t.size())); };
    if (csv) {
        std::vector<std::string> names, vals;
        lines.erase(std::remove_if(lines.begin(), lines.end(),
                                   [](const std::string& l) { return trimmed(l.data(), l.size()).empty(); }),
                    lines.end());
        if (lines.size() != 2) return false;
        const char sep = separator_of(lines[0]);
        if (!split_csv(lines[0], sep, &names) || !split_csv(lines[1], sep, &vals)) return false;
        if (names.size() != vals.size() || names.empty() || name_of(names[0]) != vinf::kMagic) return false;
        for (size_t i = 0; i < names.size(); ++i) (*values)[name_of(names[i])] = vals[i];
    } else {
        bool first = true;
        for (const std::string& l : lines) {
            std::string t = trimmed(l.data(), l.size());
            if (t.empty() || t[0] == ';') continue;
            size_t eq = l.find('=');
            if (eq == std::string::npos) return false;
            std::string name = name_of(l.substr(0, eq));
            if (first && name != vinf::kMagic) return false;
            first = false;
            (*values)[name] = l.substr(eq + 1);
        }
        if (first) return false;
    }
    for (auto& [name, value] : *values) value = trimmed(value.data(), value.size());
    if ((*values)[vinf::kMagic] != vinf::kVersion) return false;
    for (const Field& f : kFields) {
        auto it = values->find(f.name);
        if (it == values->end()) continue;
        // An identification entry is shown in a box of its width; a detail
        // entry that does not fit is refused by its check alone.
        if (f.unchecked != 0 && it->second.size() > f.width) return false;
        if (std::string(f.name) != "NOTES") it->second = upper(it->second);
    }
    return true;
}

bool read_all(const std::string& path, std::string* bytes) {
    std::FILE* fp = plat::fopen(path, "rb");
    if (fp == nullptr) return false;
    char buf[1024];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, fp)) > 0) {
        bytes->append(buf, n);
        if (bytes->size() > vinf::kMaxFile) break;
    }
    bool ok = !std::ferror(fp);
    std::fclose(fp);
    return ok;
}

}  // namespace

extern "C" int32_t vjin_get_vinf(const char* path) {
    State& s = state();
    s.msgid = 0;
    if (path == nullptr) return fail("vjin_get_vinf", "path", 128, 0, 110);
    std::string bytes;
    if (!read_all(path, &bytes)) return fail("vjin_get_vinf", "fopen", 11, errno, 111);
    std::map<std::string, std::string> values;
    if (bytes.size() > vinf::kMaxFile || !parse(bytes, is_csv(path), &values)) {
        // Not one of ours: the screen stays as it was before the file.
        fail("vjin_get_vinf", "not a vehicle-information file", 128, static_cast<int32_t>(bytes.size()), 112);
        return 0;
    }
    auto value = [&](const char* name) {
        auto it = values.find(name);
        return it == values.end() ? std::string() : it->second;
    };
    reset_vehicle();
    Vehicle& v = s.v;
    // The identification entries are shown; the screen's checks decide on
    // them (the code below says which goes first).
    for (const Field& f : kFields)
        if (f.unchecked != 0 && !(v.*f.member = value(f.name)).empty())
            v.unchecked = static_cast<uint8_t>(v.unchecked | f.unchecked);
    if (std::string lang = value("LANG"); lang.size() == 1) {
        int n = lang[0] - '0';
        if (n == 1 || (n >= 3 && n <= 5)) v.lang = n;
    }
    // The others take the checks a typed entry takes; a refused one is left
    // out, the first refusal is the screen's message.
    int16_t first = 0;
    const std::pair<int32_t (*)(const std::string&), const char*> details[] = {
        {check_date, "PRODDATE"}, {check_color, "COLOR"}, {check_trim, "TRIM"}};
    for (const auto& [check, name] : details)
        if (std::string t = value(name); !t.empty() && check(t) == 4) note_refusal(&first);
    // The note has no check but its width, in bytes of the catalogue's code
    // page: one that does not fit whole is left out, never cut.
    if (std::string notes = value("NOTES"); notes.size() <= kNotW) {
        take_notes(notes);
    } else {
        s.msgid = kMsgNoteTooLong;
        note_refusal(&first);
    }
    fill_block();
    s.msgid = first;
    // Identification goes on from the strongest key the file holds.
    if (!v.vin.empty()) return 4;
    if (!v.fno.empty()) return 2;
    if (v.cat.size() != kCodeSize) return 0;
    Catalog c;
    int r = find_catalog(v.cat, &c);
    if (r < 0) return -1;
    if (r != 0) return 0;
    take_catalog(c);
    fill_block();
    // The model check goes on; without a model it opens the model list.
    return 1;
}

extern "C" int32_t vjin_set_vinf(const char* path) {
    const Vehicle& v = state().v;
    if (path == nullptr) return fail("vjin_set_vinf", "path", 128, 0, 120);
    std::string text;
    if (is_csv(path)) {
        std::string names = vinf::kMagic, values = vinf::kVersion;
        for (const Field& f : kFields) {
            names += std::string(",") + f.name;
            const std::string& val = v.*f.member;
            pxall::append_csv_quoted(&values, reinterpret_cast<const unsigned char*>(val.data()), val.size());
        }
        text = names + ",LANG\r\n" + values + "," + std::to_string(v.lang) + "\r\n";
    } else {
        text = std::string(vinf::kMagic) + "=" + vinf::kVersion + "\r\n";
        for (const Field& f : kFields) text += std::string(f.name) + "=" + v.*f.member + "\r\n";
        text += "LANG=" + std::to_string(v.lang) + "\r\n";
    }
    // The old file stays whole until the new one is.
    int32_t err = 0;
    if (int r = pxall::atomic_write_file(path, text.data(), text.size(), &err); r != 0)
        return fail("vjin_set_vinf", r == 11 ? "atomic_write_file create" : "atomic_write_file", r, err, 121);
    return 0;
}
