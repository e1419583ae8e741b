#pragma once

#include "Physics/Cooking.h"
#include "Physics/PhysicsSDK.h"

namespace Game {

// Starts and stops the physics SDK and the cooking library for the kernel. The SDK
// handle is the caller's (the kernel's field); the cooking interface is fetched once
// and kept across stop and start, so a later start skips fetching and initialising it.
class PhysXManager {
public:
    explicit PhysXManager(std::uint32_t sdkVersion = Physics::SDK_VERSION,
                          std::uint32_t cookingVersion = Physics::SDK_VERSION);

    // The descriptor the game creates its SDK with.
    static Physics::SDKDesc gameSDKDesc();

    // Creates the SDK (skin width 0.005) and, unless held already, fetches and
    // initialises cooking. Failures are logged by "Brumbly" and return false; an SDK
    // created before the failure stays in sdk for stop() to release. An SDK left in sdk
    // by an earlier failed start is released first.
    bool start(Physics::PhysicsSDK*& sdk, Physics::UserOutputStream& outputStream);
    // Closes cooking and releases the SDK; true when there was an SDK to release.
    bool stop(Physics::PhysicsSDK*& sdk);

    Physics::Cooking* getCooking() const { return cooking; }

private:
    std::uint32_t sdkVersion;
    std::uint32_t cookingVersion;
    Physics::Cooking* cooking = nullptr;
};

} // namespace Game
