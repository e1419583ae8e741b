#include "Data/Profile.h"

#include "Data/ProfileArchive.h"
#include "Tool/LogText.h"
#include "Tool/RegularFile.h"

#include <stdexcept>
#include <system_error>

namespace Data {

namespace {

// A real profile is well below one kilobyte.
constexpr std::size_t maximumFileSize = 1024 * 1024;

std::string readFile(const std::filesystem::path& file) {
    std::string text;
    if (const std::error_code error = Tool::readRegularFile(file, maximumFileSize, text)) {
        throw std::filesystem::filesystem_error("cannot read profile", file, error);
    }
    return text;
}

} // namespace

Profile::Profile() : IResource("Profile", std::filesystem::path(), ".profile") {}

Profile::Profile(const std::string& name, const std::filesystem::path& directory,
                 const std::string& extension)
    : IResource(name, directory, extension) {}

void Profile::loadFromFile(const std::filesystem::path& file) {
    ProfileArchive::read(readFile(file), *this);
}

void Profile::saveToFile(const std::filesystem::path& file) {
    // The temporary name never contains the profile extension, so a directory scan
    // cannot pick it up.
    Tool::replaceRegularFile(file, ProfileArchive::write(*this), "profile");
}

void Profile::load() {
    loadFromFile(getFilePath());
}

void Profile::save() {
    if (!isSafeFileName(name)) {
        throw std::invalid_argument("cannot save profile: the name \"" + Tool::logExcerpt(name) +
                                    "\" is not a valid file name");
    }
    saveToFile(getFilePath());
}

void Profile::removeFromDisk() {
    if (!isSafeFileName(name)) {
        throw std::invalid_argument("cannot remove profile: the name \"" + Tool::logExcerpt(name) +
                                    "\" is not a valid file name");
    }
    std::filesystem::remove(getFilePath());
}

bool Profile::isSafeFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.size() <= maximumNameLength &&
           name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

} // namespace Data
