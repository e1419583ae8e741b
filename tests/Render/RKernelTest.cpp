#include "RenderTestSupport.h"

#include "Data/Camera.h"
#include "Data/Material.h"
#include "Data/Object.h"
#include "Platform/Window.h"

#include <cstdio>
#include <cstring>
#include <glm/gtc/matrix_transform.hpp>
#include <limits>

using namespace RenderTest;

namespace {

Data::MeshPtr redTriangle() {
    auto mesh = std::make_shared<Data::Mesh>("triangle");
    mesh->vertices = {{-0.25f, -0.25f, 0.0f}, {0.25f, -0.25f, 0.0f}, {0.0f, 0.25f, 0.0f}};
    mesh->colors.assign(3, glm::vec4(1.0f, 0.0f, 0.0f, 1.0f));
    mesh->faces.push_back({Data::FT_TRIANGLES, 3, nullptr});
    return mesh;
}

// Points, lines and triangles, indexed and not, with several face groups.
Data::SGNodePtr mixedScene() {
    auto root = std::make_shared<Data::SGNode>();
    auto quad = makeSquare(0.8f, {-0.5f, 0.5f, 0.0f}, {0.0f, 1.0f, 0.0f, 1.0f});
    auto lines = std::make_shared<Data::Mesh>("lines");
    lines->vertices = {{0.1f, 0.1f, 0}, {0.9f, 0.9f, 0}, {0.1f, 0.9f, 0}, {0.9f, 0.1f, 0}};
    lines->colors.assign(4, glm::vec4(0, 0, 1, 1));
    lines->faces = {{Data::FT_LINES, 2, nullptr}, {Data::FT_LINES, 2, nullptr}};
    auto points = std::make_shared<Data::Mesh>("points");
    // Pixel centres: (16.5, 16.5) and (22.5, 22.5) of 64 x 64.
    points->vertices = {{-0.484375f, -0.484375f, 0}, {-0.296875f, -0.296875f, 0}};
    points->colors.assign(2, glm::vec4(1, 1, 0, 1));
    points->faces = {{Data::FT_POINTS, 2, nullptr}};
    auto triangle = redTriangle();
    triangle->translate({0.5f, -0.5f, 0.0f});
    for (const auto& mesh : {quad, lines, points, triangle})
        root->addChild(std::make_shared<Data::Object>(mesh));
    return root;
}

TEST_F(GLTest, InitialisedKernelHasTheDefaultStateAndBuiltInProgram) {
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLint value = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
    glGetIntegerv(GL_CULL_FACE_MODE, &value);
    EXPECT_EQ(value, GL_BACK);
    glGetIntegerv(GL_BLEND_SRC_RGB, &value);
    EXPECT_EQ(value, GL_SRC_ALPHA);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &value);
    EXPECT_NE(value, 0) << "a core context draws nothing without a vertex array object";

    ASSERT_TRUE(kernel->getShaderMgmt().getCurrentProgram());
    EXPECT_EQ(kernel->getShaderMgmt().getCurrentProgram()->getName(), "intern SimpleProgram");
    EXPECT_TRUE(kernel->getShaderMgmt().getCurrentProgram()->isCompiled());
    EXPECT_EQ(kernel->getScreen()->getWidth(), WIDTH);
    EXPECT_EQ(kernel->getScreen()->getHeight(), HEIGHT);
    EXPECT_EQ(kernel->getDrawStrategy(), Render::RKernel::VertexBufferObjects);
}

