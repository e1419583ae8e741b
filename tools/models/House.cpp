#include "Models.h"

#include <algorithm>

namespace Tools {

namespace {

constexpr float halfX = 5.0f;
constexpr float halfZ = 4.0f;
constexpr float wallTop = 4.5f;
constexpr float base = 0.35f;

// A window on the wall facing +z (side 1), -z (side -1), +x (side 2) or -x (side
// -2), centred at `along` on that wall: frame, glass and a pair of shutters.
void addWindow(Model& house, int side, float along, float bottom, float width, float height) {
    Surface& frame = house.node("windows").surface("frame");
    Surface& glass = house.node("windows").surface("glass");
    Surface& shutter = house.node("windows").surface("shutter");
    const float depth = 0.06f;
    const float f = 0.08f;
    const float top = bottom + height;
    auto panel = [&](Surface& s, float a0, float a1, float y0, float y1, float out) {
        if (side == 1 || side == -1) {
            const float z = side * halfZ;
            s.box({a0, y0, std::min(z, z + side * out)}, {a1, y1, std::max(z, z + side * out)});
        } else {
            const float x = (side > 0 ? 1.0f : -1.0f) * halfX;
            const float dir = side > 0 ? 1.0f : -1.0f;
            s.box({std::min(x, x + dir * out), y0, a0}, {std::max(x, x + dir * out), y1, a1});
        }
    };
    const float a0 = along - width / 2;
    const float a1 = along + width / 2;
    panel(glass, a0, a1, bottom, top, depth * 0.5f);
    panel(frame, a0 - f, a1 + f, bottom - f, bottom, depth);
    panel(frame, a0 - f, a1 + f, top, top + f, depth);
    panel(frame, a0 - f, a0, bottom, top, depth);
    panel(frame, a1, a1 + f, bottom, top, depth);
    panel(frame, along - f / 3, along + f / 3, bottom, top, depth);
    panel(shutter, a0 - f - width * 0.5f, a0 - f - 0.05f, bottom, top, depth * 0.7f);
    panel(shutter, a1 + f + 0.05f, a1 + f + width * 0.5f, bottom, top, depth * 0.7f);
}

} // namespace

Model makeHouse() {
    Model house;
    house.materials = {
        {"wall", rgb(0.8f, 0.8f, 0.8f), rgb(1, 1, 1), rgb(0.05f, 0.05f, 0.05f), rgb(0, 0, 0), 5.0f,
         "wall.jpg"},
        {"roof", rgb(0.8f, 0.8f, 0.8f), rgb(1, 1, 1), rgb(0.15f, 0.15f, 0.15f), rgb(0, 0, 0), 12.0f,
         "roof.jpg"},
        {"door", rgb(0.8f, 0.8f, 0.8f), rgb(1, 1, 1), rgb(0.1f, 0.1f, 0.1f), rgb(0, 0, 0), 8.0f,
         "door.jpg"},
        {"stone", rgb(0.38f, 0.37f, 0.35f), rgb(0.5f, 0.49f, 0.46f), rgb(0.05f, 0.05f, 0.05f),
         rgb(0, 0, 0), 4.0f, ""},
        {"frame", rgb(0.75f, 0.75f, 0.72f), rgb(0.93f, 0.93f, 0.9f), rgb(0.2f, 0.2f, 0.2f),
         rgb(0, 0, 0), 20.0f, ""},
        {"glass", rgb(0.1f, 0.14f, 0.2f), rgb(0.16f, 0.24f, 0.32f), rgb(0.9f, 0.9f, 0.9f),
         rgb(0, 0, 0), 90.0f, ""},
        {"shutter", rgb(0.12f, 0.28f, 0.18f), rgb(0.16f, 0.38f, 0.24f), rgb(0.15f, 0.15f, 0.15f),
         rgb(0, 0, 0), 15.0f, ""},
        {"brick", rgb(0.42f, 0.2f, 0.14f), rgb(0.55f, 0.27f, 0.19f), rgb(0.05f, 0.05f, 0.05f),
         rgb(0, 0, 0), 4.0f, ""},
    };
    // Stone base reaching below ground so that the house sits on uneven ground too.
    house.node("foundation")
        .surface("stone")
        .box({-halfX - 0.1f, -0.6f, -halfZ - 0.1f}, {halfX + 0.1f, base, halfZ + 0.1f});
    Surface& walls = house.node("walls").surface("wall");
    walls.box({-halfX, base, -halfZ}, {halfX, wallTop, halfZ}, 2.5f);
    walls.prismX({{-halfZ, wallTop}, {halfZ, wallTop}, {0.0f, 7.55f}}, -halfX, halfX, 2.5f);

    // Two roof slabs meeting at the ridge, overhanging walls and gables.
    Surface& roof = house.node("roof").surface("roof");
    roof.prismX({{-4.6f, 4.05f}, {0.0f, 7.65f}, {0.0f, 7.85f}, {-4.6f, 4.25f}}, -5.5f, 5.5f, 2.0f);
    roof.prismX({{0.0f, 7.65f}, {4.6f, 4.05f}, {4.6f, 4.25f}, {0.0f, 7.85f}}, -5.5f, 5.5f, 2.0f);
    house.node("chimney").surface("brick").box({2.4f, 5.5f, -2.3f}, {3.1f, 8.6f, -1.6f});

    // Door on the +z side with a step in front.
    house.node("door").surface("door").box({-0.6f, base, halfZ}, {0.6f, 2.6f, halfZ + 0.06f});
    house.node("foundation")
        .surface("stone")
        .box({-0.9f, -0.2f, halfZ}, {0.9f, 0.25f, halfZ + 0.7f});
    Surface& trim = house.node("windows").surface("frame");
    trim.box({-0.72f, base, halfZ}, {-0.6f, 2.72f, halfZ + 0.09f});
    trim.box({0.6f, base, halfZ}, {0.72f, 2.72f, halfZ + 0.09f});
    trim.box({-0.72f, 2.6f, halfZ}, {0.72f, 2.72f, halfZ + 0.09f});

    addWindow(house, 1, -3.0f, 1.4f, 1.3f, 1.4f);
    addWindow(house, 1, 3.0f, 1.4f, 1.3f, 1.4f);
    for (const float along : {-3.0f, 0.0f, 3.0f}) {
        addWindow(house, -1, along, 1.4f, 1.3f, 1.4f);
    }
    addWindow(house, 2, 0.0f, 1.4f, 1.3f, 1.4f);
    addWindow(house, -2, 0.0f, 1.4f, 1.3f, 1.4f);
    addWindow(house, 2, 0.0f, 5.0f, 0.8f, 0.9f);
    addWindow(house, -2, 0.0f, 5.0f, 0.8f, 0.9f);
    return house;
}

} // namespace Tools
