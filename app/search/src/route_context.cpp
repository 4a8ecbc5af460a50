#include "search/route_context.h"

namespace px::search {

namespace {

RouteContext& context() {
    static RouteContext c;
    return c;
}

}  // namespace

RouteContext& route_context() { return context(); }

void reset_route_context() { context() = RouteContext{}; }

std::string fixed(const std::string& text, size_t width) {
    std::string s = text.substr(0, width);
    s.resize(width, ' ');
    return s;
}

std::string up_to_nul(const std::string& fixed_string) {
    size_t end = fixed_string.find('\0');
    return end == std::string::npos ? fixed_string : fixed_string.substr(0, end);
}

}  // namespace px::search