TEST_F(GLTest, BuiltInProgramDrawsTheTriangleWhereTheMatricesPutIt) {
    Render::GLShaderMgmt& shaders = kernel->getShaderMgmt();
    shaders.setProjectionMatrix(glm::scale(glm::mat4(1.0f), glm::vec3(2.0f, 2.0f, 1.0f)));
    shaders.setViewMatrix(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, -0.25f, 0.0f)));
    shaders.writeSharedUniforms();
    kernel->setModelMatrix(glm::translate(glm::mat4(1.0f), glm::vec3(0.25f, 0.0f, 0.0f)));
    kernel->drawMesh(redTriangle());

    // Centre in clip space: 2 x (0.25, -0.25) = (0.5, -0.5): the lower right quarter.
    fipImage frame = capture();
    EXPECT_EQ(pixel(frame, 48, 16), glm::ivec3(255, 0, 0));
    EXPECT_EQ(pixel(frame, 16, 16), glm::ivec3(0, 0, 0));
    EXPECT_EQ(pixel(frame, 48, 48), glm::ivec3(0, 0, 0));
    EXPECT_EQ(pixel(frame, 32, 32), glm::ivec3(0, 0, 0));
}

TEST_F(GLTest, BothDrawStrategiesDrawTheSamePixelsAndOnlyOneCaches) {
    const Data::SGNodePtr scene = mixedScene();
    const std::size_t cached = kernel->getMeshCacheSize();
    kernel->setDrawStrategy(Render::RKernel::VertexArrays);
    kernel->drawNode(scene);
    fipImage streamed = capture();
    EXPECT_EQ(kernel->getMeshCacheSize(), cached);

    kernel->setRenderTarget(kernel->getScreen());
    kernel->setDrawStrategy(Render::RKernel::VertexBufferObjects);
    kernel->drawNode(scene);
    fipImage buffered = capture();
    const std::size_t withScene = kernel->getMeshCacheSize();
    EXPECT_GE(withScene, 4u);
    EXPECT_LE(withScene, cached + 4u);

    ASSERT_EQ(streamed.getScanWidth(), buffered.getScanWidth());
    EXPECT_EQ(0, std::memcmp(streamed.accessPixels(), buffered.accessPixels(),
                             streamed.getScanWidth() * HEIGHT));
    EXPECT_EQ(pixel(buffered, 16, 48), glm::ivec3(0, 255, 0));   // quad
    EXPECT_EQ(pixel(buffered, 48, 16), glm::ivec3(255, 0, 0));   // triangle
    EXPECT_EQ(pixel(buffered, 16, 16), glm::ivec3(255, 255, 0)); // point at (-0.5, -0.5)
    EXPECT_EQ(pixel(buffered, 48, 48), glm::ivec3(0, 0, 255));   // the lines cross here

    // Switching away and back leaves the cache as it was.
    kernel->setDrawStrategy(Render::RKernel::VertexArrays);
    kernel->drawNode(scene);
    kernel->setDrawStrategy(Render::RKernel::VertexBufferObjects);
    kernel->drawNode(scene);
    EXPECT_EQ(kernel->getMeshCacheSize(), withScene);
}

TEST_F(GLTest, MeshesThatNoLongerExistLeaveTheCache) {
    kernel->drawMesh(redTriangle());
    const std::size_t before = kernel->getMeshCacheSize();
    for (int i = 0; i < 5; ++i)
        kernel->drawMesh(redTriangle());
    EXPECT_LE(kernel->getMeshCacheSize(), before + 1);
}

TEST_F(GLTest, FaceGroupsRunningPastTheDataAreNotDrawn) {
    auto mesh = redTriangle();
    mesh->faces.front().count = 6;
    kernel->setDrawStrategy(Render::RKernel::VertexArrays);
    kernel->drawMesh(mesh);
    kernel->setDrawStrategy(Render::RKernel::VertexBufferObjects);
    kernel->drawMesh(mesh);
    fipImage frame = capture();
    EXPECT_EQ(pixel(frame, 32, 32), glm::ivec3(0, 0, 0));
}

