#include "demo/Scenery.h"

#include "Data/Object.h"
#include "Data/Shapes.h"
#include "Render/rkernel/RKernel.h"
#include "System/File.h"

#include <GL/glew.h>
#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <memory>

namespace Demo::Scenery {

Data::ShaderPtr loadProgram(const std::string& name) {
    return System::File::loadShader({name, "shaders\\"});
}

Data::ImagePtr loadPicture(const std::string& file) {
    return System::File::loadImage({file, "data\\images\\"});
}

Data::MaterialPtr colourMaterial(const glm::vec4& diffuse, const glm::vec4& ambient,
                                 const glm::vec4& specular, float shininess) {
    auto material = std::make_shared<Data::Material>();
    material->set(Data::MP_AMBIENT, ambient);
    material->set(Data::MP_DIFFUSE, diffuse);
    material->set(Data::MP_SPECULAR, specular);
    material->set(Data::MP_EMISSION, glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    material->set(Data::MP_SHININESS, shininess);
    return material;
}

Data::MeshPtr groundMesh(float size, int cells, float tiles) {
    auto mesh = std::make_shared<Data::Mesh>("ground");
    mesh->texCoords.resize(1);
    for (int j = 0; j <= cells; ++j)
        for (int i = 0; i <= cells; ++i) {
            const float u = static_cast<float>(i) / static_cast<float>(cells);
            const float v = static_cast<float>(j) / static_cast<float>(cells);
            mesh->vertices.emplace_back((u - 0.5f) * size, 0.0f, (v - 0.5f) * size);
            mesh->normals.emplace_back(0.0f, 1.0f, 0.0f);
            mesh->texCoords[0].emplace_back(u * tiles, v * tiles);
        }
    for (int j = 0; j < cells; ++j)
        for (int i = 0; i < cells; ++i) {
            const auto a = static_cast<std::uint32_t>(j * (cells + 1) + i);
            const auto b = a + static_cast<std::uint32_t>(cells + 1);
            mesh->indices.insert(mesh->indices.end(), {a, b, a + 1, a + 1, b, b + 1});
        }
    mesh->faces.push_back(
        {Data::FT_TRIANGLES, static_cast<std::uint32_t>(mesh->indices.size()), nullptr});
    mesh->check();
    return mesh;
}

Data::SGNodePtr placed(const Data::SGNodePtr& node, const glm::vec3& position, float yaw) {
    node->yaw(yaw, false);
    node->moveSideways(position.x, false);
    node->moveUp(position.y, false);
    node->moveForward(-position.z, false);
    return node;
}

glm::mat4 lookFrom(const glm::vec3& eye, const glm::vec3& target) {
    return glm::inverse(glm::lookAt(eye, target, glm::vec3(0.0f, 1.0f, 0.0f)));
}

Data::LightPtr sunLight(const glm::vec3& towardsSun, const glm::vec4& diffuse) {
    auto sun = std::make_shared<Data::Light>();
    sun->type = Data::LT_DIRECTIONAL;
    // lookFrom turns -z towards the target: aim it away from the sun so that the
    // light's +z points at it.
    sun->setTransformation(lookFrom(glm::vec3(0.0f), -glm::normalize(towardsSun)));
    sun->ambient = glm::vec4(0.2f, 0.2f, 0.2f, 1.0f);
    sun->diffuse = diffuse;
    sun->specular = glm::vec4(0.5f, 0.5f, 0.5f, 1.0f);
    return sun;
}

Sky::Sky()
    : program(loadProgram("SkyBox")), sky(loadPicture("brightday1.jpg")),
      clouds(loadPicture("CloudShadowMap1.png")), waves(loadPicture("gradient_map.jpg")),
      box(std::make_shared<Data::Object>(Data::makeMySkyBox(50.0f, sky))) {}

void Sky::bindPictures() const {
    Render::RKernel* kernel = Render::RKernel::current();
    kernel->bindTexture("envMap", sky);
    kernel->bindTexture("cloudShadowMap", clouds);
    kernel->bindTexture("waveBumpMap", waves);
}

void Sky::draw() const {
    Render::RKernel* kernel = Render::RKernel::current();
    kernel->getShaderMgmt().setCurrentProgram(program);
    // The box follows the camera in its program; where it stands in the scene does
    // not matter, so culling must not drop it.
    const bool culling = kernel->getFrustumCulling();
    kernel->setFrustumCulling(false);
    glDisable(GL_DEPTH_TEST);
    kernel->drawNode(box);
    glEnable(GL_DEPTH_TEST);
    kernel->setFrustumCulling(culling);
}

} // namespace Demo::Scenery
