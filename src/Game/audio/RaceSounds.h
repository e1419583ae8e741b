#pragma once

#include "Audio/SoundSystem.h"
#include "Game/RaceEventListener.h"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <map>
#include <string>
#include <vector>

namespace Game {

class Level;
class VehicleObject;

// What the race sounds take from one car each frame.
struct CarAudio {
    std::string name;
    glm::vec3 position{0.0f};
    glm::vec3 velocity{0.0f};
    float engineSpeed = 0.0f; // revolutions per minute
    float throttle = 0.0f;    // 0 to 1
    // How fast the fastest-sliding tyre on the ground slides (m/s, sideways and
    // lengthways together); a tyre grips up to a few tenths.
    float slide = 0.0f;
    // The hardest hit since the last frame, as the change of the car's velocity it
    // would cause (contact impulse over mass, m/s).
    float impact = 0.0f;
    bool finished = false;
};

// The sounds of a race: per car a looping engine whose pitch follows the engine
// speed and whose loudness follows the throttle, a skid while a tyre slides well
// beyond its grip, and an impact, louder for harder hits, each placed at its car and
// heard from the listener (the current camera); the countdown beeps, a fanfare as
// each car finishes, and the music loop. "Sound Volume" scales every effect, "Music
// Volume" the music. Without a sound device every call does nothing.
class RaceSounds : public RaceEventListener {
public:
    // Volumes from 0 (silence) to 100, as the options store them; values outside are
    // taken as the nearer end. The sounds come from data\sounds\.
    RaceSounds(int soundVolume, int musicVolume);
    RaceSounds(const RaceSounds&) = delete;
    RaceSounds& operator=(const RaceSounds&) = delete;

    const Audio::SoundSystem& getSystem() const { return system; }

    // Follows the cars (a car missing from the list falls silent) and the listener's
    // pose, the camera's world transform (it looks along its -z axis, +y up).
    void update(double dt, const std::vector<CarAudio>& cars, const glm::mat4& listenerPose);
    // The same for the level's cars, heard from its current camera.
    void update(double dt, Level& level);
    // A car's state for update(): its engine speed from its driven axles' speed
    // through one fixed gear, its throttle, its tyres' slides and the hardest hit the
    // physics reported for it since the last call (which it takes).
    static CarAudio describe(VehicleObject& car);

    // A countdown beep; `go` gives the longer, higher one for the start.
    void playCountdown(bool go);
    // Beeps at 3, 2 and 1, the start signal at "GO!". Finishes need nothing: each car's
    // fanfare follows its own state.
    void onCountdown(int step) override;
    void onFinish(std::size_t player, int position, double raceTime) override;
    void onResults() override;
    void startMusic();
    // Holds every sound, music included, and lets them go on.
    void pause();
    void resume();

private:
    struct Car {
        Audio::VoiceId engine = 0;
        Audio::VoiceId skid = 0;
        double sinceImpact = 0.0;
        bool finished = false;
    };

    // A voice heard in full within `reach` of its place, or at the listener for 0.
    Audio::VoiceId voice(Audio::SoundId sound, Audio::Bus bus, bool looping, float reach);
    Car newCar(const CarAudio& state);
    void updateListener(double dt, const glm::mat4& pose);
    void updateCar(Car& car, const CarAudio& state, double dt);
    void playImpact(const CarAudio& state);
    void release(Car& car);

    Audio::SoundSystem system;
    Audio::SoundId engineSound = 0;
    Audio::SoundId skidSound = 0;
    std::vector<Audio::VoiceId> impacts;
    std::size_t nextImpact = 0;
    Audio::VoiceId countdownBeep = 0;
    Audio::VoiceId goBeep = 0;
    Audio::VoiceId finishFanfare = 0;
    Audio::VoiceId music = 0;
    std::map<std::string, Car> cars;
    glm::vec3 listenerPosition{0.0f};
    bool listenerPlaced = false;
};

} // namespace Game
