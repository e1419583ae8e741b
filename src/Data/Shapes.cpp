#include "Data/Shapes.h"

#include "Data/Material.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <glm/geometric.hpp>

namespace Data {

namespace {

// A material with the given colours, black emission, shininess 0 and the image as
// diffuse texture when it holds a picture.
MaterialPtr makeMaterial(const glm::vec4& ambient, const glm::vec4& diffuse,
                         const glm::vec4& specular, const ImagePtr& image) {
    auto material = std::make_shared<Material>();
    material->set(MP_AMBIENT, ambient);
    material->set(MP_DIFFUSE, diffuse);
    material->set(MP_SPECULAR, specular);
    material->set(MP_EMISSION, glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    material->set(MP_SHININESS, 0.0f);
    if (image && image->isValid()) {
        material->set(MP_DIFFUSE_TEXTURE, image);
    }
    return material;
}

MaterialPtr makeSkyMaterial(const ImagePtr& image) {
    const glm::vec4 black(0.0f, 0.0f, 0.0f, 1.0f);
    return makeMaterial(glm::vec4(1.0f), black, black, image);
}

// Runs the check, which appends one group over all indices, and makes it triangles.
void addTriangleGroup(Mesh& mesh) {
    mesh.check();
    mesh.faces.front().type = FT_TRIANGLES;
}

} // namespace

MeshPtr makeLinesBox(float x0, float y0, float z0, float x1, float y1, float z1) {
    auto mesh = std::make_shared<Mesh>("linesBox");
    mesh->vertices = {// top rectangle
                      {x1, y1, z1},
                      {x1, y1, z0},
                      {x1, y1, z0},
                      {x0, y1, z0},
                      {x0, y1, z0},
                      {x0, y1, z1},
                      {x0, y1, z1},
                      {x1, y1, z1},
                      // bottom rectangle
                      {x0, y0, z1},
                      {x0, y0, z0},
                      {x0, y0, z0},
                      {x1, y0, z0},
                      {x1, y0, z0},
                      {x1, y0, z1},
                      {x1, y0, z1},
                      {x0, y0, z1},
                      // vertical edges
                      {x0, y0, z1},
                      {x0, y1, z1},
                      {x0, y0, z0},
                      {x0, y1, z0},
                      {x1, y0, z0},
                      {x1, y1, z0},
                      {x1, y0, z1},
                      {x1, y1, z1}};
    mesh->colors.assign(mesh->vertices.size(), glm::vec4(1.0f));
    mesh->faces.push_back({FT_LINES, 24, nullptr});
    mesh->check();
    return mesh;
}

MeshPtr makeLinesAxis(float lx, float ly, float lz) {
    auto mesh = std::make_shared<Mesh>("linesAxis");
    mesh->vertices = {{0.0f, 0.0f, 0.0f}, {lx, 0.0f, 0.0f}, {0.0f, ly, 0.0f}, {0.0f, 0.0f, lz}};
    mesh->colors = {{1.0f, 1.0f, 1.0f, 1.0f},
                    {1.0f, 0.0f, 0.0f, 1.0f},
                    {0.0f, 1.0f, 0.0f, 1.0f},
                    {0.0f, 0.0f, 1.0f, 1.0f}};
    mesh->indices = {0, 1, 0, 2, 0, 3};
    mesh->faces.push_back({FT_LINES, 6, nullptr});
    mesh->check();
    return mesh;
}

MeshPtr makeTriangleBox(float s) {
    struct CubeFace {
        glm::vec3 normal;
        std::array<glm::vec3, 4> corners; // signs of x, y, z
        std::array<glm::vec4, 4> colors;
    };
    const glm::vec4 cyan(0, 1, 1, 1), magenta(1, 0, 1, 1), blue(0, 0, 1, 1), yellow(1, 1, 0, 1);
    const std::array<CubeFace, 6> cube = {{
        {{1, 0, 0}, {{{1, -1, 1}, {1, -1, -1}, {1, 1, -1}, {1, 1, 1}}}, {cyan, cyan, cyan, cyan}},
        {{-1, 0, 0},
         {{{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}}},
         {magenta, magenta, magenta, magenta}},
        {{0, 1, 0}, {{{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}}}, {blue, blue, blue, blue}},
        {{0, -1, 0},
         {{{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}},
         {yellow, yellow, yellow, yellow}},
        {{0, 0, 1},
         {{{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}}},
         {{{1, 1, 0, 1}, {1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}}}},
        {{0, 0, -1},
         {{{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}}},
         {{{0.5f, 0.5f, 0.5f, 0.5f}, {0, 0, 0, 1}, {0.5f, 0.5f, 0.5f, 1}, {1, 1, 1, 1}}}},
    }};
    const std::array<glm::vec2, 4> corners2d = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};

    const float h = s * 0.5f;
    auto mesh = std::make_shared<Mesh>("triangleBox");
    mesh->texCoords.resize(1);
    for (std::uint32_t f = 0; f < cube.size(); ++f) {
        for (int corner = 0; corner < 4; ++corner) {
            mesh->vertices.push_back(cube[f].corners[corner] * h);
            mesh->normals.push_back(cube[f].normal);
            mesh->colors.push_back(cube[f].colors[corner]);
            mesh->texCoords[0].push_back(corners2d[corner]);
        }
        const std::uint32_t first = 4 * f;
        mesh->indices.insert(mesh->indices.end(),
                             {first, first + 1, first + 2, first + 2, first + 3, first});
    }
    addTriangleGroup(*mesh);
    return mesh;
}

MeshPtr makeMySkyBox(float s, const ImagePtr& image) {
    MeshPtr mesh = makeTriangleBox(s);
    mesh->name = "mySkyBox";

    const unsigned width = image ? image->getWidth() : 0;
    // Half a texel (plus a little) keeps neighbouring bands from bleeding in.
    const float e = width > 0 ? 0.59f / static_cast<float>(width) : 0.0f;
    for (std::uint32_t f = 0; f < 6; ++f) {
        const std::uint32_t first = 4 * f;
        const std::array<std::uint32_t, 6> reversed = {first,     first + 3, first + 2,
                                                       first + 2, first + 1, first};
        std::copy(reversed.begin(), reversed.end(), mesh->indices.begin() + 6 * f);

        glm::vec3 inwards(0.0f);
        inwards[f / 2] = f % 2 == 0 ? -1.0f : 1.0f;
        std::fill_n(mesh->normals.begin() + first, 4, inwards);

        // Face f occupies the band v = (5 - f) / 6 .. (6 - f) / 6, mirrored in u.
        const float band = static_cast<float>(f);
        const float low = (5.0f - band + e) / 6.0f;
        const float high = (6.0f - band - e) / 6.0f;
        auto& uv = mesh->texCoords[0];
        uv[first] = {1.0f - e, low};
        uv[first + 1] = {e, low};
        uv[first + 2] = {e, high};
        uv[first + 3] = {1.0f - e, high};
    }
    mesh->faces.front().material = makeSkyMaterial(image);
    return mesh;
}

MeshPtr makeSkyBox(float s, const ImagePtr& image) {
    // The sky image is an unfolded cube cross on a 4 x 3 grid (v = 0 at the bottom):
    //
    //               [ up   ]
    //     [ left ]  [ front ] [ right ] [ back ]
    //               [ down ]
    //
    // "front" is the face at z = -h that a camera sees along its default view
    // direction; left, right and back follow when turning the camera to the left,
    // right and around, so the cross edges meet where the cube edges do. The up
    // cell's lower edge and the down cell's upper edge touch the front face.
    // Every cell is inset by 0.001 so that neighbouring cells do not bleed in.
    struct SkyFace {
        glm::vec3 forward; // from the centre towards the face
        glm::vec3 up;      // direction of increasing v on the face
        int column;
        int row; // 0 bottom, 1 middle, 2 top
    };
    const std::array<SkyFace, 6> faces = {{
        {{0, 0, -1}, {0, 1, 0}, 1, 1},  // front
        {{-1, 0, 0}, {0, 1, 0}, 0, 1},  // left
        {{1, 0, 0}, {0, 1, 0}, 2, 1},   // right
        {{0, 0, 1}, {0, 1, 0}, 3, 1},   // back
        {{0, 1, 0}, {0, 0, 1}, 1, 2},   // up
        {{0, -1, 0}, {0, 0, -1}, 1, 0}, // down
    }};
    const std::array<float, 5> columnEdges = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};
    const std::array<float, 4> rowEdges = {0.0f, 1.0f / 3.0f, 2.0f / 3.0f, 1.0f};
    const float inset = 0.001f;
    // Two counter-clockwise triangles as seen from inside, in (right, up) steps.
    const std::array<glm::vec2, 6> steps = {{{0, 0}, {1, 0}, {1, 1}, {1, 1}, {0, 1}, {0, 0}}};

