#include "RaceStart.h"

#include "Data/ProfileManager.h"
#include "Game/Kernel.h"

void GameRaceKernel::expectTrack(const std::string& track) {
    Game::Kernel::getInstance().expectTrack(track);
}

bool GameRaceKernel::initialise(const Data::Options& options) {
    return Game::Kernel::getInstance().initialise(options);
}

bool GameRaceKernel::createLevel(const std::string& track, unsigned int laps) {
    return Game::Kernel::getInstance().createLevel(laps, track);
}

bool GameRaceKernel::createPlayer(std::shared_ptr<Data::Profile> profile, const glm::vec3& colour,
                                  int gamepad) {
    return Game::Kernel::getInstance().createPlayer(std::move(profile), colour, gamepad);
}

void GameRaceKernel::run() {
    Game::Kernel::getInstance().run();
}

void GameRaceKernel::releaseAllPlayers() {
    Game::Kernel::getInstance().releaseAllPlayers();
}

void GameRaceKernel::releaseLevel() {
    Game::Kernel::getInstance().releaseLevel();
}

void GameRaceKernel::shutdown() {
    Game::Kernel::getInstance().shutdown();
}

std::int32_t GameRaceKernel::drawnDetail() const {
    return Game::Kernel::getInstance().getDetail();
}

namespace {

std::string raceWith(RaceKernel& kernel, const Data::Options& options,
                     const std::vector<RaceDriver>& drivers, const std::string& track,
                     unsigned int laps) {
    kernel.expectTrack(track);
    if (!kernel.initialise(options)) {
        return "Couldn't initialise level (see log for details)";
    }
    if (!kernel.createLevel(track, laps)) {
        kernel.releaseLevel();
        return "Couldn't load level (see log for details)";
    }
    for (const RaceDriver& driver : drivers) {
        const std::shared_ptr<Data::Profile> profile =
            Data::ProfileManager::getInstance().find(driver.name);
        if (!profile || !kernel.createPlayer(profile, driver.colour, driver.gamepad)) {
            kernel.releaseAllPlayers();
            kernel.releaseLevel();
            return "Couldn't create Players (see log for details)";
        }
    }
    kernel.run();
    kernel.releaseAllPlayers();
    kernel.releaseLevel();
    return {};
}

} // namespace

std::string startRace(RaceKernel& kernel, const Data::Options& options,
                      const std::vector<RaceDriver>& drivers, const std::string& track,
                      unsigned int laps) {
    const std::string error = raceWith(kernel, options, drivers, track, laps);
    kernel.shutdown();
    return error;
}
