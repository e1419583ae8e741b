// The kernel's life cycle, a second race in the same process, its keys, and a race
// from the countdown to the results.
#include "Game/Kernel.h"
#include "Data/HighScores.h"
#include "Data/Options.h"
#include "Data/Profile.h"
#include "Game/RaceEventListener.h"
#include "Game/input/PadDrivers.h"
#include "Game/level/Level.h"
#include "Game/overlay/DebugDialog.h"
#include "Game/overlay/PauseMenu.h"
#include "Game/overlay/RaceOverlay.h"
#include "Game/overlay/TextDialog.h"
#include "Game/race/RaceDirector.h"
#include "Game/views/PlayerViews.h"
#include "Game/views/WayAhead.h"
#include "Platform/Window.h"
#include "Render/FrameCapture.h"
#include "ScriptedPad.h"
#include "VehicleTestSupport.h"

#include <GLFW/glfw3.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>

using namespace GameTest;

namespace {

// The countdown steps it was told of.
class CountdownListener : public Game::RaceEventListener {
public:
    void onCountdown(int step) override { steps.push_back(step); }
    void onFinish(std::size_t, int, double) override {}
    void onResults() override { results = true; }

    std::vector<int> steps;
    bool results = false;
};

// How far the car is from where it was, in the ground plane.
float movedFrom(const Game::VehicleObject& car, const glm::vec3& start) {
    return glm::length(glm::vec2(car.getPosition().x - start.x, car.getPosition().z - start.z));
}

std::string textOf(const Game::DialogPtr& dialog, const std::string& name) {
    return Game::findText(dialog, name)->getText();
}

// The titles the kernel logged, in order.
std::vector<std::string> kernelTitles(const RenderTest::LogRecorder& log) {
    std::vector<std::string> titles;
    for (const Tool::Message& message : log.messages) {
        if (message.getAuthor() == "Game::Kernel") {
            titles.push_back(message.getTitle());
        }
    }
    return titles;
}

} // namespace

class KernelTest : public ::testing::Test {
protected:
    void SetUp() override {
        useBinFolder();
        // Tests run one after another in one process share the kernel.
        kernel.setRunDuration(0.0);
    }
    void TearDown() override {
        if (kernel.isInitialised()) {
            kernel.shutdown();
        }
        kernel.setGamepadReader(nullptr);
    }

    // A race with the drivers, ready to run.
    void prepareRace(const std::vector<std::string>& drivers, unsigned laps = 3) {
        ASSERT_TRUE(kernel.initialise(Data::Options(640, 480)));
        ASSERT_TRUE(kernel.createLevel(laps));
        for (const std::string& name : drivers) {
            ASSERT_TRUE(kernel.createPlayer(driver(name), {255, 0, 0}));
        }
    }

    // Runs frames until "GO!" (the countdown runs on the clock).
    void frameUntilStarted() {
        for (int i = 0; i < 100000 && !kernel.getRaceDirector()->isRaceStarted(); ++i) {
            kernel.frame();
        }
        ASSERT_TRUE(kernel.getRaceDirector()->isRaceStarted());
    }

    // Runs frames until the race clock has gone on by `seconds`.
    void raceFor(double seconds) {
        const double until = kernel.getLevel()->getRaceTime() + seconds;
        for (int i = 0; i < 100000 && kernel.getLevel()->getRaceTime() < until; ++i) {
            kernel.frame();
        }
    }

    // Takes the car round through every checkpoint and back over the line, a frame at
    // each.
    void lapThroughTheCheckpoints(Game::VehicleObject& car) {
        const std::vector<Game::TrackPoint>& checkpoints = kernel.getLevel()->getCheckpoints();
        std::vector<Game::TrackPoint> route(checkpoints.begin(), checkpoints.end());
        route.push_back(checkpoints.front());
        for (const Game::TrackPoint& point : route) {
            car.placeAt(point);
            kernel.frame();
        }
    }

    Game::Kernel& kernel = Game::Kernel::getInstance();
};

