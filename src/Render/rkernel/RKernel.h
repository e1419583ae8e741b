#pragma once

#include "Data/Camera.h"
#include "Data/Image.h"
#include "Data/Material.h"
#include "Data/Mesh.h"
#include "Data/SGNode.h"
#include "Data/Shader.h"
#include "Render/GLShaderMgmt.h"
#include "Render/glResources/GLMesh.h"
#include "Render/glResources/GLTexture.h"
#include "Render/targets/RTScaled.h"
#include "Render/targets/RTScreen.h"
#include "Render/targets/RTTexture.h"
#include "Render/targets/RenderTarget.h"

#include <cstdint>
#include <glm/mat4x4.hpp>
#include <limits>
#include <map>
#include <memory>
#include <string>

namespace Render {

// The render kernel: the window and its OpenGL context, the render targets, the
// shader programs, the GPU copies of meshes and images, and scene drawing. Its owner
// makes one per window; destroying it closes the window.
class RKernel {
public:
    enum DrawStrategy : std::int32_t { VertexArrays = 0, VertexBufferObjects = 1 };
    enum DebugDrawMode : std::int32_t {
        DD_NONE = 0,
        DD_WORLD_BOXES = 1,
        DD_ORIENTED_BOXES = 2,
        DD_AXES = 3
    };

    // The render kernel made last and not yet destroyed, or none: for code that draws
    // into whichever window is open (frame capture, the demonstrations).
    static RKernel* current();

    RKernel();
    RKernel(const RKernel&) = delete;
    RKernel& operator=(const RKernel&) = delete;
    ~RKernel();

    // Opens the window (titled "Brumbly") and prepares OpenGL: 0 on success, 1 when
    // the window could not be opened.
    int init(int width, int height, int depthBits, int fsaaSamples, bool fullscreen);

    // The OpenGL renderer's name (GL_RENDERER); empty before init.
    const std::string& getRendererName() const { return rendererName; }

    // The 3D scene is drawn at this fraction (0 to 1) of the window's size into a
    // target of its own, or into the window itself at 1 (the start value).
    void setSceneScale(float scale);
    // Where the 3D scene is drawn: the screen or the scaled target.
    RenderTargetPtr getSceneTarget() const;
    // After drawing into a scaled scene target: scales the picture up onto the
    // screen, which becomes the current target, not cleared, for the overlay.
    void presentScene();

    // Makes the target current and begins it (viewport and clear); the viewport then
    // covers the whole target.
    void setRenderTarget(const RenderTargetPtr& target);
    // Draws from now on into that part of the current target (pixels from its lower-left
    // corner); cameras set afterwards take its shape.
    void setViewport(int x, int y, int width, int height);
    const RenderTargetPtr& getRenderTarget() const { return currentTarget; }
    const RTScreenPtr& getScreen() const { return screen; }

    GLShaderMgmt& getShaderMgmt() { return shaderMgmt; }
    void setTime(float seconds) { shaderMgmt.setTime(seconds); }

    void setDrawStrategy(std::int32_t strategy) { drawStrategy = strategy; }
    std::int32_t getDrawStrategy() const { return drawStrategy; }
    void setDebugDrawMode(std::int32_t mode) { debugDrawMode = mode; }
    std::int32_t getDebugDrawMode() const { return debugDrawMode; }
    void setFrustumCulling(bool enabled) { frustumCulling = enabled; }
    bool getFrustumCulling() const { return frustumCulling; }
    // Objects lying wholly farther than this from the current camera are not drawn;
    // infinity (the start value) draws everything.
    void setDrawDistance(float distance) { drawDistance = distance; }

    const Data::MaterialPtr& getDefaultMaterial() const { return defaultMaterial; }
    const Data::MaterialPtr& getCurrentMaterial() const { return currentMaterial; }

