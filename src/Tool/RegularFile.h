#pragma once

#include "Tool/Export.h"

#include <cstddef>
#include <filesystem>
#include <functional>
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

// Replaces `file` with `contents`: writes a new temporary file in the file's directory
// (named ".save-<process>-<n>.tmp"), flushes it to disk and renames it over `file`,
// so that `file` holds either its old or its complete new contents whatever happens
// meanwhile. `beforeRename`, when given, is called with the temporary file's path
// once it is complete, just before the rename; whatever it throws is passed on and
// leaves `file` untouched. Failures are raised as std::filesystem::filesystem_error
// whose text names `what` ("cannot save <what>").
BRUMBLY_API void
replaceRegularFile(const std::filesystem::path& file, const std::string& contents,
                   const std::string& what,
                   const std::function<void(const std::filesystem::path&)>& beforeRename = {});

} // namespace Tool
