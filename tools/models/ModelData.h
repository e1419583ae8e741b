#pragma once

#include "TrackGen/Raster.h"

#include <array>
#include <deque>
#include <string>
#include <vector>

namespace Tools {

using namespace TrackGen;

using Vec3 = std::array<float, 3>;
using Vec2 = std::array<float, 2>;

// A Phong material. A textured material gets its diffuse colour from the texture
// alone (the file name, relative to the model's folder).
struct ModelMaterial {
    std::string name;
    Colour ambient = rgb(0.5f, 0.5f, 0.5f);
    Colour diffuse = rgb(0.8f, 0.8f, 0.8f);
    Colour specular = rgb(0.1f, 0.1f, 0.1f);
    Colour emission = rgb(0, 0, 0);
    float shininess = 10.0f;
    std::string texture;
};

// Triangles of one material, with flat per-face normals and texture coordinates.
struct Surface {
    std::string material;
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;
    std::vector<Vec2> texCoords;

    void triangle(const Vec3& a, const Vec3& b, const Vec3& c, const Vec2& ta = {0, 0},
                  const Vec2& tb = {0, 0}, const Vec2& tc = {0, 0});
    // A planar quad, corners counter-clockwise seen from its front.
    void quad(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d, const Vec2& ta = {0, 0},
              const Vec2& tb = {1, 0}, const Vec2& tc = {1, 1}, const Vec2& td = {0, 1});
    // An axis-aligned box; texture coordinates are world units divided by `uvScale`
    // (or 0..1 on every face when uvScale is 0).
    void box(const Vec3& min, const Vec3& max, float uvScale = 0.0f);
    // A convex polygon of (z, y) points, counter-clockwise with z to the right and
    // y up (a side view with the front at the right), extruded from x0 to x1.
    // Texture coordinates are world units divided by `uvScale` (0: none).
    void prismX(const std::vector<Vec2>& profile, float x0, float x1, float uvScale = 0.0f);
    // A closed cylinder along x: centre, radius, from x0 to x1.
    void cylinderX(const Vec3& centre, float radius, float x0, float x1, int segments);
    // A closed cylinder along z: centre, radius, from z0 to z1.
    void cylinderZ(const Vec3& centre, float radius, float z0, float z1, int segments);
    // A cylinder along y from y0 to y1 (posts, poles).
    void cylinderY(const Vec3& base, float radius, float y0, float y1, int segments);
    // A ring in the plane x = const between two radii, facing +x or -x.
    void ringX(const Vec3& centre, float inner, float outer, bool facePlusX, int segments);

    bool empty() const { return positions.empty(); }
};

// One named part: a node with its own geometry, one surface per material.
struct ModelNode {
    std::string name;
    Vec3 translation{0, 0, 0};
    // A deque: references to surfaces stay valid while more are added.
    std::deque<Surface> surfaces;

    Surface& surface(const std::string& material);
};

struct Model {
    std::vector<ModelMaterial> materials;
    std::deque<ModelNode> nodes;

    ModelNode& node(const std::string& name, const Vec3& translation = {0, 0, 0});
};

} // namespace Tools
