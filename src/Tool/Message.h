#pragma once

#include "Tool/Export.h"

#include <boost/date_time/posix_time/posix_time_types.hpp>
#include <cstdint>
#include <string>

namespace Tool {

enum MessageType : std::int32_t { MT_MESSAGE = 0, MT_DEBUG = 1, MT_WARNING = 2, MT_ERROR = 3 };

// One log entry: who reports, what happened, where, how severe and when.
class BRUMBLY_API Message {
public:
    Message();
    Message(const Message& other);
    Message(const std::string& author, const std::string& title, const std::string& message,
            const MessageType& type);
    Message(const std::string& author, const std::string& title, const std::string& message,
            const std::string& file, const int& line, const MessageType& type);
    Message(const std::string& author, const std::string& title, const std::string& message,
            const std::string& file, const int& line, const MessageType& type,
            const boost::posix_time::ptime& time);
    virtual ~Message() = default;

    virtual Message& operator=(const Message& other);

    const std::string& getAuthor() const { return author; }
    const std::string& getTitle() const { return title; }
    const std::string& getMessage() const { return message; }
    const std::string& getFile() const { return file; }
    const int& getLine() const { return line; }
    const MessageType& getType() const { return type; }
    const boost::posix_time::ptime& getTime() const { return time; }

    static std::string convertToString(const MessageType& type);
    // Renders the time as "%H:%M:%s" (microseconds); the format argument is not consulted.
    static std::string convertToString(const boost::posix_time::ptime& time,
                                       const std::string& format);

private:
    std::string author;
    std::string title;
    std::string message;
    std::string file;
    int line = -1;
    MessageType type = MT_MESSAGE;
    boost::posix_time::ptime time;
};

} // namespace Tool
