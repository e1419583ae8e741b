#pragma once

#include "TrackGen/Noise.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Tools {

using namespace TrackGen;

// The sample rate of every generated sound.
constexpr int sampleRate = 22050;
constexpr double twoPi = 6.283185307179586;

// A mono sound being built: samples in -1..1 at sampleRate. A looping clip wraps
// what is mixed past its end round to its start, so that notes and echoes that ring
// over the end are heard at the start of the next round and the loop has no seam.
class Clip {
public:
    Clip(double seconds, bool looping);

    std::size_t size() const { return samples.size(); }
    float& operator[](std::size_t i) { return samples[i]; }
    float operator[](std::size_t i) const { return samples[i]; }

    // Adds value at sample `at` (wrapped when looping, dropped past the end otherwise).
    void mix(std::size_t at, float value);
    // Scales the clip so that its largest sample has the magnitude `peak`.
    void normalise(float peak);
    // Writes a 16-bit mono RIFF WAVE file; false when it cannot be written.
    bool save(const std::string& path) const;

private:
    std::vector<float> samples;
    bool looping;
};

// Uniform white noise in -1..1, the same for the same seed and index everywhere.
class WhiteNoise {
public:
    explicit WhiteNoise(std::uint32_t seed) : noise(seed) {}
    float operator()(std::size_t i) const;

private:
    Noise noise;
};

// Second-order filter section (the audio cookbook's low-pass and band-pass forms).
class Biquad {
public:
    static Biquad lowPass(double frequency, double q);
    static Biquad bandPass(double frequency, double q);
    static Biquad highPass(double frequency, double q);

    float operator()(float x);

private:
    Biquad(double b0, double b1, double b2, double a0, double a1, double a2);

    double b0, b1, b2, a1, a2;
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
};

// Runs the filter over a looping clip in place. The filter first runs once through
// the clip to settle, so that its state at the end meets its state at the start.
void filterLoop(Clip& clip, Biquad filter);

// The frequency of a MIDI note (69 is A 440 Hz).
double noteFrequency(int note);

// The sound of a note: the amplitudes of its partials (the fundamental first, then
// each whole multiple of it), and its envelope: a linear rise over `attack` seconds,
// then an exponential fall with time constant `decay`, cut with a short fade after
// `length` seconds.
struct Timbre {
    std::vector<float> partials;
    double attack = 0.005;
    double decay = 0.2;
    double length = 0.5;
};

// Mixes a note of the timbre into the clip, starting at `start` seconds. Partials
// above the highest frequency the sample rate holds are left out.
void addNote(Clip& clip, double start, double frequency, float amplitude, const Timbre& timbre);

// The envelope of a Timbre at t seconds after the note's start.
float envelope(const Timbre& timbre, double t);

} // namespace Tools
