#include "Game/views/MapProjection.h"

#include <algorithm>
#include <glm/gtc/matrix_transform.hpp>

namespace Game {

MapProjection::MapProjection(const glm::vec2& size, const PixelRect& area)
    : levelSize(glm::max(size, glm::vec2(1.0f))) {
    scale = std::max(0.0f, std::min(area.width / levelSize.x, area.height / levelSize.y));
    covered.width = levelSize.x * scale;
    covered.height = levelSize.y * scale;
    covered.x = area.x + (area.width - covered.width) / 2.0f;
    covered.y = area.y + (area.height - covered.height) / 2.0f;
}

glm::vec2 MapProjection::toMap(const glm::vec2& ground) const {
    const glm::vec2 inside = glm::clamp(ground, glm::vec2(0.0f), levelSize);
    return {covered.x + inside.x * scale, covered.y + (levelSize.y - inside.y) * scale};
}

glm::mat4 MapProjection::planeToPixels() const {
    const glm::mat4 moved =
        glm::translate(glm::mat4(1.0f), glm::vec3(covered.x, covered.y + covered.height, 0.0f));
    return glm::scale(moved, glm::vec3(scale, scale, 1.0f));
}

} // namespace Game
