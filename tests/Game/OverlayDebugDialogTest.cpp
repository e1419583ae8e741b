#include "Game/overlay/DebugDialog.h"
#include "Game/overlay/PauseDialog.h"
#include "OverlayTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace Game;

TEST(OverlayDebugDialog, HelpPanelHoldsTheKeyTableAndShowsTheValuesItIsGiven) {
    OverlayTest::useGameData();
    Frame frame(nullptr);
    const std::unique_ptr<DebugDialog> debug = DebugDialog::create(frame);
    ASSERT_TRUE(debug);
    const DialogPtr& panel = debug->getDialog();
    EXPECT_EQ(frame.findDialog("DebugDialog"), panel);
    OverlayTest::expectRect(panel->getAbsoluteRect(), {0.0f, 0.75f}, {0.375f, 0.25f});
    EXPECT_EQ(panel->getColor(), glm::vec4(1.0f, 1.0f, 1.0f, 0.6f));
    EXPECT_TRUE(panel->getMaterial()->getImage(Data::MP_DIFFUSE_TEXTURE)) << "RaceDialog.png";

    const std::map<std::string, std::string> texts = {{"FPS", "FPS: ...."},
                                                      {"F1", "F1    Show this help screen"},
                                                      {"F2", "F2    Toggle Wireframe:"},
                                                      {"F2text", "OFF"},
                                                      {"F3", "F3    Toggle Texture Mode:"},
                                                      {"F3text", "Linear"},
                                                      {"F4", "F4    Toggle MipMap Mode:"},
                                                      {"F4text", "Off"},
                                                      {"F5", "F5    Toggle Render Mode:"},
                                                      {"F5text", "VertexArrays"},
                                                      {"F6", "F6    Toggle Frustrum Cullung:"},
                                                      {"F6text", "Off"}};
    ASSERT_EQ(panel->getChildren().size(), texts.size());
    for (const auto& [name, text] : texts) {
        const TextDialogPtr label = debug->getLabel(name);
        ASSERT_TRUE(label) << name;
        EXPECT_EQ(label->getText(), text);
        EXPECT_EQ(label->getSize(), glm::vec2(0.75f, 0.1f));
        const bool value = name == "FPS" || name.ends_with("text");
        EXPECT_EQ(label->getHorizontalAlignment(), value ? DA_HIGH : DA_LOW) << name;
        EXPECT_EQ(label->getVerticalAlignment(), DA_HIGH) << name;
        EXPECT_EQ(label->getColor(), value ? glm::vec4(1.0f) : glm::vec4(0.75f, 0.75f, 0.75f, 1.0f))
            << name;
    }
    EXPECT_EQ(debug->getLabel("F3text")->getPosition(), glm::vec2(0.95f, 0.575f));
    EXPECT_EQ(debug->getLabel("F6")->getPosition(), glm::vec2(0.07f, 0.2f));

    EXPECT_FALSE(debug->isShown());
    EXPECT_TRUE(frame.collect().empty());
    EXPECT_TRUE(debug->toggle());
    EXPECT_EQ(frame.collect().size(), 13u) << "the panel and its twelve labels";
    EXPECT_FALSE(debug->toggle());
    EXPECT_FALSE(debug->getLabel("F4")->isVisible());

    debug->setWireframe(true);
    debug->setTextureFilterMode(0);
    debug->setRenderMode(1);
    debug->setFrustumCulling(true);
    debug->setFrameRate(0.25f);
    EXPECT_EQ(debug->getLabel("F2text")->getText(), "ON");
    EXPECT_EQ(debug->getLabel("F3text")->getText(), "Nearest");
    EXPECT_EQ(debug->getLabel("F5text")->getText(), "VertexBufferObjects");
    EXPECT_EQ(debug->getLabel("F6text")->getText(), "On");
    EXPECT_EQ(debug->getLabel("FPS")->getText(), "FPS: 4");
    const std::pair<int, const char*> mipmaps[] = {{1, "Nearest"}, {2, "Linear"}, {0, "Off"}};
    for (const auto& [mode, text] : mipmaps) {
        debug->setMipmapMode(mode);
        EXPECT_EQ(debug->getLabel("F4text")->getText(), text);
    }

    // The frame keeps its panel; the next race's frame gets a panel of its own.
    EXPECT_FALSE(DebugDialog::create(frame));
    Frame nextRace(nullptr);
    const std::unique_ptr<DebugDialog> next = DebugDialog::create(nextRace);
    ASSERT_TRUE(next);
    EXPECT_NE(next->getLabel("FPS"), debug->getLabel("FPS"));
    EXPECT_EQ(next->getLabel("F2text")->getText(), "OFF");
}

TEST(OverlayDebugDialog, FrameRateIsTheWholePartOfTheInverseMeanFrameTime) {
    EXPECT_EQ(frameRateText(0.25f), "FPS: 4");
    EXPECT_EQ(frameRateText(0.4f), "FPS: 2") << "2.5 is cut, not rounded";
    EXPECT_EQ(frameRateText(0.0625f), "FPS: 16");
    EXPECT_EQ(frameRateText(0.0f), "FPS: 0");
    EXPECT_EQ(frameRateText(1e-12f), "FPS: 1000000000");
}

TEST(OverlayPauseDialog, BannerIsCentredTranslucentRedAndHidden) {
    Frame frame(nullptr);
    const TextDialogPtr pause = createPauseDialog(frame);
    ASSERT_TRUE(pause);
    EXPECT_EQ(frame.findDialog("PauseDialog"), pause);
    EXPECT_EQ(pause->getText(), "Paused");
    OverlayTest::expectRect(pause->getAbsoluteRect(), {0.25f, 0.4825f}, {0.5f, 0.035f});
    EXPECT_EQ(pause->getColor(), glm::vec4(0.45f, 0.0f, 0.0f, 0.6f));
    EXPECT_FALSE(pause->isVisible() || pause->isActive());
    EXPECT_FALSE(createPauseDialog(frame));
}
