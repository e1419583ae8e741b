#pragma once

#include <GL/glew.h>

namespace Render {

// Turns an OpenGL capability on or off, as glIsEnabled or glGetBooleanv reported it,
// so that a pass can give back the state it found.
inline void setCapability(GLenum capability, GLboolean enabled) {
    if (enabled == GL_TRUE) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
}

} // namespace Render
