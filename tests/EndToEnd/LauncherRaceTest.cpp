// A whole race as a player starts and drives it: the launcher program with two
// drivers from its command line, keys pressed through the X server, the picture read
// back from the race window, and the launcher's log afterwards.
#include "Game/race/RaceDirector.h"
#include "XTools.h"

#include <FreeImagePlus.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>

namespace fs = std::filesystem;
using EndToEnd::runTool;
using EndToEnd::toolOutput;
using namespace std::chrono_literals;

extern char** environ;

namespace {

const fs::path binFolder = BRUMBLY_BIN_DIR;

std::string readFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A saved driver in the launcher's profiles folder, removed again at the end.
class SavedDriver {
public:
    SavedDriver(const std::string& name, int accelerate, int brake, int left, int right)
        : file(binFolder / "profiles" / (name + ".profile")) {
        std::string text =
            readFile(fs::path(BRUMBLY_SOURCE_DIR) / "tests/Data/fixtures/version7.profile");
        const auto replace = [&text](const std::string& from, const std::string& to) {
            text.replace(text.find(from), from.size(), to);
        };
        replace("Ann &amp; Co", name);
        replace("<Accelerate>38", "<Accelerate>" + std::to_string(accelerate));
        replace("<Brake>40", "<Brake>" + std::to_string(brake));
        replace("<SreerLeft>37", "<SreerLeft>" + std::to_string(left));
        replace("<SteerRight>39", "<SteerRight>" + std::to_string(right));
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }
    ~SavedDriver() { fs::remove(file); }

private:
    fs::path file;
};

// Share of pixels in the rectangle (fractions of the picture, from its top left)
// that differ between two pictures of the same size.
double changed(fipImage& a, fipImage& b, double x0, double y0, double x1, double y1) {
    const unsigned w = a.getWidth();
    const unsigned h = a.getHeight();
    int differing = 0, total = 0;
    for (auto y = static_cast<unsigned>(y0 * h); y < static_cast<unsigned>(y1 * h); ++y) {
        for (auto x = static_cast<unsigned>(x0 * w); x < static_cast<unsigned>(x1 * w); ++x) {
            RGBQUAD p{}, q{};
            a.getPixelColor(x, h - 1 - y, &p);
            b.getPixelColor(x, h - 1 - y, &q);
            const int d = std::abs(p.rgbRed - q.rgbRed) + std::abs(p.rgbGreen - q.rgbGreen) +
                          std::abs(p.rgbBlue - q.rgbBlue);
            differing += d > 24 ? 1 : 0;
            ++total;
        }
    }
    return total > 0 ? static_cast<double>(differing) / total : 0.0;
}

class LauncherRaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("brumbly-race-" + std::to_string(getpid()));
        fs::create_directories(folder);
        std::ofstream(folder / "config.ini")
            << "[VideoOptions]\nXResolution=640\nYResolution=480\n";
    }
    void TearDown() override {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        fs::remove_all(folder);
    }

    // Starts the launcher in the scratch folder, its standard output and error going
    // to the files "stdout" and "stderr" there, without the environment variables
    // named in `unset`.
    void start(const std::vector<std::string>& arguments,
               const std::vector<std::string>& unset = {}) {
        std::vector<std::string> all = {(binFolder / "Brumbly").string()};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& argument : all) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        std::vector<char*> environment;
        for (char** variable = environ; *variable != nullptr; ++variable) {
            const std::string name(*variable, std::strcspn(*variable, "="));
            if (std::find(unset.begin(), unset.end(), name) == unset.end()) {
                environment.push_back(*variable);
            }
        }
        environment.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        const std::string out = (folder / "stdout").string();
        const std::string err = (folder / "stderr").string();
        posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addchdir_np(&files, folder.c_str());
        const int started =
            posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), environment.data());
        posix_spawn_file_actions_destroy(&files);
        ASSERT_EQ(started, 0);
    }

    // Waits until the log holds the text; false after the timeout.
    bool waitForLog(const std::string& text, std::chrono::seconds timeout) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < end) {
            if (readFile(folder / "Brumbly.log").find(text) != std::string::npos) {
                return true;
            }
            std::this_thread::sleep_for(200ms);
        }
        return false;
    }

    int waitForExit(std::chrono::seconds timeout) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        int status = 0;
        while (std::chrono::steady_clock::now() < end) {
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = 0;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(100ms);
        }
        return -2;
    }

    fipImage screenshot(const std::string& name) {
        const fs::path file = fs::current_path() / (name + ".png");
        runTool("xwd -silent -id " + window + " | xwdtopnm 2>/dev/null | pnmtopng > '" +
                file.string() + "'");
        fipImage image;
        image.load(file.c_str());
        return image;
    }

    // Takes pictures of the race window until one shows what `seen` looks for in it;
    // an invalid picture when none has after the timeout.
    fipImage waitForPicture(const std::string& name, const std::function<bool(fipImage&)>& seen,
                            std::chrono::seconds timeout) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < end) {
            fipImage picture = screenshot(name);
            if (picture.isValid() && seen(picture)) {
                return picture;
            }
            std::this_thread::sleep_for(100ms);
        }
        return fipImage();
    }

    void key(const std::string& action, const std::string& name) {
        runTool("xdotool " + action + " " + name);
    }

    fs::path folder;
    pid_t pid = 0;
    std::string window;
};

} // namespace

