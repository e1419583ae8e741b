#include "Data/ProfileArchive.h"

#include "Data/Profile.h"
#include "Data/ProfileElements.h"
#include "Tool/LogText.h"

#include <boost/archive/archive_exception.hpp>
#include <boost/archive/basic_archive.hpp>
#include <boost/archive/xml_iarchive.hpp>
#include <boost/archive/xml_oarchive.hpp>
#include <boost/serialization/nvp.hpp>
#include <boost/serialization/string.hpp>
#include <boost/serialization/tracking.hpp>

#include <charconv>
#include <sstream>
#include <string_view>
#include <type_traits>

BOOST_CLASS_TRACKING(Data::Profile, boost::serialization::track_never)
BOOST_CLASS_TRACKING(Data::Nation, boost::serialization::track_never)
BOOST_CLASS_TRACKING(Data::Date, boost::serialization::track_never)
BOOST_CLASS_TRACKING(Data::Control, boost::serialization::track_never)

namespace {

using boost::archive::archive_exception;
using boost::serialization::make_nvp;

// The archive version written into the file header.
constexpr unsigned int fileArchiveVersion = 7;
constexpr std::string_view rootClosingTag = "</boost_serialization>";
constexpr std::string_view whitespace = " \t\r\n";
constexpr std::string_view attributeNameCharacters =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_";

// An archive error with a message that names what was wrong.
class ProfileArchiveError : public archive_exception {
public:
    ProfileArchiveError(exception_code code, std::string message)
        : archive_exception(code), message(std::move(message)) {}
    const char* what() const noexcept override { return message.c_str(); }

private:
    std::string message;
};

[[noreturn]] void fail(archive_exception::exception_code code, const std::string& message) {
    throw ProfileArchiveError(code, "profile archive: " + message);
}

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(whitespace);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(whitespace) - first + 1);
}

// Numbers are read as text and converted strictly: the archive's own stream
// extraction would accept "-5" for an unsigned field and store it wrapped.
template <class T> T parseNumber(const std::string& element, const std::string& content) {
    const std::string_view text = trim(content);
    using Parsed = std::conditional_t<std::is_same_v<T, bool>, unsigned int, T>;
    Parsed value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool valid = error == std::errc() && end == text.data() + text.size() && !text.empty() &&
                       (!std::is_same_v<T, bool> || value <= 1);
    if (!valid) {
        fail(archive_exception::input_stream_error,
             "invalid value \"" + Tool::logExcerpt(content) + "\" in element " + element);
    }
    return static_cast<T>(value);
}

// Every class of the file has version 0. The archive itself no longer refuses newer
// class versions, whose members it would misread.
void checkClassVersion(const char* className, const unsigned int version) {
    if (version > 0) {
        fail(archive_exception::unsupported_class_version,
             std::string("class ") + className + " has version " + std::to_string(version) +
                 ", newer than this library's 0");
    }
}

template <class Archive, class T> void number(Archive& archive, const char* element, T& value) {
    if constexpr (Archive::is_loading::value) {
        std::string content;
        archive >> make_nvp(element, content);
        value = parseNumber<T>(element, content);
    } else {
        archive << make_nvp(element, value);
    }
}

// Reads the archive header and the closing root tag around the body. Doing this here
// rather than in the archive keeps archive versions newer than this library's out, and
// finds a missing closing tag before any archive exists: the archive would notice it
// only in its destructor, where the exception aborts the process.
class ArchiveText {
public:
    explicit ArchiveText(std::string_view text) : text(text) {}

    std::string_view body() {
        skipSpace();
        expect("<?xml", archive_exception::invalid_signature, "missing XML declaration");
        skipPast("?>");
        skipSpace();
        if (consume("<!DOCTYPE")) {
            skipPast(">");
            skipSpace();
        }
        expect("<boost_serialization", archive_exception::invalid_signature,
               "missing root element boost_serialization");
        std::string signature;
        std::string version;
        readAttributes(signature, version);
        if (signature != "serialization::archive") {
            fail(archive_exception::invalid_signature, "invalid signature \"" + signature + "\"");
        }
        if (parseNumber<unsigned int>("boost_serialization", version) >
            boost::archive::BOOST_ARCHIVE_VERSION()) {
            fail(archive_exception::unsupported_version,
                 "archive version " + version + " is newer than this library's " +
                     std::to_string(boost::archive::BOOST_ARCHIVE_VERSION()));
        }
        const std::size_t closing = text.rfind(rootClosingTag);
        if (closing == std::string_view::npos || closing < position ||
            !trim(text.substr(closing + rootClosingTag.size())).empty()) {
            fail(archive_exception::input_stream_error,
                 "missing closing tag </boost_serialization>");
        }
        return text.substr(position, closing - position);
    }

private:
    void skipSpace() {
        position = std::min(text.size(), text.find_first_not_of(whitespace, position));
    }

