#include "Audio/SoundSystem.h"

#include "Tool/LogManager.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

namespace Audio {

namespace {

constexpr float minPitch = 0.1f;
constexpr float maxPitch = 4.0f;

void log(const std::string& title, const std::string& details, Tool::MessageType type, int line) {
    Tool::LogManager::getInstance().send(
        Tool::Message("Audio::SoundSystem", title, details, __FILE__, line, type));
}

bool finite(const glm::vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

std::size_t busIndex(Bus bus) {
    return bus == Bus::Music ? 1 : 0;
}

} // namespace

struct SoundSystem::State {
    struct Voice {
        ALuint source = 0;
        Bus bus = Bus::Effects;
        float gain = 1.0f;
        // Held by pause(), or asked to play while paused: plays on resume().
        bool held = false;
    };

    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    LPALCGETINTEGER64VSOFT getInteger64 = nullptr;
    std::vector<ALuint> buffers;
    std::map<VoiceId, Voice> voices;
    std::array<float, 2> volumes{1.0f, 1.0f};
    bool paused = false;

    Voice* find(VoiceId id) {
        const auto found = voices.find(id);
        return found != voices.end() ? &found->second : nullptr;
    }

    void applyGain(const Voice& voice) const {
        alSourcef(voice.source, AL_GAIN,
                  std::clamp(voice.gain * volumes[busIndex(voice.bus)], 0.0f, 1.0f));
    }
};

SoundSystem::SoundSystem() : state(std::make_unique<State>()) {
    state->device = alcOpenDevice(nullptr);
    if (state->device == nullptr) {
        log("No sound device .. [silent]", "the race runs without sound", Tool::MT_WARNING,
            __LINE__);
        return;
    }
    state->context = alcCreateContext(state->device, nullptr);
    if (state->context == nullptr || alcMakeContextCurrent(state->context) == ALC_FALSE) {
        if (state->context != nullptr) {
            alcDestroyContext(state->context);
            state->context = nullptr;
        }
        alcCloseDevice(state->device);
        state->device = nullptr;
        log("No sound device .. [silent]", "the sound device refused a context", Tool::MT_WARNING,
            __LINE__);
        return;
    }
    if (alcIsExtensionPresent(state->device, "ALC_SOFT_device_clock") == ALC_TRUE) {
        state->getInteger64 = reinterpret_cast<LPALCGETINTEGER64VSOFT>(
            alcGetProcAddress(state->device, "alcGetInteger64vSOFT"));
    }
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    const ALCchar* name = alcGetString(state->device, ALC_DEVICE_SPECIFIER);
    log("Sound device opened .. [OK]", name != nullptr ? name : "", Tool::MT_MESSAGE, __LINE__);
}

SoundSystem::~SoundSystem() {
    if (!isAvailable()) {
        return;
    }
    for (const auto& [id, voice] : state->voices) {
        alSourceStop(voice.source);
        alDeleteSources(1, &voice.source);
    }
    if (!state->buffers.empty()) {
        alDeleteBuffers(static_cast<ALsizei>(state->buffers.size()), state->buffers.data());
    }
    if (alcGetCurrentContext() == state->context) {
        alcMakeContextCurrent(nullptr);
    }
    alcDestroyContext(state->context);
    alcCloseDevice(state->device);
}

bool SoundSystem::isAvailable() const {
    return state->context != nullptr;
}

double SoundSystem::getDeviceTime() const {
    if (!isAvailable() || state->getInteger64 == nullptr) {
        return 0.0;
    }
    ALCint64SOFT nanoseconds = 0;
    state->getInteger64(state->device, ALC_DEVICE_CLOCK_SOFT, 1, &nanoseconds);
    return static_cast<double>(nanoseconds) * 1e-9;
}

SoundId SoundSystem::load(const std::string& path) {
    if (!isAvailable()) {
        return 0;
    }
    Wave wave;
    std::string error;
    if (!Wave::read(path, wave, error)) {
        log("Sound not loaded .. [Failed]", path + ": " + error, Tool::MT_ERROR, __LINE__);
        return 0;
    }
    return create(wave);
}

SoundId SoundSystem::create(const Wave& wave) {
    if (!isAvailable() || wave.channels < 1 || wave.channels > 2 || wave.sampleRate == 0 ||
        wave.frames() == 0) {
        return 0;
    }
    std::vector<std::int16_t> pcm(wave.frames() * wave.channels);
    for (std::size_t i = 0; i < pcm.size(); ++i) {
        const float value = std::isfinite(wave.samples[i]) ? wave.samples[i] : 0.0f;
        pcm[i] = static_cast<std::int16_t>(std::lround(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
    }
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, wave.channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16, pcm.data(),
                 static_cast<ALsizei>(pcm.size() * sizeof(std::int16_t)),
                 static_cast<ALsizei>(wave.sampleRate));
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &buffer);
        return 0;
    }
    state->buffers.push_back(buffer);
    return buffer;
}

VoiceId SoundSystem::createVoice(const VoiceDesc& desc) {
    if (!isAvailable() || std::find(state->buffers.begin(), state->buffers.end(), desc.sound) ==
                              state->buffers.end()) {
        return 0;
    }
    alGetError();
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) {
        return 0;
    }
    alSourcei(source, AL_BUFFER, static_cast<ALint>(desc.sound));
    alSourcei(source, AL_LOOPING, desc.looping ? AL_TRUE : AL_FALSE);
    alSourcei(source, AL_SOURCE_RELATIVE, desc.positional ? AL_FALSE : AL_TRUE);
    alSourcef(source, AL_ROLLOFF_FACTOR, desc.positional ? 1.0f : 0.0f);
    alSourcef(source, AL_REFERENCE_DISTANCE, std::max(desc.referenceDistance, 0.01f));
    State::Voice& voice = state->voices[source];
    voice.source = source;
    voice.bus = desc.bus;
    state->applyGain(voice);
    return source;
}

