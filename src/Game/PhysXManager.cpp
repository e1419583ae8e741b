#include "Game/PhysXManager.h"

#include "Tool/LogManager.h"

namespace Game {

namespace {

void logFailure(const char* title, const char* file, int line) {
    Tool::LogManager::getInstance().send(
        Tool::Message("Brumbly", title, "", file, line, Tool::MT_ERROR));
}

} // namespace

PhysXManager::PhysXManager(std::uint32_t sdkVersion, std::uint32_t cookingVersion)
    : sdkVersion(sdkVersion), cookingVersion(cookingVersion) {}

Physics::SDKDesc PhysXManager::gameSDKDesc() {
    Physics::SDKDesc desc;
    desc.hwPageSize = 65536;
    desc.hwPageMax = 256;
    desc.hwConvexMax = 2048;
    desc.cookerThreadMask = 0;
    desc.flags = 0x80000000;
    desc.gpuHeapSize = 128;
    desc.meshCacheSize = 0xFFFFFFFF;
    return desc;
}

bool PhysXManager::start(Physics::PhysicsSDK*& sdk, Physics::UserOutputStream& outputStream) {
    if (sdk != nullptr) {
        sdk->release();
    }
    sdk = Physics::createPhysicsSDK(sdkVersion, &outputStream, gameSDKDesc());
    if (sdk == nullptr) {
        logFailure("PhysX SDK initialised .. [Failed]", __FILE__, __LINE__);
        return false;
    }
    sdk->setParameter(Physics::P_SKIN_WIDTH, 0.005f);
    if (cooking == nullptr) {
        cooking = Physics::getCookingLib(cookingVersion);
        if (cooking == nullptr) {
            logFailure("PhysX Cooking Lib fetched .. [Failed]", __FILE__, __LINE__);
            return false;
        }
        if (!cooking->initCooking()) {
            logFailure("PhysX Cooking initialised .. [Failed]", __FILE__, __LINE__);
            return false;
        }
    }
    return true;
}

bool PhysXManager::stop(Physics::PhysicsSDK*& sdk) {
    if (cooking != nullptr) {
        cooking->closeCooking();
    }
    if (sdk == nullptr) {
        return false;
    }
    sdk->release();
    sdk = nullptr;
    return true;
}

} // namespace Game
