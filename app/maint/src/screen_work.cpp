#include "maint/screen_work.h"

#include <cstdio>
#include <cstring>

#include "maint/maint_entries.h"
#include "platform/files.h"

namespace px::maint {

namespace {

using Record = std::array<char, swrec::kSize>;

// The file closed when it goes.
struct File {
    std::FILE* fp = nullptr;
    explicit File(std::FILE* f) : fp(f) {}
    ~File() {
        if (fp != nullptr) std::fclose(fp);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
};

bool id_blank(const Record& r);

// A section tag line: kept whole and starting with "#" (a text that starts
// with "#" is no tag).
bool is_tag(const Record& r) { return id_blank(r) && r[swrec::kText] == '#'; }

// The text part up to its CR; without a CR the whole field.
std::string text_of(const Record& r) {
    const char* t = r.data() + swrec::kText;
    const void* cr = std::memchr(t, '\r', swrec::kTextLen);
    size_t n = cr != nullptr ? static_cast<size_t>(static_cast<const char*>(cr) - t) : swrec::kTextLen;
    return std::string(t, n);
}

bool has_cr(const Record& r) { return std::memchr(r.data() + swrec::kText, '\r', swrec::kTextLen) != nullptr; }

bool id_blank(const Record& r) {
    for (size_t i = 0; i < swrec::kIdLen; ++i)
        if (r[swrec::kId + i] != ' ') return false;
    return true;
}

bool read_record(std::FILE* fp, Record* r) { return std::fread(r->data(), 1, r->size(), fp) == r->size(); }

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

// One line of a text file without its line end, or false at the end.
bool read_line(std::FILE* fp, std::string* line) {
    line->clear();
    int c;
    bool any = false;
    while ((c = std::fgetc(fp)) != EOF) {
        any = true;
        if (c == '\n') break;
        line->push_back(static_cast<char>(c));
    }
    if (!any) return false;
    if (!line->empty() && line->back() == '\r') line->pop_back();
    return true;
}

// The record a line is kept in; false when it does not fit whole.
bool make_record(const std::string& line, Record* r) {
    r->fill(' ');
    const bool text_line = line.size() >= swrec::kIdLen && line[0] != '#' &&
                           line.compare(0, swrec::kIdLen, std::string(swrec::kIdLen, ' ')) != 0;
    std::string text = line;
    if (text_line) {
        std::memcpy(r->data() + swrec::kId, line.data(), swrec::kIdLen);
        text = line.substr(swrec::kIdLen);
    }
    const size_t n = std::min(text.size(), swrec::kTextLen);
    std::memcpy(r->data() + swrec::kText, text.data(), n);
    if (text.size() >= swrec::kTextLen) return false;
    (*r)[swrec::kText + text.size()] = '\r';
    return true;
}

}  // namespace

const std::array<const char*, kScreenCount> kScreenTags = {
    "#PXCOMN", "#PXGYOM", "#PXVJIN", "#PXVCAT", "#PXVKEI", "#PXKROT", "#PXKKWD", "#PXKPNC", "#PXEMOK", "#PXBUNZ",
    "#PXBUNK", "#PXBUSZ", "#PXBUSK", "#PXPNHO", "#PXPRIC", "#PXRYAK", "#PXSIUP", "#PXSTUP", "#PXTEKI", "#PXNEWP",
    "#PXDPRC", "#PXFSAV", "#PXFSAD", "#PXSHOP", "#PXSTGP", "#PXKGRL", "#PXKGRP", "#PXHINB", "#PXFSEL", "#PXKGRR",
    "#PXLPEM", "#PXLPPS", "#PXINTF", "#PXSTLP", "#PXSTPR", "#PXSSCR", "#PXSSED"};

std::array<std::string, kScreenCount>& ScreenNames() {
    static std::array<std::string, kScreenCount> names;
    return names;
}

bool ScreenWork::import_file(const std::string& screen_path, const std::string& work_path) {
    whole_ = copy_in(screen_path, work_path);
    return whole_;
}

bool ScreenWork::copy_in(const std::string& screen_path, const std::string& work_path) {
    long_lines_.clear();
    File in(plat::fopen(screen_path, "rb"));
    plat::delete_file(work_path);
    if (in.fp == nullptr) return false;
    File out(plat::fopen(work_path, "w+b"));
    if (out.fp == nullptr) return false;
    int32_t no = 1;
    bool name_due = false;
    std::string tag;
    std::string line;
    while (read_line(in.fp, &line)) {
        Record r;
        if (!line.empty() && line[0] == '#') {
            name_due = true;
            tag = line;
        } else if (name_due) {
            for (int i = 0; i < kScreenCount; ++i)
                if (tag == kScreenTags[i] && line.size() >= swrec::kIdLen) ScreenNames()[i] = trim(line.substr(5));
            name_due = false;
        }
        if (!make_record(line, &r)) long_lines_[no] = line;
        if (std::fwrite(r.data(), 1, r.size(), out.fp) != r.size()) return false;
        ++no;
    }
    return !std::ferror(in.fp) && std::fflush(out.fp) == 0;
}

std::vector<ScreenRow> ScreenWork::section(const std::string& work_path, const std::string& tag) const {
    std::vector<ScreenRow> rows;
    if (tag.empty()) return rows;
    File f(plat::fopen(work_path, "rb"));
    if (f.fp == nullptr) return rows;
    bool in_section = false;
    Record r;
    for (int32_t no = 1; read_record(f.fp, &r); ++no) {
        if (is_tag(r)) {
            if (in_section) break;
            in_section = text_of(r).compare(0, tag.size(), tag) == 0;
            continue;
        }
        if (!in_section) continue;
        std::string text = text_of(r);
        if (!has_cr(r)) {
            // A line longer than its record: shown whole.
            auto it = long_lines_.find(no);
            if (it != long_lines_.end()) text = id_blank(r) ? it->second : it->second.substr(swrec::kIdLen);
        }
        rows.push_back(ScreenRow{r[swrec::kMark], text});
    }
    return rows;
}

bool ScreenWork::write_text(const std::string& work_path, const std::string& tag, int row,
                            const std::string& text) const {
    if (tag.empty() || row < 1 || text.size() > kMaxTextLen) return false;
    File f(plat::fopen(work_path, "r+b"));
    if (f.fp == nullptr) return false;
    Record r;
    long tag_no = 0;
    for (long no = 1; read_record(f.fp, &r); ++no) {
        if (is_tag(r) && text_of(r).compare(0, tag.size(), tag) == 0) {
            tag_no = no;
            break;
        }
    }
    if (tag_no == 0) return false;
    // The row must be a text of the section: no tag record stands between.
    for (int i = 1; i <= row; ++i) {
        if (!read_record(f.fp, &r) || is_tag(r)) return false;
    }
    const long offset = (tag_no + row - 1) * static_cast<long>(swrec::kSize);
    r[swrec::kMark] = '*';
    std::memset(r.data() + swrec::kText, ' ', swrec::kTextLen);
    std::memcpy(r.data() + swrec::kText, text.data(), text.size());
    r[swrec::kText + text.size()] = '\r';
    if (std::fseek(f.fp, offset, SEEK_SET) != 0) return false;
    if (std::fwrite(r.data(), 1, r.size(), f.fp) != r.size()) return false;
    return std::fflush(f.fp) == 0;
}

bool ScreenWork::export_file(const std::string& work_path, const std::string& screen_path) const {
    // A cut copy would replace the screen file and lose every text after the cut.
    if (!whole_) return false;
    File in(plat::fopen(work_path, "rb"));
    if (in.fp == nullptr) return false;
    std::string content;
    Record r;
    for (int32_t no = 1; read_record(in.fp, &r); ++no) {
        auto it = long_lines_.find(no);
        if (!has_cr(r) && it != long_lines_.end()) content += it->second;
        else if (id_blank(r)) content += text_of(r);
        else content += std::string(r.data() + swrec::kId, swrec::kIdLen) + text_of(r);
        content += "\r\n";
    }
    if (std::ferror(in.fp)) return false;
    int32_t err = 0;
    return lib::atomic_write_file(screen_path.c_str(), content.data(), content.size(), &err) == 0;
}

}  // namespace px::maint