TEST_F(KernelTest, RunsTwoRacesInOneProcessThroughTheWholeLifeCycle) {
    for (int race = 0; race < 2; ++race) {
        RenderTest::LogRecorder log;
        EXPECT_FALSE(kernel.createPlayer(driver("Early"), {}));
        // The second race is drawn at the lowest detail: the level is built for it.
        Data::Options options(640, 480);
        options.detail = race == 0 ? Data::DETAIL_HIGH : Data::DETAIL_LOW;
        ASSERT_TRUE(kernel.initialise(options));
        const std::size_t before = log.messages.size();
        EXPECT_FALSE(kernel.initialise(Data::Options(640, 480)));
        EXPECT_EQ(log.messages.size(), before) << "a second initialise logs nothing";
        EXPECT_FALSE(kernel.createPlayer(driver("Early"), {})) << "no level yet";
        ASSERT_TRUE(kernel.createLevel(2));
        ASSERT_TRUE(kernel.getLevel()->getShadowMap());
        EXPECT_EQ(kernel.getLevel()->getShadowMap()->getWidth(),
                  Game::DetailSettings::of(options.detail).shadowMapSize);
        for (const char* name : {"Ann", "Ben", "Cid"}) {
            EXPECT_TRUE(kernel.createPlayer(driver(name), {0, 0, 255}));
        }
        EXPECT_FALSE(kernel.createPlayer(driver("Dan"), {})) << "three start positions";
        EXPECT_EQ(kernel.getPlayers().size(), 3u);

        kernel.setRunDuration(0.3);
        kernel.run();
        EXPECT_FALSE(kernel.isRunning());
        EXPECT_EQ(kernel.getViews().getPlayers(), (std::vector<std::size_t>{0, 1, 2}))
            << "three people racing get a view each";
        ASSERT_NE(kernel.getRaceOverlay(), nullptr) << "fresh dialogs in race " << race;
        EXPECT_EQ(kernel.getRaceOverlay()->getPanels().size(), 3u);
        const Game::Kernel::FrameTimes& times = kernel.getFrameTimes();
        EXPECT_GT(times.frames.size(), 0u);
        ASSERT_EQ(times.processorTimes.size(), times.frames.size());
        EXPECT_GT(times.processorTimes.front(), 0.0) << "drawing a frame takes processor time";

        EXPECT_TRUE(kernel.releaseAllPlayers());
        kernel.releaseLevel();
        kernel.shutdown();
        EXPECT_TRUE(kernel.getInput().getKeyListeners().empty());
        EXPECT_TRUE(kernel.getInput().getMouseListeners().empty());
        const std::vector<std::string> expected = {"Render::Kernel initialised .. [OK]",
                                                   "Fonts initialised .. [OK]",
                                                   "PhysX SDK and Cooking initialised .. [OK]",
                                                   "Game::Kernel initialised .. [OK]",
                                                   "Game::Kernel loaded level .. [OK]",
                                                   "Game::Kernel created Player..",
                                                   "Game::Kernel created Player..",
                                                   "Game::Kernel created Player..",
                                                   "Game::Kernel running game .. [OK]",
                                                   "Game::Kernel stopped game .. [OK]",
                                                   "Game::Kernel race ended",
                                                   "Game::Kernel unloaded level .. [OK]",
                                                   "Render::Kernel shutdown .. [OK]",
                                                   "PhysX SDK and Cooking shutdown .. [OK]",
                                                   "Game::Kernel shutdown .. [OK]"};
        EXPECT_EQ(kernelTitles(log), expected) << "race " << race;
    }
}

// A close of the window or Escape while the race loads (the loading screen hands the
// window's events over as it presents) ends the race before its first frame, and the
// next race runs as ever.
TEST_F(KernelTest, AWindowClosedOrEscapedWhileLoadingEndsTheRaceBeforeItsStart) {
    const std::function<void()> closeTheWindow = [] {
        GLFWwindow* window = glfwGetCurrentContext();
        const GLFWwindowclosefun close = glfwSetWindowCloseCallback(window, nullptr);
        glfwSetWindowCloseCallback(window, close);
        glfwSetWindowShouldClose(window, GLFW_TRUE);
        close(window);
    };
    const std::function<void()> pressEscape = [this] {
        kernel.handleKey(Platform::KEY_ESC, Platform::PRESS);
        kernel.handleKey(Platform::KEY_ESC, Platform::RELEASE);
    };
    for (const auto& endEarly : {closeTheWindow, pressEscape}) {
        RenderTest::LogRecorder log;
        ASSERT_TRUE(kernel.initialise(Data::Options(640, 480)));
        endEarly();
        ASSERT_TRUE(kernel.createLevel(1));
        ASSERT_TRUE(kernel.createPlayer(driver("Ann"), {255, 0, 0}));
        // A bound for a kernel that would ignore the early end.
        kernel.setRunDuration(5.0);
        kernel.run();
        EXPECT_TRUE(kernel.getFrameTimes().frames.empty());
        EXPECT_NE(log.find("Game::Kernel race ended before its start"), nullptr);
        EXPECT_TRUE(Platform::isWindowOpen()) << "the window stays until shutdown";
        kernel.shutdown();
    }
    prepareRace({"Ann"});
    kernel.setRunDuration(0.2);
    kernel.run();
    EXPECT_FALSE(kernel.getFrameTimes().frames.empty());
}

TEST_F(KernelTest, ARefusedCarMakesNoPlayer) {
    prepareRace({"Ann"});
    EXPECT_FALSE(kernel.createPlayer(driver("ANN"), {}))
        << "car names clash without regard to letter case";
    EXPECT_EQ(kernel.getPlayers().size(), 1u);
    kernel.setRunDuration(0.1);
    kernel.run();
    EXPECT_EQ(kernel.getRaceOverlay()->getPanels().size(), 1u);
}

