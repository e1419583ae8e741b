#include "TrackGen/TrackPreview.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace TrackGen {

namespace {

// Places on the ground in pixels of a picture `size` pixels square.
struct PictureScale {
    int size;
    float scale; // pixels per unit

    int column(float x) const { return static_cast<int>(x * scale); }
    // +z runs down the picture. Rows of the picture count up from its bottom; text is
    // placed from its top.
    int rowFromTop(float z) const { return static_cast<int>(z * scale); }
    int row(float z) const { return size - 1 - rowFromTop(z); }
};

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
void drawLabel(Raster& picture, const LabelPainter& label, const std::string& text, int centre,
               int baseline) {
    if (!label) {
        return;
    }
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            label(picture, text, centre + dx, baseline + dy, rgb(0.0f, 0.0f, 0.0f, 0.5f));
        }
    }
    label(picture, text, centre, baseline, rgb(1.0f, 1.0f, 1.0f));
}

} // namespace

Direction sunDirection() {
    const Direction d = {-0.3536f, 0.8660f, 0.3536f};
    const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    return {d[0] / length, d[1] / length, d[2] / length};
}

Raster trackPreview(const TrackPlan& plan, const TerrainModel& terrain,
                    const GroundPainter& painter, int size, const LabelPainter& label) {
    const PictureScale at{size, static_cast<float>(size) / plan.terrainSize};
    const Direction sun = sunDirection();
    Raster picture(size, size);
    picture.fill([&](int x, int y) {
        const float wx = (static_cast<float>(x) + 0.5f) / at.scale;
        const float wz = (static_cast<float>(size - 1 - y) + 0.5f) / at.scale;
        if (terrain.heightAt(wx, wz) < plan.waterLevel) {
            return rgb(0.12f, 0.3f, 0.42f);
        }
        const auto n = terrain.normalAt(wx, wz);
        const float lambert = std::max(0.0f, n[0] * sun[0] + n[1] * sun[1] + n[2] * sun[2]);
        return scaled(painter.colourAt(wx, wz), 0.55f + 0.6f * lambert);
    });
    int number = 0;
    for (const Gate& gate : plan.gates) {
        if (!gate.goal) {
            const int x = at.column(gate.x);
            drawRing(picture, x, at.row(gate.z), 13.0f, 3.0f, rgb(1.0f, 0.82f, 0.2f));
            drawLabel(picture, label, std::to_string(++number), x, at.rowFromTop(gate.z) + 7);
        }
    }
    for (const Gate& gate : plan.gates) {
        if (gate.goal) {
            const int x = at.column(gate.x);
            drawRing(picture, x, at.row(gate.z), 13.0f, 3.0f, rgb(1.0f, 1.0f, 1.0f));
            drawLabel(picture, label, "Start", x, at.rowFromTop(gate.z) + 34);
        }
    }
    return picture;
}

} // namespace TrackGen
