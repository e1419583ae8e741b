#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

namespace Data {
struct Shader;
}

namespace Render {

// A compiled and linked shader program. Compile, link and interface reports go to
// the log under the author "GLShader".
class GLShader {
public:
    GLShader() = default;
    GLShader(const GLShader&) = delete;
    GLShader& operator=(const GLShader&) = delete;
    ~GLShader();

    // Builds the program from the shader's sources, replacing an earlier one.
    // True when it compiled and linked.
    bool compile(const Data::Shader& shader);

    const std::string& getName() const { return name; }
    const std::string& getOrigin() const { return origin; }
    std::uint32_t getProgram() const { return program; }
    bool isCompiled() const { return compiled; }
    // The uniform's location in the program (-1: none), asked of the driver once per
    // name: uniforms are written by name many times each frame.
    int uniformLocation(const std::string& uniform) const;

private:
    void release();
    void logInterface() const;

    std::string name;
    std::string origin;
    std::uint32_t program = 0;
    std::uint32_t vertexShader = 0;
    std::uint32_t fragmentShader = 0;
    bool compiled = false;
    mutable std::unordered_map<std::string, int> locations;
};

using GLShaderPtr = std::shared_ptr<GLShader>;

} // namespace Render
