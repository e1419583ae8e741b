#include "Data/Camera.h"
#include "Data/Light.h"
#include "Data/Material.h"
#include "Data/Object.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

using namespace Data;

namespace {

SGNodePtr named(const std::string& name) {
    auto node = std::make_shared<SGNode>();
    node->setName(name);
    return node;
}

// Names of the nodes in list order.
std::vector<std::string> names(const SGNodeList& nodes) {
    std::vector<std::string> result;
    for (const auto& node : nodes) {
        result.push_back(node->getName());
    }
    return result;
}

// Names of the children in map (address) order.
std::vector<std::string> childNames(const SGNode& node) {
    std::vector<std::string> result;
    for (const auto& [key, child] : node.getChildren()) {
        result.push_back(child->getName());
    }
    return result;
}

void expectMatrixNear(const glm::mat4& actual, const glm::mat4& expected) {
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            EXPECT_NEAR(actual[c][r], expected[c][r], 1e-5f) << "column " << c << " row " << r;
        }
    }
}

TEST(MovableTest, LocalAndParentSteps) {
    SGNode node;
    node.yaw(90.0f, false);
    node.moveForward(1.0f, true); // along the turned -z axis: world -x
    expectMatrixNear(node.getTransformation(),
                     glm::translate(glm::mat4(1.0f), glm::vec3(-1, 0, 0)) *
                         glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), glm::vec3(0, 1, 0)));
    node.moveSideways(2.0f, false); // parent axes: world +x
    node.moveUp(3.0f, false);
    const glm::vec4 origin = node.getTransformation() * glm::vec4(0, 0, 0, 1);
    EXPECT_NEAR(origin.x, 1.0f, 1e-5f);
    EXPECT_NEAR(origin.y, 3.0f, 1e-5f);
    EXPECT_NEAR(origin.z, 0.0f, 1e-5f);

    SGNode scaled;
    scaled.scale({2, 2, 1}, true);
    scaled.moveSideways(1.5f, true); // scaled by the node's own axes
    EXPECT_NEAR(scaled.getTransformation()[3][0], 3.0f, 1e-6f);
}

TEST(SGNodeTest, ChildrenOrderedByAddressAndReparented) {
    auto parent = named("parent");
    std::vector<SGNodePtr> nodes = {named("a"), named("b"), named("c"), named("d")};
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) {
        parent->addChild(*it);
    }
    std::sort(nodes.begin(), nodes.end());
    std::vector<std::string> byAddress;
    for (const auto& node : nodes) {
        byAddress.push_back(node->getName());
    }
    EXPECT_EQ(childNames(*parent), byAddress);

    parent->addChild(nullptr);
    parent->addChild(parent);
    EXPECT_EQ(parent->getChildren().size(), 4u);

    auto other = named("other");
    other->addChild(nodes[0]);
    EXPECT_EQ(parent->getChildren().size(), 3u);
    EXPECT_EQ(nodes[0]->getParent(), other.get());

    // Removing through a node that is not the parent does nothing.
    parent->removeChild(nodes[0]);
    EXPECT_EQ(nodes[0]->getParent(), other.get());
    other->removeChild(nodes[0]);
    EXPECT_EQ(nodes[0]->getParent(), nullptr);
    EXPECT_TRUE(other->getChildren().empty());
}

TEST(SGNodeTest, AncestorCannotBecomeChild) {
    auto root = named("root");
    auto child = named("child");
    root->addChild(child);
    child->addChild(root);
    EXPECT_EQ(root->getParent(), nullptr);
    EXPECT_TRUE(child->getChildren().empty());
}

TEST(SGNodeTest, DestroyedParentReleasesChildren) {
    auto child = named("child");
    {
        auto parent = named("parent");
        parent->addChild(child);
        EXPECT_EQ(child->getParent(), parent.get());
    }
    EXPECT_EQ(child->getParent(), nullptr);
}

TEST(SGNodeTest, FindPrefersDirectChildrenAndCollectIsPreOrder) {
    auto root = named("root");
    auto wheelFront = named("wheel_front");
    auto body = named("body");
    auto deepTarget = named("target");
    auto directTarget = named("target");
    auto wheelInner = named("wheel_inner");
    root->addChild(body);
    body->addChild(deepTarget);
    body->addChild(wheelInner);
    root->addChild(wheelFront);
    EXPECT_EQ(root->findByName("target"), deepTarget);
    root->addChild(directTarget);
    EXPECT_EQ(root->findByName("target"), directTarget);
    EXPECT_EQ(root->findByName("none"), nullptr);
    EXPECT_EQ(root->findByName("wheel"), nullptr); // exact names only

    // Expected pre-order over the address-ordered children.
    SGNodeList expected;
    std::function<void(const SGNode&)> walk = [&](const SGNode& node) {
        for (const auto& [key, child] : node.getChildren()) {
            if (child->getName().find("e") != std::string::npos) {
                expected.push_back(child);
            }
            walk(*child);
        }
    };
    walk(*root);
    SGNodeList found;
    root->collectByName("e", found);
    EXPECT_EQ(names(found), names(expected));
    EXPECT_EQ(found, expected);
    EXPECT_EQ(found.size(), 4u);

    SGNodeList wheels;
    root->collectByName("wheel", wheels);
    EXPECT_EQ(wheels.size(), 2u);
}

