#include "pxbuild/dealer_sources.h"

#include <cstdio>
#include <filesystem>

#include "pxbuild/bytes.h"

namespace fs = std::filesystem;

namespace pxbuild {

namespace {

const char* kNames[] = {"BOLT", "NUT \"M8\"", "WASHER, PLAIN", "GASKET", "FILTER, OIL", "CLIP"};

// A CSV field: quoted when it holds a comma or a quote (quotes doubled),
// and every third field quoted anyway, as office programs often do.
std::string field(const std::string& text, bool quote) {
    std::string t = text;
    while (!t.empty() && t.back() == ' ') t.pop_back();
    if (!quote && t.find_first_of(",\"") == std::string::npos) return t;
    std::string out = "\"";
    for (char c : t) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

// A small one-bit bitmap file of 8 x 8 pixels.
Bytes bitmap(uint8_t pattern) {
    Bytes b(62 + 32, 0);
    b[0] = 'B';
    b[1] = 'M';
    put_u32(&b[2], static_cast<uint32_t>(b.size()));
    put_u32(&b[10], 62);
    put_u32(&b[14], 40);
    put_u32(&b[18], 8);
    put_u32(&b[22], 8);
    put_u16(&b[26], 1);
    put_u16(&b[28], 1);
    put_u32(&b[34], 32);
    b[58] = b[59] = b[60] = 0xff;  // palette entry 1 white
    for (int row = 0; row < 8; ++row) b[62 + 4 * row] = static_cast<uint8_t>(pattern << (row % 3));
    return b;
}

}  // namespace

std::vector<std::string> dealer_price_records(int kind, int n) {
    std::vector<std::string> out;
    out.reserve(static_cast<size_t>(n));
    char buf[80];
    for (int i = 0; i < n; ++i) {
        const char* name = i % 7 == 3 ? "" : kNames[i % 6];
        if (kind == 1)
            std::snprintf(buf, sizeof buf, "%05d%07d%08d%-10.10s%-20.20s", 10000 + i / 1000, i, 100 + i % 97000,
                          i % 5 == 0 ? "" : "STD", name);
        else
            std::snprintf(buf, sizeof buf, "%05d%07d%08d%08d%08d%-10.10s%-20.20s", 20000 + i / 1000, i,
                          100 + i % 97000, 90 + i % 97000, 80 + i % 97000, i % 5 == 0 ? "" : "STD", name);
        out.emplace_back(buf, kind == 1 ? 50 : 66);
    }
    return out;
}

std::string dealer_csv(const std::vector<std::string>& records, const std::vector<int>& widths) {
    std::string csv;
    for (size_t r = 0; r < records.size(); ++r) {
        std::vector<std::string> fields;
        size_t at = 0;
        for (int w : widths) {
            fields.push_back(at < records[r].size() ? records[r].substr(at, static_cast<size_t>(w)) : std::string());
            at += static_cast<size_t>(w);
        }
        // Trailing blank fields are left out: a short line.
        while (fields.size() > 1 && fields.back().find_first_not_of(' ') == std::string::npos) fields.pop_back();
        std::string line;
        for (size_t f = 0; f < fields.size(); ++f) {
            if (f > 0) line += ",";
            line += field(fields[f], (r + f) % 3 == 0);
        }
        csv += line + "\r\n";
    }
    return csv;
}

std::string dealer_price_csv(int kind, const std::vector<std::string>& records) {
    return kind == 1 ? dealer_csv(records, {12, 8, 10, 20}) : dealer_csv(records, {12, 8, 8, 8, 10, 20});
}

void write_dealer_sources(const std::string& host_folder, int price_records, int pieces) {
    fs::path root(host_folder);
    fs::create_directories(root / "PICS");
    for (int kind = 1; kind <= 2; ++kind) {
        std::vector<std::string> recs = dealer_price_records(kind, price_records);
        std::string fixed;
        for (const auto& r : recs) fixed += r;
        write_text((root / (kind == 1 ? "PRICE" : "PRICE3")).string(), fixed);
        size_t per = (recs.size() + static_cast<size_t>(pieces) - 1) / static_cast<size_t>(pieces);
        for (int p = 0; p < pieces; ++p) {
            size_t from = per * static_cast<size_t>(p);
            if (from >= recs.size()) break;
            std::vector<std::string> piece(recs.begin() + static_cast<long>(from),
                                           recs.begin() + static_cast<long>(std::min(recs.size(), from + per)));
            char name[16];
            std::snprintf(name, sizeof name, kind == 1 ? "PRICE%03d.CSV" : "PRIC3%03d.CSV", p + 1);
            write_text((root / name).string(), dealer_price_csv(kind, piece));
        }
    }

    std::string fixed;
    for (int i = 0; i < 6; ++i) {
        char r[48];
        std::snprintf(r, sizeof r, "LP%010dSUP%09d%-20.20s", 900 - i * 7, i, kNames[i]);
        fixed += std::string(r, 44);
    }
    write_text((root / "LOCALP").string(), fixed);
    write_text((root / "LOCALP1").string(),
               "LP0000000107,SUPPLIER-A,0001,0002,\"SEAL, DOOR\"\r\nLP0000000101,SUPPLIER-B,0003,0004,MAT\r\n"
               "LP0000000101,SUPPLIER-A,0001\r\n");
    write_text((root / "LOCALP2").string(),
               "KIT001,000002,LP0000000101,0001,0002,\"FLOOR \"\"KIT\"\"\"\r\nKIT001,000001,LP0000000107,0001,0001,"
               "SEAL\r\n");
    write_text((root / "LOCALP3").string(),
               "4410A1,0101,\"BODY, FRONT\",LOCAL01.BMP,LP0000000101,0001,0002,MAT,FRONT\r\n"
               "4410A1,0101,\"BODY, FRONT\",LOCAL01.BMP,LP0000000107,0001,0001,SEAL,\r\n"
               "4410A1,0102,INTERIOR,LOCAL02.BMP,LP0000000112,0002,0001,COVER,REAR\r\n");
    write_file((root / "PICS" / "local01.bmp").string(), bitmap(0x81));
    write_file((root / "PICS" / "Local02.Bmp").string(), bitmap(0x3c));
}

}  // namespace pxbuild