TEST_F(LauncherRaceTest, AKeyboardRaceFromTheCommandLine) {
    const SavedDriver ann("EndToEndAnn", 38, 40, 37, 39);
    const SavedDriver ben("EndToEndBen", 'W', 'S', 'A', 'D');
    // The two share the overview, which stands still behind the regions of the picture
    // compared below; a view of their own would follow Ann's car.
    std::ofstream(folder / "config.ini")
        << "[VideoOptions]\nXResolution=640\nYResolution=480\nSplitScreen=0\n";
    start({"--race", "--driver", "EndToEndAnn:dd2222", "--driver", "EndToEndBen", "--laps", "2"});
    ASSERT_TRUE(waitForLog("Game::Kernel running game .. [OK]", 90s))
        << readFile(folder / "Brumbly.log");
    const auto runSeen = std::chrono::steady_clock::now();
    window = toolOutput("xdotool search --name '^Brumbly$' | head -1");
    window.erase(window.find_last_not_of("\n") + 1);
    ASSERT_FALSE(window.empty());
    runTool("xdotool windowfocus --sync " + window);

    // Regions of the picture (fractions from its top left): the race time in the top
    // right corner, the help panel F1 shows in the top left, the word "Paused" in the
    // middle (over the lake, whose waves change a few of its pixels from frame to frame).
    const auto clock = [](fipImage& a, fipImage& b) {
        return changed(a, b, 0.84, 0.05, 0.99, 0.10);
    };
    const auto help = [](fipImage& a, fipImage& b) {
        return changed(a, b, 0.02, 0.02, 0.35, 0.23);
    };
    const auto pauseText = [](fipImage& a, fipImage& b) {
        return changed(a, b, 0.44, 0.48, 0.56, 0.52);
    };

    key("keydown", "Up");
    fipImage countdown = screenshot("race_countdown");
    ASSERT_TRUE(countdown.isValid());
    fipImage racing = waitForPicture(
        "race", [&](fipImage& picture) { return clock(countdown, picture) > 0.02; }, 30s);
    ASSERT_TRUE(racing.isValid()) << "the race time never ran";

    key("key", "F1");
    fipImage helpShown = waitForPicture(
        "race_help", [&](fipImage& picture) { return help(racing, picture) > 0.2; }, 10s);
    EXPECT_TRUE(helpShown.isValid()) << "F1 shows the help panel";
    // Ann holds the accelerator a while longer, to drive a few units; at a few frames a
    // second the simulated time is well below the wall time, so she holds it long enough
    // for even a slow machine.
    std::this_thread::sleep_for(5s);

    key("keyup", "Up");
    fipImage beforePause = screenshot("race_before_pause");
    ASSERT_TRUE(beforePause.isValid());
    key("key", "Pause");
    fipImage paused = waitForPicture(
        "race_paused", [&](fipImage& picture) { return pauseText(beforePause, picture) > 0.15; },
        10s);
    ASSERT_TRUE(paused.isValid()) << "Pause shows that the game is paused";
    const auto pauseSeen = std::chrono::steady_clock::now();
    // The race time stands for as long as the game is paused.
    std::this_thread::sleep_for(3s);
    fipImage stillPaused = screenshot("race_still_paused");
    ASSERT_TRUE(stillPaused.isValid());
    EXPECT_LT(clock(paused, stillPaused), 0.005) << "the race time ran on while paused";
    const auto resumeSent = std::chrono::steady_clock::now();
    key("key", "Pause");
    EXPECT_TRUE(waitForPicture(
                    "race_resumed",
                    [&](fipImage& picture) { return pauseText(stillPaused, picture) > 0.15; }, 10s)
                    .isValid())
        << "Pause again takes the word away";
    // Escape opens the pause menu; Up wraps round to "End race", Return picks it.
    key("key", "Escape");
    key("key", "Up");
    key("key", "Return");
    // The game ran at most this long after it logged its start, and was paused at
    // least this long (from when "Paused" showed until the second Pause was sent).
    const double running =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - runSeen).count();
    const double pausedFor = std::chrono::duration<double>(resumeSent - pauseSeen).count();
    ASSERT_EQ(waitForExit(60s), 0);

    const std::string log = readFile(folder / "Brumbly.log");
    for (const char* line :
         {"Game::Kernel stopped game .. [OK]", "Game::Kernel unloaded level .. [OK]",
          "Render::Kernel shutdown .. [OK]", "PhysX SDK and Cooking shutdown .. [OK]",
          "Game::Kernel shutdown .. [OK]"}) {
        EXPECT_NE(log.find(line), std::string::npos) << line;
    }
    std::smatch ended;
    ASSERT_TRUE(std::regex_search(
        log, ended,
        std::regex(
            R"(race time ([0-9.]+) s; EndToEndAnn: lap 1 of 2, 0 laps done, ([0-9.]+) driven; )"
            R"(EndToEndBen: lap 1 of 2, 0 laps done, ([0-9.]+) driven)")))
        << log;
    const double raceTime = std::stod(ended[1]);
    EXPECT_GT(std::stod(ended[2]), 1.0) << "Ann's car moved";
    EXPECT_LT(std::stod(ended[3]), 0.5) << "Ben's car stood";
    EXPECT_GT(raceTime, 0.5) << "the clock ran";
    // The race time counts from the end of the countdown and leaves out the pause; the
    // second of slack covers the time until the start was seen in the log and the
    // last frame.
    EXPECT_LT(raceTime, running - Game::RaceDirector::countdownLength - pausedFor + 1.0)
        << "the clock stood while paused";
}

