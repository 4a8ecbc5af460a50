#include "drive_table.h"

#include <array>
#include <cstdio>
#include <sstream>

#include "host_fs.h"
#include "platform/files.h"

namespace plat {

using detail::DriveEntry;

namespace {

using Table = std::array<std::optional<DriveEntry>, 26>;

Table& drives() {
    static Table table;
    return table;
}

int slot_of(char letter) {
    char up = detail::fold(letter);
    return (up >= 'A' && up <= 'Z') ? up - 'A' : -1;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// '#' opens a comment at the start of a line or after a blank, so a folder
// name may still hold a '#'.
std::string_view strip_comment(std::string_view line) {
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) return line.substr(0, i);
    }
    return line;
}

std::optional<DriveType> parse_type(std::string_view word) {
    if (detail::equal_fold(word, "fixed")) return kDriveFixed;
    if (detail::equal_fold(word, "cdrom")) return kDriveCdrom;
    if (detail::equal_fold(word, "removable")) return kDriveRemovable;
    return std::nullopt;
}

bool defect(std::string* error, int line, const std::string& what) {
    if (error != nullptr) *error = (line > 0 ? "line " + std::to_string(line) + ": " : std::string()) + what;
    return false;
}

}  // namespace

void set_drive(char letter, const std::string& host_dir, DriveType type) {
    int slot = slot_of(letter);
    if (slot < 0 || host_dir.empty()) return;
    // Absolute now, so a later change of the current directory cannot move the drive.
    drives()[slot] = DriveEntry{detail::normalize_host(host_dir), type};
}

void remove_drive(char letter) {
    int slot = slot_of(letter);
    if (slot >= 0) drives()[slot].reset();
}

void clear_drives() {
    for (auto& entry : drives()) entry.reset();
}

std::optional<std::string> drive_dir(char letter) {
    int slot = slot_of(letter);
    if (slot < 0 || !drives()[slot]) return std::nullopt;
    return drives()[slot]->dir;
}

// Lines "LETTER=directory[,type]". The whole table is checked before any
// drive is mapped; letters the table does not name keep their mapping. The
// type follows the last comma, so a folder whose name holds a comma must
// name its type.
bool load_drive_table(const std::string& host_file, std::string* error) {
    std::string bytes;
    std::FILE* fp = detail::fopen_regular(host_file, "rb");
    if (fp == nullptr) return defect(error, 0, "cannot read " + host_file);
    char chunk[4096];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, fp)) > 0;) bytes.append(chunk, got);
    bool failed = std::ferror(fp) != 0;
    std::fclose(fp);
    if (failed) return defect(error, 0, "cannot read " + host_file);
    std::istringstream in(bytes);
    const std::string base = detail::parent_host(detail::normalize_host(host_file));

    Table parsed;
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        std::string_view line(raw);
        if (number == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = trim(strip_comment(line));
        if (line.empty()) continue;

        size_t eq = line.find('=');
        if (eq == std::string_view::npos) return defect(error, number, "expected LETTER=directory");
        std::string_view letter = trim(line.substr(0, eq));
        if (letter.size() != 1 || slot_of(letter[0]) < 0) return defect(error, number, "bad drive letter");
        int slot = slot_of(letter[0]);
        if (parsed[slot]) return defect(error, number, "drive mapped twice");

        std::string_view dir = trim(line.substr(eq + 1));
        DriveType type = kDriveFixed;
        size_t comma = dir.find_last_of(',');
        if (comma != std::string_view::npos) {
            auto named = parse_type(trim(dir.substr(comma + 1)));
            if (!named) return defect(error, number, "unknown drive type");
            type = *named;
            dir = trim(dir.substr(0, comma));
        }
        if (dir.empty()) return defect(error, number, "missing directory");
        std::string host(dir);
        if (host[0] != '/') host = detail::join_host(base, host);
        parsed[slot] = DriveEntry{detail::normalize_host(host), type};
    }
    if (in.bad()) return defect(error, 0, "read error in " + host_file);

    for (size_t i = 0; i < parsed.size(); ++i) {
        if (parsed[i]) drives()[i] = parsed[i];
    }
    return true;
}

DriveType drive_type(std::string_view root) {
    auto letter = detail::parse_root(root);
    if (!letter) return kDriveNoRootDir;
    auto drive = detail::lookup_drive(*letter);
    if (!drive) return kDriveNoRootDir;
    // A removable or CD drive exists without a disc; a fixed drive without its folder does not.
    if (drive->type == kDriveFixed && !detail::is_directory(drive->dir)) return kDriveNoRootDir;
    return drive->type;
}

namespace detail {

std::optional<DriveEntry> lookup_drive(char letter) {
    int slot = slot_of(letter);
    if (slot < 0) return std::nullopt;
    return drives()[slot];
}

bool drive_ready(const DriveEntry& drive) { return is_directory(drive.dir); }

std::optional<char> parse_root(std::string_view root) {
    if (root.empty()) {
        std::string cwd = current_directory();
        if (cwd.size() >= 2 && cwd[1] == ':') return cwd[0];
        return std::nullopt;
    }
    if (root.size() < 2 || root.size() > 3 || root[1] != ':' || slot_of(root[0]) < 0) return std::nullopt;
    if (root.size() == 3 && !is_separator(root[2])) return std::nullopt;
    return fold(root[0]);
}

}  // namespace detail
}  // namespace plat
