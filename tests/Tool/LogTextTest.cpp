#include "Tool/LogText.h"

#include <gtest/gtest.h>

using Tool::logExcerpt;
using Tool::maximumLogExcerpt;

TEST(LogTextTest, ShortTextIsKeptAndLongTextIsCutWithItsSize) {
    EXPECT_EQ(logExcerpt(""), "");
    const std::string limit(maximumLogExcerpt, 'n');
    EXPECT_EQ(logExcerpt(limit), limit);

    // A 50 MB file name.
    const std::string huge(50 * 1024 * 1024, 'x');
    const std::string excerpt = logExcerpt(huge);
    EXPECT_EQ(excerpt, std::string(maximumLogExcerpt, 'x') + "... (52428800 bytes)");
}

TEST(LogTextTest, CutsNeverSplitACharacter) {
    // Two-byte characters after one ASCII byte: the limit falls inside a character.
    std::string name = "a";
    for (std::size_t i = 0; i < maximumLogExcerpt; ++i) {
        name += "\xC3\xAB"; // e with diaeresis
    }
    const std::string excerpt = logExcerpt(name);
    const std::string kept = excerpt.substr(0, excerpt.find("..."));
    EXPECT_EQ(kept.size(), maximumLogExcerpt - 1);
    EXPECT_EQ(name.compare(0, kept.size(), kept), 0);
    EXPECT_EQ(excerpt.substr(kept.size()),
              "... (" + std::to_string(2 * maximumLogExcerpt + 1) + " bytes)");
}
