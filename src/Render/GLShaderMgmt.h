#pragma once

#include "Render/glResources/GLShader.h"

#include <glm/mat3x3.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace Data {
struct Shader;
class Light;
} // namespace Data

namespace Render {

// The compiled programs by name, the current program, and the values every program
// shares (camera, time, ambient light, lights, sampler units), which are written
// into a program whenever it becomes current.
class GLShaderMgmt {
public:
    using LightList = std::vector<std::shared_ptr<Data::Light>>;

    // The program for the shader, compiled on first request (also when that fails:
    // a broken program is not rebuilt). Empty for a shader without vertex or
    // fragment sources, with a log line the first time for its name.
    GLShaderPtr getProgram(const Data::Shader& shader);
    // Makes the shader's program current and writes the shared uniforms, unless it
    // is current already or could not be made.
    void setCurrentProgram(const Data::Shader& shader);
    // The same for a shared shader record; an empty pointer changes nothing.
    void setCurrentProgram(const std::shared_ptr<Data::Shader>& shader);
    const GLShaderPtr& getCurrentProgram() const { return currentProgram; }
    const std::map<std::string, GLShaderPtr>& getPrograms() const { return programs; }
    // Forgets the current program and releases all programs.
    void clear();

    // Uniforms of the current program, by name; unknown names are ignored.
    void setUniform(const std::string& name, int value) const;
    void setUniform(const std::string& name, float value) const;
    void setUniform(const std::string& name, const glm::vec2& value) const;
    void setUniform(const std::string& name, const glm::vec3& value) const;
    void setUniform(const std::string& name, const glm::vec4& value) const;
    void setUniform(const std::string& name, const glm::mat3& value) const;
    void setUniform(const std::string& name, const glm::mat4& value) const;

    // The unit of a sampler name; a new name takes the next free unit. The program
    // hears of a new sampler the next time a program becomes current.
    int getTextureUnit(const std::string& sampler);

    void setViewMatrix(const glm::mat4& value) { viewMatrix = value; }
    void setProjectionMatrix(const glm::mat4& value) { projectionMatrix = value; }
    void setCameraPosition(const glm::vec3& value) { cameraPosition = value; }
    void setTime(float value) { time = value; }
    void setGlobalAmbient(const glm::vec4& value) { globalAmbient = value; }
    void setLights(const LightList& value) { lights = value; }
    const glm::mat4& getViewMatrix() const { return viewMatrix; }
    const glm::mat4& getProjectionMatrix() const { return projectionMatrix; }
    const glm::vec3& getCameraPosition() const { return cameraPosition; }
    float getTime() const { return time; }
    const glm::vec4& getGlobalAmbient() const { return globalAmbient; }
    const LightList& getLights() const { return lights; }

    // Writes matrices, camera position, time, ambient, sampler units and lights
    // into the current program.
    void writeSharedUniforms() const;

private:
    int location(const std::string& name) const;
    void writeLights() const;

    glm::mat4 viewMatrix{1.0f};
    glm::mat4 projectionMatrix{1.0f};
    glm::vec3 cameraPosition{0.0f};
    float time = 0.0f;
    glm::vec4 globalAmbient{0.0f, 0.0f, 0.0f, 1.0f};
    GLShaderPtr currentProgram;
    std::map<std::string, GLShaderPtr> programs;
    // Names of the shaders refused for want of sources, which are reported once.
    std::set<std::string> refused;
    LightList lights;
    std::map<std::string, int> samplers;
};

} // namespace Render
