#include "Data/Nation.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>

using Data::Nation;

TEST(NationTest, LookupIsCaseInsensitiveAndExact) {
    EXPECT_EQ(Nation("usa").getNationIndex(), 57u);
    EXPECT_EQ(Nation("USA").getNationIndex(), 57u);
    EXPECT_EQ(Nation("german").getNationIndex(), 20u);
    EXPECT_EQ(Nation("bosnia AND herzegovina").getNationIndex(), 8u);
    EXPECT_EQ(Nation("Vatican").getNationString(), "Vatican");
    for (const char* miss : {"Germany", "", " USA", "US", "USA ", "Isle  of Man"}) {
        Nation nation(30u);
        nation.set(std::string(miss));
        EXPECT_EQ(nation.getNationIndex(), 0u) << miss;
    }
}

TEST(NationTest, IndexIsStoredUnchecked) {
    const Nation outside(59u);
    EXPECT_EQ(outside.getNationIndex(), 59u);
    EXPECT_EQ(outside.getNationString(), "Africa");
    Nation copy;
    copy = outside;
    EXPECT_EQ(copy.getNationIndex(), 59u);
    copy.set(58u);
    EXPECT_EQ(copy.getNationString(), "Vatican");
    EXPECT_EQ(Nation().getNationIndex(), 0u);
}

// The launcher's sorted list relies on the table being alphabetical, and every name
// must find its own position.
TEST(NationTest, TableIsSortedAndEveryNameFindsItsIndex) {
    ASSERT_EQ(Nation::getNationMapsize(), 59u);
    const std::string* names = Nation::getStringMap();
    EXPECT_EQ(names[0], "Africa");
    EXPECT_EQ(names[58], "Vatican");
    const auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return text;
    };
    for (unsigned int index = 0; index < Nation::getNationMapsize(); ++index) {
        EXPECT_EQ(Nation(names[index]).getNationIndex(), index) << names[index];
        if (index > 0) {
            EXPECT_LT(lower(names[index - 1]), lower(names[index]));
        }
    }
}
