#include "Models.h"

#include <algorithm>
#include <cmath>

namespace Tools {

namespace {

constexpr float wheelRadius = 0.45f;
constexpr float wheelTrack = 0.83f; // wheel centres at x = +-0.83
constexpr float frontAxle = 1.3f;
constexpr float rearAxle = -1.25f;

void addMaterials(Model& jeep) {
    jeep.materials = {
        {"paint", rgb(0.26f, 0.33f, 0.16f), rgb(0.34f, 0.43f, 0.21f), rgb(0.55f, 0.55f, 0.5f),
         rgb(0, 0, 0), 40.0f, ""},
        {"chassis", rgb(0.10f, 0.10f, 0.10f), rgb(0.13f, 0.13f, 0.13f), rgb(0.2f, 0.2f, 0.2f),
         rgb(0, 0, 0), 12.0f, ""},
        {"tyre", rgb(0.05f, 0.05f, 0.05f), rgb(0.07f, 0.07f, 0.07f), rgb(0.06f, 0.06f, 0.06f),
         rgb(0, 0, 0), 4.0f, ""},
        {"rim", rgb(0.55f, 0.56f, 0.58f), rgb(0.72f, 0.73f, 0.75f), rgb(0.9f, 0.9f, 0.9f),
         rgb(0, 0, 0), 60.0f, ""},
        {"glass", rgb(0.12f, 0.16f, 0.2f), rgb(0.22f, 0.30f, 0.36f), rgb(0.95f, 0.95f, 0.95f),
         rgb(0, 0, 0), 90.0f, ""},
        {"headlight", rgb(0.9f, 0.9f, 0.8f), rgb(1.0f, 1.0f, 0.9f), rgb(1, 1, 1),
         rgb(0.7f, 0.7f, 0.6f), 80.0f, ""},
        {"taillight", rgb(0.6f, 0.05f, 0.05f), rgb(0.85f, 0.08f, 0.06f), rgb(0.8f, 0.8f, 0.8f),
         rgb(0.35f, 0.0f, 0.0f), 60.0f, ""},
        {"seat", rgb(0.16f, 0.11f, 0.08f), rgb(0.24f, 0.16f, 0.11f), rgb(0.15f, 0.15f, 0.15f),
         rgb(0, 0, 0), 8.0f, ""},
        {"steel", rgb(0.12f, 0.12f, 0.13f), rgb(0.18f, 0.18f, 0.19f), rgb(0.7f, 0.7f, 0.7f),
         rgb(0, 0, 0), 50.0f, ""},
    };
}

// The painted shell: hollow tub, bonnet, wings and windscreen frame. Only these
// take the driver's colour; their box is the car's physics body.
void addBody(Model& jeep) {
    Surface& paint = jeep.node("body").surface("paint");
    // Tub: floor, sides, back and dashboard wall.
    paint.box({-0.72f, 0.55f, -1.85f}, {0.72f, 0.65f, 0.45f});
    paint.box({0.64f, 0.65f, -1.85f}, {0.72f, 1.15f, 0.45f});
    paint.box({-0.72f, 0.65f, -1.85f}, {-0.64f, 1.15f, 0.45f});
    paint.box({-0.64f, 0.65f, -1.85f}, {0.64f, 1.15f, -1.77f});
    paint.box({-0.64f, 0.65f, 0.37f}, {0.64f, 1.2f, 0.45f});
    // Bonnet, sloping down toward the grille.
    paint.prismX({{0.45f, 0.6f}, {1.92f, 0.62f}, {1.92f, 1.08f}, {1.75f, 1.13f}, {0.45f, 1.2f}},
                 -0.62f, 0.62f);
    // Front wings: a flat top and a sloping nose on each side.
    for (const float side : {1.0f, -1.0f}) {
        const float inner = 0.62f * side;
        const float outer = 1.0f * side;
        paint.box({std::min(inner, outer), 0.97f, 0.7f}, {std::max(inner, outer), 1.04f, 1.62f});
        paint.prismX({{1.62f, 0.97f}, {1.95f, 0.70f}, {1.95f, 0.78f}, {1.64f, 1.04f}},
                     std::min(inner, outer), std::max(inner, outer));
        // Rear wings over the back wheels.
        paint.box({side > 0 ? 0.72f : -1.0f, 0.97f, -1.72f},
                  {side > 0 ? 1.0f : -0.72f, 1.04f, -0.78f});
        // Windscreen frame posts.
        paint.box({side > 0 ? 0.62f : -0.7f, 1.2f, 0.42f}, {side > 0 ? 0.7f : -0.62f, 1.6f, 0.5f});
    }
    paint.box({-0.7f, 1.53f, 0.42f}, {0.7f, 1.6f, 0.5f});
}

void addChassis(Model& jeep) {
    ModelNode& chassis = jeep.node("chassis");
    Surface& dark = chassis.surface("chassis");
    for (const float x : {0.45f, -0.6f}) {
        dark.box({x, 0.42f, -1.9f}, {x + 0.15f, 0.56f, 1.9f}); // frame rails
    }
    dark.box({-0.95f, 0.45f, 1.92f}, {0.95f, 0.68f, 2.02f}); // front bumper
    dark.box({-0.9f, 0.45f, -2.0f}, {0.9f, 0.65f, -1.85f});  // rear bumper
    dark.box({-0.7f, 0.4f, frontAxle - 0.06f}, {0.7f, 0.5f, frontAxle + 0.06f});
    dark.box({-0.7f, 0.4f, rearAxle - 0.06f}, {0.7f, 0.5f, rearAxle + 0.06f});
    dark.box({0.72f, 0.55f, -0.72f}, {0.98f, 0.6f, 0.68f}); // running boards
    dark.box({-0.98f, 0.55f, -0.72f}, {-0.72f, 0.6f, 0.68f});
    // Grille: a dark recess with upright bars.
    dark.box({-0.5f, 0.66f, 1.92f}, {0.5f, 1.02f, 1.94f});
    Surface& bars = chassis.surface("steel");
    for (int i = 0; i < 7; ++i) {
        const float x = -0.27f + 0.09f * static_cast<float>(i);
        bars.box({x - 0.025f, 0.68f, 1.93f}, {x + 0.025f, 1.0f, 1.96f});
    }
    // Spare wheel carrier bracket.
    bars.box({-0.08f, 0.75f, -1.9f}, {0.08f, 1.1f, -1.85f});
}

void addLightsAndGlass(Model& jeep) {
    ModelNode& lights = jeep.node("lights");
    Surface& front = lights.surface("headlight");
    Surface& back = lights.surface("taillight");
    for (const float side : {1.0f, -1.0f}) {
        front.cylinderZ({0.4f * side, 0.9f, 0.0f}, 0.075f, 1.93f, 1.99f, 12);
        back.box({side > 0 ? 0.5f : -0.64f, 0.95f, -1.88f},
                 {side > 0 ? 0.64f : -0.5f, 1.07f, -1.85f});
    }
    jeep.node("windows").surface("glass").box({-0.62f, 1.2f, 0.445f}, {0.62f, 1.53f, 0.475f});
}

void addCabin(Model& jeep) {
    Surface& seat = jeep.node("interior").surface("seat");
    for (const float side : {1.0f, -1.0f}) {
        const float x0 = side > 0 ? 0.12f : -0.56f;
        const float x1 = side > 0 ? 0.56f : -0.12f;
        seat.box({x0, 0.65f, -0.3f}, {x1, 0.85f, 0.15f});
        seat.box({x0, 0.85f, -0.4f}, {x1, 1.35f, -0.28f});
    }
    seat.box({-0.6f, 0.65f, -1.62f}, {0.6f, 0.85f, -1.12f});
    seat.box({-0.6f, 0.85f, -1.76f}, {0.6f, 1.28f, -1.64f});
    Surface& steel = jeep.node("interior").surface("steel");
    steel.box({0.3f, 1.0f, 0.2f}, {0.36f, 1.06f, 0.4f});            // steering column
    steel.cylinderZ({0.33f, 1.08f, 0.0f}, 0.17f, 0.16f, 0.19f, 16); // steering wheel
    // Roll bar behind the front seats.
    Surface& bar = jeep.node("rollbar").surface("steel");
    bar.box({0.63f, 1.15f, -0.98f}, {0.7f, 1.6f, -0.91f});
    bar.box({-0.7f, 1.15f, -0.98f}, {-0.63f, 1.6f, -0.91f});
    bar.box({-0.7f, 1.54f, -0.98f}, {0.7f, 1.61f, -0.91f});
}

// One wheel, centred on its node with the axle along x: tyre, rim and five lug
// bolts that make the rolling visible.
void addWheelGeometry(ModelNode& wheel) {
    Surface& tyre = wheel.surface("tyre");
    tyre.cylinderX({0, 0, 0}, wheelRadius, -0.16f, 0.16f, 24);
    Surface& rim = wheel.surface("rim");
    rim.cylinderX({0, 0, 0}, 0.27f, -0.175f, 0.175f, 20);
    Surface& hub = wheel.surface("chassis");
    hub.cylinderX({0, 0, 0}, 0.09f, -0.2f, 0.2f, 10);
    for (int i = 0; i < 5; ++i) {
        const float angle = 6.2831853f * static_cast<float>(i) / 5.0f;
        const float y = 0.17f * std::cos(angle);
        const float z = 0.17f * std::sin(angle);
        hub.box({0.17f, y - 0.025f, z - 0.025f}, {0.19f, y + 0.025f, z + 0.025f});
        hub.box({-0.19f, y - 0.025f, z - 0.025f}, {-0.17f, y + 0.025f, z + 0.025f});
    }
}

} // namespace

Model makeJeep() {
    Model jeep;
    addMaterials(jeep);
    addBody(jeep);
    addChassis(jeep);
    addLightsAndGlass(jeep);
    addCabin(jeep);
    // Wheels: direct children of the root, each translated to its centre.
    const struct {
        const char* name;
        float x, z;
    } wheels[] = {{"wheelFL", wheelTrack, frontAxle},
                  {"wheelFR", -wheelTrack, frontAxle},
                  {"wheelBL", wheelTrack, rearAxle},
                  {"wheelBR", -wheelTrack, rearAxle}};
    for (const auto& w : wheels) {
        addWheelGeometry(jeep.node(w.name, {w.x, wheelRadius, w.z}));
    }
    // The spare wheel hangs on the tailgate, axle along z.
    ModelNode& spare = jeep.node("spare");
    spare.surface("tyre").cylinderZ({0, 0.95f, 0}, 0.42f, -2.14f, -1.9f, 24);
    spare.surface("rim").cylinderZ({0, 0.95f, 0}, 0.25f, -2.16f, -1.9f, 20);
    return jeep;
}

} // namespace Tools
