#include "System/loader/AssetLoader.h"
#include "../Data/RecordingLog.h"
#include "ColladaFixture.h"
#include "Data/Material.h"
#include "Data/Object.h"

#include <assimp/scene.h>
#include <gtest/gtest.h>

using namespace ColladaFixture;
using System::AssetLoader;
using System::AssetRef;

namespace {

class AssetLoaderTest : public ::testing::Test {
protected:
    Data::SGNodePtr load(const std::string& file, const std::string& text) {
        directory.write(file, text);
        return loader.load(AssetRef{file, "model\\"}, directory.path.string() + "/");
    }

    TempDirectory directory;
    AssetLoader loader;
    RecordingLog log;
};

const std::string TRIANGLE = "0 0 0 1 0 0 0 1 0";
const std::string SQUARE = "0 0 0 2 0 0 2 2 0 0 2 0";

TEST_F(AssetLoaderTest, TwoMeshesShareOneMaterialAndNodesKeepNamesAndMatrices) {
    const std::string geometries = geometry("tri", TRIANGLE, 3, triangles("tri", "0 1 2", 1)) +
                                   geometry("quad", SQUARE, 4, triangles("quad", "0 1 2 2 3 0", 2));
    // Row-major translation (5, 6, 7) on the group node.
    const std::string nodes =
        "<node id=\"group\" name=\"group\"><matrix>1 0 0 5 0 1 0 6 0 0 1 7 0 0 0 1</matrix>" +
        meshNode("first", "tri", "wood") + meshNode("second", "quad", "wood") + "</node>";
    const Data::SGNodePtr root =
        load("crate.dae", document(image("wood", "./wood.png"), material("wood", "wood"),
                                   materialEntry("wood", "Wood"), geometries, nodes));
    ASSERT_NE(root, nullptr);

    const auto& meshes = loader.getMeshes();
    ASSERT_EQ(meshes.size(), 2u);
    EXPECT_EQ(meshes[0]->name, "crate.dae(0)");
    EXPECT_EQ(meshes[1]->name, "crate.dae(1)");
    ASSERT_EQ(meshes[0]->faces.size(), 1u);
    ASSERT_EQ(meshes[1]->faces.size(), 1u);
    const Data::MaterialPtr material = meshes[0]->faces[0].material;
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(meshes[1]->faces[0].material, material);
    EXPECT_EQ(material->name, "Wood");
    EXPECT_EQ(material->getString(Data::MP_DIFFUSE_TEXTURE), "wood.png");
    EXPECT_EQ(material->getColor(Data::MP_SPECULAR), glm::vec4(0.5f, 0.5f, 0.5f, 1.0f));
    EXPECT_EQ(material->getFloat(Data::MP_SHININESS), 8.0f);
    EXPECT_TRUE(material->has(Data::MP_AMBIENT));
    EXPECT_TRUE(material->has(Data::MP_EMISSION));
    EXPECT_FALSE(material->has(Data::MP_SECOND_TEXTURE));

    // A node without meshes is a plain node; mesh nodes are objects.
    EXPECT_EQ(std::dynamic_pointer_cast<Data::Object>(root), nullptr);
    const Data::SGNodePtr group = root->findByName("group");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(std::dynamic_pointer_cast<Data::Object>(group), nullptr);
    EXPECT_EQ(group->getTransformation()[3], glm::vec4(5, 6, 7, 1));
    auto first = std::dynamic_pointer_cast<Data::Object>(root->findByName("first"));
    auto second = std::dynamic_pointer_cast<Data::Object>(root->findByName("second"));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->getParent(), group.get());
    EXPECT_EQ(first->getMeshes(), Data::MeshList{meshes[0]});
    EXPECT_EQ(second->getMeshes(), Data::MeshList{meshes[1]});
    EXPECT_EQ(second->getMeshes()[0]->indices.size(), 6u);
    EXPECT_EQ(second->getMeshes()[0]->normals.size(), second->getMeshes()[0]->vertices.size());
}

