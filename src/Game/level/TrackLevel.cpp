// A level built from a track's description: terrain, cameras, lights, obstacles, the
// checkpoints and start positions of a race and the driving line.
#include "Game/level/Level.h"
#include "Physics/Scene.h"
#include "Track/TestTrack.h"

#include <glm/gtc/quaternion.hpp>

namespace Game {

namespace {

const glm::vec3 xAxis(1.0f, 0.0f, 0.0f);
const glm::vec3 yAxis(0.0f, 1.0f, 0.0f);

// A yaw about the up axis after a pitch about the x axis, in degrees.
glm::quat turn(float yaw, float pitch) {
    return glm::angleAxis(glm::radians(yaw), yAxis) * glm::angleAxis(glm::radians(pitch), xAxis);
}

Physics::MaterialDesc materialOf(const Track::Surface& surface) {
    Physics::MaterialDesc material;
    material.staticFriction = surface.staticFriction;
    material.dynamicFriction = surface.dynamicFriction;
    material.restitution = surface.restitution;
    return material;
}

TrackPoint pointOf(const Track::Place& place) {
    return {place.a, place.b, place.x, place.z, place.heading};
}

std::vector<TrackPoint> pointsOf(const std::vector<Track::Place>& places) {
    std::vector<TrackPoint> points;
    for (const Track::Place& place : places) {
        points.push_back(pointOf(place));
    }
    return points;
}

TerrainDesc terrainOf(const Track::TerrainSpec& spec) {
    TerrainDesc desc;
    desc.sizeX = spec.sizeX;
    desc.heightScale = spec.heightScale;
    desc.sizeZ = spec.sizeZ;
    desc.columns = spec.columns;
    desc.rows = spec.rows;
    desc.planeHeight = spec.waterLevel;
    desc.heightMap = spec.heightMap;
    desc.texture = spec.texture;
    desc.heightPicture = spec.heightPicture;
    desc.texturePicture = spec.texturePicture;
    return desc;
}

void addCamera(Level& level, const Track::CameraSpec& spec) {
    CameraDesc desc;
    desc.name = spec.name;
    desc.position = spec.position;
    desc.flags = static_cast<std::uint8_t>(spec.flags);
    desc.rotation = turn(spec.yaw, spec.pitch);
    desc.target = spec.target;
    level.createCamera(desc);
}

void addLight(Level& level, const Track::LightSpec& spec) {
    LightDesc desc;
    desc.onGround = true;
    desc.lightName = spec.name;
    desc.position = spec.position;
    desc.rotation = turn(spec.yaw, spec.pitch);
    desc.kind = spec.kind;
    desc.diffuse = spec.diffuse;
    desc.ambient = spec.ambient;
    desc.specular = spec.specular;
    desc.spotDirection = spec.spotDirection;
    level.createLight(desc);
}

void addObject(Level& level, const Track::ObjectSpec& spec, const Track::Surface& surface) {
    DynamicObjectDesc desc;
    desc.onGround = true;
    desc.material = materialOf(surface);
    desc.name = spec.name;
    desc.file = spec.model.file;
    desc.directory = spec.model.directory;
    desc.position = spec.position;
    desc.rotation = turn(spec.yaw, 0.0f);
    for (const std::string& shape : spec.shapes) {
        desc.shapes.emplace_back(shape);
    }
    if (spec.mass > 0.0f) {
        desc.mass = spec.mass;
        level.createDynamicObject(desc);
    } else {
        level.createStaticObject(desc);
    }
}

} // namespace

bool Level::buildTrack(const Track::TrackDesc& track, unsigned raceLaps) {
    initialise(track.name, track.gravity, track.sky);
    if (scene == nullptr) {
        return false;
    }
    if (Physics::Material* ground = scene->getMaterialFromIndex(0)) {
        ground->setRestitution(track.ground.restitution);
        ground->setStaticFriction(track.ground.staticFriction);
        ground->setDynamicFriction(track.ground.dynamicFriction);
    }
    createTerrain(terrainOf(track.terrain));
    for (const Track::CameraSpec& camera : track.cameras) {
        addCamera(*this, camera);
    }
    for (const Track::LightSpec& light : track.lights) {
        addLight(*this, light);
    }
    for (const Track::ObjectSpec& object : track.objects) {
        addObject(*this, object, track.obstacles);
    }
    setTrack(pointsOf(track.checkpoints), pointsOf(track.startPositions), raceLaps);
    if (!track.drivingLine.empty()) {
        drivingLine.assign(track.drivingLine, track.name);
    }
    return buildPrograms();
}

std::vector<System::File::PictureRequest> Level::picturesOf(const Track::TrackDesc& track,
                                                            std::int32_t detail) {
    const DetailSettings settings = DetailSettings::of(detail);
    std::vector<System::File::PictureRequest> pictures = environmentPictures(track.sky, settings);
    for (System::File::PictureRequest& picture :
         Terrain::picturesOf(terrainOf(track.terrain), settings)) {
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

bool Level::buildTestTrack(unsigned raceLaps) {
    Track::TrackDesc track = Track::testTrack();
    DrivingLine line;
    line.load({Track::testTrackLineFile, "data\\tracks\\"});
    track.drivingLine = line.getPoints();
    return buildTrack(track, raceLaps);
}

} // namespace Game