    const float h = s * 0.5f;
    auto mesh = std::make_shared<Mesh>("skyBox");
    mesh->texCoords.resize(1);
    for (const auto& face : faces) {
        const glm::vec3 right = glm::cross(face.forward, face.up);
        const float u0 = columnEdges[face.column] + inset;
        const float u1 = columnEdges[face.column + 1] - inset;
        const float v0 = rowEdges[face.row] + inset;
        const float v1 = rowEdges[face.row + 1] - inset;
        for (const auto& step : steps) {
            mesh->vertices.push_back(h * (face.forward + (2.0f * step.x - 1.0f) * right +
                                          (2.0f * step.y - 1.0f) * face.up));
            mesh->normals.push_back(-face.forward);
            mesh->colors.emplace_back(1.0f);
            mesh->texCoords[0].emplace_back(u0 + step.x * (u1 - u0), v0 + step.y * (v1 - v0));
        }
    }
    addTriangleGroup(*mesh);
    mesh->faces.front().material = makeSkyMaterial(image);
    return mesh;
}

MeshPtr makeQuad(float w, float h, float du, float dv, float umin, float vmin,
                 const ImagePtr& image) {
    auto mesh = std::make_shared<Mesh>();
    const std::array<glm::vec3, 4> corners = {
        {{-w / 2, -h / 2, 0}, {w / 2, -h / 2, 0}, {w / 2, h / 2, 0}, {-w / 2, h / 2, 0}}};
    const std::array<glm::vec2, 4> uv = {
        {{umin, vmin}, {umin + du, vmin}, {umin + du, vmin + dv}, {umin, vmin + dv}}};
    mesh->texCoords.resize(1);
    for (const float side : {1.0f, -1.0f}) {
        for (int corner = 0; corner < 4; ++corner) {
            mesh->vertices.push_back(corners[corner]);
            mesh->normals.emplace_back(0.0f, 0.0f, side);
            mesh->texCoords[0].push_back(uv[corner]);
        }
    }
    mesh->indices = {0, 2, 3, 0, 1, 2, 7, 6, 4, 6, 5, 4};
    const glm::vec4 grey(0.5f, 0.5f, 0.5f, 1.0f);
    mesh->faces.push_back({FT_TRIANGLES, 12, makeMaterial(glm::vec4(1.0f), grey, grey, image)});
    mesh->check();
    return mesh;
}

MeshPtr makeSphere(float radius, int segments, int rings, float uRepeat) {
    constexpr float pi = 3.14159265f;
    auto mesh = std::make_shared<Mesh>("sphere");
    mesh->texCoords.resize(1);
    for (int j = 0; j <= rings; ++j) {
        for (int i = 0; i <= segments; ++i) {
            const float theta = pi * static_cast<float>(j) / static_cast<float>(rings);
            const float phi = 2.0f * pi * static_cast<float>(i) / static_cast<float>(segments);
            const glm::vec3 normal(std::sin(theta) * std::cos(phi), std::cos(theta),
                                   -std::sin(theta) * std::sin(phi));
            mesh->vertices.push_back(radius * normal);
            mesh->normals.push_back(normal);
            mesh->texCoords[0].emplace_back(uRepeat * static_cast<float>(i) /
                                                static_cast<float>(segments),
                                            static_cast<float>(j) / static_cast<float>(rings));
        }
    }
    for (int j = 0; j < rings; ++j) {
        for (int i = 0; i < segments; ++i) {
            const auto a = static_cast<std::uint32_t>(j * (segments + 1) + i);
            const auto b = a + static_cast<std::uint32_t>(segments + 1);
            if (j != 0) {
                mesh->indices.insert(mesh->indices.end(), {a, b, a + 1});
            }
            if (j != rings - 1) {
                mesh->indices.insert(mesh->indices.end(), {a + 1, b, b + 1});
            }
        }
    }
    mesh->faces.push_back(
        {FT_TRIANGLES, static_cast<std::uint32_t>(mesh->indices.size()), nullptr});
    mesh->check();
    return mesh;
}

} // namespace Data
