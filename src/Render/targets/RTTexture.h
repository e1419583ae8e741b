#pragma once

#include "Render/glResources/GLTexture.h"
#include "Render/targets/RenderTarget.h"

#include <cstdint>
#include <memory>

namespace Render {

// Draws depth only, into a texture (the shadow map). OpenGL errors and an
// incomplete framebuffer found while building it are logged; the target stays
// usable but what it then draws is undefined.
class RTTexture : public RenderTarget {
public:
    RTTexture(int width, int height);
    RTTexture(const RTTexture&) = delete;
    RTTexture& operator=(const RTTexture&) = delete;
    ~RTTexture() override;

    // Binds the target and sets the viewport; then clears it, or with a base copies
    // the base's depth instead.
    void begin() override;
    void end() override;

    // A target of the same size whose depth each begin() starts from; none: cleared.
    void setBase(std::shared_ptr<RTTexture> newBase) { base = std::move(newBase); }

    const GLTexturePtr& getTexture() const { return depthTexture; }
    std::uint32_t getFramebuffer() const { return framebuffer; }

private:
    std::uint32_t framebuffer = 0;
    GLTexturePtr depthTexture;
    std::shared_ptr<RTTexture> base;
};

using RTTexturePtr = std::shared_ptr<RTTexture>;

} // namespace Render
