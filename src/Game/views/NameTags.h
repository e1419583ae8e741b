#pragma once

#include "Data/Camera.h"
#include "Data/SGNode.h"
#include "Game/views/ViewDrawing.h"

#include <cstddef>
#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <optional>
#include <string>
#include <vector>

namespace Render {
class RKernel;
}

namespace Game {

// Each car's driver's name above the car in the driver's colour, on a dark plate, as
// one view sees it: the same size at any distance so that it stays readable, hidden
// in the car's own view, behind the camera, beyond a range and outside the view.
class NameTags {
public:
    // How far from the camera a tag shows in a view of a car, and in a view of none
    // (the overview, which looks at the whole track from afar).
    static constexpr float carViewRange = 200.0f;
    static constexpr float overviewRange = 600.0f;
    // The tag's foot lies this far above the car's origin.
    static constexpr float lift = 2.5f;

    // One tag per driver in player order, coloured red, green, blue 0..255.
    NameTags(const std::vector<std::string>& names, const std::vector<glm::vec3>& colours);

    // The pixel of the view that a point of the level is seen at through the camera
    // (view and projection matrices); none when it lies behind the camera, farther
    // than `range` from it, or outside the view.
    static std::optional<glm::vec2> project(const glm::vec3& point, const glm::mat4& view,
                                            const glm::mat4& projection, const PixelRect& rect,
                                            float range);

    // Places the tags of the cars at `positions` (player order) in the view seen
    // through `camera` on a screen of `screen` pixels; `own` is the car whose view it
    // is, none for a view of no car.
    void place(const PixelRect& view, const glm::vec2& screen, const Data::Camera& camera,
               const std::vector<glm::vec3>& positions, std::optional<std::size_t> own);
    // Places the tags as place() does and draws them over the screen.
    void draw(Render::RKernel& kernel, const PixelRect& view, const Data::Camera& camera,
              const std::vector<glm::vec3>& positions, std::optional<std::size_t> own);

    // As placed last; the nodes are each shown tag's plate and text.
    bool isShown(std::size_t car) const { return car < shown.size() && shown[car]; }
    const Data::SGNodeList& getNodes() const { return nodes; }

private:
    struct Tag {
        Data::SGNodePtr text;
        Data::SGNodePtr plate;
        // The plate's corners around the text's origin, in text heights.
        glm::vec2 low{0.0f};
        glm::vec2 high{0.0f};
    };

    std::vector<Tag> tags;
    std::vector<bool> shown;
    Data::SGNodeList nodes;
};

} // namespace Game
