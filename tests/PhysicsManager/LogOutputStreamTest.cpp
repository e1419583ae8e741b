#include "Game/LogOutputStream.h"
#include "Physics/PhysicsSDK.h"

#include "RecordingLog.h"

using namespace Game;

namespace {

class LogOutputStreamTest : public RecordingLog {
protected:
    LogOutputStream stream;
};

} // namespace

TEST_F(LogOutputStreamTest, ErrorsCarryTheirKindFileAndLine) {
    const std::pair<Physics::ErrorCode, const char*> errors[] = {
        {Physics::E_INVALID_PARAMETER, "Invalid Parameter"},
        {Physics::E_INVALID_OPERATION, "Invalid Operation"},
        {Physics::E_OUT_OF_MEMORY, "Out of Memory"},
        {Physics::E_INTERNAL_ERROR, "Internal Error"},
        {Physics::E_ASSERTION, "Assertion"}};
    for (const auto& [code, details] : errors) {
        stream.reportError(code, "actor description invalid", "Scene.cpp", 42);
    }
    ASSERT_EQ(messages.size(), 5u);
    for (std::size_t i = 0; i < messages.size(); ++i) {
        EXPECT_EQ(messages[i].getAuthor(), "PhysXManager");
        EXPECT_EQ(messages[i].getTitle(), "actor description invalid");
        EXPECT_EQ(messages[i].getMessage(), errors[i].second);
        EXPECT_EQ(messages[i].getFile(), "Scene.cpp");
        EXPECT_EQ(messages[i].getLine(), 42);
        EXPECT_EQ(messages[i].getType(), Tool::MT_ERROR);
    }
}

TEST_F(LogOutputStreamTest, WarningsKeepTheirPlaceInformationDoesNot) {
    stream.reportError(Physics::E_DB_WARNING, "warned", "a.cpp", 7);
    stream.reportError(Physics::E_DB_INFO, "informed", "b.cpp", 8);
    stream.reportError(Physics::E_DB_PRINT, "printed", "c.cpp", 9);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].getType(), Tool::MT_WARNING);
    EXPECT_EQ(messages[0].getMessage(), "");
    EXPECT_EQ(messages[0].getFile(), "a.cpp");
    EXPECT_EQ(messages[0].getLine(), 7);
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(messages[i].getType(), Tool::MT_MESSAGE);
        EXPECT_EQ(messages[i].getFile(), "");
        EXPECT_EQ(messages[i].getLine(), -1);
    }
    EXPECT_EQ(messages[2].getTitle(), "printed");
}

TEST_F(LogOutputStreamTest, UnknownCodesAreNotLogged) {
    stream.reportError(Physics::E_NO_ERROR, "nothing", "a.cpp", 1);
    stream.reportError(static_cast<Physics::ErrorCode>(5), "five", "a.cpp", 1);
    stream.reportError(static_cast<Physics::ErrorCode>(207), "other", "a.cpp", 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(LogOutputStreamTest, AssertViolationsContinueAndPrintsAreMessages) {
    EXPECT_EQ(stream.reportAssertViolation("x > 0", "Wheel.cpp", 3), Physics::AR_CONTINUE);
    stream.print("hello");
    stream.print(nullptr);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].getTitle(), "x > 0");
    EXPECT_EQ(messages[0].getMessage(), "Assert violation");
    EXPECT_EQ(messages[0].getLine(), 3);
    EXPECT_EQ(messages[0].getType(), Tool::MT_ERROR);
    EXPECT_EQ(messages[1].getTitle(), "hello");
    EXPECT_EQ(messages[1].getType(), Tool::MT_MESSAGE);
    EXPECT_EQ(messages[1].getLine(), -1);
    EXPECT_EQ(messages[2].getTitle(), "");
}

TEST_F(LogOutputStreamTest, LayerReportsReachTheLog) {
    Physics::PhysicsSDK* sdk = Physics::createPhysicsSDK(Physics::SDK_VERSION, &stream);
    ASSERT_NE(sdk, nullptr);
    Physics::ActorDesc empty;
    EXPECT_EQ(sdk->createScene(Physics::SceneDesc())->createActor(empty), nullptr);
    sdk->release();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].getAuthor(), "PhysXManager");
    EXPECT_EQ(messages[0].getMessage(), "Invalid Parameter");
    EXPECT_NE(messages[0].getFile(), "");
}
