#include "TrackGen/Generator.h"

#include "TrackGen/GroundPainter.h"
#include "TrackGen/RoadLine.h"
#include "TrackGen/TerrainModel.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <utility>

namespace TrackGen {

namespace {

// A crate of the crate model is 2 units high; they stand 2.5 units apart in a row, each
// row 2.1 units above the one below.
constexpr double crateSpacing = 2.5;
constexpr double crateRise = 2.1;
constexpr double crateGroundClearance = 0.1;
// Light enough that a car scatters a pyramid without being thrown, heavy enough not to
// fly far.
constexpr float crateMass = 1.0f;
// The driving line has a point every this many road samples (two units).
constexpr std::size_t lineEvery = 4;

float hundredths(float value) {
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%.2f", value);
    float rounded = value;
    std::from_chars(text, text + length, rounded);
    return rounded;
}

Track::ObjectSpec objectOf(const std::string& name, const char* file, const char* directory,
                           float x, float y, float z, float yaw) {
    Track::ObjectSpec object;
    object.name = name;
    object.model = {file, directory};
    object.position = {x, y, z};
    object.yaw = yaw;
    return object;
}

void addCrates(const CrateGroup& group, std::vector<Track::ObjectSpec>& objects) {
    const double yaw = group.yaw * std::numbers::pi / 180.0;
    const double acrossX = std::sin(yaw);
    const double acrossZ = std::cos(yaw);
    int count = 0;
    for (int row = 0; row < group.base; ++row) {
        // Offsets from the middle in crate widths: the middle first, then outward.
        std::vector<double> offsets;
        const int inRow = group.base - row;
        for (int k = 0; k < inRow; ++k) {
            offsets.push_back(k - (inRow - 1) / 2.0);
        }
        std::sort(offsets.begin(), offsets.end(), [](double a, double b) {
            return std::pair{std::fabs(a), a} < std::pair{std::fabs(b), b};
        });
        for (double offset : offsets) {
            Track::ObjectSpec crate =
                objectOf(count == 0 ? group.name : group.name + std::to_string(count), "crate.dae",
                         "data\\objects\\crate\\",
                         static_cast<float>(group.x + offset * crateSpacing * acrossX),
                         static_cast<float>(crateGroundClearance + row * crateRise),
                         static_cast<float>(group.z + offset * crateSpacing * acrossZ), 0.0f);
            crate.mass = crateMass;
            crate.shapes = {"cube"};
            objects.push_back(crate);
            ++count;
        }
    }
}

// The overview camera and the two lights every track has unless its plan says else.
void addStandardView(const TrackPlan& plan, Track::TrackDesc& track) {
    const float size = plan.terrainSize;
    Track::CameraSpec overview;
    overview.name = "Overview";
    overview.position = {size * 0.5f, size, size * 1.5f};
    overview.pitch = -45.0f;
    overview.flags = 1; // movable
    overview.target = {size * (50.0f / 256.0f), 0.0f, size * (50.0f / 256.0f)};
    track.cameras.push_back(overview);

    Track::LightSpec sun;
    sun.position = {-24.0f, 280.0f, 280.0f};
    sun.yaw = -45.0f;
    sun.pitch = -60.0f;
    track.lights.push_back(sun);
    Track::LightSpec second = sun;
    second.name = "second";
    second.pitch = 0.0f;
    second.diffuse = {0.7f, 0.7f, 0.7f, 1.0f};
    track.lights.push_back(second);
}

Track::TrackDesc describe(const TrackPlan& plan, const RoadLine& road) {
    Track::TrackDesc track;
    track.name = plan.name;
    track.preview = plan.previewFile;
    track.sky = plan.sky;
    track.laps = plan.laps;
    Track::TerrainSpec& terrain = track.terrain;
    terrain.heightMap = {plan.heightMapFile, "data\\images\\"};
    terrain.texture = {plan.textureFile, "data\\images\\"};
    terrain.sizeX = plan.terrainSize;
    terrain.heightScale = plan.heightScale;
    terrain.sizeZ = plan.terrainSize;
    // The terrain draws two patches fewer than it has grid vertices.
    terrain.columns = plan.gridVertices - 2;
    terrain.rows = plan.gridVertices - 2;
    terrain.waterLevel = plan.waterLevel;

    if (plan.cameras.empty() && plan.lights.empty()) {
        addStandardView(plan, track);
    } else {
        track.cameras = plan.cameras;
        track.lights = plan.lights;
    }
    for (const House& house : plan.houses) {
        track.objects.push_back(objectOf(house.name, "house.dae", "data\\objects\\house\\", house.x,
                                         0.0f, house.z, house.yaw));
    }
    // Gates collide only with their two posts.
    for (const Gate& gate : plan.gates) {
        Track::ObjectSpec object =
            gate.goal ? objectOf(gate.name, "goal.dae", "data\\objects\\goal\\", gate.x, 0.0f,
                                 gate.z, gate.yaw)
                      : objectOf(gate.name, "checkpoint.dae", "data\\objects\\checkpoint\\", gate.x,
                                 0.0f, gate.z, gate.yaw);
        object.shapes = {"stick", "stick1"};
        track.objects.push_back(object);
    }
    for (const CrateGroup& group : plan.crateGroups) {
        addCrates(group, track.objects);
    }
    track.checkpoints = plan.checkpoints;
    track.startPositions = plan.startPositions;

    const auto& samples = road.samples();
    for (std::size_t i = 0; i < samples.size(); i += lineEvery) {
        track.drivingLine.emplace_back(hundredths(samples[i].x), hundredths(samples[i].z));
    }
    return track;
}

Colour grey(float height, float scale) {
    const float level = std::round(height / scale * 255.0f) / 255.0f;
    return rgb(level, level, level);
}

// The drawn surface everywhere, one pixel every half unit, and at the pixels the game
// reads the grid vertices from (x (width - 1) / size, truncated, in single precision),
// the vertex heights themselves.
Raster heightMapOf(const TrackPlan& plan, const TerrainModel& terrain) {
    const int pixels = static_cast<int>(std::lround(plan.terrainSize * 2.0f)) + 1;
    Raster map(pixels, pixels);
    const float unitsPerPixel = plan.terrainSize / static_cast<float>(pixels - 1);
    map.fill([&](int x, int y) {
        return grey(terrain.heightAt(x * unitsPerPixel, y * unitsPerPixel), plan.heightScale);
    });
    const auto vertexPixel = [&](int vertex) {
        const float position = static_cast<float>(vertex) * terrain.gridStep();
        return static_cast<int>(position * static_cast<float>(pixels - 1) / plan.terrainSize);
    };
    for (int row = 0; row < terrain.gridVertices(); ++row) {
        for (int column = 0; column < terrain.gridVertices(); ++column) {
            map.at(vertexPixel(column), vertexPixel(row)) =
                grey(terrain.vertexHeight(column, row), plan.heightScale);
        }
    }
    return map;
}

Raster groundTextureOf(const TrackPlan& plan, const GroundPainter& painter, int size) {
    Raster texture(size, size);
    const float unitsPerPixel = plan.terrainSize / static_cast<float>(size);
    texture.fill([&](int x, int y) {
        return painter.colourAt((x + 0.5f) * unitsPerPixel, (y + 0.5f) * unitsPerPixel);
    });
    return texture;
}

} // namespace

GeneratedTrack generateTrack(const TrackPlan& plan, const GenerateOptions& options) {
    const RoadLine road(plan.road);
    const TerrainModel terrain(plan, road);
    const GroundPainter painter(plan, road, terrain);
    GeneratedTrack track;
    track.gridVertices = terrain.gridVertices();
    track.heights = terrain.heights();
    track.heightMap = heightMapOf(plan, terrain);
    track.groundTexture = groundTextureOf(plan, painter, std::max(options.textureSize, 1));
    if (options.previewSize > 0) {
        track.preview = trackPreview(plan, terrain, painter, options.previewSize, options.label);
    }
    track.desc = describe(plan, road);
    return track;
}

Track::TrackDesc describeTrack(const TrackPlan& plan) {
    return describe(plan, RoadLine(plan.road));
}

} // namespace TrackGen
