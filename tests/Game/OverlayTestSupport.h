#pragma once

#include "Game/overlay/Dialog.h"
#include "System/File.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>

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

// Minimum and maximum corner of a drawable in the frame's drawing units.
inline std::pair<glm::vec2, glm::vec2> drawnBounds(const Data::SGNodePtr& node) {
    const Data::BoundingBox box = node->getBoundingBox();
    const Data::BoundingBox world = Data::transformBox(box, node->getWorldTransformation());
    return {{world[0], world[1]}, {world[3], world[4]}};
}

inline void expectRect(const Game::DialogRect& rect, glm::vec2 corner, glm::vec2 size) {
    EXPECT_NEAR(rect.corner.x, corner.x, 1e-5f);
    EXPECT_NEAR(rect.corner.y, corner.y, 1e-5f);
    EXPECT_NEAR(rect.size.x, size.x, 1e-5f);
    EXPECT_NEAR(rect.size.y, size.y, 1e-5f);
}

} // namespace OverlayTest
