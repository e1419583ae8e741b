#version 140

// Put in front of both stages of every program: the shared uniforms, the light
// and material records the render kernel writes, and helpers for lighting, shadows,
// the sky picture and fog.

uniform mat4 projMatrix;
uniform mat4 viewMatrix;
uniform mat4 modelMatrix;
uniform mat3 normalMatrix;
uniform mat4 projTexMatrix;
uniform vec3 camPos;
uniform float timer;
// Near and far plane of the perspective light camera that drew the shadow map.
uniform vec2 lightRange;

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

// How much of a light reaches a surface point (eye space, unit normal, unit
// direction to the eye): x the attenuation, which scales the light's ambient part,
// y the Lambert factor and z the specular highlight, both still to be attenuated.
// A program that knows all its lights to be directional passes a constant true for
// `directional`, one that knows them to have no specular colour a constant false
// for `specular`, and the compiler leaves out what is not needed.
vec3 lightShares(LightSourceParameters light, vec3 eyePosition, vec3 normal, vec3 toEye,
                 float shininess, bool directional, bool specular) {
    vec3 toLight;
    float attenuation = 1.0;
    if (directional || light.position.w == 0.0) {
        toLight = normalize(light.position.xyz);
    } else {
        vec3 offset = light.position.xyz - eyePosition;
        float distance = length(offset);
        toLight = offset / distance;
        float falloff = light.constantAttenuation + light.linearAttenuation * distance +
                        light.quadraticAttenuation * distance * distance;
        attenuation = falloff > 0.0 ? 1.0 / falloff : 1.0;
        if (light.spotCutoff <= 90.0) {
            float spot = dot(-toLight, normalize(light.spotDirection));
            attenuation *= spot < light.spotCosCutoff ? 0.0 : pow(spot, light.spotExponent);
        }
    }
    float lambert = max(dot(normal, toLight), 0.0);
    float shine = 0.0;
    if (specular && lambert > 0.0) {
        vec3 halfway = normalize(toLight + toEye);
        shine = pow(max(dot(normal, halfway), 0.0), max(shininess, 1.0));
    }
    return vec3(attenuation, lambert, shine);
}

// The depth-buffer value of the shadow pass at a distance in front of the light
// camera (its perspective projection).
float lightDepth(float distance) {
    float nearPlane = lightRange.x;
    float farPlane = lightRange.y;
    return 0.5 * ((farPlane + nearPlane) - 2.0 * farPlane * nearPlane / distance) /
               (farPlane - nearPlane) +
           0.5;
}

// Shadow depth bias in world units for a surface whose Lambert factor toward the
// shadow-casting light is `lambert`: grazing light needs more.
float shadowBias(float lambert) {
    return 0.25 + 0.6 * (1.0 - lambert);
}

// Fraction of light reaching a point, from its position in the light camera's clip
// space (projTexMatrix x world position), moved `bias` units toward the light. The
// comparison sampler blends four depth tests per lookup; 4 taps one texel apart
// soften the edges further, 1 tap is the cheapest soft edge.
float shadowFactor(sampler2DShadow depthMap, vec4 lightClip, float bias, int taps) {
    if (lightClip.w <= 0.0) {
        return 1.0;
    }
    vec3 coord = lightClip.xyz / lightClip.w * 0.5 + 0.5;
    if (coord.x <= 0.0 || coord.x >= 1.0 || coord.y <= 0.0 || coord.y >= 1.0 || coord.z >= 1.0) {
        return 1.0;
    }
    // The clip w of a perspective camera is the point's distance along its axis.
    float reference = lightDepth(lightClip.w - bias);
    if (taps < 4) {
        return texture(depthMap, vec3(coord.xy, reference));
    }
    vec2 texel = 1.0 / vec2(textureSize(depthMap, 0));
    float lit = texture(depthMap, vec3(coord.xy + vec2(-texel.x, -texel.y), reference)) +
                texture(depthMap, vec3(coord.xy + vec2(texel.x, -texel.y), reference)) +
                texture(depthMap, vec3(coord.xy + vec2(-texel.x, texel.y), reference)) +
                texture(depthMap, vec3(coord.xy + vec2(texel.x, texel.y), reference));
    return lit * 0.25;
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

// Where the drifting cloud shadows are over a world position at the time `timer`.
vec2 cloudCoord(vec3 world) {
    return world.xz / 190.0 + timer * vec2(0.0045, 0.003);
}
