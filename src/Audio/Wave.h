#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace Audio {

// Sampled sound in memory: interleaved frames of `channels` samples in -1..1.
struct Wave {
    // Far beyond the game's sounds: some six minutes of CD-quality stereo.
    static constexpr std::size_t maximumFileSize = 64 * 1024 * 1024;

    std::uint16_t channels = 1;
    std::uint32_t sampleRate = 0;
    std::vector<float> samples;

    std::size_t frames() const { return channels == 0 ? 0 : samples.size() / channels; }
    double seconds() const {
        return sampleRate == 0 ? 0.0 : static_cast<double>(frames()) / sampleRate;
    }

    // Reads a RIFF WAVE file: 16-bit integer or 32-bit float samples, one or two
    // channels, in the plain or the extensible format. Chunks it does not know are
    // skipped. False, with the reason in `error`, when the bytes are not such a file.
    static bool parse(std::span<const std::uint8_t> bytes, Wave& wave, std::string& error);
    // Reads and parses the file. Only a regular file of at most maximumFileSize bytes
    // is opened: a directory, a named pipe or a device is refused before any read.
    static bool read(const std::string& path, Wave& wave, std::string& error);
};

} // namespace Audio
