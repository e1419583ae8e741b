#include "../Render/RenderTestSupport.h"
#include "Data/FontManager.h"
#include "Game/overlay/DebugDialog.h"
#include "Game/overlay/Frame.h"
#include "Game/overlay/PauseMenu.h"
#include "Game/overlay/RaceOverlay.h"
#include "Game/overlay/ResultsPanel.h"
#include "Game/overlay/TextDialog.h"
#include "Game/views/WayAhead.h"
#include "OverlayTestSupport.h"

#include <algorithm>

using namespace RenderTest;

namespace {

// The overlay at a game's window size, over a plain clear colour.
class OverlayDrawTest : public GLTest {
public:
    static constexpr int SCREEN_WIDTH = 1024;
    static constexpr int SCREEN_HEIGHT = 768;
    static void SetUpTestSuite() { startKernel(SCREEN_WIDTH, SCREEN_HEIGHT); }

protected:
    static constexpr glm::ivec3 CLEAR{51, 102, 153};

    void SetUp() override {
        GLTest::SetUp();
        OverlayTest::useGameData();
        OverlayTest::loadFonts();
        glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
        kernel->setRenderTarget(kernel->getScreen());
    }
    void TearDown() override {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        GLTest::TearDown();
    }

    // The pixel at a screen-space point.
    static glm::ivec3 at(fipImage& image, float x, float y) {
        return pixel(image, static_cast<int>(x * SCREEN_WIDTH),
                     static_cast<int>(y * SCREEN_HEIGHT));
    }
    // Pixels inside a screen-space rectangle that pass the test.
    template <typename Test>
    static int count(fipImage& image, const Game::DialogRect& rect, Test test) {
        int n = 0;
        for (int y = static_cast<int>(rect.corner.y * SCREEN_HEIGHT);
             y < static_cast<int>((rect.corner.y + rect.size.y) * SCREEN_HEIGHT); ++y)
            for (int x = static_cast<int>(rect.corner.x * SCREEN_WIDTH);
                 x < static_cast<int>((rect.corner.x + rect.size.x) * SCREEN_WIDTH); ++x)
                n += test(pixel(image, x, y)) ? 1 : 0;
        return n;
    }
    static bool white(const glm::ivec3& c) { return std::min({c.r, c.g, c.b}) > 200; }
    // Pixels inside a screen-space rectangle that differ between the two pictures.
    static int differing(fipImage& a, fipImage& b, const Game::DialogRect& rect) {
        int n = 0;
        for (int y = static_cast<int>(rect.corner.y * SCREEN_HEIGHT);
             y < static_cast<int>((rect.corner.y + rect.size.y) * SCREEN_HEIGHT); ++y)
            for (int x = static_cast<int>(rect.corner.x * SCREEN_WIDTH);
                 x < static_cast<int>((rect.corner.x + rect.size.x) * SCREEN_WIDTH); ++x)
                n += pixel(a, x, y) != pixel(b, x, y) ? 1 : 0;
        return n;
    }
};

// What the panel picture at (u, v), tinted to alpha 0.6, leaves over the clear colour.
glm::ivec3 panelOverClear(const Data::ImagePtr& picture, float u, float v) {
    RGBQUAD texel{};
    picture->picture.getPixelColor(static_cast<unsigned>(u * picture->picture.getWidth()),
                                   static_cast<unsigned>(v * picture->picture.getHeight()), &texel);
    const float alpha = 0.6f * static_cast<float>(texel.rgbReserved) / 255.0f;
    const glm::vec3 colour(texel.rgbRed, texel.rgbGreen, texel.rgbBlue);
    return glm::ivec3(alpha * colour + (1.0f - alpha) * glm::vec3(51, 102, 153) + 0.5f);
}

TEST_F(OverlayDrawTest, DialogsAndRaceOverlayAreDrawnTranslucentOverTheScene) {
    Game::Frame frame(kernel);
    EXPECT_FLOAT_EQ(frame.getAspect(), 4.0f / 3.0f);
    EXPECT_EQ(frame.getScreenSize(), std::make_pair(1024u, 768u));
    const std::unique_ptr<Game::PauseMenu> menu = Game::PauseMenu::create(frame);
    menu->open();
    const Game::DialogPtr& pause = menu->getDialog();
    const std::unique_ptr<Game::DebugDialog> debug = Game::DebugDialog::create(frame);
    debug->show(true);
    debug->setFrameRate(1.0f / 64.0f);
    const std::unique_ptr<Game::RaceOverlay> race =
        Game::RaceOverlay::create(frame, {"Anna", "Bartholomew", "Carl"});
    std::vector<Game::PlayerStanding> standings(3);
    standings[1].lapTimes = {41.25};
    standings[1].bestLap = 41.25;
    standings[1].currentLap = 2;
    standings[1].nextCheckpoint = 1;
    standings[1].lastCheckpoint = 0;
    standings[2].nextCheckpoint = 2;
    standings[2].lastCheckpoint = 1;
    for (std::size_t i = 0; i < standings.size(); ++i)
        standings[i].lapTime = 12.34 + static_cast<double>(i);
    race->update(83.5, "Test Track", 3, standings);

    frame.draw();
    ASSERT_TRUE(Render::saveFrame("overlay.png"));
    fipImage image = capture();
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << "the scene's depth test is left on";

    // Outside the dialogs the scene shows unchanged.
    EXPECT_EQ(at(image, 0.5f, 0.2f), CLEAR);
    EXPECT_EQ(at(image, 0.6f, 0.9f), CLEAR);

    // The panel picture shows at 60 % over the scene, below the race time's text.
    const Data::ImagePtr picture =
        race->getRacingDialog()->getMaterial()->getImage(Data::MP_DIFFUSE_TEXTURE);
    ASSERT_TRUE(picture);
    const Game::DialogRect racing = race->getRacingDialog()->getAbsoluteRect();
    for (const float u : {0.3f, 0.5f, 0.7f}) {
        const glm::ivec3 drawn =
            at(image, racing.corner.x + u * racing.size.x, racing.corner.y + 0.08f * racing.size.y);
        const glm::ivec3 expected = panelOverClear(picture, u, 0.08f);
        EXPECT_LE(glm::abs(drawn - expected).r + glm::abs(drawn - expected).g +
                      glm::abs(drawn - expected).b,
                  24)
            << "at u " << u << ": drawn " << drawn.r << "," << drawn.g << "," << drawn.b
            << " expected " << expected.r << "," << expected.g << "," << expected.b;
    }

    // White text on the panels: the frame rate on the help panel, the race time, and
    // each driver's name in the panel of the driver's rank.
    EXPECT_GT(count(image, debug->getLabel("FPS")->getAbsoluteRect(), white), 40);
    EXPECT_GT(
        count(image, race->getRacingDialog()->findChild("RaceTime")->getAbsoluteRect(), white), 40);
    for (const Game::DialogPtr& panel : race->getPanels()) {
        EXPECT_GT(count(image, panel->findChild("PlayerName")->getAbsoluteRect(), white), 60)
            << panel->getName();
        // The name ends before the lap column begins.
        const float nameEnd =
            OverlayTest::drawnBounds(panel->findChild("PlayerName")->getDrawable()).second.x;
        for (const char* column : {"LapInfo", "LapTime"}) {
            EXPECT_LT(nameEnd,
                      OverlayTest::drawnBounds(panel->findChild(column)->getDrawable()).first.x)
                << panel->getName() << " " << column;
        }
    }
    // The help panel's grey key descriptions are lighter than its background.
    EXPECT_GT(count(image, debug->getLabel("F1")->getAbsoluteRect(),
                    [](const glm::ivec3& c) { return c.g > 150; }),
              40);

    // The pause menu: white "Paused" and the chosen item in gold on a dark box that
    // hides the scene behind it.
    const auto dark = [](const glm::ivec3& c) { return std::max({c.r, c.g, c.b}) < 50; };
    const Game::DialogRect menuRect = pause->getAbsoluteRect();
    const int menuPixels = static_cast<int>(menuRect.size.x * SCREEN_WIDTH) *
                           static_cast<int>(menuRect.size.y * SCREEN_HEIGHT);
    EXPECT_GT(count(image, menuRect, dark), menuPixels / 2);
    EXPECT_GT(count(image, pause->findChild("Text")->getAbsoluteRect(), white), 300)
        << "large letters";
    const auto gold = [](const glm::ivec3& c) { return c.r > 200 && c.g > 150 && c.b < 120; };
    EXPECT_GT(count(image, pause->findChild("Item0")->getAbsoluteRect(), gold), 60);

    // A screen of another shape: the dialogs are laid out anew before drawing.
    const auto drawnWidth = [&] {
        return race->getRacingDialog()->getDrawable()->getTransformation()[0][0];
    };
    EXPECT_FLOAT_EQ(drawnWidth(), 0.4f * 2.0f * 4.0f / 3.0f);
    kernel->getScreen()->setSize(SCREEN_HEIGHT, SCREEN_HEIGHT);
    frame.draw();
    EXPECT_FLOAT_EQ(drawnWidth(), 0.4f * 2.0f);
    kernel->getScreen()->setSize(SCREEN_WIDTH, SCREEN_HEIGHT);

    // Hidden dialogs leave the scene alone.
    menu->close();
    debug->show(false);
    kernel->setRenderTarget(kernel->getScreen());
    frame.draw();
    fipImage hidden = capture();
    EXPECT_EQ(count(hidden, menuRect, [](const glm::ivec3& c) { return c != CLEAR; }), 0);
    EXPECT_EQ(count(hidden, debug->getDialog()->getAbsoluteRect(),
                    [](const glm::ivec3& c) { return c != CLEAR; }),
              0);
}

// In a race the fonts' pictures give up their pixels once their textures are made;
// glyphs first drawn after that (capitals and digits of the race overlay) must still
// show their letters.
TEST_F(OverlayDrawTest, GlyphsFirstBuiltAfterTheFontGaveUpItsPixelsShowTheirLetters) {
    const std::string text = "LAP 3/5 BEST 01:23:45 QWXZ 6789";
    const auto drawText = [&] {
        Game::Frame frame(kernel);
        const auto dialog =
            std::static_pointer_cast<Game::TextDialog>(frame.createDialog("Text", Game::DT_TEXT));
        dialog->setPosition({0.05f, 0.4f});
        dialog->setSize({0.9f, 0.1f});
        dialog->setColor(glm::vec4(1.0f));
        dialog->setText(text, true);
        dialog->setVisible(true);
        dialog->setActive(true);
        kernel->setRenderTarget(kernel->getScreen());
        frame.draw();
        return std::make_pair(capture(), dialog->getAbsoluteRect());
    };
    auto [kept, rect] = drawText();

    // Fonts loaded anew build their glyphs anew; their textures are made already.
    OverlayTest::loadFonts();
    const Data::FontPtr font = Data::FontManager::getInstance().getFont("Newsflash");
    ASSERT_TRUE(font && font->image->releasePixels());
    auto [released, sameRect] = drawText();
    EXPECT_FALSE(font->image->hasPixels());

    int textPixels = 0;
    int differing = 0;
    int pixels = 0;
    for (int y = static_cast<int>(rect.corner.y * SCREEN_HEIGHT);
         y < static_cast<int>((rect.corner.y + rect.size.y) * SCREEN_HEIGHT); ++y) {
        for (int x = static_cast<int>(rect.corner.x * SCREEN_WIDTH);
             x < static_cast<int>((rect.corner.x + rect.size.x) * SCREEN_WIDTH); ++x) {
            ++pixels;
            textPixels += white(pixel(released, x, y)) ? 1 : 0;
            differing += pixel(released, x, y) != pixel(kept, x, y) ? 1 : 0;
        }
    }
    // Letters, not blank blocks: some of the line is white, most of it shows the scene.
    EXPECT_GT(textPixels, 400);
    EXPECT_LT(textPixels, pixels / 4);
    EXPECT_EQ(differing, 0) << "pixels unlike those drawn with the font's pixels kept";
}

// The race time and lap times change every frame: each frame shows its own times,
// drawn exactly as an overlay built for those times from the start draws them.
TEST_F(OverlayDrawTest, EveryFrameOfARaceShowsItsOwnTimes) {
    const std::vector<std::string> names{"Anna", "Bartholomew", "Carl"};
    const auto standingsAt = [](double time) {
        std::vector<Game::PlayerStanding> standings(3);
        for (std::size_t i = 0; i < standings.size(); ++i)
            standings[i].lapTime = time + static_cast<double>(i);
        return standings;
    };
    const auto drawAt = [&](Game::Frame& frame, Game::RaceOverlay& race, double time) {
        race.update(time, "Test Track", 3, standingsAt(time));
        kernel->setRenderTarget(kernel->getScreen());
        frame.draw();
        return capture();
    };
    Game::Frame frame(kernel);
    const std::unique_ptr<Game::RaceOverlay> race = Game::RaceOverlay::create(frame, names);
    fipImage first = drawAt(frame, *race, 12.34);
    fipImage second = drawAt(frame, *race, 58.76);
    Game::Frame freshFrame(kernel);
    const std::unique_ptr<Game::RaceOverlay> fresh = Game::RaceOverlay::create(freshFrame, names);
    fipImage expected = drawAt(freshFrame, *fresh, 58.76);

    std::vector<Game::DialogPtr> times{race->getRacingDialog()->findChild("RaceTime")};
    for (const Game::DialogPtr& panel : race->getPanels())
        times.push_back(panel->findChild("LapTime"));
    for (const Game::DialogPtr& time : times)
        EXPECT_GT(differing(first, second, time->getAbsoluteRect()), 40)
            << time->getName() << ": the new time shows";
    EXPECT_EQ(differing(second, expected, Game::DialogRect{}), 0)
        << "pixels unlike those of an overlay built for the new times";
}

TEST_F(OverlayDrawTest, NothingBehindTheResultsShowsThroughThem) {
    Game::Frame frame(kernel);
    const std::unique_ptr<Game::ResultsPanel> results = Game::ResultsPanel::create(frame, 3);
    std::vector<Game::PlayerStanding> standings(3);
    standings[0].name = "Anna";
    standings[0].lapTimes = {40.5, 41.25};
    standings[0].bestLap = 40.5;
    standings[0].finished = true;
    standings[1].name = "Bartholomew";
    standings[2].name = "Carl";
    results->show(Game::raceResults(standings, 2), {"New record: Anna, best lap 00:40:50"});
    const Game::DialogRect rect = frame.findDialog("ResultsDialog")->getAbsoluteRect();

    // Once over the plain clear colour, once over white stripes on red.
    std::vector<fipImage> drawn;
    for (const bool striped : {false, true}) {
        glClearColor(striped ? 0.9f : 0.2f, striped ? 0.1f : 0.4f, striped ? 0.1f : 0.6f, 1.0f);
        kernel->setRenderTarget(kernel->getScreen());
        if (striped) {
            glEnable(GL_SCISSOR_TEST);
            glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
            for (int x = 0; x < SCREEN_WIDTH; x += 16) {
                glScissor(x, 0, 8, SCREEN_HEIGHT);
                glClear(GL_COLOR_BUFFER_BIT);
            }
            glDisable(GL_SCISSOR_TEST);
        }
        frame.draw();
        drawn.push_back(capture());
    }
    int differing = 0;
    int textPixels = 0;
    for (int y = static_cast<int>(rect.corner.y * SCREEN_HEIGHT) + 1;
         y < static_cast<int>((rect.corner.y + rect.size.y) * SCREEN_HEIGHT) - 1; ++y) {
        for (int x = static_cast<int>(rect.corner.x * SCREEN_WIDTH) + 1;
             x < static_cast<int>((rect.corner.x + rect.size.x) * SCREEN_WIDTH) - 1; ++x) {
            differing += pixel(drawn[0], x, y) != pixel(drawn[1], x, y) ? 1 : 0;
            textPixels += white(pixel(drawn[0], x, y)) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0) << "pixels of the panel that show what lies behind it";
    EXPECT_GT(textPixels, 500) << "the table is drawn";
    EXPECT_NE(pixel(drawn[0], 4, 4), pixel(drawn[1], 4, 4)) << "the backgrounds differ";
}

} // namespace

TEST_F(OverlayDrawTest, TheWayAheadArrowPointsWhereTheCheckpointLiesSeenFromBehindTheCar) {
    Game::Frame frame(kernel);
    const Game::DialogPtr panel = frame.createDialog("PlayerDialog0", Game::DT_DIALOG);
    panel->setPosition({0.4f, 0.4f});
    panel->setSize({0.4f, 0.2f});
    panel->setColor(glm::vec4(0.0f));
    panel->setVisible(true);
    panel->setActive(true);
    const auto wayAhead = Game::WayAhead::create(frame, panel, 0, "Ann", false);
    ASSERT_NE(wayAhead, nullptr);
    const Game::DialogRect rect = wayAhead->getArrow()->getAbsoluteRect();
    const glm::vec2 centre = rect.corner + rect.size / 2.0f;
    // The arrow fills a square of the rectangle's smaller side; a point (x, y) of it
    // in units of that side, +y up the screen.
    const float side = std::min(rect.size.x * SCREEN_WIDTH, rect.size.y * SCREEN_HEIGHT);
    const auto yellowAt = [&](fipImage& image, float x, float y) {
        const glm::ivec3 c = pixel(image, static_cast<int>(centre.x * SCREEN_WIDTH + x * side),
                                   static_cast<int>(centre.y * SCREEN_HEIGHT + y * side));
        return c.r > 200 && c.g > 150 && c.b < 100;
    };
    const glm::quat facingZ(1.0f, 0.0f, 0.0f, 0.0f);
    // Ahead, to the left, to the right of a car facing +z: the head's wide part lies
    // on that side of the centre, the shaft on the other.
    const std::array<std::pair<glm::vec2, glm::vec2>, 3> cases = {{{{0.0f, 50.0f}, {0.0f, 1.0f}},
                                                                   {{50.0f, 0.0f}, {-1.0f, 0.0f}},
                                                                   {{-50.0f, 0.0f}, {1.0f, 0.0f}}}};
    for (const auto& [checkpoint, direction] : cases) {
        wayAhead->update(facingZ, {0.0f, 0.0f}, checkpoint, 1.0 / 60.0);
        kernel->setRenderTarget(kernel->getScreen());
        frame.draw();
        fipImage image = capture();
        const glm::vec2 across(-direction.y, direction.x);
        const glm::vec2 head = direction * 0.15f + across * 0.3f;
        const glm::vec2 tail = -direction * 0.15f + across * 0.3f;
        EXPECT_TRUE(yellowAt(image, head.x, head.y)) << checkpoint.x << " " << checkpoint.y;
        EXPECT_FALSE(yellowAt(image, tail.x, tail.y)) << checkpoint.x << " " << checkpoint.y;
    }
}
