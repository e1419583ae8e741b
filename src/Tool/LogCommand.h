#pragma once

#include "Tool/Message.h"

#include <cstdint>
#include <string>

namespace Tool {

enum LogCommandKind : std::int32_t {
    LC_MESSAGE = 0,
    LC_START_SUBSECTION = 1,
    LC_FINISH_SUBSECTION = 2,
    LC_START_PROGRESS = 3,
    LC_FINISH_PROGRESS = 4
};

// What the log manager records and forwards: a message or a structural command.
struct BRUMBLY_API LogCommand {
    std::int32_t kind = LC_MESSAGE;
    bool success = false;
    std::string text;
    Message message;
};

} // namespace Tool
