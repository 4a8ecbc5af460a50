#include "support/text_records.h"

namespace pxtest {

std::string pad(std::string s, size_t n) {
    s.resize(n, ' ');
    return s;
}

std::vector<std::string> records(const std::string& bytes, size_t len) {
    std::vector<std::string> out;
    for (size_t i = 0; i + len <= bytes.size(); i += len) out.push_back(bytes.substr(i, len));
    return out;
}

std::vector<std::string> text_lines(const std::string& bytes) {
    std::vector<std::string> out;
    size_t at = 0;
    for (size_t nl; (nl = bytes.find('\n', at)) != std::string::npos; at = nl + 1) out.push_back(bytes.substr(at, nl - at));
    return out;
}

}  // namespace pxtest
