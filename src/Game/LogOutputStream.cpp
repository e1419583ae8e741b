#include "Game/LogOutputStream.h"

#include "Tool/LogManager.h"

namespace Game {

namespace {

const char* const author = "PhysXManager";

std::string text(const char* value) {
    return value != nullptr ? value : "";
}

} // namespace

void LogOutputStream::reportError(Physics::ErrorCode code, const char* message, const char* file,
                                  int line) {
    const char* details = nullptr;
    Tool::MessageType type = Tool::MT_ERROR;
    bool located = true;
    switch (code) {
    case Physics::E_INVALID_PARAMETER:
        details = "Invalid Parameter";
        break;
    case Physics::E_INVALID_OPERATION:
        details = "Invalid Operation";
        break;
    case Physics::E_OUT_OF_MEMORY:
        details = "Out of Memory";
        break;
    case Physics::E_INTERNAL_ERROR:
        details = "Internal Error";
        break;
    case Physics::E_ASSERTION:
        details = "Assertion";
        break;
    case Physics::E_DB_WARNING:
        details = "";
        type = Tool::MT_WARNING;
        break;
    case Physics::E_DB_INFO:
    case Physics::E_DB_PRINT:
        details = "";
        type = Tool::MT_MESSAGE;
        located = false;
        break;
    default:
        return;
    }
    Tool::LogManager& log = Tool::LogManager::getInstance();
    if (located) {
        log.send(Tool::Message(author, text(message), details, text(file), line, type));
    } else {
        log.send(Tool::Message(author, text(message), details, type));
    }
}

Physics::AssertResponse LogOutputStream::reportAssertViolation(const char* message,
                                                               const char* file, int line) {
    Tool::LogManager::getInstance().send(
        Tool::Message(author, text(message), "Assert violation", text(file), line, Tool::MT_ERROR));
    return Physics::AR_CONTINUE;
}

void LogOutputStream::print(const char* message) {
    Tool::LogManager::getInstance().send(
        Tool::Message(author, text(message), "", Tool::MT_MESSAGE));
}

} // namespace Game