    // Projection, position and view of the camera for the current viewport, written
    // into the current program at once.
    void setCamera(const Data::CameraPtr& camera);
    // Draws the tree below the node, skipping the children of cameras.
    void drawNode(const Data::SGNodePtr& node);
    void drawNodes(const Data::SGNodeList& nodes);
    // Draws the nodes without the frustum test, whatever the switch says: for nodes
    // that their shader places (the sky) or that lie on the screen anyway (the overlay).
    void drawNodesUnculled(const Data::SGNodeList& nodes);
    void drawMesh(const Data::MeshPtr& mesh);
    // "modelMatrix" and "normalMatrix" of the current program.
    void setModelMatrix(const glm::mat4& model);
    // Draws the camera's axes and the outline of its view frustum for the target.
    void drawCamera(const Data::CameraPtr& camera, const RenderTargetPtr& target);
    // "projTexMatrix": the camera's projection for the target x its view.
    void setProjTexMatrix(const Data::CameraPtr& camera, const RenderTargetPtr& target);

    // Binds the image's texture (made on first use) to the sampler's unit.
    void bindTexture(const std::string& sampler, const Data::ImagePtr& image, bool cubeMap = false);
    // When on, a picture loaded from a file gives up its decoded pixels once its
    // texture is made: the texture stays cached for this kernel's lifetime, and a
    // picture drawn again in another form or by another kernel is decoded again.
    void setReleasePicturesOnUpload(bool release) { releasePicturesOnUpload = release; }
    // Makes the flat textures of the image, or of every material in the tree, now
    // rather than at their first draw: with pictures released on upload, a level's
    // decoded pictures are then not all held at once.
    void prepareTexture(const Data::ImagePtr& image);
    void prepareTextures(const Data::SGNodePtr& node);
    // Drops the image's cached textures, flat and cube map; a later draw makes them
    // again.
    void releaseTexture(const Data::ImagePtr& image);
    // Binds the target's depth texture to the sampler's unit.
    void bindTexture(const std::string& sampler, const RTTexturePtr& target);

    // Whether a box (local coordinates) under the world transform may be seen by
    // the current camera: false beyond the draw distance, otherwise true while
    // frustum culling is off.
    bool isVisible(const Data::BoundingBox& box, const glm::mat4& world) const;

    const std::map<std::string, GLTexturePtr>& getTextureCache() const { return textureCache; }
    std::size_t getMeshCacheSize() const { return meshCache.size(); }

private:
    using MeshKey = std::weak_ptr<const Data::Mesh>;
    using ImageKey = std::weak_ptr<const Data::Image>;

    void setDefaultState();
    void logContext(int depthBits, int fsaaSamples);
    void applyMaterial(const Data::MaterialPtr& groupMaterial);
    const Data::Material* findProperty(const Data::Material* group, std::int32_t key) const;
    void drawObjectBox(const Data::BoundingBox& box, const glm::mat4& world);
    bool isBeyondDrawDistance(const Data::BoundingBox& box, const glm::mat4& world) const;
    GLTexturePtr textureFor(const Data::ImagePtr& image, bool cubeMap);

    RTScreenPtr screen;
    RTScaledPtr scaledScene;
    const Data::Shader scaleUpProgram;
    RenderTargetPtr currentTarget;
    // Width and height of the viewport; none: the current target's.
    int viewportWidth = 0;
    int viewportHeight = 0;
    std::map<std::string, GLTexturePtr> textureCache;
    std::map<MeshKey, GLMeshPtr, std::owner_less<>> meshCache;
    GLShaderMgmt shaderMgmt;
    std::int32_t drawStrategy = VertexBufferObjects;
    std::int32_t debugDrawMode = DD_NONE;
    bool frustumCulling = false;
    float drawDistance = std::numeric_limits<float>::infinity();
    Data::MaterialPtr defaultMaterial;
    Data::MaterialPtr currentMaterial;
    Data::MeshPtr boxMesh;
    Data::MeshPtr axisMesh;

    // Images without an origin have no cache key; they are cached by identity.
    std::map<ImageKey, GLTexturePtr, std::owner_less<>> unnamedTextures[2];
    bool releasePicturesOnUpload = false;
    bool windowOpen = false;
    bool coreContext = false;
    std::string rendererName;
    std::uint32_t vertexArray = 0;
    StreamBuffers streamBuffers;
};

} // namespace Render
