#include "Game/views/NameTags.h"

#include "Data/Object.h"
#include "Data/Shapes.h"
#include "Data/TextDrawable.h"

#include <algorithm>
#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

namespace Game {

namespace {

const char* const FONT = "Arial";
const glm::vec4 PLATE_COLOUR(0.0f, 0.0f, 0.0f, 0.5f);
// The text's height in pixels: a share of the view's height, never below a size
// that still reads.
constexpr float TEXT_SHARE = 0.03f;
constexpr float MINIMUM_TEXT = 14.0f;
// Around the text on its plate, in text heights.
constexpr float PADDING = 0.25f;
// Closer than this to the camera's plane a point counts as behind it.
constexpr float NEAREST = 0.1f;

// A driver's colour lightened a little, so that dark colours read on the dark plate.
glm::vec4 textColour(const glm::vec3& colour) {
    return glm::vec4(glm::mix(colour / 255.0f, glm::vec3(1.0f), 0.3f), 1.0f);
}

} // namespace

NameTags::NameTags(const std::vector<std::string>& names, const std::vector<glm::vec3>& colours) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        // One text height high, centred on x = 0 and hanging below y = 0 as the font
        // lays glyphs out; the plate behind it is sized to the text once.
        const Data::SGNodePtr text = Data::makeText(names[i], FONT, 1.0f, Data::TA_CENTER);
        const glm::vec3 colour = i < colours.size() ? colours[i] : glm::vec3(255.0f);
        text->setMaterial(flatMaterial(textColour(colour)));
        const Data::BoundingBox box = text->getBoundingBox();
        const float width = std::max(box[3] - box[0], 0.0f);
        auto plate = std::make_shared<Data::Object>(
            Data::makeQuad(1.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, nullptr));
        plate->setMaterial(flatMaterial(PLATE_COLOUR));
        plate->setTransformation(
            glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, -0.5f, 0.0f)),
                       glm::vec3(width + 2.0f * PADDING, 1.0f + PADDING, 1.0f)));
        auto tag = std::make_shared<Data::SGNode>();
        tag->addChild(plate);
        tag->addChild(text);
        tags.push_back(tag);
    }
    shown.assign(tags.size(), false);
}

std::optional<glm::vec2> NameTags::project(const glm::vec3& point, const glm::mat4& view,
                                           const glm::mat4& projection, const PixelRect& rect,
                                           float range) {
    const glm::vec4 seen = view * glm::vec4(point, 1.0f);
    // The camera looks down its -z.
    if (-seen.z < NEAREST || glm::length(glm::vec3(seen)) > range) {
        return std::nullopt;
    }
    const glm::vec4 clip = projection * seen;
    const glm::vec2 device = glm::vec2(clip) / clip.w;
    if (std::abs(device.x) > 1.0f || std::abs(device.y) > 1.0f) {
        return std::nullopt;
    }
    return glm::vec2(rect.x, rect.y) + (device * 0.5f + 0.5f) * glm::vec2(rect.width, rect.height);
}

void NameTags::place(const PixelRect& view, const glm::vec2& screen, const Data::Camera& camera,
                     const std::vector<glm::vec3>& positions, std::optional<std::size_t> own) {
    const glm::mat4 viewMatrix = glm::inverse(camera.getWorldTransformation());
    const glm::mat4 projection =
        camera.getProjection(static_cast<unsigned>(view.width), static_cast<unsigned>(view.height));
    const float range = own ? carViewRange : overviewRange;
    const float height = std::max(MINIMUM_TEXT, TEXT_SHARE * view.height);
    const float size = 2.0f * height / screen.y;
    nodes.clear();
    const std::size_t count = std::min(tags.size(), positions.size());
    shown.assign(tags.size(), false);
    for (std::size_t i = 0; i < count; ++i) {
        if (own == i) {
            continue;
        }
        const std::optional<glm::vec2> foot = project(positions[i] + glm::vec3(0.0f, lift, 0.0f),
                                                      viewMatrix, projection, view, range);
        if (!foot) {
            continue;
        }
        // The text hangs from its origin: one text height (and the plate's padding)
        // above the foot.
        const glm::vec2 origin =
            pixelToOverlay(*foot, screen) + glm::vec2(0.0f, (1.0f + PADDING / 2.0f) * size);
        tags[i]->setTransformation(glm::scale(
            glm::translate(glm::mat4(1.0f), glm::vec3(origin, 0.0f)), glm::vec3(size, size, 1.0f)));
        shown[i] = true;
        nodes.push_back(tags[i]);
    }
}

void NameTags::draw(Render::RKernel& kernel, const PixelRect& view, const Data::Camera& camera,
                    const std::vector<glm::vec3>& positions, std::optional<std::size_t> own) {
    place(view, screenSize(kernel), camera, positions, own);
    if (!nodes.empty()) {
        drawOverScreen(kernel, nodes);
    }
}

} // namespace Game
