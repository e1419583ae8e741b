// Phong lighting from every enabled light, with the material's texture, soft
// shadows of the first light from the shadow map, drifting cloud shadows and
// distance fog that fades into the sky's colour at the horizon.
//
// Settings the program may be built with (defined between the library and this
// text, the same in both stages):
//   LIGHT_COUNT n        the number of lights, fixed; without it the loop follows
//                        NumEnabledLights
//   DIRECTIONAL_LIGHTS   every light is directional
//   NO_SPECULAR          no light has a specular colour
//   SHADOW_TAPS 1 or 4   comparison lookups per shadow test (4 without it)
//   PER_VERTEX_LIGHTING  the light and the clouds come from the vertices
#ifndef SHADOW_TAPS
#define SHADOW_TAPS 4
#endif
#ifdef DIRECTIONAL_LIGHTS
#define DIRECTIONAL true
#else
#define DIRECTIONAL false
#endif
#ifdef NO_SPECULAR
#define SPECULAR false
#else
#define SPECULAR true
#endif

in vec2 ex_TexCoord;
in vec4 ex_LightClip;
in vec4 ex_Fog;
#ifdef PER_VERTEX_LIGHTING
in vec3 ex_Lit;
in vec3 ex_SunLit;
in vec3 ex_Glow;
in vec3 ex_SunGlow;
in float ex_ShadowBias;
#else
in vec2 ex_CloudCoord;
in vec3 ex_EyePosition;
in vec3 ex_EyeNormal;
#endif

uniform LightSourceParameters LightSource[MAX_LIGHTS];
uniform float NumEnabledLights;
uniform MaterialParameters FrontMaterial;
uniform vec4 globalAmbient;
uniform sampler2D diffuseTex;
uniform sampler2DShadow shadowMap;
uniform sampler2D cloudShadowMap;

out vec4 out_Color;

void main(void) {
    vec4 texel = FrontMaterial.diffuseTextureAvailable ? texture(diffuseTex, ex_TexCoord)
                                                       : vec4(1.0);
#ifdef LIGHT_COUNT
    const int count = LIGHT_COUNT;
#else
    int count = min(int(NumEnabledLights + 0.5), MAX_LIGHTS);
#endif

#ifdef PER_VERTEX_LIGHTING
    float shade = count > 0 ? shadowFactor(shadowMap, ex_LightClip, ex_ShadowBias, SHADOW_TAPS) : 1.0;
    vec3 colour = texel.rgb * (ex_Lit + ex_SunLit * shade) + ex_Glow + ex_SunGlow * shade;
#else
    vec3 diffuseColour = FrontMaterial.diffuse.rgb * texel.rgb;
    // A textured surface reflects ambient light with its own colour as well.
    vec3 ambientColour = max(FrontMaterial.ambient.rgb, FrontMaterial.diffuse.rgb * 0.5) * texel.rgb;

    vec3 normal = length(ex_EyeNormal) > 0.0 ? normalize(ex_EyeNormal) : vec3(0.0, 0.0, 1.0);
    if (!gl_FrontFacing) {
        normal = -normal;
    }
    vec3 toEye = normalize(-ex_EyePosition);

    vec3 colour = FrontMaterial.emission.rgb + globalAmbient.rgb * ambientColour;
    vec3 sunLight = vec3(0.0);
    float sunLambert = 0.0;
    for (int i = 0; i < count; ++i) {
        vec3 share = lightShares(LightSource[i], ex_EyePosition, normal, toEye,
                                 FrontMaterial.shininess, DIRECTIONAL,
                                 SPECULAR);
        colour += LightSource[i].ambient.rgb * ambientColour * share.x;
        vec3 direct = (LightSource[i].diffuse.rgb * diffuseColour * share.y +
                       LightSource[i].specular.rgb * FrontMaterial.specular.rgb * share.z) *
                      share.x;
        if (i == 0) {
            sunLight = direct;
            sunLambert = share.y;
        } else {
            colour += direct;
        }
    }
    if (count > 0) {
        colour += sunLight * shadowFactor(shadowMap, ex_LightClip, shadowBias(sunLambert), SHADOW_TAPS) *
                  mix(0.55, 1.0, texture(cloudShadowMap, ex_CloudCoord).r);
    }
#endif
    colour = mix(colour, ex_Fog.rgb, ex_Fog.a);
    out_Color = vec4(colour, FrontMaterial.diffuse.a * texel.a);
}
