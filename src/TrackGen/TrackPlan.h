#pragma once

#include "Track/TrackDesc.h"
#include "TrackGen/Raster.h"

#include <cstdint>
#include <string>
#include <vector>

namespace TrackGen {

struct GroundPoint {
    float x = 0.0f;
    float z = 0.0f;
};

// An axis-aligned rectangle on the ground that must stay level.
struct FlatPad {
    float x0 = 0.0f;
    float z0 = 0.0f;
    float x1 = 0.0f;
    float z1 = 0.0f;
};

// A round hill added to the land (a hollow where height is negative), falling smoothly
// to nothing at `radius`.
struct Hill {
    float x = 0.0f;
    float z = 0.0f;
    float radius = 0.0f;
    float height = 0.0f;
};

// An oval hollow `depth` deep, its shore made irregular by noise; below the water
// level it holds water.
struct Lake {
    float x = 0.0f;
    float z = 0.0f;
    float radiusX = 0.0f;
    float radiusZ = 0.0f;
    float depth = 0.0f;
};

// A stretch where the road dips to `depth` below the water level (a watersplash),
// `length` units along the road each side of the centre line's point nearest (x, z).
struct RoadDip {
    float x = 0.0f;
    float z = 0.0f;
    float length = 0.0f;
    float depth = 0.0f;
};

// A house; its level yard is part of the plan's pads.
struct House {
    std::string name;
    float x = 0.0f;
    float z = 0.0f;
    float yaw = 0.0f;
};

// Crates stacked in a pyramid standing across the direction `yaw` (degrees, 0 lines
// the bottom row up along z): `base` crates in the bottom row, one fewer in each row
// above. Crates are named `name`, `name`1, `name`2, ...
struct CrateGroup {
    std::string name;
    float x = 0.0f;
    float z = 0.0f;
    float yaw = 0.0f;
    int base = 3;
};

// The goal's or a checkpoint's gate, its posts either side of the road.
struct Gate {
    std::string name;
    bool goal = false;
    float x = 0.0f;
    float z = 0.0f;
    float yaw = 0.0f;
};

// The painted ground's colours.
struct GroundColours {
    Colour lushGrass = rgb(0.27f, 0.43f, 0.13f);
    Colour dryGrass = rgb(0.47f, 0.52f, 0.22f);
    Colour darkGrass = rgb(0.18f, 0.33f, 0.10f);
    Colour earth = rgb(0.42f, 0.32f, 0.20f);
    Colour rock = rgb(0.52f, 0.50f, 0.47f);
    Colour darkRock = rgb(0.34f, 0.33f, 0.32f);
    Colour sand = rgb(0.80f, 0.72f, 0.52f);
    Colour lakeBed = rgb(0.36f, 0.38f, 0.28f);
    Colour gravel = rgb(0.62f, 0.55f, 0.44f);
    Colour rut = rgb(0.44f, 0.37f, 0.28f);
};

// Everything a track is generated from. The defaults are the Test Track's land.
struct TrackPlan {
    std::string name;
    // File names: the track file and driving line in data/tracks, the pictures in
    // data/images.
    std::string trackFile;
    std::string lineFile;
    std::string heightMapFile;
    std::string textureFile;
    std::string previewFile;
    std::string sky = "brightday1.jpg";
    unsigned laps = 3;

    // The land: a square terrainSize units wide, its heights designed on a grid of
    // gridVertices x gridVertices, heightScale units for white in the height map.
    float terrainSize = 256.0f;
    int gridVertices = 26;
    float heightScale = 20.0f;
    float waterLevel = 2.0f;
    // Rolling land of `roughness` units around baseHeight in waves of about
    // roughnessScale units, rising by edgeRise over the edgeWidth units at every edge;
    // peaks above peakHeight flatten out softly.
    std::uint32_t landSeed = 1234U;
    float baseHeight = 4.6f;
    float roughness = 3.2f;
    float roughnessScale = 60.0f;
    float edgeRise = 9.0f;
    float edgeWidth = 45.0f;
    float peakHeight = 13.0f;
    std::vector<Hill> hills;
    std::vector<Lake> lakes;

    // The road: a closed smooth line through `road` in driving order.
    std::vector<GroundPoint> road;
    float roadHalfWidth = 5.0f;
    float minimumRoadHeight = 3.6f;
    // The road follows the land in waves no shorter than roadWave units, climbs at most
    // maxGrade, and its crests and dips are rounded over roundOff units.
    float roadWave = 50.0f;
    float maxGrade = 0.04f;
    float roundOff = 30.0f;
    std::vector<RoadDip> dips;
    // The start straight's level ground: the road over it is level.
    FlatPad startPad;
    // Other level places: yards of houses and crates, painted as packed earth.
    std::vector<FlatPad> pads;

    std::vector<House> houses;
    std::vector<CrateGroup> crateGroups;
    std::vector<Gate> gates;
    // In the order a lap passes them; the first is the goal line.
    std::vector<Track::Place> checkpoints;
    // In the order cars take them.
    std::vector<Track::Place> startPositions;
    // Empty: the overview camera and the sun of the Test Track.
    std::vector<Track::CameraSpec> cameras;
    std::vector<Track::LightSpec> lights;
    GroundColours colours;
};

} // namespace TrackGen
