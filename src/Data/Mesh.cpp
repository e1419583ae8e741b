#include "Data/Mesh.h"

#include "Data/Material.h"
#include "Tool/LogManager.h"
#include "Tool/LogText.h"

#include <sstream>

namespace Data {

bool isEmptyBox(const BoundingBox& box) {
    return box[3] - box[0] == 0.0f && box[4] - box[1] == 0.0f && box[5] - box[2] == 0.0f;
}

void unionBox(BoundingBox& target, const BoundingBox& source) {
    if (isEmptyBox(source)) {
        return;
    }
    if (isEmptyBox(target)) {
        target = source;
        return;
    }
    for (int axis = 0; axis < 3; ++axis) {
        target[axis] = std::min(target[axis], source[axis]);
        target[axis + 3] = std::max(target[axis + 3], source[axis + 3]);
    }
}

Mesh::Mesh(const std::string& name) : name(name) {}

bool Mesh::check() {
    const std::string prefix = "Mesh " + Tool::logExcerpt(name) + " check: ";
    const std::string cannotFix = ", CAN'T fix this!!\n";
    const std::size_t vertexCount = vertices.size();
    std::ostringstream findings;
    bool failed = false;
    auto fail = [&](const std::string& text) {
        findings << prefix << text << cannotFix;
        failed = true;
    };

    if (vertexCount == 0) {
        fail("no vertices");
    }
    if (!normals.empty() && normals.size() != vertexCount) {
        fail("number of Normals " + std::to_string(normals.size()) +
             " don't match number of vertices " + std::to_string(vertexCount));
    }
    for (const auto& set : texCoords) {
        if (!set.empty() && set.size() != vertexCount) {
            fail("number of Textures " + std::to_string(set.size()) +
                 " don't match number of vertices " + std::to_string(vertexCount));
        }
    }
    if (!colors.empty() && colors.size() != vertexCount) {
        fail("number of Colors " + std::to_string(colors.size()) +
             " don't match number of vertices " + std::to_string(vertexCount));
    }

    const std::size_t expected = indices.empty() ? vertexCount : indices.size();
    if (faces.empty()) {
        // The repaired group draws points: it makes no claim about how the data
        // divides into lines or triangles. Callers that know set the type.
        Face face;
        face.type = FT_POINTS;
        face.count = static_cast<std::uint32_t>(expected);
        faces.push_back(face);
        findings << prefix << "no faces defined, fixed!\n";
    } else {
        std::size_t sum = 0;
        for (const auto& face : faces) {
            if (face.type == FT_LINES && face.count % 2 != 0) {
                fail("face count " + std::to_string(face.count) + " is not a multiplyer of 2 for " +
                     " facetype Lines");
            } else if (face.type == FT_TRIANGLES && face.count % 3 != 0) {
                fail("face count " + std::to_string(face.count) + " is not a multiplyer of 3 for " +
                     " facetype Triangles");
            }
            sum += face.count;
        }
        if (sum != expected) {
            fail("face counters add up to " + std::to_string(sum) + " and should be " +
                 std::to_string(expected));
        }
    }

    for (const auto index : indices) {
        if (index >= vertexCount) {
            // With no vertices there is no valid index; the limit reads as -1.
            fail("index is " + std::to_string(index) + "but shouldn't be higher than " +
                 std::to_string(static_cast<long long>(vertexCount) - 1));
        }
    }

    if (failed) {
        Tool::LogManager::getInstance().send(
            Tool::Message("Mesh::check", "", findings.str(), __FILE__, __LINE__, Tool::MT_ERROR));
    }
    return !failed;
}

const BoundingBox& Mesh::getBoundingBox() {
    if (isEmptyBox(boundingBox) && !vertices.empty()) {
        const glm::vec3& first = vertices.front();
        boundingBox = {first.x, first.y, first.z, first.x, first.y, first.z};
        for (const auto& vertex : vertices) {
            for (int axis = 0; axis < 3; ++axis) {
                if (boundingBox[axis + 3] < vertex[axis]) {
                    boundingBox[axis + 3] = vertex[axis];
                } else if (boundingBox[axis] > vertex[axis]) {
                    boundingBox[axis] = vertex[axis];
                }
            }
        }
    }
    return boundingBox;
}

void Mesh::resetBoundingBox() {
    boundingBox = {};
}

void Mesh::translate(const glm::vec3& offset) {
    for (auto& vertex : vertices) {
        vertex += offset;
    }
    resetBoundingBox();
}

void Mesh::writeDebugText(std::ostream& out) const {
    out << "Mesh " << name << ":";
    if (!indices.empty()) {
        out << " i" << indices.size();
    }
    out << " v" << vertices.size();
    if (!normals.empty()) {
        out << "n";
    }
    if (!colors.empty()) {
        out << "c";
    }
    if (!texCoords.empty()) {
        out << " t" << texCoords.size();
    }
    if (faces.empty()) {
        return;
    }
    out << " f" << faces.size() << ":";
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const Face& face = faces[i];
        if (i > 0) {
            out << ",";
        }
        if (face.material) {
            out << " " << face.material->name << "(";
        }
        switch (face.type) {
        case FT_POINTS:
            out << "pt";
            break;
        case FT_LINES:
            out << "li";
            break;
        case FT_TRIANGLES:
            out << "tr";
            break;
        default:
            out << "?";
        }
        out << ")";
    }
}

std::string Mesh::getDebugText() const {
    std::ostringstream out;
    writeDebugText(out);
    return out.str();
}

BoundingBox Mesh::getBoundingBox(const MeshList& meshes) {
    BoundingBox box{};
    for (const auto& mesh : meshes) {
        if (mesh) {
            unionBox(box, mesh->getBoundingBox());
        }
    }
    return box;
}

void Mesh::writeDebugText(std::ostream& out, const MeshList& meshes) {
    if (meshes.size() == 1) {
        if (meshes.front()) {
            meshes.front()->writeDebugText(out);
        }
        return;
    }
    std::size_t indexCount = 0;
    std::size_t vertexCount = 0;
    bool anyNormals = false;
    bool anyColors = false;
    bool anyTexCoords = false;
    for (const auto& mesh : meshes) {
        if (!mesh) {
            continue;
        }
        indexCount += mesh->indices.size();
        vertexCount += mesh->vertices.size();
        anyNormals = anyNormals || !mesh->normals.empty();
        anyColors = anyColors || !mesh->colors.empty();
        anyTexCoords = anyTexCoords || !mesh->texCoords.empty();
    }
    out << meshes.size() << " Meshes";
    if (indexCount > 0) {
        out << " i" << indexCount;
    }
    out << " v" << vertexCount;
    if (anyNormals) {
        out << "n";
    }
    if (anyColors) {
        out << "c";
    }
    if (anyTexCoords) {
        out << "t";
    }
}

std::string Mesh::getDebugText(const MeshList& meshes) {
    std::ostringstream out;
    writeDebugText(out, meshes);
    return out.str();
}

} // namespace Data
