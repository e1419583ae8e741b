#include "Tool/FileLogListener.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <sys/file.h>
#include <unistd.h>

namespace Tool {

namespace {

constexpr int MOST_LOGS = 9;

// "Brumbly.log" as the first, "Brumbly.2.log" as the second and so on.
std::string numberedName(const std::string& fileName, int number) {
    if (number == 1) {
        return fileName;
    }
    std::filesystem::path path(fileName);
    path.replace_filename(path.stem().string() + "." + std::to_string(number) +
                          path.extension().string());
    return path.string();
}

// Opens the file for appending and takes its lock without waiting: the descriptor,
// or -1 with errno set (EWOULDBLOCK when another holds the lock).
int openLocked(const std::string& name) {
    const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        return -1;
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(descriptor);
        errno = error;
        return -1;
    }
    return descriptor;
}

} // namespace

FileLogListener::FileLogListener(const std::string& name) {
    int error = 0;
    for (int number = 1; number <= MOST_LOGS && descriptor < 0; ++number) {
        const std::string candidate = numberedName(name, number);
        descriptor = openLocked(candidate);
        error = errno;
        if (descriptor >= 0) {
            fileName = candidate;
        } else if (error != EWOULDBLOCK) {
            break;
        }
    }
    if (descriptor < 0) {
        std::cerr << "No log file: " << name << ": " << std::strerror(error) << std::endl;
        return;
    }
    // Only the holder of the lock empties the file, so no other process's log is
    // cut short under it.
    if (::ftruncate(descriptor, 0) != 0) {
        std::cerr << "Log file " << fileName << " not emptied: " << std::strerror(errno)
                  << std::endl;
    }
    if (fileName != name) {
        std::cerr << name << " is in use by another process; this one logs to " << fileName
                  << std::endl;
    }
}

FileLogListener::~FileLogListener() {
    if (descriptor >= 0) {
        ::close(descriptor);
    }
}

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
    if (command.kind != LC_MESSAGE || descriptor < 0) {
        return;
    }
    const std::string text = formatMessage(command.message, depth) + "\n";
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t step = ::write(descriptor, text.data() + written, text.size() - written);
        if (step < 0 && errno == EINTR) {
            continue;
        }
        if (step <= 0) {
            return;
        }
        written += static_cast<std::size_t>(step);
    }
}

} // namespace Tool
