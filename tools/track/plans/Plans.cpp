#include "Plans.h"

namespace Plans {

std::vector<TrackGen::TrackPlan> shipped() {
    return {testTrack(), lakeside(), forestHills(), quarry()};
}

bool findShipped(const std::string& stem, TrackGen::TrackPlan& plan) {
    for (TrackGen::TrackPlan& candidate : shipped()) {
        if (candidate.trackFile == stem + ".track") {
            plan = std::move(candidate);
            return true;
        }
    }
    return false;
}

void nameFiles(TrackGen::TrackPlan& plan, const std::string& stem) {
    plan.trackFile = stem + ".track";
    plan.lineFile = stem + ".line";
    plan.heightMapFile = stem + "Heightmap.jpg";
    plan.textureFile = stem + "Texture.jpg";
    plan.previewFile = stem + "Preview.png";
}

} // namespace Plans
