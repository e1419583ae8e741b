#pragma once

#include "Render/targets/RenderTarget.h"

#include <cstdint>
#include <memory>

namespace Render {

// Draws colour and depth into an offscreen framebuffer of its own size, a fraction
// of the screen's: the 3D scene at a lower resolution, where filling pixels is what
// a frame costs. present() scales the picture up onto the window's framebuffer,
// which the overlay is then drawn over at full resolution. A framebuffer OpenGL
// refuses is logged, and the target reports it by isComplete().
class RTScaled : public RenderTarget {
public:
    RTScaled(int width, int height);
    RTScaled(const RTScaled&) = delete;
    RTScaled& operator=(const RTScaled&) = delete;
    ~RTScaled() override;

    // Binds the framebuffer, sets the viewport and clears colour and depth.
    void begin() override;
    // Leaves the window's framebuffer bound.
    void end() override;
    // Scales the picture, filtered, over the whole of the window's framebuffer of
    // that size through the bound program (makeScaleUpProgram), and leaves that
    // framebuffer bound with a viewport covering it.
    void present(int screenWidth, int screenHeight) const;

    bool isComplete() const { return complete; }

private:
    std::uint32_t framebuffer = 0;
    std::uint32_t colour = 0;
    std::uint32_t depth = 0;
    // The rectangle's corners come from the vertex index: no buffers to bind.
    std::uint32_t emptyVertexArray = 0;
    bool complete = false;
};

using RTScaledPtr = std::shared_ptr<RTScaled>;

} // namespace Render
