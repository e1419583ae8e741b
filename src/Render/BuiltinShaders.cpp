#include "Render/BuiltinShaders.h"

namespace Render {
namespace {

Data::Shader builtin(const std::string& name, const std::string& vertex,
                     const std::string& fragment) {
    return Data::Shader{name, "intern:" + name, {vertex}, {fragment}};
}

} // namespace

Data::Shader makeSimpleProgram() {
    return builtin("intern SimpleProgram",
                   "#version 140 \n \t\t\tuniform mat4 projMatrix, viewMatrix, modelMatrix; "
                   "\t\t\tin vec3 in_Position; \t\t\tin vec3 in_Color; \t\t\tout vec3 ex_Color; "
                   "\t\t\tvoid main(void) { \t\t\t\tgl_Position = projMatrix * viewMatrix * "
                   "modelMatrix * vec4(in_Position, 1.0); \t\t\t\tex_Color = in_Color; \t\t\t}",
                   "#version 140 \n \t\t\tin  vec3 ex_Color; \t\t\tout vec4 out_Color; "
                   "\t\t\tvoid main(void) { \t\t\t\tout_Color = vec4(ex_Color,1.0); \t\t\t}");
}

Data::Shader makeSimpleTextureProgram() {
    return builtin(
        "intern simple texture Program",
        "#version 140 \n \t\t\tuniform mat4 projMatrix, viewMatrix, modelMatrix; \t\t\tin vec3 "
        "in_Position; \t\t\tin vec3 in_Color; \t\t\tin vec2 in_TexCoord0; \t\t\tout vec3 "
        "ex_Color; \t\t\tout vec2 ex_TexCoord0; \t\t\tvoid main(void) { \t\t\t\tgl_Position = "
        "projMatrix * viewMatrix * modelMatrix * vec4(in_Position, 1.0); \t\t\t\tex_TexCoord0 = "
        "in_TexCoord0; \t\t\t\tex_Color = in_Color; \t\t\t}",
        "#version 140 \n \t\t\tin  vec3 ex_Color; \t\t\tout vec4 out_Color; \t\t\tin vec2 "
        "ex_TexCoord0; \t\t\tuniform sampler2D diffuseTex; \n \t\t\tuniform struct Material { "
        "\t\t\t\tvec4 ambient; \t\t\t\tvec4 diffuse; \t\t\t\tvec4 specular; \t\t\t\tvec4 "
        "emission; \t\t\t\tfloat shininess; \t\t\t\tbool diffuseTextureAvailable; \t\t\t} "
        "FrontMaterial = Material( vec4(1.), vec4(1.), vec4(1.), vec4(0.), .5, false ); "
        "\t\t\t\t\t\tvoid main(void) { \t\t\t\tvec4 texel = texture2D( diffuseTex, "
        "ex_TexCoord0.st ); \t\t\t\tif( FrontMaterial.diffuseTextureAvailable ) \n \t\t\t\t\t"
        "out_Color = vec4( FrontMaterial.ambient.rgb * texel.rgb, FrontMaterial.ambient.a * "
        "texel.a); // GL_MODULATE \n \t\t\t\t//else \n \t\t\t\t//\tout_Color = "
        "FrontMaterial.ambient; \n \t\t\t\t//out_Color = texel; // GL_REPLACE \n \t\t\t\t"
        "//out_Color = vec4( ex_Color.rgb * texel.rgb, ex_Color.a * texel.a); // GL_MODULATE \n "
        "\t\t\t\t// GL_DECAL \n \t\t\t\t//out_Color = vec4( mix( cf, ct, at ), af ); // mix = "
        "cf*(1-at)+ct*at \n \t\t\t}");
}

Data::Shader makeScaleUpProgram() {
    return builtin("intern scale-up Program",
                   "#version 140\n"
                   "out vec2 texCoord;\n"
                   "void main() {\n"
                   "    vec2 corner = vec2(gl_VertexID & 1, gl_VertexID >> 1);\n"
                   "    texCoord = corner;\n"
                   "    gl_Position = vec4(corner * 2.0 - 1.0, 0.0, 1.0);\n"
                   "}\n",
                   "#version 140\n"
                   "in vec2 texCoord;\n"
                   "uniform sampler2D scene;\n"
                   "out vec4 out_Color;\n"
                   "void main() { out_Color = texture(scene, texCoord); }\n");
}

} // namespace Render
