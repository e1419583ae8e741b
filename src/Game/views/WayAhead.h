#pragma once

#include "Game/overlay/Frame.h"

#include <glm/gtc/quaternion.hpp>
#include <glm/vec2.hpp>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Game {

// The angle in radians from a car's heading to a target on the ground, both seen from
// above: 0 straight ahead, positive to the driver's left, negative to the right,
// within -pi..pi. `rotation` is the car's; its forward axis is local +z.
float bearingTo(const glm::quat& rotation, const glm::vec2& from, const glm::vec2& target);

// Tells when a car drives against the order of the checkpoints: moving, faster than
// a walk, more than 120 degrees away from the direction to its next checkpoint, for
// longer than `delay` seconds in a row. Only the car's ground positions are watched,
// so a car pushed or sliding the wrong way is told as well.
class WrongWayWatch {
public:
    static constexpr double delay = 2.0;
    static constexpr float minimumSpeed = 3.0f; // metres per second

    // Takes the car's ground position (x, z) and its next checkpoint's after `dt`
    // seconds; returns whether the car drives the wrong way now.
    bool update(const glm::vec2& position, const glm::vec2& checkpoint, double dt);
    bool isWrongWay() const { return against > delay; }

private:
    std::optional<glm::vec2> previous;
    double against = 0.0; // seconds in a row spent driving the wrong way
};

// One person's way ahead on the overlay: an arrow on the person's panel pointing to
// the next checkpoint, turned as seen from behind the car, and a "Wrong way" notice.
class WayAhead {
public:
    // Adds the arrow ("WayArrow") to the panel and builds the hidden notice
    // ("WrongWay" followed by `index`), saying whose car it means when `named`. Empty
    // when that notice's name is taken on the frame.
    static std::unique_ptr<WayAhead> create(Frame& frame, const DialogPtr& panel, std::size_t index,
                                            const std::string& driver, bool named);

    // Moves the notice to the middle of the person's own view (a rectangle in screen
    // space), narrowed to fit it.
    void placeNotice(const DialogRect& view);

    // Turns the arrow by the bearing of the next checkpoint and shows the notice while
    // the watch tells the wrong way.
    void update(const glm::quat& rotation, const glm::vec2& position, const glm::vec2& checkpoint,
                double dt);

    const DialogPtr& getArrow() const { return arrow; }
    const DialogPtr& getNotice() const { return notice; }
    const WrongWayWatch& getWatch() const { return watch; }

private:
    WayAhead() = default;

    DialogPtr arrow;
    DialogPtr notice;
    WrongWayWatch watch;
};

} // namespace Game
