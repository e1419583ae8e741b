#include "Tool/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace Tool {

namespace {

class FileKindCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "file kind"; }
    std::string message(int) const override { return "not a regular file"; }
};

std::error_code lastError() {
    return std::error_code(errno, std::generic_category());
}

// Closes the descriptor when the read ends, whichever way it ends.
class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor(descriptor) {}
    ~Descriptor() {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return descriptor; }

private:
    int descriptor;
};

[[noreturn]] void throwFileError(const std::string& what, const std::filesystem::path& file,
                                 int error) {
    throw std::filesystem::filesystem_error(what, file,
                                            std::error_code(error, std::generic_category()));
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

constexpr std::string_view temporaryPrefix = ".save-";
constexpr std::string_view temporarySuffix = ".tmp";
// As many links as the system follows in one path before it gives up.
constexpr int mostLinks = 40;

std::filesystem::path temporaryName(const std::filesystem::path& directory, unsigned int attempt) {
    return directory / (std::string(temporaryPrefix) + std::to_string(::getpid()) + "-" +
                        std::to_string(attempt) + std::string(temporarySuffix));
}

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The process number in a temporary file name of ours, ".save-<process>-<n>.tmp";
// none for any other name.
std::optional<pid_t> temporaryOwner(std::string_view name) {
    if (!name.starts_with(temporaryPrefix) || !name.ends_with(temporarySuffix)) {
        return std::nullopt;
    }
    name.remove_prefix(temporaryPrefix.size());
    name.remove_suffix(temporarySuffix.size());
    const std::size_t dash = name.find('-');
    if (dash == std::string_view::npos || !allDigits(name.substr(0, dash)) ||
        !allDigits(name.substr(dash + 1))) {
        return std::nullopt;
    }
    pid_t owner = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + dash, owner);
    if (error != std::errc() || owner <= 0) {
        return std::nullopt;
    }
    return owner;
}

// The file that `file` names once symbolic links in its last component are followed:
// the file itself when it is no link, and the link's target even where that does
// not exist yet.
std::filesystem::path followLinks(std::filesystem::path file, const std::string& what) {
    for (int link = 0; link <= mostLinks; ++link) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(file, error))) {
            return file;
        }
        const std::filesystem::path target = std::filesystem::read_symlink(file, error);
        if (error) {
            throwFileError("cannot save " + what, file, error.value());
        }
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
    throwFileError("cannot save " + what, file, ELOOP);
}

} // namespace

std::error_code notRegularFileError() {
    static const FileKindCategory category;
    return std::error_code(1, category);
}

std::error_code readRegularFile(const std::filesystem::path& file, std::size_t maximumSize,
                                std::string& contents) {
    // Opening a named pipe for reading would wait for a writer; without blocking it
    // returns at once, and the kind check below refuses it.
    const Descriptor descriptor(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (descriptor.get() < 0) {
        return lastError();
    }
    struct stat status {};
    if (::fstat(descriptor.get(), &status) != 0) {
        return lastError();
    }
    if (S_ISDIR(status.st_mode)) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    if (!S_ISREG(status.st_mode)) {
        return notRegularFileError();
    }
    if (status.st_size < 0 || static_cast<std::uintmax_t>(status.st_size) > maximumSize) {
        return std::make_error_code(std::errc::file_too_large);
    }
    std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
    std::size_t filled = 0;
    // The file may grow while it is read: one byte beyond the limit is enough to tell.
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > maximumSize) {
                return std::make_error_code(std::errc::file_too_large);
            }
            bytes.resize(std::min(maximumSize + 1, std::max<std::size_t>(bytes.size() * 2, 4096)));
        }
        const ssize_t count =
            ::read(descriptor.get(), bytes.data() + filled, bytes.size() - filled);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return lastError();
        }
        if (count == 0) {
            break;
        }
        filled += static_cast<std::size_t>(count);
    }
    bytes.resize(filled);
    contents = std::move(bytes);
    return {};
}

void replaceRegularFile(const std::filesystem::path& link, const std::string& contents,
                        const std::string& what,
                        const std::function<void(const std::filesystem::path&)>& beforeRename) {
    const std::filesystem::path file = followLinks(link, what);
    const std::filesystem::path directory =
        file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    std::filesystem::path temporary;
    int descriptor = -1;
    for (unsigned int attempt = 0; descriptor < 0; ++attempt) {
        temporary = temporaryName(directory, attempt);
        descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0 && errno != EEXIST) {
            throwFileError("cannot create temporary file for " + what, temporary, errno);
        }
    }
    // The new file takes the permissions of the one it replaces.
    struct stat replaced {};
    int error = 0;
    if (::stat(file.c_str(), &replaced) == 0 &&
        ::fchmod(descriptor, replaced.st_mode & 07777) != 0) {
        error = errno;
    }
    if (error == 0) {
        error = writeAll(descriptor, contents);
    }
    if (::close(descriptor) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && beforeRename) {
        beforeRename(temporary);
    }
    if (error == 0 && ::rename(temporary.c_str(), file.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        throwFileError("cannot save " + what, file, error);
    }
}

std::vector<std::filesystem::path>
removeLeftoverTemporaryFiles(const std::filesystem::path& directory) {
    std::vector<std::filesystem::path> removed;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(directory, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::optional<pid_t> owner = temporaryOwner(entry->path().filename().native());
        std::error_code ignored;
        if (!owner || !std::filesystem::is_regular_file(entry->symlink_status(ignored))) {
            continue;
        }
        // A process that still runs may be about to rename its file.
        const bool ownerGone = *owner == ::getpid() || (::kill(*owner, 0) != 0 && errno == ESRCH);
        if (ownerGone && ::unlink(entry->path().c_str()) == 0) {
            removed.push_back(entry->path());
        }
    }
    return removed;
}

} // namespace Tool
