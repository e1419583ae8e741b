#pragma once

#include "Game/overlay/Dialog.h"
#include "System/File.h"

#include <gtest/gtest.h>
#include <string>

namespace OverlayTest {

// The generated pictures and fonts lie beside the programs, in the bin folder.
inline void useGameData() {
    System::File::init(std::string(BRUMBLY_BIN_DIR) + "/test");
}

inline void loadFonts() {
    for (const char* name : {"Arial", "TimesNewRoman", "Newsflash"}) {
        System::File::loadFont({name, "data\\images\\Fonts\\"});
    }
}

inline void expectRect(const Game::DialogRect& rect, glm::vec2 corner, glm::vec2 size) {
    EXPECT_NEAR(rect.corner.x, corner.x, 1e-5f);
    EXPECT_NEAR(rect.corner.y, corner.y, 1e-5f);
    EXPECT_NEAR(rect.size.x, size.x, 1e-5f);
    EXPECT_NEAR(rect.size.y, size.y, 1e-5f);
}

} // namespace OverlayTest
