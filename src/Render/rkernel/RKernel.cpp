#include "Render/rkernel/RKernel.h"

#include "Data/Light.h"
#include "Data/Object.h"
#include "Data/Shapes.h"
#include "Platform/Window.h"
#include "Render/BuiltinShaders.h"
#include "System/File.h"
#include "Tool/LogManager.h"

#include <GL/glew.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/matrix.hpp>
#include <string>

namespace Render {
namespace {

RKernel* latest = nullptr;

void log(const std::string& title, const std::string& message = "") {
    Tool::LogManager::getInstance().send(
        Tool::Message("RKernel", title, message, Tool::MT_MESSAGE));
}

void logError(const std::string& title, const std::string& message, int line) {
    Tool::LogManager::getInstance().send(
        Tool::Message("RKernel", title, message, __FILE__, line, Tool::MT_ERROR));
}

int getInteger(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

} // namespace

RKernel* RKernel::current() {
    return latest;
}

RKernel::RKernel()
    : screen(std::make_shared<RTScreen>(800, 600)), scaleUpProgram(makeScaleUpProgram()),
      defaultMaterial(std::make_shared<Data::Material>()),
      boxMesh(Data::makeLinesBox(-0.5f, -0.5f, -0.5f, 0.5f, 0.5f, 0.5f)),
      axisMesh(Data::makeLinesAxis(1.0f, 1.0f, 1.0f)) {
    latest = this;
}

RKernel::~RKernel() {
    scaledScene.reset();
    textureCache.clear();
    for (auto& cache : unnamedTextures)
        cache.clear();
    meshCache.clear();
    shaderMgmt.clear();
    if (windowOpen) {
        glDeleteBuffers(1, &streamBuffers.vertices);
        glDeleteBuffers(1, &streamBuffers.indices);
        glDeleteVertexArrays(1, &vertexArray);
    }
    Platform::closeWindow();
    Platform::terminate();
    log("shut down");
    if (latest == this)
        latest = nullptr;
}

int RKernel::init(int width, int height, int depthBits, int fsaaSamples, bool fullscreen) {
    log("initializing...");
    Platform::init();
    Platform::openWindowHint(Platform::WindowHint::OpenGLVersionMajor, 3);
    Platform::openWindowHint(Platform::WindowHint::OpenGLVersionMinor, 0);
    Platform::openWindowHint(Platform::WindowHint::OpenGLForwardCompat, 1);
    if (fsaaSamples != 0)
        Platform::openWindowHint(Platform::WindowHint::FsaaSamples, fsaaSamples);
    // Nothing draws with a stencil; a window without depth has no stencil either.
    if (!Platform::openWindow(width, height, 0, 0, 0, 0, depthBits, depthBits > 0 ? 8 : 0,
                              fullscreen ? Platform::WindowMode::Fullscreen
                                         : Platform::WindowMode::Window)) {
        logError("Failed to initialize OpenGL window!", "", __LINE__);
        Platform::terminate();
        return 1;
    }
    Platform::setWindowTitle("Brumbly");
    // A full-screen window takes the nearest video mode the monitor has, which may
    // be larger than asked for; the screen target covers what was really opened.
    int openedWidth = 0, openedHeight = 0;
    Platform::getWindowSize(openedWidth, openedHeight);
    if (openedWidth > 0 && openedHeight > 0)
        screen->setSize(openedWidth, openedHeight);
    else
        screen->setSize(width, height);
    currentTarget = screen;

    int major = 0, minor = 0, revision = 0;
    Platform::getVersion(major, minor, revision);
    log("GLFW " + std::to_string(major) + "." + std::to_string(minor) + " rev" +
        std::to_string(revision));

    glewExperimental = GL_TRUE;
    const GLenum code = glewInit();
    if (code != GLEW_OK) {
        logError("Failed to initialize GLEW!",
                 reinterpret_cast<const char*>(glewGetErrorString(code)), __LINE__);
    } else {
        std::string features = "features: ";
        if (GLEW_VERSION_2_0)
            features += "GLSL ";
        if (GLEW_ARB_framebuffer_object || GLEW_VERSION_3_0)
            features += "FBO ";
        log(std::string("GLEW ") + reinterpret_cast<const char*>(glewGetString(GLEW_VERSION)),
            features);
    }
    glGetError();
    if (const GLubyte* renderer = glGetString(GL_RENDERER)) {
        rendererName = reinterpret_cast<const char*>(renderer);
    }
    log("Renderer", rendererName);
    logContext(depthBits, fsaaSamples);
    windowOpen = true;

    // A core-profile context draws nothing without a vertex array object and takes
    // vertex data only from buffers: one of each serves every draw.
    if (glGenVertexArrays && glGenBuffers) {
        glGenVertexArrays(1, &vertexArray);
        glBindVertexArray(vertexArray);
        glGenBuffers(1, &streamBuffers.vertices);
        glGenBuffers(1, &streamBuffers.indices);
        shaderMgmt.setCurrentProgram(makeSimpleProgram());
    }
    setDefaultState();
    return 0;
}

void RKernel::logContext(int depthBits, int fsaaSamples) {
    const int flags = getInteger(GL_CONTEXT_FLAGS);
    const bool forwardCompatible = (flags & GL_CONTEXT_FLAG_FORWARD_COMPATIBLE_BIT) != 0;
    coreContext =
        forwardCompatible || (getInteger(GL_CONTEXT_PROFILE_MASK) & GL_CONTEXT_CORE_PROFILE_BIT);
    // The light count is the value of the old fixed-function GL_MAX_LIGHTS enumerant,
    // as this line has always shown it; programs take any number of lights.
    log("OpenGL " + std::to_string(getInteger(GL_MAJOR_VERSION)) + "." +
            std::to_string(getInteger(GL_MINOR_VERSION)),
        std::string(forwardCompatible ? "forward-compatible-context "
                                      : "NOT-forward-compatible-context ") +
            std::to_string(getInteger(GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS)) + "Tex " +
            std::to_string(0x0D31) + "Lights ");

    // Depth bits and samples are wishes: report what the driver granted. A window
    // without depth answers only the question of its kind: asked for its size, it
    // would leave an error behind that the next texture upload took for its own.
    GLint grantedDepth = 0;
    GLint depthKind = GL_NONE;
    if (glGetFramebufferAttachmentParameteriv)
        glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH,
                                              GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &depthKind);
    if (depthKind != GL_NONE)
        glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH,
                                              GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &grantedDepth);
    log("Framebuffer", "depth bits " + std::to_string(grantedDepth) + " (asked " +
                           std::to_string(depthBits) + "), samples " +
                           std::to_string(getInteger(GL_SAMPLES)) + " (asked " +
                           std::to_string(fsaaSamples) + ")");
}