TEST_F(KernelTest, PauseFreezesTheRaceButNotTheKernelKeys) {
    prepareRace({"Ann", "Ben"});
    kernel.startRun();
    frameUntilStarted();
    kernel.handleKey(Platform::KEY_UP, Platform::PRESS);
    for (int i = 0; i < 5; ++i) {
        kernel.frame();
    }
    kernel.handleKey(Platform::KEY_PAUSE, Platform::PRESS);
    EXPECT_TRUE(kernel.isPaused());
    EXPECT_TRUE(kernel.getPauseMenu()->isOpen());
    const double raceTime = kernel.getLevel()->getRaceTime();
    const glm::vec3 carAt = kernel.getPlayers()[0].vehicle->getPosition();
    const std::size_t frames = kernel.getFrameTimes().frames.size();

    kernel.handleKey(Platform::KEY_F1, Platform::PRESS);
    for (int i = 0; i < 3; ++i) {
        kernel.handleKey(Platform::KEY_F4, Platform::PRESS);
    }
    kernel.handleKey(Platform::KEY_F2, Platform::PRESS);
    Platform::setMousePos(7, 9);
    kernel.handleMousePosition(3, 4);
    for (int i = 0; i < 12; ++i) {
        kernel.frame();
    }
    EXPECT_EQ(kernel.getLevel()->getRaceTime(), raceTime);
    EXPECT_EQ(kernel.getPlayers()[0].vehicle->getPosition(), carAt);
    EXPECT_EQ(kernel.getFrameTimes().frames.size(), frames + 12) << "frames go on";
    EXPECT_TRUE(kernel.getDebugDialog()->isShown());
    EXPECT_NE(kernel.getDebugDialog()->getLabel("FPS")->getText(), "FPS: ....")
        << "the frame rate shows every 10 frames";
    EXPECT_EQ(kernel.getMipmapMode(), 0);
    EXPECT_EQ(kernel.getDebugDialog()->getLabel("F4text")->getText(), "Off");
    EXPECT_TRUE(kernel.isWireframe());
    int x = 0, y = 0;
    Platform::getMousePos(x, y);
    EXPECT_EQ(glm::ivec2(x, y), glm::ivec2(7, 9)) << "paused: the mouse is left alone";

    kernel.handleKey(Platform::KEY_PAUSE, Platform::PRESS);
    // The race clock moves in whole physics steps: a frame quicker than one may not
    // complete a step yet.
    for (int i = 0; i < 10 && kernel.getLevel()->getRaceTime() == raceTime; ++i) {
        kernel.frame();
    }
    EXPECT_GT(kernel.getLevel()->getRaceTime(), raceTime);
    kernel.handleKey(Platform::KEY_F2, Platform::PRESS);
}

TEST_F(KernelTest, EachPersonRacingWatchesTheirOwnCarAndSeesTheWayAhead) {
    struct Field {
        std::vector<std::pair<std::string, bool>> drivers; // name, computer-driven
        bool splitScreen;
        std::vector<std::string> views;  // the camera each view shows
        std::vector<std::size_t> viewed; // the player each view follows; none: shared
    };
    const std::string overview = "Overview";
    const auto chase = [](const std::string& name) {
        return "VehicleObject_" + name + "_DefaultCamera";
    };
    const std::vector<Field> fields = {
        {{{"Ann", false}}, true, {chase("Ann")}, {}},
        {{{"Bot", true}, {"Ann", false}, {"Cpu", true}}, true, {chase("Ann")}, {}},
        {{{"Ann", false}, {"Ben", false}}, true, {chase("Ann"), chase("Ben")}, {0, 1}},
        {{{"Ann", false}, {"Bot", true}, {"Ben", false}},
         true,
         {chase("Ann"), chase("Ben")},
         {0, 2}},
        {{{"Ann", false}, {"Ben", false}, {"Cid", false}},
         true,
         {chase("Ann"), chase("Ben"), chase("Cid")},
         {0, 1, 2}},
        {{{"Bot", true}, {"Cpu", true}, {"Dee", true}}, true, {overview}, {}},
        // Without split screen people share the overview, as computer drivers do.
        {{{"Ann", false}, {"Bot", true}, {"Ben", false}}, false, {overview}, {}},
    };
    for (const Field& field : fields) {
        Data::Options options(640, 480);
        options.splitScreen = field.splitScreen;
        ASSERT_TRUE(kernel.initialise(options));
        ASSERT_TRUE(kernel.createLevel(3));
        for (const auto& [name, computer] : field.drivers) {
            ASSERT_TRUE(kernel.createPlayer(driver(name, computer), {255, 0, 0}));
        }
        kernel.startRun();
        const std::string label = std::to_string(field.drivers.size()) + " drivers, first " +
                                  field.drivers.front().first + ", split " +
                                  (field.splitScreen ? "on" : "off");
        std::vector<std::string> views;
        for (const Game::CameraPtr& camera : kernel.getViews().getCameras(*kernel.getLevel())) {
            views.push_back(camera ? camera->getName() : "none");
        }
        EXPECT_EQ(views, field.views) << label;
        EXPECT_EQ(kernel.getViews().getPlayers(), field.viewed) << label;
        EXPECT_EQ(kernel.getLevel()->getCurrentCamera()->getName(), field.views.front())
            << "Home and End switch the first view: " << label;
        const auto& wayAheads = kernel.getWayAheads();
        ASSERT_EQ(wayAheads.size(), field.drivers.size());
        const bool shared = field.viewed.empty();
        std::size_t people = 0;
        for (std::size_t i = 0; i < wayAheads.size(); ++i) {
            const auto& [name, computer] = field.drivers[i];
            ASSERT_EQ(wayAheads[i] != nullptr, !computer)
                << "the way ahead is shown to people only: " << name;
            people += computer ? 0 : 1;
        }
        for (std::size_t i = 0; i < wayAheads.size(); ++i) {
            if (wayAheads[i]) {
                const std::string& name = field.drivers[i].first;
                EXPECT_EQ(textOf(wayAheads[i]->getNotice(), "Text"),
                          shared && people > 1 ? "Wrong way, " + name + "!" : "Wrong way!")
                    << "a shared screen says whose car drives the wrong way: " << label;
            }
        }
        kernel.stop();
        EXPECT_TRUE(kernel.releaseAllPlayers());
        kernel.releaseLevel();
        kernel.shutdown();
    }
}

