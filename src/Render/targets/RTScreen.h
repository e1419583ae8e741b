#pragma once

#include "Render/targets/RenderTarget.h"

#include <memory>

namespace Render {

// The window's own framebuffer; end() presents the frame.
class RTScreen : public RenderTarget {
public:
    RTScreen(int width = 800, int height = 600) : RenderTarget(width, height) {}

    void begin() override;
    void end() override;

    void setSize(int newWidth, int newHeight);
};

using RTScreenPtr = std::shared_ptr<RTScreen>;

} // namespace Render
