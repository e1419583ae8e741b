#pragma once

#include "Game/overlay/Frame.h"
#include "Game/overlay/TextDialog.h"

namespace Game {

// Builds the pause banner "PauseDialog": "Paused" centred on the screen in a
// translucent dark red, hidden. Empty when the frame holds a dialog of that name
// already.
TextDialogPtr createPauseDialog(Frame& frame);

} // namespace Game
