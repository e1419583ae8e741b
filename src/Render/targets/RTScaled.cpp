#include "Render/targets/RTScaled.h"

#include "Render/GLCapability.h"
#include "Tool/LogManager.h"

#include <GL/glew.h>
#include <string>

namespace Render {

RTScaled::RTScaled(int width, int height) : RenderTarget(width, height) {
    GLint previousFramebuffer = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previousFramebuffer);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previousFramebuffer));
    complete = status == GL_FRAMEBUFFER_COMPLETE;
    if (!complete) {
        Tool::LogManager::getInstance().send(
            Tool::Message("RTScaled", "Scene framebuffer incomplete",
                          std::to_string(width) + " x " + std::to_string(height) + ", status " +
                              std::to_string(status),
                          __FILE__, __LINE__, Tool::MT_ERROR));
    }
}

RTScaled::~RTScaled() {
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteRenderbuffers(1, &colour);
    glDeleteRenderbuffers(1, &depth);
}

void RTScaled::begin() {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void RTScaled::end() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void RTScaled::present(int screenWidth, int screenHeight) const {
    // A framebuffer blit rather than a textured draw: no program of its own to
    // build at start-up, and a software rasteriser may scale it by a path of its own
    // where the window has no depth buffer. The scissor test would clip it.
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, width, height, 0, 0, screenWidth, screenHeight, GL_COLOR_BUFFER_BIT,
                      GL_LINEAR);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, screenWidth, screenHeight);
    Render::setCapability(GL_SCISSOR_TEST, scissor);
}

} // namespace Render
