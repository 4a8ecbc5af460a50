// Message and screen text tables (layouts in texts.h).

#include "pxall/texts.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/paths.h"
#include "pxall/text_cut.h"

namespace pxall {

namespace {

// The shared state block has 4-byte address slots; 64-bit addresses live here.
struct Table {
    unsigned char* entries = nullptr;
    int count = 0;
};

Table g_msg;
Table g_scr;

// Lookup memory: the message whose first line was found last and the entry
// after it; the screen text expected next and the entry after the last hit.
int g_msg_no = -1;
int g_msg_next = -1;
int g_scr_expect = 0;
int g_scr_next = 0;

struct Format {
    const char* name_pattern;  // takes the menu language code
    int line_size;
    int digits;
    int text_at;
    bool comments;
    int entry_size;
    int text_chars;      // at most this many characters of the text
    char pad;            // filling of the text field up to text_chars
    int max_entries;
    size_t count_field;  // entry count in the shared state block
};

// The menu language code of Japanese, whose texts are in code page 932.
constexpr char kJapaneseMenuLang[] = "02";

constexpr Format kMsgFormat = {"PXDROM%2.2s.MSG", kMsgLineSize, 3, 3, false,
                               kMsgEntrySize, kMsgTextChars, ' ', kMsgMaxEntries, ctop::kMsgCount};
constexpr Format kScrFormat = {"PXDROM%2.2s.SCR", kScrLineSize, 4, 5, true,
                               kScrEntrySize, kScrTextChars, '\0', kScrMaxEntries, ctop::kScrCount};

void free_table_of(Table* t, size_t count_field) {
    std::free(t->entries);
    t->entries = nullptr;
    t->count = 0;
    if (unsigned char* top = get_ctop_addr()) put_i16(top + count_field, 0);
}

bool leading_digits(const char* line, int n) {
    for (int i = 0; i < n; ++i)
        if (line[i] < '0' || line[i] > '9') return false;  // stops at the NUL too
    return true;
}

int load(const Format& f, bool in_program_dir, Table* t) {
    free_table_of(t, f.count_field);
    unsigned char* top = get_ctop_addr();
    if (top == nullptr) return 1;

    char path[kPathSize] = {};
    std::snprintf(path, sizeof path, f.name_pattern, reinterpret_cast<const char*>(top + ctop::kMenuLangCode));
    if (in_program_dir && get_path_name(kPathProgram, -1, path) != 0) return 1;

    std::FILE* fp = plat::fopen(path, "rt");
    if (fp == nullptr) return 1;
    t->entries = static_cast<unsigned char*>(std::calloc(f.max_entries, f.entry_size));
    if (t->entries == nullptr) {
        std::fclose(fp);
        return 1;
    }

    char line[kScrLineSize > kMsgLineSize ? kScrLineSize : kMsgLineSize];
    while (t->count < f.max_entries && plat::fgets_text(line, f.line_size, fp) != nullptr) {
        if (f.comments && line[0] == '#') continue;
        if (!leading_digits(line, f.digits)) continue;
        size_t len = std::strlen(line);
        while (len > 0 && (line[len - 1] == '\n' || line[len - 1] == '\r')) line[--len] = 0;
        int no = 0;
        for (int i = 0; i < f.digits; ++i) no = no * 10 + (line[i] - '0');
        // A line that ends at the separator has an empty text.
        size_t text_len = len > static_cast<size_t>(f.text_at) ? len - f.text_at : 0;

        unsigned char* e = t->entries + static_cast<size_t>(t->count) * f.entry_size;
        put_i16(e, static_cast<int16_t>(no));
        put_text_field(reinterpret_cast<char*>(e + 2), static_cast<size_t>(f.text_chars),
                       std::string_view(line + f.text_at, text_len), f.pad);
        e[2 + f.text_chars] = 0;
        ++t->count;
    }
    put_i16(top + f.count_field, static_cast<int16_t>(t->count));
    std::fclose(fp);
    return 0;
}

int entry_no(const Table& t, int i, int entry_size) {
    return get_i16(t.entries + static_cast<size_t>(i) * entry_size);
}

const char* entry_text(const Table& t, int i, int entry_size) {
    return reinterpret_cast<const char*>(t.entries + static_cast<size_t>(i) * entry_size + 2);
}

int find(const Table& t, int no, int entry_size) {
    if (t.entries == nullptr) return -1;
    for (int i = 0; i < t.count; ++i)
        if (entry_no(t, i, entry_size) == no) return i;
    return -1;
}

}  // namespace

int set_msg() { return load(kMsgFormat, true, &g_msg); }

int set_scr() { return load(kScrFormat, false, &g_scr); }

void free_msg() { free_table_of(&g_msg, ctop::kMsgCount); }

void free_scr() { free_table_of(&g_scr, ctop::kScrCount); }

const char* get_1stmsg_text(int no) {
    int i = find(g_msg, no, kMsgEntrySize);
    if (i < 0) return nullptr;
    g_msg_no = no;
    g_msg_next = i + 1;
    return entry_text(g_msg, i, kMsgEntrySize);
}

const char* get_2ndmsg_text() {
    const char* text = nullptr;
    if (g_msg_no != -1 && g_msg.entries != nullptr && g_msg_next >= 0 && g_msg_next < g_msg.count &&
        entry_no(g_msg, g_msg_next, kMsgEntrySize) == g_msg_no)
        text = entry_text(g_msg, g_msg_next, kMsgEntrySize);
    g_msg_no = -1;
    g_msg_next = -1;
    return text;
}

const char* get_scr_text(int no) {
    if (g_scr.entries == nullptr) return nullptr;
    int i = -1;
    if (no == g_scr_expect && g_scr_next >= 0 && g_scr_next < g_scr.count &&
        entry_no(g_scr, g_scr_next, kScrEntrySize) == no)
        i = g_scr_next;
    else
        i = find(g_scr, no, kScrEntrySize);
    if (i < 0) return nullptr;
    g_scr_expect = no + 1;
    g_scr_next = i + 1;
    return entry_text(g_scr, i, kScrEntrySize);
}

bool texts_double_byte() {
    const unsigned char* top = get_ctop_addr();
    return top != nullptr && std::memcmp(top + ctop::kMenuLangCode, kJapaneseMenuLang, 2) == 0;
}

}  // namespace pxall

