// The high-score reader: a refused text, or one read with refused lines, has a reason;
// whatever it reads, it writes back to the same tables, each of at most ten entries
// within the limits, best first.
#include "Data/HighScores.h"
#include "FuzzSupport.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string problem;
    const std::optional<Data::HighScores> scores = Data::HighScores::read(text, problem);
    if (!scores) {
        FuzzSupport::require(!problem.empty(), "a refused text has a reason");
        return 0;
    }
    FuzzSupport::require((scores->getSource() == Data::HighScoreSource::DAMAGED_LINES) ==
                                 !problem.empty() &&
                             scores->getProblem() == problem,
                         "refused lines, and only they, have a reason");
    std::string again;
    const std::optional<Data::HighScores> back = Data::HighScores::read(scores->write(), again);
    FuzzSupport::require(back.has_value() && back->getSource() == Data::HighScoreSource::WHOLE,
                         "what was read can be read back whole");
    FuzzSupport::require(back->write() == scores->write(), "reading back keeps every entry");
    for (const unsigned int laps : scores->getLapCounts()) {
        for (const auto kind : {Data::HighScoreKind::BEST_LAP, Data::HighScoreKind::RACE_TIME}) {
            const auto& table = scores->get(kind, laps);
            FuzzSupport::require(table.size() <= Data::HighScores::tableSize, "ten at most");
            for (const Data::HighScore& entry : table) {
                FuzzSupport::require(
                    entry.hundredths > 0 && entry.hundredths <= Data::HighScores::longestTime &&
                        entry.date >= 0 && entry.date <= Data::HighScores::latestDate,
                    "times and dates within the limits");
            }
            FuzzSupport::require(std::is_sorted(table.begin(), table.end(),
                                                [](const auto& a, const auto& b) {
                                                    return a.hundredths < b.hundredths;
                                                }),
                                 "best first");
        }
    }
    return 0;
}
