#include "Noise.h"

#include <algorithm>
#include <cmath>

namespace TrackGen {

namespace {

std::uint32_t mixBits(std::uint32_t h) {
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return h;
}

int wrap(int value, int period) {
    if (period <= 0) {
        return value;
    }
    const int r = value % period;
    return r < 0 ? r + period : r;
}

float fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

// 256 evenly spread unit directions; a lattice point's hash picks one.
struct GradientTable {
    float x[256];
    float y[256];
    GradientTable() {
        for (int i = 0; i < 256; ++i) {
            const double angle = i * 6.283185307179586 / 256.0;
            x[i] = static_cast<float>(std::cos(angle));
            y[i] = static_cast<float>(std::sin(angle));
        }
    }
};

const GradientTable gradients;

} // namespace

float Noise::hash(int x, int y) const {
    const std::uint32_t h = mixBits(static_cast<std::uint32_t>(x) * 0x9e3779b1U ^
                                    mixBits(static_cast<std::uint32_t>(y) * 0x85ebca77U ^ seed));
    return static_cast<float>(h >> 8) / 16777216.0f;
}

float Noise::gradient(float x, float y, int period) const {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float tx = x - fx;
    const float ty = y - fy;
    auto corner = [&](int cx, int cy) {
        const int g = static_cast<int>(hash(wrap(ix + cx, period), wrap(iy + cy, period)) * 256.0f);
        return gradients.x[g] * (tx - static_cast<float>(cx)) +
               gradients.y[g] * (ty - static_cast<float>(cy));
    };
    const float u = fade(tx);
    const float v = fade(ty);
    const float bottom = mix(corner(0, 0), corner(1, 0), u);
    const float top = mix(corner(0, 1), corner(1, 1), u);
    return mix(bottom, top, v) * 1.41421356f;
}

float Noise::fbm(float x, float y, int octaves, float gain, int period) const {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float norm = 0.0f;
    float frequency = 1.0f;
    for (int i = 0; i < octaves; ++i) {
        const int layerPeriod = period > 0 ? period * static_cast<int>(frequency) : 0;
        // Unwrapped layers are shifted apart so that they do not share lattice points.
        const float shift = period > 0 ? 0.0f : static_cast<float>(i) * 17.31f;
        sum += amplitude * gradient(x * frequency + shift, y * frequency, layerPeriod);
        norm += amplitude;
        amplitude *= gain;
        frequency *= 2.0f;
    }
    return sum / norm;
}

float Noise::ridged(float x, float y, int octaves, float gain) const {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float norm = 0.0f;
    float frequency = 1.0f;
    for (int i = 0; i < octaves; ++i) {
        const float n = 1.0f - std::fabs(gradient(x * frequency + static_cast<float>(i) * 31.7f,
                                                  y * frequency));
        sum += amplitude * n * n;
        norm += amplitude;
        amplitude *= gain;
        frequency *= 2.0f;
    }
    return sum / norm;
}

float smoothstep(float edge0, float edge1, float x) {
    const float t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

float mix(float a, float b, float t) {
    return a + (b - a) * t;
}

float clamp01(float x) {
    return std::clamp(x, 0.0f, 1.0f);
}

} // namespace TrackGen
