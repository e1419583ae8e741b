#pragma once

#include <memory>
#include <string>
#include <vector>

namespace Data {

// GLSL sources of one program: each stage's list is compiled as one unit, in order.
// Built-in programs carry the origin "intern:" + name.
struct Shader {
    std::string name;
    std::string origin;
    std::vector<std::string> vertexSources;
    std::vector<std::string> fragmentSources;
};

using ShaderPtr = std::shared_ptr<Shader>;

} // namespace Data
