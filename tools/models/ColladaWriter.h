#pragma once

#include "ModelData.h"

#include <string>

namespace Tools {

// Writes a model as COLLADA 1.4.1 text: Y up, metres, one top-level node per part
// (id equal to name) with one geometry per material, Phong materials, textures
// named relative to the model's folder. No time stamps: the same model gives the
// same bytes.
bool writeCollada(const Model& model, const std::string& path);

} // namespace Tools
