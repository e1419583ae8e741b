// The high-score tables: ranking, the file they are kept in, and files that cannot
// be used.
#include "Data/HighScores.h"
#include "ProfileTestSupport.h"

#include <sys/stat.h>
#include <unistd.h>

using Data::HighScore;
using Data::HighScoreKind;
using Data::HighScores;
using namespace ProfileTestSupport;

namespace {

std::vector<std::string> drivers(const std::vector<HighScore>& table) {
    std::vector<std::string> names;
    for (const HighScore& entry : table) {
        names.push_back(entry.driver);
    }
    return names;
}

HighScores someScores() {
    HighScores scores;
    scores.add(HighScoreKind::BEST_LAP, 3, {"Ann", 4512, 1700000000});
    scores.add(HighScoreKind::RACE_TIME, 3, {"Ann", 14001, 1700000000});
    scores.add(HighScoreKind::BEST_LAP, 1, {"Ben", 4700, 1700000100});
    return scores;
}

} // namespace

TEST(HighScoresTest, TenBestInTimeOrderTiesKeepTheEarlierRecordEachLapCountApart) {
    HighScores scores;
    // Twelve laps, given slowest first: each new one is the best so far.
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(scores.add(HighScoreKind::BEST_LAP, 3,
                             {"D" + std::to_string(i), 5000 - 10 * i, 1000 + i}),
                  1u);
    }
    const auto& laps = scores.get(HighScoreKind::BEST_LAP, 3);
    ASSERT_EQ(laps.size(), HighScores::tableSize);
    EXPECT_EQ(laps.front().driver, "D11");
    EXPECT_EQ(laps.back().driver, "D2") << "the two slowest fell out";

    EXPECT_EQ(scores.add(HighScoreKind::BEST_LAP, 3, {"Slow", 4990, 2000}), 0u)
        << "slower than the tenth";
    EXPECT_EQ(scores.add(HighScoreKind::BEST_LAP, 3, {"Tie", 4980, 2000}), 0u)
        << "equal to the tenth: the earlier keeps its place";
    EXPECT_EQ(scores.get(HighScoreKind::BEST_LAP, 3).back().driver, "D2");
    EXPECT_EQ(scores.add(HighScoreKind::BEST_LAP, 3, {"Tie", 4950, 2000}), 8u)
        << "equal to the seventh: behind it";
    EXPECT_EQ(drivers(scores.get(HighScoreKind::BEST_LAP, 3))[6], "D5");
    EXPECT_EQ(scores.get(HighScoreKind::BEST_LAP, 3).back().driver, "D3") << "D2 fell out";
    EXPECT_EQ(scores.add(HighScoreKind::BEST_LAP, 3, {"Tie", 4890, 2000}), 2u)
        << "equal to the best: second";
    EXPECT_EQ(drivers(scores.get(HighScoreKind::BEST_LAP, 3))[0], "D11");

    // Race times and other lap counts are tables of their own.
    EXPECT_TRUE(scores.get(HighScoreKind::RACE_TIME, 3).empty());
    EXPECT_EQ(scores.add(HighScoreKind::RACE_TIME, 5, {"Ann", 99999, 3000}), 1u);
    EXPECT_EQ(scores.add(HighScoreKind::BEST_LAP, 1, {"Ben", 99999, 3000}), 1u);
    EXPECT_EQ(scores.getLapCounts(), (std::vector<unsigned int>{1, 3, 5}));

    // Nothing that is no result goes in.
    EXPECT_EQ(scores.add(HighScoreKind::BEST_LAP, 7, {"Ann", 0, 3000}), 0u);
    EXPECT_EQ(scores.add(HighScoreKind::BEST_LAP, 7, {"Ann", HighScores::longestTime + 1, 3000}),
              0u);
    EXPECT_EQ(scores.add(HighScoreKind::BEST_LAP, 7, {"Ann", 100, -1}), 0u);
    EXPECT_EQ(scores.add(HighScoreKind::BEST_LAP, 7, {"Ann", 100, HighScores::latestDate + 1}), 0u);
    EXPECT_EQ(scores.add(HighScoreKind::BEST_LAP, 0, {"Ann", 100, 3000}), 0u);
    EXPECT_EQ(scores.add(HighScoreKind::BEST_LAP, 7, {"", 100, 3000}), 0u);
    EXPECT_EQ(scores.getLapCounts(), (std::vector<unsigned int>{1, 3, 5}));
}

