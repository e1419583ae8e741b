#pragma once

#include "Data/Profile.h"
#include "Data/ResourceManager.h"
#include "Tool/Export.h"

namespace Data {

extern template class ResourceManager<Profile>;

// The process-wide store of driver profiles, named "ProfileManager", for files with
// the extension ".profile". Created empty on first use; lives until the process ends.
class BRUMBLY_API ProfileManager : public ResourceManager<Profile> {
public:
    static ProfileManager& getInstance();

private:
    ProfileManager();
};

} // namespace Data
