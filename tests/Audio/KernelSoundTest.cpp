// The race's sound through the kernel: started with the race, paused with it, and a
// race without a sound device.
#include "Data/Options.h"
#include "Data/Profile.h"
#include "Game/Kernel.h"
#include "Game/audio/RaceSounds.h"
#include "Game/race/RaceDirector.h"

#include "AudioTestSupport.h"
#include "tests/Game/VehicleTestSupport.h"

using namespace AudioTest;

namespace {

// Runs race frames while the device mixes `seconds` more sound.
void raceFor(Game::Kernel& kernel, const Audio::SoundSystem& system, double seconds) {
    waitForDevice(system, seconds, [&kernel] { kernel.frame(); });
}

} // namespace

class KernelSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        WaveOutput::get().connect();
        GameTest::useBinFolder();
    }
    void TearDown() override {
        if (kernel.isInitialised()) {
            kernel.shutdown();
        }
        WaveOutput::get().connect();
    }

    Game::Kernel& kernel = Game::Kernel::getInstance();
};

TEST_F(KernelSoundTest, WithoutASoundDeviceTheRaceRunsWithOneLogLine) {
    WaveOutput::get().disconnect();
    RenderTest::LogRecorder log;
    ASSERT_TRUE(kernel.initialise(Data::Options(640, 480)));
    ASSERT_TRUE(kernel.createLevel(1));
    ASSERT_TRUE(kernel.createPlayer(GameTest::driver("Ann"), {255, 0, 0}));
    ASSERT_TRUE(kernel.createPlayer(GameTest::driver("Ben"), {0, 0, 255}));
    // Past the countdown, so that the race clock runs.
    kernel.setRunDuration(Game::RaceDirector::countdownLength + 0.3);
    kernel.run();
    EXPECT_GT(kernel.getFrameTimes().frames.size(), 0u);
    EXPECT_GT(kernel.getLevel()->getRaceTime(), 0.0);
    std::vector<Tool::Message> sound;
    std::copy_if(
        log.messages.begin(), log.messages.end(), std::back_inserter(sound),
        [](const Tool::Message& message) { return message.getAuthor() == "Audio::SoundSystem"; });
    ASSERT_EQ(sound.size(), 1u);
    EXPECT_EQ(sound[0].getTitle(), "No sound device .. [silent]");
    EXPECT_EQ(sound[0].getType(), Tool::MT_WARNING);
}

TEST_F(KernelSoundTest, TheRaceIsHeardAndThePauseKeySilencesIt) {
    Data::Options options(640, 480);
    options.soundVolume = 100;
    options.musicVolume = 0;
    ASSERT_TRUE(kernel.initialise(options));
    ASSERT_TRUE(kernel.createLevel(1));
    ASSERT_TRUE(kernel.createPlayer(GameTest::driver("Ann"), {255, 0, 0}));
    ASSERT_NE(kernel.getRaceSounds(), nullptr);
    const Audio::SoundSystem& system = kernel.getRaceSounds()->getSystem();
    ASSERT_TRUE(system.isAvailable());

    kernel.startRun();
    kernel.handleKey(Platform::KEY_UP, Platform::PRESS);
    const double start = system.getDeviceTime() + 0.1;
    raceFor(kernel, system, 0.6);
    kernel.handleKey(Platform::KEY_PAUSE, Platform::PRESS);
    const double paused = system.getDeviceTime() + 0.1;
    raceFor(kernel, system, 0.5);
    const double end = system.getDeviceTime();
    kernel.shutdown();

    const Audio::Wave wave = WaveOutput::get().read();
    EXPECT_GT(rms(wave, start, paused - 0.1), 0.01f) << "the engine is heard from the car";
    EXPECT_LT(peak(wave, paused, end), 1e-5f) << "paused";
}
