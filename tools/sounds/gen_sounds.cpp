// Writes the game's sounds, synthesised, as 16-bit mono WAV files at 22050 Hz into
// the folder given as the only argument: engine.wav, skid.wav and music.wav loop
// without a seam; impact.wav, countdown.wav, go.wav and finish.wav play once.
//   gen_sounds <sounds folder>
#include "sounds/Sounds.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: gen_sounds <sounds folder>\n";
        return 2;
    }
    const struct {
        const char* name;
        Tools::Clip (*make)();
    } sounds[] = {{"engine.wav", Tools::makeEngine}, {"skid.wav", Tools::makeSkid},
                  {"impact.wav", Tools::makeImpact}, {"countdown.wav", Tools::makeCountdownBeep},
                  {"go.wav", Tools::makeGoBeep},     {"finish.wav", Tools::makeFinish},
                  {"music.wav", Tools::makeMusic}};
    for (const auto& sound : sounds) {
        if (!sound.make().save(std::string(argv[1]) + "/" + sound.name)) {
            std::cerr << "gen_sounds: could not write " << sound.name << "\n";
            return 1;
        }
    }
    return 0;
}
