#include "AudioTestSupport.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace AudioTest {

namespace {

// The samples from `from` to `to` seconds, channels averaged.
std::vector<float> section(const Audio::Wave& wave, double from, double to) {
    const std::size_t frames = wave.frames();
    const auto first =
        std::min(frames, static_cast<std::size_t>(std::max(0.0, from) * wave.sampleRate));
    const auto last =
        std::min(frames, static_cast<std::size_t>(std::max(0.0, to) * wave.sampleRate));
    std::vector<float> mono;
    for (std::size_t frame = first; frame < last; ++frame) {
        float sum = 0.0f;
        for (std::size_t channel = 0; channel < wave.channels; ++channel) {
            sum += wave.samples[frame * wave.channels + channel];
        }
        mono.push_back(sum / static_cast<float>(wave.channels));
    }
    return mono;
}

} // namespace

WaveOutput& WaveOutput::get() {
    static WaveOutput output;
    return output;
}

WaveOutput::WaveOutput() {
    // Test programs run side by side: one folder per process.
    folder =
        std::filesystem::temp_directory_path() / ("brumbly-audio-" + std::to_string(::getpid()));
    output = folder / "device" / "output.wav";
    std::filesystem::create_directories(folder);
    const std::filesystem::path config = folder / "alsoft.conf";
    std::ofstream(config) << "[general]\n"
                             "drivers = wave\n"
                             "channels = stereo\n"
                             "sample-type = float32\n"
                             "frequency = 44100\n"
                             "hrtf = false\n"
                             "output-limiter = false\n"
                             "[wave]\n"
                             "file = "
                          << output.string() << "\n";
    ::setenv("ALSOFT_CONF", config.c_str(), 1);
    ::setenv("ALSOFT_DRIVERS", "wave", 1);
}

WaveOutput::~WaveOutput() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

void WaveOutput::connect() {
    std::filesystem::create_directories(output.parent_path());
}

void WaveOutput::disconnect() {
    std::filesystem::remove_all(output.parent_path());
}

Audio::Wave WaveOutput::read() const {
    Audio::Wave wave;
    std::string error;
    EXPECT_TRUE(Audio::Wave::read(output.string(), wave, error)) << error;
    EXPECT_EQ(wave.channels, 2);
    EXPECT_EQ(wave.sampleRate, 44100u);
    return wave;
}

void waitForDevice(const Audio::SoundSystem& system, double seconds,
                   const std::function<void()>& step) {
    const double until = system.getDeviceTime() + seconds;
    // The device keeps time with the wall clock; the limit only stops a stuck device
    // from hanging the test.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (system.getDeviceTime() < until) {
        ASSERT_LT(std::chrono::steady_clock::now(), giveUp) << "the sound device stopped mixing";
        if (step) {
            step();
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
}

float rms(const Audio::Wave& wave, double from, double to) {
    const std::vector<float> mono = section(wave, from, to);
    double sum = 0.0;
    for (const float sample : mono) {
        sum += static_cast<double>(sample) * sample;
    }
    return mono.empty() ? 0.0f : static_cast<float>(std::sqrt(sum / mono.size()));
}

float peak(const Audio::Wave& wave, double from, double to) {
    float largest = 0.0f;
    for (const float sample : section(wave, from, to)) {
        largest = std::max(largest, std::fabs(sample));
    }
    return largest;
}

float fundamental(const Audio::Wave& wave, double from, double to) {
    const std::vector<float> mono = section(wave, from, to);
    const std::size_t shortest = wave.sampleRate / 2000;
    const std::size_t longest = wave.sampleRate / 40;
    if (mono.size() < longest * 3) {
        return 0.0f;
    }
    // Normalised autocorrelation over a window that every lag can slide over.
    const std::size_t window = mono.size() - longest;
    const auto correlation = [&](std::size_t lag) {
        double product = 0.0, first = 0.0, second = 0.0;
        for (std::size_t i = 0; i < window; ++i) {
            product += static_cast<double>(mono[i]) * mono[i + lag];
            first += static_cast<double>(mono[i]) * mono[i];
            second += static_cast<double>(mono[i + lag]) * mono[i + lag];
        }
        return first > 0.0 && second > 0.0 ? product / std::sqrt(first * second) : 0.0;
    };
    std::vector<double> values(longest + 1, 0.0);
    double best = 0.0;
    for (std::size_t lag = shortest; lag <= longest; ++lag) {
        values[lag] = correlation(lag);
        best = std::max(best, values[lag]);
    }
    // Multiples of the period correlate as well as the period itself: take the first
    // peak that comes close to the best.
    for (std::size_t lag = shortest + 1; lag < longest; ++lag) {
        if (values[lag] >= 0.9 * best && values[lag] >= values[lag - 1] &&
            values[lag] >= values[lag + 1]) {
            // Parabolic interpolation between the neighbouring lags.
            const double a = values[lag - 1], b = values[lag], c = values[lag + 1];
            const double denominator = a - 2.0 * b + c;
            const double offset = denominator != 0.0 ? 0.5 * (a - c) / denominator : 0.0;
            return static_cast<float>(wave.sampleRate / (static_cast<double>(lag) + offset));
        }
    }
    return 0.0f;
}

} // namespace AudioTest
