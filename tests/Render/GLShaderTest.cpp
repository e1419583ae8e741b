#include "RenderTestSupport.h"

#include "Data/Light.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

using namespace RenderTest;

namespace {

// Values of the current program's uniforms, read back from OpenGL.
class ShaderTest : public GLTest {
protected:
    GLuint program() { return kernel->getShaderMgmt().getCurrentProgram()->getProgram(); }
    GLint location(const std::string& name) {
        return glGetUniformLocation(program(), name.c_str());
    }
    std::vector<float> floats(const std::string& name, int count) {
        std::vector<float> values(count, -999.0f);
        const GLint at = location(name);
        EXPECT_NE(at, -1) << name;
        if (at != -1)
            glGetUniformfv(program(), at, values.data());
        return values;
    }
    int integer(const std::string& name) {
        GLint value = -999;
        glGetUniformiv(program(), location(name), &value);
        return value;
    }
};

Data::Shader shaderOf(const std::string& name, const std::string& vertex,
                      const std::string& fragment) {
    return Data::Shader{name, "test", {vertex}, {fragment}};
}

const char* PASS_VERTEX = "#version 140\nin vec3 in_Position;\n"
                          "void main() { gl_Position = vec4(in_Position, 1.0); }\n";
const char* WHITE_FRAGMENT = "#version 140\nout vec4 c;\nvoid main() { c = vec4(1.0); }\n";

// Uses every shared uniform so that none is optimised away.
Data::Shader sharedUniformProgram() {
    return shaderOf(
        "shared uniforms",
        "#version 140\nuniform mat4 projMatrix, viewMatrix;\nuniform vec3 camPos;\n"
        "uniform float timer;\nuniform vec4 globalAmbient;\nuniform sampler2D first, second;\n"
        "in vec3 in_Position;\nout vec4 v;\nvoid main() { gl_Position = projMatrix * viewMatrix "
        "* vec4(in_Position + camPos, 1.0); v = globalAmbient * timer; }\n",
        "#version 140\nuniform sampler2D first, second;\nin vec4 v;\nout vec4 c;\n"
        "void main() { c = v + texture(first, vec2(0.0)) + texture(second, vec2(0.0)); }\n");
}

// A light array using every field of three lights.
Data::Shader lightProgram(const std::string& name) {
    return shaderOf(
        name, PASS_VERTEX,
        "#version 140\nstruct Light { vec4 ambient, diffuse, specular, position; vec3 "
        "spotDirection; float spotExponent, spotCutoff, spotCosCutoff, constantAttenuation, "
        "linearAttenuation, quadraticAttenuation; };\nuniform Light LightSource[3];\n"
        "uniform float NumEnabledLights;\nout vec4 c;\nvoid main() { c = vec4(NumEnabledLights); "
        "for (int i = 0; i < 3; ++i) { Light l = LightSource[i]; c += l.ambient + l.diffuse + "
        "l.specular + l.position + vec4(l.spotDirection, l.spotExponent) + vec4(l.spotCutoff, "
        "l.spotCosCutoff, l.constantAttenuation, l.linearAttenuation + "
        "l.quadraticAttenuation); } }\n");
}

TEST_F(ShaderTest, CompileErrorsAreLoggedWithTheIndentedInfoLog) {
    LogRecorder log;
    const std::string broken = "#version 140\nvoid main() { this is not glsl }\n";
    Render::GLShader vertexFails;
    EXPECT_FALSE(vertexFails.compile(shaderOf("bad", broken, WHITE_FRAGMENT)));
    const Tool::Message* vertex = log.find("Vertex Shader bad");
    ASSERT_NE(vertex, nullptr);
    EXPECT_EQ(vertex->getAuthor(), "GLShader");
    EXPECT_EQ(vertex->getType(), Tool::MT_ERROR);
    EXPECT_EQ(vertex->getMessage().rfind("   ", 0), 0u);
    // Every line of the info log is indented by three blanks.
    const std::string& text = vertex->getMessage();
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
        EXPECT_EQ(text.compare(at + 1, 3, "   "), 0);
    EXPECT_FALSE(vertexFails.isCompiled());
    EXPECT_EQ(log.find("Fragment Shader bad"), nullptr);

    Render::GLShader fragmentFails;
    EXPECT_FALSE(fragmentFails.compile(shaderOf("worse", PASS_VERTEX, broken)));
    ASSERT_NE(log.find("Fragment Shader worse"), nullptr);
    EXPECT_EQ(log.find("Linking worse"), nullptr);
    EXPECT_EQ(fragmentFails.getProgram(), 0u);

    Render::GLShader linkFails;
    EXPECT_FALSE(linkFails.compile(shaderOf(
        "unlinked", PASS_VERTEX, "#version 140\nout vec4 c;\nvoid helper() { c = vec4(1.0); }\n")));
    const Tool::Message* linking = log.find("Linking unlinked");
    ASSERT_NE(linking, nullptr);
    EXPECT_EQ(linking->getMessage().rfind("   ", 0), 0u);
}

TEST_F(ShaderTest, LinkedProgramLogsItsInterface) {
    LogRecorder log;
    Render::GLShader shader;
    ASSERT_TRUE(shader.compile(shaderOf(
        "interface",
        "#version 140\nuniform mat4 projMatrix;\nuniform mat3 normalMatrix;\nuniform ivec3 "
        "counts;\nuniform bool flag;\nin vec3 in_Position;\nin vec4 in_Color;\nin vec2 "
        "in_TexCoord0;\nout vec4 v;\nvoid main() { gl_Position = projMatrix * "
        "vec4(normalMatrix * in_Position, 1.0); v = in_Color + vec4(in_TexCoord0, counts.xy) + "
        "vec4(flag ? 1.0 : 0.0); }\n",
        "#version 140\nuniform sampler2D diffuseTex;\nuniform sampler2DShadow shadowMap;\n"
        "uniform samplerCube envMap;\nin vec4 v;\nout vec4 c;\nvoid main() { c = v + "
        "texture(diffuseTex, v.xy) + texture(shadowMap, v.xyz) + texture(envMap, v.xyz); }\n")));
    const Tool::Message* report = log.find("interface");
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->getType(), Tool::MT_DEBUG);
    const std::string& text = report->getMessage();
    EXPECT_EQ(text.rfind(" 3 Attributes:\n", 0), 0u) << text;
    for (const char* line :
         {"  1x vec3 in_Position\n", "  1x vec4 in_Color\n", "  1x vec2 in_TexCoord0\n",
          " 7 Uniforms:\n", "  1x mat4 projMatrix\n", "  1x mat3 normalMatrix\n",
          "  1x ivec3 counts\n", "  1x bool flag\n", "  1x sampler2d diffuseTex\n",
          "  1x sampler2dshadow shadowMap\n", "  1x ?? envMap\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " missing in\n" << text;
}

// Made current with every frame, a refused shader is reported the first time only.
TEST_F(ShaderTest, EmptyShaderIsRefusedOnceAndTheCurrentProgramStays) {
    LogRecorder log;
    Render::GLShaderMgmt& shaders = kernel->getShaderMgmt();
    const Render::GLShaderPtr before = shaders.getCurrentProgram();
    EXPECT_EQ(shaders.getProgram(Data::Shader{"hollow", "test", {PASS_VERTEX}, {}}), nullptr);
    for (int frame = 0; frame < 3; ++frame) {
        shaders.setCurrentProgram(Data::Shader{"hollow", "test", {}, {WHITE_FRAGMENT}});
    }
    shaders.setCurrentProgram(Data::Shader{"empty too", "test", {}, {}});
    EXPECT_EQ(shaders.getCurrentProgram(), before);
    const Tool::Message* error = log.find("RKernel: ERROR not accepting empty shader: 'hollow");
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->getAuthor(), "RKernel");
    EXPECT_EQ(error->getType(), Tool::MT_ERROR);
    EXPECT_EQ(log.count(error->getTitle()), 1u);
    EXPECT_EQ(log.count("RKernel: ERROR not accepting empty shader: 'empty too"), 1u);
    EXPECT_EQ(shaders.getPrograms().count("hollow"), 0u);
}

TEST_F(ShaderTest, ProgramsAreBuiltOnceEvenWhenTheyFail) {
    LogRecorder log;
    Render::GLShaderMgmt& shaders = kernel->getShaderMgmt();
    const Data::Shader broken = shaderOf("broken once", "#version 140\nnot glsl\n", WHITE_FRAGMENT);
    const Render::GLShaderPtr first = shaders.getProgram(broken);
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->isCompiled());
    EXPECT_EQ(shaders.getProgram(broken), first);
    EXPECT_EQ(log.count("Vertex Shader broken once"), 1u);

