#pragma once

#include "Physics/HeightField.h"
#include "Physics/Scene.h"
#include "Physics/Types.h"
#include "Physics/UserOutputStream.h"

#include <array>
#include <memory>
#include <vector>

namespace Physics {

// The SDK's creation settings. This layer keeps them for inspection; Bullet needs none.
struct SDKDesc {
    std::uint32_t hwPageSize = 65536;
    std::uint32_t hwPageMax = 256;
    std::uint32_t hwConvexMax = 2048;
    std::uint32_t cookerThreadMask = 0;
    std::uint32_t flags = 0x80000000;
    std::uint32_t gpuHeapSize = 128;
    std::uint32_t meshCacheSize = 0xFFFFFFFF;

    void setToDefault() { *this = SDKDesc(); }
    bool isValid() const { return hwPageSize > 0; }
};

enum SDKCreateError : std::int32_t {
    SDKCE_NO_ERROR = 0,
    SDKCE_PHYSX_NOT_FOUND = 1,
    SDKCE_WRONG_VERSION = 2,
    SDKCE_DESCRIPTOR_INVALID = 3
};

// The physics SDK: global parameters, scenes and height fields. Made by
// createPhysicsSDK and destroyed by release(), which takes every scene and height
// field with it.
class PhysicsSDK {
public:
    PhysicsSDK(UserOutputStream* stream, const SDKDesc& desc);
    ~PhysicsSDK();
    PhysicsSDK(const PhysicsSDK&) = delete;
    PhysicsSDK& operator=(const PhysicsSDK&) = delete;

    void release();

    bool setParameter(Parameter parameter, float value);
    float getParameter(Parameter parameter) const;
    const SDKDesc& getDesc() const { return desc; }

    Scene* createScene(const SceneDesc& desc);
    void releaseScene(Scene& scene);
    std::uint32_t getNbScenes() const { return static_cast<std::uint32_t>(scenes.size()); }

    HeightField* createHeightField(const HeightFieldDesc& desc);
    void releaseHeightField(HeightField& heightField);

    // Sends an error report to the output stream, when there is one.
    void report(ErrorCode code, const char* message, const char* file, int line) const;

private:
    UserOutputStream* stream;
    SDKDesc desc;
    std::array<float, P_PARAMS_NUM_VALUES> parameters;
    std::vector<std::unique_ptr<Scene>> scenes;
    std::vector<std::unique_ptr<HeightField>> heightFields;
};

// A new SDK, or null (with the reason in errorCode) for a version other than
// SDK_VERSION or an invalid descriptor.
PhysicsSDK* createPhysicsSDK(std::uint32_t sdkVersion, UserOutputStream* stream,
                             const SDKDesc& desc = SDKDesc(), SDKCreateError* errorCode = nullptr);

} // namespace Physics