void SoundSystem::releaseVoice(VoiceId id) {
    if (State::Voice* voice = state->find(id)) {
        alSourceStop(voice->source);
        alDeleteSources(1, &voice->source);
        state->voices.erase(id);
    }
}

void SoundSystem::play(VoiceId id) {
    State::Voice* voice = state->find(id);
    if (voice == nullptr) {
        return;
    }
    if (state->paused) {
        alSourceRewind(voice->source);
        voice->held = true;
        return;
    }
    alSourcePlay(voice->source);
}

void SoundSystem::stop(VoiceId id) {
    if (State::Voice* voice = state->find(id)) {
        alSourceStop(voice->source);
        voice->held = false;
    }
}

bool SoundSystem::isPlaying(VoiceId id) const {
    State::Voice* voice = state->find(id);
    if (voice == nullptr) {
        return false;
    }
    ALint sourceState = AL_STOPPED;
    alGetSourcei(voice->source, AL_SOURCE_STATE, &sourceState);
    return voice->held || sourceState == AL_PLAYING;
}

void SoundSystem::setGain(VoiceId id, float gain) {
    if (State::Voice* voice = state->find(id); voice != nullptr && std::isfinite(gain)) {
        voice->gain = std::clamp(gain, 0.0f, 1.0f);
        state->applyGain(*voice);
    }
}

void SoundSystem::setPitch(VoiceId id, float pitch) {
    if (State::Voice* voice = state->find(id); voice != nullptr && std::isfinite(pitch)) {
        alSourcef(voice->source, AL_PITCH, std::clamp(pitch, minPitch, maxPitch));
    }
}

void SoundSystem::setPosition(VoiceId id, const glm::vec3& position) {
    if (State::Voice* voice = state->find(id); voice != nullptr && finite(position)) {
        alSource3f(voice->source, AL_POSITION, position.x, position.y, position.z);
    }
}

void SoundSystem::setVelocity(VoiceId id, const glm::vec3& velocity) {
    if (State::Voice* voice = state->find(id); voice != nullptr && finite(velocity)) {
        alSource3f(voice->source, AL_VELOCITY, velocity.x, velocity.y, velocity.z);
    }
}

void SoundSystem::setListener(const glm::vec3& position, const glm::vec3& forward,
                              const glm::vec3& up, const glm::vec3& velocity) {
    if (!isAvailable() || !finite(position) || !finite(forward) || !finite(up) ||
        !finite(velocity)) {
        return;
    }
    alListener3f(AL_POSITION, position.x, position.y, position.z);
    alListener3f(AL_VELOCITY, velocity.x, velocity.y, velocity.z);
    const ALfloat orientation[] = {forward.x, forward.y, forward.z, up.x, up.y, up.z};
    alListenerfv(AL_ORIENTATION, orientation);
}

void SoundSystem::setVolume(Bus bus, float volume) {
    if (!std::isfinite(volume)) {
        return;
    }
    state->volumes[busIndex(bus)] = std::clamp(volume, 0.0f, 1.0f);
    for (const auto& [id, voice] : state->voices) {
        if (voice.bus == bus) {
            state->applyGain(voice);
        }
    }
}

void SoundSystem::pause() {
    if (state->paused) {
        return;
    }
    state->paused = true;
    for (auto& [id, voice] : state->voices) {
        ALint sourceState = AL_STOPPED;
        alGetSourcei(voice.source, AL_SOURCE_STATE, &sourceState);
        if (sourceState == AL_PLAYING) {
            alSourcePause(voice.source);
            voice.held = true;
        }
    }
}

void SoundSystem::resume() {
    if (!state->paused) {
        return;
    }
    state->paused = false;
    for (auto& [id, voice] : state->voices) {
        if (voice.held) {
            alSourcePlay(voice.source);
            voice.held = false;
        }
    }
}

} // namespace Audio
