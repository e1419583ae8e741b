#pragma once

#include "Data/Mesh.h"
#include "Data/SGNode.h"
#include "Tool/Export.h"

#include <memory>

namespace Data {

// A node that draws a list of meshes.
class BRUMBLY_API Object : public SGNode {
public:
    explicit Object(const MeshList& meshes = {});
    explicit Object(const MeshPtr& mesh);
    Object(const Object& other);

    BoundingBox getBoundingBox() const override;
    // Shares the meshes.
    SGNodePtr clone() const override;
    std::string toString() const override;

    const MeshList& getMeshes() const { return meshes; }
    void addMesh(const MeshPtr& mesh);

private:
    MeshList meshes;
};

using ObjectPtr = std::shared_ptr<Object>;

} // namespace Data
