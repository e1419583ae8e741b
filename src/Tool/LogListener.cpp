#include "Tool/LogListener.h"

#include <algorithm>
#include <iostream>

namespace Tool {

std::string LogListener::formatMessage(const Message& message, const int& depth) {
    const std::string indent(static_cast<std::size_t>(std::max(depth, 0)), '\t');
    std::string text = indent + "* " + message.getAuthor() + ": " + message.getTitle();
    if (!message.getMessage().empty()) {
        text += "\n" + indent + "\t" + message.getMessage();
    }
    return text;
}

void LogListener::process(const LogCommand& command) {
    auto indent = [this] { return std::string(static_cast<std::size_t>(depth), '\t'); };
    switch (command.kind) {
    case LC_START_SUBSECTION:
        std::cout << indent() << "--- " << command.text << " ---" << std::endl;
        ++depth;
        progressState = PROGRESS_IDLE;
        break;
    case LC_FINISH_SUBSECTION:
        depth = std::max(depth - 1, 0);
        std::cout << indent() << "--- " << command.text << " (End) ---" << std::endl;
        progressState = PROGRESS_IDLE;
        break;
    case LC_START_PROGRESS:
        std::cout << indent() << "* " << command.text << " ." << std::flush;
        progressState = PROGRESS_OPEN;
        break;
    case LC_FINISH_PROGRESS:
        std::cout << (command.success ? " OK" : " Failed") << std::endl;
        progressState = PROGRESS_IDLE;
        break;
    case LC_MESSAGE:
        if (progressState == PROGRESS_IDLE) {
            std::ostream& out = command.message.getType() == MT_ERROR ? std::cerr : std::cout;
            out << formatMessage(command.message, depth) << std::endl;
        } else {
            std::cout << "." << std::flush;
        }
        break;
    default:
        break;
    }
}

} // namespace Tool
