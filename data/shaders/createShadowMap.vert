// Depth pass from the light's camera (set as the current camera).
in vec3 in_Position;

void main(void) {
    gl_Position = projMatrix * viewMatrix * modelMatrix * vec4(in_Position, 1.0);
}
