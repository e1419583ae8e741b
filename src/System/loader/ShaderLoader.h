#pragma once

#include "Data/Shader.h"

#include <string>

namespace System {

// Fills a Shader with the GLSL texts of one program: "basicLib.glsl" in front of
// both base name + ".vert" and base name + ".frag", all from one directory.
class ShaderLoader {
public:
    // Appends to the source lists; true when all three files were read. Stops at
    // the first file that is missing or empty, keeping what was appended so far.
    // Name and origin are set only on success.
    static bool load(Data::Shader& shader, const std::string& baseName,
                     const std::string& directory);
};

} // namespace System
