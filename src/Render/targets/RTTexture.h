#pragma once

#include "Render/glResources/GLTexture.h"
#include "Render/targets/RenderTarget.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

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
    // the base's depth instead: all of it, or the part restoreFromBase() named.
    void begin() override;
    void end() override;

    // A target of the same size whose depth each begin() starts from; none: cleared.
    void setBase(std::shared_ptr<RTTexture> newBase) { base = std::move(newBase); }
    // The next begin() copies only the texels from (x0, y0) up to (x1, y1) from the
    // base; the rest keeps what it holds. Later begin() calls copy all again.
    void restoreFromBase(int x0, int y0, int x1, int y1) { restored = {x0, y0, x1, y1}; }

    const GLTexturePtr& getTexture() const { return depthTexture; }
    std::uint32_t getFramebuffer() const { return framebuffer; }

private:
    std::uint32_t framebuffer = 0;
    GLTexturePtr depthTexture;
    std::shared_ptr<RTTexture> base;
    std::optional<std::array<int, 4>> restored;
};

using RTTexturePtr = std::shared_ptr<RTTexture>;

} // namespace Render
