#include "Data/Date.h"

#include <ctime>

namespace Data {

Date::Date(const std::int64_t& time) {
    set(time);
}

void Date::set(const std::int64_t& time) {
    const std::time_t value = static_cast<std::time_t>(time);
    std::tm local{};
    if (value != time || localtime_r(&value, &local) == nullptr) {
        return;
    }
    day = local.tm_mday;
    month = local.tm_mon;
    year = local.tm_year;
    hours = local.tm_hour;
    minutes = local.tm_min;
    seconds = local.tm_sec;
}

std::int64_t Date::getCTime() const {
    std::tm local{};
    local.tm_mday = day;
    local.tm_mon = month;
    local.tm_year = year;
    local.tm_hour = hours;
    local.tm_min = minutes;
    local.tm_sec = seconds;
    local.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&local));
}

} // namespace Data
