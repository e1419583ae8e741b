#include "Game/views/WayAhead.h"

#include "Data/Mesh.h"
#include "Data/Object.h"
#include "Game/overlay/Notice.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

namespace Game {

namespace {

const glm::vec4 ARROW_COLOUR(1.0f, 0.85f, 0.1f, 0.95f);
const glm::vec2 NOTICE_SIZE(0.42f, 0.08f);

// An arrow pointing up (+y) in the unit square around the origin: a head and a shaft.
Data::MeshPtr makeArrowMesh(const Data::MaterialPtr& material) {
    auto mesh = std::make_shared<Data::Mesh>("arrow");
    const std::array<glm::vec3, 7> corners = {{{0.0f, 0.5f, 0.0f},
                                               {-0.4f, 0.05f, 0.0f},
                                               {0.4f, 0.05f, 0.0f},
                                               {-0.14f, 0.05f, 0.0f},
                                               {0.14f, 0.05f, 0.0f},
                                               {0.14f, -0.5f, 0.0f},
                                               {-0.14f, -0.5f, 0.0f}}};
    mesh->texCoords.resize(1);
    for (const glm::vec3& corner : corners) {
        mesh->vertices.push_back(corner);
        mesh->normals.emplace_back(0.0f, 0.0f, 1.0f);
        mesh->texCoords[0].emplace_back(corner.x + 0.5f, corner.y + 0.5f);
    }
    mesh->indices = {0, 1, 2, 3, 5, 4, 3, 6, 5};
    mesh->faces.push_back({Data::FT_TRIANGLES, 9, material});
    mesh->check();
    return mesh;
}

// An overlay dialog drawn as an arrow turned by an angle, as large as the smaller
// side of its rectangle lets it be, so that it keeps its shape at any angle.
class ArrowDialog : public Dialog {
public:
    using Dialog::Dialog;

    void setAngle(float radians) {
        if (radians != angle) {
            angle = radians;
            rebuild();
        }
    }

    void rebuild() override {
        if (!drawable) {
            drawable = std::make_shared<Data::Object>(makeArrowMesh(getMaterial()));
            drawable->setMaterial(getMaterial());
        }
        const DialogRect rect = getAbsoluteRect();
        const glm::vec2 lower = Frame::toDevice(getFrame(), rect.corner);
        const glm::vec2 upper = Frame::toDevice(getFrame(), rect.corner + rect.size);
        const glm::vec2 extent = upper - lower;
        const float side = std::min(extent.x, extent.y);
        const glm::mat4 placed =
            glm::translate(glm::mat4(1.0f), glm::vec3((lower + upper) / 2.0f, 0.0f));
        drawable->setTransformation(glm::rotate(glm::scale(placed, glm::vec3(side, side, 1.0f)),
                                                angle, glm::vec3(0.0f, 0.0f, 1.0f)));
        rebuildChildren();
    }

private:
    float angle = 0.0f;
};

} // namespace

float bearingTo(const glm::quat& rotation, const glm::vec2& from, const glm::vec2& target) {
    const glm::vec3 forward = rotation * glm::vec3(0.0f, 0.0f, 1.0f);
    const glm::vec2 ahead(forward.x, forward.z);
    // Seen along +z with y up, +x lies to the driver's left.
    const glm::vec2 left(forward.z, -forward.x);
    const glm::vec2 toTarget = target - from;
    return std::atan2(glm::dot(toTarget, left), glm::dot(toTarget, ahead));
}

bool WrongWayWatch::update(const glm::vec2& position, const glm::vec2& checkpoint, double dt) {
    const std::optional<glm::vec2> before = previous;
    previous = position;
    if (!before || dt <= 0.0) {
        return isWrongWay();
    }
    const glm::vec2 moved = position - *before;
    const glm::vec2 toCheckpoint = checkpoint - position;
    const float movedLength = glm::length(moved);
    const float away = glm::length(toCheckpoint);
    const bool moving = movedLength > minimumSpeed * static_cast<float>(dt);
    // cos 120 degrees: the car moves more than 120 degrees away from its checkpoint.
    const bool against =
        moving && away > 0.0f && glm::dot(moved, toCheckpoint) < -0.5f * movedLength * away;
    this->against = against ? this->against + dt : 0.0;
    return isWrongWay();
}

std::unique_ptr<WayAhead> WayAhead::create(Frame& frame, const DialogPtr& panel, std::size_t index,
                                           const std::string& driver, bool named) {
    const std::string text = named ? "Wrong way, " + driver + "!" : "Wrong way!";
    // Several people's notices stack down the screen's middle.
    const float height = 0.5f - 0.09f * static_cast<float>(index);
    const DialogPtr notice = createNotice(frame, "WrongWay" + std::to_string(index), text,
                                          {0.5f, height}, NOTICE_SIZE, 0.6f);
    if (!notice) {
        return nullptr;
    }
    notice->setColor({0.5f, 0.05f, 0.05f, 0.85f});
    std::unique_ptr<WayAhead> wayAhead(new WayAhead());
    wayAhead->notice = notice;
    auto arrow = std::make_shared<ArrowDialog>("WayArrow", &frame);
    arrow->setColor(ARROW_COLOUR);
    // A square just left of the panel, as tall as the panel.
    arrow->setAlignment(DA_HIGH, DA_CENTRE);
    arrow->setPosition({-0.01f, 0.5f});
    arrow->setSize({0.2f, 1.4f});
    addChild(panel, arrow);
    arrow->setVisible(panel->isVisible());
    arrow->setActive(panel->isActive());
    wayAhead->arrow = arrow;
    return wayAhead;
}

void WayAhead::placeNotice(const DialogRect& view) {
    const float scale = std::min(1.0f, 0.9f * view.size.x / NOTICE_SIZE.x);
    notice->setPosition(view.corner + view.size / 2.0f);
    notice->setSize(NOTICE_SIZE * scale);
}

void WayAhead::update(const glm::quat& rotation, const glm::vec2& position,
                      const glm::vec2& checkpoint, double dt) {
    static_cast<ArrowDialog&>(*arrow).setAngle(bearingTo(rotation, position, checkpoint));
    const bool wrongWay = watch.update(position, checkpoint, dt);
    notice->setVisible(wrongWay);
    notice->setActive(wrongWay);
}

} // namespace Game
