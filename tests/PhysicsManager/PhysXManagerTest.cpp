#include "Game/PhysXManager.h"
#include "Game/LogOutputStream.h"

#include "RecordingLog.h"

using namespace Game;

namespace {

class PhysXManagerTest : public RecordingLog {
protected:
    void expectFailure(const std::string& title) const {
        ASSERT_FALSE(messages.empty());
        const Tool::Message& last = messages.back();
        EXPECT_EQ(last.getAuthor(), "Brumbly");
        EXPECT_EQ(last.getTitle(), title);
        EXPECT_EQ(last.getMessage(), "");
        EXPECT_NE(last.getFile(), "");
        EXPECT_GT(last.getLine(), 0);
        EXPECT_EQ(last.getType(), Tool::MT_ERROR);
    }

    LogOutputStream stream;
    Physics::PhysicsSDK* sdk = nullptr;
};

} // namespace

TEST_F(PhysXManagerTest, StartsTheSdkWithTheGameSettingsAndStopsIt) {
    PhysXManager manager;
    ASSERT_TRUE(manager.start(sdk, stream));
    ASSERT_NE(sdk, nullptr);
    EXPECT_FLOAT_EQ(sdk->getParameter(Physics::P_SKIN_WIDTH), 0.005f);
    EXPECT_EQ(sdk->getDesc().hwPageSize, 65536u);
    EXPECT_EQ(sdk->getDesc().hwConvexMax, 2048u);
    EXPECT_EQ(sdk->getDesc().flags, 0x80000000u);
    ASSERT_NE(manager.getCooking(), nullptr);
    EXPECT_TRUE(manager.getCooking()->isInitialised());
    EXPECT_TRUE(messages.empty());

    EXPECT_TRUE(manager.stop(sdk));
    EXPECT_EQ(sdk, nullptr);
    EXPECT_FALSE(manager.getCooking()->isInitialised());
    EXPECT_FALSE(manager.stop(sdk));
}

TEST_F(PhysXManagerTest, CookingIsKeptForTheNextStart) {
    PhysXManager manager;
    ASSERT_TRUE(manager.start(sdk, stream));
    Physics::Cooking* cooking = manager.getCooking();
    manager.stop(sdk);
    ASSERT_TRUE(manager.start(sdk, stream));
    EXPECT_EQ(manager.getCooking(), cooking);
    // Held cooking is neither fetched nor initialised again.
    EXPECT_FALSE(cooking->isInitialised());
    manager.stop(sdk);
}

TEST_F(PhysXManagerTest, UnknownSdkVersionFails) {
    PhysXManager manager(0x02070000);
    EXPECT_FALSE(manager.start(sdk, stream));
    EXPECT_EQ(sdk, nullptr);
    expectFailure("PhysX SDK initialised .. [Failed]");
    EXPECT_EQ(manager.getCooking(), nullptr);
    EXPECT_FALSE(manager.stop(sdk));
}

TEST_F(PhysXManagerTest, FailedCookingFetchLeavesTheSdkForStop) {
    PhysXManager manager(Physics::SDK_VERSION, 0x01000000);
    EXPECT_FALSE(manager.start(sdk, stream));
    expectFailure("PhysX Cooking Lib fetched .. [Failed]");
    EXPECT_NE(sdk, nullptr);
    // Starting again without a stop replaces the SDK instead of leaking it.
    EXPECT_FALSE(manager.start(sdk, stream));
    EXPECT_NE(sdk, nullptr);
    EXPECT_TRUE(manager.stop(sdk));
    EXPECT_EQ(sdk, nullptr);
}
