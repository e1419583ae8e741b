#include "Physics/PhysicsSDK.h"

#include <algorithm>

namespace Physics {

PhysicsSDK::PhysicsSDK(UserOutputStream* stream, const SDKDesc& desc) : stream(stream), desc(desc) {
    parameters.fill(0.0f);
    parameters[P_PENALTY_FORCE] = 0.6f;
    parameters[P_SKIN_WIDTH] = 0.025f;
    parameters[P_DEFAULT_SLEEP_LIN_VEL_SQUARED] = 0.15f * 0.15f;
    parameters[P_DEFAULT_SLEEP_ANG_VEL_SQUARED] = 0.14f * 0.14f;
    parameters[P_BOUNCE_THRESHOLD] = -2.0f;
    parameters[P_DYN_FRICT_SCALING] = 1.0f;
    parameters[P_STA_FRICT_SCALING] = 1.0f;
    parameters[P_MAX_ANGULAR_VELOCITY] = 7.0f;
}

PhysicsSDK::~PhysicsSDK() {
    scenes.clear();
    heightFields.clear();
}

void PhysicsSDK::release() {
    delete this;
}

bool PhysicsSDK::setParameter(Parameter parameter, float value) {
    if (parameter < 0 || parameter >= P_PARAMS_NUM_VALUES) {
        report(E_INVALID_PARAMETER, "PhysicsSDK::setParameter: unknown parameter", __FILE__,
               __LINE__);
        return false;
    }
    if (parameter == P_SKIN_WIDTH && value < 0.0f) {
        report(E_INVALID_PARAMETER, "PhysicsSDK::setParameter: skin width must not be negative",
               __FILE__, __LINE__);
        return false;
    }
    parameters[parameter] = value;
    return true;
}

float PhysicsSDK::getParameter(Parameter parameter) const {
    if (parameter < 0 || parameter >= P_PARAMS_NUM_VALUES) {
        return 0.0f;
    }
    return parameters[parameter];
}

Scene* PhysicsSDK::createScene(const SceneDesc& sceneDesc) {
    if (!sceneDesc.isValid()) {
        report(E_INVALID_PARAMETER, "PhysicsSDK::createScene: scene description invalid", __FILE__,
               __LINE__);
        return nullptr;
    }
    scenes.push_back(std::make_unique<Scene>(*this, sceneDesc));
    return scenes.back().get();
}

void PhysicsSDK::releaseScene(Scene& scene) {
    std::erase_if(scenes, [&scene](const auto& owned) { return owned.get() == &scene; });
}

HeightField* PhysicsSDK::createHeightField(const HeightFieldDesc& heightFieldDesc) {
    if (!heightFieldDesc.isValid()) {
        report(E_INVALID_PARAMETER,
               "PhysicsSDK::createHeightField: height field description invalid", __FILE__,
               __LINE__);
        return nullptr;
    }
    heightFields.push_back(std::make_unique<HeightField>(heightFieldDesc));
    return heightFields.back().get();
}

void PhysicsSDK::releaseHeightField(HeightField& heightField) {
    if (heightField.getReferenceCount() > 0) {
        report(E_INVALID_OPERATION,
               "PhysicsSDK::releaseHeightField: height field still used by a shape", __FILE__,
               __LINE__);
        return;
    }
    std::erase_if(heightFields,
                  [&heightField](const auto& owned) { return owned.get() == &heightField; });
}

void PhysicsSDK::report(ErrorCode code, const char* message, const char* file, int line) const {
    if (stream != nullptr) {
        stream->reportError(code, message, file, line);
    }
}

PhysicsSDK* createPhysicsSDK(std::uint32_t sdkVersion, UserOutputStream* stream,
                             const SDKDesc& desc, SDKCreateError* errorCode) {
    SDKCreateError error = SDKCE_NO_ERROR;
    if (sdkVersion != SDK_VERSION) {
        error = SDKCE_WRONG_VERSION;
    } else if (!desc.isValid()) {
        error = SDKCE_DESCRIPTOR_INVALID;
    }
    if (errorCode != nullptr) {
        *errorCode = error;
    }
    if (error != SDKCE_NO_ERROR) {
        if (stream != nullptr) {
            stream->reportError(E_INVALID_PARAMETER,
                                error == SDKCE_WRONG_VERSION
                                    ? "createPhysicsSDK: unsupported SDK version"
                                    : "createPhysicsSDK: SDK description invalid",
                                __FILE__, __LINE__);
        }
        return nullptr;
    }
    return new PhysicsSDK(stream, desc);
}

} // namespace Physics
