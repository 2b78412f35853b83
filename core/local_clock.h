#pragma once
// The local date and time as the run header and the lists show them: "dd.mm.yyyy", "hh.mm".
// The program reads the clock through ProgramState::LocalClock, which tests replace.

#include <string>

namespace quendal {

struct LocalDateTime {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
    int hour = 0;  // 0..23
    int minute = 0;

    friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

// The system's local date and time, to the minute.
LocalDateTime SystemLocalTime();

// "dd.mm.yyyy"
std::string FormatDate(const LocalDateTime& when);
// "hh.mm"
std::string FormatTime(const LocalDateTime& when);

} // namespace quendal
