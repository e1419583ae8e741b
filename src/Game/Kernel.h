#pragma once

#include "Game/DebugKeys.h"
#include "Game/InputListeners.h"
#include "Game/level/DetailSettings.h"
#include "System/File.h"
#include "Tool/Export.h"
#include "Track/TrackDesc.h"

#include <cstdint>
#include <filesystem>
#include <glm/vec3.hpp>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace Data {
class Options;
class Profile;
} // namespace Data

namespace Physics {
class PhysicsSDK;
}

namespace Render {
class RKernel;
}

namespace Game {

class DebugDialog;
class Frame;
class GamepadReader;
class Level;
class LoadingScreen;
class PadDrivers;
class MiniMap;
class NameTags;
class PauseMenu;
class PhysXManager;
class PlayerViews;
class LogOutputStream;
class RaceDirector;
class RaceEventListener;
class RaceOverlay;
class RaceSounds;
struct PlayerStanding;
class VehicleObject;
class WayAhead;

// The front object of the game library. The launcher drives one race through it:
// initialise, createLevel, createPlayer per driver, run (until "End race" in the pause
// menu, Enter or Escape on the results, or the window closes), releaseAllPlayers,
// releaseLevel, shutdown. It owns the render kernel and its window, the physics SDK, the
// level, the players, the overlay and the input listener lists that the window's handlers
// fan events out to, and runs the frame loop.
class BRUMBLY_API Kernel {
public:
    static constexpr int noGamepad = -1;

    struct Player {
        std::shared_ptr<Data::Profile> profile;
        std::shared_ptr<VehicleObject> vehicle;
        glm::vec3 colour{0.0f};
        // The pad the driver drives with (a window-system slot), or noGamepad.
        int gamepad = noGamepad;
    };

    // How long frames took, for benchmarks and reports.
    struct FrameTimes {
        // From the start of initialise to the first race frame presented.
        double startUp = 0.0;
        // Each race frame from its start to its presentation.
        std::vector<double> frames;
        // Time spent in the level's update (physics, objects) per frame.
        std::vector<double> updates;
        // Processor time of the whole process per frame, the rasteriser's threads
        // included: what a frame costs, even on a machine busy with other work.
        std::vector<double> processorTimes;
    };

    static Kernel& getInstance();

    Kernel(const Kernel&) = delete;
    Kernel& operator=(const Kernel&) = delete;
    ~Kernel();

    // Opens the window and installs the input handlers, loads the fonts, shows the
    // loading screen and starts the physics. False, logged, on failure; also when
    // initialised already. From here on, closing the window or Escape ends the race:
    // during the loading, run() then returns without a frame.
    bool initialise(const Data::Options& options);
    const bool& isInitialised() const { return initialised; }
    // The track the next createLevel builds: initialise decodes its pictures while the
    // window opens, and createLevel takes them.
    void expectTrack(const std::string& track) { expectedTrack = track; }
    // Closes the window and stops the physics (releasing players and level first
    // when they are still there).
    void shutdown();

    // Builds the track of that name (a track file in data/tracks) for a race of
    // `laps` laps as the current level. False, with the fault logged, when no track
    // file names it or the file is refused.
    bool createLevel(const unsigned int& laps, const std::string& track = "Test Track");
    // The track of the current or last level.
    const std::string& getTrackName() const { return trackName; }
    Level* getLevel() const { return level.get(); }
    void releaseLevel();

    // A car for the driver at the next free start position, in the colour (red,
    // green, blue 0..255), driven with the keys or, for a human driver, with the pad
    // in slot `gamepad`. False without a level, without a free start position or when
    // the level refuses the car.
    bool createPlayer(std::shared_ptr<Data::Profile> profile, const glm::vec3& colour,
                      int gamepad = noGamepad);
    bool releaseAllPlayers();
    const std::vector<Player>& getPlayers() const { return players; }

    // Runs the frame loop until stop() or until the window is gone: startRun(), then
    // frame() while running. Returns at once when stop() came before it (after
    // initialise).
    void run();
    // Builds the race overlay, pause menu and help panel, starts the countdown and
    // the clock.
    void startRun();
    // One frame: events, a restart asked for, update (unless paused), drawing and
    // presenting.
    void frame();
    const bool& isRunning() const { return running; }
    // Ends the loop after the frame in progress; before the loop, the next run ends
    // at once.
    void stop();
    // When positive, run() stops by itself after that many seconds of racing.
    void setRunDuration(double seconds) { runDuration = seconds; }
    const FrameTimes& getFrameTimes() const { return frameTimes; }
    // The detail level (a Data::Detail value, never DETAIL_AUTO) drawn now, or last
    // when the run has ended; with Auto detail the one it settled on.
    std::int32_t getDetail() const { return detail; }

    // The key and mouse listeners of the window; the level's cameras and cars join
    // them.
    InputListeners& getInput() { return input; }
    // Listeners told of the countdown, each finish and the results (the sound's hooks).
    // False when the listener is attached already.
    bool attach(RaceEventListener* listener);
    void detach(RaceEventListener* listener);

    // The window's handlers: the kernel's own keys and the fan-out to listeners.
    // Escape, Pause and P (unless a driver steers with it) pause the race and open the
    // pause menu; there Up and Down choose, Enter picks, and Escape, Pause or P
    // resume. Enter gives up when the race offers it and leaves the results, as
    // Escape does.
    void handleKey(int key, int action);
    void handleMouseButton(int button, int action);
    void handleMousePosition(int x, int y);
    void handleMouseWheel(int position);

