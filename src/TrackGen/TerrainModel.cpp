#include "TrackGen/TerrainModel.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace TrackGen {

namespace {

constexpr int smoothingPasses = 8;
constexpr float maxBankSlope = 0.3f;
// Within this distance of the centre line the ground is the road.
constexpr float roadBand = 16.0f;

// Circular moving average over 2 * half + 1 samples.
std::vector<float> movingAverage(const std::vector<float>& values, int half) {
    const int n = static_cast<int>(values.size());
    std::vector<float> result(values.size());
    float sum = 0.0f;
    for (int k = -half; k <= half; ++k) {
        sum += values[static_cast<std::size_t>(((k % n) + n) % n)];
    }
    for (int i = 0; i < n; ++i) {
        result[static_cast<std::size_t>(i)] = sum / static_cast<float>(2 * half + 1);
        sum += values[static_cast<std::size_t>((i + half + 1) % n)] -
               values[static_cast<std::size_t>(((i - half) % n + n) % n)];
    }
    return result;
}

} // namespace

TerrainModel::TerrainModel(const TrackPlan& plan, const RoadLine& road)
    : plan(plan), noise(plan.landSeed), gridCount(std::max(plan.gridVertices, 2)),
      step(plan.terrainSize / static_cast<float>(gridCount - 1)) {
    buildRoadProfile(road);
    dipRoad(road);
    buildGrid(road);
    levelPads(road);
    smoothBesideRoad(road);
    buildNormals();
}

float TerrainModel::natural(float x, float z) const {
    float h = plan.baseHeight;
    // Rolling land everywhere.
    h += plan.roughness * noise.fbm(x / plan.roughnessScale, z / plan.roughnessScale, 3);
    for (const Hill& hill : plan.hills) {
        const float d = std::hypot(x - hill.x, z - hill.z) / hill.radius;
        h += hill.height * smoothstep(1.0f, 0.0f, d);
    }
    // The land rises toward every edge.
    const float size = plan.terrainSize;
    const float edge = std::min({x, z, size - x, size - z});
    h += plan.edgeRise * smoothstep(plan.edgeWidth, 0.0f, edge) *
         (0.7f + 0.3f * noise.fbm(x / 30.0f, z / 30.0f, 2));
    // Lakes, their shores made irregular by noise.
    for (const Lake& lake : plan.lakes) {
        const float lx = (x - lake.x) / lake.radiusX;
        const float lz = (z - lake.z) / lake.radiusZ;
        const float d = std::sqrt(lx * lx + lz * lz) + 0.18f * noise.fbm(x / 25.0f, z / 25.0f, 2);
        h -= lake.depth * smoothstep(1.15f, 0.45f, d);
    }
    // Peaks flatten out softly below the height map's white.
    if (h > plan.peakHeight) {
        h = plan.peakHeight + 6.0f * (1.0f - std::exp(-(h - plan.peakHeight) / 6.0f));
    }
    return std::max(h, 0.3f);
}

void TerrainModel::buildRoadProfile(const RoadLine& track) {
    const auto& line = track.samples();
    const int n = static_cast<int>(line.size());
    road.resize(line.size());
    for (int i = 0; i < n; ++i) {
        road[i] = natural(line[i].x, line[i].z);
    }
    // Follow the land only in long waves.
    road = movingAverage(road, static_cast<int>(plan.roadWave / RoadLine::spacing));
    for (float& h : road) {
        h = std::max(plan.minimumRoadHeight, h);
    }
    // The start straight and the goal lie level at one height, and so does the road
    // wherever it runs over the grid vertices of the start grid's pad.
    const FlatPad& start = plan.startPad;
    const float x0 = std::floor(start.x0 / step) * step;
    const float x1 = std::ceil(start.x1 / step) * step;
    const float z0 = std::floor(start.z0 / step) * step;
    const float z1 = std::ceil(start.z1 / step) * step;
    std::vector<bool> fixed(line.size(), false);
    float straightSum = 0.0f;
    int straightCount = 0;
    for (int i = 0; i < n; ++i) {
        fixed[i] = line[i].x >= x0 && line[i].x <= x1 && line[i].z >= z0 && line[i].z <= z1;
        if (fixed[i]) {
            straightSum += road[i];
            ++straightCount;
        }
    }
    const float straightHeight = straightCount > 0 ? straightSum / straightCount : 4.5f;
    const auto level = [&] {
        for (int i = 0; i < n; ++i) {
            if (fixed[i]) {
                road[i] = straightHeight;
            }
        }
    };
    level();
    // Limit the grade in both directions around the loop.
    const float maxRise = plan.maxGrade * RoadLine::spacing;
    for (int pass = 0; pass < 4; ++pass) {
        for (int k = 1; k <= n; ++k) {
            const int i = k % n;
            const float prev = road[(i + n - 1) % n];
            if (!fixed[i]) {
                road[i] = std::clamp(road[i], prev - maxRise, prev + maxRise);
            }
        }
        for (int k = n - 1; k >= 0; --k) {
            const float next = road[(k + 1) % n];
            if (!fixed[k]) {
                road[k] = std::clamp(road[k], next - maxRise, next + maxRise);
            }
        }
    }
    // Round off the crests and dips the grade limit leaves: a car at full speed
    // follows a vertical curve only as long as gravity holds it on the road.
    // The last passes leave the level part alone: the pad's own grid vertices
    // keep the straight level, and the road leaves it without a step.
    for (int pass = 0; pass < 6; ++pass) {
        road = movingAverage(road, static_cast<int>(plan.roundOff / RoadLine::spacing));
        if (pass < 4) {
            level();
        }
    }
}

