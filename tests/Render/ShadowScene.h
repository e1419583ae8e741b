#pragma once

// A lit, textured scene with a shadow-casting spot light, drawn the way the level
// draws: a depth pass into a render texture, then the main pass sampling it. Used by
// the scene tests and by the render benchmark.

#include "Data/Camera.h"
#include "Data/Image.h"
#include "Data/Light.h"
#include "Data/Material.h"
#include "Data/Object.h"
#include "Data/Shader.h"
#include "Data/Shapes.h"
#include "Render/rkernel/RKernel.h"
#include "Render/targets/RTTexture.h"

#include <GL/glew.h>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <memory>
#include <vector>

namespace RenderTest {

inline Data::Shader depthProgram() {
    return Data::Shader{
        "test depth",
        "test",
        {"#version 140\nuniform mat4 projMatrix, viewMatrix, modelMatrix;\nin vec3 in_Position;\n"
         "void main() { gl_Position = projMatrix * viewMatrix * modelMatrix * "
         "vec4(in_Position, 1.0); }\n"},
        {"#version 140\nout vec4 c;\nvoid main() { c = vec4(1.0); }\n"}};
}

// Per-pixel lighting of every light type, the material's texture, and the shadow of
// light 0 from the shadow map.
inline Data::Shader litProgram() {
    return Data::Shader{
        "test lit",
        "test",
        {"#version 140\nuniform mat4 projMatrix, viewMatrix, modelMatrix, projTexMatrix;\n"
         "uniform mat3 normalMatrix;\nin vec3 in_Position;\nin vec3 in_Normal;\n"
         "in vec2 in_TexCoord0;\nout vec3 eyePosition;\nout vec3 eyeNormal;\nout vec2 uv;\n"
         "out vec4 shadowCoord;\nvoid main() {\n"
         "  vec4 world = modelMatrix * vec4(in_Position, 1.0);\n"
         "  vec4 eye = viewMatrix * world;\n  eyePosition = eye.xyz;\n"
         "  eyeNormal = normalMatrix * in_Normal;\n  uv = in_TexCoord0;\n"
         "  shadowCoord = projTexMatrix * world;\n  gl_Position = projMatrix * eye;\n}\n"},
        {"#version 140\n"
         "struct Light { vec4 ambient, diffuse, specular, position; vec3 spotDirection;\n"
         "  float spotExponent, spotCutoff, spotCosCutoff, constantAttenuation,\n"
         "  linearAttenuation, quadraticAttenuation; };\n"
         "uniform Light LightSource[4];\nuniform float NumEnabledLights;\n"
         "uniform vec4 globalAmbient;\n"
         "uniform struct Material { vec4 ambient, diffuse, specular, emission; float shininess;\n"
         "  bool diffuseTextureAvailable; } FrontMaterial;\n"
         "uniform sampler2D diffuseTex;\nuniform sampler2DShadow shadowMap;\n"
         "in vec3 eyePosition;\nin vec3 eyeNormal;\nin vec2 uv;\nin vec4 shadowCoord;\n"
         "out vec4 colour;\n"
         "float shadowFactor() {\n"
         "  vec3 p = shadowCoord.xyz / shadowCoord.w * 0.5 + 0.5;\n"
         "  if (shadowCoord.w <= 0.0 || any(lessThan(p, vec3(0.0))) ||\n"
         "      any(greaterThan(p, vec3(1.0)))) return 1.0;\n"
         "  return mix(0.25, 1.0, texture(shadowMap, vec3(p.xy, p.z - 0.002)));\n}\n"
         "void main() {\n"
         "  vec3 n = normalize(eyeNormal);\n  vec3 v = normalize(-eyePosition);\n"
         "  vec4 base = FrontMaterial.diffuseTextureAvailable ? texture(diffuseTex, uv) : "
         "vec4(1.0);\n"
         "  vec3 light = globalAmbient.rgb * FrontMaterial.ambient.rgb + "
         "FrontMaterial.emission.rgb;\n"
         "  for (int i = 0; i < int(NumEnabledLights); ++i) {\n"
         "    Light s = LightSource[i];\n    vec3 l = s.position.xyz;\n    float att = 1.0;\n"
         "    if (s.position.w != 0.0) {\n      l -= eyePosition;\n      float d = length(l);\n"
         "      att = 1.0 / (s.constantAttenuation + s.linearAttenuation * d +\n"
         "                   s.quadraticAttenuation * d * d);\n      if (s.spotCutoff <= 90.0) {\n"
         "        float c = dot(normalize(-l), normalize(s.spotDirection));\n"
         "        att *= c < s.spotCosCutoff ? 0.0 : pow(c, s.spotExponent);\n      }\n    }\n"
         "    l = normalize(l);\n    float shade = i == 0 ? shadowFactor() : 1.0;\n"
         "    float diffuse = max(dot(n, l), 0.0);\n"
         "    float specular = diffuse > 0.0 ? pow(max(dot(reflect(-l, n), v), 0.0),\n"
         "                                          max(FrontMaterial.shininess, 1.0)) : 0.0;\n"
         "    light += att * (s.ambient.rgb * FrontMaterial.ambient.rgb + shade * (diffuse *\n"
         "             s.diffuse.rgb * FrontMaterial.diffuse.rgb + specular * s.specular.rgb *\n"
         "             FrontMaterial.specular.rgb));\n  }\n"
         "  colour = vec4(light * base.rgb, 1.0);\n}\n"}};
}

// A 64 x 64 checker board in two colours.
inline Data::ImagePtr checkerImage() {
    auto image = std::make_shared<Data::Image>();
    image->origin = "test:checker";
    image->picture.setSize(FIT_BITMAP, 64, 64, 24);
    for (unsigned y = 0; y < 64; ++y) {
        BYTE* line = image->picture.getScanLine(y);
        for (unsigned x = 0; x < 64; ++x) {
            const bool light = ((x / 8) + (y / 8)) % 2 == 0;
            line[x * 3 + FI_RGBA_RED] = light ? 230 : 60;
            line[x * 3 + FI_RGBA_GREEN] = light ? 220 : 110;
            line[x * 3 + FI_RGBA_BLUE] = light ? 190 : 60;
        }
    }
    return image;
}

// Gently rolling ground of cells x cells squares (two triangles each), 24 units wide.
inline Data::MeshPtr groundMesh(int cells) {
    auto mesh = std::make_shared<Data::Mesh>("ground");
    mesh->texCoords.resize(1);
    const float size = 24.0f;
    for (int j = 0; j <= cells; ++j)
        for (int i = 0; i <= cells; ++i) {
            const float x = -size / 2 + size * i / cells;
            const float z = -size / 2 + size * j / cells;
            const float y = 0.2f * std::sin(x * 0.7f) * std::cos(z * 0.5f);
            const float dx = 0.14f * std::cos(x * 0.7f) * std::cos(z * 0.5f);
            const float dz = -0.1f * std::sin(x * 0.7f) * std::sin(z * 0.5f);
            mesh->vertices.emplace_back(x, y, z);
            mesh->normals.push_back(glm::normalize(glm::vec3(-dx, 1.0f, -dz)));
            mesh->texCoords[0].emplace_back(x / 3.0f, z / 3.0f);
        }
    for (int j = 0; j < cells; ++j)
        for (int i = 0; i < cells; ++i) {
            const std::uint32_t a = j * (cells + 1) + i;
            const std::uint32_t b = a + cells + 1;
            mesh->indices.insert(mesh->indices.end(), {a, b, a + 1, a + 1, b, b + 1});
        }
    mesh->faces.push_back(
        {Data::FT_TRIANGLES, static_cast<std::uint32_t>(mesh->indices.size()), nullptr});
    return mesh;
}

inline Data::MaterialPtr colouredMaterial(const glm::vec4& colour, bool textured = false) {
    auto material = std::make_shared<Data::Material>();
    material->set(Data::MP_AMBIENT, colour);
    material->set(Data::MP_DIFFUSE, colour);
    material->set(Data::MP_SPECULAR, glm::vec4(0.4f, 0.4f, 0.4f, 1.0f));
    material->set(Data::MP_SHININESS, 24.0f);
    if (textured)
        material->set(Data::MP_DIFFUSE_TEXTURE, checkerImage());
    return material;
}

inline glm::mat4 lookFrom(const glm::vec3& eye, const glm::vec3& target) {
    return glm::inverse(glm::lookAt(eye, target, glm::vec3(0, 1, 0)));
}

struct ShadowScene {
    // The programs of the two passes; any that take the same uniforms serve.
    Data::Shader shadowProgram = depthProgram();
    Data::Shader mainProgram = litProgram();
    Data::SGNodePtr root = std::make_shared<Data::SGNode>();
    Data::SGNodePtr casters = std::make_shared<Data::SGNode>();
    Data::CameraPtr camera = std::make_shared<Data::Camera>(1.0f, 100.0f, 45.0f, 0);
    Data::CameraPtr lightCamera = std::make_shared<Data::Camera>(2.0f, 60.0f, 75.0f, 0);
    Render::GLShaderMgmt::LightList lights;
    Render::RTTexturePtr shadowTarget;

