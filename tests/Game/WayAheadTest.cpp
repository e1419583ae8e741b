#include "Game/views/WayAhead.h"
#include "Game/overlay/Frame.h"
#include "Game/overlay/TextDialog.h"

#include <gtest/gtest.h>

#include <glm/gtc/constants.hpp>
#include <glm/gtc/quaternion.hpp>

using namespace Game;

namespace {

constexpr double STEP = 1.0 / 60.0;

// Drives a watched car in a straight line at `speed` (metres per second, negative
// backwards along +z) for `seconds`, its next checkpoint at `checkpoint`; returns
// where it stopped.
glm::vec2 drive(WrongWayWatch& watch, glm::vec2 position, float speed, double seconds,
                const glm::vec2& checkpoint) {
    for (double t = 0.0; t < seconds; t += STEP) {
        position.y += speed * static_cast<float>(STEP);
        watch.update(position, checkpoint, STEP);
    }
    return position;
}

glm::quat heading(float degrees) {
    return glm::angleAxis(glm::radians(degrees), glm::vec3(0.0f, 1.0f, 0.0f));
}

} // namespace

TEST(WayAheadTest, ACarDrivenBackwardsThroughACheckpointIsToldAfterTwoSecondsAndOnlyThen) {
    // Checkpoint 1 at the origin was passed; checkpoint 2 lies 100 m ahead along +z.
    const glm::vec2 next(0.0f, 100.0f);
    WrongWayWatch backwards;
    glm::vec2 at = drive(backwards, {0.0f, 20.0f}, -15.0f, 1.8, next);
    EXPECT_FALSE(backwards.isWrongWay()) << "a short turn the wrong way is not told";
    at = drive(backwards, at, -15.0f, 0.4, next);
    EXPECT_TRUE(backwards.isWrongWay()) << "driven back through the checkpoint";
    EXPECT_LT(at.y, 0.0f);
    drive(backwards, at, 15.0f, STEP * 2, next);
    EXPECT_FALSE(backwards.isWrongWay()) << "turned round, the notice goes at once";

    WrongWayWatch forwards;
    drive(forwards, {0.0f, -20.0f}, 15.0f, 5.0, next);
    EXPECT_FALSE(forwards.isWrongWay());

    WrongWayWatch creeping;
    drive(creeping, {0.0f, 20.0f}, -1.0f, 5.0, next);
    EXPECT_FALSE(creeping.isWrongWay()) << "rolling back at a walk is no wrong way";

    WrongWayWatch wavering;
    at = drive(wavering, {0.0f, 50.0f}, -15.0f, 1.5, next);
    at = drive(wavering, at, 15.0f, 0.3, next);
    drive(wavering, at, -15.0f, 1.5, next);
    EXPECT_FALSE(wavering.isWrongWay()) << "the time counts in a row";
}

TEST(WayAheadTest, TheBearingIsSeenFromTheDriversSeat) {
    const glm::vec2 car(10.0f, 10.0f);
    const float half = glm::half_pi<float>();
    EXPECT_NEAR(bearingTo(heading(0.0f), car, {10.0f, 50.0f}), 0.0f, 1e-5f);
    EXPECT_NEAR(bearingTo(heading(0.0f), car, {30.0f, 10.0f}), half, 1e-5f) << "+x is left";
    EXPECT_NEAR(bearingTo(heading(0.0f), car, {-30.0f, 10.0f}), -half, 1e-5f);
    EXPECT_NEAR(std::abs(bearingTo(heading(0.0f), car, {10.0f, -5.0f})), glm::pi<float>(), 1e-5f);
    // Turned 90 degrees to the left, the car faces +x: what lay left is ahead.
    EXPECT_NEAR(bearingTo(heading(90.0f), car, {30.0f, 10.0f}), 0.0f, 1e-5f);
    EXPECT_NEAR(bearingTo(heading(90.0f), car, {10.0f, 50.0f}), -half, 1e-5f);
}

TEST(WayAheadTest, TheArrowTurnsTowardsTheCheckpointAndTheNoticeShowsTheWrongWay) {
    Frame frame(nullptr);
    const DialogPtr panel = frame.createDialog("PlayerDialog0", DT_DIALOG);
    panel->setVisible(true);
    panel->setActive(true);
    auto wayAhead = WayAhead::create(frame, panel, 0, "Ann", true);
    ASSERT_NE(wayAhead, nullptr);
    EXPECT_EQ(WayAhead::create(frame, panel, 0, "Ann", true), nullptr) << "name taken";
    ASSERT_EQ(panel->findChild("WayArrow"), wayAhead->getArrow());
    ASSERT_EQ(frame.findDialog("WrongWay0"), wayAhead->getNotice());
    EXPECT_FALSE(wayAhead->getNotice()->isVisible());

    // The checkpoint lies to the left of a car facing +z: the arrow's tip (+y in
    // its own space) turns to the screen's left.
    const auto tipDirection = [&] {
        const glm::mat4 placed = wayAhead->getArrow()->getDrawable()->getWorldTransformation();
        return glm::vec2(placed * glm::vec4(0.0f, 1.0f, 0.0f, 0.0f));
    };
    wayAhead->update(heading(0.0f), {0.0f, 0.0f}, {50.0f, 0.0f}, STEP);
    EXPECT_LT(tipDirection().x, 0.0f);
    EXPECT_NEAR(tipDirection().y, 0.0f, 1e-5f);
    wayAhead->update(heading(0.0f), {0.0f, 0.0f}, {0.0f, 50.0f}, STEP);
    EXPECT_NEAR(tipDirection().x, 0.0f, 1e-5f);
    EXPECT_GT(tipDirection().y, 0.0f);

    // Driven away from the checkpoint for more than two seconds.
    glm::vec2 car(0.0f, 0.0f);
    for (double t = 0.0; t < 2.5; t += STEP) {
        car.y -= 0.25f;
        wayAhead->update(heading(180.0f), car, {0.0f, 50.0f}, STEP);
    }
    EXPECT_TRUE(wayAhead->getNotice()->isVisible());
    EXPECT_TRUE(wayAhead->getNotice()->isActive());
    const auto text =
        std::dynamic_pointer_cast<TextDialog>(wayAhead->getNotice()->findChild("Text"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->getText(), "Wrong way, Ann!");
    for (double t = 0.0; t < 0.1; t += STEP) {
        car.y += 0.25f;
        wayAhead->update(heading(0.0f), car, {0.0f, 50.0f}, STEP);
    }
    EXPECT_FALSE(wayAhead->getNotice()->isVisible());
}