// A node material overrides the materials of the face groups below it; without one
// the group's material counts, then the kernel's default material.
TEST_F(GLTest, MaterialsAreInheritedFromNodesBeforeFaceGroups) {
    kernel->getShaderMgmt().setCurrentProgram(materialColourProgram());
    auto green = std::make_shared<Data::Material>("green");
    green->set(Data::MP_DIFFUSE, glm::vec4(0, 1, 0, 1));
    auto red = std::make_shared<Data::Material>("red");
    red->set(Data::MP_DIFFUSE, glm::vec4(1, 0, 0, 1));
    kernel->getDefaultMaterial()->set(Data::MP_DIFFUSE, glm::vec4(0, 0, 1, 1));

    auto left = makeSquare(0.5f, {-0.5f, 0.0f, 0.0f});
    left->faces.front().material = green;
    auto right = makeSquare(0.5f, {0.5f, 0.0f, 0.0f});
    right->faces.front().material = green;
    auto middle = makeSquare(0.3f, {0.0f, 0.5f, 0.0f});

    auto root = std::make_shared<Data::SGNode>();
    auto tinted = std::make_shared<Data::SGNode>();
    tinted->setMaterial(red);
    tinted->addChild(std::make_shared<Data::Object>(right));
    root->addChild(tinted);
    root->addChild(std::make_shared<Data::Object>(left));
    root->addChild(std::make_shared<Data::Object>(middle));
    kernel->drawNode(root);
    kernel->getDefaultMaterial()->remove(Data::MP_DIFFUSE);

    fipImage frame = capture();
    EXPECT_EQ(pixel(frame, 16, 32), glm::ivec3(0, 255, 0));
    EXPECT_EQ(pixel(frame, 48, 32), glm::ivec3(255, 0, 0));
    EXPECT_EQ(pixel(frame, 32, 48), glm::ivec3(0, 0, 255));
    EXPECT_FALSE(kernel->getCurrentMaterial()) << "the traversal restores the material";
}

TEST_F(GLTest, ChildrenOfCamerasAreNotDrawnButChildrenOfEmptyObjectsAre) {
    auto camera = std::make_shared<Data::Camera>();
    camera->addChild(std::make_shared<Data::Object>(makeSquare(0.5f, {-0.5f, 0.0f, 0.0f})));
    auto empty = std::make_shared<Data::Object>();
    empty->addChild(std::make_shared<Data::Object>(makeSquare(0.5f, {0.5f, 0.0f, 0.0f})));
    kernel->drawNodes({camera, empty, nullptr});
    fipImage frame = capture();
    EXPECT_EQ(pixel(frame, 16, 32), glm::ivec3(0, 0, 0));
    EXPECT_EQ(pixel(frame, 48, 32), glm::ivec3(255, 255, 255));
}

TEST_F(GLTest, FrustumCullingDropsWhatIsBehindAndKeepsWhatSurroundsTheView) {
    auto camera = std::make_shared<Data::Camera>(1.0f, 100.0f, 45.0f, 0);
    kernel->setCamera(camera);
    kernel->setFrustumCulling(true);
    const Data::BoundingBox small{-1, -1, -1, 1, 1, 1};
    const glm::mat4 behind = glm::translate(glm::mat4(1.0f), glm::vec3(0, 0, 10));
    const glm::mat4 ahead = glm::translate(glm::mat4(1.0f), glm::vec3(0, 0, -10));
    EXPECT_FALSE(kernel->isVisible(small, behind));
    EXPECT_TRUE(kernel->isVisible(small, ahead));
    const glm::mat4 farLeft = glm::translate(glm::mat4(1.0f), glm::vec3(-50, 0, -10));
    EXPECT_FALSE(kernel->isVisible(small, farLeft));
    // In front of the camera, every corner outside the view, on opposite sides.
    const Data::BoundingBox wall{-100, -100, -1, 100, 100, 1};
    EXPECT_TRUE(kernel->isVisible(wall, ahead));

    auto hidden = std::make_shared<Data::Object>(makeSquare(2.0f, {0, 0, 0}));
    hidden->setTransformation(behind);
    auto big = std::make_shared<Data::Object>(makeSquare(400.0f, {0, 0, 0}, {0, 0, 1, 1}));
    big->setTransformation(glm::translate(glm::mat4(1.0f), glm::vec3(0, 0, -20)));
    kernel->drawNodes({hidden, big});
    fipImage frame = capture();
    EXPECT_EQ(pixel(frame, 32, 32), glm::ivec3(0, 0, 255));

    kernel->setFrustumCulling(false);
    EXPECT_TRUE(kernel->isVisible(small, behind));
}

