#pragma once

#include "Tool/Export.h"

#include <any>
#include <cstdint>
#include <glm/vec4.hpp>
#include <map>
#include <memory>
#include <string>

namespace Data {

class Image;

// Keys of the material property map.
enum MaterialProperty : std::int32_t {
    MP_AMBIENT = 0,         // glm::vec4
    MP_DIFFUSE = 1,         // glm::vec4
    MP_SPECULAR = 2,        // glm::vec4
    MP_EMISSION = 3,        // glm::vec4
    MP_DIFFUSE_TEXTURE = 4, // std::shared_ptr<Image>, or the file name (std::string) before loading
    MP_SECOND_TEXTURE = 5,  // resolved like the diffuse texture, not drawn
    MP_SHININESS = 6        // float
};

// A named map of dynamically typed properties. Readers treat a missing property,
// or one holding another type, as zero.
class BRUMBLY_API Material {
public:
    Material() = default;
    explicit Material(const std::string& name);

    bool has(std::int32_t key) const;
    void set(std::int32_t key, const std::any& value);
    void remove(std::int32_t key);

    glm::vec4 getColor(std::int32_t key) const;
    float getFloat(std::int32_t key) const;
    std::shared_ptr<Image> getImage(std::int32_t key) const;
    std::string getString(std::int32_t key) const;

    std::string name;
    std::map<std::int32_t, std::any> properties;
};

using MaterialPtr = std::shared_ptr<Material>;

} // namespace Data
