#pragma once

#include "Audio/SoundSystem.h"
#include "Audio/Wave.h"

#include <filesystem>
#include <functional>
#include <string>

namespace AudioTest {

// OpenAL Soft's file-writing back end for this test program: every sound device
// opened in the process is the "Wave File Writer", which mixes in real time into a
// 44.1 kHz stereo float WAV file instead of a sound card. The device opens only
// while the file's folder exists, so that a test can also take the device away.
// The first call must come before anything in the process touches OpenAL: the
// library reads its configuration once.
class WaveOutput {
public:
    static WaveOutput& get();

    void connect();
    void disconnect();
    // What the last device wrote, read once the device has been closed.
    Audio::Wave read() const;

private:
    WaveOutput();
    ~WaveOutput();

    std::filesystem::path folder;
    std::filesystem::path output;
};

// Waits while the device mixes `seconds` more sound (0.5 s is as long in the file),
// running `step` between looks at the device's clock, or else sleeping a moment.
void waitForDevice(const Audio::SoundSystem& system, double seconds,
                   const std::function<void()>& step = {});

// Measures over the part of the wave from `from` to `to` seconds, both channels
// mixed to one.
float rms(const Audio::Wave& wave, double from, double to);
float peak(const Audio::Wave& wave, double from, double to);
// The fundamental frequency in Hz (40 to 2000 Hz) by autocorrelation: the shortest
// lag at which the sound nearly repeats itself.
float fundamental(const Audio::Wave& wave, double from, double to);

} // namespace AudioTest
