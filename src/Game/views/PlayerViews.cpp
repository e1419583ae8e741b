#include "Game/views/PlayerViews.h"

#include "Game/level/Level.h"
#include "Game/overlay/RaceOverlay.h"
#include "Game/views/WayAhead.h"
#include "Render/rkernel/RKernel.h"

namespace Game {

namespace {

// The gap between the race time's column and the window's bottom edge.
constexpr float COLUMN_MARGIN = 0.01f;

} // namespace

void PlayerViews::choose(Level& level, const std::vector<Person>& people, std::size_t drivers,
                         bool splitScreen) {
    players.clear();
    followers.clear();
    arranged.reset();
    if (people.size() == 1 || (splitScreen && people.size() > 1)) {
        for (const Person& person : people) {
            const auto camera = level.getCameras().find(Level::chaseCameraName(person.car));
            if (camera == level.getCameras().end()) {
                continue;
            }
            if (players.empty()) {
                level.setCurrentCamera(camera->first);
            } else {
                followers.push_back(camera->first);
            }
            players.push_back(person.player);
        }
        // One person's view is the whole window, as a shared one is.
        if (players.size() == 1) {
            players.clear();
        }
    } else if (drivers >= 2) {
        level.setCurrentCamera("Overview");
    }
}

std::vector<CameraPtr> PlayerViews::getCameras(const Level& level) const {
    std::vector<CameraPtr> cameras{level.getCurrentCamera()};
    for (const std::string& name : followers) {
        const auto camera = level.getCameras().find(name);
        cameras.push_back(camera != level.getCameras().end() ? camera->second : nullptr);
    }
    return cameras;
}

ViewLayout PlayerViews::layoutFor(int width, int height) const {
    return ViewLayout(width, height, players.size());
}

void PlayerViews::arrange(RaceOverlay& overlay,
                          const std::vector<std::unique_ptr<WayAhead>>& wayAheads, int width,
                          int height) {
    ViewLayout layout = layoutFor(width, height);
    if (players.empty() || layout == arranged) {
        return;
    }
    std::vector<std::optional<DialogRect>> rects(overlay.getPanels().size());
    for (std::size_t view = 0; view < players.size(); ++view) {
        const DialogRect rect = layout.toScreen(layout.getViews()[view]);
        const std::size_t player = players[view];
        if (player < rects.size()) {
            rects[player] = rect;
        }
        if (player < wayAheads.size() && wayAheads[player]) {
            wayAheads[player]->placeNotice(rect);
        }
    }
    if (layout.getFree().empty()) {
        overlay.placeInViews(rects, {0.5f, COLUMN_MARGIN}, DA_LOW);
    } else {
        const DialogRect free = layout.toScreen(layout.getFree().front());
        overlay.placeInViews(
            rects,
            {free.corner.x + free.size.x / 2.0f, free.corner.y + free.size.y - COLUMN_MARGIN},
            DA_HIGH);
    }
    arranged = std::move(layout);
}

void PlayerViews::draw(Level& level, Render::RKernel& renderer) const {
    // The scene may be drawn into a smaller target than the window.
    const int width = renderer.getSceneTarget()->getWidth();
    const int height = renderer.getSceneTarget()->getHeight();
    const ViewLayout layout = layoutFor(width, height);
    const std::vector<CameraPtr> cameras = getCameras(level);
    for (std::size_t view = 0; view < cameras.size(); ++view) {
        const ViewRect& rect = layout.getViews()[view];
        renderer.setViewport(rect.x, rect.y, rect.width, rect.height);
        level.draw(cameras[view]);
    }
    renderer.setViewport(0, 0, width, height);
}

} // namespace Game