TEST_F(GLTest, DrawDistanceDropsObjectsWhollyFartherThanItAlsoWithoutFrustumCulling) {
    auto camera = std::make_shared<Data::Camera>(1.0f, 500.0f, 45.0f, 0);
    kernel->setCamera(camera);
    const Data::BoundingBox unit{-1, -1, -1, 1, 1, 1};
    const glm::mat4 at40 = glm::translate(glm::mat4(1.0f), glm::vec3(0, 0, -40));
    kernel->setDrawDistance(30.0f);
    EXPECT_FALSE(kernel->isVisible(unit, at40));
    // A box reaching back within the distance is kept: here scaled to a radius of 17.
    EXPECT_TRUE(kernel->isVisible(unit, glm::scale(at40, glm::vec3(10.0f))));
    EXPECT_TRUE(kernel->isVisible(unit, glm::translate(glm::mat4(1.0f), glm::vec3(0, 0, -20))));

    // Near red in front of far blue: without the far square the background shows.
    auto near = std::make_shared<Data::Object>(makeSquare(8.0f, {0, 0, 0}, {1, 0, 0, 1}));
    near->setTransformation(glm::translate(glm::mat4(1.0f), glm::vec3(-4, 0, -20)));
    auto far = std::make_shared<Data::Object>(makeSquare(40.0f, {0, 0, 0}, {0, 0, 1, 1}));
    far->setTransformation(glm::translate(glm::mat4(1.0f), glm::vec3(0, 0, -100)));
    kernel->drawNodes({near, far});
    fipImage culled = capture();
    EXPECT_EQ(pixel(culled, 16, 32), glm::ivec3(255, 0, 0));
    EXPECT_EQ(pixel(culled, 40, 32), glm::ivec3(0, 0, 0));

    kernel->setDrawDistance(std::numeric_limits<float>::infinity());
    kernel->setRenderTarget(kernel->getScreen());
    kernel->drawNodes({near, far});
    fipImage all = capture();
    EXPECT_EQ(pixel(all, 16, 32), glm::ivec3(255, 0, 0));
    EXPECT_EQ(pixel(all, 40, 32), glm::ivec3(0, 0, 255));
}

// Counts the lit pixels of a frame and their extent along x.
struct Coverage {
    int lit = 0;
    int minX = 1 << 20;
    int maxX = -1;
};

Coverage coverage(fipImage& frame) {
    Coverage c;
    for (int y = 0; y < GLTest::HEIGHT; ++y)
        for (int x = 0; x < GLTest::WIDTH; ++x) {
            RGBQUAD colour{};
            frame.getPixelColor(x, y, &colour);
            if (colour.rgbRed || colour.rgbGreen || colour.rgbBlue) {
                ++c.lit;
                c.minX = std::min(c.minX, x);
                c.maxX = std::max(c.maxX, x);
            }
        }
    return c;
}

