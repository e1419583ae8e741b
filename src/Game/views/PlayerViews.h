#pragma once

#include "Game/level/Camera.h"
#include "Game/views/ViewLayout.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Render {
class RKernel;
}

namespace Game {

class Level;
class RaceOverlay;
class WayAhead;

// The views of a race: the player each one follows, the camera it shows and its part of
// the window. The first view shows the level's current camera, which Home and End
// switch; the others keep their player's chase camera.
class PlayerViews {
public:
    // A person racing: their index among the players and the name of their car.
    struct Person {
        std::size_t player;
        std::string car;
    };

    // Chooses the views at the start of a race of `drivers` cars, `people` of them
    // driven from the keyboard, and the level's current camera. One person watches
    // their own car, however many computer drivers take part. Two or three people
    // get a view each behind their own car with `splitScreen`, and otherwise share
    // the "Overview" camera, as computer drivers racing alone do.
    void choose(Level& level, const std::vector<Person>& people, std::size_t drivers,
                bool splitScreen);

    // The player each view follows, in view order; empty while one view is shared.
    const std::vector<std::size_t>& getPlayers() const { return players; }
    // The camera each view shows now, in view order (none for a camera the level no
    // longer has).
    std::vector<CameraPtr> getCameras(const Level& level) const;
    // The views' rectangles on a window of that size.
    ViewLayout layoutFor(int width, int height) const;

    // Puts each viewed player's panel and wrong-way notice into that player's view, the
    // race time and the other players' panels where no view needs the room: in the free
    // part of the window, else at the bottom centre. Does nothing while one view is
    // shared, or while the layout stays as it was placed last.
    void arrange(RaceOverlay& overlay, const std::vector<std::unique_ptr<WayAhead>>& wayAheads,
                 int width, int height);

    // Draws each view into its part of the current target, then gives the whole
    // target back to the viewport. The shadow map is drawn before, once for all.
    void draw(Level& level, Render::RKernel& renderer) const;

private:
    std::vector<std::size_t> players;
    // The names of the chase cameras of the views after the first.
    std::vector<std::string> followers;
    std::optional<ViewLayout> arranged;
};

} // namespace Game
