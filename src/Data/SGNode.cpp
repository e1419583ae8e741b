#include "Data/SGNode.h"

#include <algorithm>
#include <glm/vec4.hpp>

namespace Data {

SGNode::SGNode(const SGNode& other) : Movable(other), name(other.name), material(other.material) {}

SGNode::~SGNode() {
    for (auto& [key, child] : children) {
        child->parent = nullptr;
    }
}

glm::mat4 SGNode::getWorldTransformation() const {
    return parent ? parent->getWorldTransformation() * getTransformation() : getTransformation();
}

BoundingBox SGNode::getBoundingBox() const {
    BoundingBox box{};
    for (const auto& [key, child] : children) {
        unionBox(box, transformBox(child->getBoundingBox(), child->getTransformation()));
    }
    return box;
}

SGNodePtr SGNode::clone() const {
    return std::make_shared<SGNode>(*this);
}

std::string SGNode::nodeText() const {
    std::string text = "SGNode";
    if (!name.empty()) {
        text += "(" + name + ")";
    }
    if (material) {
        text += " has Material";
    }
    return text;
}

std::string SGNode::toString() const {
    return nodeText();
}

void SGNode::addChild(const SGNodePtr& child) {
    if (!child || child.get() == this) {
        return;
    }
    // An ancestor as child would close a cycle: endless walks and a node tree
    // that keeps itself alive.
    for (const SGNode* ancestor = parent; ancestor; ancestor = ancestor->parent) {
        if (ancestor == child.get()) {
            return;
        }
    }
    if (child->parent) {
        child->parent->removeChild(child);
    }
    children[child.get()] = child;
    child->parent = this;
}

void SGNode::removeChild(const SGNodePtr& child) {
    if (!child || child->parent != this) {
        return;
    }
    child->parent = nullptr;
    children.erase(child.get());
}

SGNodePtr SGNode::findByName(const std::string& wanted) const {
    for (const auto& [key, child] : children) {
        if (child->name == wanted) {
            return child;
        }
    }
    for (const auto& [key, child] : children) {
        if (auto found = child->findByName(wanted)) {
            return found;
        }
    }
    return nullptr;
}

void SGNode::collectByName(const std::string& part, SGNodeList& found) const {
    for (const auto& [key, child] : children) {
        if (child->name.find(part) != std::string::npos) {
            found.push_back(child);
        }
        child->collectByName(part, found);
    }
}

SGNodePtr SGNode::deepCopy() const {
    SGNodePtr copy = clone();
    for (const auto& [key, child] : children) {
        copy->addChild(child->deepCopy());
    }
    return copy;
}

BoundingBox transformBox(const BoundingBox& box, const glm::mat4& transformation) {
    if (isEmptyBox(box)) {
        return BoundingBox{};
    }
    BoundingBox result{};
    for (int corner = 0; corner < 8; ++corner) {
        const glm::vec4 point =
            transformation * glm::vec4(box[(corner & 1) ? 3 : 0], box[(corner & 2) ? 4 : 1],
                                       box[(corner & 4) ? 5 : 2], 1.0f);
        for (int axis = 0; axis < 3; ++axis) {
            if (corner == 0 || point[axis] < result[axis]) {
                result[axis] = point[axis];
            }
            if (corner == 0 || point[axis] > result[axis + 3]) {
                result[axis + 3] = point[axis];
            }
        }
    }
    return result;
}

} // namespace Data
