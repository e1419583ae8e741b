#include "StarterDrivers.h"

#include "Data/ProfileManager.h"
#include "KeySets.h"
#include "Tool/LogManager.h"
#include "Tool/LogText.h"
#include "Tool/Message.h"

#include <ctime>
#include <exception>

namespace {

struct Starter {
    const char* name;
    bool computer;
    std::uint32_t difficulty;
    bool chosen;
};

constexpr Starter starters[] = {
    {"Player", false, 0, true},
    {"Pebbles", true, 0, true},
    {"Dusty", true, 1, true},
    {"Blaze", true, 2, false},
};

} // namespace

std::vector<std::string> createStarterDrivers(Data::ProfileManager& profiles) {
    std::vector<std::string> chosen;
    for (const Starter& starter : starters) {
        const auto profile = profiles.getOrCreate(starter.name);
        profile->creationDate.set(static_cast<std::int64_t>(std::time(nullptr)));
        profile->nationality.set(Data::Nation::noNation);
        profile->controls = starter.computer ? Data::Control() : keySets()[0].keys;
        profile->controls.aiEnabled = starter.computer;
        profile->controls.aiDifficulty = starter.difficulty;
        try {
            profile->save();
        } catch (const std::exception& failure) {
            profiles.remove(starter.name, false);
            Tool::LogManager::getInstance().send(
                Tool::Message("Brumbly", "Couldn't save Profile .. [Failed]",
                              std::string(starter.name) + ": " + Tool::logExcerpt(failure.what()),
                              __FILE__, __LINE__, Tool::MT_ERROR));
            continue;
        }
        if (starter.chosen) {
            chosen.push_back(starter.name);
        }
    }
    return chosen;
}
