#include "sounds/Synth.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace Tools {

namespace {

void put16(std::ofstream& out, std::uint16_t value) {
    const char bytes[] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
    out.write(bytes, 2);
}

void put32(std::ofstream& out, std::uint32_t value) {
    put16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    put16(out, static_cast<std::uint16_t>(value >> 16));
}

} // namespace

Clip::Clip(double seconds, bool looping)
    : samples(static_cast<std::size_t>(std::lround(seconds * sampleRate)), 0.0f), looping(looping) {
}

void Clip::mix(std::size_t at, float value) {
    if (looping) {
        samples[at % samples.size()] += value;
    } else if (at < samples.size()) {
        samples[at] += value;
    }
}

void Clip::normalise(float peak) {
    float largest = 0.0f;
    for (const float sample : samples) {
        largest = std::max(largest, std::fabs(sample));
    }
    if (largest > 0.0f) {
        for (float& sample : samples) {
            sample *= peak / largest;
        }
    }
}

bool Clip::save(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1); // integer samples
    put16(out, 1); // mono
    put32(out, sampleRate);
    put32(out, sampleRate * 2);
    put16(out, 2);
    put16(out, 16);
    out.write("data", 4);
    put32(out, dataBytes);
    for (const float sample : samples) {
        const long value = std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f);
        put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(value)));
    }
    return static_cast<bool>(out);
}

float WhiteNoise::operator()(std::size_t i) const {
    return noise.hash(static_cast<int>(i & 0xFFFF), static_cast<int>(i >> 16)) * 2.0f - 1.0f;
}

Biquad::Biquad(double b0, double b1, double b2, double a0, double a1, double a2)
    : b0(b0 / a0), b1(b1 / a0), b2(b2 / a0), a1(a1 / a0), a2(a2 / a0) {}

Biquad Biquad::lowPass(double frequency, double q) {
    const double w = twoPi * frequency / sampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    return {(1.0 - c) / 2.0, 1.0 - c, (1.0 - c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha};
}

Biquad Biquad::bandPass(double frequency, double q) {
    const double w = twoPi * frequency / sampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    return {alpha, 0.0, -alpha, 1.0 + alpha, -2.0 * c, 1.0 - alpha};
}

Biquad Biquad::highPass(double frequency, double q) {
    const double w = twoPi * frequency / sampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    return {(1.0 + c) / 2.0, -(1.0 + c), (1.0 + c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha};
}

float Biquad::operator()(float x) {
    const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return static_cast<float>(y);
}

void filterLoop(Clip& clip, Biquad filter) {
    for (std::size_t i = 0; i < clip.size(); ++i) {
        filter(clip[i]);
    }
    for (std::size_t i = 0; i < clip.size(); ++i) {
        clip[i] = filter(clip[i]);
    }
}

double noteFrequency(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

float envelope(const Timbre& timbre, double t) {
    constexpr double fade = 0.01;
    if (t < 0.0 || t >= timbre.length) {
        return 0.0f;
    }
    double level =
        t < timbre.attack ? t / timbre.attack : std::exp(-(t - timbre.attack) / timbre.decay);
    if (t > timbre.length - fade) {
        level *= (timbre.length - t) / fade;
    }
    return static_cast<float>(level);
}

void addNote(Clip& clip, double start, double frequency, float amplitude, const Timbre& timbre) {
    const auto first = static_cast<std::size_t>(std::lround(start * sampleRate));
    const auto count = static_cast<std::size_t>(timbre.length * sampleRate);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        double value = 0.0;
        for (std::size_t k = 0; k < timbre.partials.size(); ++k) {
            const double partial = frequency * static_cast<double>(k + 1);
            if (partial < sampleRate * 0.45) {
                value += timbre.partials[k] * std::sin(twoPi * partial * t);
            }
        }
        clip.mix(first + i, amplitude * envelope(timbre, t) * static_cast<float>(value));
    }
}

} // namespace Tools
