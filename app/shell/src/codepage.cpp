#include "shell/codepage.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <QFontDatabase>

#include "shell/binding.h"

namespace px {

namespace {

int g_code_page = 1252;

// Code page 1252 from 0x80 to 0x9F; its five unassigned bytes keep their C1
// code points, so that every byte goes through and back unchanged.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString from_1252(std::string_view bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (unsigned char c : bytes)
        out.append(QChar(c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : char16_t(c)));
    return out;
}

std::string to_1252(const QString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar ch : text) {
        char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.push_back(static_cast<char>(u));
            continue;
        }
        char c = '?';
        for (size_t i = 0; i < kCp1252High.size(); ++i)
            if (kCp1252High[i] == u) c = static_cast<char>(0x80 + i);
        out.push_back(c);
    }
    return out;
}

// Through iconv; a byte that does not convert becomes '?'.
std::string convert(const char* to, const char* from, std::string_view in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    std::string out(in.size() * 4 + 4, '\0');
    char* src = const_cast<char*>(in.data());
    size_t src_left = in.size();
    char* dst = out.data();
    size_t dst_left = out.size();
    while (src_left > 0) {
        if (iconv(cd, &src, &src_left, &dst, &dst_left) != static_cast<size_t>(-1)) break;
        if (errno == E2BIG || dst_left == 0) break;
        ++src;  // skip what does not convert
        --src_left;
        *dst++ = '?';
        --dst_left;
    }
    out.resize(out.size() - dst_left);
    iconv_close(cd);
    return out;
}

}  // namespace

int ansi_code_page() { return g_code_page; }
void set_ansi_code_page(int code_page) { g_code_page = code_page == 932 ? 932 : 1252; }

QString from_ansi(std::string_view bytes) {
    if (g_code_page == 932) return QString::fromStdString(convert("UTF-8", "CP932", bytes));
    return from_1252(bytes);
}

std::string to_ansi(const QString& text) {
    if (g_code_page == 932) return convert("CP932", "UTF-8", text.toStdString());
    return to_1252(text);
}

namespace {

constexpr const char* kJapaneseCode = "02";  // menu language code of JAPANESE
constexpr size_t kMenuLangCodeAt = 7;        // in the shared state block
const QString kMincho = QString::fromUtf8("\xEF\xBC\xAD\xEF\xBC\xB3 \xE6\x98\x8E\xE6\x9C\x9D");

// The shared state block of the started environment (a C++ export of PXALL).
Declared<unsigned char*()> get_ctop_addr{"PXALL", "_ZN5pxall13get_ctop_addrEv"};

}  // namespace

int code_page_setting(const char* menu_language_code, const char* override_value) {
    if (override_value != nullptr) {
        if (std::strcmp(override_value, "932") == 0) return 932;
        if (std::strcmp(override_value, "1252") == 0) return 1252;
    }
    if (menu_language_code != nullptr && std::strncmp(menu_language_code, kJapaneseCode, 2) == 0) return 932;
    return 1252;
}

std::string menu_language_code() {
    char code[3] = {};
    if (const unsigned char* top = get_ctop_addr()) std::memcpy(code, top + kMenuLangCodeAt, 2);
    return code;
}

void apply_code_page_setting() {
    set_ansi_code_page(code_page_setting(menu_language_code().c_str(), std::getenv("PXDROM_CODEPAGE")));
}

QString oem_font_name() { return g_code_page == 932 ? kMincho : QStringLiteral("Courier"); }

QStringList font_faces_for(const QString& name) {
    if (name == kMincho)
        return {"IPAMincho", "IPAexMincho", "IPAGothic", "IPAexGothic", "Noto Serif CJK JP", "Noto Sans CJK JP"};
    if (name.compare("Courier", Qt::CaseInsensitive) == 0 || name.compare("Courier New", Qt::CaseInsensitive) == 0)
        return {"Liberation Mono", "DejaVu Sans Mono", "Nimbus Mono PS", "FreeMono"};
    return {name};
}

QFont screen_font(const QString& name, qreal points) {
    const QStringList installed = QFontDatabase::families();
    QString family;
    for (const QString& face : font_faces_for(name)) {
        for (const QString& have : installed)
            if (have.compare(face, Qt::CaseInsensitive) == 0) family = have;
        if (!family.isEmpty()) break;
    }
    // A Japanese name with none of its faces: any face that writes Japanese.
    if (family.isEmpty() && name == kMincho) {
        const auto japanese = QFontDatabase::families(QFontDatabase::Japanese);
        if (!japanese.isEmpty()) family = japanese.front();
    }
    QFont font = family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont(family);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(points);
    return font;
}

QFont oem_font(qreal points) { return screen_font(oem_font_name(), points); }

QString field_text(const char* data, size_t len) {
    size_t n = 0;
    while (n < len && data[n] != '\0') ++n;
    return from_ansi(std::string_view(data, n));
}

}  // namespace px
