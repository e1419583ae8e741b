#pragma once

#include "Data/Mesh.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Render {

// Buffers a mesh is streamed through when it has no buffers of its own.
struct StreamBuffers {
    std::uint32_t vertices = 0;
    std::uint32_t indices = 0;
};

// The GPU side of a mesh: its attribute arrays by shader attribute name and its face
// groups. Uploaded, it owns a vertex buffer (all arrays one after another) and an
// index buffer. Not uploaded, it refers to the mesh's own arrays, which must then
// outlive it, and sends them again on every draw.
class GLMesh {
public:
    struct Attribute {
        std::string name;
        int components = 0;
        const void* source = nullptr; // the mesh's array
        std::size_t offset = 0;       // place in the vertex buffer
        std::size_t byteSize = 0;
    };
    // Called before each face group is drawn, with the group's material.
    using MaterialHook = std::function<void(const std::shared_ptr<Data::Material>&)>;

    explicit GLMesh(const Data::Mesh& mesh);
    GLMesh(const GLMesh&) = delete;
    GLMesh& operator=(const GLMesh&) = delete;
    ~GLMesh();

    // Copies the arrays into buffers of their own, once.
    void upload();
    // Draws with the given program. Without buffers of its own the arrays are sent
    // through the stream buffers.
    void draw(std::uint32_t program, const StreamBuffers& stream,
              const MaterialHook& applyMaterial) const;

    bool isUploaded() const { return uploaded; }
    bool isIndexed() const { return indexed; }
    const std::vector<Attribute>& getAttributes() const { return attributes; }
    const std::vector<Data::Face>& getFaces() const { return faces; }

private:
    std::uint32_t vertexBuffer = 0;
    std::uint32_t indexBuffer = 0;
    bool uploaded = false;
    bool indexed = false;
    const void* indexSource = nullptr;
    std::size_t indexByteSize = 0;
    std::size_t vertexCount = 0;
    std::vector<Attribute> attributes;
    std::vector<Data::Face> faces;
};

using GLMeshPtr = std::shared_ptr<GLMesh>;

} // namespace Render
