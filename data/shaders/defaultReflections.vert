// Reflective surfaces such as the water plane: world position and normal for the
// reflection, eye position and normal for the sun's glint.
in vec3 in_Position;
in vec3 in_Normal;
in vec2 in_TexCoord0;

out vec3 ex_WorldPosition;
out vec3 ex_WorldNormal;
out vec3 ex_EyePosition;
out vec2 ex_TexCoord;

void main(void) {
    vec4 world = modelMatrix * vec4(in_Position, 1.0);
    vec4 eye = viewMatrix * world;
    ex_WorldPosition = world.xyz;
    ex_WorldNormal = mat3(modelMatrix) * in_Normal;
    ex_EyePosition = eye.xyz;
    ex_TexCoord = in_TexCoord0;
    gl_Position = projMatrix * eye;
}