TEST(SGNodeTest, WorldTransformsAndBoxes) {
    auto root = named("root");
    EXPECT_EQ(root->getBoundingBox(), BoundingBox{});
    root->moveSideways(10.0f, false);
    EXPECT_EQ(root->getWorldTransformation(), root->getTransformation());

    auto mesh = std::make_shared<Mesh>();
    mesh->vertices = {{-1, -1, -1}, {1, 1, 1}};
    auto object = std::make_shared<Object>(mesh);
    object->moveUp(5.0f, false);
    object->yaw(90.0f, false);
    root->addChild(object);
    const glm::vec4 world = object->getWorldTransformation() * glm::vec4(1, 0, 0, 1);
    EXPECT_NEAR(world.x, 10.0f, 1e-5f);
    EXPECT_NEAR(world.y, 5.0f, 1e-5f);
    EXPECT_NEAR(world.z, -1.0f, 1e-5f);

    // The root's box is the child's box in the root's frame; its own transform
    // does not count.
    const BoundingBox box = root->getBoundingBox();
    const BoundingBox expected = {-1, 4, -1, 1, 6, 1};
    for (int i = 0; i < 6; ++i) {
        EXPECT_NEAR(box[i], expected[i], 1e-5f);
    }

    // An object's own meshes are unioned with its children's boxes.
    auto far = std::make_shared<Mesh>();
    far->vertices = {{0, 0, 0}, {1, 1, 3}};
    auto child = std::make_shared<Object>(far);
    child->moveForward(-2.0f, false); // z + 2
    auto parentObject = std::make_shared<Object>(mesh);
    parentObject->addChild(child);
    EXPECT_EQ(parentObject->getBoundingBox(), (BoundingBox{-1, -1, -1, 1, 1, 5}));
}

TEST(SGNodeTest, CloneDeepCopyAndTexts) {
    auto material = std::make_shared<Material>("m");
    auto mesh = std::make_shared<Mesh>("wheel");
    mesh->vertices.resize(3);
    auto object = std::make_shared<Object>(mesh);
    object->setName("car");
    object->setMaterial(material);
    object->moveUp(2.0f, false);
    auto camera = std::make_shared<Camera>(0.5f, 100.0f, 60.0f, 1);
    camera->setName("cam");
    auto light = std::make_shared<Light>();
    light->type = LT_SPOT;
    light->spotCutoff = 12.0f;
    object->addChild(camera);
    camera->addChild(light);

    EXPECT_EQ(object->toString(), "Object::SGNode(car) has Material Mesh wheel: v3");
    EXPECT_EQ(camera->toString(), "Camera::SGNode(cam)");
    EXPECT_EQ(light->toString(), "Light::SGNode");
    EXPECT_EQ(SGNode().toString(), "SGNode");

    const SGNodePtr copy = object->deepCopy();
    auto copiedObject = std::dynamic_pointer_cast<Object>(copy);
    ASSERT_NE(copiedObject, nullptr);
    EXPECT_NE(copiedObject, object);
    EXPECT_EQ(copiedObject->getMeshes(), object->getMeshes());
    EXPECT_EQ(copiedObject->getMaterial(), material);
    EXPECT_EQ(copiedObject->getTransformation(), object->getTransformation());
    EXPECT_EQ(copiedObject->getParent(), nullptr);

    auto copiedCamera = std::dynamic_pointer_cast<Camera>(copy->findByName("cam"));
    ASSERT_NE(copiedCamera, nullptr);
    EXPECT_NE(copiedCamera, camera);
    EXPECT_EQ(copiedCamera->getParent(), copy.get());
    EXPECT_EQ(copiedCamera->fieldOfView, 60.0f);
    EXPECT_EQ(copiedCamera->orthographic, 1);
    ASSERT_EQ(copiedCamera->getChildren().size(), 1u);
    auto copiedLight =
        std::dynamic_pointer_cast<Light>(copiedCamera->getChildren().begin()->second);
    ASSERT_NE(copiedLight, nullptr);
    EXPECT_EQ(copiedLight->type, LT_SPOT);
    EXPECT_EQ(copiedLight->spotCutoff, 12.0f);

    // clone copies no children.
    EXPECT_TRUE(camera->clone()->getChildren().empty());
}

TEST(CameraTest, PerspectiveMatchesHandComputedFrustum) {
    const Camera camera; // near 1, far 1000, 45 degrees
    const glm::mat4 p = camera.getProjection(800, 600);
    const float range = std::tan(22.5f * 0.017453293f);
    const float aspect = 800.0f / 600.0f;
    glm::mat4 expected(0.0f);
    expected[0][0] = 2.0f / (2.0f * range * aspect);
    expected[1][1] = 1.0f / range;
    expected[2][2] = -1001.0f / 999.0f;
    expected[2][3] = -1.0f;
    expected[3][2] = -2000.0f / 999.0f;
    expectMatrixNear(p, expected);
    EXPECT_NEAR(p[1][1], 2.4142135f, 1e-5f);
}

TEST(CameraTest, OrthographicMapsAspectToClipEdge) {
    const Camera camera(1.0f, 11.0f, 45.0f, 1);
    const glm::mat4 p = camera.getProjection(800, 600);
    const glm::vec4 edge = p * glm::vec4(4.0f / 3.0f, 1.0f, -1.0f, 1.0f);
    EXPECT_NEAR(edge.x, 1.0f, 1e-6f);
    EXPECT_NEAR(edge.y, 1.0f, 1e-6f);
    EXPECT_NEAR(edge.z, -1.0f, 1e-6f);
    const glm::vec4 back = p * glm::vec4(0, 0, -11.0f, 1.0f);
    EXPECT_NEAR(back.z, 1.0f, 1e-6f);

    // A zero-height viewport still gives finite numbers.
    const glm::mat4 degenerate = Camera().getProjection(800, 0);
    EXPECT_TRUE(std::isfinite(degenerate[0][0]));
}

} // namespace