    // The depth pass into the shadow target, then the shadow map bound to "shadowMap".
    void drawShadowPass(Render::RKernel& kernel, const Data::SGNodePtr& shadowCasters) const {
        kernel.getShaderMgmt().setCurrentProgram(shadowProgram);
        glClearColor(1, 1, 1, 1);
        glCullFace(GL_FRONT);
        kernel.setRenderTarget(shadowTarget);
        kernel.setCamera(lightCamera);
        kernel.drawNode(shadowCasters);
        shadowTarget->end();
        glCullFace(GL_BACK);
        glClearColor(0, 0, 0, 1);
        kernel.bindTexture("shadowMap", shadowTarget);
    }
    // The lit scene into the screen, shadowed by the last shadow pass.
    void drawMainPass(Render::RKernel& kernel) const {
        Render::GLShaderMgmt& shaders = kernel.getShaderMgmt();
        shaders.setCurrentProgram(mainProgram);
        shaders.setLights(lights);
        shaders.setGlobalAmbient({0.25f, 0.25f, 0.3f, 1.0f});
        kernel.setRenderTarget(kernel.getScreen());
        kernel.setCamera(camera);
        kernel.setProjTexMatrix(lightCamera, shadowTarget);
        kernel.drawNode(root);
    }
    void draw(Render::RKernel& kernel, const Data::SGNodePtr& shadowCasters) const {
        drawShadowPass(kernel, shadowCasters);
        drawMainPass(kernel);
    }
    void draw(Render::RKernel& kernel) const { draw(kernel, casters); }
};

// Ground of groundCells x groundCells squares, three boxes (one textured), a ring of
// spheres of `sphereSegments` segments (2 x segments x (segments / 2 - 1) triangles
// each) and three lights: a shadow-casting spot light, a red point light and a faint
// blue sky light.
inline ShadowScene makeShadowScene(Render::RKernel& kernel, int groundCells, int spheres,
                                   int sphereSegments, int shadowSize) {
    ShadowScene scene;
    // The units are fixed before any program uses them.
    kernel.getShaderMgmt().getTextureUnit("diffuseTex");
    kernel.getShaderMgmt().getTextureUnit("shadowMap");
    scene.shadowTarget = std::make_shared<Render::RTTexture>(shadowSize, shadowSize);

    auto ground = std::make_shared<Data::Object>(groundMesh(groundCells));
    ground->setMaterial(colouredMaterial(glm::vec4(1.0f), true));
    scene.casters->addChild(ground);
    const struct {
        glm::vec3 position;
        float size;
        glm::vec4 colour;
        bool textured;
    } boxes[] = {{{0, 1.5f, 0}, 3.0f, {0.9f, 0.3f, 0.2f, 1}, false},
                 {{-5, 1.0f, 3}, 2.0f, {0.3f, 0.8f, 0.3f, 1}, true},
                 {{4, 0.75f, 4}, 1.5f, {0.3f, 0.4f, 0.9f, 1}, false}};
    for (const auto& box : boxes) {
        auto object = std::make_shared<Data::Object>(Data::makeTriangleBox(box.size));
        object->setTransformation(glm::rotate(glm::translate(glm::mat4(1.0f), box.position),
                                              glm::radians(25.0f), glm::vec3(0, 1, 0)));
        object->setMaterial(colouredMaterial(box.colour, box.textured));
        scene.casters->addChild(object);
    }
    const Data::MeshPtr sphere = Data::makeSphere(0.6f, sphereSegments, sphereSegments / 2, 2.0f);
    for (int i = 0; i < spheres; ++i) {
        const float angle = 2.0f * 3.14159265f * i / spheres;
        auto object = std::make_shared<Data::Object>(sphere);
        object->setTransformation(glm::translate(
            glm::mat4(1.0f), glm::vec3(8.0f * std::cos(angle), 0.8f, 8.0f * std::sin(angle))));
        object->setMaterial(colouredMaterial(
            {0.5f + 0.5f * std::cos(angle), 0.6f, 0.5f + 0.5f * std::sin(angle), 1.0f},
            i % 3 == 0));
        scene.casters->addChild(object);
    }
    scene.root->addChild(scene.casters);

    scene.camera->setTransformation(lookFrom({0, 9, 17}, {0, 0, 1}));
    scene.lightCamera->setTransformation(lookFrom({7, 13, 5}, {0, 0, 0}));

    auto spot = std::make_shared<Data::Light>();
    spot->type = Data::LT_SPOT;
    spot->setTransformation(scene.lightCamera->getTransformation());
    spot->spotDirection = {0, 0, -1};
    spot->spotCutoff = 34.0f;
    spot->spotExponent = 2.0f;
    spot->constantAttenuation = 1.0f;
    spot->linearAttenuation = 0.0f;
    spot->quadraticAttenuation = 0.0f;
    spot->diffuse = {1.0f, 0.95f, 0.85f, 1.0f};
    auto point = std::make_shared<Data::Light>();
    point->type = Data::LT_POINT;
    point->setTransformation(glm::translate(glm::mat4(1.0f), glm::vec3(-6, 2.5f, 6)));
    point->diffuse = {0.9f, 0.25f, 0.2f, 1.0f};
    point->constantAttenuation = 0.5f;
    point->linearAttenuation = 0.1f;
    point->quadraticAttenuation = 0.02f;
    auto sky = std::make_shared<Data::Light>();
    sky->type = Data::LT_DIRECTIONAL;
    sky->setTransformation(lookFrom({0, 0, 0}, {0.3f, -1.0f, 0.2f}));
    sky->diffuse = {0.15f, 0.2f, 0.35f, 1.0f};
    sky->specular = glm::vec4(0.0f);
    scene.lights = {spot, point, sky};
    return scene;
}

} // namespace RenderTest
