#pragma once

#include "Tool/Export.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace Tool {

// The most bytes of a name, path or file line that a log message repeats.
inline constexpr std::size_t maximumLogExcerpt = 1024;

// `text` as a log message repeats it: unchanged up to maximumLogExcerpt bytes; longer
// text is cut there (never inside a UTF-8 sequence) and ends in "... (N bytes)", so
// that a name of any size gives a log line of bounded size.
BRUMBLY_API std::string logExcerpt(std::string_view text);

} // namespace Tool