void TerrainModel::dipRoad(const RoadLine& track) {
    const int n = static_cast<int>(road.size());
    for (const RoadDip& dip : plan.dips) {
        const int centre = track.nearest(dip.x, dip.z).index;
        const float bottom = plan.waterLevel - dip.depth;
        const int reach = static_cast<int>(dip.length / RoadLine::spacing);
        for (int k = -reach; k <= reach; ++k) {
            const std::size_t i = static_cast<std::size_t>(((centre + k) % n + n) % n);
            const float along = static_cast<float>(std::abs(k)) * RoadLine::spacing;
            const float weight = smoothstep(dip.length, 0.3f * dip.length, along);
            road[i] = std::min(road[i], mix(road[i], bottom, weight));
        }
    }
}

void TerrainModel::buildGrid(const RoadLine& track) {
    grid.assign(gridCount * gridCount, 0.0f);
    for (int row = 0; row < gridCount; ++row) {
        for (int column = 0; column < gridCount; ++column) {
            const float x = column * step;
            const float z = row * step;
            const RoadLine::Nearest near = track.nearest(x, z);
            const float roadY = road[static_cast<std::size_t>(near.index)];
            // Within the road's band the ground is the road, so that every triangle the road
            // crosses lies in the road's own smooth profile; beyond, the ground may
            // leave the road's height by at most 0.3 per unit of distance: banks and
            // cuttings.
            const float limit = std::max(0.0f, near.distance - roadBand) * maxBankSlope;
            float h = roadY + std::clamp(natural(x, z) - roadY, -limit, limit);
            if (near.distance < roadBand) {
                h = std::max(h, std::min(roadY, plan.minimumRoadHeight) - 0.6f);
            }
            grid[index(column, row)] = std::clamp(h, 0.2f, plan.heightScale - 0.3f);
        }
    }
}

void TerrainModel::smoothBesideRoad(const RoadLine& track) {
    // The weight a vertex is pulled toward its neighbours' mean with: nothing within
    // reach of any triangle the road crosses (its half-width plus a cell's diagonal),
    // so the road's own profile stays exactly as built.
    const float untouched = plan.roadHalfWidth + step * std::sqrt(2.0f);
    std::vector<float> weight(grid.size());
    for (int row = 0; row < gridCount; ++row) {
        for (int column = 0; column < gridCount; ++column) {
            const float distance = track.nearest(column * step, row * step).distance;
            weight[index(column, row)] =
                padVertex[index(column, row)]
                    ? 0.0f
                    : 0.5f * smoothstep(untouched, untouched + step, distance);
        }
    }
    // Averaging takes out the creases between the coarse grid's triangles that throw a
    // car driving across them fast, and keeps the land's large shapes.
    for (int pass = 0; pass < smoothingPasses; ++pass) {
        const std::vector<float> before = grid;
        for (int row = 0; row < gridCount; ++row) {
            for (int column = 0; column < gridCount; ++column) {
                float sum = 0.0f;
                int count = 0;
                for (const auto& [dc, dr] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
                    const int c = column + dc;
                    const int r = row + dr;
                    if (c >= 0 && c < gridCount && r >= 0 && r < gridCount) {
                        sum += before[index(c, r)];
                        ++count;
                    }
                }
                float& h = grid[index(column, row)];
                h += weight[index(column, row)] * (sum / static_cast<float>(count) - h);
            }
        }
    }
    // No steeper than maxBankSlope between neighbours, around the level pads too.
    const float maxRise = maxBankSlope * step;
    for (int pass = 0; pass < smoothingPasses; ++pass) {
        for (int row = 0; row < gridCount; ++row) {
            for (int column = 0; column < gridCount; ++column) {
                if (weight[index(column, row)] <= 0.0f) {
                    continue;
                }
                float& h = grid[index(column, row)];
                for (const auto& [dc, dr] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
                    const int c = column + dc;
                    const int r = row + dr;
                    if (c >= 0 && c < gridCount && r >= 0 && r < gridCount) {
                        const float other = grid[index(c, r)];
                        h = std::clamp(h, other - maxRise, other + maxRise);
                    }
                }
            }
        }
    }
}

