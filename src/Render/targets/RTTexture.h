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

    void begin() override;
    void end() override;

    const GLTexturePtr& getTexture() const { return depthTexture; }
    std::uint32_t getFramebuffer() const { return framebuffer; }

private:
    std::uint32_t framebuffer = 0;
    GLTexturePtr depthTexture;
};

using RTTexturePtr = std::shared_ptr<RTTexture>;

} // namespace Render
