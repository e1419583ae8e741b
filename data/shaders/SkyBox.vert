// The sky box: a cube around the origin drawn without the view's translation, so
// that it stays centred on the camera, and pushed just inside the far plane.
in vec3 in_Position;
in vec2 in_TexCoord0;

out vec2 ex_TexCoord;

void main(void) {
    mat4 rotationOnly = mat4(mat3(viewMatrix));
    vec4 position = projMatrix * rotationOnly * vec4(mat3(modelMatrix) * in_Position, 1.0);
    gl_Position = vec4(position.xy, position.w * 0.99999, position.w);
    ex_TexCoord = in_TexCoord0;
}
