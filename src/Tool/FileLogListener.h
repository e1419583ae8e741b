#pragma once

#include "Tool/LogListener.h"

#include <string>

namespace Tool {

// Writes every message, time-stamped, to a text file that each run starts afresh.
// Sub-section and progress commands leave no trace in the file.
//
// The file is held with an advisory lock (flock) for the listener's life. A second
// process that finds it held writes "<stem>.2<extension>" instead (or .3 and so on,
// up to .9), so that neither empties nor overwrites the log of the other; one line
// on standard error names the file it took.
class BRUMBLY_API FileLogListener : public LogListener {
public:
    explicit FileLogListener(const std::string& fileName);
    ~FileLogListener() override;
    FileLogListener(const FileLogListener&) = delete;
    FileLogListener& operator=(const FileLogListener&) = delete;

    std::string formatMessage(const Message& message, const int& depth) override;
    void process(const LogCommand& command) override;

    // The file written to; empty when none could be opened.
    const std::string& getFileName() const { return fileName; }

private:
    std::string fileName;
    int descriptor = -1;
};

} // namespace Tool
