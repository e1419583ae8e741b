#include "Data/Object.h"

namespace Data {

Object::Object(const MeshList& meshes) : meshes(meshes) {}

Object::Object(const MeshPtr& mesh) {
    if (mesh) {
        meshes.push_back(mesh);
    }
}

Object::Object(const Object& other) : SGNode(other), meshes(other.meshes) {}

BoundingBox Object::getBoundingBox() const {
    BoundingBox box = Mesh::getBoundingBox(meshes);
    unionBox(box, SGNode::getBoundingBox());
    return box;
}

SGNodePtr Object::clone() const {
    return std::make_shared<Object>(*this);
}

std::string Object::toString() const {
    return "Object::" + nodeText() + " " + Mesh::getDebugText(meshes);
}

void Object::addMesh(const MeshPtr& mesh) {
    if (mesh) {
        meshes.push_back(mesh);
    }
}

} // namespace Data
