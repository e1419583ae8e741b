#include "Audio/Wave.h"

#include "Tool/RegularFile.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace Audio {

namespace {

constexpr std::uint16_t formatPcm = 1;
constexpr std::uint16_t formatFloat = 3;
constexpr std::uint16_t formatExtensible = 0xFFFE;
// Sizes of the format chunk: the plain one and the extensible one.
constexpr std::uint32_t plainFormatSize = 16;
constexpr std::uint32_t extensibleFormatSize = 40;
// Where the extensible format's sub-format (its first two bytes are the format
// code) starts within the format chunk.
constexpr std::size_t subFormatOffset = 24;

std::uint16_t read16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

std::uint32_t read32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

bool fail(std::string& error, const std::string& reason) {
    error = reason;
    return false;
}

struct Format {
    std::uint16_t code = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bits = 0;
};

bool readFormat(const std::uint8_t* chunk, std::uint32_t size, Format& format, std::string& error) {
    if (size < plainFormatSize) {
        return fail(error, "format chunk too short");
    }
    format.code = read16(chunk);
    format.channels = read16(chunk + 2);
    format.sampleRate = read32(chunk + 4);
    format.blockAlign = read16(chunk + 12);
    format.bits = read16(chunk + 14);
    if (format.code == formatExtensible) {
        if (size < extensibleFormatSize) {
            return fail(error, "extensible format chunk too short");
        }
        format.code = read16(chunk + subFormatOffset);
    }
    const bool pcm16 = format.code == formatPcm && format.bits == 16;
    const bool float32 = format.code == formatFloat && format.bits == 32;
    if (!pcm16 && !float32) {
        return fail(error, "only 16-bit integer and 32-bit float samples are read");
    }
    if (format.channels < 1 || format.channels > 2) {
        return fail(error, "only mono and stereo sound is read");
    }
    if (format.sampleRate == 0 || format.blockAlign != format.channels * format.bits / 8) {
        return fail(error, "inconsistent sample rate or block size");
    }
    return true;
}

} // namespace

bool Wave::parse(std::span<const std::uint8_t> bytes, Wave& wave, std::string& error) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        return fail(error, "not a RIFF WAVE file");
    }
    Format format;
    bool formatFound = false;
    const std::uint8_t* data = nullptr;
    std::size_t dataSize = 0;
    std::size_t at = 12;
    while (bytes.size() - at >= 8) {
        const std::uint8_t* header = bytes.data() + at;
        const std::size_t size = read32(header + 4);
        const std::size_t available = bytes.size() - at - 8;
        if (std::memcmp(header, "fmt ", 4) == 0) {
            if (size > available) {
                return fail(error, "format chunk cut short");
            }
            if (!readFormat(header + 8, static_cast<std::uint32_t>(size), format, error)) {
                return false;
            }
            formatFound = true;
        } else if (std::memcmp(header, "data", 4) == 0) {
            // A file cut short keeps the samples it has.
            data = header + 8;
            dataSize = std::min(size, available);
        }
        if (size >= available) {
            break;
        }
        at += 8 + size + (size & 1);
    }
    if (!formatFound) {
        return fail(error, "no format chunk");
    }
    if (data == nullptr) {
        return fail(error, "no data chunk");
    }
    const std::size_t count = dataSize / format.blockAlign * format.channels;
    wave.channels = format.channels;
    wave.sampleRate = format.sampleRate;
    wave.samples.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (format.bits == 16) {
            wave.samples[i] = static_cast<std::int16_t>(read16(data + i * 2)) / 32768.0f;
        } else {
            wave.samples[i] = std::bit_cast<float>(read32(data + i * 4));
        }
    }
    return true;
}

bool Wave::read(const std::string& path, Wave& wave, std::string& error) {
    std::string bytes;
    if (const std::error_code failure = Tool::readRegularFile(path, maximumFileSize, bytes)) {
        return fail(error, "cannot read the file: " + failure.message());
    }
    return parse({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, wave, error);
}

} // namespace Audio
