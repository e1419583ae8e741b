#include "ModelData.h"

#include <cmath>

namespace Tools {

namespace {

Vec3 sub(const Vec3& a, const Vec3& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

Vec3 faceNormal(const Vec3& a, const Vec3& b, const Vec3& c) {
    const Vec3 u = sub(b, a);
    const Vec3 v = sub(c, a);
    const Vec3 n = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                    u[0] * v[1] - u[1] * v[0]};
    const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (length == 0.0f) {
        return {0, 1, 0};
    }
    return {n[0] / length, n[1] / length, n[2] / length};
}

constexpr float twoPi = 6.28318531f;

} // namespace

void Surface::triangle(const Vec3& a, const Vec3& b, const Vec3& c, const Vec2& ta, const Vec2& tb,
                       const Vec2& tc) {
    const Vec3 n = faceNormal(a, b, c);
    positions.insert(positions.end(), {a, b, c});
    normals.insert(normals.end(), {n, n, n});
    texCoords.insert(texCoords.end(), {ta, tb, tc});
}

void Surface::quad(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d, const Vec2& ta,
                   const Vec2& tb, const Vec2& tc, const Vec2& td) {
    triangle(a, b, c, ta, tb, tc);
    triangle(a, c, d, ta, tc, td);
}

void Surface::box(const Vec3& mn, const Vec3& mx, float uvScale) {
    auto uv = [&](float s, float t) -> Vec2 {
        return uvScale > 0.0f ? Vec2{s / uvScale, t / uvScale} : Vec2{s, t};
    };
    const float x0 = mn[0], y0 = mn[1], z0 = mn[2], x1 = mx[0], y1 = mx[1], z1 = mx[2];
    const bool world = uvScale > 0.0f;
    auto span = [&](float a, float b, bool unit) { return world ? b - a : (unit ? 1.0f : 0.0f); };
    // +x face, seen from outside: z runs right-to-left.
    const float sx = span(z0, z1, true), sy = span(y0, y1, true), sz = span(x0, x1, true);
    quad({x1, y0, z1}, {x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, uv(0, 0), uv(sx, 0), uv(sx, sy),
         uv(0, sy));
    quad({x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}, {x0, y1, z0}, uv(0, 0), uv(sx, 0), uv(sx, sy),
         uv(0, sy));
    quad({x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}, uv(0, 0), uv(sz, 0), uv(sz, sy),
         uv(0, sy));
    quad({x1, y0, z0}, {x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}, uv(0, 0), uv(sz, 0), uv(sz, sy),
         uv(0, sy));
    quad({x0, y1, z1}, {x1, y1, z1}, {x1, y1, z0}, {x0, y1, z0}, uv(0, 0), uv(sz, 0), uv(sz, sx),
         uv(0, sx));
    quad({x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}, uv(0, 0), uv(sz, 0), uv(sz, sx),
         uv(0, sx));
}

void Surface::prismX(const std::vector<Vec2>& profile, float x0, float x1, float uvScale) {
    const std::size_t n = profile.size();
    const float s = uvScale > 0.0f ? 1.0f / uvScale : 0.0f;
    auto at = [](float x, const Vec2& p) -> Vec3 { return {x, p[1], p[0]}; };
    auto capUv = [&](const Vec2& p) -> Vec2 { return {p[0] * s, p[1] * s}; };
    for (std::size_t i = 1; i + 1 < n; ++i) {
        triangle(at(x1, profile[0]), at(x1, profile[i + 1]), at(x1, profile[i]), capUv(profile[0]),
                 capUv(profile[i + 1]), capUv(profile[i]));
        triangle(at(x0, profile[0]), at(x0, profile[i]), at(x0, profile[i + 1]), capUv(profile[0]),
                 capUv(profile[i]), capUv(profile[i + 1]));
    }
    // The sides unroll along the profile's outline.
    float t = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        const Vec2& a = profile[i];
        const Vec2& b = profile[(i + 1) % n];
        const float next = t + std::hypot(b[0] - a[0], b[1] - a[1]);
        quad(at(x0, a), at(x1, a), at(x1, b), at(x0, b), {x0 * s, t * s}, {x1 * s, t * s},
             {x1 * s, next * s}, {x0 * s, next * s});
        t = next;
    }
}

void Surface::cylinderX(const Vec3& c, float r, float x0, float x1, int segments) {
    for (int i = 0; i < segments; ++i) {
        const float a0 = twoPi * i / segments;
        const float a1 = twoPi * (i + 1) / segments;
        const Vec3 p0 = {0, c[1] + r * std::cos(a0), c[2] + r * std::sin(a0)};
        const Vec3 p1 = {0, c[1] + r * std::cos(a1), c[2] + r * std::sin(a1)};
        quad({x0, p0[1], p0[2]}, {x0, p1[1], p1[2]}, {x1, p1[1], p1[2]}, {x1, p0[1], p0[2]});
        triangle({x1, c[1], c[2]}, {x1, p0[1], p0[2]}, {x1, p1[1], p1[2]});
        triangle({x0, c[1], c[2]}, {x0, p1[1], p1[2]}, {x0, p0[1], p0[2]});
    }
}

void Surface::cylinderZ(const Vec3& c, float r, float z0, float z1, int segments) {
    for (int i = 0; i < segments; ++i) {
        const float a0 = twoPi * i / segments;
        const float a1 = twoPi * (i + 1) / segments;
        const float x0 = c[0] + r * std::cos(a0), y0 = c[1] + r * std::sin(a0);
        const float x1 = c[0] + r * std::cos(a1), y1 = c[1] + r * std::sin(a1);
        quad({x0, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y0, z1});
        triangle({c[0], c[1], z1}, {x0, y0, z1}, {x1, y1, z1});
        triangle({c[0], c[1], z0}, {x1, y1, z0}, {x0, y0, z0});
    }
}

void Surface::cylinderY(const Vec3& b, float r, float y0, float y1, int segments) {
    for (int i = 0; i < segments; ++i) {
        const float a0 = twoPi * i / segments;
        const float a1 = twoPi * (i + 1) / segments;
        const float x0 = b[0] + r * std::cos(a0), z0 = b[2] + r * std::sin(a0);
        const float x1 = b[0] + r * std::cos(a1), z1 = b[2] + r * std::sin(a1);
        const float u0 = static_cast<float>(i) / segments,
                    u1 = static_cast<float>(i + 1) / segments;
        quad({x0, y0, z0}, {x0, y1, z0}, {x1, y1, z1}, {x1, y0, z1}, {u0, 0}, {u0, 1}, {u1, 1},
             {u1, 0});
        triangle({b[0], y1, b[2]}, {x1, y1, z1}, {x0, y1, z0});
        triangle({b[0], y0, b[2]}, {x0, y0, z0}, {x1, y0, z1});
    }
}

void Surface::ringX(const Vec3& c, float inner, float outer, bool facePlusX, int segments) {
    for (int i = 0; i < segments; ++i) {
        const float a0 = twoPi * i / segments;
        const float a1 = twoPi * (i + 1) / segments;
        auto at = [&](float r, float a) -> Vec3 {
            return {c[0], c[1] + r * std::cos(a), c[2] + r * std::sin(a)};
        };
        if (facePlusX) {
            quad(at(inner, a0), at(outer, a0), at(outer, a1), at(inner, a1));
        } else {
            quad(at(inner, a0), at(inner, a1), at(outer, a1), at(outer, a0));
        }
    }
}

Surface& ModelNode::surface(const std::string& material) {
    for (Surface& s : surfaces) {
        if (s.material == material) {
            return s;
        }
    }
    surfaces.push_back(Surface{material, {}, {}, {}});
    return surfaces.back();
}

ModelNode& Model::node(const std::string& name, const Vec3& translation) {
    for (ModelNode& n : nodes) {
        if (n.name == name) {
            return n;
        }
    }
    nodes.push_back(ModelNode{name, translation, {}});
    return nodes.back();
}

} // namespace Tools
