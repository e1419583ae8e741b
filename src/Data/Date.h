#pragma once

#include "Tool/Export.h"

#include <cstdint>

namespace Data {

// A date with time of day. Values set from a time value follow the C library's
// broken-down convention (month 0 to 11, years since 1900); the default and values
// that callers write directly may use calendar convention. Nothing normalises them.
class BRUMBLY_API Date {
public:
    // Day 1, month 1, year 1970, 0:00:00, stored as written.
    Date() = default;
    // The defaults, then set(time).
    explicit Date(const std::int64_t& time);
    Date(const Date& other) = default;
    Date& operator=(const Date& other) = default;
    bool operator==(const Date& other) const = default;

    // Converts seconds since 1970-01-01 UTC to local broken-down time. Leaves the
    // date unchanged when the C library cannot convert the value.
    void set(const std::int64_t& time);
    // The inverse of set() in local time (daylight saving decided by the C library),
    // or -1 when the library cannot represent the date.
    std::int64_t getCTime() const;

    std::int32_t day = 1;
    std::int32_t month = 1;
    std::int32_t year = 1970;
    std::int32_t hours = 0;
    std::int32_t minutes = 0;
    std::int32_t seconds = 0;
};

} // namespace Data