void RKernel::setDefaultState() {
    // Smooth shading is the only kind a core-profile context has; there the call
    // itself does not exist.
    if (!coreContext)
        glShadeModel(GL_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
}

void RKernel::setSceneScale(float scale) {
    const int width = std::max(1, static_cast<int>(std::lround(screen->getWidth() * scale)));
    const int height = std::max(1, static_cast<int>(std::lround(screen->getHeight() * scale)));
    if (!windowOpen || scale >= 1.0f || scale <= 0.0f) {
        scaledScene.reset();
    } else if (!scaledScene || scaledScene->getWidth() != width ||
               scaledScene->getHeight() != height) {
        scaledScene = std::make_shared<RTScaled>(width, height);
        // Without its framebuffer the scene is drawn whole.
        if (!scaledScene->isComplete()) {
            scaledScene.reset();
        }
    }
}

RenderTargetPtr RKernel::getSceneTarget() const {
    if (scaledScene) {
        return scaledScene;
    }
    return screen;
}

void RKernel::presentScene() {
    if (!scaledScene || currentTarget != scaledScene) {
        return;
    }
    shaderMgmt.setCurrentProgram(scaleUpProgram);
    scaledScene->present(screen->getWidth(), screen->getHeight());
    currentTarget = screen;
}

void RKernel::setRenderTarget(const RenderTargetPtr& target) {
    currentTarget = target;
    viewportWidth = 0;
    viewportHeight = 0;
    if (currentTarget)
        currentTarget->begin();
}

void RKernel::setViewport(int x, int y, int width, int height) {
    glViewport(x, y, width, height);
    viewportWidth = width;
    viewportHeight = height;
}

void RKernel::setCamera(const Data::CameraPtr& camera) {
    if (!camera)
        return;
    const RenderTarget& target = currentTarget ? *currentTarget : *screen;
    const int width = viewportWidth > 0 ? viewportWidth : target.getWidth();
    const int height = viewportHeight > 0 ? viewportHeight : target.getHeight();
    const glm::mat4 world = camera->getWorldTransformation();
    shaderMgmt.setProjectionMatrix(
        camera->getProjection(static_cast<unsigned>(width), static_cast<unsigned>(height)));
    shaderMgmt.setCameraPosition(glm::vec3(world * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f)));
    shaderMgmt.setViewMatrix(glm::inverse(world));
    shaderMgmt.writeSharedUniforms();
}

