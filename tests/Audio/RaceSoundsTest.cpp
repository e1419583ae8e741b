// What the race sounds play, read back from the file the sound device writes.
#include "Game/audio/RaceSounds.h"

#include "AudioTestSupport.h"
#include "tests/Game/LevelTestSupport.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

using namespace AudioTest;

namespace {

// A car three units in front of a listener at the origin looking along -z.
Game::CarAudio carAhead(float engineSpeed, float throttle) {
    Game::CarAudio car;
    car.name = "Ann";
    car.position = {0.0f, 0.0f, -3.0f};
    car.engineSpeed = engineSpeed;
    car.throttle = throttle;
    return car;
}

// The sound of one race, and the times (in the file) the measurements span.
struct Recording {
    Audio::Wave wave;
    // From when the first frame's sounds are heard to the end.
    double start = 0.0;
    double end = 0.0;
};

} // namespace

class RaceSoundsTest : public ::testing::Test {
protected:
    void SetUp() override {
        WaveOutput::get().connect();
        GameTest::useBinFolder();
    }

    // Plays a race at the volumes for `seconds`: `begin` once, then `frame` every
    // 10 ms of mixed sound (as dt) with the listener at the origin.
    Recording record(int soundVolume, int musicVolume, double seconds,
                     const std::function<void(Game::RaceSounds&)>& begin,
                     const std::function<std::vector<Game::CarAudio>(int)>& frame) {
        Recording recording;
        {
            Game::RaceSounds sounds(soundVolume, musicVolume);
            const Audio::SoundSystem& system = sounds.getSystem();
            EXPECT_TRUE(system.isAvailable());
            begin(sounds);
            // The device mixes a little ahead of its clock: leave it time to start.
            recording.start = system.getDeviceTime() + 0.1;
            for (int i = 0; system.getDeviceTime() < recording.start - 0.1 + seconds; ++i) {
                sounds.update(0.01, frame(i), glm::mat4(1.0f));
                waitForDevice(system, 0.01);
            }
            recording.end = system.getDeviceTime();
        }
        recording.wave = WaveOutput::get().read();
        return recording;
    }

    Recording engine(int soundVolume, float engineSpeed) {
        return record(
            soundVolume, 0, 0.5, [](Game::RaceSounds&) {},
            [=](int) { return std::vector{carAhead(engineSpeed, 1.0f)}; });
    }

    Recording music(int soundVolume, int musicVolume) {
        return record(
            soundVolume, musicVolume, 1.2, [](Game::RaceSounds& sounds) { sounds.startMusic(); },
            [](int) { return std::vector<Game::CarAudio>(); });
    }
};

TEST_F(RaceSoundsTest, TheEnginesPitchFollowsTheEngineSpeed) {
    float previous = 0.0f;
    for (const float engineSpeed : {1500.0f, 3000.0f, 4500.0f}) {
        const Recording sound = engine(100, engineSpeed);
        const float measured = fundamental(sound.wave, sound.start, sound.end);
        // The loop's 100 Hz stands for 3000 rpm.
        EXPECT_NEAR(measured, engineSpeed / 30.0f, engineSpeed / 30.0f * 0.03f)
            << engineSpeed << " rpm";
        EXPECT_GT(measured, previous);
        previous = measured;
    }
}

TEST_F(RaceSoundsTest, SoundVolumeScalesTheEffectsAndMusicVolumeTheMusic) {
    const Recording full = engine(100, 3000.0f);
    const Recording half = engine(50, 3000.0f);
    const Recording off = engine(0, 3000.0f);
    const float loud = rms(full.wave, full.start, full.end);
    EXPECT_GT(loud, 0.02f);
    EXPECT_NEAR(rms(half.wave, half.start, half.end) / loud, 0.5f, 0.05f);
    EXPECT_LT(peak(off.wave, 0.0, off.end), 1e-5f) << "volume 0 is silence";

    const Recording tune = music(0, 100);
    const float tuneLevel = rms(tune.wave, tune.start, tune.end);
    EXPECT_GT(tuneLevel, 0.02f) << "the music plays with the effects off";
    const Recording quieter = music(100, 50);
    EXPECT_NEAR(rms(quieter.wave, quieter.start, quieter.end) / tuneLevel, 0.5f, 0.08f)
        << "the sound volume leaves the music alone";
    const Recording none = music(100, 0);
    EXPECT_LT(peak(none.wave, 0.0, none.end), 1e-5f);
}

