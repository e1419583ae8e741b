#include "Game/overlay/Dialog.h"

#include "Data/Object.h"
#include "Data/Shapes.h"
#include "Game/overlay/Frame.h"
#include "System/File.h"

#include <algorithm>
#include <glm/gtc/matrix_transform.hpp>

namespace Game {

float alignmentShare(std::int32_t alignment) {
    if (alignment == DA_CENTRE) {
        return 0.5f;
    }
    return alignment == DA_HIGH ? 1.0f : 0.0f;
}

Dialog::Dialog(const std::string& name, Frame* frame)
    : name(name), frame(frame), material(std::make_shared<Data::Material>()) {
    const glm::vec4 white(1.0f);
    material->set(Data::MP_AMBIENT, white);
    material->set(Data::MP_DIFFUSE, white);
    material->set(Data::MP_SPECULAR, glm::vec4(0.2f, 0.2f, 0.2f, 1.0f));
    material->set(Data::MP_EMISSION, glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    material->set(Data::MP_SHININESS, 0.0f);
}

void Dialog::update(double dt) {
    if (!visible) {
        return;
    }
    for (const DialogPtr& child : children) {
        child->update(dt);
    }
}

void Dialog::collect(Data::SGNodeList& drawList) {
    if (!visible || !active) {
        return;
    }
    if (drawable) {
        drawList.push_back(drawable);
    }
    for (const DialogPtr& child : children) {
        child->collect(drawList);
    }
}

void Dialog::rebuild() {
    if (!drawable) {
        // A unit square, stretched over the rectangle by the node's transform, so
        // that moving a dialog never makes a new mesh.
        drawable = std::make_shared<Data::Object>(
            Data::makeQuad(1.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, nullptr));
        drawable->setMaterial(material);
    }
    const DialogRect rect = getAbsoluteRect();
    const glm::vec2 lower = Frame::toDevice(frame, rect.corner);
    const glm::vec2 upper = Frame::toDevice(frame, rect.corner + rect.size);
    const glm::mat4 placed =
        glm::translate(glm::mat4(1.0f), glm::vec3((lower + upper) / 2.0f, 0.0f));
    drawable->setTransformation(glm::scale(placed, glm::vec3(upper - lower, 1.0f)));
    rebuildChildren();
}

void Dialog::rebuildChildren() {
    for (const DialogPtr& child : children) {
        child->rebuild();
    }
}

DialogPtr Dialog::findChild(const std::string& childName) const {
    const auto found = std::find_if(children.begin(), children.end(),
                                    [&](const DialogPtr& c) { return c->getName() == childName; });
    return found == children.end() ? nullptr : *found;
}

void Dialog::setVisible(const bool& value) {
    visible = value;
    for (const DialogPtr& child : children) {
        child->setVisible(value);
    }
}

void Dialog::setActive(const bool& value) {
    active = value;
    for (const DialogPtr& child : children) {
        child->setActive(value);
    }
}

void Dialog::setAlignment(std::int32_t horizontal, std::int32_t vertical) {
    if (horizontal == horizontalAlignment && vertical == verticalAlignment) {
        return;
    }
    horizontalAlignment = horizontal;
    verticalAlignment = vertical;
    rebuild();
}

void Dialog::setPosition(const glm::vec2& value) {
    if (value == position) {
        return;
    }
    position = value;
    rebuild();
}

void Dialog::setSize(const glm::vec2& value) {
    if (value == size) {
        return;
    }
    size = value;
    rebuild();
}

void Dialog::setColor(const glm::vec4& colour) {
    material->set(Data::MP_AMBIENT, colour);
}

glm::vec4 Dialog::getColor() const {
    return material->getColor(Data::MP_AMBIENT);
}

void Dialog::setImage(const std::string& file) {
    setImage(System::File::loadImage(System::AssetRef{file, "data\\images\\"}));
}

void Dialog::setImage(const Data::ImagePtr& image) {
    if (image && image->isValid()) {
        material->set(Data::MP_DIFFUSE_TEXTURE, image);
    } else {
        material->remove(Data::MP_DIFFUSE_TEXTURE);
    }
}

DialogRect Dialog::getAbsoluteRect() const {
    if (!frame) {
        return DialogRect{};
    }
    const glm::vec2 share(alignmentShare(horizontalAlignment), alignmentShare(verticalAlignment));
    const glm::vec2 localCorner = position - share * size;
    const DialogPtr owner = parent.lock();
    if (!owner) {
        return DialogRect{localCorner, size};
    }
    const DialogRect outer = owner->getAbsoluteRect();
    return DialogRect{outer.corner + localCorner * outer.size, size * outer.size};
}

void Dialog::detachFromFrame() {
    frame = nullptr;
    for (const DialogPtr& child : children) {
        child->detachFromFrame();
    }
}

void addChild(const DialogPtr& parent, const DialogPtr& child) {
    if (!parent || !child) {
        return;
    }
    for (Dialog* above = parent.get(); above; above = above->parent.lock().get()) {
        if (above == child.get()) {
            return;
        }
    }
    if (const DialogPtr previous = child->parent.lock()) {
        std::erase(previous->children, child);
    }
    parent->children.push_back(child);
    child->parent = parent;
    child->rebuild();
}

} // namespace Game
