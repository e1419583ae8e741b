#pragma once

#include "Data/Options.h"
#include "Game/Kernel.h"

#include <cstddef>
#include <cstdint>
#include <glm/vec3.hpp>
#include <memory>
#include <string>
#include <vector>

namespace Data {
class Profile;
}

// The game library's kernel as the race start drives it; tests put a recorder in
// its place.
class RaceKernel {
public:
    virtual ~RaceKernel() = default;
    // The track the race is to be on, told before initialise so that its pictures can
    // load while the window opens.
    virtual void expectTrack(const std::string& /*track*/) {}
    virtual bool initialise(const Data::Options& options) = 0;
    virtual bool createLevel(const std::string& track, unsigned int laps) = 0;
    virtual bool createPlayer(std::shared_ptr<Data::Profile> profile, const glm::vec3& colour,
                              int gamepad) = 0;
    virtual void run() = 0;
    virtual void releaseAllPlayers() = 0;
    virtual void releaseLevel() = 0;
    virtual void shutdown() = 0;
    // The detail level (Low, Medium or High) the race was drawn at last.
    virtual std::int32_t drawnDetail() const = 0;
};

// The real kernel of the game library.
class GameRaceKernel final : public RaceKernel {
public:
    void expectTrack(const std::string& track) override;
    bool initialise(const Data::Options& options) override;
    bool createLevel(const std::string& track, unsigned int laps) override;
    bool createPlayer(std::shared_ptr<Data::Profile> profile, const glm::vec3& colour,
                      int gamepad) override;
    void run() override;
    void releaseAllPlayers() override;
    void releaseLevel() override;
    void shutdown() override;
    std::int32_t drawnDetail() const override;
};

// The most drivers a race takes: the track has three start positions.
inline constexpr std::size_t maximumRaceDrivers = 3;

// A driver of a race: the profile's name, the car colour, red, green and blue each a
// whole number from 0 to 255, and the slot of the pad the driver drives with (none:
// the keyboard).
struct RaceDriver {
    std::string name;
    glm::vec3 colour{0.0f, 0.0f, 255.0f};
    int gamepad = Game::Kernel::noGamepad;
};

// Runs one race on the named track through the kernel's whole life cycle: initialise,
// level, one player
// per driver (profiles looked up by name), run, and the release calls and shutdown
// on every path. Returns an empty text when the race ran, otherwise the error to
// show: "Couldn't initialise level (see log for details)", "Couldn't load level
// (see log for details)" or "Couldn't create Players (see log for details)".
std::string startRace(RaceKernel& kernel, const Data::Options& options,
                      const std::vector<RaceDriver>& drivers, const std::string& track,
                      unsigned int laps);
