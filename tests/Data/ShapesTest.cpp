#include "Data/Shapes.h"
#include "Data/Material.h"
#include "RecordingLog.h"

#include <glm/geometric.hpp>
#include <gtest/gtest.h>

using namespace Data;

namespace {

ImagePtr makeImage(unsigned width, unsigned height) {
    auto image = std::make_shared<Image>();
    image->picture.setSize(FIT_BITMAP, width, height, 24);
    return image;
}

class ShapesTest : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_TRUE(log.messages.empty()) << "a shape logged a check finding";
    }
    RecordingLog log;
};

TEST_F(ShapesTest, LinesBoxEdges) {
    MeshPtr box = makeLinesBox(-1, -2, -3, 1, 2, 3);
    EXPECT_EQ(box->name, "linesBox");
    ASSERT_EQ(box->vertices.size(), 24u);
    EXPECT_TRUE(box->indices.empty());
    ASSERT_EQ(box->faces.size(), 1u);
    EXPECT_EQ(box->faces[0].type, FT_LINES);
    EXPECT_EQ(box->faces[0].count, 24u);
    EXPECT_EQ(box->colors, std::vector<glm::vec4>(24, glm::vec4(1)));
    EXPECT_EQ(box->vertices[0], glm::vec3(1, 2, 3));
    EXPECT_EQ(box->vertices[1], glm::vec3(1, 2, -3));
    EXPECT_EQ(box->vertices[8], glm::vec3(-1, -2, 3));
    EXPECT_EQ(box->vertices[23], glm::vec3(1, 2, 3));
    // Every one of the 12 pairs is an axis-aligned edge of the box.
    for (std::size_t i = 0; i < 24; i += 2) {
        const glm::vec3 d = glm::abs(box->vertices[i + 1] - box->vertices[i]);
        const int changed = (d.x > 0) + (d.y > 0) + (d.z > 0);
        EXPECT_EQ(changed, 1) << "edge " << i / 2;
    }
    EXPECT_EQ(box->getBoundingBox(), (BoundingBox{-1, -2, -3, 1, 2, 3}));

    MeshPtr point = makeLinesBox(1, 1, 1, 1, 1, 1);
    EXPECT_EQ(point->vertices, std::vector<glm::vec3>(24, glm::vec3(1)));
}

TEST_F(ShapesTest, LinesAxis) {
    MeshPtr axis = makeLinesAxis(2, 3, 4);
    EXPECT_EQ(axis->name, "linesAxis");
    EXPECT_EQ(axis->vertices, (std::vector<glm::vec3>{{0, 0, 0}, {2, 0, 0}, {0, 3, 0}, {0, 0, 4}}));
    EXPECT_EQ(axis->indices, (std::vector<std::uint32_t>{0, 1, 0, 2, 0, 3}));
    EXPECT_EQ(axis->colors[1], glm::vec4(1, 0, 0, 1));
    EXPECT_EQ(axis->colors[3], glm::vec4(0, 0, 1, 1));
    ASSERT_EQ(axis->faces.size(), 1u);
    EXPECT_EQ(axis->faces[0].type, FT_LINES);
    EXPECT_EQ(axis->faces[0].count, 6u);
}

TEST_F(ShapesTest, TriangleBoxFacesPointOutwards) {
    MeshPtr box = makeTriangleBox(2);
    EXPECT_EQ(box->name, "triangleBox");
    ASSERT_EQ(box->vertices.size(), 24u);
    ASSERT_EQ(box->indices.size(), 36u);
    ASSERT_EQ(box->faces.size(), 1u);
    EXPECT_EQ(box->faces[0].type, FT_TRIANGLES);
    EXPECT_EQ(box->faces[0].count, 36u);
    EXPECT_EQ(box->faces[0].material, nullptr);
    EXPECT_EQ(box->getBoundingBox(), (BoundingBox{-1, -1, -1, 1, 1, 1}));
    for (std::size_t t = 0; t < 36; t += 3) {
        const glm::vec3 a = box->vertices[box->indices[t]];
        const glm::vec3 b = box->vertices[box->indices[t + 1]];
        const glm::vec3 c = box->vertices[box->indices[t + 2]];
        const glm::vec3 normal = box->normals[box->indices[t]];
        // Counter-clockwise seen from outside, and the normal is the face's.
        EXPECT_GT(glm::dot(glm::cross(b - a, c - a), normal), 0.0f) << "triangle " << t / 3;
        EXPECT_EQ(glm::dot(a, normal), 1.0f);
    }
    EXPECT_EQ(box->colors[16], glm::vec4(1, 1, 0, 1));
    EXPECT_EQ(box->colors[20], glm::vec4(0.5f, 0.5f, 0.5f, 0.5f));
    EXPECT_EQ(box->texCoords[0][2], glm::vec2(1, 1));
}

