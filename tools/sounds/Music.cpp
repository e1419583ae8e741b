#include "sounds/Sounds.h"

#include <cmath>

namespace Tools {

namespace {

constexpr double beat = 0.5; // 120 beats per minute
constexpr int bars = 4;
constexpr int beatsPerBar = 4;

// The chords, one per bar: C, G, A minor, F; their roots low for the bass and
// their three tones near middle C for the pad and the arpeggio.
struct Chord {
    int root;
    int tones[3];
};
constexpr Chord progression[bars] = {
    {36, {60, 64, 67}}, {43, {59, 62, 67}}, {45, {60, 64, 69}}, {41, {60, 65, 69}}};

// A drum hit: `shape(t, i)` gives the sample t seconds (i samples) into the hit.
template <typename Shape> void addHit(Clip& clip, double start, double length, const Shape& shape) {
    const auto first = static_cast<std::size_t>(std::lround(start * sampleRate));
    for (std::size_t i = 0; i < static_cast<std::size_t>(length * sampleRate); ++i) {
        clip.mix(first + i, shape(static_cast<double>(i) / sampleRate, i));
    }
}

void addBass(Clip& clip) {
    const Timbre bass{{1.0f, 0.5f, 0.25f, 0.12f}, 0.005, 0.15, 0.24};
    const int pattern[] = {0, 0, 12, 0, 7, 0, 12, 7};
    for (int bar = 0; bar < bars; ++bar) {
        for (int eighth = 0; eighth < 8; ++eighth) {
            const double start = (bar * beatsPerBar + eighth * 0.5) * beat;
            addNote(clip, start, noteFrequency(progression[bar].root + pattern[eighth]), 0.5f,
                    bass);
        }
    }
}

void addPad(Clip& clip) {
    const Timbre pad{{1.0f, 0.3f, 0.15f, 0.08f}, 0.15, 3.0, beatsPerBar * beat - 0.05};
    for (int bar = 0; bar < bars; ++bar) {
        for (const int tone : progression[bar].tones) {
            addNote(clip, bar * beatsPerBar * beat, noteFrequency(tone), 0.12f, pad);
        }
    }
}

void addArpeggio(Clip& clip) {
    const Timbre pluck{{1.0f, 0.0f, 0.33f, 0.0f, 0.2f, 0.0f, 0.14f}, 0.002, 0.08, 0.12};
    const int order[] = {0, 1, 2, 1};
    for (int bar = 0; bar < bars; ++bar) {
        for (int sixteenth = 0; sixteenth < 16; ++sixteenth) {
            const int tone = progression[bar].tones[order[sixteenth % 4]] + 12;
            addNote(clip, (bar * beatsPerBar + sixteenth * 0.25) * beat, noteFrequency(tone), 0.12f,
                    pluck);
        }
    }
}

void addDrums(Clip& clip) {
    const WhiteNoise noise(53);
    for (int b = 0; b < bars * beatsPerBar; ++b) {
        const double start = b * beat;
        if (b % 2 == 0) {
            // Kick: a sine falling from 110 to 45 Hz.
            double phase = 0.0;
            addHit(clip, start, 0.3, [&phase](double t, std::size_t) {
                phase += twoPi * (45.0 + 65.0 * std::exp(-t / 0.03)) / sampleRate;
                return static_cast<float>(0.7 * std::exp(-t / 0.12) * std::sin(phase));
            });
        } else {
            // Snare: a band of noise over a short 190 Hz tone.
            Biquad band = Biquad::bandPass(1800.0, 0.8);
            addHit(clip, start, 0.25, [&](double t, std::size_t i) {
                const double body = 0.5 * std::exp(-t / 0.05) * std::sin(twoPi * 190.0 * t);
                const double rattle =
                    band(noise(static_cast<std::size_t>(b) * 20000 + i)) * std::exp(-t / 0.07);
                return static_cast<float>(0.35 * (body + 1.5 * rattle));
            });
        }
        // Closed hi-hat on every eighth, the off-beats a little louder.
        for (int half = 0; half < 2; ++half) {
            Biquad high = Biquad::highPass(6000.0, 0.7);
            const double level = half == 0 ? 0.1 : 0.14;
            addHit(clip, start + half * beat / 2.0, 0.08, [&](double t, std::size_t i) {
                return static_cast<float>(
                    level * high(noise(static_cast<std::size_t>(b * 20000 + half * 5000) + i)) *
                    std::exp(-t / 0.02));
            });
        }
    }
}

} // namespace

// Four bars at 120 beats per minute (8 s) over C, G, A minor and F: a bass in
// eighths, a soft pad holding each chord, a plucked arpeggio in sixteenths an
// octave up, kick, snare and hi-hat. Notes ringing past the end sound at the start,
// so the loop closes.
Clip makeMusic() {
    Clip clip(bars * beatsPerBar * beat, true);
    addBass(clip);
    addPad(clip);
    addArpeggio(clip);
    addDrums(clip);
    clip.normalise(0.8f);
    return clip;
}

} // namespace Tools
