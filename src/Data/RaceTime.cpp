#include "Data/RaceTime.h"

#include <algorithm>
#include <cmath>

namespace Data {

namespace {

std::string twoDigits(std::int64_t value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

} // namespace

std::int64_t toHundredths(double seconds) {
    // The cap (some 300 000 years) keeps the count in range.
    const double shown = seconds > 0.0 ? std::min(seconds, 1e13) : 0.0;
    // The small allowance keeps a hundredth that the binary fraction falls short of.
    return static_cast<std::int64_t>(std::floor(shown * 100.0 + 1e-6));
}

std::string formatHundredths(std::int64_t hundredths) {
    const std::int64_t total = std::max<std::int64_t>(hundredths, 0);
    return twoDigits(total / 6000) + ":" + twoDigits(total / 100 % 60) + ":" +
           twoDigits(total % 100);
}

} // namespace Data
