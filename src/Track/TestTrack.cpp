// The content of the "Test Track": terrain, overview camera, lights, houses, goal,
// checkpoints, the crate pyramid, and the checkpoints and start positions of a race.
#include "Track/TestTrack.h"

#include "Game/level/TestTrackLayout.h"

namespace Track {

namespace {

// A wooden crate beside the car (mass 3): light enough that a car scatters the
// pyramid without being thrown, heavy enough not to fly far.
constexpr float crateMass = 1.0f;

Place placeOf(const Game::TrackPoint& point) {
    return {point.a, point.b, point.x, point.z, point.heading};
}

} // namespace

TrackDesc testTrack() {
    TrackDesc track;
    track.name = testTrackName;
    track.preview = "TrackPreview.png";
    TerrainSpec& terrain = track.terrain;
    terrain.heightMap = {"GroundHeightmap.jpg", "data\\images\\"};
    terrain.texture = {"GroundTexture.jpg", "data\\images\\"};
    terrain.sizeX = 256.0f;
    terrain.heightScale = 20.0f;
    terrain.sizeZ = 256.0f;
    terrain.columns = 24;
    terrain.rows = 24;
    terrain.waterLevel = 2.0f;

    CameraSpec overview;
    overview.name = "Overview";
    overview.position = {128.0f, 256.0f, 384.0f};
    overview.pitch = -45.0f;
    overview.flags = 1; // movable
    overview.target = {50.0f, 0.0f, 50.0f};
    track.cameras.push_back(overview);

    LightSpec sun;
    sun.position = {-24.0f, 280.0f, 280.0f};
    sun.yaw = -45.0f;
    sun.pitch = -60.0f;
    track.lights.push_back(sun);
    LightSpec second = sun;
    second.name = "second";
    second.pitch = 0.0f;
    second.diffuse = {0.7f, 0.7f, 0.7f, 1.0f};
    track.lights.push_back(second);

    // The gates collide only with their two posts, the houses with one box around the
    // whole model.
    for (const Game::TestTrackLayout::Obstacle& obstacle : Game::TestTrackLayout::obstacles) {
        ObjectSpec object;
        object.name = obstacle.name;
        object.model = {obstacle.file, obstacle.directory};
        object.position = {obstacle.x, 0.0f, obstacle.z};
        object.yaw = obstacle.yaw;
        if (obstacle.gate) {
            object.shapes = {"stick", "stick1"};
        }
        track.objects.push_back(object);
    }
    for (const Game::TestTrackLayout::Crate& crate : Game::TestTrackLayout::crates) {
        ObjectSpec object;
        object.name = crate.name;
        object.model = {"crate.dae", "data\\objects\\crate\\"};
        object.position = {Game::TestTrackLayout::cratesX, crate.y, crate.z};
        object.mass = crateMass;
        object.shapes = {"cube"};
        track.objects.push_back(object);
    }
    for (const Game::TrackPoint& checkpoint : Game::TestTrackLayout::checkpoints) {
        track.checkpoints.push_back(placeOf(checkpoint));
    }
    for (const Game::TrackPoint& start : Game::TestTrackLayout::startPositions) {
        track.startPositions.push_back(placeOf(start));
    }
    return track;
}

} // namespace Track
