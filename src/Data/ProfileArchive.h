#pragma once

#include <string>

namespace Data {

class Profile;

// The profile file format: an XML archive of Boost.Serialization, archive version 7,
// with the elements Name, Nationality, Birthday, Sex, Controls and Creationdate.
namespace ProfileArchive {

// The complete file text for the profile, "\n" line ends.
std::string write(const Profile& profile);

// Reads name, nationality, birthday, sex, controls and creation date from a file's
// text ("\n" or "\r\n" line ends) into `profile`; nothing else is touched, and
// nothing at all when the text is not a valid archive. Raises
// boost::archive::archive_exception for a malformed or unsupported archive.
void read(const std::string& text, Profile& profile);

} // namespace ProfileArchive
} // namespace Data
