#include "Game/views/NameTags.h"

#include "Data/Object.h"
#include "Data/Shapes.h"
#include "Data/TextDrawable.h"

#include <algorithm>
#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

namespace Game {

namespace {

const char* const FONT = "Newsflash";
const glm::vec4 PLATE_COLOUR(0.0f, 0.0f, 0.0f, 0.65f);
// The text's height in pixels: a share of the view's height, never below a size
// that still reads.
constexpr float TEXT_SHARE = 0.04f;
constexpr float MINIMUM_TEXT = 18.0f;
// Around the text on its plate, in text heights.
constexpr float PADDING = 0.25f;
// Closer than this to the camera's plane a point counts as behind it.
constexpr float NEAREST = 0.1f;

// A driver's colour lightened a little, so that dark colours read on the dark plate.
glm::vec4 textColour(const glm::vec3& colour) {
    return glm::vec4(glm::mix(colour / 255.0f, glm::vec3(1.0f), 0.2f), 1.0f);
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
        auto plate = std::make_shared<Data::Object>(
            Data::makeQuad(1.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, nullptr));
        plate->setMaterial(flatMaterial(PLATE_COLOUR));
        // The plate covers the glyphs, and at least the line's height, with padding.
        glm::vec2 low(0.0f, -1.0f);
        glm::vec2 high(0.0f, 0.0f);
        if (!Data::isEmptyBox(box)) {
            low = glm::vec2(box[0], std::min(box[1], low.y));
            high = glm::vec2(box[3], std::max(box[4], high.y));
        }
        tags.push_back({text, plate, low - PADDING, high + PADDING});
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
    // The tags in view, lowest on the screen first: a tag that would cover one
    // placed already moves up above it, so that cars side by side keep readable tags.
    std::vector<std::pair<std::size_t, glm::vec2>> feet;
    const std::size_t count = std::min(tags.size(), positions.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (own == i) {
            continue;
        }
        if (const std::optional<glm::vec2> foot = project(
                positions[i] + glm::vec3(0.0f, lift, 0.0f), viewMatrix, projection, view, range)) {
            feet.emplace_back(i, *foot);
        }
    }
    std::stable_sort(feet.begin(), feet.end(),
                     [](const auto& a, const auto& b) { return a.second.y < b.second.y; });
    std::vector<glm::vec4> placed; // left, bottom, right, top in pixels
    nodes.clear();
    shown.assign(tags.size(), false);
    for (auto [car, foot] : feet) {
        const Tag& tag = tags[car];
        const glm::vec2 plate = (tag.high - tag.low) * height;
        for (std::size_t pass = 0; pass <= placed.size(); ++pass) {
            const auto covered =
                std::find_if(placed.begin(), placed.end(), [&](const glm::vec4& r) {
                    return foot.x - plate.x / 2.0f < r.z && foot.x + plate.x / 2.0f > r.x &&
                           foot.y < r.w && foot.y + plate.y > r.y;
                });
            if (covered == placed.end()) {
                break;
            }
            foot.y = covered->w;
        }
        placed.emplace_back(foot.x - plate.x / 2.0f, foot.y, foot.x + plate.x / 2.0f,
                            foot.y + plate.y);
        // The plate's bottom middle on the foot; text and plate share the placing.
        const glm::vec2 origin =
            foot - glm::vec2((tag.low.x + tag.high.x) / 2.0f, tag.low.y) * height;
        const glm::mat4 placing = glm::scale(
            glm::translate(glm::mat4(1.0f), glm::vec3(pixelToOverlay(origin, screen), 0.0f)),
            glm::vec3(size, size, 1.0f));
        tag.text->setTransformation(placing);
        tag.plate->setTransformation(
            glm::scale(glm::translate(placing, glm::vec3((tag.low + tag.high) / 2.0f, 0.0f)),
                       glm::vec3(tag.high - tag.low, 1.0f)));
        shown[car] = true;
        // Each plate right before its text: children of one node are drawn in no set
        // order.
        nodes.insert(nodes.end(), {tag.plate, tag.text});
    }
}

void NameTags::draw(Render::RKernel& kernel, const PixelRect& view, const Data::Camera& camera,
                    const std::vector<glm::vec3>& positions, std::optional<std::size_t> own) {
    const glm::vec2 screen = screenSize(kernel);
    if (screen.x <= 0.0f || screen.y <= 0.0f) {
        return;
    }
    place(view, screen, camera, positions, own);
    if (!nodes.empty()) {
        drawOverScreen(kernel, nodes);
    }
}

} // namespace Game