    // Making it current binds its missing program; nothing is drawn and no error follows.
    shaders.setCurrentProgram(broken);
    EXPECT_EQ(shaders.getCurrentProgram(), first);
    kernel->drawMesh(makeSquare(1.0f, {0, 0, 0}));
    shaders.setUniform("timer", 1.0f);
}

TEST_F(ShaderTest, SharedUniformsAreWrittenWhenAProgramBecomesCurrent) {
    Render::GLShaderMgmt& shaders = kernel->getShaderMgmt();
    const int firstUnit = shaders.getTextureUnit("first");
    const int secondUnit = shaders.getTextureUnit("second");
    EXPECT_EQ(shaders.getTextureUnit("first"), firstUnit);
    EXPECT_EQ(secondUnit, firstUnit + 1);

    const glm::mat4 projection = glm::perspective(1.0f, 1.0f, 1.0f, 10.0f);
    const glm::mat4 view = glm::translate(glm::mat4(1.0f), glm::vec3(1, 2, 3));
    shaders.setProjectionMatrix(projection);
    shaders.setViewMatrix(view);
    shaders.setCameraPosition({4, 5, 6});
    shaders.setTime(7.5f);
    shaders.setGlobalAmbient({0.1f, 0.2f, 0.3f, 1.0f});
    shaders.setCurrentProgram(sharedUniformProgram());

    const std::vector<float> proj = floats("projMatrix", 16);
    const std::vector<float> viewValues = floats("viewMatrix", 16);
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(proj[i], (&projection[0][0])[i]);
        EXPECT_FLOAT_EQ(viewValues[i], (&view[0][0])[i]);
    }
    EXPECT_EQ(floats("camPos", 3), (std::vector<float>{4, 5, 6}));
    EXPECT_EQ(floats("timer", 1), (std::vector<float>{7.5f}));
    EXPECT_EQ(floats("globalAmbient", 4), (std::vector<float>{0.1f, 0.2f, 0.3f, 1.0f}));
    EXPECT_EQ(integer("first"), firstUnit);
    EXPECT_EQ(integer("second"), secondUnit);

    // The current program again: nothing is written.
    shaders.setTime(9.0f);
    shaders.setCurrentProgram(sharedUniformProgram());
    EXPECT_EQ(floats("timer", 1), (std::vector<float>{7.5f}));
}

