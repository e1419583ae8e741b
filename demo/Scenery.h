#pragma once

#include "Data/Image.h"
#include "Data/Light.h"
#include "Data/Material.h"
#include "Data/Mesh.h"
#include "Data/SGNode.h"
#include "Data/Shader.h"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>
#include <string>

// Pieces the demonstrations build their scenes from: the game's programs and
// pictures, materials, simple meshes, the sky and the sun.
namespace Demo::Scenery {

// A program of the game's "shaders\" folder.
Data::ShaderPtr loadProgram(const std::string& name);
// A picture of the game's "data\images\" folder.
Data::ImagePtr loadPicture(const std::string& file);

Data::MaterialPtr colourMaterial(const glm::vec4& diffuse, const glm::vec4& ambient,
                                 const glm::vec4& specular = glm::vec4(0.0f, 0.0f, 0.0f, 1.0f),
                                 float shininess = 0.0f);

// A flat square of side `size` in the xz plane around the origin, facing up, split
// into cells x cells squares; the texture repeats `tiles` times across it.
Data::MeshPtr groundMesh(float size, int cells, float tiles);

// Turns the node by `yaw` degrees about the vertical axis, then moves it to
// `position`, both in its parent's axes. Returns the node.
Data::SGNodePtr placed(const Data::SGNodePtr& node, const glm::vec3& position, float yaw = 0.0f);

// The world transform of something at `eye` that looks at `target`.
glm::mat4 lookFrom(const glm::vec3& eye, const glm::vec3& target);

// The sun: a directional light shining along its local +z, turned so that it
// comes from the direction `towardsSun`.
Data::LightPtr sunLight(const glm::vec3& towardsSun, const glm::vec4& diffuse);

// The sky box with the game's sky picture, and the programs and pictures that the
// game's surfaces sample ("envMap", "cloudShadowMap", "waveBumpMap").
class Sky {
public:
    Sky();
    // Binds the pictures to their samplers (with the current filtering settings).
    void bindPictures() const;
    // Draws the sky box behind everything; the camera must be set.
    void draw() const;

private:
    Data::ShaderPtr program;
    Data::ImagePtr sky;
    Data::ImagePtr clouds;
    Data::ImagePtr waves;
    Data::SGNodePtr box;
};

} // namespace Demo::Scenery
