#include "SkyModel.h"

#include <algorithm>
#include <cmath>

namespace Tools {

namespace {

Direction normalised(const Direction& d) {
    const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    return {d[0] / length, d[1] / length, d[2] / length};
}

const Colour zenith = rgb(0.16f, 0.38f, 0.76f);
const Colour horizon = rgb(0.70f, 0.82f, 0.94f);
const Colour haze = rgb(0.78f, 0.85f, 0.92f);
const Colour mountainNear = rgb(0.47f, 0.56f, 0.66f);
const Colour valley = rgb(0.45f, 0.53f, 0.50f);

} // namespace

SkyModel::SkyModel() = default;

Direction SkyModel::sunDirection() {
    return TrackGen::sunDirection();
}

Direction SkyModel::faceDirection(int face, float u, float v) {
    // Points on the unit cube for each face's (u, v), matching the sky box's vertex
    // order: u runs from the face's second vertex to its first, v from the bottom
    // edge to the top edge.
    const float a = 2.0f * u - 1.0f;
    const float b = 2.0f * v - 1.0f;
    switch (face) {
    case 0:
        return normalised({1.0f, b, a});
    case 1:
        return normalised({-1.0f, b, -a});
    case 2:
        return normalised({-a, 1.0f, -b});
    case 3:
        return normalised({-a, -1.0f, b});
    case 4:
        return normalised({-a, b, 1.0f});
    default:
        return normalised({a, b, -1.0f});
    }
}

float SkyModel::mountainHeight(float x, float z) const {
    // A function of the horizontal direction only, so the ridge closes around.
    const float length = std::sqrt(x * x + z * z);
    const float cx = x / length;
    const float cz = z / length;
    const float ridge = mountains.ridged(cx * 2.2f + 5.0f, cz * 2.2f + 5.0f, 4);
    return 0.012f + 0.075f * ridge * ridge;
}

float SkyModel::cloudDensity(float x, float z) const {
    const float n = clouds.fbm(x * 1.4f + 3.0f, z * 1.4f + 7.0f, 6, 0.55f);
    return smoothstep(0.02f, 0.42f, n);
}

Colour SkyModel::colour(const Direction& direction) const {
    const Direction d = normalised(direction);
    const Direction sun = sunDirection();
    const float elevation = d[1];
    const float sunCos = d[0] * sun[0] + d[1] * sun[1] + d[2] * sun[2];

    const float up = std::max(elevation, 0.0f);
    Colour c = lerp(horizon, zenith, std::pow(up, 0.55f));
    c = lerp(c, haze, smoothstep(0.12f, 0.0f, elevation) * 0.7f);

    if (elevation > 0.0f) {
        const float height = 1.0f / std::max(elevation, 0.02f);
        const float density = cloudDensity(d[0] * height, d[2] * height);
        const float thickness = cloudDensity(d[0] * height + 0.08f, d[2] * height + 0.05f);
        const Colour lit = rgb(1.0f, 0.99f, 0.97f);
        const Colour shade = rgb(0.70f, 0.74f, 0.80f);
        Colour cloud = lerp(lit, shade, clamp01(thickness * 0.8f - density * 0.2f));
        cloud = lerp(cloud, rgb(1, 1, 1), std::pow(std::max(sunCos, 0.0f), 12.0f) * 0.5f);
        const float fade = smoothstep(0.01f, 0.18f, elevation);
        c = lerp(c, cloud, density * fade * 0.92f);
    }

    // Sun glow and disc.
    const float glow = std::max(sunCos, 0.0f);
    const Colour warm = rgb(1.0f, 0.95f, 0.82f);
    c = lerp(c, warm, std::pow(glow, 8.0f) * 0.25f + std::pow(glow, 120.0f) * 0.6f);
    c = lerp(c, rgb(1.0f, 1.0f, 0.96f), smoothstep(0.99985f, 0.99993f, sunCos));

    // Distant mountains and the land below them, fading into the haze.
    const float ridge = mountainHeight(d[0], d[2]);
    if (elevation < ridge) {
        const float depth = clamp01((ridge - elevation) / 0.12f);
        Colour land = lerp(lerp(haze, mountainNear, 0.45f), mountainNear, depth);
        land = lerp(land, valley, smoothstep(0.0f, -0.25f, elevation));
        const float edge = smoothstep(0.0f, 0.004f, ridge - elevation);
        c = lerp(c, land, edge);
    }
    c[3] = 1.0f;
    return c;
}

} // namespace Tools
