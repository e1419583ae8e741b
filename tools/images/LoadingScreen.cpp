#include "LoadingScreen.h"

#include "TrackGen/GroundPainter.h"
#include "TrackGen/TerrainModel.h"
#include "common/SkyModel.h"
#include "common/TextPainter.h"
#include "track/plans/Plans.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Tools {

namespace {

constexpr int width = 1024;
constexpr int height = 768;

struct View {
    float x, y, z; // eye
    float fx, fz;  // forward direction on the ground (unit)
    float focal;   // pixels
    float horizon; // screen row of the horizon, from the top
};

void drawLand(Raster& picture, const View& view, float waterHeight, const TerrainModel& terrain,
              const GroundPainter& painter, const SkyModel& sky) {
    const Direction sun = SkyModel::sunDirection();
    // Right-hand side of the view: forward x up (+x lies to the left looking along +z).
    const float rx = -view.fz;
    const float rz = view.fx;
    std::vector<int> lowest(width, height);
    for (int column = 0; column < width; ++column) {
        const float s = (column + 0.5f - width / 2.0f) / view.focal;
        float depth = 2.0f;
        while (depth < 700.0f && lowest[column] > 0) {
            const float x = view.x + (view.fx + rx * s) * depth;
            const float z = view.z + (view.fz + rz * s) * depth;
            if (x >= 0.0f && x <= 256.0f && z >= 0.0f && z <= 256.0f) {
                const float ground = terrain.heightAt(x, z);
                const float h = std::max(ground, waterHeight);
                const int row = static_cast<int>(view.horizon + (view.y - h) / depth * view.focal);
                if (row < lowest[column]) {
                    const auto n = terrain.normalAt(x, z);
                    Colour c;
                    if (ground < waterHeight) {
                        const Direction up = {view.fx + rx * s, 0.35f, view.fz + rz * s};
                        c = lerp(rgb(0.10f, 0.24f, 0.27f), sky.colour(up), 0.55f);
                    } else {
                        const float lambert =
                            std::max(0.0f, n[0] * sun[0] + n[1] * sun[1] + n[2] * sun[2]);
                        c = scaled(painter.colourAt(x, z), 0.45f + 0.75f * lambert);
                    }
                    const float fog = 1.0f - std::exp(-std::max(depth - 80.0f, 0.0f) / 800.0f);
                    c = lerp(c, sky.colour({view.fx + rx * s, 0.04f, view.fz + rz * s}), fog);
                    for (int r = std::max(row, 0); r < lowest[column]; ++r) {
                        picture.at(column, height - 1 - r) = c;
                    }
                    lowest[column] = std::max(row, 0);
                }
            }
            depth += 0.15f + depth * 0.006f;
        }
        // Sky above whatever land the column showed.
        for (int r = 0; r < lowest[column]; ++r) {
            const float up = (view.horizon - (r + 0.5f)) / view.focal;
            picture.at(column, height - 1 - r) =
                sky.colour({view.fx + rx * s, up, view.fz + rz * s});
        }
    }
}

void drawTitle(Raster& picture, const std::string& truetype) {
    const TextPainter title(truetype + "/LiberationSans-BoldItalic.ttf", 150);
    const TextPainter subtitle(truetype + "/LiberationSans-Bold.ttf", 40);
    const Colour shadow = rgb(0.05f, 0.07f, 0.1f, 0.55f);
    for (int d = 1; d <= 8; ++d) {
        title.drawCentred(picture, "Brumbly", width / 2 + d, 200 + d, rgb(0, 0, 0, 0.12f));
    }
    title.drawCentred(picture, "Brumbly", width / 2 + 3, 203, shadow);
    title.drawCentred(picture, "Brumbly", width / 2, 200, rgb(1.0f, 0.78f, 0.16f));
    subtitle.drawCentred(picture, "OFF-ROAD RACING", width / 2 + 2, 262, shadow);
    subtitle.drawCentred(picture, "OFF-ROAD RACING", width / 2, 260, rgb(1, 1, 1));
}

} // namespace

Raster loadingScreen(const std::string& truetype) {
    const TrackGen::TrackPlan plan = Plans::testTrack();
    const RoadLine road(plan.road);
    const TerrainModel terrain(plan, road);
    const GroundPainter painter(plan, road, terrain);
    const SkyModel sky;
    Raster picture(width, height);
    const float angle = 0.78f; // looking north-east over the start straight and the lake
    const View view{12.0f, 15.0f, 30.0f, std::sin(angle), std::cos(angle), 620.0f, 330.0f};
    drawLand(picture, view, plan.waterLevel, terrain, painter, sky);
    // A darker band at the bottom keeps the status line readable.
    for (int y = 0; y < height; ++y) {
        const float shade = 1.0f - 0.45f * smoothstep(170.0f, 0.0f, static_cast<float>(y));
        for (int x = 0; x < width; ++x) {
            picture.at(x, y) = scaled(picture.at(x, y), shade);
        }
    }
    drawTitle(picture, truetype);
    return picture;
}

} // namespace Tools
