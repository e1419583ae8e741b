// The high-score tables: ranking, the file they are kept in, and files that cannot
// be used.
#include "Data/HighScores.h"
#include "ProfileTestSupport.h"

#include <sys/stat.h>

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

TEST(HighScoresTest, AnUnusableFileIsLoggedGivesEmptyTablesAndStaysUntilANewRecordIsSaved) {
    TemporaryDirectory folder;
    const std::string good = someScores().write();
    const struct {
        const char* what;
        std::string text;
    } damaged[] = {
        {"empty", ""},
        {"another file", "[VideoOptions]\nXResolution=640\n"},
        {"a cut line", good + "lap 3 4512"},
        {"letters for a time", good + "lap 3 45x2 1700000000 Ann\n"},
        {"a negative time", good + "race 3 -5 1700000000 Ann\n"},
        {"no laps", good + "lap 0 4512 1700000000 Ann\n"},
        {"an unknown table", good + "sector 3 4512 1700000000 Ann\n"},
        {"a broken escape", good + "lap 3 4512 1700000000 Ann%4\n"},
        {"no name", good + "lap 3 4512 1700000000 \n"},
        {"binary", std::string("Brumbly high scores 1\n\0\xff\x01", 25)},
    };
    const auto file = folder.path() / HighScores::fileName;
    for (const auto& fault : damaged) {
        writeFile(file, fault.text);
        ErrorRecorder log;
        std::string problem;
        EXPECT_TRUE(HighScores::load(file, &problem).empty()) << fault.what;
        ASSERT_EQ(log.errors.size(), 1u) << fault.what;
        EXPECT_EQ(log.errors[0].getTitle(), "Couldn't read the high scores .. [Failed]");
        EXPECT_NE(log.errors[0].getMessage().find(problem), std::string::npos);
        EXPECT_EQ(readFile(file), fault.text) << fault.what << ": left as it was";
    }

    // Too large to be ours, and a named pipe in its place: refused unread.
    writeFile(file, good);
    std::filesystem::resize_file(file, HighScores::maximumFileSize + 1);
    const auto pipe = folder.path() / "pipe.txt";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const auto& unusable : {file, pipe}) {
        ErrorRecorder log;
        EXPECT_TRUE(HighScores::load(unusable).empty());
        EXPECT_EQ(log.errors.size(), 1u) << unusable;
    }
    EXPECT_EQ(std::filesystem::file_size(file), HighScores::maximumFileSize + 1);

    // A new record replaces the unusable file with good tables.
    for (const auto& unusable : {file, pipe}) {
        HighScores scores = HighScores::load(unusable);
        scores.add(HighScoreKind::BEST_LAP, 2, {"Cid", 3000, 1700000300});
        ASSERT_TRUE(scores.save(unusable));
        EXPECT_EQ(drivers(HighScores::load(unusable).get(HighScoreKind::BEST_LAP, 2)),
                  std::vector<std::string>{"Cid"});
    }
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
