// Lit surfaces. Per pixel (the default) it hands the fragment stage eye position
// and normal; with PER_VERTEX_LIGHTING defined it lights the vertices itself, cloud
// shadows included (see default.frag for the settings). The fog is worked out per
// vertex: it changes slowly over a surface.
in vec3 in_Position;
in vec3 in_Normal;
in vec2 in_TexCoord0;

uniform sampler2D envMap;

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

out vec2 ex_TexCoord;
out vec4 ex_LightClip;
out vec4 ex_Fog; // fog colour and share

#ifdef PER_VERTEX_LIGHTING
uniform LightSourceParameters LightSource[MAX_LIGHTS];
uniform float NumEnabledLights;
uniform MaterialParameters FrontMaterial;
uniform vec4 globalAmbient;
uniform sampler2D cloudShadowMap;

out vec3 ex_Lit;     // light on the surface colour that the shadow map leaves alone
out vec3 ex_SunLit;  // the first light's direct light on it, which the shadow map takes
out vec3 ex_Glow;    // emission and highlights of the other lights
out vec3 ex_SunGlow; // the first light's highlight
out float ex_ShadowBias;
#else
out vec2 ex_CloudCoord;
out vec3 ex_EyePosition;
out vec3 ex_EyeNormal;
#endif

void main(void) {
    vec4 world = modelMatrix * vec4(in_Position, 1.0);
    vec4 eye = viewMatrix * world;
    ex_TexCoord = in_TexCoord0;
    ex_LightClip = projTexMatrix * world;
    gl_Position = projMatrix * eye;
    vec3 view = world.xyz - camPos;
    ex_Fog = vec4(textureLod(envMap, skyCoord(fogDirection(normalize(view))), 2.0).rgb,
                  fogAmount(length(view)));

#ifdef PER_VERTEX_LIGHTING
    vec3 normal = normalMatrix * in_Normal;
    normal = length(normal) > 0.0 ? normalize(normal) : vec3(0.0, 0.0, 1.0);
    vec3 toEye = normalize(-eye.xyz);
    // Both colours are multiplied by the texture in the fragment stage.
    vec3 ambientColour = max(FrontMaterial.ambient.rgb, FrontMaterial.diffuse.rgb * 0.5);
    vec3 diffuseColour = FrontMaterial.diffuse.rgb;
    ex_Lit = globalAmbient.rgb * ambientColour;
    ex_SunLit = vec3(0.0);
    ex_Glow = FrontMaterial.emission.rgb;
    ex_SunGlow = vec3(0.0);
    ex_ShadowBias = shadowBias(0.0);
#ifdef LIGHT_COUNT
    const int count = LIGHT_COUNT;
#else
    int count = min(int(NumEnabledLights + 0.5), MAX_LIGHTS);
#endif
    for (int i = 0; i < count; ++i) {
        vec3 share = lightShares(LightSource[i], eye.xyz, normal, toEye, FrontMaterial.shininess,
                                 DIRECTIONAL,
                                 SPECULAR);
        ex_Lit += LightSource[i].ambient.rgb * ambientColour * share.x;
        vec3 lit = LightSource[i].diffuse.rgb * diffuseColour * share.y * share.x;
        vec3 glow = LightSource[i].specular.rgb * FrontMaterial.specular.rgb * share.z * share.x;
        if (i == 0) {
            ex_SunLit = lit;
            ex_SunGlow = glow;
            ex_ShadowBias = shadowBias(share.y);
        } else {
            ex_Lit += lit;
            ex_Glow += glow;
        }
    }
    float cloud = mix(0.55, 1.0, textureLod(cloudShadowMap, cloudCoord(world.xyz), 0.0).r);
    ex_SunLit *= cloud;
    ex_SunGlow *= cloud;
#else
    ex_CloudCoord = cloudCoord(world.xyz);
    ex_EyePosition = eye.xyz;
    ex_EyeNormal = normalMatrix * in_Normal;
#endif
}
