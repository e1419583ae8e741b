#include "CommandLine.h"
#include "../Data/RecordingLog.h"
#include "ConfigFile.h"
#include "LauncherTestSupport.h"
#include "QuickRace.h"

#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <sstream>

// The command line of the launcher, and the race it starts, with a recording kernel.
class CommandLineTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ProfilesFixture> profiles;
    std::unique_ptr<QTemporaryDir> configFolder;
    std::unique_ptr<ConfigFile> config;

    static QStringList commandLine(const std::vector<std::string>& arguments) {
        QStringList list{QStringLiteral("Brumbly")};
        for (const std::string& argument : arguments) {
            list << argumentText(argument);
        }
        return list;
    }

    struct Outcome {
        int status = -1;
        std::vector<std::string> calls;
        std::string out;
        std::string err;
        std::vector<Tool::Message> logged;
    };

    // Parses the arguments (which must parse) and runs the race they ask for.
    Outcome race(const std::vector<std::string>& arguments) {
        std::vector<std::string> all = {"--race"};
        all.insert(all.end(), arguments.begin(), arguments.end());
        LaunchRequest request;
        std::string error;
        if (!parseCommandLine(commandLine(all), request, error)) {
            qWarning("%s", error.c_str());
            return {};
        }
        RecordingLog log;
        RecordingKernel kernel;
        std::ostringstream out;
        std::ostringstream err;
        Outcome outcome;
        outcome.status = runQuickRace(request, {"Test Track"}, *config, {}, kernel, out, err);
        outcome.calls = kernel.calls;
        outcome.out = out.str();
        outcome.err = err.str();
        outcome.logged = log.errors();
        return outcome;
    }

