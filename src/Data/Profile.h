#pragma once

#include "Data/Control.h"
#include "Data/Date.h"
#include "Data/IResource.h"
#include "Data/Nation.h"
#include "Tool/Export.h"

#include <filesystem>
#include <string>

namespace Data {

// One driver: name, nationality, birthday, sex, key bindings and creation date,
// stored as one XML file <directory>/<name>.profile.
//
// Errors are raised as exceptions derived from std::exception:
// boost::archive::archive_exception (and its xml_archive_exception) for a file that
// is not a valid profile archive, std::filesystem::filesystem_error for a file that
// cannot be opened, written or renamed, that is no regular file or that is larger
// than 1 MiB (far more than any profile), std::invalid_argument for a name that is
// not a safe file name (save() and removeFromDisk() only).
class BRUMBLY_API Profile : public IResource {
public:
    // Name "Profile", no directory, extension ".profile".
    Profile();
    Profile(const std::string& name, const std::filesystem::path& directory,
            const std::string& extension);
    Profile(const Profile& other) = default;
    Profile& operator=(const Profile& other) = default;
    ~Profile() override = default;

    // Replaces name, nationality, birthday, sex, controls and creation date with the
    // file's contents; path and extension stay. On error the profile is unchanged.
    void loadFromFile(const std::filesystem::path& file) override;
    // Writes a temporary file beside `file` and renames it over `file`, so a failed
    // save leaves an existing file untouched.
    void saveToFile(const std::filesystem::path& file) override;
    // loadFromFile(getFilePath()).
    void load() override;
    // saveToFile(getFilePath()), after checking that the name is a safe file name.
    void save() override;
    // Deletes getFilePath(); a missing file is no error. Refuses unsafe names.
    void removeFromDisk() override;

    // The longest name, in bytes, that a profile file may be named after.
    static constexpr std::size_t maximumNameLength = 200;

    // Whether the name can be used as a file name inside the profiles directory:
    // not empty, not "." or "..", no '/', '\' or NUL, at most maximumNameLength bytes.
    static bool isSafeFileName(const std::string& name);

    Nation nationality;
    Control controls;
    Date birthday;
    Date creationDate;
    // true: male, false: female.
    bool sex = true;
};

} // namespace Data