TEST_F(ShapesTest, MySkyBoxInsideOutWithBandedTexture) {
    ImagePtr image = makeImage(59, 354);
    MeshPtr sky = makeMySkyBox(2, image);
    EXPECT_EQ(sky->name, "mySkyBox");
    for (std::size_t t = 0; t < 36; t += 3) {
        const glm::vec3 a = sky->vertices[sky->indices[t]];
        const glm::vec3 b = sky->vertices[sky->indices[t + 1]];
        const glm::vec3 c = sky->vertices[sky->indices[t + 2]];
        const glm::vec3 normal = sky->normals[sky->indices[t]];
        EXPECT_LT(glm::dot(glm::cross(b - a, c - a), a), 0.0f) << "triangle " << t / 3;
        EXPECT_LT(glm::dot(a, normal), 0.0f) << "normal of triangle " << t / 3;
    }
    EXPECT_EQ(sky->normals[0], glm::vec3(-1, 0, 0));
    EXPECT_EQ(sky->normals[4], glm::vec3(1, 0, 0));
    EXPECT_EQ(sky->normals[20], glm::vec3(0, 0, 1));

    const float e = 0.01f; // 0.59 / 59
    const auto& uv = sky->texCoords[0];
    EXPECT_NEAR(uv[0].x, 1 - e, 1e-6f);
    EXPECT_NEAR(uv[0].y, (5 + e) / 6, 1e-6f);
    EXPECT_NEAR(uv[2].x, e, 1e-6f);
    EXPECT_NEAR(uv[2].y, (6 - e) / 6, 1e-6f);
    EXPECT_NEAR(uv[21].y, e / 6, 1e-6f); // face 5 starts at the bottom

    const MaterialPtr material = sky->faces[0].material;
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material->getColor(MP_AMBIENT), glm::vec4(1));
    EXPECT_EQ(material->getColor(MP_DIFFUSE), glm::vec4(0, 0, 0, 1));
    EXPECT_EQ(material->getImage(MP_DIFFUSE_TEXTURE), image);

    MeshPtr untextured = makeMySkyBox(2, std::make_shared<Image>());
    EXPECT_FALSE(untextured->faces[0].material->has(MP_DIFFUSE_TEXTURE));
    EXPECT_EQ(makeMySkyBox(2, nullptr)->faces[0].material->getImage(MP_DIFFUSE_TEXTURE), nullptr);
}

TEST_F(ShapesTest, SkyBoxSeenFromInsideUsesCrossCells) {
    MeshPtr sky = makeSkyBox(4, makeImage(8, 6));
    EXPECT_EQ(sky->name, "skyBox");
    ASSERT_EQ(sky->vertices.size(), 36u);
    EXPECT_TRUE(sky->indices.empty());
    ASSERT_EQ(sky->faces.size(), 1u);
    EXPECT_EQ(sky->faces[0].type, FT_TRIANGLES);
    EXPECT_TRUE(sky->faces[0].material->has(MP_DIFFUSE_TEXTURE));
    EXPECT_EQ(sky->getBoundingBox(), (BoundingBox{-2, -2, -2, 2, 2, 2}));
    for (std::size_t t = 0; t < 36; t += 3) {
        const glm::vec3 a = sky->vertices[t], b = sky->vertices[t + 1], c = sky->vertices[t + 2];
        EXPECT_LT(glm::dot(glm::cross(b - a, c - a), a), 0.0f) << "triangle " << t / 3;
        for (std::size_t i = t; i < t + 3; ++i) {
            const glm::vec2 uv = sky->texCoords[0][i];
            // Inside one inset cell of the 4 x 3 grid.
            const float column = uv.x * 4, row = uv.y * 3;
            EXPECT_GT(column - std::floor(column), 0.003f);
            EXPECT_GT(row - std::floor(row), 0.002f);
            EXPECT_LT(column - std::floor(column), 0.997f);
        }
    }
    // The front face (z = -2) fills the second cell of the middle row.
    EXPECT_EQ(sky->vertices[0], glm::vec3(-2, -2, -2));
    EXPECT_NEAR(sky->texCoords[0][0].x, 0.251f, 1e-6f);
    EXPECT_NEAR(sky->texCoords[0][0].y, 0.3343333f, 1e-6f);
    EXPECT_NEAR(sky->texCoords[0][2].x, 0.499f, 1e-6f);
    EXPECT_NEAR(sky->texCoords[0][2].y, 0.6656667f, 1e-6f);
}

TEST_F(ShapesTest, QuadTwoSided) {
    ImagePtr image = makeImage(4, 4);
    MeshPtr quad = makeQuad(2, 4, 0.5f, 0.25f, 0.1f, 0.2f, image);
    EXPECT_EQ(quad->name, "");
    ASSERT_EQ(quad->vertices.size(), 8u);
    EXPECT_EQ(quad->vertices[1], glm::vec3(1, -2, 0));
    EXPECT_EQ(quad->vertices[7], glm::vec3(-1, 2, 0));
    EXPECT_EQ(quad->normals[3], glm::vec3(0, 0, 1));
    EXPECT_EQ(quad->normals[4], glm::vec3(0, 0, -1));
    EXPECT_EQ(quad->texCoords[0][6], glm::vec2(0.6f, 0.45f));
    EXPECT_TRUE(quad->colors.empty());
    for (std::size_t t = 0; t < 12; t += 3) {
        const glm::vec3 a = quad->vertices[quad->indices[t]];
        const glm::vec3 b = quad->vertices[quad->indices[t + 1]];
        const glm::vec3 c = quad->vertices[quad->indices[t + 2]];
        EXPECT_EQ(glm::normalize(glm::cross(b - a, c - a)), quad->normals[quad->indices[t]]);
    }
    const MaterialPtr material = quad->faces[0].material;
    EXPECT_EQ(material->getColor(MP_DIFFUSE), glm::vec4(0.5f, 0.5f, 0.5f, 1));
    EXPECT_EQ(material->getColor(MP_EMISSION), glm::vec4(0, 0, 0, 1));
    EXPECT_EQ(material->getFloat(MP_SHININESS), 0.0f);
    EXPECT_EQ(material->getImage(MP_DIFFUSE_TEXTURE), image);
}

} // namespace
