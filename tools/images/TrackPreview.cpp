#include "TrackPreview.h"

#include "common/SkyModel.h"
#include "common/TerrainModel.h"
#include "common/TextPainter.h"
#include "terrain/GroundPainter.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace Tools {

namespace {

constexpr int size = 384;
constexpr float scale = size / TrackLayout::terrainSize; // pixels per unit

int column(float x) {
    return static_cast<int>(x * scale);
}

// Rows of the picture count up from its bottom; text is placed from its top.
int row(float z) {
    return static_cast<int>(z * scale);
}

int rowFromTop(float z) {
    return size - 1 - row(z);
}

// A ring of radius `radius` pixels around (cx, cy), `width` pixels wide, antialiased.
void drawRing(Raster& picture, int cx, int cy, float radius, float width, const Colour& colour) {
    const int reach = static_cast<int>(radius + width) + 2;
    for (int y = cy - reach; y <= cy + reach; ++y) {
        for (int x = cx - reach; x <= cx + reach; ++x) {
            const float distance =
                std::hypot(static_cast<float>(x - cx), static_cast<float>(y - cy));
            const float coverage =
                std::clamp(width / 2.0f + 0.5f - std::fabs(distance - radius), 0.0f, 1.0f);
            picture.blend(x, y, colour, coverage);
        }
    }
}

// A label with a dark outline, so that it reads on grass, road and water alike.
void drawLabel(Raster& picture, const TextPainter& font, const std::string& text, int centre,
               int baseline) {
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            font.drawCentred(picture, text, centre + dx, baseline + dy,
                             rgb(0.0f, 0.0f, 0.0f, 0.5f));
        }
    }
    font.drawCentred(picture, text, centre, baseline, rgb(1.0f, 1.0f, 1.0f));
}

} // namespace

Raster trackPreview(const std::string& truetype) {
    const TrackLayout track;
    const TerrainModel terrain(track);
    const GroundPainter painter(track, terrain);
    const Direction sun = SkyModel::sunDirection();
    Raster picture(size, size);
    picture.fill([&](int x, int y) {
        const float wx = (static_cast<float>(x) + 0.5f) / scale;
        const float wz = (static_cast<float>(y) + 0.5f) / scale;
        if (terrain.heightAt(wx, wz) < TrackLayout::waterHeight) {
            return rgb(0.12f, 0.3f, 0.42f);
        }
        const auto n = terrain.normalAt(wx, wz);
        const float lambert = std::max(0.0f, n[0] * sun[0] + n[1] * sun[1] + n[2] * sun[2]);
        return scaled(painter.colourAt(wx, wz), 0.55f + 0.6f * lambert);
    });
    const TextPainter font(truetype + "/LiberationSans-Bold.ttf", 18);
    const auto checkpoints = TrackLayout::checkpoints();
    for (std::size_t i = 0; i < checkpoints.size(); ++i) {
        const int x = column(checkpoints[i].x);
        drawRing(picture, x, row(checkpoints[i].z), 13.0f, 3.0f, rgb(1.0f, 0.82f, 0.2f));
        drawLabel(picture, font, std::to_string(i + 1), x, rowFromTop(checkpoints[i].z) + 7);
    }
    const int goalX = column(TrackLayout::goalX);
    drawRing(picture, goalX, row(TrackLayout::goalZ), 13.0f, 3.0f, rgb(1.0f, 1.0f, 1.0f));
    drawLabel(picture, font, "Start", goalX, rowFromTop(TrackLayout::goalZ) + 34);
    return picture;
}

} // namespace Tools
