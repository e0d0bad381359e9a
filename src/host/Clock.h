#pragma once

// The clock service: the local date and time, for the backup list's name and its heading.

namespace orvanta::host {

struct LocalTime {
    int year = 0;
    int month = 0; // 1-12
    int day = 0;   // 1-31
    int hour = 0;  // 0-23
    int minute = 0;
    int second = 0;
};

/// Local date and time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() const = 0;
};

} // namespace orvanta::host