void RKernel::drawNodes(const Data::SGNodeList& nodes) {
    for (const Data::SGNodePtr& node : nodes)
        drawNode(node);
}

void RKernel::drawNodesUnculled(const Data::SGNodeList& nodes) {
    const bool culling = frustumCulling;
    frustumCulling = false;
    drawNodes(nodes);
    frustumCulling = culling;
}

void RKernel::drawNode(const Data::SGNodePtr& node) {
    if (!node)
        return;
    const Data::MaterialPtr inherited = currentMaterial;
    if (node->getMaterial())
        currentMaterial = node->getMaterial();

    if (const auto* object = dynamic_cast<const Data::Object*>(node.get())) {
        const glm::mat4 world = object->getWorldTransformation();
        const Data::BoundingBox box = object->getBoundingBox();
        if (isVisible(box, world)) {
            if (debugDrawMode >= DD_WORLD_BOXES && debugDrawMode <= DD_AXES) {
                drawObjectBox(box, world);
            } else {
                setModelMatrix(world);
                for (const Data::MeshPtr& mesh : object->getMeshes())
                    drawMesh(mesh);
            }
        }
    }
    if (!dynamic_cast<const Data::Camera*>(node.get()))
        for (const auto& [key, child] : node->getChildren())
            drawNode(child);
    currentMaterial = inherited;
}

void RKernel::drawObjectBox(const Data::BoundingBox& box, const glm::mat4& world) {
    const glm::vec3 min(box[0], box[1], box[2]);
    const glm::vec3 max(box[3], box[4], box[5]);
    if (debugDrawMode == DD_AXES) {
        setModelMatrix(glm::scale(world, max));
        drawMesh(axisMesh);
        return;
    }
    if (debugDrawMode == DD_WORLD_BOXES) {
        const Data::BoundingBox aligned = Data::transformBox(box, world);
        const glm::vec3 alignedMin(aligned[0], aligned[1], aligned[2]);
        const glm::vec3 alignedMax(aligned[3], aligned[4], aligned[5]);
        setModelMatrix(glm::scale(glm::translate(glm::mat4(1.0f), (alignedMin + alignedMax) / 2.0f),
                                  alignedMax - alignedMin));
    } else {
        setModelMatrix(glm::scale(glm::translate(world, (min + max) / 2.0f), max - min));
    }
    drawMesh(boxMesh);
}

bool RKernel::isBeyondDrawDistance(const Data::BoundingBox& box, const glm::mat4& world) const {
    const glm::vec3 min(box[0], box[1], box[2]);
    const glm::vec3 max(box[3], box[4], box[5]);
    const glm::vec3 centre(world * glm::vec4((min + max) * 0.5f, 1.0f));
    const float scale =
        std::max({glm::length(glm::vec3(world[0])), glm::length(glm::vec3(world[1])),
                  glm::length(glm::vec3(world[2]))});
    const float radius = glm::length(max - min) * 0.5f * scale;
    return glm::distance(centre, shaderMgmt.getCameraPosition()) - radius > drawDistance;
}