TEST_F(AssetLoaderTest, LinesComeBeforeTriangles) {
    // One polygon list holding a triangle and then a line.
    const std::string polylist = "<polylist material=\"m\" count=\"2\"><input semantic=\"VERTEX\" "
                                 "source=\"#mixed-v\" offset=\"0\"/><vcount>3 2</vcount>"
                                 "<p>0 1 2 2 3</p></polylist>";
    const Data::SGNodePtr root =
        load("mixed.dae", document("", material("plain", ""), materialEntry("plain", "Plain"),
                                   geometry("mixed", "0 0 0 1 0 0 0 1 0 5 5 5", 4, polylist),
                                   meshNode("mixed", "mixed", "plain")));
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(loader.getMeshes().size(), 1u);
    const Data::MeshPtr mesh = loader.getMeshes()[0];
    ASSERT_EQ(mesh->faces.size(), 2u);
    EXPECT_EQ(mesh->faces[0].type, Data::FT_LINES);
    EXPECT_EQ(mesh->faces[0].count, 2u);
    EXPECT_EQ(mesh->faces[1].type, Data::FT_TRIANGLES);
    EXPECT_EQ(mesh->faces[1].count, 3u);
    EXPECT_EQ(mesh->faces[0].material, mesh->faces[1].material);
    ASSERT_EQ(mesh->indices.size(), 5u);
    EXPECT_EQ(mesh->vertices[mesh->indices[0]], glm::vec3(0, 1, 0));
    EXPECT_EQ(mesh->vertices[mesh->indices[1]], glm::vec3(5, 5, 5));
    EXPECT_EQ(mesh->vertices[mesh->indices[2]], glm::vec3(0, 0, 0));
}

TEST_F(AssetLoaderTest, MissingAndMalformedFilesAreReported) {
    EXPECT_EQ(loader.load(AssetRef{"absent.dae", "model\\"}, directory.path.string() + "/"),
              nullptr);
    ASSERT_EQ(log.messages.size(), 1u);
    EXPECT_EQ(log.messages[0].getAuthor(), "AssetLoader");
    EXPECT_EQ(log.messages[0].getTitle(), "couldn't load absent.dae");
    EXPECT_EQ(log.messages[0].getType(), Tool::MT_ERROR);
    EXPECT_FALSE(log.messages[0].getMessage().empty());

    EXPECT_EQ(load("broken.dae", "<?xml version=\"1.0\"?><COLLADA><library_geometries>"), nullptr);
    ASSERT_EQ(log.messages.size(), 2u);
    EXPECT_EQ(log.messages[1].getTitle(), "couldn't load broken.dae");
    EXPECT_FALSE(log.messages[1].getMessage().empty());
    EXPECT_TRUE(loader.getMeshes().empty());
}

// Files on which the importer runs away or reads outside its data (found by
// fuzzing): an index that is no number made it fill all memory, a count of -1 reads
// as 4294967295, an accessor beyond its array made it crash. They are refused before
// the importer reads them; the same scene with sound values loads.
TEST_F(AssetLoaderTest, FilesThatWouldMakeTheImporterRunAwayAreRefused) {
    const auto triangleFile = [](const std::string& indices, const std::string& count) {
        const std::string geometries =
            geometry("tri", TRIANGLE, 3,
                     "<triangles material=\"m\" count=\"" + count +
                         "\"><input semantic=\"VERTEX\" source=\"#tri-v\" "
                         "offset=\"0\"/><p>" +
                         indices + "</p></triangles>");
        return document("", "", "", geometries, meshNode("tri", "tri", "wood"));
    };
    const std::string sound = triangleFile("0 1 2", "1");
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = sound;
        return text.replace(text.find(from), from.size(), to);
    };
    for (const std::string& text :
         {triangleFile("0 1 #2", "1"), triangleFile("0 1 2", "-1"),
          triangleFile("0 1 2", "4000000000"), triangleFile("0 1 2", " 1"),
          // An array without a count holds nothing, so its accessor reached beyond it:
          // the importer read through a null pointer.
          replaced(" count=\"9\"", " cocount=\"9\""),
          replaced("count=\"3\" stride=\"3\"", "count=\"4\" stride=\"3\""),
          replaced("stride=\"3\"", "stride=\"2\"")}) {
        SCOPED_TRACE(text);
        log.messages.clear();
        EXPECT_EQ(load("runaway.dae", text), nullptr);
        ASSERT_EQ(log.messages.size(), 1u);
        EXPECT_EQ(log.messages[0].getTitle(), "couldn't load runaway.dae");
        EXPECT_NE(log.messages[0].getMessage().find("at offset"), std::string::npos)
            << log.messages[0].getMessage();
    }
    EXPECT_NE(load("sound.dae", sound), nullptr);
}

// Scenes that the importer never produces from a file: built by hand.
class AssetConversionTest : public AssetLoaderTest {
protected:
    static aiMesh* triangleMesh(unsigned vertices) {
        auto* mesh = new aiMesh();
        mesh->mNumVertices = vertices;
        mesh->mVertices = new aiVector3D[vertices];
        for (unsigned i = 0; i < vertices; ++i) {
            mesh->mVertices[i] = aiVector3D(static_cast<float>(i), 0, 0);
        }
        return mesh;
    }
};

