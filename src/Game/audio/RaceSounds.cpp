#include "Game/audio/RaceSounds.h"

#include "Game/level/Level.h"
#include "Game/vehicle/VehicleObject.h"
#include "Physics/Actor.h"
#include "Physics/ContactImpulse.h"
#include "Physics/WheelShape.h"
#include "System/File.h"

#include <algorithm>
#include <cmath>
#include <glm/geometric.hpp>

namespace Game {

namespace {

// The engine loop is recorded at this engine speed (its 100 Hz fundamental is a
// four-cylinder engine firing twice per revolution at 3000 rpm).
constexpr float loopEngineSpeed = 3000.0f;
constexpr float idleEngineSpeed = 1000.0f;
constexpr float maxEngineSpeed = 7000.0f;
// The vehicle reports its engine speed through its gearbox; under full throttle the
// engine revs up by throttleRevs more before the wheels follow.
constexpr float throttleRevs = 500.0f;
// Engine loudness at idle and at full throttle.
constexpr float idleEngineGain = 0.2f;
constexpr float fullEngineGain = 0.5f;
// A tyre sliding slower than this is still within its grip as far as the ear goes;
// the skid is at full loudness from fullSkid on.
constexpr float skidThreshold = 1.5f;
constexpr float fullSkid = 6.0f;
constexpr float skidGain = 0.6f;
// Hits softer than this make no sound (a body resting on another takes about
// 0.16 m/s per sub-step); from hardImpact on the impact is at full loudness.
constexpr float softImpact = 1.0f;
constexpr float hardImpact = 8.0f;
// One contact lasts several frames: a car sounds one impact at most this often.
constexpr double impactInterval = 0.2;
constexpr std::size_t impactVoices = 4;
constexpr float signalGain = 0.8f;
constexpr float musicGain = 0.5f;
// Within these distances a sound plays at its full loudness.
constexpr float carSoundReach = 15.0f;
constexpr float impactReach = 25.0f;
// Signals and music play at the listener.
constexpr float atListener = 0.0f;
// A listener that moves faster than this has jumped to another camera.
constexpr float maxListenerSpeed = 100.0f;

float volume(int value) {
    return static_cast<float>(std::clamp(value, 0, 100)) / 100.0f;
}

std::string soundPath(const std::string& file) {
    return System::File::nativePath(System::File::getPWD() + "data\\sounds\\" + file);
}

} // namespace

RaceSounds::RaceSounds(int soundVolume, int musicVolume) {
    system.setVolume(Audio::Bus::Effects, volume(soundVolume));
    system.setVolume(Audio::Bus::Music, volume(musicVolume));
    if (!system.isAvailable()) {
        return;
    }
    engineSound = system.load(soundPath("engine.wav"));
    skidSound = system.load(soundPath("skid.wav"));
    const Audio::SoundId impactSound = system.load(soundPath("impact.wav"));
    for (std::size_t i = 0; i < impactVoices; ++i) {
        impacts.push_back(voice(impactSound, Audio::Bus::Effects, false, impactReach));
    }
    countdownBeep =
        voice(system.load(soundPath("countdown.wav")), Audio::Bus::Effects, false, atListener);
    goBeep = voice(system.load(soundPath("go.wav")), Audio::Bus::Effects, false, atListener);
    finishFanfare =
        voice(system.load(soundPath("finish.wav")), Audio::Bus::Effects, false, atListener);
    music = voice(system.load(soundPath("music.wav")), Audio::Bus::Music, true, atListener);
    for (const Audio::VoiceId signal : {countdownBeep, goBeep, finishFanfare}) {
        system.setGain(signal, signalGain);
    }
    system.setGain(music, musicGain);
}

Audio::VoiceId RaceSounds::voice(Audio::SoundId sound, Audio::Bus bus, bool looping, float reach) {
    Audio::VoiceDesc desc;
    desc.sound = sound;
    desc.bus = bus;
    desc.looping = looping;
    desc.positional = reach > 0.0f;
    desc.referenceDistance = reach;
    return system.createVoice(desc);
}

void RaceSounds::update(double dt, const std::vector<CarAudio>& states,
                        const glm::mat4& listenerPose) {
    updateListener(dt, listenerPose);
    std::map<std::string, Car> kept;
    for (const CarAudio& state : states) {
        // A name given twice: the first car of that name is heard.
        if (kept.contains(state.name)) {
            continue;
        }
        auto known = cars.extract(state.name);
        Car& car = known ? kept.insert(std::move(known)).position->second
                         : kept.emplace(state.name, newCar(state)).first->second;
        updateCar(car, state, dt);
    }
    for (auto& [name, car] : cars) {
        release(car);
    }
    cars = std::move(kept);
}

void RaceSounds::update(double dt, Level& level) {
    std::vector<CarAudio> states;
    for (const auto& [name, car] : level.getVehicles()) {
        states.push_back(describe(*car));
    }
    const CameraPtr camera = level.getCurrentCamera();
    update(dt, states,
           camera && camera->getCamera() ? camera->getCamera()->getWorldTransformation()
                                         : glm::mat4(1.0f));
}

CarAudio RaceSounds::describe(VehicleObject& car) {
    CarAudio state;
    state.name = car.getName();
    state.position = car.getPosition();
    state.engineSpeed = car.getEngineSpeed() + throttleRevs * car.getThrottle();
    state.throttle = car.getThrottle();
    state.finished = car.isFinished();
    Physics::Actor* actor = car.getActor();
    if (actor == nullptr) {
        return state;
    }
    state.velocity = actor->getLinearVelocity();
    const float impulse = Physics::fetchContactImpulse(*actor);
    const float mass = actor->getMass();
    state.impact = mass > 0.0f ? impulse / mass : 0.0f;
    // The slide is the speed at which a tyre scrubs over the ground: its wheel's
    // longitudinal slip (a velocity) and the sideways speed of its contact point (the
    // lateral slip is an angle).
    const glm::vec3 spin = actor->getAngularVelocity();
    const glm::vec3 centre = actor->getGlobalPosition();
    for (const WheelPtr& wheel : car.getWheels()) {
        Physics::WheelContactData contact;
        if (wheel->getShape() != nullptr && wheel->getShape()->getContact(contact) != nullptr) {
            const glm::vec3 atContact =
                state.velocity + glm::cross(spin, contact.contactPoint - centre);
            const float sideways = glm::dot(contact.lateralDirection, atContact);
            state.slide = std::max(state.slide, std::hypot(sideways, contact.longitudalSlip));
        }
    }
    return state;
}

RaceSounds::Car RaceSounds::newCar(const CarAudio& state) {
    Car car;
    car.engine = voice(engineSound, Audio::Bus::Effects, true, carSoundReach);
    car.skid = voice(skidSound, Audio::Bus::Effects, true, carSoundReach);
    car.sinceImpact = impactInterval;
    car.finished = state.finished;
    return car;
}

void RaceSounds::updateListener(double dt, const glm::mat4& pose) {
    const glm::vec3 position(pose[3]);
    glm::vec3 velocity(0.0f);
    if (listenerPlaced && dt > 0.0) {
        velocity = (position - listenerPosition) / static_cast<float>(dt);
        if (glm::length(velocity) > maxListenerSpeed) {
            velocity = glm::vec3(0.0f);
        }
    }
    listenerPosition = position;
    listenerPlaced = true;
    system.setListener(position, -glm::vec3(pose[2]), glm::vec3(pose[1]), velocity);
}

void RaceSounds::updateCar(Car& car, const CarAudio& state, double dt) {
    const float engineSpeed = std::clamp(state.engineSpeed, idleEngineSpeed, maxEngineSpeed);
    const float throttle = std::clamp(state.throttle, 0.0f, 1.0f);
    system.setPosition(car.engine, state.position);
    system.setVelocity(car.engine, state.velocity);
    system.setPitch(car.engine, engineSpeed / loopEngineSpeed);
    system.setGain(car.engine, idleEngineGain + (fullEngineGain - idleEngineGain) * throttle);
    if (!system.isPlaying(car.engine)) {
        system.play(car.engine);
    }

    const float skid =
        std::clamp((state.slide - skidThreshold) / (fullSkid - skidThreshold), 0.0f, 1.0f);
    system.setPosition(car.skid, state.position);
    system.setVelocity(car.skid, state.velocity);
    system.setGain(car.skid, skidGain * skid);
    if (skid > 0.0f && !system.isPlaying(car.skid)) {
        system.play(car.skid);
    } else if (skid == 0.0f && system.isPlaying(car.skid)) {
        system.stop(car.skid);
    }

    car.sinceImpact += dt;
    if (state.impact >= softImpact && car.sinceImpact >= impactInterval) {
        playImpact(state);
        car.sinceImpact = 0.0;
    }

    if (state.finished && !car.finished) {
        system.play(finishFanfare);
    }
    car.finished = state.finished;
}

void RaceSounds::playImpact(const CarAudio& state) {
    if (impacts.empty()) {
        return;
    }
    const Audio::VoiceId impact = impacts[nextImpact];
    nextImpact = (nextImpact + 1) % impacts.size();
    const float strength =
        std::clamp((state.impact - softImpact) / (hardImpact - softImpact), 0.0f, 1.0f);
    system.setPosition(impact, state.position);
    system.setGain(impact, 0.15f + 0.85f * strength);
    // Harder hits sound a little deeper.
    system.setPitch(impact, 1.1f - 0.2f * strength);
    system.play(impact);
}

void RaceSounds::release(Car& car) {
    system.releaseVoice(car.engine);
    system.releaseVoice(car.skid);
}

void RaceSounds::playCountdown(bool go) {
    system.play(go ? goBeep : countdownBeep);
}

void RaceSounds::onCountdown(int step) {
    playCountdown(step == 0);
}

void RaceSounds::onFinish(std::size_t, int, double) {}

void RaceSounds::onResults() {}

void RaceSounds::startMusic() {
    if (!system.isPlaying(music)) {
        system.play(music);
    }
}

void RaceSounds::pause() {
    system.pause();
}

void RaceSounds::resume() {
    system.resume();
}

} // namespace Game
