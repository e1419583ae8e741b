#include "Physics/PhysicsSDK.h"
#include "Physics/ActorDesc.h"
#include "Physics/Cooking.h"
#include "Physics/HeightField.h"

#include "PhysicsFixtures.h"

#include <gtest/gtest.h>

using namespace Physics;
using namespace PhysicsFixtures;

TEST(PhysicsSDKTest, CreatedOnlyForItsOwnVersion) {
    RecordingStream stream;
    SDKCreateError error = SDKCE_NO_ERROR;
    EXPECT_EQ(createPhysicsSDK(0x02070000, &stream, SDKDesc(), &error), nullptr);
    EXPECT_EQ(error, SDKCE_WRONG_VERSION);
    ASSERT_EQ(stream.errors.size(), 1u);
    EXPECT_EQ(stream.errors[0].first, E_INVALID_PARAMETER);

    SdkPtr sdk(createPhysicsSDK(SDK_VERSION, &stream, SDKDesc(), &error));
    ASSERT_NE(sdk, nullptr);
    EXPECT_EQ(error, SDKCE_NO_ERROR);
    EXPECT_EQ(sdk->getDesc().meshCacheSize, 0xFFFFFFFFu);
}

TEST(PhysicsSDKTest, ParametersKeepTheirValuesAndRefuseNonsense) {
    RecordingStream stream;
    SdkPtr sdk(createPhysicsSDK(SDK_VERSION, &stream));
    EXPECT_FLOAT_EQ(sdk->getParameter(P_SKIN_WIDTH), 0.025f);
    EXPECT_TRUE(sdk->setParameter(P_SKIN_WIDTH, 0.005f));
    EXPECT_FLOAT_EQ(sdk->getParameter(P_SKIN_WIDTH), 0.005f);

    EXPECT_FALSE(sdk->setParameter(P_SKIN_WIDTH, -1.0f));
    EXPECT_FALSE(sdk->setParameter(static_cast<Parameter>(99), 1.0f));
    EXPECT_FLOAT_EQ(sdk->getParameter(P_SKIN_WIDTH), 0.005f);
    EXPECT_EQ(stream.errors.size(), 2u);
}

TEST(PhysicsSDKTest, CookingIsOneInterfaceThatStartsAndStops) {
    EXPECT_EQ(getCookingLib(0x01000000), nullptr);
    Cooking* cooking = getCookingLib(SDK_VERSION);
    ASSERT_NE(cooking, nullptr);
    EXPECT_EQ(getCookingLib(SDK_VERSION), cooking);
    EXPECT_TRUE(cooking->initCooking());
    EXPECT_TRUE(cooking->isInitialised());
    cooking->closeCooking();
    EXPECT_FALSE(cooking->isInitialised());
}

TEST(PhysicsSDKTest, ScenesAndHeightFieldsAreCheckedAndReleased) {
    RecordingStream stream;
    SdkPtr sdk(createPhysicsSDK(SDK_VERSION, &stream));
    SceneDesc badScene;
    badScene.maxTimestep = 0.0f;
    EXPECT_EQ(sdk->createScene(badScene), nullptr);
    Scene* scene = sdk->createScene(SceneDesc());
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(sdk->getNbScenes(), 1u);

    HeightFieldDesc badField;
    EXPECT_EQ(sdk->createHeightField(badField), nullptr);
    EXPECT_EQ(stream.errors.size(), 2u);

    std::vector<HeightFieldSample> samples(4);
    HeightFieldDesc fieldDesc;
    fieldDesc.nbRows = 2;
    fieldDesc.nbColumns = 2;
    fieldDesc.sampleStride = sizeof(HeightFieldSample);
    fieldDesc.samples = samples.data();
    HeightField* field = sdk->createHeightField(fieldDesc);
    ASSERT_NE(field, nullptr);

    HeightFieldShapeDesc shape;
    shape.heightField = field;
    ActorDesc actorDesc;
    actorDesc.shapes.push_back(&shape);
    Actor* actor = scene->createActor(actorDesc);
    ASSERT_NE(actor, nullptr);
    EXPECT_EQ(field->getReferenceCount(), 1u);
    sdk->releaseHeightField(*field); // still in use: refused
    EXPECT_EQ(stream.errors.back().first, E_INVALID_OPERATION);
    EXPECT_EQ(field->getReferenceCount(), 1u);
    scene->releaseActor(*actor);
    EXPECT_EQ(field->getReferenceCount(), 0u);
    sdk->releaseHeightField(*field);

    sdk->releaseScene(*scene);
    EXPECT_EQ(sdk->getNbScenes(), 0u);
}

TEST(PhysicsSDKTest, HeightFieldReadsSamplesRowByRowWithStride) {
    struct Padded {
        HeightFieldSample sample;
        std::uint32_t padding;
    };
    std::vector<Padded> samples(6);
    for (int i = 0; i < 6; ++i) {
        samples[i].sample.height = static_cast<std::int16_t>(-100 * i);
        samples[i].sample.materialIndex0 = static_cast<std::uint8_t>(i + 1);
        samples[i].padding = 0xFFFFFFFF;
    }
    HeightFieldDesc desc;
    desc.nbRows = 2;
    desc.nbColumns = 3;
    desc.sampleStride = sizeof(Padded);
    desc.samples = samples.data();
    ASSERT_TRUE(desc.isValid());
    HeightField field(desc);
    EXPECT_EQ(field.getSample(0, 2).height, -200);
    EXPECT_EQ(field.getSample(1, 0).height, -300);
    EXPECT_EQ(field.getSample(1, 2).materialIndex0, 6);
    EXPECT_EQ(field.getSample(1, 2).tessFlag, 0);
}
