// The Test Track: a loop round a lake from the start straight in the south, its goal,
// checkpoints, start grid and obstacles where the game's own layout puts them.
#include "Track/TestTrack.h"
#include "Game/level/TestTrackLayout.h"
#include "Plans.h"

#include <string_view>

namespace Plans {

namespace {

Track::Place placeOf(const Game::TrackPoint& point) {
    return {point.a, point.b, point.x, point.z, point.heading};
}

} // namespace

TrackGen::TrackPlan testTrack() {
    using namespace Game::TestTrackLayout;
    TrackGen::TrackPlan plan;
    plan.name = Track::testTrackName;
    plan.trackFile = Track::testTrackFile;
    plan.lineFile = Track::testTrackLineFile;
    plan.heightMapFile = "GroundHeightmap.jpg";
    plan.textureFile = "GroundTexture.jpg";
    plan.previewFile = "TrackPreview.png";
    plan.hills = {
        {230.0f, 18.0f, 60.0f, 11.0f}, {250.0f, 240.0f, 75.0f, 13.0f},
        {12.0f, 244.0f, 65.0f, 12.0f}, {0.0f, 10.0f, 50.0f, 9.0f},
        {184.0f, 128.0f, 24.0f, 6.5f}, {118.0f, 244.0f, 34.0f, 8.0f},
        {108.0f, 18.0f, 32.0f, 7.0f},  {72.0f, 126.0f, 20.0f, 5.0f},
        {256.0f, 96.0f, 40.0f, 8.0f},  {130.0f, 170.0f, 14.0f, 3.0f},
    };
    plan.lakes = {{128.0f, 133.0f, 48.0f, 33.0f, 5.5f}};
    // The gates get a point before and after them so that the road crosses each gate
    // square to its posts.
    plan.road = {
        {30.0f, 67.0f},   {50.0f, 67.0f},   {70.0f, 67.0f},   {82.4f, 67.0f},   {95.0f, 67.0f},
        {125.0f, 66.5f},  {160.0f, 66.0f},  {187.0f, 67.0f},  {207.0f, 76.0f},  {220.0f, 98.0f},
        {224.6f, 125.0f}, {224.6f, 150.0f}, {224.6f, 168.0f}, {216.0f, 186.0f}, {196.0f, 196.5f},
        {170.0f, 198.6f}, {150.0f, 198.6f}, {130.0f, 198.0f}, {100.0f, 194.0f}, {68.0f, 187.0f},
        {44.0f, 172.0f},  {32.0f, 146.0f},  {29.45f, 125.0f}, {29.45f, 110.0f}, {28.5f, 96.0f},
        {22.0f, 83.0f},   {17.0f, 74.0f},   {20.5f, 68.0f},
    };
    plan.startPad = {20.0f, 58.0f, 100.0f, 76.0f};
    // The crate pyramid, 6 by 16 units around its middle crate, and the houses' yards.
    const Crate& middle = crates.front();
    plan.pads.push_back({cratesX - 6.0f, middle.z - 8.0f, cratesX + 6.0f, middle.z + 8.0f});
    for (const Obstacle& obstacle : obstacles) {
        if (obstacle.gate) {
            const bool goal = std::string_view(obstacle.file) == "goal.dae";
            plan.gates.push_back({obstacle.name, goal, obstacle.x, obstacle.z, obstacle.yaw});
        } else {
            plan.houses.push_back({obstacle.name, obstacle.x, obstacle.z, obstacle.yaw});
            plan.pads.push_back(
                {obstacle.x - 8.0f, obstacle.z - 7.0f, obstacle.x + 8.0f, obstacle.z + 7.0f});
        }
    }
    plan.crateGroups.push_back({middle.name, cratesX, middle.z, 0.0f, 3});
    for (const Game::TrackPoint& checkpoint : checkpoints) {
        plan.checkpoints.push_back(placeOf(checkpoint));
    }
    for (const Game::TrackPoint& start : startPositions) {
        plan.startPositions.push_back(placeOf(start));
    }
    return plan;
}

} // namespace Plans
