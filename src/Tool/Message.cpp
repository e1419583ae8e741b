#include "Tool/Message.h"

#include <boost/date_time/posix_time/posix_time.hpp>
#include <locale>
#include <sstream>

namespace Tool {

namespace {
boost::posix_time::ptime now() { return boost::posix_time::microsec_clock::local_time(); }
} // namespace

Message::Message() : time(now()) {}

Message::Message(const Message& other) = default;

Message::Message(const std::string& author, const std::string& title, const std::string& message,
                 const MessageType& type)
    : Message(author, title, message, std::string(), -1, type, now()) {}

Message::Message(const std::string& author, const std::string& title, const std::string& message,
                 const std::string& file, const int& line, const MessageType& type)
    : Message(author, title, message, file, line, type, now()) {}

Message::Message(const std::string& author, const std::string& title, const std::string& message,
                 const std::string& file, const int& line, const MessageType& type,
                 const boost::posix_time::ptime& time)
    : author(author), title(title), message(message), file(file), line(line), type(type),
      time(time) {}

Message& Message::operator=(const Message& other) = default;

std::string Message::convertToString(const MessageType& type) {
    switch (type) {
    case MT_DEBUG:
        return "Debug";
    case MT_WARNING:
        return "Warning";
    case MT_ERROR:
        return "Error";
    default:
        return "Message";
    }
}

std::string Message::convertToString(const boost::posix_time::ptime& time, const std::string&) {
    std::ostringstream out;
    // The locale owns the facet and deletes it.
    out.imbue(std::locale(out.getloc(), new boost::posix_time::time_facet("%H:%M:%s")));
    out << time;
    return out.str();
}

} // namespace Tool
