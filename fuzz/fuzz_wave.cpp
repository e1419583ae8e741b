// The WAV reader: any bytes give a reason or a sound of one or two channels with a
// sample rate, whole frames and no more samples than the bytes hold.
#include "Audio/Wave.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Audio::Wave wave;
    std::string error;
    if (!Audio::Wave::parse({data, size}, wave, error)) {
        FuzzSupport::require(!error.empty(), "a refused file has a reason");
        return 0;
    }
    FuzzSupport::require(wave.channels == 1 || wave.channels == 2, "mono or stereo");
    FuzzSupport::require(wave.sampleRate > 0, "a sample rate");
    FuzzSupport::require(wave.samples.size() % wave.channels == 0, "whole frames");
    FuzzSupport::require(wave.samples.size() * 2 <= size, "at least two bytes per sample");
    return 0;
}