TEST(HighScoresTest, TheFileKeepsEveryEntryAndEveryName) {
    TemporaryDirectory folder;
    const auto file = folder.path() / HighScores::fileName;
    HighScores scores = someScores();
    for (const std::string name : {"Zoë", "100% Joe", "Tab\tNew\nLine", "  spaced  "}) {
        scores.add(HighScoreKind::RACE_TIME, 3, {name, 20000, 1700000200});
    }
    ASSERT_TRUE(scores.save(file));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{HighScores::fileName})
        << "no temporary file is left";
    const std::string text = readFile(file);
    EXPECT_EQ(text.substr(0, text.find('\n')), "Brumbly high scores 1");
    EXPECT_NE(text.find("race 3 20000 1700000200 Tab%09New%0ALine\n"), std::string::npos);

    ErrorRecorder log;
    const HighScores back = HighScores::load(file);
    for (const unsigned int laps : {1u, 3u}) {
        for (const HighScoreKind kind : {HighScoreKind::BEST_LAP, HighScoreKind::RACE_TIME}) {
            EXPECT_EQ(back.get(kind, laps), scores.get(kind, laps));
        }
    }
    EXPECT_EQ(drivers(back.get(HighScoreKind::RACE_TIME, 3)),
              (std::vector<std::string>{"Ann", "Zoë", "100% Joe", "Tab\tNew\nLine", "  spaced  "}));
    EXPECT_TRUE(log.errors.empty());

    std::string problem;
    EXPECT_TRUE(HighScores::read("Brumbly high scores 1\r\nlap 2 100 5 Ann\r\n\r\n", problem))
        << "Windows line ends and blank lines";
    EXPECT_TRUE(HighScores::load(folder.path() / "missing").empty());
    EXPECT_TRUE(log.errors.empty()) << "no file yet is no fault";
}

// The next race saved its own records over each of these and all earlier records
// were lost.
TEST(HighScoresTest, AFileThatCannotBeReadIsNeverSavedOver) {
    TemporaryDirectory folder;
    const std::string good = someScores().write();
    const auto file = folder.path() / HighScores::fileName;
    const struct {
        const char* what;
        std::string text;
        std::filesystem::perms permissions;
    } unreadable[] = {
        {"another file", "[VideoOptions]\nXResolution=640\n", std::filesystem::perms(0644)},
        {"binary", std::string("\0\xff\x01\x80 bytes\n", 11), std::filesystem::perms(0644)},
        {"too large", good, std::filesystem::perms(0644)},
        {"no read permission", good, std::filesystem::perms::owner_write},
    };
    for (const auto& fault : unreadable) {
        SCOPED_TRACE(fault.what);
        std::filesystem::remove(file);
        writeFile(file, fault.text);
        if (std::string(fault.what) == "too large") {
            std::filesystem::resize_file(file, HighScores::maximumFileSize + 1);
        }
        const std::string before = readFile(file);
        std::filesystem::permissions(file, fault.permissions);
        if (::access(file.c_str(), R_OK) == 0 && std::string(fault.what) == "no read permission") {
            continue; // run as root: permissions do not keep it out
        }
        ErrorRecorder log;
        HighScores scores = HighScores::load(file);
        EXPECT_TRUE(scores.empty());
        EXPECT_EQ(scores.getSource(), Data::HighScoreSource::UNREADABLE);
        ASSERT_EQ(log.errors.size(), 1u);
        EXPECT_EQ(log.errors[0].getTitle(), "Couldn't read the high scores .. [Failed]");
        EXPECT_NE(log.errors[0].getMessage().find(scores.getProblem()), std::string::npos);

        EXPECT_EQ(scores.add(HighScoreKind::BEST_LAP, 2, {"Cid", 3000, 1700000300}), 1u);
        EXPECT_FALSE(scores.save(file));
        ASSERT_EQ(log.errors.size(), 2u);
        EXPECT_EQ(log.errors[1].getTitle(), "Couldn't save the high scores .. [Failed]");
        std::filesystem::permissions(file, std::filesystem::perms(0644));
        EXPECT_TRUE(readFile(file) == before) << "left as it was";
        EXPECT_EQ(folder.entries(), std::vector<std::string>{HighScores::fileName});
    }

    // A named pipe in its place is refused unread; an empty file holds nothing to keep.
    const auto pipe = folder.path() / "pipe.txt";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(HighScores::load(pipe).getSource(), Data::HighScoreSource::UNREADABLE);
    writeFile(file, "");
    ErrorRecorder log;
    HighScores fresh = HighScores::load(file);
    EXPECT_EQ(fresh.getSource(), Data::HighScoreSource::NO_FILE);
    fresh.add(HighScoreKind::BEST_LAP, 2, {"Cid", 3000, 1700000300});
    EXPECT_TRUE(fresh.save(file));
    EXPECT_EQ(HighScores::load(file).get(HighScoreKind::BEST_LAP, 2).size(), 1u);
    EXPECT_TRUE(log.errors.empty());
}

