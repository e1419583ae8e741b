#include "Render/FrameCapture.h"

#include "Platform/Window.h"
#include "Render/rkernel/RKernel.h"

#include <GL/glew.h>

namespace Render {

bool captureFrame(fipImage& image) {
    const RKernel* kernel = RKernel::current();
    if (!Platform::isWindowOpen() || kernel == nullptr)
        return false;
    const RTScreenPtr& screen = kernel->getScreen();
    const int width = screen->getWidth();
    const int height = screen->getHeight();
    if (width <= 0 || height <= 0 || !image.setSize(FIT_BITMAP, width, height, 24))
        return false;
    // The image library keeps rows bottom-up, padded to 4 bytes, in BGR order: the
    // same layout OpenGL packs with alignment 4.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_BGR, GL_UNSIGNED_BYTE, image.accessPixels());
    return glGetError() == GL_NO_ERROR;
}

bool saveFrame(const std::string& path) {
    fipImage image;
    return captureFrame(image) && image.save(FIF_PNG, path.c_str()) != 0;
}

} // namespace Render
