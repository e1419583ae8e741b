#include "Data/ProfileManager.h"

namespace Data {

ProfileManager::ProfileManager() : ResourceManager<Profile>("ProfileManager", ".profile") {}

ProfileManager& ProfileManager::getInstance() {
    static ProfileManager instance;
    return instance;
}

} // namespace Data
