// Every model loads through the game's model loader without an error, with the
// nodes the game looks up by name, shaped and placed the way the physics and the
// level use them.
#include "Data/Material.h"
#include "Data/Object.h"
#include "GameDataSupport.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

using namespace GameDataTest;

namespace {

struct ModelFile {
    const char* file;
    const char* directory;
    std::vector<std::string> nodes;
    // The picture files its materials are textured with.
    std::set<std::string> textures;
};

const ModelFile models[] = {
    {"jeep1_xsi.dae",
     "data\\vehicles\\jeep\\",
     {"body", "wheelFL", "wheelFR", "wheelBL", "wheelBR"},
     {}},
    {"house.dae",
     "data\\objects\\house\\",
     {"walls", "roof", "door", "windows"},
     {"wall.jpg", "roof.jpg", "door.jpg"}},
    {"goal.dae",
     "data\\objects\\goal\\",
     {"stick", "stick1", "banner"},
     {"goal_banner.jpg", "goal_post.jpg"}},
    {"checkpoint.dae",
     "data\\objects\\checkpoint\\",
     {"stick", "stick1", "banner"},
     {"checkpoint_banner.jpg", "checkpoint_post.jpg"}},
    {"crate.dae", "data\\objects\\crate\\", {"cube"}, {"crate.jpg"}},
};

class GameModels : public ::testing::Test {
protected:
    void SetUp() override { useBinFolder(); }

    static Data::SGNodePtr load(const ModelFile& model) {
        return System::File::loadMesh({model.file, model.directory});
    }
    static Data::SGNodePtr load(const char* file) {
        for (const ModelFile& m : models) {
            if (std::string(m.file) == file) {
                return load(m);
            }
        }
        return nullptr;
    }
};

// The box of a node's own meshes in its own coordinates, as the physics fits it.
Data::BoundingBox meshBox(const Data::SGNodePtr& node) {
    const auto object = std::dynamic_pointer_cast<Data::Object>(node);
    return object ? Data::Mesh::getBoundingBox(object->getMeshes()) : Data::BoundingBox{};
}

bool isIdentity(const glm::mat4& m) {
    return m == glm::mat4(1.0f);
}

void forEachNode(const Data::SGNodePtr& node,
                 const std::function<void(const Data::SGNodePtr&)>& f) {
    f(node);
    for (const auto& [key, child] : node->getChildren()) {
        forEachNode(child, f);
    }
}

} // namespace

TEST_F(GameModels, LoadWithoutErrorsWithEveryNamedPartHoldingMeshes) {
    for (const ModelFile& model : models) {
        ErrorRecorder recorder;
        const Data::SGNodePtr root = load(model);
        ASSERT_TRUE(root) << model.file;
        EXPECT_TRUE(recorder.errors.empty()) << model.file << "\n" << recorder.text();
        EXPECT_TRUE(isIdentity(root->getTransformation())) << model.file;
        for (const std::string& name : model.nodes) {
            const auto node = std::dynamic_pointer_cast<Data::Object>(root->findByName(name));
            ASSERT_TRUE(node) << model.file << " lacks a mesh node " << name;
            EXPECT_FALSE(node->getMeshes().empty()) << model.file << " " << name;
        }
    }
}

// Every textured material finds its picture beside the model, and every picture the
// model is made with is used.
TEST_F(GameModels, TexturesAreFoundBesideTheModels) {
    for (const ModelFile& model : models) {
        const Data::SGNodePtr root = load(model);
        ASSERT_TRUE(root);
        std::set<std::string> found;
        forEachNode(root, [&](const Data::SGNodePtr& node) {
            const auto object = std::dynamic_pointer_cast<Data::Object>(node);
            if (!object) {
                return;
            }
            for (const Data::MeshPtr& mesh : object->getMeshes()) {
                for (const Data::Face& group : mesh->faces) {
                    ASSERT_TRUE(group.material) << model.file << " " << node->getName();
                    if (!group.material->has(Data::MP_DIFFUSE_TEXTURE)) {
                        continue;
                    }
                    const Data::ImagePtr image = group.material->getImage(Data::MP_DIFFUSE_TEXTURE);
                    ASSERT_TRUE(image && image->isValid())
                        << model.file << " " << node->getName() << " texture "
                        << group.material->getString(Data::MP_DIFFUSE_TEXTURE);
                    found.insert(image->name);
                    EXPECT_FALSE(mesh->texCoords.empty()) << model.file << " " << node->getName();
                }
            }
        });
        EXPECT_EQ(found, model.textures) << model.file;
    }
}

