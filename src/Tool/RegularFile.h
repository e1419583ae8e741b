#pragma once

#include "Tool/Export.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

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
// meanwhile. A symbolic link is followed and its target replaced, the link kept; the
// file's permissions are kept (a new file gets those the process's umask leaves of
// 0666). `beforeRename`, when given, is called with the temporary file's path
// once it is complete, just before the rename; whatever it throws is passed on and
// leaves `file` untouched. Failures are raised as std::filesystem::filesystem_error
// whose text names `what` ("cannot save <what>").
BRUMBLY_API void
replaceRegularFile(const std::filesystem::path& file, const std::string& contents,
                   const std::string& what,
                   const std::function<void(const std::filesystem::path&)>& beforeRename = {});

// Removes the temporary files that replaceRegularFile left in `directory` when a
// process ended between writing and renaming one: those of processes that no longer
// run, and those named with this process's number (from an earlier process of the
// same number, since this one has saved nothing yet: call it before the first save).
// Returns the files removed; a directory that cannot be read removes nothing.
BRUMBLY_API std::vector<std::filesystem::path>
removeLeftoverTemporaryFiles(const std::filesystem::path& directory);

} // namespace Tool