extern "C" int32_t VBGetMsg(int32_t no, VbString* str) {
    const char* first = pxall::get_1stmsg_text(no);
    if (first == nullptr) return 0;
    const char* second = pxall::get_2ndmsg_text();
    if (str == nullptr || str->data == nullptr || str->len <= 0) return 0;

    char buf[pxall::kMsgJoinSize] = {};
    size_t n = strnlen(first, pxall::kMsgTextChars);
    std::memcpy(buf, first, n);
    if (second != nullptr) {
        buf[n++] = '\r';
        buf[n++] = '\n';
        std::memcpy(buf + n, second, strnlen(second, pxall::kMsgTextChars));
    }
    // The buffer ends the copy; a longer string gets NUL bytes behind it, a
    // shorter one whole characters.
    size_t len = static_cast<size_t>(str->len);
    size_t copy = pxall::text_cut_length(std::string_view(buf, sizeof buf), len);
    std::memcpy(str->data, buf, copy);
    if (len > copy) std::memset(str->data + copy, 0, len - copy);
    return str->len;
}

extern "C" void VBGetScr(int32_t no, VbString* str) {
    const char* text = pxall::get_scr_text(no);
    if (text == nullptr || str == nullptr || str->data == nullptr || str->len <= 0) return;
    size_t len = static_cast<size_t>(str->len);
    size_t n = pxall::text_cut_length(std::string_view(text, strnlen(text, pxall::kScrTextChars)), len);
    std::memcpy(str->data, text, n);
    if (len > n) std::memset(str->data + n, 0, len - n);
}
