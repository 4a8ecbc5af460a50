// Windows wildcard matching, kept to simple rules:
//  - '*' matches any run of characters, dots included;
//  - '?' matches one character, or nothing at the end of the name or before
//    a '.', so "A??.TXT" matches "A.TXT" and "AB.TXT" but not "ABCD.TXT";
//  - a pattern ending in ".*" also matches the name without an extension,
//    which makes "*.*" match every name;
//  - a pattern ending in '.' drops that dot; when no other dot is left it
//    matches only names without a dot ("*." is every name without one);
//  - "." and ".." match what "*" matches, and "*." too, as Windows lists them.
// Letters compare without regard to case.
#include <vector>

#include "host_fs.h"
#include "platform/files.h"

namespace plat {

namespace {

bool match_plain(std::string_view p, std::string_view n) {
    // next[j]: p[i+1..] matches n[j..]; built from the pattern's end so many
    // '*' cost P*N steps rather than backtracking.
    const size_t size = n.size();
    std::vector<char> next(size + 1, 0), cur(size + 1, 0);
    next[size] = 1;
    for (size_t i = p.size(); i-- > 0;) {
        const char c = p[i];
        for (size_t j = size + 1; j-- > 0;) {
            bool m;
            if (c == '*') {
                m = next[j] || (j < size && cur[j + 1]);
            } else if (c == '?') {
                m = (j < size && next[j + 1]) || ((j == size || n[j] == '.') && next[j]);
            } else {
                m = j < size && detail::fold(c) == detail::fold(n[j]) && next[j + 1];
            }
            cur[j] = m;
        }
        std::swap(cur, next);
    }
    return next[0];
}

bool all_dots(std::string_view s) { return s.find_first_not_of('.') == std::string_view::npos; }

}  // namespace

bool wildcard_match(std::string_view pattern, std::string_view name) {
    if (pattern.empty() || name.empty()) return false;
    if ((name == "." || name == "..") && pattern == "*.") return true;
    if (pattern.back() == '.' && !all_dots(pattern)) {
        std::string_view base = pattern.substr(0, pattern.size() - 1);
        if (base.find('.') == std::string_view::npos && name.find('.') != std::string_view::npos) return false;
        return match_plain(base, name);
    }
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*") {
        return match_plain(pattern, name) || match_plain(pattern.substr(0, pattern.size() - 2), name);
    }
    return match_plain(pattern, name);
}

}  // namespace plat
