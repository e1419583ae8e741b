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
    // The colour is a texture that present() samples. Given in blue-green-red order
    // with no size named, the driver keeps it in that order: the one a software
    // rasteriser's fast path for scaled textures reads, at about half the cost of
    // its general path or of a framebuffer blit.
    GLint previousTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previousTexture);
    glGenTextures(1, &colour);
    glBindTexture(GL_TEXTURE_2D, colour);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previousTexture));
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glGenVertexArrays(1, &emptyVertexArray);
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
    glDeleteTextures(1, &colour);
    glDeleteRenderbuffers(1, &depth);
    glDeleteVertexArrays(1, &emptyVertexArray);
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
    // A textured rectangle over the window, drawn with the program bound: opaque,
    // unclipped, with no depth, whatever the game left on.
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    const GLboolean blend = glIsEnabled(GL_BLEND);
    const GLboolean depthTest = glIsEnabled(GL_DEPTH_TEST);
    GLint previousVertexArray = 0;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &previousVertexArray);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, screenWidth, screenHeight);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, colour);
    glBindVertexArray(emptyVertexArray);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    // Left bound, the picture would be read while the next frame draws into it.
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindVertexArray(static_cast<GLuint>(previousVertexArray));
    Render::setCapability(GL_SCISSOR_TEST, scissor);
    Render::setCapability(GL_BLEND, blend);
    Render::setCapability(GL_DEPTH_TEST, depthTest);
}

} // namespace Render
