#include "Render/targets/RTScaled.h"

#include "Render/GLCapability.h"
#include "Tool/LogManager.h"

#include <GL/glew.h>
#include <string>

namespace Render {
namespace {

// The unit the picture is read through: far above those the game's samplers take.
constexpr GLint pictureUnit = 15;

void logError(const std::string& title, const std::string& details, int line) {
    Tool::LogManager::getInstance().send(
        Tool::Message("RTScaled", title, details, __FILE__, line, Tool::MT_ERROR));
}

// One triangle covering the screen, made from the vertex index alone.
const char* const vertexText = R"(#version 130
out vec2 ex_TexCoord;
void main(void) {
    vec2 corner = vec2(float((gl_VertexID & 1) << 2), float((gl_VertexID & 2) << 1));
    ex_TexCoord = corner * 0.5;
    gl_Position = vec4(corner - 1.0, 0.0, 1.0);
}
)";

const char* const fragmentText = R"(#version 130
in vec2 ex_TexCoord;
uniform sampler2D picture;
out vec4 out_Color;
void main(void) {
    out_Color = vec4(texture(picture, ex_TexCoord).rgb, 1.0);
}
)";

GLuint compileStage(GLenum stage, const char* text) {
    const GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    return shader;
}

// The present program, or 0 with the driver's log reported.
GLuint buildProgram() {
    const GLuint vertex = compileStage(GL_VERTEX_SHADER, vertexText);
    const GLuint fragment = compileStage(GL_FRAGMENT_SHADER, fragmentText);
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glBindFragDataLocation(program, 0, "out_Color");
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        std::string text(4096, '\0');
        GLsizei length = 0;
        glGetProgramInfoLog(program, static_cast<GLsizei>(text.size()), &length, text.data());
        text.resize(static_cast<std::size_t>(length));
        logError("Scene present program did not build", text, __LINE__);
        glDeleteProgram(program);
        return 0;
    }
    GLint previous = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &previous);
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "picture"), pictureUnit);
    glUseProgram(static_cast<GLuint>(previous));
    return program;
}

} // namespace

RTScaled::RTScaled(int width, int height) : RenderTarget(width, height) {
    GLint previousUnit = GL_TEXTURE0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &previousUnit);
    glActiveTexture(GL_TEXTURE0 + pictureUnit);
    glGenTextures(1, &colour);
    glBindTexture(GL_TEXTURE_2D, colour);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glActiveTexture(static_cast<GLenum>(previousUnit));

    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        logError("Scene framebuffer incomplete",
                 std::to_string(width) + " x " + std::to_string(height) + ", status " +
                     std::to_string(status),
                 __LINE__);
        return;
    }
    program = buildProgram();
    complete = program != 0;
}

RTScaled::~RTScaled() {
    glDeleteProgram(program);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &colour);
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
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, screenWidth, screenHeight);
    // The picture covers every pixel: nothing is tested, culled or blended, and the
    // program and bindings of the game are left as they were.
    const GLboolean depthTest = glIsEnabled(GL_DEPTH_TEST);
    const GLboolean blending = glIsEnabled(GL_BLEND);
    const GLboolean culling = glIsEnabled(GL_CULL_FACE);
    GLint previousProgram = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &previousProgram);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glUseProgram(program);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    glUseProgram(static_cast<GLuint>(previousProgram));
    Render::setCapability(GL_DEPTH_TEST, depthTest);
    Render::setCapability(GL_BLEND, blending);
    Render::setCapability(GL_CULL_FACE, culling);
}

} // namespace Render