namespace {
const std::vector<std::string> noDisplay = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
const std::string noDisplayLine = "Brumbly: no display: set DISPLAY or run under Xvfb\n";
} // namespace

// Without a display the launcher and a race say so in one line instead of aborting;
// the help needs no display.
TEST_F(LauncherRaceTest, WithoutADisplayOneLineSaysWhatToDo) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, std::vector<std::string>{"--race", "--driver", "Nobody"}}) {
        start(arguments, noDisplay);
        EXPECT_EQ(waitForExit(60s), 1) << readFile(folder / "stderr");
        EXPECT_EQ(readFile(folder / "stderr"), noDisplayLine);
        EXPECT_EQ(readFile(folder / "stdout"), "");
    }
    start({"--help"}, noDisplay);
    EXPECT_EQ(waitForExit(60s), 0);
    EXPECT_NE(readFile(folder / "stdout").find("--benchmark <SECONDS>"), std::string::npos);
    EXPECT_EQ(readFile(folder / "stderr"), "");
}

// A driver that cannot race is named, with the reason, before any window opens.
TEST_F(LauncherRaceTest, ADriverThatCannotRaceIsNamedBeforeTheWindowOpens) {
    const SavedDriver ann("EndToEndAnn", 38, 40, 37, 39);
    start({"--race", "--driver", "EndToEndAnn", "--driver", "EndToEndNobody"});
    EXPECT_EQ(waitForExit(60s), 2);
    const std::string reason = "--driver \"EndToEndNobody\": no saved driver has this name";
    // Qt may add notes of its own about the environment.
    EXPECT_NE(readFile(folder / "stderr").find("Brumbly: " + reason + "\n"), std::string::npos);
    EXPECT_EQ(readFile(folder / "stdout"), "");
    const std::string log = readFile(folder / "Brumbly.log");
    EXPECT_NE(log.find(reason), std::string::npos) << log;
    EXPECT_EQ(log.find("Render::Kernel"), std::string::npos) << log;
}

// Standard output of a benchmark race holds its figures and nothing else.
TEST_F(LauncherRaceTest, ABenchmarkPrintsOnlyItsFiguresOnStandardOutput) {
    const SavedDriver ann("EndToEndAnn", 38, 40, 37, 39);
    start({"--race", "--driver", "EndToEndAnn", "--benchmark", "0.5"});
    ASSERT_EQ(waitForExit(120s), 0) << readFile(folder / "stderr");
    std::istringstream figures(readFile(folder / "stdout"));
    std::vector<std::string> names;
    for (std::string line; std::getline(figures, line);) {
        std::smatch figure;
        ASSERT_TRUE(std::regex_match(line, figure, std::regex(R"(([a-z0-9_]+) [0-9]+(\.[0-9]+)?)")))
            << "'" << line << "'";
        names.push_back(figure[1]);
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"startup_to_first_frame_s", "frames", "frame_median_ms",
                                        "frame_p95_ms", "frame_worst_ms", "physics_per_frame_ms",
                                        "frame_processor_median_ms", "peak_resident_mb"}));
}
