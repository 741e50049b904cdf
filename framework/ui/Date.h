#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace fw {

// A moment in time: a new Date holds the current date and time, read from the
// clock. Its texts are in the long formats of the user's locale for times
// and dates (LC_ALL, else LC_TIME, else LANG, read afresh for each text) and
// in the local time zone.
class Date {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    Date();
    explicit Date(std::chrono::system_clock::time_point moment) : moment_(moment) {}

    std::chrono::system_clock::time_point Moment() const { return moment_; }
    // The date written out with the weekday and the month's name, as
    // "Monday, December 7, 2026" in American English.
    std::string LongDate() const;
    // The time to the second with the time zone, as "3:04:05 PM UTC".
    std::string LongTime() const;

    // The clock that new Dates read; an empty one restores the system clock.
    static void SetClock(Clock clock);

private:
    std::chrono::system_clock::time_point moment_;
};

}  // namespace fw
