#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace FuzzSupport {

// A scratch directory for this fuzzer process, created on first use and kept.
const std::filesystem::path& scratchDirectory();

// Writes the input to `file` in the scratch directory and returns its path. Each
// write gets a later modification time than the one before, so that readers that
// cache by time stamp see every input.
std::filesystem::path writeInput(const std::string& file, const std::uint8_t* data,
                                 std::size_t size);

// Writes the input like writeInput, as an asset whose directory is "" (the game's
// working directory is the scratch directory).
std::filesystem::path writeAsset(const std::string& file, const std::uint8_t* data,
                                 std::size_t size);

// Ends the process with a report when a property of a parse result does not hold.
void require(bool holds, const char* property);

} // namespace FuzzSupport
