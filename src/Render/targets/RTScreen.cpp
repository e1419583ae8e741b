#include "Render/targets/RTScreen.h"

#include "Platform/Window.h"

#include <GL/glew.h>

namespace Render {

void RTScreen::begin() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void RTScreen::end() {
    Platform::swapBuffers();
}

void RTScreen::setSize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
}

} // namespace Render