namespace {

// Which of the cars' colours (red, blue, magenta) a pixel shows, lit or in shade;
// -1 for none of them.
int carColourAt(fipImage& picture, unsigned x, unsigned y) {
    RGBQUAD pixel{};
    picture.getPixelColor(x, y, &pixel);
    const int r = pixel.rgbRed, g = pixel.rgbGreen, b = pixel.rgbBlue;
    if (r > 60 && b > 60 && 2 * g < std::min(r, b) && std::abs(r - b) * 3 < std::max(r, b)) {
        return 2;
    }
    if (r > 60 && 2 * g < r && 2 * b < r) {
        return 0;
    }
    if (b > 60 && 2 * r < b && 2 * g < b) {
        return 1;
    }
    return -1;
}

bool contains(const Game::DialogRect& outer, const Game::DialogRect& inner) {
    const float slack = 1e-4f;
    return inner.corner.x >= outer.corner.x - slack && inner.corner.y >= outer.corner.y - slack &&
           inner.corner.x + inner.size.x <= outer.corner.x + outer.size.x + slack &&
           inner.corner.y + inner.size.y <= outer.corner.y + outer.size.y + slack;
}

} // namespace

TEST_F(KernelTest, TwoAndThreePeopleEachSeeTheirOwnCarAndPanelInTheirOwnView) {
    const std::vector<std::string> names = {"Ann", "Ben", "Cid"};
    const std::vector<glm::vec3> colours = {{255, 0, 0}, {0, 0, 255}, {255, 0, 255}};
    for (const std::size_t people : {2u, 3u}) {
        ASSERT_TRUE(kernel.initialise(Data::Options(1024, 768)));
        ASSERT_TRUE(kernel.createLevel(3));
        for (std::size_t i = 0; i < people; ++i) {
            ASSERT_TRUE(kernel.createPlayer(driver(names[i]), colours[i]));
        }
        kernel.startRun();
        // The chase cameras settle behind their cars.
        for (int i = 0; i < 20; ++i) {
            kernel.frame();
        }
        fipImage picture;
        ASSERT_TRUE(Render::captureFrame(picture));
        const std::string file =
            ::testing::TempDir() + "split-screen-" + std::to_string(people) + ".png";
        EXPECT_TRUE(picture.save(FIF_PNG, file.c_str())) << file;

        const Game::ViewLayout layout = kernel.getViews().layoutFor(1024, 768);
        ASSERT_EQ(layout.getViews().size(), people);
        ASSERT_EQ(kernel.getViews().getPlayers().size(), people);
        const Game::RaceOverlay& overlay = *kernel.getRaceOverlay();
        for (std::size_t view = 0; view < people; ++view) {
            const std::size_t player = kernel.getViews().getPlayers()[view];
            const Game::ViewRect& rect = layout.getViews()[view];
            // Where the chase camera shows its car: on the view's vertical centre line,
            // in the lower half (a fifth of the width each way, 5 % to 40 % up).
            std::vector<int> seen(colours.size(), 0);
            for (int y = rect.y + rect.height / 20; y < rect.y + 4 * rect.height / 10; ++y) {
                for (int x = rect.x + 3 * rect.width / 10; x < rect.x + 7 * rect.width / 10; ++x) {
                    const int colour =
                        carColourAt(picture, static_cast<unsigned>(x), static_cast<unsigned>(y));
                    if (colour >= 0) {
                        ++seen[static_cast<std::size_t>(colour)];
                    }
                }
            }
            EXPECT_GT(seen[player], 400) << names[player] << "'s car in the middle of view " << view
                                         << " of " << people << ", " << file;
            // Above the hills, below the panels at the top of the view, the sky.
            RGBQUAD sky{};
            picture.getPixelColor(static_cast<unsigned>(rect.x + rect.width / 5),
                                  static_cast<unsigned>(rect.y + rect.height * 9 / 10), &sky);
            EXPECT_GT(sky.rgbBlue, 100) << "sky in view " << view << ", " << file;
            for (std::size_t other = 0; other < people; ++other) {
                if (other != player) {
                    EXPECT_GT(seen[player], 2 * seen[other])
                        << names[player] << "'s view shows " << names[other] << "'s car more";
                }
            }
            const Game::DialogPtr& panel = overlay.getPanels()[player];
            EXPECT_TRUE(contains(layout.toScreen(rect), panel->getAbsoluteRect()))
                << names[player] << "'s panel lies in their own view";
            EXPECT_EQ(textOf(panel, "PlayerName"), names[player]);
            EXPECT_TRUE(panel->isVisible() && panel->isActive());
        }
        // The race time is shown once, in no person's view when a part of the window is free.
        const Game::DialogRect raceTime = overlay.getRacingDialog()->getAbsoluteRect();
        for (const Game::ViewRect& free : layout.getFree()) {
            EXPECT_TRUE(contains(layout.toScreen(free), raceTime));
        }
        kernel.stop();
        EXPECT_TRUE(kernel.releaseAllPlayers());
        kernel.releaseLevel();
        kernel.shutdown();
    }
}

TEST_F(KernelTest, HomeAndEndStepThroughTheCamerasInNameOrder) {
    prepareRace({"Ann"});
    kernel.startRun();
    std::vector<std::string> names;
    for (const auto& entry : kernel.getLevel()->getCameras()) {
        names.push_back(entry.first);
    }
    ASSERT_EQ(names.size(), 3u);
    const std::string start = kernel.getLevel()->getCurrentCamera()->getName();
    EXPECT_EQ(start, "VehicleObject_Ann_DefaultCamera") << "one player keeps the chase view";
    for (std::size_t i = 1; i <= names.size(); ++i) {
        kernel.handleKey(Platform::KEY_END, Platform::PRESS);
    }
    EXPECT_EQ(kernel.getLevel()->getCurrentCamera()->getName(), start) << "End wraps around";
    kernel.handleKey(Platform::KEY_HOME, Platform::PRESS);
    EXPECT_EQ(kernel.getLevel()->getCurrentCamera()->getName(), "Overview");
    kernel.handleKey(Platform::KEY_HOME, Platform::PRESS);
    EXPECT_EQ(kernel.getLevel()->getCurrentCamera()->getName(), names.back()) << "Home wraps";
}