TEST_F(ShaderTest, UniformSettersWriteEachType) {
    Render::GLShaderMgmt& shaders = kernel->getShaderMgmt();
    shaders.setCurrentProgram(shaderOf(
        "setters",
        "#version 140\nuniform mat4 m4;\nuniform mat3 m3;\nuniform vec3 v3;\nuniform float f;\n"
        "in vec3 in_Position;\nvoid main() { gl_Position = m4 * vec4(m3 * in_Position + v3 * "
        "f, 1.0); }\n",
        "#version 140\nuniform vec4 v4;\nuniform int i;\nuniform bool b;\nout vec4 c;\n"
        "void main() { c = v4 * float(i) * (b ? 1.0 : 0.5); }\n"));
    const glm::mat3 m3(1, 2, 3, 4, 5, 6, 7, 8, 9);
    const glm::mat4 m4 = glm::translate(glm::mat4(1.0f), glm::vec3(7, 8, 9));
    shaders.setUniform("m4", m4);
    shaders.setUniform("m3", m3);
    shaders.setUniform("v3", glm::vec3(1, 2, 3));
    shaders.setUniform("v4", glm::vec4(1, 2, 3, 4));
    shaders.setUniform("f", 0.25f);
    shaders.setUniform("i", 3);
    shaders.setUniform("b", true);
    shaders.setUniform("notThere", 1.0f);
    EXPECT_EQ(floats("m3", 9), (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(floats("m4", 16)[12], 7.0f);
    EXPECT_EQ(floats("v3", 3), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(floats("v4", 4), (std::vector<float>{1, 2, 3, 4}));
    EXPECT_EQ(floats("f", 1), (std::vector<float>{0.25f}));
    EXPECT_EQ(integer("i"), 3);
    EXPECT_EQ(integer("b"), 1);
}

TEST_F(ShaderTest, NewSamplerReachesTheProgramWithTheNextSwitch) {
    Render::GLShaderMgmt& shaders = kernel->getShaderMgmt();
    const Data::Shader sampling =
        shaderOf("late sampler", PASS_VERTEX,
                 "#version 140\nuniform sampler2D lateSampler;\nout vec4 c;\n"
                 "void main() { c = texture(lateSampler, vec2(0.5)); }\n");
    shaders.getTextureUnit("earlierSampler");
    shaders.setCurrentProgram(sampling);
    const int unit = shaders.getTextureUnit("lateSampler");
    ASSERT_GT(unit, 0);
    EXPECT_EQ(integer("lateSampler"), 0);
    shaders.setCurrentProgram(Render::makeSimpleProgram());
    shaders.setCurrentProgram(sampling);
    EXPECT_EQ(integer("lateSampler"), unit);
}

TEST_F(ShaderTest, EachLightTypeWritesItsUniforms) {
    Render::GLShaderMgmt& shaders = kernel->getShaderMgmt();
    const glm::mat4 view = glm::translate(glm::mat4(1.0f), glm::vec3(0, 0, -10));
    shaders.setViewMatrix(view);

    auto directional = std::make_shared<Data::Light>();
    directional->type = Data::LT_DIRECTIONAL;
    directional->setTransformation(
        glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), glm::vec3(0, 1, 0)));
    directional->diffuse = {0.5f, 0.6f, 0.7f, 1.0f};
    auto point = std::make_shared<Data::Light>();
    point->type = Data::LT_POINT;
    point->setTransformation(glm::translate(glm::mat4(1.0f), glm::vec3(1, 2, 3)));
    point->constantAttenuation = 0.5f;
    point->linearAttenuation = 0.25f;
    point->quadraticAttenuation = 0.125f;
    auto spot = std::make_shared<Data::Light>();
    spot->type = Data::LT_SPOT;
    spot->setTransformation(glm::translate(glm::mat4(1.0f), glm::vec3(0, 5, 0)));
    spot->spotDirection = {0, -1, 0};
    spot->spotCutoff = 60.0f;
    spot->spotExponent = 8.0f;
    spot->ambient = {0.1f, 0.1f, 0.1f, 1.0f};
    shaders.setLights({directional, point, spot});
    shaders.setCurrentProgram(lightProgram("lights"));

    EXPECT_EQ(floats("NumEnabledLights", 1), (std::vector<float>{3.0f}));
    // Directional: its local +z in eye space, w = 0; the turn maps +z onto +x.
    const std::vector<float> direction = floats("LightSource[0].position", 4);
    EXPECT_NEAR(direction[0], 1.0f, 1e-5f);
    EXPECT_NEAR(direction[1], 0.0f, 1e-5f);
    EXPECT_NEAR(direction[2], 0.0f, 1e-5f);
    EXPECT_EQ(direction[3], 0.0f);
    EXPECT_EQ(floats("LightSource[0].diffuse", 4), (std::vector<float>{0.5f, 0.6f, 0.7f, 1.0f}));
    EXPECT_EQ(floats("LightSource[0].spotCutoff", 1), (std::vector<float>{0.0f}))
        << "a directional light writes no spot values";

    EXPECT_EQ(floats("LightSource[1].position", 4), (std::vector<float>{1, 2, -7, 1}));
    EXPECT_EQ(floats("LightSource[1].spotCutoff", 1), (std::vector<float>{180.0f}));
    EXPECT_EQ(floats("LightSource[1].constantAttenuation", 1), (std::vector<float>{0.5f}));
    EXPECT_EQ(floats("LightSource[1].linearAttenuation", 1), (std::vector<float>{0.25f}));
    EXPECT_EQ(floats("LightSource[1].quadraticAttenuation", 1), (std::vector<float>{0.125f}));
    EXPECT_EQ(floats("LightSource[1].spotExponent", 1), (std::vector<float>{0.0f}));

    EXPECT_EQ(floats("LightSource[2].position", 4), (std::vector<float>{0, 5, -10, 1}));
    EXPECT_EQ(floats("LightSource[2].spotCutoff", 1), (std::vector<float>{60.0f}));
    EXPECT_NEAR(floats("LightSource[2].spotCosCutoff", 1)[0], 0.5f, 1e-5f);
    EXPECT_EQ(floats("LightSource[2].spotExponent", 1), (std::vector<float>{8.0f}));
    EXPECT_EQ(floats("LightSource[2].spotDirection", 3), (std::vector<float>{0, -1, 0}));
    EXPECT_EQ(floats("LightSource[2].ambient", 4), (std::vector<float>{0.1f, 0.1f, 0.1f, 1.0f}));
}

TEST_F(ShaderTest, NoLightsWriteOnlyTheCount) {
    Render::GLShaderMgmt& shaders = kernel->getShaderMgmt();
    shaders.setLights({});
    shaders.setCurrentProgram(lightProgram("no lights"));
    EXPECT_EQ(floats("NumEnabledLights", 1), (std::vector<float>{0.0f}));
    EXPECT_EQ(floats("LightSource[0].diffuse", 4), (std::vector<float>{0, 0, 0, 0}));
}

} // namespace
