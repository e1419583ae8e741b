#pragma once

#include "Tool/LogManager.h"

#include <vector>

// Enables the log and records every message sent while it exists.
class RecordingLog : public Tool::LogListener {
public:
    RecordingLog() {
        Tool::LogManager::getInstance().setEnabled(true);
        Tool::LogManager::getInstance().attachLogListener(this, false);
    }
    ~RecordingLog() override { Tool::LogManager::getInstance().detachLogListener(this); }
    RecordingLog(const RecordingLog&) = delete;
    RecordingLog& operator=(const RecordingLog&) = delete;

    void process(const Tool::LogCommand& command) override {
        if (command.kind == Tool::LC_MESSAGE) {
            messages.push_back(command.message);
        }
    }

    std::vector<Tool::Message> errors() const {
        std::vector<Tool::Message> result;
        for (const auto& message : messages) {
            if (message.getType() == Tool::MT_ERROR) {
                result.push_back(message);
            }
        }
        return result;
    }

    std::vector<Tool::Message> messages;
};
