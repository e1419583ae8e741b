#pragma once

#include "Data/Shader.h"

namespace Render {

// "intern SimpleProgram": positions through projMatrix x viewMatrix x modelMatrix,
// coloured by in_Color.
Data::Shader makeSimpleProgram();
// "intern simple texture Program": the texel at in_TexCoord0 modulated with the
// ambient colour of FrontMaterial when FrontMaterial.diffuseTextureAvailable.
Data::Shader makeSimpleTextureProgram();
// "intern scale-up Program": four vertices, no buffers, a rectangle over the whole
// viewport showing the texture on unit 0 ("scene") filtered as it is set.
Data::Shader makeScaleUpProgram();

} // namespace Render
