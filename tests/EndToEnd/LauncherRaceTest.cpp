// A whole race as a player starts and drives it: the launcher program with two
// drivers from its command line, keys pressed through the X server, the picture read
// back from the race window, and the launcher's log afterwards.
#include "XTools.h"

#include <FreeImagePlus.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
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

    void start(const std::vector<std::string>& arguments) {
        std::vector<std::string> all = {(binFolder / "Brumbly").string()};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& argument : all) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        const fs::path before = fs::current_path();
        fs::current_path(folder);
        ASSERT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
        fs::current_path(before);
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
    start({"--race", "--driver", "EndToEndAnn:dd2222", "--driver", "EndToEndBen", "--laps", "2"});
    ASSERT_TRUE(waitForLog("Game::Kernel running game .. [OK]", 90s))
        << readFile(folder / "Brumbly.log");
    window = toolOutput("xdotool search --name '^Brumbly$' | head -1");
    window.erase(window.find_last_not_of("\n") + 1);
    ASSERT_FALSE(window.empty());
    runTool("xdotool windowfocus --sync " + window);
    const auto raceStart = std::chrono::steady_clock::now();

    key("keydown", "Up");
    std::this_thread::sleep_for(3s);
    fipImage early = screenshot("race_early");
    std::this_thread::sleep_for(1500ms);
    fipImage later = screenshot("race");
    ASSERT_TRUE(early.isValid() && later.isValid());
    // The race time in the top right corner runs; both drivers have a panel below it.
    EXPECT_GT(changed(early, later, 0.84, 0.05, 0.99, 0.10), 0.02);

    key("key", "F1");
    std::this_thread::sleep_for(1500ms);
    fipImage help = screenshot("race_help");
    EXPECT_GT(changed(later, help, 0.02, 0.02, 0.35, 0.23), 0.2) << "F1 shows the help panel";

    key("keyup", "Up");
    key("key", "Pause");
    const auto pausedAt = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(4s);
    key("key", "Pause");
    std::this_thread::sleep_for(1s);
    // Escape opens the pause menu; Up wraps round to "End race", Return picks it.
    key("key", "Escape");
    key("key", "Up");
    key("key", "Return");
    const double running =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - raceStart).count();
    const double paused =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - pausedAt).count() - 1.0;
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
    EXPECT_GT(std::stod(ended[2]), 3.0) << "Ann's car moved";
    EXPECT_LT(std::stod(ended[3]), 0.5) << "Ben's car stood";
    EXPECT_GT(raceTime, 0.5) << "the clock ran";
    EXPECT_LT(raceTime, running - paused + 1.0) << "the clock stood while paused";
}
