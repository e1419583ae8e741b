#include "Render/glResources/GLMesh.h"

#include <GL/glew.h>

namespace Render {
namespace {

template <typename T> std::size_t bytes(const std::vector<T>& values) {
    return values.size() * sizeof(T);
}

const void* atOffset(std::size_t offset) {
    return reinterpret_cast<const void*>(offset);
}

} // namespace

GLMesh::GLMesh(const Data::Mesh& mesh)
    : indexed(!mesh.indices.empty()), indexSource(mesh.indices.data()),
      indexByteSize(bytes(mesh.indices)), vertexCount(mesh.vertices.size()), faces(mesh.faces) {
    if (mesh.vertices.empty())
        return;
    auto add = [this](const std::string& name, int components, const void* data, std::size_t size) {
        const std::size_t offset =
            attributes.empty() ? 0 : attributes.back().offset + attributes.back().byteSize;
        attributes.push_back({name, components, data, offset, size});
    };
    add("in_Position", 3, mesh.vertices.data(), bytes(mesh.vertices));
    if (!mesh.normals.empty())
        add("in_Normal", 3, mesh.normals.data(), bytes(mesh.normals));
    if (!mesh.colors.empty())
        add("in_Color", 4, mesh.colors.data(), bytes(mesh.colors));
    for (std::size_t set = 0; set < mesh.texCoords.size(); ++set)
        if (!mesh.texCoords[set].empty())
            add("in_TexCoord" + std::to_string(set), 2, mesh.texCoords[set].data(),
                bytes(mesh.texCoords[set]));
}

GLMesh::~GLMesh() {
    if (!uploaded)
        return;
    glDeleteBuffers(1, &vertexBuffer);
    if (indexBuffer != 0)
        glDeleteBuffers(1, &indexBuffer);
}

void GLMesh::upload() {
    if (uploaded || attributes.empty())
        return;
    if (indexed) {
        glGenBuffers(1, &indexBuffer);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, indexByteSize, indexSource, GL_STATIC_DRAW);
    }
    glGenBuffers(1, &vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, attributes.back().offset + attributes.back().byteSize, nullptr,
                 GL_STATIC_DRAW);
    for (const Attribute& attribute : attributes)
        glBufferSubData(GL_ARRAY_BUFFER, attribute.offset, attribute.byteSize, attribute.source);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    uploaded = true;
}

void GLMesh::draw(std::uint32_t program, const StreamBuffers& stream,
                  const MaterialHook& applyMaterial) const {
    if (attributes.empty())
        return;
    glBindBuffer(GL_ARRAY_BUFFER, uploaded ? vertexBuffer : stream.vertices);
    if (!uploaded) {
        // A fresh data store each draw: nothing of an earlier draw is kept.
        glBufferData(GL_ARRAY_BUFFER, attributes.back().offset + attributes.back().byteSize,
                     nullptr, GL_STREAM_DRAW);
        for (const Attribute& attribute : attributes)
            glBufferSubData(GL_ARRAY_BUFFER, attribute.offset, attribute.byteSize,
                            attribute.source);
    }
    std::vector<GLuint> enabled;
    for (const Attribute& attribute : attributes) {
        const GLint location = glGetAttribLocation(program, attribute.name.c_str());
        if (location == -1)
            continue;
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, attribute.components, GL_FLOAT, GL_FALSE, 0,
                              atOffset(attribute.offset));
        enabled.push_back(location);
    }
    if (indexed) {
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, uploaded ? indexBuffer : stream.indices);
        if (!uploaded)
            glBufferData(GL_ELEMENT_ARRAY_BUFFER, indexByteSize, indexSource, GL_STREAM_DRAW);
    }

    // Groups that would read past the end of the data are not drawn.
    const std::size_t available = indexed ? indexByteSize / sizeof(std::uint32_t) : vertexCount;
    std::size_t first = 0;
    for (const Data::Face& face : faces) {
        const std::size_t count = face.count;
        if (first + count > available)
            break;
        if (applyMaterial)
            applyMaterial(face.material);
        const GLenum mode = face.type == Data::FT_POINTS  ? GL_POINTS
                            : face.type == Data::FT_LINES ? GL_LINES
                                                          : GL_TRIANGLES;
        if (indexed)
            glDrawElements(mode, static_cast<GLsizei>(count), GL_UNSIGNED_INT,
                           atOffset(first * sizeof(std::uint32_t)));
        else
            glDrawArrays(mode, static_cast<GLint>(first), static_cast<GLsizei>(count));
        first += count;
    }

    for (GLuint location : enabled)
        glDisableVertexAttribArray(location);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

} // namespace Render
