#include "setup/status_block.h"

namespace px::setup {

std::string fixed(const std::string& text, size_t n) {
    std::string out = text.substr(0, n);
    out.resize(n, ' ');
    return out;
}

std::string status_line(const std::string& entry, const Words& words) {
    std::string e = entry;
    e.resize(kEntrySize, ' ');
    std::string line = e.substr(0, 2) + " " + (e[10] == '0' ? words.cd_rom : words.hard_disk);
    std::string issue = e.substr(2, 8);
    if (issue != std::string(8, ' '))
        line += issue.substr(4, 2) + "/" + issue.substr(6, 2) + "/'" + issue.substr(2, 2);
    if (e[11] == '1') line += " " + words.mark;
    return line;
}

std::vector<std::string> status_lines(const std::string& block, const Words& words) {
    std::vector<std::string> lines;
    for (size_t j = 0; j < kEntryCount; ++j) {
        size_t at = 2 + kEntrySize * j;
        if (at + kEntrySize > block.size()) break;
        char first = block[at];
        if (first == '\0' || first == ' ') break;
        lines.push_back(status_line(block.substr(at, kEntrySize), words));
    }
    return lines;
}

std::string blank_block(const std::string& previous) {
    std::string b = previous;
    b.resize(kBlockSize, ' ');
    b[0] = '0';
    b[1] = ' ';
    for (size_t j = 0; j < kEntryCount; ++j) {
        size_t at = 2 + kEntrySize * j;
        b.replace(at, 11, std::string(11, ' '));  // code, issue, source; the mark stays
    }
    return b;
}

std::string hand_back_block(const std::string& previous, bool ticked, char drive,
                            const std::vector<std::string>& lines) {
    std::string b = blank_block(previous);
    b[0] = ticked ? '1' : '0';
    b[1] = drive;
    for (size_t k = 0; k < lines.size() && k < kEntryCount; ++k) {
        const std::string& line = lines[k];
        size_t at = 2 + kEntrySize * k;
        b.replace(at, 2, fixed(line, 2));
        b.replace(at + 2, 8, line.size() >= 14 ? std::string("yyyymmdd") : std::string(8, ' '));
        b[at + 10] = line.size() >= 5 && line.compare(3, 2, "CD") == 0 ? '0' : '1';
    }
    return b;
}

std::string swapped_line(const std::string& line, const Words& words) {
    std::string head = fixed(line, 3);
    bool on_cd = line.size() >= 13 && line.compare(3, kWordSize, words.cd_rom) == 0;
    return head + (on_cd ? words.hard_disk : words.cd_rom);
}

}  // namespace px::setup