    bool isPaused() const { return paused; }
    bool isWireframe() const { return debugKeys.isWireframe(); }
    bool isFrustumCulling() const { return debugKeys.isFrustumCulling(); }
    std::int32_t getRenderMode() const { return debugKeys.getRenderMode(); }
    std::int32_t getTextureFilterMode() const { return debugKeys.getTextureFilterMode(); }
    std::int32_t getMipmapMode() const { return debugKeys.getMipmapMode(); }

    LoadingScreen* getLoadingScreen() const { return loadingScreen.get(); }
    DebugDialog* getDebugDialog() const { return debugDialog.get(); }
    RaceOverlay* getRaceOverlay() const { return raceOverlay.get(); }
    // The way ahead of each player in player order; empty for a computer driver.
    const std::vector<std::unique_ptr<WayAhead>>& getWayAheads() const { return wayAheads; }
    // The views of the race run last: one shared, or one per person on a split screen.
    const PlayerViews& getViews() const { return *views; }
    PauseMenu* getPauseMenu() const { return pauseMenu.get(); }
    // The drivers on pads in the race run last; none before run.
    PadDrivers* getPadDrivers() const { return padDrivers.get(); }
    // Where the pads are read from; none (the default) reads the window system's.
    void setGamepadReader(GamepadReader* reader) { gamepadReader = reader; }
    // The race's sounds; none when both volumes are 0 or before initialise.
    RaceSounds* getRaceSounds() const { return raceSounds.get(); }
    // The countdown, finishes and results of the race run last; none before run.
    RaceDirector* getRaceDirector() const { return raceDirector.get(); }

    // The file in which races keep their high scores; none (the default) keeps none.
    void setHighScoreFile(const std::filesystem::path& file) { highScoreFile = file; }
    const std::filesystem::path& getHighScoreFile() const { return highScoreFile; }

private:
    Kernel();

    void showStatus(const std::string& text);
    void installHandlers();
    void removeHandlers();
    // Picks the views and the camera the race starts in.
    void chooseViews();
    // Draws the scene at the detail level's scale on a software renderer.
    void applySceneScale();
    // One way ahead per person racing, on the person's panel.
    void createWayAheads();
    // The pads of the drivers who race with one; their cars no longer hear the keys.
    void createPadDrivers();
    // Drives the pads' cars and answers their Start buttons and disconnections.
    void readPads();
    // Each view's map and the name tags of the other cars it shows.
    void drawViewMarks();
    std::vector<PlayerStanding> collectStandings() const;
    void updateWayAheads(double dt);
    // Shows the standings on the race overlay and moves the race on.
    void updateRace(double dt);
    // Logs the race time and how far each player got.
    void logRaceEnd() const;
    // Pauses (opening the pause menu) or goes on with the cars' keys as held now.
    void setPaused(bool on);
    void pick(int item);
    // The same drivers in the same colours on a new level, counting down again.
    void restartRace();
    // Each human driver's car takes the keys as held now.
    void matchHeldKeys();

    Physics::PhysicsSDK* physicsSDK = nullptr;
    std::unique_ptr<LogOutputStream> outputStream;
    std::unique_ptr<PhysXManager> physX;
    std::unique_ptr<LoadingScreen> loadingScreen;
    std::string expectedTrack;
    // The expected track as initialise read it, for createLevel to build.
    std::optional<Track::TrackDesc> expectedDescription;
    // Decodes the fonts', the loading screen's and the expected track's pictures from
    // the start of initialise to the end of createLevel.
    std::unique_ptr<System::File::Prefetch> prefetch;
    std::unique_ptr<Frame> overlay;
    std::unique_ptr<RaceOverlay> raceOverlay;
    // In player order; empty for a computer driver.
    std::vector<std::unique_ptr<WayAhead>> wayAheads;
    std::unique_ptr<MiniMap> miniMap;
    std::unique_ptr<NameTags> nameTags;
    std::unique_ptr<DebugDialog> debugDialog;
    std::unique_ptr<PauseMenu> pauseMenu;
    std::unique_ptr<RaceSounds> raceSounds;
    std::unique_ptr<RaceDirector> raceDirector;
    std::unique_ptr<PadDrivers> padDrivers;
    GamepadReader* gamepadReader = nullptr;
    std::vector<Player> players;
    bool initialised = false;
    float fpsTimeSum = 0.0f;
    std::int32_t fpsFrameCount = 0;

    std::unique_ptr<Render::RKernel> renderKernel;
    // The detail level the levels of this run are drawn at (Auto resolved).
    std::int32_t detail = 2;
    bool splitScreen = true;
    std::unique_ptr<PlayerViews> views;
    // Chooses the level when the options leave it to the game.
    std::optional<AutoDetail> autoDetail;
    bool softwareRenderer = false;
    std::unique_ptr<Level> level;
    std::string trackName;
    bool running = false;
    // Set by stop() and cleared when a run ends or the kernel is initialised: a stop
    // that came before the loop (the window closed while loading) ends the next run
    // at once.
    bool stopRequested = false;
    bool paused = false;
    bool restartAsked = false;
    DebugKeys debugKeys;
    // The keys held down, as the key events tell.
    std::set<int> heldKeys;
    InputListeners input;
    std::vector<RaceEventListener*> raceListeners;
    std::filesystem::path highScoreFile;

    double runDuration = 0.0;
    double runStart = 0.0;
    double previousFrame = 0.0;
    double initialiseStart = 0.0;
    FrameTimes frameTimes;
};

} // namespace Game