TEST_F(KernelTest, TheCountdownHoldsCarsAndClocksUntilGoAndPauses) {
    ASSERT_TRUE(kernel.initialise(Data::Options(640, 480)));
    ASSERT_TRUE(kernel.createLevel(3));
    ASSERT_TRUE(kernel.createPlayer(driver("Ann"), {255, 0, 0}));
    ASSERT_TRUE(kernel.createPlayer(driver("Bot", true), {0, 0, 255}));
    CountdownListener listener;
    kernel.attach(&listener);
    kernel.startRun();
    const Game::VehicleObject& ann = *kernel.getPlayers()[0].vehicle;
    const Game::VehicleObject& bot = *kernel.getPlayers()[1].vehicle;
    const glm::vec3 annStart = ann.getPosition();
    const glm::vec3 botStart = bot.getPosition();
    // Ann holds the accelerator from the first moment.
    kernel.handleKey(Platform::KEY_UP, Platform::PRESS);
    const Game::RaceDirector& director = *kernel.getRaceDirector();
    bool pausedOnce = false;
    for (int i = 0; i < 100000 && !director.isRaceStarted(); ++i) {
        kernel.frame();
        ASSERT_EQ(kernel.getLevel()->getRaceTime(), 0.0);
        ASSERT_EQ(ann.getLapTime(), 0.0);
        ASSERT_EQ(bot.getLapTime(), 0.0);
        ASSERT_LT(movedFrom(ann, annStart), 0.05f) << "held on its brakes";
        ASSERT_LT(movedFrom(bot, botStart), 0.05f) << "the computer waits as well";
        if (!pausedOnce && director.getCountdownStep() == 2) {
            pausedOnce = true;
            kernel.handleKey(Platform::KEY_PAUSE, Platform::PRESS);
            for (int paused = 0; paused < 10; ++paused) {
                kernel.frame();
            }
            EXPECT_EQ(director.getCountdownStep(), 2) << "the countdown stands while paused";
            EXPECT_TRUE(kernel.getPauseMenu()->isOpen());
            kernel.handleKey(Platform::KEY_PAUSE, Platform::PRESS);
        }
    }
    ASSERT_TRUE(director.isRaceStarted());
    EXPECT_TRUE(pausedOnce);
    ASSERT_GE(listener.steps.size(), 2u);
    EXPECT_EQ(listener.steps.front(), 3);
    EXPECT_EQ(listener.steps.back(), 0);
    EXPECT_TRUE(std::is_sorted(listener.steps.rbegin(), listener.steps.rend()));
    EXPECT_TRUE(director.getCountdown()->isShown());
    EXPECT_EQ(director.getCountdown()->getText(), "GO!");

    // The held key drives at once; the computer sets off too.
    for (int i = 0; i < 100000 && kernel.getLevel()->getRaceTime() < 1.5; ++i) {
        kernel.frame();
    }
    EXPECT_GT(ann.getLapTime(), 1.0);
    EXPECT_GT(movedFrom(ann, annStart), 1.0f);
    EXPECT_GT(movedFrom(bot, botStart), 1.0f);
    kernel.handleKey(Platform::KEY_UP, Platform::RELEASE);
    kernel.detach(&listener);
}

TEST_F(KernelTest, EnterEndsTheRaceOnlyOnceTheResultsAreShown) {
    const std::filesystem::path scores = std::filesystem::temp_directory_path() /
                                         ("brumbly-kernel-" + std::to_string(::getpid()) + ".txt");
    kernel.setHighScoreFile(scores);
    prepareRace({"Ann"}, 1);
    CountdownListener listener;
    kernel.attach(&listener);
    kernel.startRun();
    frameUntilStarted();
    kernel.handleKey(Platform::KEY_ENTER, Platform::PRESS);
    kernel.frame();
    EXPECT_TRUE(kernel.isRunning()) << "Enter does nothing during the race";

    Game::VehicleObject& ann = *kernel.getPlayers()[0].vehicle;
    lapThroughTheCheckpoints(ann);
    ASSERT_TRUE(ann.isFinished());
    kernel.frame();
    const Game::RaceDirector& director = *kernel.getRaceDirector();
    ASSERT_TRUE(director.areResultsShown());
    EXPECT_TRUE(listener.results);
    EXPECT_EQ(director.getResultsPanel()->getRow(0)[1], "Ann");
    EXPECT_EQ(director.getRecords().front().rfind("New record: Ann, best lap", 0), 0u);
    EXPECT_EQ(Data::HighScores::load(scores).get(Data::HighScoreKind::RACE_TIME, 1).size(), 1u);
    for (int i = 0; i < 5; ++i) {
        kernel.frame();
    }
    EXPECT_TRUE(kernel.isRunning()) << "the results wait";
    kernel.handleKey(Platform::KEY_ENTER, Platform::PRESS);
    EXPECT_FALSE(kernel.isRunning());
    kernel.detach(&listener);
    kernel.setHighScoreFile({});
    std::filesystem::remove(scores);
}

