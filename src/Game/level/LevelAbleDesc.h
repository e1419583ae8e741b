#pragma once

#include "Physics/Material.h"

#include <cstdint>
#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>
#include <string>
#include <vector>

namespace Game {

// What the level creates an object from: name (the key in the level's maps),
// model file and directory, initial pose, and whether the position's y is taken
// relative to the ground.
struct LevelAbleDesc {
    std::string name = "LevelAble";
    std::string file;
    std::string directory;
    glm::vec3 position{0.0f};
    glm::quat rotation{1.0f, 0.0f, 0.0f, 0.0f};
    bool onGround = false;
};

enum CameraFlags : std::uint8_t {
    CF_MOVABLE = 1 << 0, // handed to the camera
    CF_LOOK_AT = 1 << 2  // orient the camera toward `target` instead of by `rotation`
};

struct CameraDesc : LevelAbleDesc {
    std::uint8_t flags = 0;
    glm::vec3 target{0.0f};
};

// A light; lightName is its key in the level (used instead of `name`).
struct LightDesc : LevelAbleDesc {
    std::string lightName;
    glm::vec4 diffuse{1.0f, 1.0f, 1.0f, 1.0f};
    glm::vec4 ambient{0.2f, 0.2f, 0.2f, 1.0f};
    glm::vec4 specular{0.0f, 0.0f, 0.0f, 0.0f};
    glm::vec3 spotDirection{0.0f, 0.0f, -1.0f};
    std::int32_t kind = 0;
};

enum ShapeKind : std::int32_t { SK_BOX = 0 };

// A collision shape fitted to the model node of that name.
struct ShapeEntry {
    ShapeEntry(const std::string& nodeName, bool wholeNode = false, std::int32_t kind = SK_BOX)
        : nodeName(nodeName), wholeNode(wholeNode), kind(kind) {}

    std::string nodeName;
    bool wholeNode;
    std::int32_t kind;
};

struct ObjectDesc : LevelAbleDesc {
    std::vector<ShapeEntry> shapes;
    Physics::MaterialDesc material;
};

struct DynamicObjectDesc : ObjectDesc {
    float mass = 0.0f;
};

} // namespace Game
