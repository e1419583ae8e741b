#include "Data/Date.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <string>

using Data::Date;

namespace {

// Runs each test in a chosen local time zone and restores the previous one.
class DateTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (previous) {
            setenv("TZ", previous->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

    void useTimeZone(const char* zone) {
        setenv("TZ", zone, 1);
        tzset();
    }

private:
    std::optional<std::string> previous =
        std::getenv("TZ") ? std::optional<std::string>(std::getenv("TZ")) : std::nullopt;
};

void expectFields(const Date& date, int day, int month, int year, int hours, int minutes,
                  int seconds) {
    EXPECT_EQ(date.day, day);
    EXPECT_EQ(date.month, month);
    EXPECT_EQ(date.year, year);
    EXPECT_EQ(date.hours, hours);
    EXPECT_EQ(date.minutes, minutes);
    EXPECT_EQ(date.seconds, seconds);
}

} // namespace

TEST_F(DateTest, DefaultIsCalendarStyle1970) {
    expectFields(Date(), 1, 1, 1970, 0, 0, 0);
}

TEST_F(DateTest, EpochInUtc) {
    useTimeZone("UTC");
    Date date;
    date.set(0);
    expectFields(date, 1, 0, 70, 0, 0, 0);
    EXPECT_EQ(date.getCTime(), 0);
    expectFields(Date(1765202607), 8, 11, 125, 14, 3, 27);
}

TEST_F(DateTest, LocalTimeFollowsTheZone) {
    useTimeZone("Europe/Berlin");
    expectFields(Date(0), 1, 0, 70, 1, 0, 0);
    // Summer time: UTC+2.
    expectFields(Date(1751371200), 1, 6, 125, 14, 0, 0);
}

// The daylight-saving flag is left to the library, so summer dates convert back
// without an hour's error. The hour that repeats when summer time ends has two
// meanings; the six fields cannot tell them apart, and the earlier one comes back.
TEST_F(DateTest, RoundTripsAcrossDaylightSaving) {
    for (const char* zone : {"UTC", "Europe/Berlin", "America/New_York", "Australia/Sydney"}) {
        useTimeZone(zone);
        for (std::int64_t time : {0LL, -86400LL * 365, 1751371200LL, 1743296399LL, 1743296400LL,
                                  1765202607LL, 4102444800LL, -2208988800LL}) {
            EXPECT_EQ(Date(time).getCTime(), time) << zone << " " << time;
        }
        int repeated = 0;
        for (std::int64_t time = 1735689600; time < 1735689600 + 366 * 86400; time += 1800 + 17) {
            const std::int64_t back = Date(time).getCTime();
            if (back != time) {
                ++repeated;
                ASSERT_EQ(back, time - 3600) << zone << " " << time;
                ASSERT_EQ(Date(back), Date(time)) << zone << " " << time;
            }
        }
        EXPECT_EQ(repeated > 0, std::string(zone) != "UTC") << zone;
    }
}

TEST_F(DateTest, UnrepresentableValues) {
    useTimeZone("UTC");
    Date date(1765202607);
    const Date before = date;
    date.set(std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(date, before);
    expectFields(Date(std::numeric_limits<std::int64_t>::max()), 1, 1, 1970, 0, 0, 0);

    Date far;
    far.year = std::numeric_limits<std::int32_t>::max();
    far.month = 12;
    EXPECT_EQ(far.getCTime(), -1);
}