// One bad line among good ones cost every entry; a file cut inside its last name
// gave a shortened name; absurd times and dates were taken.
TEST(HighScoresTest, DamagedLinesAreRefusedAloneAndTheFileIsCopiedAsideBeforeASave) {
    TemporaryDirectory folder;
    const auto file = folder.path() / HighScores::fileName;
    const std::string good = someScores().write();
    const std::string damaged[] = {
        "lap 3 4512\n",                                          // fields missing
        "lap 3 45x2 1700000000 Dan\n",                           // letters for a time
        "race 3 -5 1700000000 Dan\n",                            // a negative time
        "race 3 8640001 1700000000 Dan\n",                       // longer than a day
        "race 3 4000 253402300800 Dan\n",                        // after the year 9999
        "lap 0 4512 1700000000 Dan\n",                           // no laps
        "sector 3 4512 1700000000 Dan\n",                        // an unknown table
        "lap 3 4512 1700000000 Dan%4\n",                         // a broken escape
        "lap 3 4512 1700000000 \n",                              // no name
        "lap 3 4512 1700000000 " + std::string(201, 'D') + "\n", // a name too long
        "lap 3 4000 1700000000 Danie",                           // cut inside the name
    };
    for (const std::string& line : damaged) {
        SCOPED_TRACE(line);
        // A good line follows, except after the cut line, which can only be the last.
        const bool cut = line.back() != '\n';
        writeFile(file, good + line + (cut ? "" : "lap 3 4600 1700000500 Eve\n"));
        ErrorRecorder log;
        const HighScores scores = HighScores::load(file);
        EXPECT_EQ(scores.getSource(), Data::HighScoreSource::DAMAGED_LINES);
        EXPECT_EQ(scores.getProblem(), cut ? "line 5 is cut short" : "line 5 is damaged");
        EXPECT_EQ(log.errors.size(), 1u);
        // The good lines are kept, the damaged one is not.
        const std::vector<std::string> expected =
            cut ? std::vector<std::string>{"Ann"} : std::vector<std::string>{"Ann", "Eve"};
        EXPECT_EQ(drivers(scores.get(HighScoreKind::BEST_LAP, 3)), expected);
        EXPECT_EQ(drivers(scores.get(HighScoreKind::BEST_LAP, 1)), std::vector<std::string>{"Ben"});
        EXPECT_EQ(scores.get(HighScoreKind::RACE_TIME, 3).size(), 1u);
    }

    std::string all = good;
    for (const std::string& line : damaged) {
        all += line;
    }
    writeFile(file, all);
    HighScores scores = HighScores::load(file);
    EXPECT_EQ(scores.getProblem(), "line 5 is damaged (and 10 more damaged lines)");

    // The first record saved copies the file aside as it was, then keeps the good
    // lines with the record; the next one needs no copy.
    ErrorRecorder log;
    EXPECT_EQ(scores.add(HighScoreKind::BEST_LAP, 3, {"Dan", 4000, 1700000600}), 1u);
    ASSERT_TRUE(scores.save(file));
    const std::vector<std::filesystem::path> aside = HighScores::findSetAside(file);
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_TRUE(aside[0].filename().string().starts_with("highscores.txt.bad-2"));
    EXPECT_EQ(readFile(aside[0]), all);
    EXPECT_TRUE(log.errors.empty());
    HighScores saved = HighScores::load(file);
    EXPECT_EQ(saved.getSource(), Data::HighScoreSource::WHOLE);
    EXPECT_EQ(drivers(saved.get(HighScoreKind::BEST_LAP, 3)),
              (std::vector<std::string>{"Dan", "Ann"}));
    saved.add(HighScoreKind::BEST_LAP, 3, {"Eve", 3900, 1700000700});
    ASSERT_TRUE(saved.save(file));
    EXPECT_EQ(HighScores::findSetAside(file), aside);

    // A copy is never written over an earlier one of the same second.
    writeFile(file, all);
    for (int copy = 0; copy < 2; ++copy) {
        HighScores again = HighScores::load(file);
        ASSERT_TRUE(again.save(file));
        writeFile(file, all);
    }
    EXPECT_EQ(HighScores::findSetAside(file).size(), 3u);
}

