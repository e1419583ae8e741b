#include "RenderTestSupport.h"
#include "ShadowScene.h"

#include <cstring>
#include <set>

using namespace RenderTest;

namespace {

// A larger window, for a picture worth looking at (saved as scene.png).
class SceneTest : public GLTest {
public:
    static constexpr int SCENE_WIDTH = 320;
    static constexpr int SCENE_HEIGHT = 240;
    static void SetUpTestSuite() { startKernel(SCENE_WIDTH, SCENE_HEIGHT); }

protected:
    fipImage render(const ShadowScene& scene, const Data::SGNodePtr& casters) {
        scene.draw(*kernel, casters);
        return capture();
    }
    static int brightness(fipImage& image, int x, int y) {
        const glm::ivec3 c = pixel(image, x, y);
        return c.r + c.g + c.b;
    }
};

TEST_F(SceneTest, LightsTexturesAndShadowsShowInTheFrame) {
    const ShadowScene scene = makeShadowScene(*kernel, 40, 12, 24, 1024);
    fipImage shadowed = render(scene, scene.casters);
    shadowed.save(FIF_PNG, "scene.png");
    fipImage unshadowed = render(scene, std::make_shared<Data::SGNode>());

    // Without casters in the depth pass only the shadows go; nothing gets darker.
    int darker = 0, brighter = 0;
    std::set<int> colours;
    for (int y = 0; y < SCENE_HEIGHT; ++y)
        for (int x = 0; x < SCENE_WIDTH; ++x) {
            const int with = brightness(shadowed, x, y);
            const int without = brightness(unshadowed, x, y);
            darker += with + 30 < without ? 1 : 0;
            brighter += with > without + 3 ? 1 : 0;
            const glm::ivec3 c = pixel(shadowed, x, y);
            colours.insert((c.r / 32) * 64 + (c.g / 32) * 8 + c.b / 32);
        }
    EXPECT_GT(darker, SCENE_WIDTH * SCENE_HEIGHT / 50) << "the boxes cast shadows";
    EXPECT_EQ(brighter, 0);
    EXPECT_GT(colours.size(), 20u) << "lit, textured surfaces in several colours";
    // The spot light's cone: the ground below it is brighter than the far corner.
    EXPECT_GT(brightness(unshadowed, SCENE_WIDTH / 2, SCENE_HEIGHT / 3),
              brightness(unshadowed, 5, SCENE_HEIGHT - 5));
}

TEST_F(SceneTest, BothDrawStrategiesDrawTheSameScene) {
    const ShadowScene scene = makeShadowScene(*kernel, 20, 6, 12, 256);
    kernel->setDrawStrategy(Render::RKernel::VertexArrays);
    fipImage streamed = render(scene, scene.casters);
    kernel->setDrawStrategy(Render::RKernel::VertexBufferObjects);
    fipImage buffered = render(scene, scene.casters);
    ASSERT_EQ(streamed.getScanWidth(), buffered.getScanWidth());
    EXPECT_EQ(0, std::memcmp(streamed.accessPixels(), buffered.accessPixels(),
                             streamed.getScanWidth() * SCENE_HEIGHT));
}

} // namespace