    bool consume(std::string_view literal) {
        if (text.substr(position, literal.size()) != literal) {
            return false;
        }
        position += literal.size();
        return true;
    }

    void expect(std::string_view literal, archive_exception::exception_code code,
                const std::string& message) {
        if (!consume(literal)) {
            fail(code, message);
        }
    }

    // Returns the text up to `literal` and moves past it.
    std::string_view skipPast(std::string_view literal) {
        const std::size_t found = text.find(literal, position);
        if (found == std::string_view::npos) {
            fail(archive_exception::input_stream_error, "malformed archive header");
        }
        const std::string_view skipped = text.substr(position, found - position);
        position = found + literal.size();
        return skipped;
    }

    // name="value" pairs up to the end of the root start tag.
    void readAttributes(std::string& signature, std::string& version) {
        for (skipSpace(); !consume(">"); skipSpace()) {
            const std::string_view name = trim(skipPast("="));
            if (name.empty() || name.find_first_not_of(attributeNameCharacters) != name.npos) {
                fail(archive_exception::input_stream_error, "malformed archive header");
            }
            skipSpace();
            expect("\"", archive_exception::input_stream_error, "malformed archive header");
            const std::string_view value = skipPast("\"");
            if (name == "signature") {
                signature = value;
            } else if (name == "version") {
                version = value;
            }
        }
    }

    std::string_view text;
    std::size_t position = 0;
};

} // namespace

namespace boost::serialization {

template <class Archive>
void serialize(Archive& archive, Data::Nation& nation, const unsigned int version) {
    checkClassVersion("Nation", version);
    unsigned int index = nation.getNationIndex();
    number(archive, "Nation", index);
    if constexpr (Archive::is_loading::value) {
        nation.set(index);
    }
}

template <class Archive>
void serialize(Archive& archive, Data::Date& date, const unsigned int version) {
    checkClassVersion("Date", version);
    number(archive, "Day", date.day);
    number(archive, "Month", date.month);
    number(archive, "Year", date.year);
    number(archive, "Hours", date.hours);
    number(archive, "Minutes", date.minutes);
    number(archive, "Seconds", date.seconds);
}

template <class Archive>
void serialize(Archive& archive, Data::Control& control, const unsigned int version) {
    checkClassVersion("Control", version);
    number(archive, "AIEnabled", control.aiEnabled);
    number(archive, "AIDifficulty", control.aiDifficulty);
    number(archive, "Accelerate", control.accelerate);
    number(archive, "Brake", control.brake);
    number(archive, "SreerLeft", control.steerLeft);
    number(archive, "SteerRight", control.steerRight);
    number(archive, "Reset", control.reset);
}

// Element order of the file, which differs from the member order.
template <class Archive>
void serialize(Archive& archive, Data::Profile& profile, const unsigned int version) {
    checkClassVersion("Profile", version);
    std::string name = profile.getName();
    archive& make_nvp("Name", name);
    if constexpr (Archive::is_loading::value) {
        profile.setName(name);
    }
    archive& make_nvp("Nationality", profile.nationality);
    archive& make_nvp("Birthday", profile.birthday);
    number(archive, "Sex", profile.sex);
    archive& make_nvp("Controls", profile.controls);
    archive& make_nvp("Creationdate", profile.creationDate);
}

} // namespace boost::serialization

namespace Data::ProfileArchive {

std::string write(const Profile& profile) {
    std::ostringstream body;
    {
        boost::archive::xml_oarchive archive(body, boost::archive::no_header);
        archive << make_nvp("Profile", profile);
    }
    std::string text = body.str();
    text.erase(text.find_last_not_of('\n') + 1);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n"
           "<!DOCTYPE boost_serialization>\n"
           "<boost_serialization signature=\"serialization::archive\" version=\"" +
           std::to_string(fileArchiveVersion) + "\">\n" + text + "\n" +
           std::string(rootClosingTag) + "\n";
}

void read(const std::string& text, Profile& profile) {
    const std::string_view elements = ArchiveText(text).body();
    // The archive library trusts the element structure: an end tag longer than the
    // element name it expects makes it read past that name.
    if (const std::string problem = ProfileElements::findProblem(elements); !problem.empty()) {
        fail(archive_exception::input_stream_error, problem);
    }
    std::istringstream body{std::string(elements)};
    Profile loaded(profile);
    {
        boost::archive::xml_iarchive archive(body, boost::archive::no_header);
        archive >> make_nvp("Profile", loaded);
    }
    profile = loaded;
}

} // namespace Data::ProfileArchive
