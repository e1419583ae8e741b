// The sky picture, tinted by the sky box material's ambient colour. The box stands
// close around the camera, so its picture is only ever magnified: read from the
// top level, it needs no level-of-detail work.
in vec2 ex_TexCoord;

uniform MaterialParameters FrontMaterial;
uniform sampler2D diffuseTex;

out vec4 out_Color;

void main(void) {
    vec4 sky = FrontMaterial.diffuseTextureAvailable ? textureLod(diffuseTex, ex_TexCoord, 0.0)
                                                     : vec4(0.55, 0.7, 0.9, 1.0);
    out_Color = vec4(FrontMaterial.ambient.rgb * sky.rgb, 1.0);
}
