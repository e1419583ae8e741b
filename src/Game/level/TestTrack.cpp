// The content of the "Test Track": terrain, overview camera, lights, houses, goal,
// checkpoints, the crate pyramid, and the checkpoints and start positions of a race.
#include "Game/level/Level.h"
#include "Physics/Scene.h"

#include <glm/gtc/quaternion.hpp>

namespace Game {

namespace {

glm::quat turn(float degrees, const glm::vec3& axis) {
    return glm::angleAxis(glm::radians(degrees), axis);
}

const glm::vec3 xAxis(1.0f, 0.0f, 0.0f);
const glm::vec3 yAxis(0.0f, 1.0f, 0.0f);

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
    struct Placement {
        const char* name;
        const char* file;
        const char* directory;
        float x, z, yaw;
        bool posts;
    };
    const Placement placements[] = {
        {"StaticObject_House", "house.dae", "data\\objects\\house\\", 178.0f, 33.0f, 0.0f, false},
        {"StaticObject_House1", "house.dae", "data\\objects\\house\\", 70.0f, 210.0f, 0.0f, false},
        {"StaticObject_Goal", "goal.dae", "data\\objects\\goal\\", 82.383f, 68.174f, 0.0f, true},
        {"Checkpoint_1", "checkpoint.dae", "data\\objects\\checkpoint\\", 224.5922f, 150.0f, -90.0f,
         true},
        {"Checkpoint_2", "checkpoint.dae", "data\\objects\\checkpoint\\", 150.0f, 198.573f, 0.0f,
         true},
        {"Checkpoint_3", "checkpoint.dae", "data\\objects\\checkpoint\\", 29.4545f, 110.0f, -90.0f,
         true},
    };
    // One description serves all six; the gates collide only with their two posts,
    // the houses with one box around the whole model.
    ObjectDesc desc;
    desc.onGround = true;
    desc.material = obstacleMaterial();
    for (const Placement& placement : placements) {
        if (placement.posts && desc.shapes.empty()) {
            desc.shapes.emplace_back("stick");
            desc.shapes.emplace_back("stick1");
        }
        desc.name = placement.name;
        desc.file = placement.file;
        desc.directory = placement.directory;
        desc.position = {placement.x, 0.0f, placement.z};
        desc.rotation = turn(placement.yaw, yAxis);
        level.createStaticObject(desc);
    }
}

void addCrates(Level& level) {
    const struct {
        const char* name;
        float y, z;
    } crates[] = {{"DynamicObject_Crate", 0.1f, 50.0f},   {"DynamicObject_Crate1", 0.1f, 47.5f},
                  {"DynamicObject_Crate2", 0.1f, 52.5f},  {"DynamicObject_Crate3", 2.2f, 48.75f},
                  {"DynamicObject_Crate4", 2.2f, 51.25f}, {"DynamicObject_Crate5", 4.3f, 50.0f}};
    DynamicObjectDesc desc;
    desc.file = "crate.dae";
    desc.directory = "data\\objects\\crate\\";
    desc.shapes.emplace_back("cube");
    desc.mass = 2.0f;
    desc.onGround = true;
    desc.material = obstacleMaterial();
    for (const auto& crate : crates) {
        desc.name = crate.name;
        desc.position = {150.0f, crate.y, crate.z};
        level.createDynamicObject(desc);
    }
}

void addTrack(Level& level, unsigned laps) {
    const std::vector<TrackPoint> checkpoints = {
        {5, 5, 82.383f, 68.174f, 90}, {15, 15, 187, 66, 90},  {15, 15, 224, 150, 0},
        {15, 15, 150, 204, -90},      {15, 15, 65, 187, -90}, {15, 15, 32, 110, 180}};
    const std::vector<TrackPoint> starts = {
        {1, 1, 70, 66, 90}, {1, 1, 50, 66, 90}, {1, 1, 25, 66, 90}};
    level.setTrack(checkpoints, starts, laps);
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
