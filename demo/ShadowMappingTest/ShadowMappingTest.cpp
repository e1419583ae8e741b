#include "demo/ShadowMappingTest/ShadowMappingTest.h"

#include "Data/Object.h"
#include "Data/Shapes.h"
#include "Render/BuiltinShaders.h"
#include "Render/rkernel/RKernel.h"
#include "System/File.h"

#include <GL/glew.h>
#include <cmath>
#include <memory>

namespace Demo {
namespace {

// The light camera's range, which the shadow view below shows.
constexpr float LIGHT_NEAR = 1.0f;
constexpr float LIGHT_FAR = 430.0f;
constexpr float LIGHT_FIELD_OF_VIEW = 70.0f;
constexpr float LIGHT_RADIUS = 20.0f;
constexpr float LIGHT_HEIGHT = 17.0f;
constexpr float LIGHT_SPEED = 20.0f; // degrees per second
// The outline of the light camera's view ends here, just beyond the scene, instead
// of at its far plane hundreds of units away.
constexpr float OUTLINE_FAR = 40.0f;
// The shadow map's picture: this share of the window's height, in the lower right.
constexpr float VIEW_SHARE = 0.3f;

// Draws a depth texture into a rectangle of the window, near in white and far in
// black over the range the scene spans as seen from the light.
Data::Shader shadowMapViewProgram() {
    return Data::Shader{
        "shadow map view",
        "intern:shadow map view",
        {"#version 140\n"
         "in vec3 in_Position;\nin vec2 in_TexCoord0;\n"
         "uniform vec4 viewRect; // left, bottom, width, height in device coordinates\n"
         "out vec2 ex_TexCoord;\n"
         "void main(void) {\n"
         "    ex_TexCoord = in_TexCoord0;\n"
         "    gl_Position = vec4(viewRect.xy + (in_Position.xy + 0.5) * viewRect.zw, 0.0, 1.0);\n"
         "}\n"},
        {"#version 140\n"
         "in vec2 ex_TexCoord;\n"
         "uniform sampler2D depthView;\n"
         "uniform vec4 depthRange; // near and far plane, nearest and farthest shown\n"
         "out vec4 out_Color;\n"
         "void main(void) {\n"
         "    float ndc = texture(depthView, ex_TexCoord).r * 2.0 - 1.0;\n"
         "    float n = depthRange.x, f = depthRange.y;\n"
         "    float distance = 2.0 * n * f / (f + n - ndc * (f - n));\n"
         "    float shade = 1.0 - clamp((distance - depthRange.z) / (depthRange.w - depthRange.z),"
         " 0.0, 1.0);\n"
         "    out_Color = vec4(vec3(shade), 1.0);\n"
         "}\n"}};
}

} // namespace

ShadowMappingTest::ShadowMappingTest(const DemoOptions& options)
    : DemoApplication(options), litProgram(Scenery::loadProgram("default")),
      depthProgram(Scenery::loadProgram("createShadowMap")),
      viewProgram(std::make_shared<Data::Shader>(shadowMapViewProgram())),
      lightCamera(std::make_shared<Data::Camera>(LIGHT_NEAR, LIGHT_FAR, LIGHT_FIELD_OF_VIEW, 0)),
      lightOutline(std::make_shared<Data::Camera>(LIGHT_NEAR, OUTLINE_FAR, LIGHT_FIELD_OF_VIEW, 0)),
      spot(std::make_shared<Data::Light>()),
      skyLight(Scenery::sunLight({0.2f, 1.0f, 0.3f}, {0.2f, 0.22f, 0.3f, 1.0f})),
      viewQuad(Data::makeQuad(1.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, nullptr)) {
    spot->type = Data::LT_SPOT;
    spot->spotCutoff = 32.0f;
    spot->spotExponent = 4.0f;
    spot->constantAttenuation = 1.0f;
    spot->linearAttenuation = 0.0f;
    spot->quadraticAttenuation = 0.0f;
    spot->diffuse = {1.0f, 0.95f, 0.85f, 1.0f};
    spot->ambient = {0.05f, 0.05f, 0.05f, 1.0f};
    skyLight->ambient = glm::vec4(0.0f, 0.0f, 0.0f, 1.0f);
    skyLight->specular = glm::vec4(0.0f);
    buildScene();
    camera->setTransformation(Scenery::lookFrom({4.0f, 24.0f, 40.0f}, {0.0f, 2.0f, 0.0f}));
    setInfoText("shadow map " + std::to_string(SHADOW_MAP_SIZE) + " x " +
                std::to_string(SHADOW_MAP_SIZE) +
                ": lower right\n"
                "white lines: the light camera's view\nC: fly the camera yourself");
    animate(0.0);
}

void ShadowMappingTest::buildScene() {
    auto ground = std::make_shared<Data::Object>(Scenery::groundMesh(60.0f, 24, 6.0f));
    auto groundMaterial =
        Scenery::colourMaterial({1.0f, 1.0f, 1.0f, 1.0f}, {0.6f, 0.6f, 0.6f, 1.0f});
    groundMaterial->set(Data::MP_DIFFUSE_TEXTURE, Scenery::loadPicture("GroundTexture.jpg"));
    ground->setMaterial(groundMaterial);
    scene->addChild(ground);

    if (Data::SGNodePtr jeep = System::File::loadMesh({"jeep1_xsi.dae", "data\\vehicles\\jeep\\"}))
        scene->addChild(Scenery::placed(jeep, {-1.0f, 0.0f, 2.0f}, 25.0f));
    if (Data::SGNodePtr crate = System::File::loadMesh({"crate.dae", "data\\objects\\crate\\"})) {
        const Data::BoundingBox box = crate->getBoundingBox();
        scene->addChild(Scenery::placed(crate->deepCopy(), {6.0f, -box[1], -2.0f}, 10.0f));
        scene->addChild(Scenery::placed(crate->deepCopy(), {7.5f, -box[1], 1.0f}, 50.0f));
        scene->addChild(
            Scenery::placed(crate->deepCopy(), {6.7f, box[4] - 2.0f * box[1], -0.5f}, 30.0f));
    }
    const struct {
        glm::vec3 position;
        float size;
        glm::vec4 colour;
    } boxes[] = {{{-8.0f, 3.0f, -5.0f}, 6.0f, {0.75f, 0.3f, 0.2f, 1.0f}},
                 {{-9.0f, 1.0f, 6.0f}, 2.0f, {0.3f, 0.5f, 0.8f, 1.0f}}};
    for (const auto& b : boxes) {
        auto box = std::make_shared<Data::Object>(Data::makeTriangleBox(b.size));
        box->setMaterial(
            Scenery::colourMaterial(b.colour, b.colour * 0.6f, {0.3f, 0.3f, 0.3f, 1.0f}, 24.0f));
        scene->addChild(Scenery::placed(box, b.position, 20.0f));
    }
    const Data::MeshPtr ball = Data::makeSphere(1.2f, 32, 16);
    for (int i = 0; i < 5; ++i) {
        auto sphere = std::make_shared<Data::Object>(ball);
        const float shade = 0.2f * static_cast<float>(i);
        sphere->setMaterial(Scenery::colourMaterial({0.9f - shade, 0.6f, 0.2f + shade, 1.0f},
                                                    {0.5f, 0.35f, 0.2f, 1.0f},
                                                    {0.5f, 0.5f, 0.5f, 1.0f}, 40.0f));
        scene->addChild(Scenery::placed(
            sphere, {-4.0f + 3.0f * static_cast<float>(i), 1.2f + 0.6f * i, -9.0f}, 0.0f));
    }
}

bool ShadowMappingTest::animate(double dt) {
    lightAngle += static_cast<float>(dt) * LIGHT_SPEED;
    const float a = lightAngle * 0.017453293f;
    const glm::mat4 light = Scenery::lookFrom(
        {LIGHT_RADIUS * std::cos(a), LIGHT_HEIGHT, LIGHT_RADIUS * std::sin(a)}, {0.0f, 0.0f, 0.0f});
    lightCamera->setTransformation(light);
    lightOutline->setTransformation(light);
    spot->setTransformation(light);
    if (hasWindow())
        drawShadowMap();
    return true;
}

void ShadowMappingTest::drawShadowMap() {
    Render::RKernel* kernel = Render::RKernel::current();
    // Made with the first frame: without a window there is no OpenGL to make it.
    if (!shadowMap)
        shadowMap = std::make_shared<Render::RTTexture>(SHADOW_MAP_SIZE, SHADOW_MAP_SIZE);
    kernel->getShaderMgmt().setCurrentProgram(depthProgram);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glCullFace(GL_FRONT);
    kernel->setRenderTarget(shadowMap);
    kernel->setCamera(lightCamera);
    kernel->drawNode(scene);
    shadowMap->end();
    glCullFace(GL_BACK);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

void ShadowMappingTest::drawScene() {
    Render::RKernel* kernel = Render::RKernel::current();
    Render::GLShaderMgmt& shaders = kernel->getShaderMgmt();
    sky.bindPictures();
    kernel->bindTexture("shadowMap", shadowMap);
    sky.draw();
    shaders.setLights({spot, skyLight});
    shaders.setGlobalAmbient({0.25f, 0.25f, 0.28f, 1.0f});
    shaders.setCurrentProgram(litProgram);
    kernel->setProjTexMatrix(lightCamera, shadowMap);
    kernel->drawNode(scene);

    shaders.setCurrentProgram(Render::makeSimpleProgram());
    kernel->drawCamera(lightOutline, shadowMap);
    drawShadowMapView();
}

void ShadowMappingTest::drawShadowMapView() const {
    Render::RKernel* kernel = Render::RKernel::current();
    Render::GLShaderMgmt& shaders = kernel->getShaderMgmt();
    kernel->bindTexture("depthView", shadowMap);
    // The view reads the stored depths themselves, not comparisons with them.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_NONE);
    shaders.setCurrentProgram(viewProgram);
    const Render::RTScreenPtr& screen = kernel->getScreen();
    const float height = 2.0f * VIEW_SHARE;
    const float width =
        height * static_cast<float>(screen->getHeight()) / static_cast<float>(screen->getWidth());
    shaders.setUniform("viewRect", glm::vec4(0.98f - width, -0.98f, width, height));
    shaders.setUniform("depthRange", glm::vec4(LIGHT_NEAR, LIGHT_FAR, LIGHT_HEIGHT,
                                               LIGHT_RADIUS + LIGHT_HEIGHT + 15.0f));
    glDisable(GL_DEPTH_TEST);
    kernel->drawMesh(viewQuad);
    glEnable(GL_DEPTH_TEST);
    kernel->bindTexture("depthView", shadowMap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
}

} // namespace Demo
