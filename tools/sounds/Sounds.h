#pragma once

#include "sounds/Synth.h"

namespace Tools {

// The frequency of the engine loop's fundamental, and the engine speed it stands
// for: a four-cylinder four-stroke engine fires twice per revolution, 100 times a
// second at 3000 revolutions per minute.
constexpr double engineFundamental = 100.0;

// Each recipe builds one sound of the game (see the .cpp files for how).
Clip makeEngine();
Clip makeSkid();
Clip makeImpact();
Clip makeCountdownBeep();
Clip makeGoBeep();
Clip makeFinish();
Clip makeMusic();

} // namespace Tools
