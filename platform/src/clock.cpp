#include "platform/clock.h"

#include <cerrno>

namespace plat {

namespace {

struct FixedClock {
    bool on = false;
    std::time_t seconds = 0;
    int32_t millis = 0;  // what sleeps added below a whole second
};

FixedClock& fixed() {
    static FixedClock clock;
    return clock;
}

}  // namespace

std::tm local_now() {
    std::time_t t = now_seconds();
    std::tm out{};
    ::localtime_r(&t, &out);
    return out;
}

int64_t now_seconds() {
    const FixedClock& clock = fixed();
    return clock.on ? static_cast<int64_t>(clock.seconds) : static_cast<int64_t>(std::time(nullptr));
}

void fix_clock(int year, int month, int day, int hour, int minute, int second) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    FixedClock& clock = fixed();
    clock.on = true;
    clock.seconds = std::mktime(&fields);
    clock.millis = 0;
}

void unfix_clock() { fixed() = FixedClock{}; }

void sleep_ms(int32_t ms) {
    if (ms <= 0) return;
    FixedClock& clock = fixed();
    if (clock.on) {
        int64_t total = static_cast<int64_t>(clock.millis) + ms;
        clock.seconds += static_cast<std::time_t>(total / 1000);
        clock.millis = static_cast<int32_t>(total % 1000);
        return;
    }
    struct timespec wait = {ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
    while (::nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}

}  // namespace plat