TEST_F(GameModels, JeepHasACompactBodyAndFourWheelsAtTheirCentres) {
    const Data::SGNodePtr jeep = load("jeep1_xsi.dae");
    ASSERT_TRUE(jeep);
    const Data::SGNodePtr body = jeep->findByName("body");
    ASSERT_TRUE(body);
    EXPECT_TRUE(isIdentity(body->getTransformation()));
    const Data::BoundingBox box = meshBox(body);
    EXPECT_NEAR(box[5] - box[2], 3.8f, 0.4f); // length along z
    EXPECT_NEAR(box[3] - box[0], 2.0f, 0.2f); // width along x
    EXPECT_NEAR(box[4], 1.6f, 0.15f);         // roof height
    EXPECT_GT(box[1], 0.3f) << "the body box must clear the ground when the wheels touch it";
    // Parts with their own colours are not below the painted body.
    EXPECT_TRUE(body->getChildren().empty());

    const struct {
        const char* name;
        float x, z;
    } wheels[] = {{"wheelFL", 1, 1}, {"wheelFR", -1, 1}, {"wheelBL", 1, -1}, {"wheelBR", -1, -1}};
    for (const auto& w : wheels) {
        const Data::SGNodePtr wheel = jeep->findByName(w.name);
        ASSERT_TRUE(wheel) << w.name;
        EXPECT_EQ(wheel->getParent(), jeep.get()) << w.name << " is not a child of the root";
        const glm::vec4 centre = wheel->getTransformation()[3];
        EXPECT_GT(centre.x * w.x, 0.5f) << w.name;
        EXPECT_GT(centre.z * w.z, 1.0f) << w.name;
        const Data::BoundingBox wb = meshBox(wheel);
        const float radius = (wb[4] - wb[1]) / 2.0f;
        EXPECT_NEAR(radius, 0.45f, 0.03f) << w.name;
        // Centred on the node, axle along x.
        EXPECT_NEAR(wb[1] + wb[4], 0.0f, 0.01f) << w.name;
        EXPECT_NEAR(wb[2] + wb[5], 0.0f, 0.01f) << w.name;
        EXPECT_LT(wb[3] - wb[0], wb[4] - wb[1]) << w.name;
        // Wheels touch the ground at the model's origin, below the body.
        EXPECT_NEAR(centre.y - radius, 0.0f, 0.05f) << w.name;
        EXPECT_LT(centre.y - radius, box[1]) << w.name;
    }
}

TEST_F(GameModels, GatesHavePostsAtBothSidesAndABannerToDriveUnder) {
    for (const char* file : {"goal.dae", "checkpoint.dae"}) {
        const Data::SGNodePtr gate = load(file);
        ASSERT_TRUE(gate) << file;
        float bannerBottom = 0.0f;
        for (const auto& [name, z] : {std::pair{"stick", 7.0f}, std::pair{"stick1", -7.0f}}) {
            const Data::SGNodePtr post = gate->findByName(name);
            ASSERT_TRUE(post) << file << " " << name;
            EXPECT_TRUE(isIdentity(post->getTransformation())) << file << " " << name;
            const Data::BoundingBox box = meshBox(post);
            EXPECT_NEAR((box[2] + box[5]) / 2.0f, z, 0.3f) << file << " " << name;
            EXPECT_LT(box[3] - box[0], 1.2f) << file << " " << name;
            EXPECT_GT(box[4], 6.0f) << file << " " << name;
            EXPECT_LE(box[1], 0.0f) << file << " " << name;
        }
        const Data::BoundingBox banner = meshBox(gate->findByName("banner"));
        bannerBottom = banner[1];
        EXPECT_GT(bannerBottom, 4.0f) << file;
        EXPECT_GT(banner[5] - banner[2], 12.0f) << file;
    }
    // The two banners differ.
    const auto texture = [&](const char* file) {
        const auto banner =
            std::dynamic_pointer_cast<Data::Object>(load(file)->findByName("banner"));
        return banner->getMeshes().front()->faces.front().material->getImage(4)->name;
    };
    EXPECT_NE(texture("goal.dae"), texture("checkpoint.dae"));
}

TEST_F(GameModels, CrateAndHouseHaveTheirSizes) {
    const Data::SGNodePtr crate = load("crate.dae");
    ASSERT_TRUE(crate);
    const Data::SGNodePtr cube = crate->findByName("cube");
    ASSERT_TRUE(cube);
    EXPECT_TRUE(isIdentity(cube->getTransformation()));
    const Data::BoundingBox c = meshBox(cube);
    EXPECT_FLOAT_EQ(c[0], -1.0f);
    EXPECT_FLOAT_EQ(c[1], 0.0f);
    EXPECT_FLOAT_EQ(c[3], 1.0f);
    EXPECT_FLOAT_EQ(c[4], 2.0f);
    EXPECT_FLOAT_EQ(c[5] - c[2], 2.0f);

    const Data::SGNodePtr house = load("house.dae");
    ASSERT_TRUE(house);
    Data::BoundingBox all{};
    forEachNode(house, [&](const Data::SGNodePtr& node) { Data::unionBox(all, meshBox(node)); });
    EXPECT_NEAR(all[3] - all[0], 10.0f, 1.5f);
    EXPECT_NEAR(all[5] - all[2], 8.0f, 1.5f);
    EXPECT_NEAR(all[4], 8.0f, 1.0f);
}
