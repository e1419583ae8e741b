#pragma once

#include "TrackGen/Noise.h"
#include "TrackGen/RoadLine.h"
#include "TrackGen/TrackPlan.h"

#include <array>
#include <vector>

namespace TrackGen {

// A plan's land. Heights are designed on the game's grid (the only points the ground
// mesh and the physics see) and everything between grid vertices is the same
// two-triangle interpolation the ground mesh draws, so objects placed with the height
// map's pixel rule sit exactly on the visible ground.
class TerrainModel {
public:
    TerrainModel(const TrackPlan& plan, const RoadLine& road);

    int gridVertices() const { return gridCount; }
    float gridStep() const { return step; }
    float vertexHeight(int column, int row) const { return grid[index(column, row)]; }
    const std::vector<float>& heights() const { return grid; }
    // Height of the drawn surface at (x, z), clamped to the terrain.
    float heightAt(float x, float z) const;
    // Smooth normal at (x, z): the grid's vertex normals interpolated bilinearly.
    std::array<float, 3> normalAt(float x, float z) const;
    // The road's designed height at centre-line sample `index`.
    float roadHeight(int index) const { return road[static_cast<std::size_t>(index)]; }

private:
    std::size_t index(int column, int row) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(gridCount) +
               static_cast<std::size_t>(column);
    }

    // The grid cell under (x, z), clamped to the terrain, and the position in it (0..1).
    struct CellPosition {
        int column, row;
        float tx, tz;
    };
    CellPosition cellAt(float x, float z) const;
    float natural(float x, float z) const;
    void buildRoadProfile(const RoadLine& line);
    void dipRoad(const RoadLine& line);
    void buildGrid(const RoadLine& line);
    void smoothBesideRoad(const RoadLine& line);
    void levelPads(const RoadLine& line);
    void buildNormals();

    const TrackPlan& plan;
    Noise noise;
    int gridCount;
    float step;
    std::vector<float> road;
    std::vector<float> grid;
    std::vector<bool> padVertex; // kept level by levelPads
    std::vector<std::array<float, 3>> normals;
};

} // namespace TrackGen
