#include "Data/Profile.h"

#include "Data/ProfileArchive.h"
#include "Tool/LogText.h"
#include "Tool/RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace Data {

namespace {

// A real profile is well below one kilobyte.
constexpr std::size_t maximumFileSize = 1024 * 1024;

[[noreturn]] void throwFileError(const std::string& what, const std::filesystem::path& file,
                                 int error) {
    throw std::filesystem::filesystem_error(what, file,
                                            std::error_code(error, std::generic_category()));
}

std::string readFile(const std::filesystem::path& file) {
    std::string text;
    if (const std::error_code error = Tool::readRegularFile(file, maximumFileSize, text)) {
        throw std::filesystem::filesystem_error("cannot read profile", file, error);
    }
    return text;
}

// Writes all bytes to a new file descriptor; returns 0 or the errno of the failure.
int writeAll(int descriptor, const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t result = ::write(descriptor, bytes.data() + written, bytes.size() - written);
        if (result > 0) {
            written += static_cast<std::size_t>(result);
        } else if (result == 0 || errno != EINTR) {
            return result == 0 ? EIO : errno;
        }
    }
    return ::fsync(descriptor) == 0 ? 0 : errno;
}

// Writes a temporary file in the target's directory and renames it over the target,
// so the target holds either its old or its complete new contents. The temporary
// name never contains the profile extension, so a directory scan cannot pick it up.
void replaceFile(const std::filesystem::path& target, const std::string& bytes) {
    const std::filesystem::path directory =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::filesystem::path temporary;
    int descriptor = -1;
    for (unsigned int attempt = 0; descriptor < 0; ++attempt) {
        temporary = directory / (".save-" + std::to_string(::getpid()) + "-" +
                                 std::to_string(attempt) + ".tmp");
        descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0 && errno != EEXIST) {
            throwFileError("cannot create temporary file for profile", temporary, errno);
        }
    }
    int error = writeAll(descriptor, bytes);
    if (::close(descriptor) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        throwFileError("cannot save profile", target, error);
    }
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
    replaceFile(file, ProfileArchive::write(*this));
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
