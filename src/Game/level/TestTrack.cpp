// The content of the "Test Track": terrain, overview camera, lights, houses, goal,
// checkpoints, the crate pyramid, and the checkpoints and start positions of a race.
#include "Game/level/Level.h"
#include "Game/level/TestTrackLayout.h"
#include "Physics/Scene.h"

#include <glm/gtc/quaternion.hpp>

namespace Game {

namespace {

glm::quat turn(float degrees, const glm::vec3& axis) {
    return glm::angleAxis(glm::radians(degrees), axis);
}

const glm::vec3 xAxis(1.0f, 0.0f, 0.0f);
const glm::vec3 yAxis(0.0f, 1.0f, 0.0f);

// A wooden crate beside the car (mass 3): light enough that a car scatters the
// pyramid without being thrown, heavy enough not to fly far.
constexpr float crateMass = 1.0f;

// Houses, gates and crates grip like the ground: crates stand stacked and slide
// only when pushed.
Physics::MaterialDesc obstacleMaterial() {
    Physics::MaterialDesc material;
    material.staticFriction = 0.5f;
    material.dynamicFriction = 0.5f;
    material.restitution = 0.0f;
    return material;
}

void addTerrain(Level& level) {
    TerrainDesc desc;
    desc.sizeX = 256.0f;
    desc.heightScale = 20.0f;
    desc.sizeZ = 256.0f;
    desc.columns = 24;
    desc.rows = 24;
    desc.planeHeight = 2.0f;
    desc.heightMap = {"GroundHeightmap.jpg", "data\\images\\"};
    desc.texture = {"GroundTexture.jpg", "data\\images\\"};
    level.createTerrain(desc);
}

void addOverview(Level& level) {
    CameraDesc desc;
    desc.name = "Overview";
    desc.position = {128.0f, 256.0f, 384.0f};
    desc.flags = CF_MOVABLE;
    desc.rotation = turn(-45.0f, xAxis);
    desc.target = {50.0f, 0.0f, 50.0f};
    level.createCamera(desc);
}

void addLights(Level& level) {
    LightDesc desc;
    desc.onGround = true;
    desc.position = {-24.0f, 280.0f, 280.0f};
    desc.specular = {0.0f, 0.0f, 0.0f, 0.0f};
    desc.ambient = {0.2f, 0.2f, 0.2f, 1.0f};
    desc.spotDirection = {0.0f, 0.0f, -1.0f};
    desc.kind = 0;
    desc.lightName = "";
    desc.diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    desc.rotation = turn(-45.0f, yAxis) * turn(-60.0f, xAxis);
    level.createLight(desc);
    desc.lightName = "second";
    desc.diffuse = {0.7f, 0.7f, 0.7f, 1.0f};
    desc.rotation = turn(-45.0f, yAxis);
    level.createLight(desc);
}

void addStaticObjects(Level& level) {
    // One description serves all six; the gates collide only with their two posts,
    // the houses with one box around the whole model.
    ObjectDesc desc;
    desc.onGround = true;
    desc.material = obstacleMaterial();
    for (const TestTrackLayout::Obstacle& obstacle : TestTrackLayout::obstacles) {
        if (obstacle.gate && desc.shapes.empty()) {
            desc.shapes.emplace_back("stick");
            desc.shapes.emplace_back("stick1");
        }
        desc.name = obstacle.name;
        desc.file = obstacle.file;
        desc.directory = obstacle.directory;
        desc.position = {obstacle.x, 0.0f, obstacle.z};
        desc.rotation = turn(obstacle.yaw, yAxis);
        level.createStaticObject(desc);
    }
}

void addCrates(Level& level) {
    DynamicObjectDesc desc;
    desc.file = "crate.dae";
    desc.directory = "data\\objects\\crate\\";
    desc.shapes.emplace_back("cube");
    desc.mass = crateMass;
    desc.onGround = true;
    desc.material = obstacleMaterial();
    for (const TestTrackLayout::Crate& crate : TestTrackLayout::crates) {
        desc.name = crate.name;
        desc.position = {TestTrackLayout::cratesX, crate.y, crate.z};
        level.createDynamicObject(desc);
    }
}

void addTrack(Level& level, unsigned laps) {
    using TestTrackLayout::checkpoints;
    using TestTrackLayout::startPositions;
    level.setTrack({checkpoints.begin(), checkpoints.end()},
                   {startPositions.begin(), startPositions.end()}, laps);
}

} // namespace

bool Level::buildTestTrack(unsigned raceLaps) {
    initialise("Test Track", -9.81f);
    if (scene == nullptr) {
        return false;
    }
    if (Physics::Material* ground = scene->getMaterialFromIndex(0)) {
        ground->setRestitution(0.0f);
        ground->setStaticFriction(0.5f);
        ground->setDynamicFriction(0.5f);
    }
    addTerrain(*this);
    addOverview(*this);
    addLights(*this);
    addStaticObjects(*this);
    addCrates(*this);
    addTrack(*this, raceLaps);
    drivingLine.load({"TestTrack.line", "data\\tracks\\"});
    return buildPrograms();
}

} // namespace Game
