#pragma once

#include <cstdint>

namespace TrackGen {

// Deterministic value and gradient noise from an integer hash: the same seed gives
// the same numbers on every machine and every run.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : seed(seed) {}

    // Uniform value in [0, 1) for an integer lattice point.
    float hash(int x, int y) const;
    // Smooth gradient noise in about [-1, 1]. With period > 0 the lattice wraps every
    // `period` cells, so the noise tiles with that period.
    float gradient(float x, float y, int period = 0) const;
    // Sum of `octaves` gradient-noise layers, each twice the frequency and `gain`
    // times the amplitude of the one before; normalised to about [-1, 1].
    float fbm(float x, float y, int octaves, float gain = 0.5f, int period = 0) const;
    // Like fbm but with folded layers (1 - |n|): sharp ridges.
    float ridged(float x, float y, int octaves, float gain = 0.5f) const;

private:
    std::uint32_t seed;
};

float smoothstep(float edge0, float edge1, float x);
float mix(float a, float b, float t);
float clamp01(float x);

} // namespace TrackGen