TEST(HighScoresTest, ASaveInterruptedBeforeTheRenameLeavesTheOldTables) {
    TemporaryDirectory folder;
    const auto file = folder.path() / HighScores::fileName;
    ASSERT_TRUE(someScores().save(file));
    const std::string before = readFile(file);

    HighScores newer = someScores();
    newer.add(HighScoreKind::BEST_LAP, 3, {"Dan", 4000, 1700000400});
    struct PowerCut {};
    std::filesystem::path temporary;
    EXPECT_THROW(newer.save(file,
                            [&](const std::filesystem::path& written) {
                                temporary = written;
                                EXPECT_EQ(readFile(written), newer.write()) << "complete";
                                EXPECT_EQ(readFile(file), before) << "not yet touched";
                                throw PowerCut{};
                            }),
                 PowerCut);
    EXPECT_EQ(temporary.parent_path(), folder.path());
    EXPECT_EQ(readFile(file), before);
    EXPECT_EQ(HighScores::load(file).get(HighScoreKind::BEST_LAP, 3).front().driver, "Ann");

    // The next save goes through, beside the stray temporary file.
    ASSERT_TRUE(newer.save(file));
    EXPECT_EQ(HighScores::load(file).get(HighScoreKind::BEST_LAP, 3).front().driver, "Dan");
}

// Files written before tracks were told apart hold the Test Track's records; every other
// track's records keep their track through the file, their tables apart.
TEST(HighScoresTest, RecordsKeepTheirTrackAndOldFilesBelongToTheTestTrack) {
    std::string problem;
    const auto old = HighScores::read(
        "Brumbly high scores 1\nlap 3 4512 1700000000 Ann\nrace 3 14001 1700000000 Ann\n", problem);
    ASSERT_TRUE(old);
    EXPECT_EQ(old->getSource(), Data::HighScoreSource::WHOLE);
    EXPECT_EQ(old->getTracks(), std::vector<std::string>{"Test Track"});
    EXPECT_EQ(drivers(old->get(HighScoreKind::BEST_LAP, 3, "Test Track")),
              std::vector<std::string>{"Ann"});

    TemporaryDirectory folder;
    const auto file = folder.path() / HighScores::fileName;
    HighScores scores = *old;
    const std::string lakeside = "Lakeside Loop: 100% wet";
    EXPECT_EQ(scores.add(HighScoreKind::BEST_LAP, 3, {"Ben", 6000, 1700000300}, lakeside), 1u)
        << "slower than the Test Track's best, but first on its own track";
    EXPECT_EQ(scores.add(HighScoreKind::RACE_TIME, 2, {"Cy", 9000, 1700000400}, "random:42"), 1u);
    EXPECT_EQ(scores.add(HighScoreKind::BEST_LAP, 3, {"Ann", 100, 1}, ""), 0u);
    EXPECT_EQ(scores.add(HighScoreKind::BEST_LAP, 3, {"Ann", 100, 1}, std::string(65, 't')), 0u);
    ASSERT_TRUE(scores.save(file));
    const std::string text = readFile(file);
    EXPECT_NE(text.find("\nlap 3 4512 1700000000 Ann\n"), std::string::npos)
        << "the Test Track's lines are written as before";
    EXPECT_NE(text.find("\nlap:Lakeside%20Loop:%20100%25%20wet 3 6000 1700000300 Ben\n"),
              std::string::npos)
        << text;

    const HighScores back = HighScores::load(file);
    EXPECT_EQ(back.getTracks(), (std::vector<std::string>{lakeside, "Test Track", "random:42"}));
    EXPECT_EQ(drivers(back.get(HighScoreKind::BEST_LAP, 3)), std::vector<std::string>{"Ann"});
    EXPECT_EQ(back.get(HighScoreKind::BEST_LAP, 3, lakeside),
              scores.get(HighScoreKind::BEST_LAP, 3, lakeside));
    EXPECT_EQ(back.getLapCounts("random:42"), std::vector<unsigned int>{2});
    EXPECT_TRUE(back.get(HighScoreKind::RACE_TIME, 2).empty());

    // A line whose track field is broken is refused alone.
    const auto damaged = HighScores::read(
        "Brumbly high scores 1\nlap: 3 100 5 Ann\nlap:a%2 3 100 5 Ann\nlap:ok 3 100 5 Ann\n",
        problem);
    ASSERT_TRUE(damaged);
    EXPECT_EQ(damaged->getSource(), Data::HighScoreSource::DAMAGED_LINES);
    EXPECT_EQ(problem, "line 2 is damaged (and 1 more damaged line)");
    EXPECT_EQ(damaged->getTracks(), std::vector<std::string>{"ok"});
}