private slots:
    void init() {
        profiles = std::make_unique<ProfilesFixture>();
        for (const char* name : {"Ann", "Ben", "Cy", "Dee", "Team:Red", "Zo\xEB"}) {
            profiles->addProfile(name);
        }
        configFolder = std::make_unique<QTemporaryDir>();
        config = std::make_unique<ConfigFile>(configFolder->filePath("config.ini"));
    }
    void cleanup() { profiles.reset(); }

    // Arguments pass through text and back unchanged, whatever their bytes.
    void argumentsKeepTheirBytes() {
        const std::string cases[] = {
            "Ann",
            "Zo\xC3\xAB",
            "Zo\xEB",
            "\xF0\x9F\x9A\x97\xEB",
            "\xC0\xAF",          // overlong "/"
            "\xED\xA0\x80",      // an encoded surrogate
            "\xE2\x82",          // cut short
            "\xF4\x90\x80\x80",  // above U+10FFFF
            "\xED\xB2\x80\xCC"}; // an escape's own UTF-8 form, then a stray lead byte
        for (const std::string& bytes : cases) {
            QCOMPARE(argumentBytes(argumentText(bytes)), bytes);
        }
        QCOMPARE(argumentText("Zo\xC3\xAB"), QString::fromUtf8("Zo\xC3\xAB"));
        QCOMPARE(argumentText("\xF0\x9F\x9A\x97"), QString::fromUtf8("\xF0\x9F\x9A\x97"));
        QVERIFY(argumentText("Zo\xEB") != QString::fromLatin1("Zo\xEB"));
    }

    void optionsThatCannotBeUsedAreRefusedWithTheirLimits() {
        const struct {
            std::vector<std::string> arguments;
            const char* error;
        } cases[] = {
            {{"--race", "--driver", "Ann", "--benchmark", "1e9"},
             "--benchmark must be a number of seconds above 0 and at most 86400"},
            {{"--race", "--driver", "Ann", "--benchmark", "0"},
             "--benchmark must be a number of seconds above 0 and at most 86400"},
            {{"--race", "--driver", "Ann", "--laps", "101"},
             "--laps must be a whole number from 1 to 100"},
            {{"--race", "--driver", ""}, "--driver needs a driver's name"},
            {{"--race"}, "--race needs at least one --driver"},
            {{"--driver", "Ann"}, "--driver, --laps, --track and --benchmark need --race"},
            {{"--track", "Test Track"}, "--driver, --laps, --track and --benchmark need --race"},
        };
        for (const auto& refused : cases) {
            LaunchRequest request;
            std::string error;
            QVERIFY(!parseCommandLine(commandLine(refused.arguments), request, error));
            QCOMPARE(error, refused.error);
        }
        LaunchRequest request;
        std::string error;
        QVERIFY(parseCommandLine(commandLine({"--race", "--driver", "Ann", "--benchmark", "86400"}),
                                 request, error));
        QCOMPARE(request.benchmarkSeconds, 86400.0);
    }

    // Drivers that cannot race are named with the reason, in the message and the log,
    // before the kernel (and its window) is touched.
    void driversThatCannotRaceStopItBeforeTheWindowOpens() {
        const struct {
            std::vector<std::string> arguments;
            const char* error;
        } cases[] = {
            {{"--driver", "Ann", "--driver", "Zed"},
             "--driver \"Zed\": no saved driver has this name"},
            {{"--driver", "Ann", "--driver", "Ben", "--driver", "Cy", "--driver", "Dee"},
             "--driver \"Dee\": a race takes at most 3 drivers"},
            {{"--driver", "Ann", "--driver", "Ann:ff0000"},
             "--driver \"Ann:ff0000\": this driver is already in the race"},
            {{"--driver", "Ann:red"},
             "--driver \"Ann:red\": the colour is not RRGGBB in hexadecimal"},
            {{"--driver", "Zed:ff0000"}, "--driver \"Zed:ff0000\": no saved driver has this name"},
        };
        for (const auto& refused : cases) {
            const Outcome outcome = race(refused.arguments);
            QCOMPARE(outcome.status, 2);
            QVERIFY(outcome.calls.empty());
            QCOMPARE(outcome.err, std::string("Brumbly: ") + refused.error + "\n");
            QCOMPARE(outcome.logged.size(), std::size_t{1});
            QCOMPARE(outcome.logged.front().getMessage(), refused.error);
            QVERIFY(outcome.out.empty());
        }
    }

    // A name may hold a colon, with or without a colour after it, and a name that is no
    // UTF-8 is given by its bytes.
    void driversAreFoundByTheirWholeNameAndBytes() {
        const Outcome outcome =
            race({"--driver", "Team:Red", "--driver", "Zo\xEB:00ff00", "--driver", "Ann:0A0b0C"});
        QCOMPARE(outcome.status, 0);
        const std::vector<std::string> players = {outcome.calls.begin() + 2,
                                                  outcome.calls.begin() + 5};
        QCOMPARE(players, (std::vector<std::string>{"createPlayer Team:Red 0,0,255",
                                                    "createPlayer Zo\xEB 0,255,0",
                                                    "createPlayer Ann 10,11,12"}));
        QCOMPARE(race({"--driver", "Team:Red:dd2222"}).calls.at(2),
                 "createPlayer Team:Red 221,34,34");
        QVERIFY(outcome.err.empty());
    }

    // The track is found by its name, letter case aside, and an unknown one stops the
    // race before the window opens; --help lists the tracks.
    void theTrackIsChosenByNameBeforeTheWindowOpens() {
        QCOMPARE(race({"--driver", "Ann"}).calls.at(1), "createLevel 3 Test Track");
        QCOMPARE(race({"--driver", "Ann", "--track", "test TRACK", "--laps", "2"}).calls.at(1),
                 "createLevel 2 Test Track");
        const Outcome unknown = race({"--driver", "Ann", "--track", "Moon Base"});
        QCOMPARE(unknown.status, 2);
        QVERIFY(unknown.calls.empty());
        const std::string error =
            "--track \"Moon Base\": no such track (Brumbly --help lists them)";
        QCOMPARE(unknown.err, "Brumbly: " + error + "\n");
        QCOMPARE(unknown.logged.size(), std::size_t{1});
        QCOMPARE(unknown.logged.front().getMessage(), error);
        QCOMPARE(trackHelp({"Test Track", "Lakeside"}),
                 "\nTracks:\n  Test Track\n  Lakeside\n  random:SEED (a new track generated "
                 "from SEED, 0 to 4294967295)\n");
    }

    // A random track's seed is taken whole and written plainly, so that its high scores
    // fall under one name; anything but a whole number in range stops the race.
    void aRandomTrackTakesAWholeSeed() {
        QCOMPARE(race({"--driver", "Ann", "--track", "Random:0042"}).calls.at(1),
                 "createLevel 3 random:42");
        QCOMPARE(race({"--driver", "Ann", "--track", "random:4294967295"}).calls.at(1),
                 "createLevel 3 random:4294967295");
        QCOMPARE(race({"--driver", "Ann", "--track", "random:0"}).calls.at(1),
                 "createLevel 3 random:0");
        for (const std::string seed : {"4294967296", "99999999999999999999", "-1", "+1", "", "12a",
                                       " 5", "5 ", "0x10", "1.5"}) {
            const Outcome refused = race({"--driver", "Ann", "--track", "random:" + seed});
            QCOMPARE(refused.status, 2);
            QVERIFY(refused.calls.empty());
            QCOMPARE(refused.err, "Brumbly: --track \"random:" + seed +
                                      "\": the seed of a random track is a whole number from 0 "
                                      "to 4294967295\n");
        }
    }

    void aFailedRaceStartExitsWithOne() {
        RecordingKernel kernel;
        kernel.failing = "createLevel";
        LaunchRequest request;
        std::string error;
        QVERIFY(parseCommandLine(commandLine({"--race", "--driver", "Ann"}), request, error));
        std::ostringstream out;
        std::ostringstream err;
        QCOMPARE(runQuickRace(request, {"Test Track"}, *config, {}, kernel, out, err), 1);
        QCOMPARE(err.str(), "Brumbly: Couldn't load level (see log for details)\n");
        QVERIFY(out.str().empty());
    }
};

QTEST_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
