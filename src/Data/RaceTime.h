#pragma once

#include "Tool/Export.h"

#include <cstdint>
#include <string>

namespace Data {

// A time in seconds as whole hundredths, cut, not rounded: a time such as 65.07,
// which a double holds as 65.06999..., keeps its last hundredth. Times that are not
// positive (or not a number) give 0.
BRUMBLY_API std::int64_t toHundredths(double seconds);

// Minutes, seconds and hundredths, two digits each at least, joined by ":" (6507
// reads "01:05:07"); negative counts read as 0.
BRUMBLY_API std::string formatHundredths(std::int64_t hundredths);

} // namespace Data
