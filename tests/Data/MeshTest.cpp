#include "Data/Mesh.h"
#include "Data/Material.h"
#include "RecordingLog.h"

#include <gtest/gtest.h>

using namespace Data;

namespace {

class MeshCheckTest : public ::testing::Test {
protected:
    static Mesh triangleMesh() {
        Mesh mesh("tri");
        mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
        return mesh;
    }

    RecordingLog log;
};

TEST_F(MeshCheckTest, MissingFacesAreRepairedSilently) {
    Mesh mesh = triangleMesh();
    EXPECT_TRUE(mesh.check());
    ASSERT_EQ(mesh.faces.size(), 1u);
    EXPECT_EQ(mesh.faces[0].count, 3u);
    EXPECT_EQ(mesh.faces[0].material, nullptr);
    EXPECT_TRUE(log.messages.empty());

    Mesh indexed = triangleMesh();
    indexed.indices = {0, 1, 2, 2, 1, 0};
    EXPECT_TRUE(indexed.check());
    ASSERT_EQ(indexed.faces.size(), 1u);
    EXPECT_EQ(indexed.faces[0].count, 6u);
}

TEST_F(MeshCheckTest, FaceCountRules) {
    Mesh lines = triangleMesh();
    lines.faces = {{FT_LINES, 3, nullptr}};
    EXPECT_FALSE(lines.check());
    ASSERT_EQ(log.messages.size(), 1u);
    EXPECT_EQ(log.messages[0].getMessage(),
              "Mesh tri check: face count 3 is not a multiplyer of 2 for  facetype Lines, CAN'T "
              "fix this!!\n");

    // Zero divides by three; points are never tested; the sum must still fit.
    Mesh mixed = triangleMesh();
    mixed.faces = {{FT_TRIANGLES, 0, nullptr}, {FT_POINTS, 3, nullptr}};
    EXPECT_TRUE(mixed.check());

    Mesh wrongSum = triangleMesh();
    wrongSum.faces = {{FT_TRIANGLES, 6, nullptr}};
    EXPECT_FALSE(wrongSum.check());
    EXPECT_EQ(log.messages.back().getMessage(),
              "Mesh tri check: face counters add up to 6 and should be 3, CAN'T fix this!!\n");
}

TEST_F(MeshCheckTest, AllFindingsInOneMessageInCheckOrder) {
    Mesh mesh = triangleMesh();
    mesh.normals = {{0, 0, 1}};
    mesh.texCoords = {{}, {{0, 0}, {1, 1}}};
    mesh.colors = {{1, 1, 1, 1}, {1, 1, 1, 1}};
    mesh.indices = {0, 1, 3};
    mesh.faces = {{FT_TRIANGLES, 2, nullptr}};
    EXPECT_FALSE(mesh.check());
    ASSERT_EQ(log.messages.size(), 1u);
    const Tool::Message& message = log.messages[0];
    EXPECT_EQ(message.getAuthor(), "Mesh::check");
    EXPECT_EQ(message.getTitle(), "");
    EXPECT_EQ(message.getType(), Tool::MT_ERROR);
    EXPECT_NE(message.getFile().find("Mesh.cpp"), std::string::npos);
    const std::string p = "Mesh tri check: ";
    const std::string end = ", CAN'T fix this!!\n";
    EXPECT_EQ(message.getMessage(),
              p + "number of Normals 1 don't match number of vertices 3" + end + p +
                  "number of Textures 2 don't match number of vertices 3" + end + p +
                  "number of Colors 2 don't match number of vertices 3" + end + p +
                  "face count 2 is not a multiplyer of 3 for  facetype Triangles" + end + p +
                  "face counters add up to 2 and should be 3" + end + p +
                  "index is 3but shouldn't be higher than 2" + end);
}

TEST_F(MeshCheckTest, NoVerticesFails) {
    Mesh empty("e");
    EXPECT_FALSE(empty.check());
    ASSERT_EQ(log.messages.size(), 1u);
    // The repair line is part of the buffer that a failure logs.
    EXPECT_EQ(log.messages[0].getMessage(), "Mesh e check: no vertices, CAN'T fix this!!\n"
                                            "Mesh e check: no faces defined, fixed!\n");
    ASSERT_EQ(empty.faces.size(), 1u);
    EXPECT_EQ(empty.faces[0].count, 0u);
}

TEST(MeshBoxTest, ComputedCachedAndReset) {
    Mesh mesh;
    mesh.vertices = {{1, 2, 3}, {-1, 5, 0}, {4, -2, 1}};
    const BoundingBox expected = {-1, -2, 0, 4, 5, 3};
    EXPECT_EQ(mesh.getBoundingBox(), expected);

    // Cached: moving a vertex without reset keeps the old box.
    mesh.vertices[0].x = 10;
    EXPECT_EQ(mesh.getBoundingBox(), expected);

    mesh.translate({1, 1, 1});
    const BoundingBox moved = {0, -1, 1, 11, 6, 4};
    EXPECT_EQ(mesh.getBoundingBox(), moved);
}

TEST(MeshBoxTest, UnionIgnoresEmptyBoxes) {
    BoundingBox target{};
    const BoundingBox a = {0, 0, 0, 1, 1, 1};
    unionBox(target, a);
    EXPECT_EQ(target, a);

    // A box of one point has no extent and counts as empty.
    unionBox(target, BoundingBox{5, 5, 5, 5, 5, 5});
    EXPECT_EQ(target, a);
    EXPECT_TRUE(isEmptyBox(BoundingBox{5, 5, 5, 5, 5, 5}));
    EXPECT_FALSE(isEmptyBox(BoundingBox{0, 0, 0, 0, 0, 1}));

    unionBox(target, BoundingBox{-1, 0.5f, 0, 0.5f, 2, 0.5f});
    EXPECT_EQ(target, (BoundingBox{-1, 0, 0, 1, 2, 1}));

    auto first = std::make_shared<Mesh>();
    first->vertices = {{0, 0, 0}, {1, 1, 1}};
    auto point = std::make_shared<Mesh>();
    point->vertices = {{7, 7, 7}};
    EXPECT_EQ(Mesh::getBoundingBox(MeshList{point, first}), (BoundingBox{0, 0, 0, 1, 1, 1}));
}

TEST(MeshDebugTextTest, MeshAndList) {
    auto material = std::make_shared<Material>("wood");
    auto mesh = std::make_shared<Mesh>("box");
    mesh->vertices.resize(4);
    mesh->normals.resize(4);
    mesh->colors.resize(4);
    mesh->texCoords.resize(2);
    mesh->indices = {0, 1, 2, 3, 0, 1};
    mesh->faces = {{FT_LINES, 2, material}, {FT_TRIANGLES, 3, nullptr}, {7, 1, nullptr}};
    EXPECT_EQ(mesh->getDebugText(), "Mesh box: i6 v4nc t2 f3: wood(li),tr),?)");

    auto bare = std::make_shared<Mesh>("bare");
    bare->vertices.resize(2);
    EXPECT_EQ(bare->getDebugText(), "Mesh bare: v2");

    EXPECT_EQ(Mesh::getDebugText(MeshList{bare}), "Mesh bare: v2");
    EXPECT_EQ(Mesh::getDebugText(MeshList{bare, mesh}), "2 Meshes i6 v6nct");
    EXPECT_EQ(Mesh::getDebugText(MeshList{bare, bare}), "2 Meshes v4");
}

TEST(MaterialTest, MissingOrMistypedPropertiesReadAsZero) {
    Material material("m");
    material.set(MP_DIFFUSE, glm::vec4(0.1f, 0.2f, 0.3f, 1.0f));
    material.set(MP_SHININESS, 12.5f);
    material.set(MP_AMBIENT, 3.0); // a double, not a float vector
    material.set(MP_DIFFUSE_TEXTURE, std::string("wood.png"));

    EXPECT_EQ(material.getColor(MP_DIFFUSE), glm::vec4(0.1f, 0.2f, 0.3f, 1.0f));
    EXPECT_EQ(material.getFloat(MP_SHININESS), 12.5f);
    EXPECT_EQ(material.getColor(MP_AMBIENT), glm::vec4(0.0f));
    EXPECT_EQ(material.getColor(MP_SPECULAR), glm::vec4(0.0f));
    EXPECT_EQ(material.getFloat(MP_DIFFUSE), 0.0f);
    EXPECT_EQ(material.getImage(MP_DIFFUSE_TEXTURE), nullptr);
    EXPECT_EQ(material.getString(MP_DIFFUSE_TEXTURE), "wood.png");
    EXPECT_TRUE(material.has(MP_AMBIENT));
    material.remove(MP_AMBIENT);
    EXPECT_FALSE(material.has(MP_AMBIENT));
}

} // namespace
