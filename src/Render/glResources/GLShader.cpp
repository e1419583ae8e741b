#include "Render/glResources/GLShader.h"

#include "Data/Shader.h"
#include "Tool/LogManager.h"

#include <GL/glew.h>
#include <string>
#include <vector>

namespace Render {
namespace {

// "   " before the log and after every line feed in it.
std::string indent(const std::string& infoLog) {
    std::string report = "   ";
    for (char c : infoLog) {
        report += c;
        if (c == '\n')
            report += "   ";
    }
    return report;
}

// The indented info log of a shader or program whose compile or link status is
// false; empty when it succeeded or the driver has nothing to say.
std::string failureReport(GLuint object, GLenum statusName, PFNGLGETSHADERIVPROC getParameter,
                          PFNGLGETSHADERINFOLOGPROC getInfoLog) {
    GLint status = GL_FALSE;
    getParameter(object, statusName, &status);
    if (status == GL_TRUE)
        return "";
    GLint length = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &length);
    if (length <= 1)
        return "";
    std::vector<char> text(length);
    getInfoLog(object, length, nullptr, text.data());
    return indent(text.data());
}

std::string shaderReport(GLuint shader) {
    return failureReport(shader, GL_COMPILE_STATUS, glGetShaderiv, glGetShaderInfoLog);
}

std::string programReport(GLuint program) {
    return failureReport(program, GL_LINK_STATUS, glGetProgramiv, glGetProgramInfoLog);
}

void logError(const std::string& title, const std::string& report, int line) {
    Tool::LogManager::getInstance().send(
        Tool::Message("GLShader", title, report, __FILE__, line, Tool::MT_ERROR));
}

GLuint compileStage(GLenum stage, const std::vector<std::string>& sources) {
    std::vector<const GLchar*> strings;
    for (const std::string& source : sources)
        strings.push_back(source.c_str());
    const GLuint shader = glCreateShader(stage);
    glShaderSource(shader, static_cast<GLsizei>(strings.size()), strings.data(), nullptr);
    glCompileShader(shader);
    return shader;
}

bool compiledOk(GLuint shader) {
    GLint status = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    return status == GL_TRUE;
}

const char* attributeTypeName(GLenum type) {
    switch (type) {
    case GL_FLOAT:
        return "float";
    case GL_FLOAT_VEC2:
        return "vec2";
    case GL_FLOAT_VEC4:
        return "vec4";
    case GL_FLOAT_MAT3:
        return "mat3";
    case GL_FLOAT_MAT4:
        return "mat4";
    default:
        return type > GL_FLOAT_VEC4 ? "??" : "vec3";
    }
}

const char* uniformTypeName(GLenum type) {
    switch (type) {
    case GL_INT:
        return "int";
    case GL_FLOAT:
        return "float";
    case GL_FLOAT_VEC2:
        return "vec2";
    case GL_FLOAT_VEC3:
        return "vec3";
    case GL_FLOAT_VEC4:
        return "vec4";
    case GL_INT_VEC3:
        return "ivec3";
    case GL_BOOL:
        return "bool";
    case GL_BOOL_VEC2:
        return "bvec2";
    case GL_FLOAT_MAT3:
        return "mat3";
    case GL_FLOAT_MAT4:
        return "mat4";
    case GL_SAMPLER_2D:
        return "sampler2d";
    case GL_SAMPLER_2D_SHADOW:
        return "sampler2dshadow";
    default:
        return "??";
    }
}

} // namespace

GLShader::~GLShader() {
    release();
}

void GLShader::release() {
    if (program != 0)
        glDeleteProgram(program);
    if (vertexShader != 0)
        glDeleteShader(vertexShader);
    if (fragmentShader != 0)
        glDeleteShader(fragmentShader);
    program = vertexShader = fragmentShader = 0;
    compiled = false;
    locations.clear();
}

int GLShader::uniformLocation(const std::string& uniform) const {
    if (program == 0)
        return -1;
    const auto [found, added] = locations.try_emplace(uniform, -1);
    if (added)
        found->second = glGetUniformLocation(program, uniform.c_str());
    return found->second;
}

bool GLShader::compile(const Data::Shader& shader) {
    release();
    name = shader.name;
    origin = shader.origin;

    vertexShader = compileStage(GL_VERTEX_SHADER, shader.vertexSources);
    std::string report = shaderReport(vertexShader);
    if (!report.empty())
        logError("Vertex Shader " + name, report, __LINE__);

    fragmentShader = compileStage(GL_FRAGMENT_SHADER, shader.fragmentSources);
    report = shaderReport(fragmentShader);
    if (!report.empty()) {
        logError("Fragment Shader " + name, report, __LINE__);
        return false;
    }
    if (!compiledOk(vertexShader) || !compiledOk(fragmentShader))
        return false;

    program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
    glLinkProgram(program);
    report = programReport(program);
    if (!report.empty())
        logError("Linking " + name, report, __LINE__);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE)
        return false;

    compiled = true;
    logInterface();
    return true;
}

void GLShader::logInterface() const {
    char buffer[256];
    GLint count = 0;
    GLint size = 0;
    GLenum type = 0;

    glGetProgramiv(program, GL_ACTIVE_ATTRIBUTES, &count);
    std::string text = " " + std::to_string(count) + " Attributes:\n";
    for (GLint i = 0; i < count; ++i) {
        glGetActiveAttrib(program, i, sizeof(buffer), nullptr, &size, &type, buffer);
        text += "  " + std::to_string(size) + "x " + attributeTypeName(type) + " " + buffer + "\n";
    }
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    text += " " + std::to_string(count) + " Uniforms:\n";
    for (GLint i = 0; i < count; ++i) {
        glGetActiveUniform(program, i, sizeof(buffer), nullptr, &size, &type, buffer);
        text += "  " + std::to_string(size) + "x " + uniformTypeName(type) + " " + buffer + "\n";
    }
    Tool::LogManager::getInstance().send(
        Tool::Message("GLShader", name, text, __FILE__, __LINE__, Tool::MT_DEBUG));
}

} // namespace Render
