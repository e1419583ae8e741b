// The game's shader programs compile and link on the test machine's OpenGL (Mesa
// under Xvfb) with the attributes and uniforms the render kernel feeds them.
#include "Data/Shader.h"
#include "GameDataSupport.h"
#include "Render/glResources/GLShader.h"
#include "Render/rkernel/RKernel.h"

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <memory>

#include <string>
#include <vector>

using namespace GameDataTest;

namespace {

struct Program {
    const char* name;
    std::vector<std::string> attributes;
    std::vector<std::string> uniforms;
};

const std::vector<std::string> lighting = {"NumEnabledLights",
                                           "LightSource[0].position",
                                           "LightSource[0].diffuse",
                                           "LightSource[0].ambient",
                                           "LightSource[0].specular",
                                           "LightSource[1].position",
                                           "globalAmbient",
                                           "FrontMaterial.diffuse",
                                           "FrontMaterial.ambient",
                                           "FrontMaterial.specular",
                                           "FrontMaterial.emission",
                                           "FrontMaterial.shininess",
                                           "FrontMaterial.diffuseTextureAvailable",
                                           "diffuseTex"};

std::vector<std::string> with(std::vector<std::string> base, const std::vector<std::string>& more) {
    base.insert(base.end(), more.begin(), more.end());
    return base;
}

const Program programs[] = {
    {"default",
     {"in_Position", "in_Normal", "in_TexCoord0"},
     with(lighting, {"projMatrix", "viewMatrix", "modelMatrix", "normalMatrix", "projTexMatrix",
                     "camPos", "timer", "shadowMap", "cloudShadowMap", "envMap",
                     "LightSource[0].spotCutoff", "LightSource[0].constantAttenuation"})},
    {"SkyBox",
     {"in_Position", "in_TexCoord0"},
     {"projMatrix", "viewMatrix", "modelMatrix", "diffuseTex", "FrontMaterial.ambient",
      "FrontMaterial.diffuseTextureAvailable"}},
    {"createShadowMap", {"in_Position"}, {"projMatrix", "viewMatrix", "modelMatrix"}},
    {"defaultReflections",
     {"in_Position", "in_Normal"},
     {"projMatrix", "viewMatrix", "modelMatrix", "camPos", "timer", "envMap", "waveBumpMap",
      "FrontMaterial.diffuse", "NumEnabledLights", "LightSource[0].position",
      "LightSource[0].diffuse"}},
};

class GameShaders : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Tool::LogManager::getInstance().setEnabled(true);
        renderKernel = std::make_unique<Render::RKernel>();
        kernelStarted = renderKernel->init(64, 64, 24, 0, false) == 0;
    }
    static void TearDownTestSuite() { renderKernel.reset(); }
    // A fatal failure inside SetUpTestSuite would only mark the tests as skipped.
    void SetUp() override {
        ASSERT_TRUE(kernelStarted) << "the render kernel did not open its window";
        useBinFolder();
    }
    inline static bool kernelStarted = false;
    inline static std::unique_ptr<Render::RKernel> renderKernel;
};

} // namespace

TEST_F(GameShaders, EveryProgramCompilesAndLinksWithItsInterfaceActive) {
    for (const Program& p : programs) {
        ErrorRecorder recorder;
        Data::ShaderPtr shader;
        System::File::loadShader(shader, {p.name, "shaders\\"});
        ASSERT_TRUE(shader) << p.name;
        ASSERT_EQ(shader->vertexSources.size(), 2U) << p.name;
        ASSERT_EQ(shader->fragmentSources.size(), 2U) << p.name;

        Render::GLShader program;
        EXPECT_TRUE(program.compile(*shader)) << p.name << "\n" << recorder.text();
        ASSERT_TRUE(program.isCompiled()) << p.name;
        EXPECT_TRUE(recorder.errors.empty()) << p.name << "\n" << recorder.text();
        for (const std::string& attribute : p.attributes) {
            EXPECT_NE(glGetAttribLocation(program.getProgram(), attribute.c_str()), -1)
                << p.name << " does not use " << attribute;
        }
        for (const std::string& uniform : p.uniforms) {
            EXPECT_NE(glGetUniformLocation(program.getProgram(), uniform.c_str()), -1)
                << p.name << " does not use " << uniform;
        }
    }
}

// The library carries the version line and compiles alone in both stages.
TEST_F(GameShaders, LibraryCompilesInBothStages) {
    const std::string library =
        System::File::readText(std::string(BRUMBLY_BIN_DIR) + "/shaders/basicLib.glsl");
    ASSERT_EQ(library.rfind("#version 140", 0), 0U);
    for (const GLenum stage : {GL_VERTEX_SHADER, GL_FRAGMENT_SHADER}) {
        const std::string source = library + "\nvoid main(void) {}\n";
        const char* text = source.c_str();
        const GLuint shader = glCreateShader(stage);
        glShaderSource(shader, 1, &text, nullptr);
        glCompileShader(shader);
        GLint status = GL_FALSE;
        glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
        EXPECT_EQ(status, GL_TRUE) << (stage == GL_VERTEX_SHADER ? "vertex" : "fragment");
        glDeleteShader(shader);
    }
}
