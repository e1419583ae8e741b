#include "Data/Material.h"

#include "Data/Image.h"

namespace Data {

namespace {

// The value under `key` when it holds a T, otherwise T's zero value.
template <typename T>
T readOrZero(const std::map<std::int32_t, std::any>& properties, std::int32_t key) {
    const auto found = properties.find(key);
    if (found == properties.end()) {
        return T{};
    }
    const T* value = std::any_cast<T>(&found->second);
    return value ? *value : T{};
}

} // namespace

Material::Material(const std::string& name) : name(name) {}

bool Material::has(std::int32_t key) const {
    return properties.count(key) > 0;
}

void Material::set(std::int32_t key, const std::any& value) {
    properties[key] = value;
}

void Material::remove(std::int32_t key) {
    properties.erase(key);
}

glm::vec4 Material::getColor(std::int32_t key) const {
    return readOrZero<glm::vec4>(properties, key);
}

float Material::getFloat(std::int32_t key) const {
    return readOrZero<float>(properties, key);
}

std::shared_ptr<Image> Material::getImage(std::int32_t key) const {
    return readOrZero<std::shared_ptr<Image>>(properties, key);
}

std::string Material::getString(std::int32_t key) const {
    return readOrZero<std::string>(properties, key);
}

} // namespace Data
