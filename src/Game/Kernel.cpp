#include "Game/Kernel.h"

#include "Data/FontManager.h"
#include "Data/KeyTable.h"
#include "Data/Options.h"
#include "Data/Profile.h"
#include "Game/Listeners.h"
#include "Game/LogOutputStream.h"
#include "Game/PhysXManager.h"
#include "Game/RaceEventListener.h"
#include "Game/audio/RaceSounds.h"
#include "Game/input/PadDrivers.h"
#include "Game/level/Level.h"
#include "Game/level/RaceTrack.h"
#include "Game/overlay/DebugDialog.h"
#include "Game/overlay/Frame.h"
#include "Game/overlay/LoadingScreen.h"
#include "Game/overlay/PauseMenu.h"
#include "Game/overlay/RaceOverlay.h"
#include "Game/race/RaceDirector.h"
#include "Game/vehicle/VehicleObject.h"
#include "Game/views/MiniMap.h"
#include "Game/views/NameTags.h"
#include "Game/views/PlayerViews.h"
#include "Game/views/WayAhead.h"
#include "Platform/Keys.h"
#include "Platform/Window.h"
#include "Render/rkernel/RKernel.h"
#include "System/File.h"
#include "Tool/LogManager.h"
#include "Track/Catalogue.h"
#include "Track/RandomName.h"

#include <GL/glew.h>
#include <algorithm>
#include <array>
#include <chrono>
#include <ctime>
#include <iomanip>
#include <sstream>

