// Per-pixel lit surfaces: hands the fragment stage world, eye and light-camera
// positions, the eye-space normal and the texture coordinate.
in vec3 in_Position;
in vec3 in_Normal;
in vec2 in_TexCoord0;

out vec3 ex_WorldPosition;
out vec3 ex_EyePosition;
out vec3 ex_EyeNormal;
out vec2 ex_TexCoord;
out vec4 ex_LightClip;

void main(void) {
    vec4 world = modelMatrix * vec4(in_Position, 1.0);
    vec4 eye = viewMatrix * world;
    ex_WorldPosition = world.xyz;
    ex_EyePosition = eye.xyz;
    ex_EyeNormal = normalMatrix * in_Normal;
    ex_TexCoord = in_TexCoord0;
    ex_LightClip = projTexMatrix * world;
    gl_Position = projMatrix * eye;
}
