#include "Game/overlay/LoadingScreen.h"
#include "../Render/RenderTestSupport.h"
#include "OverlayTestSupport.h"

using namespace RenderTest;

namespace {

class LoadingScreenTest : public GLTest {
public:
    static constexpr int SCREEN_WIDTH = 800;
    static constexpr int SCREEN_HEIGHT = 600;
    static void SetUpTestSuite() { startKernel(SCREEN_WIDTH, SCREEN_HEIGHT); }

protected:
    void SetUp() override {
        GLTest::SetUp();
        OverlayTest::useGameData();
        OverlayTest::loadFonts();
    }

    // The frame the loading screen presented. Mesa's software driver presents by
    // copying the back buffer into the window and keeps it, so it can be read back.
    static fipImage presented() { return capture(); }
    static int difference(const glm::ivec3& a, const glm::ivec3& b) {
        const glm::ivec3 d = glm::abs(a - b);
        return d.r + d.g + d.b;
    }
};

TEST_F(LoadingScreenTest, PresentsThePictureWithTheStatusNearTheLowerLeftCorner) {
    Game::LoadingScreen screen(kernel, "Brumbly.jpg", "TimesNewRoman");
    ASSERT_TRUE(screen.getImage()->isValid());
    screen.setStatus("Initialised Renderkernel");
    EXPECT_EQ(screen.getStatus(), "Initialised Renderkernel");
    fipImage withText = presented();
    withText.save(FIF_PNG, "loading-screen.png");

    // The picture fills the window: sample it where the status line is not.
    fipImage& source = screen.getImage()->picture;
    for (const auto& [u, v] : {std::pair{0.5f, 0.5f}, {0.1f, 0.9f}, {0.9f, 0.3f}, {0.8f, 0.05f}}) {
        RGBQUAD texel{};
        source.getPixelColor(static_cast<unsigned>(u * source.getWidth()),
                             static_cast<unsigned>(v * source.getHeight()), &texel);
        const glm::ivec3 expected(texel.rgbRed, texel.rgbGreen, texel.rgbBlue);
        const glm::ivec3 drawn = pixel(withText, static_cast<int>(u * SCREEN_WIDTH),
                                       static_cast<int>(v * SCREEN_HEIGHT));
        EXPECT_LE(difference(drawn, expected), 40) << "at " << u << ", " << v;
    }

    // A new status replaces the old one; only the status line's corner changes.
    screen.setStatus("");
    fipImage without = presented();
    int changedInCorner = 0, changedElsewhere = 0;
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            if (difference(pixel(withText, x, y), pixel(without, x, y)) < 30)
                continue;
            // The text hangs from (-0.8, -0.8): device y -0.8 to -0.9.
            const bool corner = x >= SCREEN_WIDTH / 10 && x < SCREEN_WIDTH * 3 / 4 &&
                                y >= SCREEN_HEIGHT / 20 - 2 && y <= SCREEN_HEIGHT / 10 + 2;
            (corner ? changedInCorner : changedElsewhere) += 1;
        }
    EXPECT_GT(changedInCorner, 300) << "the status text";
    EXPECT_EQ(changedElsewhere, 0);
}

// Statuses that follow the last frame within the gap are kept but not drawn: the
// frame on screen stays until a status comes after the gap.
TEST_F(LoadingScreenTest, StatusesWithinTheGapAfterAFrameAreKeptButNotPresented) {
    Game::LoadingScreen screen(kernel, "Brumbly.jpg", "TimesNewRoman", std::chrono::hours(1));
    screen.setStatus("Initialised Renderkernel");
    fipImage first = presented();
    screen.setStatus("");
    EXPECT_EQ(screen.getStatus(), "");
    fipImage second = presented();
    int changed = 0;
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x)
            changed += difference(pixel(first, x, y), pixel(second, x, y)) >= 30 ? 1 : 0;
    EXPECT_EQ(changed, 0) << "the first status stays on screen";
}

} // namespace
