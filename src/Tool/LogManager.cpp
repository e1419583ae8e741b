#include "Tool/LogManager.h"

#include <algorithm>

namespace Tool {

LogManager& LogManager::getInstance() {
    // Never destroyed: listeners and late reporters may outlive static destruction.
    static LogManager* instance = new LogManager();
    return *instance;
}

void LogManager::setEnabled(const bool& value) { enabled = value; }

bool LogManager::attachLogListener(LogListener* listener, const bool& replay) {
    if (isAttached(listener)) {
        return false;
    }
    listeners.push_back(listener);
    if (replay) {
        for (const LogCommand& command : history) {
            listener->process(command);
        }
    }
    return true;
}

bool LogManager::detachLogListener(LogListener* listener) {
    auto found = std::find(listeners.begin(), listeners.end(), listener);
    if (found == listeners.end()) {
        return false;
    }
    listeners.erase(found);
    return true;
}

bool LogManager::isAttached(LogListener* listener) {
    return std::find(listeners.begin(), listeners.end(), listener) != listeners.end();
}

void LogManager::send(const Message& message) {
    if (!enabled) {
        return;
    }
    LogCommand command;
    command.kind = LC_MESSAGE;
    command.message = message;
    send(command);
}

void LogManager::send(const LogCommand& command) {
    if (!enabled) {
        return;
    }
    history.push_back(command);
    for (LogListener* listener : listeners) {
        listener->process(command);
    }
}

void LogManager::sendStructural(std::int32_t kind, const std::string& text, bool success) {
    if (!enabled) {
        return;
    }
    LogCommand command;
    command.kind = kind;
    command.text = text;
    command.success = success;
    send(command);
}

void LogManager::startSubSection(const std::string& text) {
    sendStructural(LC_START_SUBSECTION, text, false);
}

void LogManager::finishSubSection(const std::string& text) {
    sendStructural(LC_FINISH_SUBSECTION, text, false);
}

void LogManager::startProgress(const std::string& text) {
    sendStructural(LC_START_PROGRESS, text, false);
}

void LogManager::finishProgess(bool success) { sendStructural(LC_FINISH_PROGRESS, {}, success); }

void LogManager::clear() { listeners.clear(); }

} // namespace Tool
