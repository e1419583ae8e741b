#include "Tool/FileLogListener.h"

namespace Tool {

FileLogListener::FileLogListener(const std::string& fileName)
    : fileName(fileName), file(fileName, std::ios::out | std::ios::trunc) {}

FileLogListener::~FileLogListener() { file.close(); }

std::string FileLogListener::formatMessage(const Message& message, const int&) {
    std::string text = "[" + Message::convertToString(message.getTime(), "") + "] ";
    if (message.getType() == MT_ERROR) {
        text += "(ERROR) ";
    } else if (message.getType() == MT_WARNING) {
        text += "(WARNING) ";
    }
    text += message.getAuthor() + ": " + message.getTitle();

    bool detailed = false;
    if (!message.getMessage().empty()) {
        text += "\n\tDetails: " + message.getMessage();
        detailed = true;
    }
    if (!message.getFile().empty()) {
        text += "\n\tFile: " + message.getFile();
        detailed = true;
    }
    if (message.getLine() >= 0) {
        text += "\n\tLine: " + std::to_string(message.getLine());
        detailed = true;
    }
    if (detailed) {
        text += "\n";
    }
    return text;
}

void FileLogListener::process(const LogCommand& command) {
    if (command.kind == LC_MESSAGE) {
        file << formatMessage(command.message, depth) << std::endl;
    }
}

} // namespace Tool
