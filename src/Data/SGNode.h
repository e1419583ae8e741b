#pragma once

#include "Data/Mesh.h"
#include "Data/Movable.h"
#include "Tool/Export.h"

#include <glm/mat4x4.hpp>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Data {

class Material;
class SGNode;
using SGNodePtr = std::shared_ptr<SGNode>;
using SGNodeList = std::vector<SGNodePtr>;

// A scene-graph node: local transform, optional material and children. Children
// are keyed (and therefore traversed) by node address, not by insertion order.
class BRUMBLY_API SGNode : public Movable {
public:
    using ChildMap = std::map<const SGNode*, SGNodePtr>;

    SGNode() = default;
    // Copies name, material and local transform; no parent, no children.
    SGNode(const SGNode& other);
    SGNode& operator=(const SGNode&) = delete;
    virtual ~SGNode();

    // Parent's world transform x local transform; the local one for a root.
    virtual glm::mat4 getWorldTransformation() const;
    // Union of the children's boxes, each transformed by the child's local transform.
    virtual BoundingBox getBoundingBox() const;
    // A new node of the same class with the same name, material, transform and
    // class members, without children.
    virtual SGNodePtr clone() const;
    virtual std::string toString() const;

    const std::string& getName() const { return name; }
    void setName(const std::string& value) { name = value; }
    const std::shared_ptr<Material>& getMaterial() const { return material; }
    void setMaterial(const std::shared_ptr<Material>& value) { material = value; }

    SGNode* getParent() const { return parent; }
    const ChildMap& getChildren() const { return children; }

    // Ignores an empty pointer and the node itself; takes the child from its
    // previous parent first.
    void addChild(const SGNodePtr& child);
    // Only removes a child whose parent is this node.
    void removeChild(const SGNodePtr& child);

    // First direct child with exactly this name, else the first hit searching each
    // child's subtree in map order; empty when none.
    SGNodePtr findByName(const std::string& name) const;
    // Appends, in pre-order below this node, every node whose name contains `part`.
    void collectByName(const std::string& part, SGNodeList& found) const;

    // Clone of this node with deep copies of all children.
    SGNodePtr deepCopy() const;

protected:
    // The "SGNode(name) has Material" part that subclasses prefix with their tag.
    std::string nodeText() const;

private:
    std::string name;
    std::shared_ptr<Material> material;
    SGNode* parent = nullptr;
    ChildMap children;
};

// Applies a 4x4 transform to a box: the box of its eight transformed corners.
// An empty box stays all zero.
BRUMBLY_API BoundingBox transformBox(const BoundingBox& box, const glm::mat4& transformation);

} // namespace Data
