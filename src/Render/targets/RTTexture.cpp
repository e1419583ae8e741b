#include "Render/targets/RTTexture.h"

#include "Tool/LogManager.h"

#include <GL/glew.h>

namespace Render {
namespace {

void report(const char* title, int line) {
    Tool::LogManager::getInstance().send(
        Tool::Message("RTTexture", title, "", __FILE__, line, Tool::MT_ERROR));
}

void reportError(GLenum error) {
    switch (error) {
    case GL_NO_ERROR:
        return;
    case GL_INVALID_ENUM:
        return report("GLERROR: invalid enum!!", __LINE__);
    case GL_INVALID_VALUE:
        return report("GLERROR: invalid value!!", __LINE__);
    case GL_INVALID_OPERATION:
        return report("GLERROR: invalid operation!!", __LINE__);
    case GL_STACK_OVERFLOW:
        return report("GLERROR: stack overflow!!", __LINE__);
    case GL_STACK_UNDERFLOW:
        return report("GLERROR: stack underflow!!", __LINE__);
    case GL_OUT_OF_MEMORY:
        return report("GLERROR: out of memroy!!", __LINE__);
    case GL_TABLE_TOO_LARGE:
        return report("GLERROR: table to large!!", __LINE__);
    default:
        return report("unknown GLERROR!!", __LINE__);
    }
}

void reportStatus(GLenum status) {
    switch (status) {
    case GL_FRAMEBUFFER_COMPLETE:
        return;
    case GL_FRAMEBUFFER_UNDEFINED:
        return report("GL_FRAMEBUFFER_UNDEFINED", __LINE__);
    case GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT:
        return report("GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT", __LINE__);
    case GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT:
        return report("GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT", __LINE__);
    case GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER:
        return report("GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER", __LINE__);
    case GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER:
        return report("GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER", __LINE__);
    case GL_FRAMEBUFFER_UNSUPPORTED:
        return report("GL_FRAMEBUFFER_UNSUPPORTED", __LINE__);
    case GL_FRAMEBUFFER_INCOMPLETE_MULTISAMPLE:
        return report("GL_FRAMEBUFFER_INCOMPLETE_MULTISAMPLE", __LINE__);
    case GL_FRAMEBUFFER_INCOMPLETE_LAYER_TARGETS:
        return report("GL_FRAMEBUFFER_INCOMPLETE_LAYER_TARGETS", __LINE__);
    default:
        return report("unknown error", __LINE__);
    }
}

} // namespace

RTTexture::RTTexture(int width, int height) : RenderTarget(width, height) {
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);

    // The depth texture is the only attachment: a depth renderbuffer beside it would
    // be replaced at once and only hold memory.
    depthTexture = std::make_shared<GLTexture>();
    depthTexture->setup(GLTexture::PT_DEPTH, width, height, false, nullptr, false, 4);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D,
                           depthTexture->getName(), 0);

    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);

    reportError(glGetError());
    reportStatus(glCheckFramebufferStatus(GL_FRAMEBUFFER));

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

RTTexture::~RTTexture() {
    glDeleteFramebuffers(1, &framebuffer);
}

void RTTexture::begin() {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, width, height);
    if (!base || base->width != width || base->height != height) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    const auto [x0, y0, x1, y1] = restored.value_or(std::array<int, 4>{0, 0, width, height});
    restored.reset();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, base->framebuffer);
    glBlitFramebuffer(x0, y0, x1, y1, x0, y0, x1, y1, GL_DEPTH_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
}

void RTTexture::end() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

} // namespace Render
