#include "Render/GLShaderMgmt.h"

#include "Data/Light.h"
#include "Data/Shader.h"
#include "Tool/LogManager.h"

#include <GL/glew.h>
#include <cmath>
#include <glm/gtc/type_ptr.hpp>
#include <glm/matrix.hpp>

namespace Render {

GLShaderPtr GLShaderMgmt::getProgram(const Data::Shader& shader) {
    if (shader.vertexSources.empty() || shader.fragmentSources.empty()) {
        // Drawn with every frame, a refused shader would otherwise fill the log.
        if (refused.insert(shader.name).second)
            Tool::LogManager::getInstance().send(Tool::Message(
                "RKernel", "RKernel: ERROR not accepting empty shader: '" + shader.name, "",
                __FILE__, __LINE__, Tool::MT_ERROR));
        return nullptr;
    }
    GLShaderPtr& program = programs[shader.name];
    if (!program) {
        program = std::make_shared<GLShader>();
        program->compile(shader);
    }
    return program;
}

void GLShaderMgmt::setCurrentProgram(const Data::Shader& shader) {
    GLShaderPtr program = getProgram(shader);
    if (!program || program == currentProgram)
        return;
    currentProgram = program;
    glUseProgram(currentProgram->getProgram());
    writeSharedUniforms();
}

void GLShaderMgmt::setCurrentProgram(const std::shared_ptr<Data::Shader>& shader) {
    if (shader)
        setCurrentProgram(*shader);
}

void GLShaderMgmt::clear() {
    currentProgram.reset();
    programs.clear();
    refused.clear();
}

int GLShaderMgmt::location(const std::string& name) const {
    if (!currentProgram)
        return -1;
    return currentProgram->uniformLocation(name);
}

// A program that failed to build has no program object; nothing is written then.
void GLShaderMgmt::setUniform(const std::string& name, int value) const {
    const int at = location(name);
    if (at != -1)
        glUniform1i(at, value);
}

void GLShaderMgmt::setUniform(const std::string& name, float value) const {
    const int at = location(name);
    if (at != -1)
        glUniform1f(at, value);
}

void GLShaderMgmt::setUniform(const std::string& name, const glm::vec2& value) const {
    const int at = location(name);
    if (at != -1)
        glUniform2fv(at, 1, glm::value_ptr(value));
}

void GLShaderMgmt::setUniform(const std::string& name, const glm::vec3& value) const {
    const int at = location(name);
    if (at != -1)
        glUniform3fv(at, 1, glm::value_ptr(value));
}

void GLShaderMgmt::setUniform(const std::string& name, const glm::vec4& value) const {
    const int at = location(name);
    if (at != -1)
        glUniform4fv(at, 1, glm::value_ptr(value));
}

void GLShaderMgmt::setUniform(const std::string& name, const glm::mat3& value) const {
    const int at = location(name);
    if (at != -1)
        glUniformMatrix3fv(at, 1, GL_FALSE, glm::value_ptr(value));
}

void GLShaderMgmt::setUniform(const std::string& name, const glm::mat4& value) const {
    const int at = location(name);
    if (at != -1)
        glUniformMatrix4fv(at, 1, GL_FALSE, glm::value_ptr(value));
}

int GLShaderMgmt::getTextureUnit(const std::string& sampler) {
    const auto found = samplers.find(sampler);
    if (found != samplers.end())
        return found->second;
    const int unit = static_cast<int>(samplers.size());
    samplers.emplace(sampler, unit);
    return unit;
}

void GLShaderMgmt::writeSharedUniforms() const {
    setUniform("projMatrix", projectionMatrix);
    setUniform("viewMatrix", viewMatrix);
    setUniform("camPos", cameraPosition);
    setUniform("timer", time);
    setUniform("globalAmbient", globalAmbient);
    for (const auto& [sampler, unit] : samplers)
        setUniform(sampler, unit);
    writeLights();
}

void GLShaderMgmt::writeLights() const {
    setUniform("NumEnabledLights", static_cast<float>(lights.size()));
    for (std::size_t i = 0; i < lights.size(); ++i) {
        if (!lights[i])
            continue;
        const Data::Light& light = *lights[i];
        const std::string prefix = "LightSource[" + std::to_string(i) + "]";
        const glm::mat4 toEye = viewMatrix * light.getWorldTransformation();
        const glm::mat3 normalToEye = glm::transpose(glm::inverse(glm::mat3(toEye)));
        if (light.type == Data::LT_SPOT || light.type == Data::LT_POINT) {
            if (light.type == Data::LT_SPOT) {
                setUniform(prefix + ".spotDirection", normalToEye * light.spotDirection);
                setUniform(prefix + ".spotExponent", light.spotExponent);
                setUniform(prefix + ".spotCosCutoff",
                           static_cast<float>(std::cos(light.spotCutoff * 0.0174533)));
            }
            setUniform(prefix + ".constantAttenuation", light.constantAttenuation);
            setUniform(prefix + ".linearAttenuation", light.linearAttenuation);
            setUniform(prefix + ".quadraticAttenuation", light.quadraticAttenuation);
            setUniform(prefix + ".spotCutoff",
                       light.type == Data::LT_SPOT ? light.spotCutoff : 180.0f);
            setUniform(prefix + ".position", toEye * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
        } else {
            setUniform(prefix + ".position",
                       glm::vec4(normalToEye * glm::vec3(0.0f, 0.0f, 1.0f), 0.0f));
        }
        setUniform(prefix + ".ambient", light.ambient);
        setUniform(prefix + ".diffuse", light.diffuse);
        setUniform(prefix + ".specular", light.specular);
    }
}

} // namespace Render
