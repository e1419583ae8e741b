#include "Game/overlay/Frame.h"
#include "Game/overlay/TextDialog.h"
#include "OverlayTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace Game;

namespace {

void show(const DialogPtr& dialog, bool shown) {
    dialog->setVisible(shown);
    dialog->setActive(shown);
}

} // namespace

TEST(OverlayDialog, NestedAlignedDialogsMeasureThemselvesInTheirParents) {
    OverlayTest::useGameData();
    OverlayTest::loadFonts();
    Frame frame(nullptr); // a square screen: drawing units are 2x - 1, 2y - 1
    const DialogPtr panel = frame.createDialog("Panel", DT_DIALOG);
    panel->setAlignment(DA_HIGH, DA_HIGH);
    panel->setPosition({0.99f, 0.95f});
    panel->setSize({0.3f, 0.05f});
    OverlayTest::expectRect(panel->getAbsoluteRect(), {0.69f, 0.9f}, {0.3f, 0.05f});

    // A right-aligned value label: its right edge at 95 % of the panel's width.
    auto label = std::make_shared<TextDialog>("Value", &frame);
    label->setAlignment(DA_HIGH, DA_HIGH);
    label->setPosition({0.95f, 0.7f});
    label->setSize({0.75f, 0.1f});
    label->setText("OFF", false);
    addChild(panel, label);
    OverlayTest::expectRect(label->getAbsoluteRect(), {0.75f, 0.93f}, {0.225f, 0.005f});

    auto centred = std::make_shared<Dialog>("Centred", &frame);
    centred->setAlignment(DA_CENTRE, DA_CENTRE);
    centred->setPosition({0.5f, 0.5f});
    centred->setSize({0.5f, 0.5f});
    addChild(label, centred);
    OverlayTest::expectRect(centred->getAbsoluteRect(), {0.80625f, 0.93125f}, {0.1125f, 0.0025f});

    // The drawables follow: the panel's quad covers its rectangle, the text ends at
    // the label's right edge and hangs from its top with glyphs as high as the label.
    auto [panelMin, panelMax] = OverlayTest::drawnBounds(panel->getDrawable());
    EXPECT_NEAR(panelMin.x, 0.38f, 1e-4f);
    EXPECT_NEAR(panelMax.x, 0.98f, 1e-4f);
    EXPECT_NEAR(panelMin.y, 0.8f, 1e-4f);
    EXPECT_NEAR(panelMax.y, 0.9f, 1e-4f);
    auto [textMin, textMax] = OverlayTest::drawnBounds(label->getDrawable());
    EXPECT_NEAR(textMax.x, 0.95f, 1e-3f);
    EXPECT_NEAR(textMax.y, 0.87f, 1e-4f);
    EXPECT_NEAR(textMax.y - textMin.y, 0.01f, 1e-4f);
    EXPECT_LT(textMin.x, textMax.x - 0.01f) << "three glyphs wide";

    // Moving the panel carries the children and their drawables along.
    panel->setPosition({0.5f, 0.5f});
    OverlayTest::expectRect(label->getAbsoluteRect(), {0.26f, 0.48f}, {0.225f, 0.005f});
    EXPECT_NEAR(OverlayTest::drawnBounds(label->getDrawable()).second.x, -0.03f, 1e-3f);
    OverlayTest::expectRect(centred->getAbsoluteRect(), {0.31625f, 0.48125f}, {0.1125f, 0.0025f});

    // Without an owning frame a dialog covers the whole screen.
    Dialog loose("Loose", nullptr);
    loose.setPosition({0.3f, 0.3f});
    OverlayTest::expectRect(loose.getAbsoluteRect(), {0.0f, 0.0f}, {1.0f, 1.0f});
}

TEST(OverlayDialog, FittingCutsALongTextToTheDialogsWidth) {
    OverlayTest::useGameData();
    OverlayTest::loadFonts();
    Frame frame(nullptr);
    auto name = std::make_shared<TextDialog>("Name", &frame);
    name->setSize({0.2f, 0.05f});
    name->setText("Bartholomew Montgomery", true);
    const float full = OverlayTest::drawnBounds(name->getDrawable()).second.x;
    EXPECT_GT(full, -0.6f) << "wider than the dialog's 0.4 units";

    name->setFitToWidth(true);
    name->rebuild();
    auto [min, max] = OverlayTest::drawnBounds(name->getDrawable());
    EXPECT_LE(max.x, -0.6f);
    EXPECT_GT(max.x, -0.7f) << "cut no shorter than needed";
    EXPECT_EQ(name->getText(), "Bartholomew Montgomery");
    EXPECT_EQ(OverlayTest::glyphCount(name->getDrawable()), name->getShownText().size());
    EXPECT_TRUE(name->getShownText().starts_with("Bart") && name->getShownText().ends_with("ery") &&
                name->getShownText().find("..") != std::string::npos)
        << "characters dropped from the middle: " << name->getShownText();

    name->setText("Bo", true);
    EXPECT_EQ(OverlayTest::glyphCount(name->getDrawable()), 2u) << "a short text is left whole";
}

