#pragma once

#include "ModelData.h"

namespace Tools {

// The game's models. Forward is +z, up +y, left +x; units are metres; every model
// stands on its origin.

// An open off-road jeep, about 4 x 2 x 1.6, wheels of radius 0.45.
Model makeJeep();
// A small plastered house with a tiled roof, about 10 x 8 x 8.
Model makeHouse();
// A gate driven through along x: posts "stick" (z = +7) and "stick1" (z = -7) and
// a banner 5.6 above the ground; the goal's banner reads START FINISH.
Model makeGate(bool goal);
// A wooden crate 2 x 2 x 2.
Model makeCrate();

} // namespace Tools
