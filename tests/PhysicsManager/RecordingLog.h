#pragma once

#include "Tool/LogManager.h"

#include <gtest/gtest.h>
#include <vector>

// Attaches itself to the enabled log manager for the duration of a test and keeps
// every message it is handed.
class RecordingLog : public Tool::LogListener, public ::testing::Test {
public:
    void process(const Tool::LogCommand& command) override {
        if (command.kind == Tool::LC_MESSAGE) {
            messages.push_back(command.message);
        }
    }

protected:
    void SetUp() override {
        Tool::LogManager& log = Tool::LogManager::getInstance();
        log.setEnabled(true);
        log.attachLogListener(this, false);
    }
    void TearDown() override {
        Tool::LogManager& log = Tool::LogManager::getInstance();
        log.detachLogListener(this);
        log.setEnabled(false);
    }

    std::vector<Tool::Message> messages;
};
