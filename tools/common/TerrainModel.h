#pragma once

#include "TrackLayout.h"

#include <array>
#include <vector>

namespace Tools {

// The Test Track's land. Heights are designed on the game's 26 x 26 grid (the only
// points the ground mesh and the physics see) and everything between grid vertices
// is the same two-triangle interpolation the ground mesh draws, so objects placed
// with the height map's pixel rule sit exactly on the visible ground.
class TerrainModel {
public:
    static constexpr float heightScale = 20.0f;

    explicit TerrainModel(const TrackLayout& track);

    float vertexHeight(int column, int row) const { return grid[index(column, row)]; }
    // Height of the drawn surface at (x, z), inside [0, 256] x [0, 256].
    float heightAt(float x, float z) const;
    // Smooth normal at (x, z): the grid's vertex normals interpolated bilinearly.
    std::array<float, 3> normalAt(float x, float z) const;
    // The road's height at centre-line sample `index` of the track.
    float roadHeight(int index) const { return road[static_cast<std::size_t>(index)]; }

private:
    static int index(int column, int row) { return row * TrackLayout::gridVertices + column; }

    // The grid cell under (x, z), clamped to the terrain, and the position in it (0..1).
    struct CellPosition {
        int column, row;
        float tx, tz;
    };
    CellPosition cellAt(float x, float z) const;
    static float natural(float x, float z);
    void buildRoadProfile(const TrackLayout& track);
    void buildGrid(const TrackLayout& track);
    void smoothBesideRoad(const TrackLayout& track);
    void levelPads(const TrackLayout& track);
    void buildNormals();

    std::vector<float> road;
    std::vector<float> grid;
    std::vector<bool> padVertex; // kept level by levelPads
    std::vector<std::array<float, 3>> normals;
};

} // namespace Tools
