// The frame shared by the rewrites of the environment file PXDROM.SYS (its
// format: pxall/env.h): the file is read whole, line by line, the lines of
// the keys a rewrite owns are replaced, every other line is kept byte for
// byte, and the new content replaces the file in one step (a twin beside
// it, flushed and renamed), so a failed write or a crash leaves the old or
// the new file whole. PXDROM.BAK in the work directory keeps the previous
// content. A key line a rewrite owns that the file lacks is added at its
// end (a rewrite never succeeds without recording what it set up).
#pragma once

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/files.h"
#include "pxall/atomic_write.h"
#include "pxall/fileutil.h"
#include "pxall/paths.h"

namespace pxenv {

constexpr const char* kSysFile = "PXDROM.SYS";
constexpr const char* kBakFile = "PXDROM.BAK";

struct Line {
    std::string text;  // without its line end
    std::string end;   // "\r\n", "\n" or "" (the last line may have none)
};

struct EnvFile {
    std::vector<Line> lines;
    std::string style = "\r\n";  // the line end of rewritten lines

    // A rewritten key line: the file's line end, also on a last line that
    // had none.
    void replace(size_t i, const std::string& text) {
        lines[i].text = text;
        lines[i].end = style;
    }
    bool starts(size_t i, const char* key) const { return lines[i].text.compare(0, std::strlen(key), key) == 0; }
    // A key line the file lacks, added at its end.
    void add(const std::string& text) {
        if (!lines.empty() && lines.back().end.empty()) lines.back().end = style;
        lines.push_back(Line{text, style});
    }
};

// Reads PXDROM.SYS of the current directory: 0, 11 (open) or 14 (read),
// with the C error number in *err.
inline int read_env(EnvFile* f, int* err) {
    *err = 0;
    std::FILE* fp = plat::fopen(kSysFile, "rb");
    if (fp == nullptr) {
        *err = errno;
        return 11;
    }
    std::string all;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, fp)) > 0) all.append(buf, n);
    bool failed = std::ferror(fp) != 0;
    int e = errno;
    std::fclose(fp);
    if (failed) {
        *err = e;
        return 14;
    }
    bool crlf = false, lf = false;
    size_t at = 0;
    while (at < all.size()) {
        size_t nl = all.find('\n', at);
        Line line;
        if (nl == std::string::npos) {
            line.text = all.substr(at);
            at = all.size();
        } else {
            line.text = all.substr(at, nl - at);
            line.end = "\n";
            at = nl + 1;
        }
        if (!line.end.empty() && !line.text.empty() && line.text.back() == '\r') {
            line.text.pop_back();
            line.end = "\r\n";
            crlf = true;
        } else if (!line.end.empty()) {
            lf = true;
        }
        f->lines.push_back(std::move(line));
    }
    if (lf && !crlf) f->style = "\n";
    return 0;
}

// Copies PXDROM.SYS over PXDROM.BAK in the work directory (not checked:
// the backup is a courtesy, the replacement below is what keeps the file
// whole).
inline void backup_env() {
    char bak[pxall::kPathSize] = {};
    std::snprintf(bak, sizeof bak, "%s", kBakFile);
    if (pxall::get_path_name(pxall::kPathWork, -1, bak) != 0) return;
    int32_t err = 0;
    pxall::file_copy(bak, kSysFile, &err);
}

// Replaces PXDROM.SYS with the lines: 0, or 13 (the old file stays) with
// the C error number in *err.
inline int commit_env(const EnvFile& f, int* err) {
    std::string all;
    for (const Line& l : f.lines) all += l.text + l.end;
    int32_t e = 0;
    int r = pxall::atomic_write_file(kSysFile, all.data(), all.size(), &e);
    *err = e;
    return r == 0 ? 0 : 13;
}

}  // namespace pxenv
