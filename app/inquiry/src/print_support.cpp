#include "inquiry/print_support.h"

#include <cstdio>

#include "platform/clock.h"

namespace px::inquiry {

QString print_date() {
    std::tm t = plat::local_now();
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", t.tm_mday % 100, (t.tm_mon + 1) % 100, t.tm_year % 100);
    return QString::fromLatin1(buf);
}

QString page_number(int page) { return QString("%1").arg(page, 3, 10, QChar('0')); }

}  // namespace px::inquiry