TEST_F(RaceSoundsTest, AHardImpactIsLouderThanASoftOne) {
    // A hit in the first frame while the engine idles: the level of the 0.3 s after it.
    const auto hit = [this](float impact) {
        const Recording sound = record(
            100, 0, 0.4, [](Game::RaceSounds&) {},
            [impact](int i) {
                Game::CarAudio car = carAhead(1000.0f, 0.0f);
                car.impact = i == 0 ? impact : 0.0f;
                return std::vector{car};
            });
        return rms(sound.wave, sound.start - 0.1, sound.start + 0.2);
    };
    const float engine = hit(0.0f);
    EXPECT_GT(engine, 0.01f);
    EXPECT_NEAR(hit(0.5f), engine, engine * 0.05f) << "a touch makes no impact sound";
    // The impact's own level, the engine's taken out.
    const auto impactLevel = [&](float impact) {
        const float level = hit(impact);
        return std::sqrt(std::max(0.0f, level * level - engine * engine));
    };
    const float soft = impactLevel(2.0f);
    const float hard = impactLevel(12.0f);
    EXPECT_GT(soft, 0.2f * engine);
    EXPECT_GT(hard, 2.5f * soft);
}

TEST_F(RaceSoundsTest, PauseSilencesEverySoundUntilResumed) {
    WaveOutput& output = WaveOutput::get();
    double playing = 0.0, paused = 0.0, resumed = 0.0, end = 0.0;
    {
        Game::RaceSounds sounds(100, 100);
        const Audio::SoundSystem& system = sounds.getSystem();
        sounds.startMusic();
        Game::CarAudio car = carAhead(4000.0f, 1.0f);
        car.slide = 8.0f;
        sounds.update(0.01, {car}, glm::mat4(1.0f));
        playing = system.getDeviceTime() + 0.1;
        waitForDevice(system, 0.5);
        sounds.pause();
        paused = system.getDeviceTime() + 0.1;
        waitForDevice(system, 0.5);
        sounds.playCountdown(false);
        waitForDevice(system, 0.2);
        sounds.resume();
        resumed = system.getDeviceTime() + 0.1;
        waitForDevice(system, 0.4);
        end = system.getDeviceTime();
    }
    const Audio::Wave wave = output.read();
    EXPECT_GT(rms(wave, playing, paused - 0.1), 0.02f);
    EXPECT_LT(peak(wave, paused, resumed - 0.1), 1e-5f)
        << "engine, skid and music hold; a beep asked for meanwhile waits";
    EXPECT_GT(rms(wave, resumed, end), 0.02f);
}

TEST_F(RaceSoundsTest, CountdownBeepsAndTheFinishFanfare) {
    const auto signal = [this](const std::function<void(Game::RaceSounds&)>& begin) {
        const Recording sound =
            record(100, 0, 0.3, begin, [](int) { return std::vector<Game::CarAudio>(); });
        return fundamental(sound.wave, sound.start - 0.05, sound.start + 0.15);
    };
    const float count = signal([](Game::RaceSounds& sounds) { sounds.playCountdown(false); });
    const float go = signal([](Game::RaceSounds& sounds) { sounds.playCountdown(true); });
    EXPECT_NEAR(count, 880.0f, 10.0f);
    EXPECT_NEAR(go, 1760.0f, 20.0f);

    // The fanfare sounds once as a car crosses the line for the last time. The car
    // is far away, so that its engine is faint.
    const auto finishing = [this](bool finishes) {
        const Recording sound = record(
            100, 0, 0.4, [](Game::RaceSounds&) {},
            [finishes](int i) {
                Game::CarAudio car = carAhead(1000.0f, 0.0f);
                car.position.z = -2000.0f;
                car.finished = finishes && i > 0;
                return std::vector{car};
            });
        return rms(sound.wave, sound.start, sound.end);
    };
    EXPECT_GT(finishing(true), 10.0f * finishing(false));
}
