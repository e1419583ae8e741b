#include "LevelTestSupport.h"

using namespace GameTest;

TEST_F(LevelTest, SmokeFrame) {
    buildTestTrack();
    fipImage frame = drawFrame();
    frame.save("/tmp/overview.png");
    Game::CameraDesc desc;
    desc.name = "Start";
    desc.onGround = true;
    desc.position = {40, 8, 62};
    desc.flags = Game::CF_LOOK_AT;
    desc.target = {100, 4, 70};
    level->createCamera(desc);
    fipImage start = drawFrame();
    start.save("/tmp/start.png");
}
