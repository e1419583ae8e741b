#pragma once

#include "Tool/LogCommand.h"
#include "Tool/LogListener.h"

#include <deque>
#include <string>

namespace Tool {

// The process-wide log: records every command sent while enabled and forwards it
// to the attached listeners, in attach order. Starts disabled.
class BRUMBLY_API LogManager {
public:
    static LogManager& getInstance();

    void setEnabled(const bool& enabled);
    const bool& isEnabled() const { return enabled; }

    // Appends the listener and, when replay is true, hands it the whole history.
    // Returns false (and does nothing) when it is already attached.
    bool attachLogListener(LogListener* listener, const bool& replay);
    bool detachLogListener(LogListener* listener);
    bool isAttached(LogListener* listener);

    void send(const Message& message);
    void send(const LogCommand& command);

    void startSubSection(const std::string& text);
    void finishSubSection(const std::string& text);
    void startProgress(const std::string& text);
    void finishProgess(bool success);

    const std::deque<LogCommand>& getHistory() const { return history; }
    // Detaches every listener; the history stays.
    void clear();

private:
    LogManager() = default;
    LogManager(const LogManager&) = delete;
    LogManager& operator=(const LogManager&) = delete;

    void sendStructural(std::int32_t kind, const std::string& text, bool success);

    std::deque<LogCommand> history;
    std::deque<LogListener*> listeners;
    bool enabled = false;
};

} // namespace Tool