TEST_F(AssetConversionTest, FailingMeshIsDroppedAndOddFacesLeftOut) {
    aiScene scene;
    scene.mNumMaterials = 1;
    scene.mMaterials = new aiMaterial* [1] { new aiMaterial() };
    scene.mNumMeshes = 2;
    scene.mMeshes = new aiMesh* [2] { triangleMesh(0), triangleMesh(3) };
    // A single-index face is left out with its own error.
    scene.mMeshes[1]->mNumFaces = 1;
    scene.mMeshes[1]->mFaces = new aiFace[1];
    scene.mMeshes[1]->mFaces[0].mNumIndices = 1;
    scene.mMeshes[1]->mFaces[0].mIndices = new unsigned[1]{0};
    scene.mRootNode = new aiNode("root");
    scene.mRootNode->mNumMeshes = 2;
    scene.mRootNode->mMeshes = new unsigned[2]{0, 1};
    scene.mNumTextures = 1;
    scene.mTextures = new aiTexture* [1] { new aiTexture() };

    const Data::SGNodePtr root = loader.convert(scene, "hand.dae");
    auto object = std::dynamic_pointer_cast<Data::Object>(root);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->getName(), "root");
    ASSERT_EQ(object->getMeshes().size(), 1u);
    EXPECT_EQ(object->getMeshes()[0]->name, "hand.dae(1)");

    ASSERT_EQ(log.messages.size(), 3u);
    EXPECT_EQ(log.messages[0].getTitle(), "Asset with embedded texture!!");
    EXPECT_EQ(log.messages[0].getType(), Tool::MT_WARNING);
    EXPECT_EQ(log.messages[1].getAuthor(), "Mesh::check");
    EXPECT_EQ(log.messages[1].getMessage().rfind("Mesh hand.dae(0) check: no vertices", 0), 0u);
    EXPECT_EQ(log.messages[2].getTitle(), "unsuported face type: 1");

    // With its only face left out the mesh falls back to the check's repair.
    const Data::MeshPtr survivor = loader.getMeshes().at(0);
    EXPECT_TRUE(survivor->indices.empty());
    ASSERT_EQ(survivor->faces.size(), 1u);
    EXPECT_EQ(survivor->faces[0].count, 3u);
}

TEST_F(AssetConversionTest, MaterialDefaultsAndTextureNames) {
    aiScene scene;
    scene.mNumMaterials = 2;
    scene.mMaterials = new aiMaterial* [2] { new aiMaterial(), new aiMaterial() };
    aiString dotted(".\\wood.png");
    scene.mMaterials[0]->AddProperty(&dotted, AI_MATKEY_TEXTURE(aiTextureType_DIFFUSE, 0));
    aiString parent("../wood.png");
    scene.mMaterials[1]->AddProperty(&parent, AI_MATKEY_TEXTURE(aiTextureType_DIFFUSE, 0));
    scene.mNumMeshes = 2;
    scene.mMeshes = new aiMesh* [2] { triangleMesh(3), triangleMesh(3) };
    for (unsigned m = 0; m < 2; ++m) {
        scene.mMeshes[m]->mMaterialIndex = m;
        scene.mMeshes[m]->mNumFaces = 1;
        scene.mMeshes[m]->mFaces = new aiFace[1];
        scene.mMeshes[m]->mFaces[0].mNumIndices = 3;
        scene.mMeshes[m]->mFaces[0].mIndices = new unsigned[3]{0, 1, 2};
    }
    scene.mRootNode = new aiNode("root");
    scene.mRootNode->mNumChildren = 1;
    scene.mRootNode->mChildren = new aiNode* [1] { new aiNode("child") };
    scene.mRootNode->mChildren[0]->mParent = scene.mRootNode;
    scene.mRootNode->mChildren[0]->mNumMeshes = 1;
    scene.mRootNode->mChildren[0]->mMeshes = new unsigned[1]{1};

    const Data::SGNodePtr root = loader.convert(scene, "m.dae");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(std::dynamic_pointer_cast<Data::Object>(root), nullptr);
    ASSERT_EQ(loader.getMeshes().size(), 2u);
    const Data::MaterialPtr first = loader.getMeshes()[0]->faces.at(0).material;
    const Data::MaterialPtr second = loader.getMeshes()[1]->faces.at(0).material;
    EXPECT_EQ(first->getString(Data::MP_DIFFUSE_TEXTURE), "wood.png");
    EXPECT_EQ(second->getString(Data::MP_DIFFUSE_TEXTURE), "../wood.png");
    EXPECT_EQ(first->getColor(Data::MP_AMBIENT), glm::vec4(0, 0, 0, 1));
    EXPECT_EQ(first->getColor(Data::MP_DIFFUSE), glm::vec4(0, 0, 0, 1));
    EXPECT_EQ(first->getColor(Data::MP_SPECULAR), glm::vec4(1, 1, 1, 1));
    EXPECT_EQ(first->getColor(Data::MP_EMISSION), glm::vec4(0, 0, 0, 1));
    EXPECT_TRUE(first->has(Data::MP_SHININESS));
    EXPECT_EQ(first->getFloat(Data::MP_SHININESS), 0.0f);
}

} // namespace
