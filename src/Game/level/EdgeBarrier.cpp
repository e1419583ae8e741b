#include "Game/level/EdgeBarrier.h"

#include "Data/Material.h"
#include "Game/level/Terrain.h"

#include <array>
#include <cmath>
#include <glm/geometric.hpp>

namespace Game {

namespace {

const glm::vec4 POST_COLOUR(0.25f, 0.25f, 0.27f, 1.0f);
const glm::vec4 RED(0.8f, 0.1f, 0.08f, 1.0f);
const glm::vec4 WHITE(0.92f, 0.92f, 0.92f, 1.0f);
// Posts reach this far into the ground, so that none floats where the ground dips.
constexpr float SINK = 0.3f;
// Rails: the heights of their middles above the ground, their thickness and height.
constexpr std::array<float, 2> RAIL_LEVELS{0.55f, 1.0f};
constexpr float RAIL_THICKNESS = 0.12f;
constexpr float RAIL_HEIGHT = 0.18f;

const glm::vec3 UP(0.0f, 1.0f, 0.0f);

Data::MaterialPtr colourMaterial(const glm::vec4& colour) {
    auto material = std::make_shared<Data::Material>();
    material->set(Data::MP_DIFFUSE, colour);
    material->set(Data::MP_AMBIENT, colour);
    material->set(Data::MP_SPECULAR, glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    material->set(Data::MP_EMISSION, glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    material->set(Data::MP_SHININESS, 0.0f);
    return material;
}

// Quads with one normal each, gathered in one run per material.
struct Run {
    std::vector<glm::vec3> vertices;
    std::vector<glm::vec3> normals;
    std::vector<std::uint32_t> indices;

    // Corners in order around the quad; it faces the side the normal points to.
    void quad(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c, const glm::vec3& d,
              const glm::vec3& normal) {
        const bool turned = glm::dot(glm::cross(b - a, c - a), normal) < 0.0f;
        const auto first = static_cast<std::uint32_t>(vertices.size());
        const std::array<std::uint32_t, 6> order =
            turned ? std::array<std::uint32_t, 6>{0, 2, 1, 0, 3, 2}
                   : std::array<std::uint32_t, 6>{0, 1, 2, 0, 2, 3};
        for (const std::uint32_t corner : order) {
            indices.push_back(first + corner);
        }
        vertices.insert(vertices.end(), {a, b, c, d});
        normals.insert(normals.end(), 4, normal);
    }

    // A beam between the middles of its ends, `across` thick along `outward` and
    // `tall` high: four sides, open at the ends, where posts stand.
    void beam(const glm::vec3& from, const glm::vec3& to, const glm::vec3& outward, float across,
              float tall) {
        const glm::vec3 along = glm::normalize(to - from);
        glm::vec3 up = glm::normalize(glm::cross(along, outward));
        if (up.y < 0.0f) {
            up = -up;
        }
        const glm::vec3 o = outward * (across / 2.0f);
        const glm::vec3 u = up * (tall / 2.0f);
        quad(from + o - u, to + o - u, to + o + u, from + o + u, outward);
        quad(from - o - u, to - o - u, to - o + u, from - o + u, -outward);
        quad(from - o + u, to - o + u, to + o + u, from + o + u, up);
        quad(from - o - u, to - o - u, to + o - u, from + o - u, -up);
    }

    // A post standing on `foot`, sunk into the ground and `height` above it; `out`
    // and `side` are half its extent along the two horizontal axes.
    void post(const glm::vec3& foot, const glm::vec3& out, const glm::vec3& side) {
        const glm::vec3 bottom = foot - UP * SINK;
        const glm::vec3 top = foot + UP * EdgeBarrier::height;
        const std::array<std::pair<glm::vec3, glm::vec3>, 4> faces{
            {{out, side}, {-out, side}, {side, out}, {-side, out}}};
        for (const auto& [offset, half] : faces) {
            quad(bottom + offset - half, bottom + offset + half, top + offset + half,
                 top + offset - half, glm::normalize(offset));
        }
        quad(top - out - side, top + out - side, top + out + side, top - out + side, UP);
    }
};

// The ground's edge as the drawn ground has it: the grid's border vertices of one
// side, in order along it.
struct Side {
    std::vector<glm::vec3> points;
    glm::vec3 outward;
};

std::array<Side, 4> sidesOf(const Terrain& terrain) {
    const int nx = terrain.getGridColumns();
    const int nz = terrain.getGridRows();
    const std::vector<Terrain::GridVertex>& grid = terrain.getGrid();
    const auto at = [&](int column, int row) {
        return grid[static_cast<std::size_t>(row) * static_cast<std::size_t>(nx) +
                    static_cast<std::size_t>(column)]
            .position;
    };
    std::array<Side, 4> sides{{{{}, {0.0f, 0.0f, -1.0f}},
                               {{}, {0.0f, 0.0f, 1.0f}},
                               {{}, {-1.0f, 0.0f, 0.0f}},
                               {{}, {1.0f, 0.0f, 0.0f}}}};
    for (int column = 0; column < nx; ++column) {
        sides[0].points.push_back(at(column, 0));
        sides[1].points.push_back(at(column, nz - 1));
    }
    for (int row = 0; row < nz; ++row) {
        sides[2].points.push_back(at(0, row));
        sides[3].points.push_back(at(nx - 1, row));
    }
    return sides;
}

// One piece of the fence: its posts and both colours of rails, one face each.
struct Piece {
    Run posts;
    std::array<Run, 2> rails; // red, white

    Data::MeshPtr mesh() const {
        auto mesh = std::make_shared<Data::Mesh>("EdgeBarrier");
        const std::array<std::pair<const Run*, glm::vec4>, 3> runs{
            {{&posts, POST_COLOUR}, {&rails[0], RED}, {&rails[1], WHITE}}};
        for (const auto& [run, colour] : runs) {
            if (run->indices.empty()) {
                continue;
            }
            const auto base = static_cast<std::uint32_t>(mesh->vertices.size());
            mesh->vertices.insert(mesh->vertices.end(), run->vertices.begin(), run->vertices.end());
            mesh->normals.insert(mesh->normals.end(), run->normals.begin(), run->normals.end());
            for (const std::uint32_t index : run->indices) {
                mesh->indices.push_back(base + index);
            }
            mesh->faces.push_back({Data::FT_TRIANGLES,
                                   static_cast<std::uint32_t>(run->indices.size()),
                                   colourMaterial(colour)});
        }
        mesh->check();
        return mesh;
    }
};

} // namespace

std::vector<Data::MeshPtr> EdgeBarrier::build(const Terrain& terrain) {
    std::vector<Data::MeshPtr> pieces;
    const std::size_t expected = static_cast<std::size_t>(terrain.getGridColumns()) *
                                 static_cast<std::size_t>(terrain.getGridRows());
    if (terrain.getGrid().size() != expected || expected < 4) {
        return pieces;
    }
    for (const Side& side : sidesOf(terrain)) {
        // The posts' middles, outside the walls' inner faces by half a post.
        const glm::vec3 shift = side.outward * (postSide / 2.0f - inset);
        std::vector<glm::vec3> feet;
        for (std::size_t k = 0; k + 1 < side.points.size(); ++k) {
            const glm::vec3& a = side.points[k];
            const glm::vec3& b = side.points[k + 1];
            const int steps =
                std::max(1, static_cast<int>(std::ceil(glm::distance(a, b) / postSpacing)));
            for (int step = 0; step < steps; ++step) {
                feet.push_back(glm::mix(a, b, static_cast<float>(step) / steps) + shift);
            }
        }
        feet.push_back(side.points.back() + shift);
        const glm::vec3 out = side.outward * (postSide / 2.0f);
        const glm::vec3 along = glm::cross(UP, side.outward) * (postSide / 2.0f);
        // Each piece holds its posts and the rails that leave them along the side.
        for (std::size_t start = 0; start < feet.size(); start += postsPerPiece) {
            Piece piece;
            const std::size_t end = std::min(start + postsPerPiece, feet.size());
            for (std::size_t k = start; k < end; ++k) {
                piece.posts.post(feet[k], out, along);
                if (k + 1 == feet.size()) {
                    continue;
                }
                for (const float level : RAIL_LEVELS) {
                    piece.rails[k % 2].beam(feet[k] + UP * level, feet[k + 1] + UP * level,
                                            side.outward, RAIL_THICKNESS, RAIL_HEIGHT);
                }
            }
            pieces.push_back(piece.mesh());
        }
    }
    return pieces;
}

} // namespace Game
