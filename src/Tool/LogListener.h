#pragma once

#include "Tool/LogCommand.h"

#include <cstdint>
#include <string>

namespace Tool {

// Receives every command the log manager forwards. The base class is the console
// listener: messages to standard output (errors to standard error), indented by
// sub-section depth, with one dot per message while a progress line is open.
class BRUMBLY_API LogListener {
public:
    LogListener() = default;
    virtual ~LogListener() = default;

    virtual std::string formatMessage(const Message& message, const int& depth);
    virtual void process(const LogCommand& command);

protected:
    static constexpr std::int32_t PROGRESS_IDLE = 0;
    static constexpr std::int32_t PROGRESS_OPEN = 3;

    std::int32_t depth = 0;
    std::int32_t progressState = PROGRESS_IDLE;
};

} // namespace Tool