TEST_F(KernelTest, EachPauseKeyOpensTheMenuAndKeysHeldThroughThePauseCountOnResuming) {
    prepareRace({"Ann"});
    kernel.startRun();
    frameUntilStarted();
    const Game::VehicleObject& ann = *kernel.getPlayers()[0].vehicle;
    const Game::PauseMenu& menu = *kernel.getPauseMenu();
    for (const int key : {int(Platform::KEY_ESC), int(Platform::KEY_PAUSE), int('P')}) {
        SCOPED_TRACE(key);
        kernel.handleKey(key, Platform::PRESS);
        kernel.handleKey(key, Platform::RELEASE);
        ASSERT_TRUE(kernel.isPaused());
        EXPECT_TRUE(menu.isOpen());
        // The accelerator goes down during the pause; its event does not reach the car.
        kernel.handleKey(Platform::KEY_UP, Platform::PRESS);
        const glm::vec3 pausedAt = ann.getPosition();
        for (int i = 0; i < 5; ++i) {
            kernel.frame();
        }
        EXPECT_EQ(ann.getPosition(), pausedAt);
        EXPECT_NE(ann.getThrottleRamp().mode, Game::ValueRamp::DRIVE_UP);
        kernel.handleKey(key, Platform::PRESS);
        EXPECT_FALSE(kernel.isPaused()) << "the same key resumes";
        EXPECT_FALSE(menu.isOpen());
        EXPECT_EQ(ann.getThrottleRamp().mode, Game::ValueRamp::DRIVE_UP) << "held: it drives on";
        const double resumed = kernel.getLevel()->getRaceTime();
        for (int i = 0; i < 100000 && kernel.getLevel()->getRaceTime() < resumed + 1.5; ++i) {
            kernel.frame();
        }
        EXPECT_GT(movedFrom(ann, pausedAt), 0.5f);
        EXPECT_GT(ann.getThrottle(), 0.9f);

        // Let go during the next pause: the car no longer accelerates afterwards.
        kernel.handleKey(Platform::KEY_ESC, Platform::PRESS);
        kernel.handleKey(Platform::KEY_UP, Platform::RELEASE);
        kernel.handleKey(Platform::KEY_ENTER, Platform::PRESS);
        EXPECT_FALSE(kernel.isPaused()) << "Enter on \"Resume\"";
        EXPECT_EQ(ann.getThrottleRamp().mode, Game::ValueRamp::RETURN);
    }
    EXPECT_TRUE(kernel.isRunning());
}

TEST_F(KernelTest, RestartFromTheMenuGivesACleanRaceEachTime) {
    prepareRace({"Ann", "Ben"}, 2);
    kernel.startRun();
    const std::size_t listeners = kernel.getInput().getKeyListeners().size();
    std::vector<glm::vec3> grid;
    for (const Game::Kernel::Player& player : kernel.getPlayers()) {
        grid.push_back(player.vehicle->getPosition());
    }
    for (int race = 0; race < 2; ++race) {
        SCOPED_TRACE(race);
        frameUntilStarted();
        // Ann drives a lap; the clock runs.
        kernel.handleKey(Platform::KEY_UP, Platform::PRESS);
        Game::VehicleObject& ann = *kernel.getPlayers()[0].vehicle;
        lapThroughTheCheckpoints(ann);
        ASSERT_EQ(ann.getLapTimes().size(), 1u);
        ASSERT_GT(kernel.getLevel()->getRaceTime(), 0.0);

        kernel.handleKey(Platform::KEY_ESC, Platform::PRESS);
        kernel.handleKey(Platform::KEY_DOWN, Platform::PRESS);
        kernel.handleKey(Platform::KEY_ENTER, Platform::PRESS);
        kernel.handleKey(Platform::KEY_UP, Platform::RELEASE);
        kernel.frame();
        ASSERT_TRUE(kernel.isRunning());
        EXPECT_FALSE(kernel.isPaused());
        EXPECT_EQ(kernel.getLevel()->getRaceTime(), 0.0);
        EXPECT_EQ(kernel.getLevel()->getLaps(), 2u);
        ASSERT_EQ(kernel.getPlayers().size(), 2u);
        const Game::RaceDirector& director = *kernel.getRaceDirector();
        EXPECT_FALSE(director.isRaceStarted()) << "a new countdown";
        for (std::size_t i = 0; i < grid.size(); ++i) {
            const Game::VehicleObject& car = *kernel.getPlayers()[i].vehicle;
            EXPECT_EQ(kernel.getPlayers()[i].profile->getName(), i == 0 ? "Ann" : "Ben");
            EXPECT_LT(movedFrom(car, grid[i]), 0.05f) << "back on the grid";
            EXPECT_EQ(car.getCurrentLap(), 1);
            EXPECT_TRUE(car.getLapTimes().empty());
            EXPECT_EQ(car.getNextCheckpoint(), 0);
            EXPECT_EQ(car.getThrottleRamp().mode, Game::ValueRamp::RETURN);
        }
        kernel.frame();
        EXPECT_EQ(textOf(kernel.getRaceOverlay()->getRacingDialog(), "RaceTime"), "00:00:00");
        EXPECT_EQ(kernel.getRaceOverlay()->getRanking(), (std::vector<std::size_t>{0, 1}));
        EXPECT_EQ(kernel.getInput().getKeyListeners().size(), listeners)
            << "the new cars, the old ones gone";
    }
}

TEST_F(KernelTest, EndRaceLeavesAtOnceWhenNobodyHasFinished) {
    prepareRace({"Ann"});
    kernel.startRun();
    frameUntilStarted();
    kernel.handleKey(Platform::KEY_ESC, Platform::PRESS);
    EXPECT_TRUE(kernel.isRunning()) << "Escape only pauses";
    kernel.handleKey(Platform::KEY_UP, Platform::PRESS);
    kernel.handleKey(Platform::KEY_ENTER, Platform::PRESS);
    EXPECT_FALSE(kernel.isRunning());
    EXPECT_FALSE(kernel.getRaceDirector()->areResultsShown());
}

