#pragma once

#include "Tool/LogListener.h"
#include "Tool/LogManager.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace ProfileTestSupport {

// A fresh directory below the system's temporary directory, removed with its contents.
class TemporaryDirectory {
public:
    TemporaryDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "brumbly-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary directory");
        }
        root = pattern;
    }
    ~TemporaryDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& path() const { return root; }

    // Names of the entries directly inside, sorted.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(root)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path root;
};

inline std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeFile(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

// The profile file written by hand from the file format: archive version 7.
inline std::filesystem::path version7Fixture() {
    return std::filesystem::path(BRUMBLY_TEST_SOURCE_DIR) / "fixtures" / "version7.profile";
}

// Records the error messages that reach the log while it exists.
class ErrorRecorder : public Tool::LogListener {
public:
    ErrorRecorder() : wasEnabled(Tool::LogManager::getInstance().isEnabled()) {
        Tool::LogManager::getInstance().setEnabled(true);
        Tool::LogManager::getInstance().attachLogListener(this, false);
    }
    ~ErrorRecorder() override {
        Tool::LogManager::getInstance().detachLogListener(this);
        Tool::LogManager::getInstance().setEnabled(wasEnabled);
    }

    void process(const Tool::LogCommand& command) override {
        if (command.kind == Tool::LC_MESSAGE && command.message.getType() == Tool::MT_ERROR) {
            errors.push_back(command.message);
        }
    }

    std::vector<Tool::Message> errors;

private:
    bool wasEnabled;
};

} // namespace ProfileTestSupport
