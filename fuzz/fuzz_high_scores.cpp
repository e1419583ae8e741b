// The high-score reader: whatever it accepts, it writes back to the same tables, each
// of at most ten entries, best first.
#include "Data/HighScores.h"
#include "FuzzSupport.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string problem;
    const std::optional<Data::HighScores> scores = Data::HighScores::read(text, problem);
    FuzzSupport::require(scores.has_value() == problem.empty(),
                         "a refused text, and only a refused one, has a reason");
    if (!scores) {
        return 0;
    }
    std::string again;
    const std::optional<Data::HighScores> back = Data::HighScores::read(scores->write(), again);
    FuzzSupport::require(back.has_value(), "what was read can be read back");
    FuzzSupport::require(back->write() == scores->write(), "reading back keeps every entry");
    for (const unsigned int laps : scores->getLapCounts()) {
        for (const auto kind : {Data::HighScoreKind::BEST_LAP, Data::HighScoreKind::RACE_TIME}) {
            const auto& table = scores->get(kind, laps);
            FuzzSupport::require(table.size() <= Data::HighScores::tableSize, "ten at most");
            FuzzSupport::require(std::is_sorted(table.begin(), table.end(),
                                                [](const auto& a, const auto& b) {
                                                    return a.hundredths < b.hundredths;
                                                }),
                                 "best first");
        }
    }
    return 0;
}
