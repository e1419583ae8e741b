#version 140

// Put in front of both stages of every program: the shared uniforms, the light
// and material records the render kernel writes, and helpers for shadows, the sky
// picture and fog.

uniform mat4 projMatrix;
uniform mat4 viewMatrix;
uniform mat4 modelMatrix;
uniform mat3 normalMatrix;
uniform mat4 projTexMatrix;
uniform vec3 camPos;
uniform float timer;

const int MAX_LIGHTS = 4;

struct LightSourceParameters {
    vec4 ambient;
    vec4 diffuse;
    vec4 specular;
    vec4 position; // eye space; w = 0 for a directional light
    vec3 spotDirection;
    float spotExponent;
    float spotCutoff;
    float spotCosCutoff;
    float constantAttenuation;
    float linearAttenuation;
    float quadraticAttenuation;
};

struct MaterialParameters {
    vec4 ambient;
    vec4 diffuse;
    vec4 specular;
    vec4 emission;
    float shininess;
    bool diffuseTextureAvailable;
};

// The level's light camera: perspective, near 1 and far 430.
const float LIGHT_NEAR = 1.0;
const float LIGHT_FAR = 430.0;

// Distance from the light camera of a depth-buffer value of the shadow pass.
float lightDistance(float depth) {
    float ndc = depth * 2.0 - 1.0;
    return 2.0 * LIGHT_NEAR * LIGHT_FAR / (LIGHT_FAR + LIGHT_NEAR - ndc * (LIGHT_FAR - LIGHT_NEAR));
}

// Fraction of light reaching a point, from its position in the light camera's
// clip space (projTexMatrix x world position): 3 x 3 samples of the depth map
// compared with a bias of `bias` units, so that shadow edges are soft.
float shadowFactor(sampler2D depthMap, vec4 lightClip, float bias) {
    if (lightClip.w <= 0.0) {
        return 1.0;
    }
    vec3 coord = lightClip.xyz / lightClip.w * 0.5 + 0.5;
    if (coord.x <= 0.0 || coord.x >= 1.0 || coord.y <= 0.0 || coord.y >= 1.0 || coord.z >= 1.0) {
        return 1.0;
    }
    float distance = lightDistance(coord.z) - bias;
    vec2 texel = 1.0 / vec2(textureSize(depthMap, 0));
    float lit = 0.0;
    for (int i = -1; i <= 1; ++i) {
        for (int j = -1; j <= 1; ++j) {
            float stored = lightDistance(texture(depthMap, coord.xy + vec2(i, j) * texel * 1.5).r);
            lit += distance <= stored ? 1.0 : 0.0;
        }
    }
    return lit / 9.0;
}

// Where the sky picture (six square faces stacked vertically, +X at the top, then
// -X, +Y, -Y, +Z, -Z) shows the world direction d, laid out as the sky box maps it.
vec2 skyCoord(vec3 d) {
    vec3 a = abs(d);
    float face;
    vec2 uv;
    if (a.x >= a.y && a.x >= a.z) {
        vec3 p = d / a.x;
        face = d.x > 0.0 ? 0.0 : 1.0;
        uv = d.x > 0.0 ? vec2(p.z, p.y) : vec2(-p.z, p.y);
    } else if (a.y >= a.z) {
        vec3 p = d / a.y;
        face = d.y > 0.0 ? 2.0 : 3.0;
        uv = d.y > 0.0 ? vec2(-p.x, -p.z) : vec2(-p.x, p.z);
    } else {
        vec3 p = d / a.z;
        face = d.z > 0.0 ? 4.0 : 5.0;
        uv = d.z > 0.0 ? vec2(-p.x, p.y) : vec2(p.x, p.y);
    }
    // Stay a little inside the face so that filtering never reaches the next one.
    uv = clamp(uv * 0.5 + 0.5, 0.004, 0.996);
    return vec2(uv.x, (5.0 - face + uv.y) / 6.0);
}

// The horizon's direction behind a point seen along `view`: fog takes the sky's
// colour there.
vec3 fogDirection(vec3 view) {
    return normalize(vec3(view.x, max(view.y, 0.04), view.z));
}

// Share of the fog colour at a distance from the camera: clear near the car,
// hazy toward the far side of the track.
float fogAmount(float distance) {
    return 1.0 - exp(-max(distance - 80.0, 0.0) / 800.0);
}
