#pragma once

#include "Physics/Types.h"

namespace Physics {

// Surface properties of shapes. Friction and restitution of two touching surfaces
// are combined with the higher-ranked of their two combine modes.
struct MaterialDesc {
    float dynamicFriction = 0.0f;
    float staticFriction = 0.0f;
    float restitution = 0.0f;
    float dynamicFrictionV = 0.0f;
    float staticFrictionV = 0.0f;
    Vec3 dirOfAnisotropy{1.0f, 0.0f, 0.0f};
    std::uint32_t flags = 0;
    CombineMode frictionCombineMode = CM_AVERAGE;
    CombineMode restitutionCombineMode = CM_AVERAGE;

    void setToDefault() { *this = MaterialDesc(); }
    bool isValid() const;
};

class Scene;

// A material registered in a scene under an index; shapes refer to it by index.
class Material {
public:
    Material(Scene& scene, MaterialIndex index, const MaterialDesc& desc);

    MaterialIndex getMaterialIndex() const { return index; }
    Scene& getScene() const { return scene; }

    void loadFromDesc(const MaterialDesc& desc) { this->desc = desc; }
    void saveToDesc(MaterialDesc& desc) const { desc = this->desc; }

    void setDynamicFriction(float value) { desc.dynamicFriction = value; }
    float getDynamicFriction() const { return desc.dynamicFriction; }
    void setStaticFriction(float value) { desc.staticFriction = value; }
    float getStaticFriction() const { return desc.staticFriction; }
    void setRestitution(float value) { desc.restitution = value; }
    float getRestitution() const { return desc.restitution; }
    void setFlags(std::uint32_t flags) { desc.flags = flags; }
    std::uint32_t getFlags() const { return desc.flags; }
    void setFrictionCombineMode(CombineMode mode) { desc.frictionCombineMode = mode; }
    CombineMode getFrictionCombineMode() const { return desc.frictionCombineMode; }
    void setRestitutionCombineMode(CombineMode mode) { desc.restitutionCombineMode = mode; }
    CombineMode getRestitutionCombineMode() const { return desc.restitutionCombineMode; }

    // Friction and restitution of a contact between two materials. Sliding contacts
    // use the dynamic friction; the disable-friction flag of either side makes the
    // contact frictionless.
    static float combinedFriction(const Material& a, const Material& b);
    static float combinedRestitution(const Material& a, const Material& b);

private:
    Scene& scene;
    MaterialIndex index;
    MaterialDesc desc;
};

} // namespace Physics