bool RKernel::isVisible(const Data::BoundingBox& box, const glm::mat4& world) const {
    if (std::isfinite(drawDistance) && isBeyondDrawDistance(box, world))
        return false;
    if (!frustumCulling)
        return true;
    const glm::mat4 toClip = shaderMgmt.getProjectionMatrix() * shaderMgmt.getViewMatrix() * world;
    int below = 0, above = 0;
    for (int corner = 0; corner < 8; ++corner) {
        const glm::vec4 p = toClip * glm::vec4(box[(corner & 1) ? 3 : 0], box[(corner & 2) ? 4 : 1],
                                               box[(corner & 4) ? 5 : 2], 1.0f);
        const float c = p.w + 1.1920929e-7f;
        int inside = 0;
        for (int axis = 0; axis < 3; ++axis) {
            if (p[axis] < -c)
                ++below;
            else if (p[axis] > c)
                ++above;
            else
                ++inside;
            if (below != 0 && above != 0)
                return true;
        }
        if (inside == 3)
            return true;
    }
    return false;
}

void RKernel::drawMesh(const Data::MeshPtr& mesh) {
    const GLShaderPtr& program = shaderMgmt.getCurrentProgram();
    if (!mesh || mesh->vertices.empty() || !program || program->getProgram() == 0)
        return;
    const auto hook = [this](const Data::MaterialPtr& material) { applyMaterial(material); };
    if (drawStrategy != VertexBufferObjects) {
        GLMesh(*mesh).draw(program->getProgram(), streamBuffers, hook);
        return;
    }
    const MeshKey key = mesh;
    auto found = meshCache.find(key);
    if (found == meshCache.end()) {
        // Copies of meshes that no longer exist can never be drawn again.
        std::erase_if(meshCache, [](const auto& entry) { return entry.first.expired(); });
        auto copy = std::make_shared<GLMesh>(*mesh);
        copy->upload();
        found = meshCache.emplace(key, copy).first;
    }
    found->second->draw(program->getProgram(), streamBuffers, hook);
}

void RKernel::setModelMatrix(const glm::mat4& model) {
    shaderMgmt.setUniform("modelMatrix", model);
    shaderMgmt.setUniform("normalMatrix", glm::transpose(glm::inverse(
                                              glm::mat3(shaderMgmt.getViewMatrix() * model))));
}

const Data::Material* RKernel::findProperty(const Data::Material* group, std::int32_t key) const {
    const std::array<const Data::Material*, 3> order{currentMaterial.get(), group,
                                                     defaultMaterial.get()};
    for (const Data::Material* material : order)
        if (material && material->has(key))
            return material;
    return nullptr;
}

void RKernel::applyMaterial(const Data::MaterialPtr& groupMaterial) {
    const Data::Material* group = groupMaterial.get();
    auto color = [&](std::int32_t key) {
        const Data::Material* material = findProperty(group, key);
        return material ? material->getColor(key) : glm::vec4(0.0f);
    };
    shaderMgmt.setUniform("FrontMaterial.diffuse", color(Data::MP_DIFFUSE));
    shaderMgmt.setUniform("FrontMaterial.ambient", color(Data::MP_AMBIENT));
    shaderMgmt.setUniform("FrontMaterial.specular", color(Data::MP_SPECULAR));
    shaderMgmt.setUniform("FrontMaterial.emission", color(Data::MP_EMISSION));
    const Data::Material* shiny = findProperty(group, Data::MP_SHININESS);
    shaderMgmt.setUniform("FrontMaterial.shininess",
                          shiny ? shiny->getFloat(Data::MP_SHININESS) : 0.0f);
    const Data::Material* textured = findProperty(group, Data::MP_DIFFUSE_TEXTURE);
    const Data::ImagePtr image = textured ? textured->getImage(Data::MP_DIFFUSE_TEXTURE) : nullptr;
    if (image)
        bindTexture("diffuseTex", image);
    shaderMgmt.setUniform("FrontMaterial.diffuseTextureAvailable", image ? 1 : 0);
}