TEST(OverlayDialog, ShorteningDropsTheMiddleAndCanKeepADifferenceInSight) {
    // Fits when at most `limit` bytes long.
    const auto within = [](std::size_t limit) {
        return [limit](const std::string& text) { return text.size() <= limit; };
    };
    EXPECT_EQ(elideMiddle("Robo Hard", within(9)), "Robo Hard");
    EXPECT_EQ(elideMiddle("Robo Hard", within(8)), "Rob..ard");
    EXPECT_EQ(elideMiddle("Robo Easy", within(8)), "Rob..asy");
    EXPECT_EQ(elideMiddle("Robo Hard", within(1)), "..");
    // Alike at both ends: the kept character shows where they differ.
    const std::string a = "Alexander the 1st of Greece";
    const std::string b = "Alexander the 2nd of Greece";
    EXPECT_EQ(elideMiddle(a, within(12)), elideMiddle(b, within(12)));
    const std::string keptA = elideMiddle(a, within(12), 14);
    const std::string keptB = elideMiddle(b, within(12), 14);
    EXPECT_NE(keptA, keptB);
    EXPECT_LE(keptA.size(), 12u);
    EXPECT_TRUE(keptA.starts_with("Al") && keptA.ends_with("ce")) << keptA;
    EXPECT_NE(keptA.find('1'), std::string::npos) << keptA;
    // A character of several bytes is kept or dropped whole.
    const std::string umlauts = "\xc3\x9c\xc3\x9c\xc3\x9c\xc3\x9c\xc3\x9c\xc3\x9c";
    const std::string shortened = elideMiddle(umlauts, within(10));
    EXPECT_EQ(shortened, "\xc3\x9c\xc3\x9c..\xc3\x9c\xc3\x9c");
}

TEST(OverlayDialog, HidingAParentHidesItsChildrenAndShowingShowsThemAll) {
    Frame frame(nullptr);
    const DialogPtr root = frame.createDialog("Root", DT_DIALOG);
    const auto a = std::make_shared<Dialog>("A", &frame);
    const auto a1 = std::make_shared<Dialog>("A1", &frame);
    const auto b = std::make_shared<Dialog>("B", &frame);
    addChild(root, a);
    addChild(a, a1);
    addChild(root, b);
    EXPECT_TRUE(frame.collect().empty()) << "new dialogs are hidden and inactive";

    show(root, true);
    const Data::SGNodeList all = frame.collect();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0], root->getDrawable());
    EXPECT_EQ(all[1], a->getDrawable());
    EXPECT_EQ(all[2], a1->getDrawable());
    EXPECT_EQ(all[3], b->getDrawable());

    a->setVisible(false);
    EXPECT_FALSE(a1->isVisible());
    EXPECT_EQ(frame.collect(), (Data::SGNodeList{root->getDrawable(), b->getDrawable()}));

    root->setVisible(true);
    EXPECT_TRUE(a->isVisible() && a1->isVisible() && b->isVisible());
    EXPECT_EQ(frame.collect().size(), 4u);

    // Visible but inactive is not drawn either.
    root->setActive(false);
    EXPECT_TRUE(frame.collect().empty());
    EXPECT_FALSE(a1->isActive());
    root->setActive(true);
    root->setVisible(false);
    EXPECT_TRUE(frame.collect().empty());
    EXPECT_FALSE(b->isVisible());

    // A stored dialog made another's child is drawn once, by its parent.
    const DialogPtr stored = frame.createDialog("Stored", DT_DIALOG);
    addChild(root, stored);
    show(root, true);
    EXPECT_EQ(frame.collect().size(), 5u);
}

TEST(OverlayDialog, CreateDialogRefusesATakenNameAndComparesNamesExactly) {
    Frame frame(nullptr);
    const DialogPtr text = frame.createDialog("PauseDialog", DT_TEXT);
    ASSERT_TRUE(std::dynamic_pointer_cast<TextDialog>(text));
    EXPECT_EQ(std::static_pointer_cast<TextDialog>(text)->getFont(), "Newsflash");
    EXPECT_FALSE(frame.createDialog("PauseDialog", DT_DIALOG));
    EXPECT_EQ(frame.findDialog("PauseDialog"), text);
    EXPECT_EQ(frame.getDialogs().size(), 1u);

    const DialogPtr other = frame.createDialog("pausedialog", DT_DIALOG);
    ASSERT_TRUE(other);
    EXPECT_FALSE(std::dynamic_pointer_cast<TextDialog>(other));
    EXPECT_FALSE(frame.findDialog("Missing"));

    // A new dialog is hidden and inactive and fills its parent.
    EXPECT_FALSE(other->isVisible() || other->isActive());
    EXPECT_EQ(other->getSize(), glm::vec2(1.0f));
}

TEST(OverlayDialog, ChildrenChangeParentsWithoutCyclesAndOutliveTheFrame) {
    auto frame = std::make_unique<Frame>(nullptr);
    const DialogPtr first = frame->createDialog("First", DT_DIALOG);
    const DialogPtr second = frame->createDialog("Second", DT_DIALOG);
    const auto child = std::make_shared<Dialog>("Child", frame.get());
    addChild(first, child);
    addChild(second, child);
    EXPECT_TRUE(first->getChildren().empty());
    ASSERT_EQ(second->getChildren().size(), 1u);
    EXPECT_EQ(child->getParent(), second);

    addChild(child, second); // would make each the other's ancestor
    addChild(child, child);
    EXPECT_TRUE(child->getChildren().empty());
    EXPECT_FALSE(second->getParent());

    frame.reset();
    EXPECT_EQ(child->getFrame(), nullptr) << "the frame's dialogs forget it as it goes";
    OverlayTest::expectRect(child->getAbsoluteRect(), {0.0f, 0.0f}, {1.0f, 1.0f});

    // A child does not keep its parent alive.
    auto parent = std::make_shared<Dialog>("Parent", nullptr);
    addChild(parent, child);
    const std::weak_ptr<Dialog> watched = parent;
    parent.reset();
    EXPECT_TRUE(watched.expired());
    EXPECT_FALSE(child->getParent());
}
