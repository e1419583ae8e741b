#pragma once

#include "Data/Image.h"
#include "System/AssetRef.h"

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>
#include <string>
#include <vector>

namespace Track {

// Grip and bounce of a surface.
struct Surface {
    float staticFriction = 0.5f;
    float dynamicFriction = 0.5f;
    float restitution = 0.0f;

    bool operator==(const Surface&) const = default;
};

// The land: a height map stretched over sizeX by sizeZ units and heightScale units
// high, drawn as columns by rows patches, with water up to waterLevel.
struct TerrainSpec {
    System::AssetRef heightMap;
    System::AssetRef texture;
    // Pictures made in memory (a generated track) stand in for the files above; a
    // track file names files only.
    Data::ImagePtr heightPicture;
    Data::ImagePtr texturePicture;
    float sizeX = 256.0f;
    float heightScale = 20.0f;
    float sizeZ = 256.0f;
    int columns = 24;
    int rows = 24;
    float waterLevel = 2.0f;
};

// Turns are a yaw about the up axis after a pitch about the x axis, in degrees.
struct CameraSpec {
    std::string name;
    glm::vec3 position{0.0f};
    float yaw = 0.0f;
    float pitch = 0.0f;
    int flags = 0;
    glm::vec3 target{0.0f};
};

// A light standing on the ground (its y is the height above it); an empty name is
// the level's unnamed main light.
struct LightSpec {
    std::string name;
    glm::vec3 position{0.0f};
    float yaw = 0.0f;
    float pitch = 0.0f;
    int kind = 0;
    glm::vec4 diffuse{1.0f};
    glm::vec4 ambient{0.2f, 0.2f, 0.2f, 1.0f};
    glm::vec4 specular{0.0f};
    glm::vec3 spotDirection{0.0f, 0.0f, -1.0f};
};

// A model standing on the ground (its y is the height above it), turned by yaw
// degrees, colliding with the model nodes named in shapes. A positive mass makes it
// movable.
struct ObjectSpec {
    std::string name;
    System::AssetRef model;
    glm::vec3 position{0.0f};
    float yaw = 0.0f;
    float mass = 0.0f;
    std::vector<std::string> shapes;
};

// A checkpoint or start position: half-sizes a and b, centre (x, z), heading in
// degrees.
struct Place {
    float a = 0.0f;
    float b = 0.0f;
    float x = 0.0f;
    float z = 0.0f;
    float heading = 0.0f;

    bool operator==(const Place&) const = default;
};

// Everything a level is built from.
struct TrackDesc {
    std::string name;
    // The picture the launcher shows, in data/images.
    std::string preview;
    // The sky box picture, in data/images.
    std::string sky = "brightday1.jpg";
    unsigned laps = 3;
    float gravity = -9.81f;
    Surface ground;
    // Houses, gates and crates.
    Surface obstacles;
    TerrainSpec terrain;
    std::vector<CameraSpec> cameras;
    std::vector<LightSpec> lights;
    std::vector<ObjectSpec> objects;
    // In the order a lap passes them; the first is the goal line.
    std::vector<Place> checkpoints;
    // In the order cars take them.
    std::vector<Place> startPositions;
    // The line computer drivers follow, closing on itself.
    std::vector<glm::vec2> drivingLine;
};

} // namespace Track
