#include "core/local_clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace quendal {

LocalDateTime SystemLocalTime() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm parts{};
    // The program reads the clock on its one user-interface thread only.
    if (const std::tm* local = std::localtime(&now)) { // NOLINT(concurrency-mt-unsafe)
        parts = *local;
    }
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min};
}

std::string FormatDate(const LocalDateTime& when) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", when.day, when.month, when.year);
    return text;
}

std::string FormatTime(const LocalDateTime& when) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d", when.hour, when.minute);
    return text;
}

} // namespace quendal
