#pragma once

#include "Data/Mesh.h"
#include "Data/Shader.h"
#include "Render/BuiltinShaders.h"
#include "Render/FrameCapture.h"
#include "Render/rkernel/RKernel.h"
#include "Tool/LogManager.h"

#include <FreeImagePlus.h>
#include <GL/glew.h>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace RenderTest {

// Keeps every log message sent while it is attached.
class LogRecorder : public Tool::LogListener {
public:
    LogRecorder() {
        Tool::LogManager::getInstance().setEnabled(true);
        Tool::LogManager::getInstance().attachLogListener(this, false);
    }
    ~LogRecorder() override { Tool::LogManager::getInstance().detachLogListener(this); }
    void process(const Tool::LogCommand& command) override {
        if (command.kind == Tool::LC_MESSAGE)
            messages.push_back(command.message);
    }
    // The first message with the title, or null.
    const Tool::Message* find(const std::string& title) const {
        for (const Tool::Message& message : messages)
            if (message.getTitle() == title)
                return &message;
        return nullptr;
    }
    std::size_t count(const std::string& title) const {
        std::size_t n = 0;
        for (const Tool::Message& message : messages)
            n += message.getTitle() == title ? 1 : 0;
        return n;
    }
    std::vector<Tool::Message> messages;
};

// Every OpenGL error the driver reports through its debug output. Compiler
// messages are left to the shader tests, which read them from the log.
inline std::vector<std::string>& glErrors() {
    static std::vector<std::string> errors;
    return errors;
}

inline void GLAPIENTRY recordDebugMessage(GLenum source, GLenum type, GLuint, GLenum, GLsizei,
                                          const GLchar* message, const void*) {
    if (type == GL_DEBUG_TYPE_ERROR && source != GL_DEBUG_SOURCE_SHADER_COMPILER)
        glErrors().emplace_back(message);
}

// One render kernel with a small window for the whole test program. Each test
// starts drawing into a cleared screen and fails on any OpenGL error it caused.
class GLTest : public ::testing::Test {
public:
    static constexpr int WIDTH = 64;
    static constexpr int HEIGHT = 64;

    static void SetUpTestSuite() { startKernel(WIDTH, HEIGHT); }
    static void startKernel(int width, int height) {
        // The log goes to the console too, so that a failed start explains itself.
        static Tool::LogListener console;
        Tool::LogManager::getInstance().setEnabled(true);
        Tool::LogManager::getInstance().attachLogListener(&console, false);
        renderKernel = std::make_unique<Render::RKernel>();
        kernelStarted = renderKernel->init(width, height, 24, 0, false) == 0;
        if (!kernelStarted)
            return;
        glEnable(GL_DEBUG_OUTPUT);
        glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
        glDebugMessageCallback(recordDebugMessage, nullptr);
    }
    static void TearDownTestSuite() { renderKernel.reset(); }

protected:
    // Set by startKernel. A fatal failure inside SetUpTestSuite would only mark the
    // tests as skipped, so a kernel that did not start fails each test instead.
    inline static bool kernelStarted = false;
    inline static std::unique_ptr<Render::RKernel> renderKernel;

    void SetUp() override {
        ASSERT_TRUE(kernelStarted) << "the render kernel did not open its window";
        glErrors().clear();
        kernel = renderKernel.get();
        kernel->setDrawStrategy(Render::RKernel::VertexBufferObjects);
        kernel->setDebugDrawMode(0);
        kernel->setFrustumCulling(false);
        kernel->setDrawDistance(std::numeric_limits<float>::infinity());
        Render::GLShaderMgmt& shaders = kernel->getShaderMgmt();
        shaders.setViewMatrix(glm::mat4(1.0f));
        shaders.setProjectionMatrix(glm::mat4(1.0f));
        shaders.setLights({});
        shaders.setCurrentProgram(Render::makeSimpleProgram());
        shaders.writeSharedUniforms();
        kernel->setModelMatrix(glm::mat4(1.0f));
        kernel->setRenderTarget(kernel->getScreen());
    }
    void TearDown() override {
        EXPECT_TRUE(glErrors().empty()) << "OpenGL error: " << glErrors().front();
    }

    // The frame drawn so far; (x, y) counts from the bottom left.
    static fipImage capture() {
        fipImage image;
        EXPECT_TRUE(Render::captureFrame(image));
        return image;
    }
    static glm::ivec3 pixel(fipImage& image, int x, int y) {
        RGBQUAD colour{};
        image.getPixelColor(x, y, &colour);
        return {colour.rgbRed, colour.rgbGreen, colour.rgbBlue};
    }

    Render::RKernel* kernel = nullptr;
};

// An unlit program colouring everything with FrontMaterial.diffuse.
inline Data::Shader materialColourProgram() {
    return Data::Shader{
        "test material colour",
        "test",
        {"#version 140\nuniform mat4 projMatrix, viewMatrix, modelMatrix;\nin vec3 in_Position;\n"
         "void main() { gl_Position = projMatrix * viewMatrix * modelMatrix * "
         "vec4(in_Position, 1.0); }\n"},
        {"#version 140\nuniform struct Material { vec4 diffuse; } FrontMaterial;\n"
         "out vec4 out_Color;\nvoid main() { out_Color = FrontMaterial.diffuse; }\n"}};
}

// A square of side `size` in the xy plane around `centre`, facing +z, coloured.
inline Data::MeshPtr makeSquare(float size, const glm::vec3& centre,
                                const glm::vec4& colour = glm::vec4(1.0f)) {
    auto mesh = std::make_shared<Data::Mesh>("square");
    const float h = size / 2.0f;
    mesh->vertices = {centre + glm::vec3(-h, -h, 0), centre + glm::vec3(h, -h, 0),
                      centre + glm::vec3(h, h, 0), centre + glm::vec3(-h, h, 0)};
    mesh->normals.assign(4, glm::vec3(0, 0, 1));
    mesh->colors.assign(4, colour);
    mesh->texCoords = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
    mesh->indices = {0, 1, 2, 0, 2, 3};
    mesh->faces.push_back({Data::FT_TRIANGLES, 6, nullptr});
    return mesh;
}

} // namespace RenderTest
