#pragma once

#include "Tool/LogListener.h"

#include <fstream>
#include <string>

namespace Tool {

// Writes every message, time-stamped, to a text file that each run starts afresh.
// Sub-section and progress commands leave no trace in the file.
class BRUMBLY_API FileLogListener : public LogListener {
public:
    explicit FileLogListener(const std::string& fileName);
    ~FileLogListener() override;

    std::string formatMessage(const Message& message, const int& depth) override;
    void process(const LogCommand& command) override;

private:
    std::string fileName;
    std::ofstream file;
};

} // namespace Tool