TEST_F(GLTest, DebugModesDrawBoxesAndAxesInsteadOfMeshes) {
    auto object = std::make_shared<Data::Object>(makeSquare(0.8f, {0, 0, 0}, {0, 1, 0, 1}));
    object->setTransformation(
        glm::rotate(glm::mat4(1.0f), glm::radians(45.0f), glm::vec3(0, 0, 1)));

    std::vector<Coverage> results;
    for (int mode = 0; mode <= 3; ++mode) {
        kernel->setRenderTarget(kernel->getScreen());
        kernel->setDebugDrawMode(mode);
        kernel->drawNode(object);
        fipImage frame = capture();
        results.push_back(coverage(frame));
        if (mode != 0) {
            EXPECT_NE(pixel(frame, 32, 32), glm::ivec3(0, 255, 0)) << "mode " << mode;
        }
    }
    // The turned square spans 0.8 x sqrt(2) in x; its world-aligned box just as much,
    // its oriented box (the square's own outline) as well, but only as lines.
    EXPECT_GT(results[0].lit, results[1].lit);
    EXPECT_GT(results[1].lit, 0);
    EXPECT_GT(results[2].lit, 0);
    EXPECT_NEAR(results[1].maxX - results[1].minX, results[0].maxX - results[0].minX, 2);
    EXPECT_NEAR(results[2].maxX - results[2].minX, results[0].maxX - results[0].minX, 2);
    // Axes reach the box maximum along the turned x and y axes only.
    EXPECT_GT(results[3].lit, 0);
    EXPECT_LT(results[3].lit, results[2].lit);
}

TEST_F(GLTest, CameraVisualisationOutlinesTheFrustum) {
    auto viewer = std::make_shared<Data::Camera>(1.0f, 100.0f, 45.0f, 0);
    viewer->setTransformation(glm::translate(glm::mat4(1.0f), glm::vec3(0, 0, 30)));
    kernel->setCamera(viewer);
    auto shown = std::make_shared<Data::Camera>(1.0f, 10.0f, 45.0f, 0);
    kernel->drawCamera(shown, kernel->getScreen());
    fipImage frame = capture();
    Coverage c = coverage(frame);
    EXPECT_GT(c.lit, 0);
    // The far plane at distance 10 is about 8 units wide, about a third of the view.
    EXPECT_GT(c.maxX - c.minX, 10);
    EXPECT_LT(c.maxX - c.minX, 40);
}

TEST_F(GLTest, ProjectiveTextureMatrixIsTheLightCamerasClipTransform) {
    const char* vertex = "#version 140\nuniform mat4 projTexMatrix;\nin vec3 in_Position;\n"
                         "void main() { gl_Position = projTexMatrix * vec4(in_Position, 1.0); }\n";
    const char* fragment = "#version 140\nout vec4 c;\nvoid main() { c = vec4(1.0); }\n";
    kernel->getShaderMgmt().setCurrentProgram(
        Data::Shader{"projTex", "test", {vertex}, {fragment}});
    auto light = std::make_shared<Data::Camera>(1.0f, 50.0f, 60.0f, 0);
    light->setTransformation(glm::translate(glm::mat4(1.0f), glm::vec3(3, 0, 5)));
    kernel->setProjTexMatrix(light, kernel->getScreen());

    GLfloat value[16];
    glGetUniformfv(kernel->getShaderMgmt().getCurrentProgram()->getProgram(),
                   glGetUniformLocation(kernel->getShaderMgmt().getCurrentProgram()->getProgram(),
                                        "projTexMatrix"),
                   value);
    const glm::mat4 expected =
        light->getProjection(WIDTH, HEIGHT) * glm::translate(glm::mat4(1.0f), glm::vec3(-3, 0, -5));
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(value[i], (&expected[0][0])[i], 1e-5f) << i;
}

TEST_F(GLTest, AViewportTakesItsPartOfTheTargetAndCamerasTakeItsShape) {
    Render::GLShaderMgmt& shaders = kernel->getShaderMgmt();
    auto camera = std::make_shared<Data::Camera>(1.0f, 100.0f, 60.0f, 0);
    kernel->setViewport(0, 0, WIDTH / 2, HEIGHT);
    kernel->setCamera(camera);
    EXPECT_EQ(shaders.getProjectionMatrix(), camera->getProjection(WIDTH / 2, HEIGHT));
    // What fills the clip space fills the left half only.
    shaders.setProjectionMatrix(glm::mat4(1.0f));
    shaders.setViewMatrix(glm::mat4(1.0f));
    shaders.writeSharedUniforms();
    kernel->drawMesh(makeSquare(2.0f, {0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f, 1.0f}));
    fipImage frame = capture();
    EXPECT_EQ(pixel(frame, 16, 32), glm::ivec3(255, 0, 0));
    EXPECT_EQ(pixel(frame, 48, 32), glm::ivec3(0, 0, 0));
    // A new target brings back the whole of it.
    kernel->setRenderTarget(kernel->getScreen());
    kernel->setCamera(camera);
    EXPECT_EQ(shaders.getProjectionMatrix(), camera->getProjection(WIDTH, HEIGHT));
}

