#pragma once

#include "Tool/Export.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <system_error>

namespace Tool {

// The error of a file that is there but is no regular file (a directory, a named
// pipe, a device, a socket).
BRUMBLY_API std::error_code notRegularFileError();

// Reads the whole of `file` into `contents`, following symbolic links. Only regular
// files of at most maximumSize bytes are read: anything else is refused before a
// single byte is read, so that a read can neither block (a named pipe) nor run on
// without end (a device). Returns the error (errno values, notRegularFileError(), or
// std::errc::file_too_large), or an empty error code with `contents` filled.
BRUMBLY_API std::error_code readRegularFile(const std::filesystem::path& file,
                                            std::size_t maximumSize, std::string& contents);

} // namespace Tool
