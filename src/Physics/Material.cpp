#include "Physics/Material.h"

#include <algorithm>

namespace Physics {

namespace {

float combine(float a, float b, CombineMode modeA, CombineMode modeB) {
    switch (std::max(modeA, modeB)) {
    case CM_MIN:
        return std::min(a, b);
    case CM_MULTIPLY:
        return a * b;
    case CM_MAX:
        return std::max(a, b);
    case CM_AVERAGE:
    default:
        return 0.5f * (a + b);
    }
}

bool validMode(CombineMode mode) {
    return mode >= CM_AVERAGE && mode <= CM_MAX;
}

} // namespace

bool MaterialDesc::isValid() const {
    return dynamicFriction >= 0.0f && staticFriction >= 0.0f && restitution >= 0.0f &&
           restitution <= 1.0f && dynamicFrictionV >= 0.0f && staticFrictionV >= 0.0f &&
           validMode(frictionCombineMode) && validMode(restitutionCombineMode);
}

Material::Material(Scene& scene, MaterialIndex index, const MaterialDesc& desc)
    : scene(scene), index(index), desc(desc) {}

float Material::combinedFriction(const Material& a, const Material& b) {
    if ((a.desc.flags | b.desc.flags) & MF_DISABLE_FRICTION) {
        return 0.0f;
    }
    return combine(a.desc.dynamicFriction, b.desc.dynamicFriction, a.desc.frictionCombineMode,
                   b.desc.frictionCombineMode);
}

float Material::combinedRestitution(const Material& a, const Material& b) {
    return combine(a.desc.restitution, b.desc.restitution, a.desc.restitutionCombineMode,
                   b.desc.restitutionCombineMode);
}

} // namespace Physics
