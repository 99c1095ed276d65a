#include "core/base/random_clock.h"

#include <cstdio>
#include <ctime>

namespace vorblin {

namespace {
std::tm LocalNow() {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return parts;
}
}  // namespace

int SystemClock::Seconds() {
    return LocalNow().tm_sec % 60;
}

std::string SystemClock::ShortDate() {
    const std::tm parts = LocalNow();
    char text[48];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", parts.tm_mday, parts.tm_mon + 1,
                  parts.tm_year + 1900);
    return text;
}

}  // namespace vorblin
