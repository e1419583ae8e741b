// Phong lighting per pixel from every enabled light, with the material's texture,
// soft shadows of the first light from the shadow map, drifting cloud shadows and
// distance fog that fades into the sky's colour at the horizon.
in vec3 ex_WorldPosition;
in vec3 ex_EyePosition;
in vec3 ex_EyeNormal;
in vec2 ex_TexCoord;
in vec4 ex_LightClip;

uniform LightSourceParameters LightSource[MAX_LIGHTS];
uniform float NumEnabledLights;
uniform MaterialParameters FrontMaterial;
uniform vec4 globalAmbient;
uniform sampler2D diffuseTex;
uniform sampler2D shadowMap;
uniform sampler2D cloudShadowMap;
uniform sampler2D envMap;

out vec4 out_Color;

void main(void) {
    vec4 texel = FrontMaterial.diffuseTextureAvailable ? texture(diffuseTex, ex_TexCoord)
                                                       : vec4(1.0);
    vec3 diffuseColour = FrontMaterial.diffuse.rgb * texel.rgb;
    // A textured surface reflects ambient light with its own colour as well.
    vec3 ambientColour = max(FrontMaterial.ambient.rgb, FrontMaterial.diffuse.rgb * 0.5) * texel.rgb;

    vec3 normal = length(ex_EyeNormal) > 0.0 ? normalize(ex_EyeNormal) : vec3(0.0, 0.0, 1.0);
    if (!gl_FrontFacing) {
        normal = -normal;
    }
    vec3 toEye = normalize(-ex_EyePosition);

    vec3 colour = FrontMaterial.emission.rgb + globalAmbient.rgb * ambientColour;
    int count = min(int(NumEnabledLights + 0.5), MAX_LIGHTS);
    for (int i = 0; i < count; ++i) {
        vec3 toLight;
        float attenuation = 1.0;
        if (LightSource[i].position.w == 0.0) {
            toLight = normalize(LightSource[i].position.xyz);
        } else {
            vec3 offset = LightSource[i].position.xyz - ex_EyePosition;
            float distance = length(offset);
            toLight = offset / distance;
            float falloff = LightSource[i].constantAttenuation +
                            LightSource[i].linearAttenuation * distance +
                            LightSource[i].quadraticAttenuation * distance * distance;
            attenuation = falloff > 0.0 ? 1.0 / falloff : 1.0;
            if (LightSource[i].spotCutoff <= 90.0) {
                float spot = dot(-toLight, normalize(LightSource[i].spotDirection));
                attenuation *= spot < LightSource[i].spotCosCutoff
                                   ? 0.0
                                   : pow(spot, LightSource[i].spotExponent);
            }
        }
        float lambert = max(dot(normal, toLight), 0.0);
        float light = attenuation;
        if (i == 0) {
            float bias = 0.25 + 0.6 * (1.0 - lambert);
            vec2 cloudCoord = ex_WorldPosition.xz / 190.0 + timer * vec2(0.0045, 0.003);
            light *= shadowFactor(shadowMap, ex_LightClip, bias) *
                     mix(0.55, 1.0, texture(cloudShadowMap, cloudCoord).r);
        }
        colour += LightSource[i].ambient.rgb * ambientColour * attenuation;
        colour += LightSource[i].diffuse.rgb * diffuseColour * lambert * light;
        if (lambert > 0.0) {
            vec3 halfway = normalize(toLight + toEye);
            float shine = pow(max(dot(normal, halfway), 0.0), max(FrontMaterial.shininess, 1.0));
            colour += LightSource[i].specular.rgb * FrontMaterial.specular.rgb * shine * light;
        }
    }

    vec3 view = ex_WorldPosition - camPos;
    vec3 fogColour = textureLod(envMap, skyCoord(fogDirection(normalize(view))), 2.0).rgb;
    colour = mix(colour, fogColour, fogAmount(length(view)));
    out_Color = vec4(colour, FrontMaterial.diffuse.a * texel.a);
}