// The scene drawn at half size comes onto the whole window, filtered, colours in
// their channels, whatever scissor the game left on; the screen is then current.
TEST_F(GLTest, ScaledSceneIsPresentedOverTheWholeWindowFiltered) {
    kernel->setSceneScale(0.5f);
    const Render::RenderTargetPtr scene = kernel->getSceneTarget();
    ASSERT_NE(scene.get(), kernel->getScreen().get());
    EXPECT_EQ(scene->getWidth(), WIDTH / 2);
    EXPECT_EQ(scene->getHeight(), HEIGHT / 2);
    kernel->setRenderTarget(scene);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], WIDTH / 2);
    // Left half red, right half blue.
    glEnable(GL_SCISSOR_TEST);
    for (const auto& [x, colour] : {std::pair{0, glm::vec3(1, 0, 0)}, {WIDTH / 4, {0, 0, 1}}}) {
        glScissor(x, 0, WIDTH / 4, HEIGHT / 2);
        glClearColor(colour.r, colour.g, colour.b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glScissor(0, 0, 1, 1);
    kernel->presentScene();
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST)) << "the game's state is given back";
    glDisable(GL_SCISSOR_TEST);
    EXPECT_EQ(kernel->getRenderTarget().get(), kernel->getScreen().get());
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], WIDTH);
    EXPECT_EQ(viewport[3], HEIGHT);

    fipImage frame = capture();
    for (int y : {0, HEIGHT / 2, HEIGHT - 1}) {
        EXPECT_EQ(pixel(frame, 0, y), glm::ivec3(255, 0, 0)) << y;
        EXPECT_EQ(pixel(frame, 28, y), glm::ivec3(255, 0, 0)) << y;
        EXPECT_EQ(pixel(frame, 35, y), glm::ivec3(0, 0, 255)) << y;
        EXPECT_EQ(pixel(frame, WIDTH - 1, y), glm::ivec3(0, 0, 255)) << y;
        // Across the border the two blend.
        const glm::ivec3 border = pixel(frame, 31, y);
        EXPECT_GT(border.r, 0) << y;
        EXPECT_GT(border.b, 0) << y;
        EXPECT_EQ(border.r + border.b, 255) << y;
    }

    kernel->setSceneScale(1.0f);
    EXPECT_EQ(kernel->getSceneTarget().get(), kernel->getScreen().get());
}

TEST_F(GLTest, SavedFrameIsThePictureDrawn) {
    kernel->drawMesh(makeSquare(1.0f, {0.5f, 0.5f, 0.0f}, {0.0f, 1.0f, 1.0f, 1.0f}));
    const std::string path = "saved-frame.png";
    ASSERT_TRUE(Render::saveFrame(path));
    fipImage saved;
    ASSERT_TRUE(saved.load(path.c_str()));
    std::remove(path.c_str());
    EXPECT_EQ(saved.getWidth(), static_cast<unsigned>(WIDTH));
    EXPECT_EQ(saved.getHeight(), static_cast<unsigned>(HEIGHT));
    EXPECT_EQ(pixel(saved, 48, 48), glm::ivec3(0, 255, 255));
    EXPECT_EQ(pixel(saved, 16, 16), glm::ivec3(0, 0, 0));
    EXPECT_FALSE(Render::saveFrame("no-such-directory/frame.png"));
}