void TerrainModel::levelPads(const RoadLine& track) {
    padVertex.assign(grid.size(), false);
    std::vector<FlatPad> pads = {plan.startPad};
    pads.insert(pads.end(), plan.pads.begin(), plan.pads.end());
    for (const FlatPad& pad : pads) {
        const RoadLine::Nearest near =
            track.nearest((pad.x0 + pad.x1) * 0.5f, (pad.z0 + pad.z1) * 0.5f);
        const float level =
            std::max(plan.minimumRoadHeight, road[static_cast<std::size_t>(near.index)]);
        const int c0 = std::max(0, static_cast<int>(std::floor(pad.x0 / step)));
        const int c1 = std::min(gridCount - 1, static_cast<int>(std::ceil(pad.x1 / step)));
        const int r0 = std::max(0, static_cast<int>(std::floor(pad.z0 / step)));
        const int r1 = std::min(gridCount - 1, static_cast<int>(std::ceil(pad.z1 / step)));
        for (int row = r0; row <= r1; ++row) {
            for (int column = c0; column <= c1; ++column) {
                grid[index(column, row)] = level;
                padVertex[index(column, row)] = true;
            }
        }
    }
}

void TerrainModel::buildNormals() {
    normals.assign(grid.size(), {0.0f, 1.0f, 0.0f});
    for (int row = 0; row < gridCount; ++row) {
        for (int column = 0; column < gridCount; ++column) {
            const float left = vertexHeight(std::max(column - 1, 0), row);
            const float right = vertexHeight(std::min(column + 1, gridCount - 1), row);
            const float down = vertexHeight(column, std::max(row - 1, 0));
            const float up = vertexHeight(column, std::min(row + 1, gridCount - 1));
            const float spanX = step * static_cast<float>(std::min(column + 1, gridCount - 1) -
                                                          std::max(column - 1, 0));
            const float spanZ =
                step * static_cast<float>(std::min(row + 1, gridCount - 1) - std::max(row - 1, 0));
            const float nx = -(right - left) / spanX;
            const float nz = -(up - down) / spanZ;
            const float length = std::sqrt(nx * nx + 1.0f + nz * nz);
            normals[index(column, row)] = {nx / length, 1.0f / length, nz / length};
        }
    }
}

TerrainModel::CellPosition TerrainModel::cellAt(float x, float z) const {
    const float fx = std::clamp(x / step, 0.0f, gridCount - 1.0f);
    const float fz = std::clamp(z / step, 0.0f, gridCount - 1.0f);
    const int c = std::min(static_cast<int>(fx), gridCount - 2);
    const int r = std::min(static_cast<int>(fz), gridCount - 2);
    return {c, r, fx - static_cast<float>(c), fz - static_cast<float>(r)};
}

float TerrainModel::heightAt(float x, float z) const {
    const auto [c, r, tx, tz] = cellAt(x, z);
    const float h00 = vertexHeight(c, r);
    const float h10 = vertexHeight(c + 1, r);
    const float h01 = vertexHeight(c, r + 1);
    const float h11 = vertexHeight(c + 1, r + 1);
    // The ground mesh splits each cell along the diagonal from (c, r + 1) to (c + 1, r).
    if (tx + tz <= 1.0f) {
        return h00 + (h10 - h00) * tx + (h01 - h00) * tz;
    }
    return h11 + (h01 - h11) * (1.0f - tx) + (h10 - h11) * (1.0f - tz);
}

std::array<float, 3> TerrainModel::normalAt(float x, float z) const {
    const auto [c, r, tx, tz] = cellAt(x, z);
    std::array<float, 3> n{};
    const float weights[4] = {(1 - tx) * (1 - tz), tx * (1 - tz), (1 - tx) * tz, tx * tz};
    const std::size_t corners[4] = {index(c, r), index(c + 1, r), index(c, r + 1),
                                    index(c + 1, r + 1)};
    for (int k = 0; k < 4; ++k) {
        for (int a = 0; a < 3; ++a) {
            n[a] += weights[k] * normals[corners[k]][a];
        }
    }
    const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    return {n[0] / length, n[1] / length, n[2] / length};
}

} // namespace TrackGen
