#pragma once

#include "Audio/Wave.h"

#include <cstdint>
#include <glm/vec3.hpp>
#include <memory>
#include <string>

namespace Audio {

// Handles of loaded sounds and of voices; 0 stands for none.
using SoundId = std::uint32_t;
using VoiceId = std::uint32_t;

// The volume control a voice follows.
enum class Bus { Effects, Music };

// What a voice plays and how it is heard.
struct VoiceDesc {
    SoundId sound = 0;
    Bus bus = Bus::Effects;
    bool looping = false;
    // A positional voice sits in the world and is heard from the listener's place;
    // the others play at the listener (music, race signals).
    bool positional = true;
    // Within this distance a positional voice plays at its full gain; beyond it the
    // gain falls as referenceDistance / distance.
    float referenceDistance = 10.0f;
};

// The game's sound output: the default sound device with one context, the sounds
// loaded into it and the voices that play them in 3-D around one listener. Every
// voice's loudness is its own gain times the volume of its bus.
//
// When no device can be opened the system says so once in the log and stays silent:
// loads and voices return 0 and every other call does nothing. One system at a time.
class SoundSystem {
public:
    SoundSystem();
    ~SoundSystem();
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    bool isAvailable() const;
    // Seconds of sound the device has mixed since it opened (0 without a device).
    double getDeviceTime() const;

    // Loads a mono or stereo WAV file; 0, logged, when it cannot be read. Only mono
    // sounds are placed in 3-D.
    SoundId load(const std::string& path);
    SoundId create(const Wave& wave);

    // A stopped voice at the origin with gain and pitch 1; 0 for an unknown sound.
    VoiceId createVoice(const VoiceDesc& desc);
    void releaseVoice(VoiceId voice);

    // Plays the voice from its start. While the system is paused the voice starts
    // when it resumes.
    void play(VoiceId voice);
    void stop(VoiceId voice);
    // Playing, or waiting for resume() to go on playing.
    bool isPlaying(VoiceId voice) const;
    // The voice's own gain, 0 to 1, before its bus volume.
    void setGain(VoiceId voice, float gain);
    // Playback speed and pitch together: 2 plays an octave higher (0.1 to 4).
    void setPitch(VoiceId voice, float pitch);
    void setPosition(VoiceId voice, const glm::vec3& position);
    // Used for the Doppler shift, as is the listener's velocity.
    void setVelocity(VoiceId voice, const glm::vec3& velocity);

    void setListener(const glm::vec3& position, const glm::vec3& forward, const glm::vec3& up,
                     const glm::vec3& velocity);
    // 0 (silence) to 1 (each voice at its own gain).
    void setVolume(Bus bus, float volume);

    // Holds every playing voice where it is, and lets them go on.
    void pause();
    void resume();

private:
    struct State;
    std::unique_ptr<State> state;
};

} // namespace Audio
