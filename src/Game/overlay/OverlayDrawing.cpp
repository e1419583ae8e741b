#include "Game/overlay/OverlayDrawing.h"

#include "Render/rkernel/RKernel.h"

#include <GL/glew.h>

namespace Game {

Data::Shader makeOverlayProgram() {
    return Data::Shader{
        "intern overlay Program",
        "intern:intern overlay Program",
        {"#version 140\n"
         "uniform mat4 projMatrix, viewMatrix, modelMatrix;\n"
         "in vec3 in_Position;\n"
         "in vec2 in_TexCoord0;\n"
         "out vec2 ex_TexCoord0;\n"
         "void main(void) {\n"
         "    gl_Position = projMatrix * viewMatrix * modelMatrix * vec4(in_Position, 1.0);\n"
         "    ex_TexCoord0 = in_TexCoord0;\n"
         "}\n"},
        {"#version 140\n"
         "uniform sampler2D diffuseTex;\n"
         "uniform struct Material {\n"
         "    vec4 ambient;\n"
         "    bool diffuseTextureAvailable;\n"
         "} FrontMaterial;\n"
         "in vec2 ex_TexCoord0;\n"
         "out vec4 out_Color;\n"
         "void main(void) {\n"
         "    vec4 texel = FrontMaterial.diffuseTextureAvailable\n"
         "                     ? texture(diffuseTex, ex_TexCoord0) : vec4(1.0);\n"
         "    out_Color = FrontMaterial.ambient * texel;\n"
         "}\n"}};
}

void drawFlat(Render::RKernel& kernel, const Data::CameraPtr& camera,
              const Data::SGNodeList& nodes) {
    Render::GLShaderMgmt& shaders = kernel.getShaderMgmt();
    // Known before the program becomes current, so that the camera's write of the
    // shared uniforms tells the program its texture unit.
    shaders.getTextureUnit("diffuseTex");
    shaders.setCurrentProgram(makeOverlayProgram());
    kernel.setCamera(camera);

    const bool depthTest = glIsEnabled(GL_DEPTH_TEST) == GL_TRUE;
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    kernel.drawNodesUnculled(nodes);
    if (depthTest) {
        glEnable(GL_DEPTH_TEST);
    }
}

} // namespace Game
