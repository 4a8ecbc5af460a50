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
#include "pxall/csv.h"
#include "pxvjin/pxvjin.h"

using namespace pxvjin;

namespace {

struct Field {
    const char* name;
    std::string Vehicle::*member;
    size_t width;
};
const Field kFields[] = {
    {"VIN", &Vehicle::vin, kVinW},          {"CATALOG", &Vehicle::cat, kCatW},   {"MODEL", &Vehicle::model, kModW},
    {"FRAMEMODEL", &Vehicle::fmod, kFmodW}, {"FRAMENO", &Vehicle::fno, kFnoW},   {"PRODDATE", &Vehicle::ad, kAdW},
    {"COLOR", &Vehicle::clr, kClrW},        {"TRIM", &Vehicle::trm, kTrmW},      {"NOTES", &Vehicle::notes, kNotW},
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

// One CSV line into its fields, by the common library's reader.
bool split_csv(const std::string& line, std::vector<std::string>* out) {
    out->clear();
    const char* pos = line.c_str();
    for (int n = 0; pos != nullptr && n <= static_cast<int>(line.size()); ++n) {
        int16_t first = 0, last = -1;
        const char* next = pxall::get_next_csv(pos, &first, &last);
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

// The file's names and values; false when it is not a vehicle-information
// file of ours (or damaged).
bool parse(const std::string& bytes, bool csv, std::map<std::string, std::string>* values) {
    if (bytes.find('\0') != std::string::npos) return false;
    std::vector<std::string> lines = lines_of(bytes);
    for (const std::string& l : lines)
        if (l.size() > vinf::kMaxLine) return false;
    if (csv) {
        std::vector<std::string> names, vals;
        lines.erase(std::remove(lines.begin(), lines.end(), std::string()), lines.end());
        if (lines.size() != 2 || !split_csv(lines[0], &names) || !split_csv(lines[1], &vals)) return false;
        if (names.size() != vals.size() || names.empty() || names[0] != vinf::kMagic) return false;
        for (size_t i = 0; i < names.size(); ++i) (*values)[names[i]] = vals[i];
    } else {
        bool first = true;
        for (const std::string& l : lines) {
            if (l.empty() || l[0] == ';') continue;
            size_t eq = l.find('=');
            if (eq == std::string::npos) return false;
            std::string name = l.substr(0, eq);
            if (first && name != vinf::kMagic) return false;
            first = false;
            (*values)[name] = l.substr(eq + 1);
        }
        if (first) return false;
    }
    if ((*values)[vinf::kMagic] != vinf::kVersion) return false;
    for (const Field& f : kFields) {
        auto it = values->find(f.name);
        if (it == values->end()) continue;
        std::string t = trimmed(it->second.data(), it->second.size());
        if (t.size() > f.width) return false;
        for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (std::string(f.name) != "NOTES") it->second = t;
        else it->second = trimmed(it->second.data(), it->second.size());
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
    reset_vehicle();
    for (const Field& f : kFields)
        if (auto it = values.find(f.name); it != values.end()) s.v.*f.member = it->second;
    if (auto it = values.find("LANG"); it != values.end() && it->second.size() == 1) {
        int lang = it->second[0] - '0';
        if (lang == 1 || (lang >= 3 && lang <= 5)) s.v.lang = lang;
    }
    fill_block();
    // Identification goes on from the strongest key the file holds.
    if (!s.v.vin.empty()) return 4;
    if (!s.v.fno.empty()) return 2;
    if (s.v.cat.empty()) return 0;
    Catalog c;
    int r = find_catalog(s.v.cat, &c);
    if (r < 0) return -1;
    if (r != 0) return 0;
    take_catalog(c);
    fill_block();
    if (!s.v.model.empty()) return 1;
    return 0;
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
    std::FILE* fp = plat::fopen(path, "wb");
    if (fp == nullptr) return fail("vjin_set_vinf", "fopen", 11, errno, 121);
    bool ok = std::fwrite(text.data(), 1, text.size(), fp) == text.size();
    ok = std::fclose(fp) == 0 && ok;
    if (!ok) return fail("vjin_set_vinf", "fwrite", 13, errno, 122);
    return 0;
}