namespace Game {

namespace {

void logKernel(const std::string& title, const std::string& details = "") {
    Tool::LogManager::getInstance().send(
        Tool::Message("Game::Kernel", title, details, Tool::MT_MESSAGE));
}

double seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double processorSeconds() {
    timespec time{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
}

// A window larger than the screen would be partly out of sight and slow to draw:
// it is shrunk to the screen. Full screen takes the display's nearest mode itself.
void fitWindowToDesktop(int& width, int& height, bool fullscreen) {
    if (fullscreen || !Platform::init()) {
        return;
    }
    const Platform::VideoMode desktop = Platform::getDesktopMode();
    if (desktop.width <= 0 || desktop.height <= 0 ||
        (width <= desktop.width && height <= desktop.height)) {
        return;
    }
    const std::string asked = std::to_string(width) + " x " + std::to_string(height);
    width = std::min(width, desktop.width);
    height = std::min(height, desktop.height);
    Tool::LogManager::getInstance().send(Tool::Message(
        "Game::Kernel", "Window larger than the screen",
        asked + " asked, " + std::to_string(width) + " x " + std::to_string(height) + " opened",
        Tool::MT_WARNING));
}

const std::array<const char*, 3> fontNames{"Arial", "TimesNewRoman", "Newsflash"};
const std::string fontFolder = "data\\images\\Fonts\\";
const std::string loadingPicture = "Brumbly.jpg";
const std::string loadingFont = "TimesNewRoman";
// The loading screen shows at most one status line in this time: a software renderer
// spends several milliseconds on each of its frames.
constexpr std::chrono::milliseconds loadingFrameGap{200};

std::string detailName(std::int32_t detail) {
    switch (detail) {
    case Data::DETAIL_LOW:
        return "Low";
    case Data::DETAIL_MEDIUM:
        return "Medium";
    default:
        return "High";
    }
}

} // namespace

Kernel::Kernel()
    : outputStream(std::make_unique<LogOutputStream>()), physX(std::make_unique<PhysXManager>()),
      views(std::make_unique<PlayerViews>()) {}

Kernel::~Kernel() = default;

Kernel& Kernel::getInstance() {
    static Kernel instance;
    return instance;
}

void Kernel::showStatus(const std::string& text) {
    // Made again for a level built after a race (a restart).
    if (!loadingScreen && renderKernel) {
        loadingScreen = std::make_unique<LoadingScreen>(renderKernel.get(), loadingPicture,
                                                        loadingFont, loadingFrameGap);
    }
    if (loadingScreen) {
        loadingScreen->setStatus(text);
    }
}

bool Kernel::initialise(const Data::Options& options) {
    if (initialised) {
        return false;
    }
    initialiseStart = seconds();
    // The pictures of the fonts, of the loading screen and of the expected track decode
    // while the window opens.
    std::vector<System::File::PictureRequest> pictures;
    for (const char* font : fontNames) {
        pictures.push_back({System::File::fontPicture({font, fontFolder})});
    }
    pictures.push_back({LoadingScreen::pictureOf(loadingPicture)});
    expectedDescription.reset();
    Track::TrackDesc expected;
    if (!expectedTrack.empty() && !Track::isRandomTrackName(expectedTrack) &&
        findRaceTrack(expectedTrack, Track::tracksFolder(), expected)) {
        // Auto chooses its level once the window is open: on the software renderer a
        // new player has, Low.
        const std::int32_t sizes =
            options.detail == Data::DETAIL_AUTO ? Data::DETAIL_LOW : options.detail;
        for (System::File::PictureRequest& picture : Level::picturesOf(expected, sizes)) {
            pictures.push_back(std::move(picture));
        }
        expectedDescription = std::move(expected);
    }
    prefetch = std::make_unique<System::File::Prefetch>(pictures);
    frameTimes = {};
    detail = options.detail;
    splitScreen = options.splitScreen;
    paused = false;
    stopRequested = false;
    heldKeys.clear();
    int width = static_cast<int>(options.xResolution);
    int height = static_cast<int>(options.yResolution);
    fitWindowToDesktop(width, height, options.fullscreen);
    // The window opens without multisampling, depth or stencil. A software renderer
    // would pay for multisampling in every pixel, and draws the 3D scene into a scaled
    // target with a depth buffer of its own: depth on the window would only hold
    // memory. A hardware renderer draws the scene into the window: it gets a window
    // opened anew, with depth and, where the level asks for it, multisampling.
    const auto openWindow = [&](int depthBits, int samples) {
        renderKernel.reset();
        renderKernel = std::make_unique<Render::RKernel>();
        return renderKernel->init(width, height, depthBits, samples, options.fullscreen) == 0;
    };
    bool opened = openWindow(0, 0);
    const bool software = opened && isSoftwareRenderer(renderKernel->getRendererName());
    autoDetail.reset();
    if (opened && detail == Data::DETAIL_AUTO) {
        autoDetail.emplace(software);
        detail = autoDetail->getLevel();
        logKernel("Auto detail chose " + detailName(detail),
                  (software ? "software renderer " : "renderer ") +
                      renderKernel->getRendererName());
    }
    softwareRenderer = software;
    if (opened && software) {
        applySceneScale();
    }
    // The scene is drawn into the window itself: on hardware, or where the scaled
    // target could not be made.
    if (opened && renderKernel->getSceneTarget().get() == renderKernel->getScreen().get()) {
        const bool multisampling =
            !software && options.fsaaSamples != 0 && DetailSettings::of(detail).multisampling;
        opened = openWindow(options.colorDepth, multisampling ? options.fsaaSamples : 0);
    }
    if (!opened) {
        Tool::LogManager::getInstance().send(Tool::Message("Game::Kernel",
                                                           "Render::Kernel initialised .. [Failed]",
                                                           "", __FILE__, __LINE__, Tool::MT_ERROR));
        prefetch.reset();
        return false;
    }
    // The race keeps one copy of each picture: its texture.
    renderKernel->setReleasePicturesOnUpload(true);
    applySceneScale();
    logKernel("Render::Kernel initialised .. [OK]");
    // A close or Escape from the first moment the window shows ends the race.
    installHandlers();
    // Sound: one device for the race, unless both volumes are off.
    raceSounds.reset();
    if (options.soundVolume > 0 || options.musicVolume > 0) {
        raceSounds = std::make_unique<RaceSounds>(options.soundVolume, options.musicVolume);
    }

    for (const char* font : fontNames) {
        System::File::loadFont({font, fontFolder});
        renderKernel->prepareTexture(Data::FontManager::getInstance().getFont(font)->image);
    }
    logKernel("Fonts initialised .. [OK]");

    showStatus("Initialised Renderkernel");

    if (!physX->start(physicsSDK, *outputStream)) {
        prefetch.reset();
        return false;
    }
    logKernel("PhysX SDK and Cooking initialised .. [OK]");
    showStatus("Initialised PhysX");

    overlay = std::make_unique<Frame>(renderKernel.get());
    showStatus("Initialised frame Overlay .. ");

    initialised = true;
    logKernel("Game::Kernel initialised .. [OK]");
    return true;
}

void Kernel::applySceneScale() {
    renderKernel->setSceneScale(softwareRenderer ? DetailSettings::of(detail).softwareRenderScale
                                                 : 1.0f);
}

void Kernel::installHandlers() {
    Platform::enable(Platform::Feature::KeyRepeat);
    Platform::setKeyCallback([this](int key, int action) { handleKey(key, action); });
    Platform::setCharCallback([](int, int) {});
    Platform::setMouseButtonCallback(
        [this](int button, int action) { handleMouseButton(button, action); });
    Platform::setMousePosCallback([this](int x, int y) { handleMousePosition(x, y); });
    Platform::setMouseWheelCallback([this](int position) { handleMouseWheel(position); });
    // Closing the window ends the race; the window itself stays until shutdown.
    Platform::setWindowCloseCallback([this] {
        stop();
        return false;
    });
}

void Kernel::removeHandlers() {
    Platform::setKeyCallback({});
    Platform::setCharCallback({});
    Platform::setMouseButtonCallback({});
    Platform::setMousePosCallback({});
    Platform::setMouseWheelCallback({});
    Platform::setWindowCloseCallback({});
}

void Kernel::shutdown() {
    prefetch.reset();
    // The level's GPU resources must go while the window's context still exists.
    if (!players.empty()) {
        releaseAllPlayers();
    }
    if (level) {
        releaseLevel();
    }
    raceDirector.reset();
    padDrivers.reset();
    detach(static_cast<RaceEventListener*>(raceSounds.get()));
    raceSounds.reset();
    raceOverlay.reset();
    wayAheads.clear();
    miniMap.reset();
    nameTags.reset();
    debugDialog.reset();
    pauseMenu.reset();
    overlay.reset();
    loadingScreen.reset();
    renderKernel.reset();
    logKernel("Render::Kernel shutdown .. [OK]");
    if (physX->stop(physicsSDK)) {
        logKernel("PhysX SDK and Cooking shutdown .. [OK]");
    }
    removeHandlers();
    initialised = false;
    logKernel("Game::Kernel shutdown .. [OK]");
}

bool Kernel::createLevel(const unsigned int& laps, const std::string& track) {
    // A random track's seed is written plainly, so that its high scores fall under one name.
    std::uint32_t seed = 0;
    trackName = Track::randomTrackSeed(track, seed) ? Track::randomTrackName(seed) : track;
    showStatus("create level...");
    level = std::make_unique<Level>(physicsSDK, detail, renderKernel.get(), &input);
    showStatus("loading Level...");
    Track::TrackDesc description;
    bool found = false;
    if (expectedDescription && track == expectedTrack) {
        // Read already by initialise.
        description = std::move(*expectedDescription);
        found = true;
    } else {
        found = findRaceTrack(track, Track::tracksFolder(), description);
    }
    const bool built = found && level->buildTrack(description, laps);
    // Pictures decoded for another track or detail level than the one built go unused.
    prefetch.reset();
    expectedTrack.clear();
    expectedDescription.reset();
    if (!built) {
        Tool::LogManager::getInstance().send(Tool::Message(
            "Brumbly", "Game::Kernel loaded level .. [Failed]", "", Tool::MT_MESSAGE));
        return false;
    }
    logKernel("Game::Kernel loaded level .. [OK]");
    return true;
}

void Kernel::releaseLevel() {
    level.reset();
    logKernel("Game::Kernel unloaded level .. [OK]");
}

bool Kernel::createPlayer(std::shared_ptr<Data::Profile> profile, const glm::vec3& colour,
                          int gamepad) {
    if (!level || !profile || players.size() >= level->getStartPositions().size()) {
        return false;
    }
    showStatus("create Player " + profile->getName() + " ...");
    auto vehicle = level->createVehicleObject(
        describePlayerCar(profile->getName(), profile->controls), colour);
    // A refused car (a clash of names, a model that did not load) makes no player.
    if (!vehicle) {
        return false;
    }
    players.push_back(
        {profile, vehicle, colour, profile->controls.aiEnabled ? noGamepad : gamepad});
    logKernel("Game::Kernel created Player..", profile->getName());
    return true;
}

bool Kernel::releaseAllPlayers() {
    padDrivers.reset();
    players.clear();
    return true;
}

void Kernel::stop() {
    running = false;
    stopRequested = true;
    logKernel("Game::Kernel stopped game .. [OK]");
}

bool Kernel::attach(RaceEventListener* listener) {
    return attachTo(raceListeners, listener);
}

void Kernel::detach(RaceEventListener* listener) {
    detachFrom(raceListeners, listener);
}

void Kernel::handleKey(int key, int action) {
    if (action == Platform::PRESS) {
        heldKeys.insert(key);
    } else if (action == Platform::RELEASE) {
        heldKeys.erase(key);
    }
    if (!paused) {
        input.sendKey(key, action);
    }
    if (action != Platform::PRESS || debugKeys.handle(key, debugDialog.get())) {
        return;
    }
    // Before the race runs (the level still loading) there is no menu: Escape leaves.
    if (key == Platform::KEY_ESC && !running) {
        stop();
        return;
    }
    const bool results = raceDirector && raceDirector->areResultsShown();
    // P pauses unless a driver steers with it.
    const bool pauseKey = key == Platform::KEY_PAUSE || key == Platform::KEY_ESC ||
                          (key == 'P' && !(level && level->isDrivingKey(key)));
    if (key == Platform::KEY_HOME && level) {
        level->previousCamera();
    } else if (key == Platform::KEY_END && level) {
        level->nextCamera();
    } else if (paused && pauseKey) {
        setPaused(false);
    } else if (paused && pauseMenu) {
        if (const std::optional<PauseMenu::Item> item = pauseMenu->handleKey(key)) {
            pick(*item);
        }
    } else if (results && (key == Platform::KEY_ESC || key == Platform::KEY_ENTER ||
                           key == Platform::KEY_KP_ENTER)) {
        stop();
    } else if (pauseKey && !results) {
        setPaused(true);
    } else if ((key == Platform::KEY_ENTER || key == Platform::KEY_KP_ENTER) && raceDirector &&
               raceDirector->canFinishNow()) {
        raceDirector->finishNow();
    }
}

void Kernel::setPaused(bool on) {
    paused = on;
    if (pauseMenu) {
        if (paused) {
            pauseMenu->open();
        } else {
            pauseMenu->close();
        }
    }
    if (raceSounds && paused) {
        raceSounds->pause();
    } else if (raceSounds) {
        raceSounds->resume();
    }
    if (!paused) {
        matchHeldKeys();
    }
}

void Kernel::pick(int item) {
    setPaused(false);
    if (item == PauseMenu::RESTART) {
        restartAsked = true;
    } else if (item == PauseMenu::END_RACE && !(raceDirector && raceDirector->finishNow())) {
        // Without a finisher there are no results to show.
        stop();
    }
}

void Kernel::matchHeldKeys() {
    const auto isDown = [this](int key) {
        return heldKeys.count(key) > 0 || Platform::getKey(key) == Platform::PRESS;
    };
    for (const Player& player : players) {
        if (player.gamepad == noGamepad) {
            player.vehicle->matchKeys(isDown);
        }
    }
}

void Kernel::restartRace() {
    restartAsked = false;
    logKernel("Game::Kernel restarting race");
    const std::vector<Player> drivers = players;
    const unsigned laps = level ? level->getLaps() : 0;
    raceDirector.reset();
    padDrivers.reset();
    raceOverlay.reset();
    wayAheads.clear();
    miniMap.reset();
    nameTags.reset();
    debugDialog.reset();
    pauseMenu.reset();
    players.clear();
    releaseLevel();
    // A fresh overlay: the race's dialogs are built anew.
    overlay = std::make_unique<Frame>(renderKernel.get());
    if (!createLevel(laps, trackName)) {
        stop();
        return;
    }
    for (const Player& driver : drivers) {
        createPlayer(driver.profile, driver.colour, driver.gamepad);
    }
    startRun();
}

void Kernel::handleMouseButton(int button, int action) {
    if (!paused) {
        input.sendMouseButton(button, action);
    }
}

void Kernel::handleMousePosition(int x, int y) {
    if (paused) {
        return;
    }
    input.sendMouseMove(x, y);
    Platform::setMousePos(0, 0);
}

void Kernel::handleMouseWheel(int position) {
    if (paused) {
        return;
    }
    input.sendMouseWheel(position);
    Platform::setMouseWheel(0);
}

void Kernel::startRun() {
    // The loading picture is not drawn during the race: its texture (3 MB at 1024 x 768)
    // goes with it.
    if (loadingScreen) {
        renderKernel->releaseTexture(loadingScreen->getImage());
        loadingScreen.reset();
    }
    running = true;
    paused = false;
    restartAsked = false;
    fpsTimeSum = 0.0f;
    fpsFrameCount = 0;
    Platform::swapInterval(0);
    chooseViews();
    std::vector<std::string> names;
    std::vector<glm::vec3> colours;
    std::vector<Entrant> entrants;
    std::vector<HelpDriver> keyboardDrivers;
    for (const Player& player : players) {
        const Data::Profile& profile = *player.profile;
        names.push_back(profile.getName());
        colours.push_back(player.colour);
        entrants.push_back({profile.getName(), !profile.controls.aiEnabled});
        if (player.gamepad != noGamepad) {
            keyboardDrivers.push_back(
                {profile.getName(),
                 {"Right trigger", "Left trigger", "Left stick", "d-pad", "A or B"}});
        } else if (!profile.controls.aiEnabled) {
            HelpDriver help{profile.getName(), {}};
            const std::array<std::uint32_t, 5> bindings = profile.controls.bindings();
            std::transform(bindings.begin(), bindings.end(), help.keys.begin(),
                           [](std::uint32_t key) { return Data::KeyTable::name(key); });
            keyboardDrivers.push_back(std::move(help));
        }
    }
    if (overlay) {
        raceOverlay = RaceOverlay::create(*overlay, names, colours);
        createWayAheads();
        miniMap = level ? MiniMap::create(*level) : nullptr;
        nameTags = std::make_unique<NameTags>(names, colours);
        pauseMenu = PauseMenu::create(*overlay);
        debugDialog = DebugDialog::create(*overlay, keyboardDrivers);
        if (debugDialog) {
            debugDialog->setFrustumCulling(debugKeys.isFrustumCulling());
            debugDialog->show(false);
        }
    }
    createPadDrivers();
    if (raceSounds) {
        raceSounds->startMusic();
        attach(static_cast<RaceEventListener*>(raceSounds.get()));
    }
    raceDirector = std::make_unique<RaceDirector>(
        overlay.get(), std::move(entrants), level ? level->getLaps() : 0,
        level && !Track::isRandomTrackName(trackName) ? level->getName() : trackName, highScoreFile,
        raceListeners);
    previousFrame = Platform::getTime();
    runStart = previousFrame;
    logKernel("Game::Kernel running game .. [OK]");
}

void Kernel::createWayAheads() {
    wayAheads.clear();
    if (!raceOverlay) {
        return;
    }
    const std::size_t people = std::count_if(players.begin(), players.end(), [](const Player& p) {
        return !p.profile->controls.aiEnabled;
    });
    // A notice on a shared view says whose car it means.
    const bool named = people > 1 && views->getPlayers().empty();
    for (std::size_t i = 0; i < players.size(); ++i) {
        const Player& player = players[i];
        wayAheads.push_back(player.profile->controls.aiEnabled
                                ? nullptr
                                : WayAhead::create(*overlay, raceOverlay->getPanels()[i], i,
                                                   player.profile->getName(), named));
    }
}

void Kernel::createPadDrivers() {
    static WindowGamepads windowGamepads;
    padDrivers =
        std::make_unique<PadDrivers>(gamepadReader != nullptr ? *gamepadReader : windowGamepads);
    for (const Player& player : players) {
        if (player.gamepad != noGamepad) {
            input.detach(static_cast<KeyEventListener*>(player.vehicle.get()));
            padDrivers->add(player.profile->getName(), *player.vehicle, player.gamepad,
                            overlay.get());
        }
    }
}

void Kernel::readPads() {
    if (!padDrivers) {
        return;
    }
    const bool results = raceDirector && raceDirector->areResultsShown();
    const PadDrivers::Requests asked = padDrivers->update(paused);
    // Start works as Escape does, the d-pad and A as Up, Down and Enter in the pause
    // menu; a pad pulled out pauses the race.
    if (!asked.pause && paused && pauseMenu) {
        for (const int key : asked.menuKeys) {
            if (const std::optional<PauseMenu::Item> item = pauseMenu->handleKey(key)) {
                pick(*item);
                return;
            }
        }
    }
    if (asked.pause && paused) {
        setPaused(false);
    } else if (asked.pause && results) {
        stop();
    } else if ((asked.pause || asked.lost) && !paused && !results) {
        setPaused(true);
    }
}

void Kernel::updateWayAheads(double dt) {
    if (!level || level->getCheckpoints().empty()) {
        return;
    }
    for (std::size_t i = 0; i < wayAheads.size(); ++i) {
        if (!wayAheads[i]) {
            continue;
        }
        const VehicleObject& car = *players[i].vehicle;
        const TrackPoint& next =
            level->getCheckpoints()[static_cast<std::size_t>(car.getNextCheckpoint())];
        wayAheads[i]->update(car.getRotation(), {car.getPosition().x, car.getPosition().z},
                             {next.x, next.z}, dt);
    }
}

void Kernel::drawViewMarks() {
    if (!level) {
        return;
    }
    std::vector<MapCar> cars;
    std::vector<glm::vec3> positions;
    for (const Player& player : players) {
        const glm::vec3& position = player.vehicle->getPosition();
        cars.push_back({{position.x, position.z}, player.colour});
        positions.push_back(position);
    }
    const glm::vec2 screen = screenSize(*renderKernel);
    const ViewLayout layout =
        views->layoutFor(static_cast<int>(screen.x), static_cast<int>(screen.y));
    const std::vector<CameraPtr> cameras = views->getCameras(*level);
    for (std::size_t view = 0; view < cameras.size(); ++view) {
        if (!cameras[view]) {
            continue;
        }
        const ViewRect& area = layout.getViews()[view];
        const PixelRect rect{static_cast<float>(area.x), static_cast<float>(area.y),
                             static_cast<float>(area.width), static_cast<float>(area.height)};
        const std::shared_ptr<VehicleObject> viewed = level->getCameraCar(cameras[view]->getName());
        std::optional<std::size_t> own;
        for (std::size_t i = 0; i < players.size(); ++i) {
            if (players[i].vehicle == viewed) {
                own = i;
            }
        }
        if (nameTags) {
            nameTags->draw(*renderKernel, rect, *cameras[view]->getCamera(), positions, own);
        }
        if (miniMap) {
            miniMap->draw(*renderKernel, rect, cars, own);
        }
    }
}

void Kernel::chooseViews() {
    if (!level) {
        return;
    }
    std::vector<PlayerViews::Person> people;
    for (std::size_t i = 0; i < players.size(); ++i) {
        if (!players[i].profile->controls.aiEnabled) {
            people.push_back({i, players[i].vehicle->getName()});
        }
    }
    views->choose(*level, people, players.size(), splitScreen);
}

std::vector<PlayerStanding> Kernel::collectStandings() const {
    std::vector<PlayerStanding> standings;
    if (!level) {
        return standings;
    }
    const std::vector<TrackPoint>& checkpoints = level->getCheckpoints();
    for (const Player& player : players) {
        const VehicleObject& car = *player.vehicle;
        PlayerStanding standing;
        standing.name = player.profile->getName();
        standing.currentLap = car.getCurrentLap();
        standing.nextCheckpoint = car.getNextCheckpoint();
        standing.lastCheckpoint = car.getLastCheckpoint();
        if (!checkpoints.empty()) {
            const TrackPoint& next = checkpoints[static_cast<std::size_t>(car.getNextCheckpoint())];
            standing.distanceToCheckpoint =
                std::hypot(car.getPosition().x - next.x, car.getPosition().z - next.z);
        }
        standing.lapTime = car.getLapTime();
        standing.lapTimes = car.getLapTimes();
        standing.bestLap = car.getBestLap();
        standing.finished = car.isFinished();
        standings.push_back(std::move(standing));
    }
    return standings;
}

void Kernel::updateRace(double dt) {
    const std::vector<PlayerStanding> standings = collectStandings();
    const bool started = raceDirector && raceDirector->isRaceStarted();
    if (raceDirector) {
        raceDirector->update(dt, standings);
        // Keys pressed or let go during a pause in the countdown count from "GO!".
        if (!started && raceDirector->isRaceStarted()) {
            matchHeldKeys();
        }
    }
    updateWayAheads(dt);
    if (raceOverlay && level) {
        const double raceTime = level->getRaceTime();
        raceOverlay->update(raceDirector ? raceDirector->clock(raceTime) : raceTime,
                            level->getName(), level->getLaps(), standings);
    }
}

void Kernel::frame() {
    const double frameStart = seconds();
    const double processorStart = processorSeconds();
    const double now = Platform::getTime();
    const double dt = now - previousFrame;
    Platform::pollEvents();
    if (restartAsked) {
        // Building the level takes a while: the new race's clock starts afterwards.
        restartRace();
        previousFrame = Platform::getTime();
        return;
    }
    readPads();
    if (!paused) {
        const double updateStart = seconds();
        if (level) {
            level->setRaceStarted(!raceDirector || raceDirector->isRaceStarted());
            level->update(dt);
        }
        frameTimes.updates.push_back(seconds() - updateStart);
        if (overlay) {
            overlay->update(dt);
        }
        updateRace(dt);
        if (raceSounds && level) {
            raceSounds->update(dt, *level);
        }
    }
    if (debugDialog && debugDialog->isShown()) {
        ++fpsFrameCount;
        fpsTimeSum += static_cast<float>(dt);
        if (fpsFrameCount >= 10) {
            debugDialog->setFrameRate(fpsTimeSum / static_cast<float>(fpsFrameCount));
            fpsFrameCount = 0;
            fpsTimeSum = 0.0f;
        }
    }
    renderKernel->setTime(static_cast<float>(now));
    renderKernel->setDrawStrategy(debugKeys.getRenderMode());
    renderKernel->setFrustumCulling(debugKeys.isFrustumCulling());

    if (level) {
        level->renderShadows();
    }
    renderKernel->setRenderTarget(renderKernel->getSceneTarget());
    glPolygonMode(GL_FRONT_AND_BACK, debugKeys.isWireframe() ? GL_LINE : GL_FILL);
    if (level) {
        views->draw(*level, *renderKernel);
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    renderKernel->presentScene();
    if (raceOverlay) {
        // The views follow the window's shape: their panels move with them.
        views->arrange(*raceOverlay, wayAheads, renderKernel->getScreen()->getWidth(),
                       renderKernel->getScreen()->getHeight());
    }
    drawViewMarks();
    if (overlay) {
        overlay->draw();
    }
    renderKernel->getScreen()->end();

    const double presented = seconds();
    if (frameTimes.frames.empty()) {
        frameTimes.startUp = presented - initialiseStart;
    }
    frameTimes.frames.push_back(presented - frameStart);
    frameTimes.processorTimes.push_back(processorSeconds() - processorStart);
    if (autoDetail && autoDetail->addFrame(presented - frameStart)) {
        const bool lower = autoDetail->getLevel() < detail;
        detail = autoDetail->getLevel();
        logKernel(std::string("Auto detail ") + (lower ? "lowered" : "raised") + " to " +
                  detailName(detail));
        if (level) {
            level->setDetail(detail);
        }
        applySceneScale();
    }
    previousFrame = now;
    if (runDuration > 0.0 && now - runStart >= runDuration) {
        stop();
    }
}

void Kernel::logRaceEnd() const {
    if (!level) {
        return;
    }
    std::ostringstream details;
    details << std::fixed << std::setprecision(2) << "race time " << level->getRaceTime() << " s";
    for (const Player& player : players) {
        const VehicleObject& car = *player.vehicle;
        details << "; " << player.profile->getName() << ": lap " << car.getCurrentLap() << " of "
                << level->getLaps() << (car.isFinished() ? " finished" : "") << ", "
                << car.getLapTimes().size() << " laps done, " << car.getDistanceDriven()
                << " driven";
    }
    logKernel("Game::Kernel race ended", details.str());
}

void Kernel::run() {
    if (!initialised || !renderKernel) {
        return;
    }
    if (stopRequested) {
        stopRequested = false;
        logKernel("Game::Kernel race ended before its start");
        return;
    }
    startRun();
    // A window gone by any way leaves nothing to race in.
    while (running && Platform::isWindowOpen()) {
        frame();
    }
    stopRequested = false;
    logRaceEnd();
}

} // namespace Game
