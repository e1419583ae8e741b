#pragma once

#include "Data/Object.h"
#include "Game/overlay/Dialog.h"
#include "System/File.h"

#include <cstddef>
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

// The glyphs drawn by a text node and the lines below it: each glyph is a quad of 8
// corners in its line's mesh.
inline std::size_t glyphCount(const Data::SGNodePtr& node) {
    std::size_t count = 0;
    if (const auto object = std::dynamic_pointer_cast<Data::Object>(node)) {
        for (const Data::MeshPtr& mesh : object->getMeshes()) {
            count += mesh->vertices.size() / 8;
        }
    }
    for (const auto& [key, child] : node->getChildren()) {
        count += glyphCount(child);
    }
    return count;
}

inline void expectRect(const Game::DialogRect& rect, glm::vec2 corner, glm::vec2 size) {
    EXPECT_NEAR(rect.corner.x, corner.x, 1e-5f);
    EXPECT_NEAR(rect.corner.y, corner.y, 1e-5f);
    EXPECT_NEAR(rect.size.x, size.x, 1e-5f);
    EXPECT_NEAR(rect.size.y, size.y, 1e-5f);
}

} // namespace OverlayTest
