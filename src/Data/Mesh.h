#pragma once

#include "Tool/Export.h"

#include <array>
#include <cstdint>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace Data {

class Material;

enum FaceType : std::int32_t { FT_POINTS = 0, FT_LINES = 1, FT_TRIANGLES = 2 };

// One run of primitives that consumes `count` entries of the index list (or of the
// vertex list when the mesh has no indices), drawn with `material` when it is set.
struct Face {
    std::int32_t type = FT_TRIANGLES;
    std::uint32_t count = 0;
    std::shared_ptr<Material> material;
};

// Axis-aligned box: minimum x, y, z, then maximum x, y, z.
using BoundingBox = std::array<float, 6>;

// A box is empty when its extent is exactly 0 on all three axes.
BRUMBLY_API bool isEmptyBox(const BoundingBox& box);
// Merges source into target: an empty source changes nothing, an empty target
// takes the source, otherwise the smaller minimum and larger maximum per axis.
BRUMBLY_API void unionBox(BoundingBox& target, const BoundingBox& source);

class Mesh;
using MeshPtr = std::shared_ptr<Mesh>;
using MeshList = std::vector<MeshPtr>;

// Vertex data with optional per-vertex attributes and a list of face groups.
// The attribute lists are plain data; whoever changes `vertices` after the box was
// computed calls resetBoundingBox().
class BRUMBLY_API Mesh {
public:
    Mesh() = default;
    explicit Mesh(const std::string& name);

    // Validates the mesh, logging every finding in one message. Repairs a missing
    // face list without failing: one points group over all indices or vertices,
    // whose type callers that know better overwrite.
    bool check();

    // The cached box, computed from the vertices when it is empty.
    const BoundingBox& getBoundingBox();
    void resetBoundingBox();
    void translate(const glm::vec3& offset);

    void writeDebugText(std::ostream& out) const;
    std::string getDebugText() const;

    static BoundingBox getBoundingBox(const MeshList& meshes);
    static void writeDebugText(std::ostream& out, const MeshList& meshes);
    static std::string getDebugText(const MeshList& meshes);

    std::string name;
    std::vector<Face> faces;
    std::vector<std::uint32_t> indices;
    std::vector<glm::vec3> vertices;
    std::vector<glm::vec3> normals;
    std::vector<std::vector<glm::vec2>> texCoords;
    std::vector<glm::vec4> colors;

private:
    BoundingBox boundingBox{};
};

} // namespace Data
