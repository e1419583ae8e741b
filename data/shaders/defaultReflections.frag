// The sky mirrored in a surface rippled by two layers of the wave bump map moving
// against each other: Fresnel mix of the sky ("envMap") and the material's colour
// seen in the depth, a glint of the sun, fog, and the material's alpha. Built with
// FLAT_WATER defined, the surface is calm and mirrors only the colour of the sky
// at the horizon, which the fog takes as well.
in vec3 ex_WorldPosition;
in vec3 ex_WorldNormal;
in vec3 ex_EyePosition;
in vec2 ex_TexCoord;

uniform LightSourceParameters LightSource[MAX_LIGHTS];
uniform float NumEnabledLights;
uniform MaterialParameters FrontMaterial;
uniform vec4 globalAmbient;
uniform sampler2D diffuseTex;
uniform sampler2D envMap;
uniform sampler2D waveBumpMap;

out vec4 out_Color;

// The bump map stores a normal per texel: red and green the x and z slopes,
// blue the upward part.
vec3 waveNormal(vec2 coord) {
    vec3 n = texture(waveBumpMap, coord).rgb * 2.0 - 1.0;
    return vec3(n.r, n.b, n.g);
}

void main(void) {
    vec4 texel = FrontMaterial.diffuseTextureAvailable ? texture(diffuseTex, ex_TexCoord)
                                                       : vec4(1.0);
    vec3 baseNormal = length(ex_WorldNormal) > 0.0 ? normalize(ex_WorldNormal) : vec3(0, 1, 0);
    vec3 view = ex_WorldPosition - camPos;
    vec3 viewDirection = normalize(view);
    vec3 fogColour = textureLod(envMap, skyCoord(fogDirection(viewDirection)), 2.0).rgb;
#ifdef FLAT_WATER
    vec3 normal = baseNormal;
    vec3 sky = fogColour;
#else
    vec2 place = ex_WorldPosition.xz;
    vec3 ripple = waveNormal(place / 21.0 + timer * vec2(0.013, 0.008)) +
                  waveNormal(place / 34.0 - timer * vec2(0.007, 0.015));
    vec3 normal = normalize(baseNormal + 0.3 * vec3(ripple.x, 0.0, ripple.z));
    vec3 reflected = reflect(viewDirection, normal);
    reflected.y = abs(reflected.y);
    vec3 sky = textureLod(envMap, skyCoord(reflected), 1.0).rgb;
#endif

    float facing = max(dot(-viewDirection, normal), 0.0);
    float fresnel = 0.06 + 0.94 * pow(1.0 - facing, 5.0);
    float sunLight = NumEnabledLights > 0.5 ? max(LightSource[0].position.w == 0.0
                                                      ? normalize(LightSource[0].position.xyz).y
                                                      : 1.0,
                                                  0.0)
                                            : 0.0;
    vec3 lit = globalAmbient.rgb + (NumEnabledLights > 0.5 ? LightSource[0].ambient.rgb : vec3(0.0));
    vec3 depthColour = FrontMaterial.diffuse.rgb * texel.rgb * vec3(0.11, 0.25, 0.31) *
                       (lit + vec3(0.6));
    vec3 colour = mix(depthColour, sky * FrontMaterial.diffuse.rgb, max(fresnel, 0.35));

    // The sun's glint on the waves, in eye space where the lights are given.
    if (NumEnabledLights > 0.5 && LightSource[0].position.w == 0.0) {
        vec3 eyeNormal = normalize(mat3(viewMatrix) * normal);
        vec3 toLight = normalize(LightSource[0].position.xyz);
        vec3 halfway = normalize(toLight + normalize(-ex_EyePosition));
        float glint = pow(max(dot(eyeNormal, halfway), 0.0), 180.0);
        colour += LightSource[0].diffuse.rgb * glint * 1.5;
    }
    colour += FrontMaterial.emission.rgb;
    colour *= 0.85 + 0.15 * sunLight;

    colour = mix(colour, fogColour, fogAmount(length(view)));
    out_Color = vec4(colour, FrontMaterial.diffuse.a * texel.a);
}