TEST(RKernelLifecycle, DestroyingWithoutInitIsSafeAndLogged) {
    LogRecorder log;
    auto first = std::make_unique<Render::RKernel>();
    EXPECT_EQ(Render::RKernel::current(), first.get());
    first.reset();
    EXPECT_NE(log.find("shut down"), nullptr);
    EXPECT_EQ(Render::RKernel::current(), nullptr) << "none is left behind";
    auto second = std::make_unique<Render::RKernel>();
    EXPECT_EQ(Render::RKernel::current(), second.get());
    EXPECT_EQ(second->getMeshCacheSize(), 0u);
}

TEST(RKernelLifecycle, InitLogsTheContextAndShutdownClosesTheWindow) {
    LogRecorder log;
    auto kernel = std::make_unique<Render::RKernel>();
    ASSERT_EQ(kernel->init(32, 32, 32, 16, false), 0);
    EXPECT_TRUE(Platform::isWindowOpen());
    ASSERT_FALSE(log.messages.empty());
    EXPECT_EQ(log.messages.front().getTitle(), "initializing...");
    EXPECT_EQ(log.messages.front().getAuthor(), "RKernel");
    int major = 0, minor = 0, revision = 0;
    Platform::getVersion(major, minor, revision);
    EXPECT_NE(log.find("GLFW " + std::to_string(major) + "." + std::to_string(minor) + " rev" +
                       std::to_string(revision)),
              nullptr);
    const Tool::Message* glew =
        log.find(std::string("GLEW ") + reinterpret_cast<const char*>(glewGetString(GLEW_VERSION)));
    ASSERT_NE(glew, nullptr);
    EXPECT_EQ(glew->getMessage(), "features: GLSL FBO ");

    GLint glMajor = 0, glMinor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &glMajor);
    glGetIntegerv(GL_MINOR_VERSION, &glMinor);
    const Tool::Message* context =
        log.find("OpenGL " + std::to_string(glMajor) + "." + std::to_string(glMinor));
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(context->getMessage().rfind("forward-compatible-context ", 0), 0u);
    EXPECT_NE(context->getMessage().find("Tex "), std::string::npos);
    EXPECT_NE(log.find("Framebuffer"), nullptr);
    const Tool::Message* program = log.find("intern SimpleProgram");
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(program->getType(), Tool::MT_DEBUG);
    kernel.reset();
    EXPECT_FALSE(Platform::isWindowOpen());
    EXPECT_EQ(log.messages.back().getTitle(), "shut down");
}

// A software renderer's window has no depth: asking for the size of its depth buffer
// was an error that the first texture upload took for its own, and failed.
TEST(RKernelLifecycle, WindowWithoutDepthLeavesNoErrorForTheFirstUpload) {
    LogRecorder log;
    auto kernel = std::make_unique<Render::RKernel>();
    ASSERT_EQ(kernel->init(32, 32, 0, 0, false), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const Tool::Message* framebuffer = log.find("Framebuffer");
    ASSERT_NE(framebuffer, nullptr);
    EXPECT_EQ(framebuffer->getMessage().rfind("depth bits 0 (asked 0)", 0), 0u);
}

} // namespace

namespace {

// The monitor may lack the asked-for mode (a virtual screen has one); the screen
// target then covers the window that was really opened.
TEST(RKernelLifecycle, FullScreenTargetCoversTheOpenedWindow) {
    auto kernel = std::make_unique<Render::RKernel>();
    ASSERT_EQ(kernel->init(320, 240, 24, 0, true), 0);
    int width = 0, height = 0;
    Platform::getWindowSize(width, height);
    EXPECT_GE(width, 320);
    EXPECT_GE(height, 240);
    EXPECT_EQ(kernel->getScreen()->getWidth(), width);
    EXPECT_EQ(kernel->getScreen()->getHeight(), height);
    kernel->setRenderTarget(kernel->getScreen());
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], width);
    EXPECT_EQ(viewport[3], height);
}

} // namespace
