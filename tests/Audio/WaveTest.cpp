// The WAV reader on the generated sounds and on damaged files.
#include "Audio/Wave.h"

#include "../Data/ProfileTestSupport.h"
#include "../Data/RecordingLog.h"
#include "AudioTestSupport.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace AudioTest;

namespace {

std::string soundFile(const std::string& name) {
    return std::string(BRUMBLY_BIN_DIR) + "/data/sounds/" + name;
}

// A plain 16-bit PCM file of the samples.
std::vector<std::uint8_t> pcmFile(const std::vector<std::int16_t>& samples, std::uint16_t channels,
                                  std::uint32_t rate) {
    std::vector<std::uint8_t> bytes;
    const auto put = [&bytes](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    };
    const auto tag = [&bytes](const char* text) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(text[i]));
        }
    };
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    tag("RIFF");
    put(36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);
    put(channels, 2);
    put(rate, 4);
    put(rate * channels * 2, 4);
    put(channels * 2u, 2);
    put(16, 2);
    tag("data");
    put(dataBytes, 4);
    for (const std::int16_t sample : samples) {
        put(static_cast<std::uint16_t>(sample), 2);
    }
    return bytes;
}

} // namespace

TEST(WaveTest, GeneratedSoundsLoadAndAreHeard) {
    const struct {
        const char* name;
        double minSeconds, maxSeconds;
        bool loops;
    } sounds[] = {{"engine.wav", 1.0, 1.0, true},  {"skid.wav", 1.0, 1.0, true},
                  {"impact.wav", 0.5, 1.0, false}, {"countdown.wav", 0.2, 0.3, false},
                  {"go.wav", 0.5, 1.0, false},     {"finish.wav", 1.0, 2.5, false},
                  {"music.wav", 8.0, 8.0, true}};
    for (const auto& sound : sounds) {
        SCOPED_TRACE(sound.name);
        Audio::Wave wave;
        std::string error;
        ASSERT_TRUE(Audio::Wave::read(soundFile(sound.name), wave, error)) << error;
        EXPECT_EQ(wave.channels, 1);
        EXPECT_EQ(wave.sampleRate, 22050u);
        EXPECT_GE(wave.seconds(), sound.minSeconds);
        EXPECT_LE(wave.seconds(), sound.maxSeconds);
        EXPECT_GT(rms(wave, 0.0, wave.seconds()), 0.05f) << "not silent";
        EXPECT_LT(peak(wave, 0.0, wave.seconds()), 0.99f) << "not clipped";
        if (sound.loops) {
            // The step from the last sample round to the first is no larger than the
            // steps within the sound: no click where the loop closes.
            double steps = 0.0;
            for (std::size_t i = 1; i < wave.samples.size(); ++i) {
                steps += std::pow(wave.samples[i] - wave.samples[i - 1], 2.0);
            }
            const double typical = std::sqrt(steps / static_cast<double>(wave.samples.size()));
            EXPECT_LT(std::fabs(wave.samples.front() - wave.samples.back()), 3.0 * typical);
        }
    }
    Audio::Wave engine;
    std::string error;
    ASSERT_TRUE(Audio::Wave::read(soundFile("engine.wav"), engine, error));
    EXPECT_NEAR(fundamental(engine, 0.0, 1.0), 100.0f, 1.0f);
}

TEST(WaveTest, ReadsSamplesAndRefusesWhatItCannotRead) {
    Audio::Wave wave;
    std::string error;
    ASSERT_TRUE(Audio::Wave::parse(pcmFile({0, 16384, -32768, 32767}, 2, 8000), wave, error));
    EXPECT_EQ(wave.channels, 2);
    EXPECT_EQ(wave.sampleRate, 8000u);
    EXPECT_EQ(wave.samples, (std::vector<float>{0.0f, 0.5f, -1.0f, 32767.0f / 32768.0f}));

    // A file cut short in its data keeps the whole frames it has.
    std::vector<std::uint8_t> cut = pcmFile({1, 2, 3, 4}, 2, 8000);
    cut.resize(cut.size() - 3);
    ASSERT_TRUE(Audio::Wave::parse(cut, wave, error));
    EXPECT_EQ(wave.frames(), 1u);

    const std::vector<std::uint8_t> good = pcmFile({1, 2}, 1, 8000);
    const auto damaged = [&good](std::size_t at, std::uint8_t value) {
        std::vector<std::uint8_t> bytes = good;
        bytes[at] = value;
        return bytes;
    };
    const std::vector<std::vector<std::uint8_t>> refused = {
        {},
        std::vector<std::uint8_t>(good.begin(), good.begin() + 30), // format cut short
        damaged(0, 'X'),                                            // not RIFF
        damaged(12, 'X'),                                           // no format chunk
        damaged(20, 2),                                             // compressed samples
        damaged(22, 3),                                             // three channels
        damaged(34, 8),                                             // 8-bit samples
        damaged(36, 'X'),                                           // no data chunk
        damaged(19, 0x7F),                                          // format size past the end
    };
    for (std::size_t i = 0; i < refused.size(); ++i) {
        error.clear();
        EXPECT_FALSE(Audio::Wave::parse(refused[i], wave, error)) << "case " << i;
        EXPECT_FALSE(error.empty()) << "case " << i;
    }
    EXPECT_FALSE(Audio::Wave::read(soundFile("no such file.wav"), wave, error));
}

// A directory once aborted the game, a named pipe hung the loading screen and a link
// to /dev/zero ran out of memory: each is refused unread, and the sound stays silent
// with one log line.
TEST(WaveTest, OnlyRegularFilesWithinTheLimitAreRead) {
    const ProfileTestSupport::TemporaryDirectory folder;
    const std::filesystem::path directory = folder.path() / "directory.wav";
    const std::filesystem::path pipe = folder.path() / "pipe.wav";
    const std::filesystem::path zero = folder.path() / "zero.wav";
    const std::filesystem::path large = folder.path() / "large.wav";
    std::filesystem::create_directory(directory);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", zero);
    // A good file grown past the limit (sparse: no disk space is used).
    const std::vector<std::uint8_t> good = pcmFile({1, 2}, 1, 8000);
    ProfileTestSupport::writeFile(large, std::string(good.begin(), good.end()));
    std::filesystem::resize_file(large, Audio::Wave::maximumFileSize + 1);

    WaveOutput::get().connect();
    Audio::SoundSystem system;
    ASSERT_TRUE(system.isAvailable());
    for (const auto& file : {directory, pipe, zero, large}) {
        SCOPED_TRACE(file.filename().string());
        Audio::Wave wave;
        std::string error;
        EXPECT_FALSE(Audio::Wave::read(file.string(), wave, error));
        EXPECT_NE(error.find("cannot read the file"), std::string::npos) << error;

        RecordingLog log;
        EXPECT_EQ(system.load(file.string()), 0u);
        ASSERT_EQ(log.errors().size(), 1u);
        EXPECT_EQ(log.errors()[0].getTitle(), "Sound not loaded .. [Failed]");
    }
    // The same file within the limit plays.
    std::filesystem::resize_file(large, good.size());
    EXPECT_NE(system.load(large.string()), 0u);
}
