// The sky picture, tinted by the sky box material's ambient colour.
in vec2 ex_TexCoord;

uniform MaterialParameters FrontMaterial;
uniform sampler2D diffuseTex;

out vec4 out_Color;

void main(void) {
    vec4 sky = FrontMaterial.diffuseTextureAvailable ? texture(diffuseTex, ex_TexCoord)
                                                     : vec4(0.55, 0.7, 0.9, 1.0);
    out_Color = vec4(FrontMaterial.ambient.rgb * sky.rgb, 1.0);
}