TEST_F(KernelTest, EnterGivesUpBehindAFinishedComputerDriver) {
    const std::filesystem::path scores = std::filesystem::temp_directory_path() /
                                         ("brumbly-giveup-" + std::to_string(::getpid()) + ".txt");
    kernel.setHighScoreFile(scores);
    ASSERT_TRUE(kernel.initialise(Data::Options(640, 480)));
    ASSERT_TRUE(kernel.createLevel(1));
    ASSERT_TRUE(kernel.createPlayer(driver("Ann"), {255, 0, 0}));
    ASSERT_TRUE(kernel.createPlayer(driver("Bot", true), {0, 0, 255}));
    kernel.startRun();
    frameUntilStarted();
    Game::VehicleObject& bot = *kernel.getPlayers()[1].vehicle;
    lapThroughTheCheckpoints(bot);
    ASSERT_TRUE(bot.isFinished());
    kernel.frame();
    const Game::RaceDirector& director = *kernel.getRaceDirector();
    ASSERT_TRUE(director.canFinishNow());
    kernel.handleKey(Platform::KEY_ENTER, Platform::PRESS);
    kernel.frame();
    EXPECT_TRUE(kernel.isRunning()) << "the results wait";
    ASSERT_TRUE(director.areResultsShown());
    EXPECT_EQ(director.getResultsPanel()->getRow(0)[1], "Bot");
    EXPECT_EQ(director.getResultsPanel()->getRow(1)[2], "not finished");
    // The clock stands at the finisher's time.
    const std::string clock = textOf(kernel.getRaceOverlay()->getRacingDialog(), "RaceTime");
    for (int i = 0; i < 5; ++i) {
        kernel.frame();
    }
    EXPECT_EQ(textOf(kernel.getRaceOverlay()->getRacingDialog(), "RaceTime"), clock);
    ASSERT_EQ(bot.getLapTimes().size(), 1u);
    EXPECT_EQ(clock, Game::formatRaceTime(bot.getLapTimes().front()));
    const auto kept = Data::HighScores::load(scores).get(Data::HighScoreKind::RACE_TIME, 1);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept.front().driver, "Bot");
    kernel.handleKey(Platform::KEY_ESC, Platform::PRESS);
    EXPECT_FALSE(kernel.isRunning()) << "Escape leaves the results";
    kernel.setHighScoreFile({});
    std::filesystem::remove(scores);
}

