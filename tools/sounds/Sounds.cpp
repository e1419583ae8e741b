#include "sounds/Sounds.h"

#include <algorithm>
#include <cmath>

namespace Tools {

namespace {

double secondsAt(std::size_t i) {
    return static_cast<double>(i) / sampleRate;
}

// Adds `source` scaled so that its peak is `peak` times the peak of `clip`.
void blend(Clip& clip, Clip source, float peak) {
    float largest = 0.0f;
    for (std::size_t i = 0; i < clip.size(); ++i) {
        largest = std::max(largest, std::fabs(clip[i]));
    }
    source.normalise(peak * largest);
    for (std::size_t i = 0; i < clip.size(); ++i) {
        clip[i] += source[i];
    }
}

// A tone with a soft start and a short fade at the end: the race's signals.
Clip beep(double seconds, double frequency) {
    Clip clip(seconds, false);
    const Timbre tone{{1.0f, 0.0f, 0.25f}, 0.005, seconds * 2.0, seconds};
    addNote(clip, 0.0, frequency, 1.0f, tone);
    clip.normalise(0.7f);
    return clip;
}

} // namespace

// One second of the engine at 3000 rpm: exactly 100 periods of the fundamental, so
// the loop closes. Sixteen harmonics falling as 1/k^0.8 and lifted around 450 Hz
// (the exhaust's resonance), with fixed random phases for a rough, uneven edge; under
// them the combustion: low-passed noise that swells with every firing.
Clip makeEngine() {
    Clip clip(1.0, true);
    const WhiteNoise noise(11);
    for (int k = 1; k <= 16; ++k) {
        const double frequency = engineFundamental * k;
        const double resonance = (frequency - 450.0) / 250.0;
        const double amplitude = std::pow(k, -0.8) * (1.0 + 1.2 * std::exp(-resonance * resonance));
        const double phase = noise(static_cast<std::size_t>(k) * 7919) * twoPi / 2.0;
        for (std::size_t i = 0; i < clip.size(); ++i) {
            clip[i] +=
                static_cast<float>(amplitude * std::sin(twoPi * frequency * secondsAt(i) + phase));
        }
    }
    Clip combustion(1.0, true);
    for (std::size_t i = 0; i < combustion.size(); ++i) {
        const double firing = 0.5 + 0.5 * std::cos(twoPi * engineFundamental * secondsAt(i));
        combustion[i] = noise(i) * static_cast<float>(std::pow(firing, 6.0));
    }
    filterLoop(combustion, Biquad::lowPass(1200.0, 0.7));
    blend(clip, combustion, 0.3f);
    clip.normalise(0.9f);
    return clip;
}

// One second of a tyre sliding on gravel: broad band-passed hiss around 900 Hz, a
// squeal near 1150 Hz that wavers four times a second, and sparse crackles of grit.
// Every component repeats a whole number of times per second, so the loop closes.
Clip makeSkid() {
    const WhiteNoise noise(23);
    Clip hiss(1.0, true);
    for (std::size_t i = 0; i < hiss.size(); ++i) {
        const double swell = 0.7 + 0.3 * std::sin(twoPi * 3.0 * secondsAt(i));
        hiss[i] = noise(i) * static_cast<float>(swell);
    }
    filterLoop(hiss, Biquad::bandPass(900.0, 1.2));

    Clip squeal(1.0, true);
    for (std::size_t i = 0; i < squeal.size(); ++i) {
        const double t = secondsAt(i);
        const double phase = 1150.0 * t - 60.0 / (twoPi * 4.0) * std::cos(twoPi * 4.0 * t);
        const double level = 0.6 + 0.4 * std::sin(twoPi * 2.0 * t);
        squeal[i] = static_cast<float>(level * std::sin(twoPi * phase));
    }

    Clip grit(1.0, true);
    for (std::size_t i = 0; i < grit.size(); ++i) {
        if (noise(i + 1000003) > 0.994f) {
            for (std::size_t j = 0; j < 200; ++j) {
                grit.mix(i + j, noise(i * 31 + j) * static_cast<float>(std::exp(-0.03 * j)));
            }
        }
    }
    filterLoop(grit, Biquad::highPass(1500.0, 0.7));

    Clip clip = hiss;
    blend(clip, squeal, 0.45f);
    blend(clip, grit, 0.5f);
    clip.normalise(0.8f);
    return clip;
}

// A car striking something, 0.8 s: a low thump whose pitch drops from 80 to 35 Hz,
// a crunch of noise (a bright, short band and a darker, longer low-pass), and the
// clank of a body panel, five inharmonic partials ringing out.
Clip makeImpact() {
    constexpr double length = 0.8;
    const WhiteNoise noise(37);
    Clip thump(length, false);
    double phase = 0.0;
    for (std::size_t i = 0; i < thump.size(); ++i) {
        const double t = secondsAt(i);
        phase += twoPi * (35.0 + 45.0 * std::exp(-t / 0.05)) / sampleRate;
        thump[i] = static_cast<float>(std::exp(-t / 0.12) * std::sin(phase));
    }
    Biquad bright = Biquad::bandPass(2000.0, 0.7);
    Biquad dark = Biquad::lowPass(600.0, 0.7);
    Clip crunch(length, false);
    for (std::size_t i = 0; i < crunch.size(); ++i) {
        const double t = secondsAt(i);
        crunch[i] = bright(noise(i)) * static_cast<float>(std::exp(-t / 0.04)) +
                    dark(noise(i + 500009)) * static_cast<float>(1.5 * std::exp(-t / 0.15));
    }
    Clip clank(length, false);
    const double partials[][3] = {{310.0, 1.0, 0.25},
                                  {587.0, 0.7, 0.2},
                                  {943.0, 0.5, 0.15},
                                  {1417.0, 0.35, 0.1},
                                  {2011.0, 0.25, 0.08}};
    for (const auto& [frequency, amplitude, decay] : partials) {
        for (std::size_t i = 0; i < clank.size(); ++i) {
            const double t = secondsAt(i);
            clank[i] += static_cast<float>(amplitude * std::exp(-t / decay) *
                                           std::sin(twoPi * frequency * t));
        }
    }
    Clip clip = thump;
    blend(clip, crunch, 0.9f);
    blend(clip, clank, 0.35f);
    // A 2 ms rise takes the click off the start.
    for (std::size_t i = 0; i < clip.size() && secondsAt(i) < 0.002; ++i) {
        clip[i] *= static_cast<float>(secondsAt(i) / 0.002);
    }
    clip.normalise(0.95f);
    return clip;
}

// "3", "2", "1": a quarter second of A5 (880 Hz) with a touch of its octave.
Clip makeCountdownBeep() {
    return beep(0.25, 880.0);
}

// "GO!": an octave higher than the countdown and longer.
Clip makeGoBeep() {
    return beep(0.7, 1760.0);
}

// The finish: a rising fanfare C5, E5, G5, then C6 held over a C major chord, in a
// brass-like tone (every harmonic, falling as 1/k) with a slight vibrato on the
// last chord.
Clip makeFinish() {
    Clip clip(1.8, false);
    const Timbre brass{{1.0f, 0.5f, 0.33f, 0.25f, 0.2f, 0.17f, 0.14f, 0.12f}, 0.01, 0.18, 0.3};
    const int run[] = {72, 76, 79};
    for (int i = 0; i < 3; ++i) {
        addNote(clip, 0.13 * i, noteFrequency(run[i]), 1.0f, brass);
    }
    const Timbre held{brass.partials, 0.02, 0.7, 1.4};
    const double start = 0.39;
    for (const int note : {84, 72, 76, 79}) {
        const double frequency = noteFrequency(note);
        for (std::size_t i = 0; i < static_cast<std::size_t>(held.length * sampleRate); ++i) {
            const double t = secondsAt(i);
            // Cycles of the fundamental so far, its frequency wavering by 0.4 % at 5 Hz.
            const double cycles =
                frequency * (t - 0.004 / (twoPi * 5.0) * std::cos(twoPi * 5.0 * t));
            double value = 0.0;
            for (std::size_t k = 0; k < held.partials.size(); ++k) {
                value += held.partials[k] * std::sin(twoPi * cycles * static_cast<double>(k + 1));
            }
            const float level = note == 84 ? 1.0f : 0.45f;
            clip.mix(static_cast<std::size_t>(start * sampleRate) + i,
                     level * envelope(held, t) * static_cast<float>(value));
        }
    }
    clip.normalise(0.8f);
    return clip;
}

} // namespace Tools
