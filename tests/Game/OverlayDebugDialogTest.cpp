#include "Game/overlay/DebugDialog.h"
#include "Game/overlay/Notice.h"
#include "Game/overlay/PauseMenu.h"
#include "OverlayTestSupport.h"
#include "Platform/Keys.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace Game;

TEST(OverlayDebugDialog, HelpPanelListsEveryDriversKeysAndShowsTheValuesItIsGiven) {
    OverlayTest::useGameData();
    OverlayTest::loadFonts();
    Frame frame(nullptr);
    const std::unique_ptr<DebugDialog> debug =
        DebugDialog::create(frame, {{"Ann", {"Up", "Down", "Left", "Right", "Backspace"}},
                                    {"Ben", {"W", "S", "A", "D", "Left Shift"}}});
    ASSERT_TRUE(debug);
    const DialogPtr& panel = debug->getDialog();
    EXPECT_EQ(frame.findDialog("DebugDialog"), panel);
    EXPECT_EQ(panel->getColor(), NOTICE_BACKDROP) << "a dark backdrop under the text";

    const std::map<std::string, std::string> texts = {
        {"FPS", "FPS: ...."},
        {"Driver0", "Ann:  Up accelerate,  Down brake"},
        {"Driver0keys", "      Left / Right steer,  Backspace reset"},
        {"Driver1", "Ben:  W accelerate,  S brake"},
        {"Driver1keys", "      A / D steer,  Left Shift reset"},
        {"Cameras", "Home / End    Previous / next camera"},
        {"Pause", "Pause or P    Pause menu"},
        {"Escape", "Escape    Pause menu; leave the results"},
        {"F1", "F1    Show or hide this help"},
        {"F2", "F2    Toggle Wireframe:"},
        {"F2text", "OFF"},
        {"F3", "F3    Toggle Texture Mode:"},
        {"F3text", "Linear"},
        {"F4", "F4    Toggle MipMap Mode:"},
        {"F4text", "Off"},
        {"F5", "F5    Toggle Render Mode:"},
        {"F5text", "VertexArrays"},
        {"F6", "F6    Toggle Frustum Culling:"},
        {"F6text", "Off"}};
    ASSERT_EQ(panel->getChildren().size(), texts.size());
    const DialogRect box = panel->getAbsoluteRect();
    float previousTop = 2.0f;
    for (const DialogPtr& child : panel->getChildren()) {
        const TextDialogPtr label = debug->getLabel(child->getName());
        ASSERT_TRUE(label) << child->getName();
        EXPECT_EQ(label->getText(), texts.at(label->getName()));
        // Every line lies inside the panel, below the one before (a value beside its
        // key), and is shown whole.
        const DialogRect rect = label->getAbsoluteRect();
        const float top = rect.corner.y + rect.size.y;
        EXPECT_GE(rect.corner.y, box.corner.y) << label->getName();
        EXPECT_LE(top, box.corner.y + box.size.y + 1e-5f) << label->getName();
        EXPECT_LE(top, previousTop + 1e-5f) << label->getName();
        previousTop = label->getName().ends_with("text") ? previousTop : top;
        EXPECT_EQ(label->getShownText(), label->getText()) << label->getName();
        EXPECT_GE(rect.size.y, 0.025f) << "legible at 480 lines: " << label->getName();
    }

    EXPECT_FALSE(debug->isShown());
    EXPECT_TRUE(frame.collect().empty());
    EXPECT_TRUE(debug->toggle());
    EXPECT_EQ(frame.collect().size(), texts.size() + 1) << "the panel and its labels";
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
    EXPECT_FALSE(next->getLabel("Driver0")) << "no drivers at the keyboard";
}

TEST(OverlayDebugDialog, FrameRateIsTheWholePartOfTheInverseMeanFrameTime) {
    EXPECT_EQ(frameRateText(0.25f), "FPS: 4");
    EXPECT_EQ(frameRateText(0.4f), "FPS: 2") << "2.5 is cut, not rounded";
    EXPECT_EQ(frameRateText(0.0625f), "FPS: 16");
    EXPECT_EQ(frameRateText(0.0f), "FPS: 0");
    EXPECT_EQ(frameRateText(1e-12f), "FPS: 1000000000");
}

TEST(OverlayPauseMenu, UpAndDownChooseAndEnterPicks) {
    OverlayTest::useGameData();
    OverlayTest::loadFonts();
    Frame frame(nullptr);
    const std::unique_ptr<PauseMenu> menu = PauseMenu::create(frame);
    ASSERT_TRUE(menu);
    EXPECT_FALSE(menu->isOpen());
    EXPECT_TRUE(frame.collect().empty());
    EXPECT_EQ(findText(menu->getDialog(), "Text")->getText(), "Paused");
    EXPECT_GE(findText(menu->getDialog(), "Text")->getAbsoluteRect().size.y, 0.07f)
        << "large letters";

    menu->open();
    EXPECT_TRUE(menu->isOpen());
    EXPECT_EQ(menu->getItemText(PauseMenu::RESUME), "> Resume <");
    EXPECT_EQ(menu->getItemText(PauseMenu::RESTART), "Restart race");
    EXPECT_FALSE(menu->handleKey(Platform::KEY_DOWN));
    EXPECT_EQ(menu->getItemText(PauseMenu::RESTART), "> Restart race <");
    EXPECT_EQ(menu->getItemText(PauseMenu::RESUME), "Resume");
    EXPECT_FALSE(menu->handleKey(Platform::KEY_DOWN));
    EXPECT_FALSE(menu->handleKey(Platform::KEY_DOWN));
    EXPECT_EQ(menu->getChosen(), PauseMenu::RESUME) << "Down wraps around";
    EXPECT_FALSE(menu->handleKey(Platform::KEY_UP));
    EXPECT_FALSE(menu->handleKey('X')) << "other keys do nothing";
    EXPECT_EQ(menu->handleKey(Platform::KEY_KP_ENTER), PauseMenu::END_RACE);
    EXPECT_EQ(menu->handleKey(Platform::KEY_ENTER), PauseMenu::END_RACE);

    menu->close();
    EXPECT_FALSE(menu->isOpen());
    menu->open();
    EXPECT_EQ(menu->getChosen(), PauseMenu::RESUME) << "each pause starts on Resume";
    EXPECT_FALSE(PauseMenu::create(frame));
}