// A track file cut short is refused when its race starts, and the log names the file,
// the line and the fault; the next race on a whole track runs.
TEST_F(KernelTest, ADamagedTrackFileIsRefusedAtRaceStartWithTheFaultLogged) {
    ASSERT_TRUE(kernel.initialise(Data::Options(640, 480)));
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("brumbly-track-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "data" / "tracks");
    std::ifstream shipped(std::string(BRUMBLY_BIN_DIR) + "/data/tracks/TestTrack.track");
    std::string text((std::istreambuf_iterator<char>(shipped)), {});
    text.replace(text.find("name Test Track"), 15, "name Broken");
    // Cut in the middle of a driving line point's record.
    const std::size_t cut = text.find("\nline ", text.size() / 2) + 8;
    std::ofstream(folder / "data" / "tracks" / "Broken.track") << text.substr(0, cut);

    RenderTest::LogRecorder log;
    System::File::init((folder / "Brumbly").string());
    const bool built = kernel.createLevel(3, "Broken");
    useBinFolder();
    std::filesystem::remove_all(folder);
    EXPECT_FALSE(built);
    const Tool::Message* fault = log.find("Reading track file .. [Failed]");
    ASSERT_NE(fault, nullptr);
    EXPECT_NE(fault->getMessage().find("Broken.track, line "), std::string::npos)
        << fault->getMessage();
    kernel.releaseLevel();
    EXPECT_TRUE(kernel.createLevel(1, "Test Track"));
    EXPECT_EQ(kernel.getLevel()->getName(), "Test Track");
}

// The track named before the window opens is read while it opens and raced; a race
// on another track builds that one; the next race reads its track file anew.
TEST_F(KernelTest, TheTrackNamedAheadIsRacedAndAnotherIsBuiltFromItsOwnFile) {
    for (const char* track : {"Lakeside", "Quarry"}) {
        SCOPED_TRACE(track);
        kernel.expectTrack("Lakeside");
        ASSERT_TRUE(kernel.initialise(Data::Options(640, 480)));
        ASSERT_TRUE(kernel.createLevel(1, track));
        EXPECT_EQ(kernel.getLevel()->getName(), track);
        kernel.releaseLevel();
        ASSERT_TRUE(kernel.createLevel(1, "Lakeside"));
        EXPECT_EQ(kernel.getLevel()->getName(), "Lakeside");
        EXPECT_FALSE(kernel.getLevel()->getStartPositions().empty());
        kernel.shutdown();
    }
}

// Ann drives with the pad in slot 1, Ben with the arrow keys, which are Ann's keys too.
TEST_F(KernelTest, APadDriverDrivesPausesAndIsToldWhenThePadIsPulledOut) {
    ScriptedPad pad(1);
    kernel.setGamepadReader(&pad);
    ASSERT_TRUE(kernel.initialise(Data::Options(640, 480)));
    ASSERT_TRUE(kernel.createLevel(3));
    ASSERT_TRUE(kernel.createPlayer(driver("Ann"), {255, 0, 0}, 1));
    ASSERT_TRUE(kernel.createPlayer(driver("Ben"), {0, 0, 255}));
    kernel.startRun();
    frameUntilStarted();
    const Game::VehicleObject& ann = *kernel.getPlayers()[0].vehicle;
    const Game::VehicleObject& ben = *kernel.getPlayers()[1].vehicle;
    const glm::vec3 annStart = ann.getPosition();
    const glm::vec3 benStart = ben.getPosition();
    Platform::GamepadState& state = *pad.state;
    EXPECT_EQ(kernel.getDebugDialog()->getLabel("Driver0")->getText(),
              "Ann:  Right trigger accelerate,  Left trigger brake")
        << "the help shows the pad's controls";

    // The right trigger accelerates and the stick steers her car at once; the arrow
    // keys reach Ben's car alone.
    state.axes[Platform::AXIS_RIGHT_TRIGGER] = 1.0f;
    state.axes[Platform::AXIS_LEFT_X] = -0.5f;
    kernel.handleKey(Platform::KEY_UP, Platform::PRESS);
    kernel.handleKey(Platform::KEY_RIGHT, Platform::PRESS);
    kernel.frame();
    const float halfLeft = (0.5f - Game::GamepadControls::stickDeadZone) /
                           (1.0f - Game::GamepadControls::stickDeadZone);
    EXPECT_NEAR(ann.getSteeringRamp().current, halfLeft, 1e-5f);
    raceFor(1.5);
    EXPECT_NEAR(ann.getSteeringRamp().current, halfLeft, 1e-5f);
    EXPECT_GT(ann.getThrottle(), 0.9f);
    EXPECT_GT(movedFrom(ann, annStart), 1.0f);
    EXPECT_LT(ben.getSteeringRamp().current, -0.9f) << "Ben steers right with the key";
    EXPECT_GT(movedFrom(ben, benStart), 1.0f);
    kernel.handleKey(Platform::KEY_UP, Platform::RELEASE);
    kernel.handleKey(Platform::KEY_RIGHT, Platform::RELEASE);
    // The reset key puts Ben back at his start; Ann drives on.
    kernel.handleKey('R', Platform::PRESS);
    kernel.handleKey('R', Platform::RELEASE);
    kernel.frame();
    EXPECT_LT(movedFrom(ben, benStart), 0.5f);
    EXPECT_GT(movedFrom(ann, annStart), 1.0f);

    // Start pauses and resumes, once per press.
    state.buttons[Platform::BUTTON_START] = true;
    kernel.frame();
    EXPECT_TRUE(kernel.isPaused());
    EXPECT_TRUE(kernel.getPauseMenu()->isOpen());
    kernel.frame();
    EXPECT_TRUE(kernel.isPaused()) << "a held button pauses once";
    state.buttons[Platform::BUTTON_START] = false;
    kernel.frame();
    state.buttons[Platform::BUTTON_START] = true;
    kernel.frame();
    EXPECT_FALSE(kernel.isPaused());
    state.buttons[Platform::BUTTON_START] = false;

    // Pulled out: the race pauses and a notice names Ann.
    pad.state.reset();
    kernel.frame();
    EXPECT_TRUE(kernel.isPaused());
    const Game::DialogPtr& notice = kernel.getPadDrivers()->getNotice(0);
    ASSERT_TRUE(notice);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(textOf(notice, "Text"), "Gamepad disconnected: Ann");
    // Resumed from the keyboard, her car coasts.
    kernel.handleKey(Platform::KEY_ESC, Platform::PRESS);
    kernel.handleKey(Platform::KEY_ESC, Platform::RELEASE);
    ASSERT_FALSE(kernel.isPaused());
    raceFor(2.0);
    EXPECT_LT(ann.getThrottle(), 0.01f);
    EXPECT_EQ(ann.getSteeringRamp().current, 0.0f);
    EXPECT_TRUE(notice->isVisible());

    // Back in: the notice goes and the pad drives again; A puts her car back at its
    // respawn point.
    pad.state = Platform::GamepadState{};
    pad.state->axes[Platform::AXIS_LEFT_X] = 1.0f;
    kernel.frame();
    EXPECT_FALSE(notice->isVisible());
    EXPECT_FALSE(kernel.isPaused());
    EXPECT_FLOAT_EQ(ann.getSteeringRamp().current, -1.0f);
    pad.state->buttons[Platform::BUTTON_A] = true;
    kernel.frame();
    const Game::TrackPoint& respawn = ann.getRespawn();
    EXPECT_LT(
        glm::length(glm::vec2(ann.getPosition().x - respawn.x, ann.getPosition().z - respawn.z)),
        0.5f);
    pad.state->buttons[Platform::BUTTON_A] = false;

    // In the pause menu the d-pad chooses and A picks: "End race" with nobody finished
    // returns to the launcher.
    const auto press = [&](Platform::GamepadButton button) {
        pad.state->buttons[button] = true;
        kernel.frame();
        pad.state->buttons[button] = false;
        kernel.frame();
    };
    press(Platform::BUTTON_START);
    ASSERT_TRUE(kernel.isPaused());
    press(Platform::BUTTON_DPAD_DOWN);
    press(Platform::BUTTON_DPAD_DOWN);
    press(Platform::BUTTON_DPAD_UP);
    press(Platform::BUTTON_DPAD_DOWN);
    EXPECT_EQ(kernel.getPauseMenu()->getChosen(), Game::PauseMenu::END_RACE);
    EXPECT_TRUE(kernel.isRunning());
    press(Platform::BUTTON_A);
    EXPECT_FALSE(kernel.isRunning());
}
