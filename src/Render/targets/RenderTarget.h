#pragma once

#include <memory>

namespace Render {

// Something drawing goes into: begin() selects it, sets the viewport to its size and
// clears it; end() finishes the drawing into it.
class RenderTarget {
public:
    RenderTarget(int width, int height) : width(width), height(height) {}
    virtual ~RenderTarget() = default;

    virtual void begin() = 0;
    virtual void end() = 0;

    int getWidth() const { return width; }
    int getHeight() const { return height; }

protected:
    int width;
    int height;
};

using RenderTargetPtr = std::shared_ptr<RenderTarget>;

} // namespace Render
