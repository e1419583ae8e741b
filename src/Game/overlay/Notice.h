#pragma once

#include "Game/overlay/Frame.h"
#include "Game/overlay/TextDialog.h"

#include <string>

namespace Game {

// The backdrop of notices and menus: dark enough that white text on it reads over
// any scene.
inline const glm::vec4 NOTICE_BACKDROP(0.04f, 0.06f, 0.12f, 0.9f);

// Builds a hidden notice on the frame: a dark box named `name`, centred at `centre`
// in `size`, holding the white text "Text" centred in it, `textShare` of the box's
// height. Empty when the frame holds a dialog of that name already.
DialogPtr createNotice(Frame& frame, const std::string& name, const std::string& text,
                       const glm::vec2& centre, const glm::vec2& size, float textShare);

} // namespace Game