void RKernel::drawCamera(const Data::CameraPtr& camera, const RenderTargetPtr& target) {
    if (!camera || !target)
        return;
    const glm::mat4 world = camera->getWorldTransformation();
    setModelMatrix(world);
    drawMesh(axisMesh);
    const glm::mat4 projection = camera->getProjection(static_cast<unsigned>(target->getWidth()),
                                                       static_cast<unsigned>(target->getHeight()));
    setModelMatrix(world * glm::inverse(projection) * glm::scale(glm::mat4(1.0f), glm::vec3(2.0f)));
    drawMesh(boxMesh);
}

void RKernel::setProjTexMatrix(const Data::CameraPtr& camera, const RenderTargetPtr& target) {
    if (!camera || !target)
        return;
    shaderMgmt.setUniform("projTexMatrix",
                          camera->getProjection(static_cast<unsigned>(target->getWidth()),
                                                static_cast<unsigned>(target->getHeight())) *
                              glm::inverse(camera->getWorldTransformation()));
    // The shaders turn distances from the light into its depth values with it.
    shaderMgmt.setUniform("lightRange", glm::vec2(camera->nearPlane, camera->farPlane));
}

GLTexturePtr RKernel::textureFor(const Data::ImagePtr& image, bool cubeMap) {
    GLTexturePtr* slot = nullptr;
    if (image->origin.empty()) {
        auto& cache = unnamedTextures[cubeMap ? 1 : 0];
        std::erase_if(cache, [](const auto& entry) { return entry.first.expired(); });
        slot = &cache[ImageKey(image)];
    } else {
        slot = &textureCache[cubeMap ? "CubeMap-" + image->origin : image->origin];
    }
    if (!*slot) {
        // A texture that failed stays cached, so that the failure is reported once.
        *slot = std::make_shared<GLTexture>();
        // A picture that gave up its pixels for a texture of another kernel or of the
        // other form is decoded again.
        if (!image->hasPixels()) {
            System::File::reloadImage(*image);
        }
        (*slot)->upload(*image, image->mipmapped, cubeMap);
    }
    if (releasePicturesOnUpload) {
        image->releasePixels();
    }
    return *slot;
}

void RKernel::prepareTexture(const Data::ImagePtr& image) {
    if (image && image->isValid())
        textureFor(image, false);
}

void RKernel::releaseTexture(const Data::ImagePtr& image) {
    if (!image)
        return;
    if (image->origin.empty()) {
        for (auto& cache : unnamedTextures)
            cache.erase(ImageKey(image));
    } else {
        textureCache.erase(image->origin);
        textureCache.erase("CubeMap-" + image->origin);
    }
}

void RKernel::prepareTextures(const Data::SGNodePtr& node) {
    if (!node)
        return;
    const auto prepare = [this](const Data::MaterialPtr& material) {
        if (material)
            prepareTexture(material->getImage(Data::MP_DIFFUSE_TEXTURE));
    };
    prepare(node->getMaterial());
    if (const auto* object = dynamic_cast<const Data::Object*>(node.get()))
        for (const Data::MeshPtr& mesh : object->getMeshes())
            for (const Data::Face& face : mesh->faces)
                prepare(face.material);
    for (const auto& [key, child] : node->getChildren())
        prepareTextures(child);
}

void RKernel::bindTexture(const std::string& sampler, const Data::ImagePtr& image, bool cubeMap) {
    if (!image)
        return;
    const int unit = shaderMgmt.getTextureUnit(sampler);
    textureFor(image, cubeMap)->bind(unit);
}

void RKernel::bindTexture(const std::string& sampler, const RTTexturePtr& target) {
    if (!target)
        return;
    const int unit = shaderMgmt.getTextureUnit(sampler);
    target->getTexture()->bind(unit);
}

} // namespace Render
