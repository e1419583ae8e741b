#include "Data/KeyTable.h"

#include <gtest/gtest.h>
#include <set>
#include <utility>
#include <vector>

using Data::KeyTable;

namespace {

// The codes the launcher's key dialog refuses (Escape, 27, cancels it).
bool refused(unsigned int code) {
    const std::vector<std::pair<unsigned int, unsigned int>> ranges = {
        {1, 7}, {10, 15}, {19, 32}, {41, 44}, {47, 47}, {58, 64}, {91, 95}, {112, 159}, {164, 254}};
    for (const auto& [first, last] : ranges) {
        if (code >= first && code <= last) {
            return true;
        }
    }
    return false;
}

std::vector<int> keysOf(unsigned int code) {
    const auto keys = KeyTable::windowKeys(code);
    return std::vector<int>(keys.begin(), keys.end());
}

} // namespace

TEST(KeyTableTest, CoversExactlyTheAcceptedCodes) {
    std::vector<unsigned int> expected;
    for (unsigned int code = 1; code <= 255; ++code) {
        if (!refused(code)) {
            expected.push_back(code);
        }
    }
    EXPECT_EQ(KeyTable::acceptedKeys(), expected);
    for (unsigned int code : {0u, 13u, 27u, 32u, 112u, 256u, 1000u}) {
        EXPECT_FALSE(KeyTable::isAccepted(code)) << code;
    }
}

TEST(KeyTableTest, EveryAcceptedCodeHasItsOwnName) {
    std::set<std::string> seen;
    for (unsigned int code : KeyTable::acceptedKeys()) {
        const std::string name = KeyTable::name(code);
        EXPECT_FALSE(name.empty()) << code;
        EXPECT_TRUE(seen.insert(name).second) << "duplicate name " << name;
    }
    // One code of every group, the ends of the ranges among them; codes without a
    // name of their own are named by their number.
    const std::vector<std::pair<unsigned int, std::string>> names = {
        {8, "Backspace"},
        {9, "Tab"},
        {16, "Shift"},
        {17, "Ctrl"},
        {18, "Alt"},
        {33, "Page Up"},
        {34, "Page Down"},
        {35, "End"},
        {36, "Home"},
        {37, "Left"},
        {40, "Down"},
        {45, "Insert"},
        {46, "Delete"},
        {48, "0"},
        {57, "9"},
        {65, "A"},
        {90, "Z"},
        {96, "Num 0"},
        {105, "Num 9"},
        {106, "Num *"},
        {107, "Num +"},
        {108, "Num Separator"},
        {109, "Num -"},
        {110, "Num ."},
        {111, "Num /"},
        {160, "Left Shift"},
        {161, "Right Shift"},
        {162, "Left Ctrl"},
        {163, "Right Ctrl"},
        {255, "Key 255"},
        {0, "Key 0"},
        {112, "Key 112"},
        {4294967295u, "Key 4294967295"}};
    for (const auto& [code, name] : names) {
        EXPECT_EQ(KeyTable::name(code), name) << code;
    }
}

TEST(KeyTableTest, CodesStandForTheirWindowKeys) {
    EXPECT_EQ(keysOf(16), (std::vector<int>{287, 288}));
    EXPECT_EQ(keysOf(17), (std::vector<int>{289, 290}));
    EXPECT_EQ(keysOf(18), (std::vector<int>{291, 292}));
    EXPECT_EQ(keysOf(160), std::vector<int>{287});
    EXPECT_EQ(keysOf(163), std::vector<int>{290});
    EXPECT_EQ(keysOf(37), std::vector<int>{285});
    EXPECT_EQ(keysOf(38), std::vector<int>{283});
    EXPECT_EQ(keysOf(39), std::vector<int>{286});
    EXPECT_EQ(keysOf(40), std::vector<int>{284});
    EXPECT_EQ(keysOf(33), std::vector<int>{298});
    EXPECT_EQ(keysOf(36), std::vector<int>{300});
    EXPECT_EQ(keysOf(8), std::vector<int>{295});
    EXPECT_EQ(keysOf(96), std::vector<int>{302});
    EXPECT_EQ(keysOf(105), std::vector<int>{311});
    EXPECT_EQ(keysOf(106), std::vector<int>{313});
    EXPECT_EQ(keysOf(111), std::vector<int>{312});
    for (unsigned int code = 48; code <= 90; ++code) {
        if (KeyTable::isAccepted(code)) {
            EXPECT_EQ(keysOf(code), std::vector<int>{static_cast<int>(code)});
        }
    }
    EXPECT_TRUE(keysOf(0).empty());
    EXPECT_TRUE(keysOf(112).empty());

    EXPECT_TRUE(KeyTable::matches(16, 288));
    EXPECT_TRUE(KeyTable::matches(37, 285));
    EXPECT_FALSE(KeyTable::matches(37, 37));
    EXPECT_FALSE(KeyTable::matches(160, 288));
    EXPECT_FALSE(KeyTable::matches(0, 0));
}

// Every key but 255 can be pressed, and only keys of the window layer come back.
TEST(KeyTableTest, WindowKeysAreValidWindowCodes) {
    for (unsigned int code : KeyTable::acceptedKeys()) {
        const auto keys = keysOf(code);
        EXPECT_EQ(keys.empty(), code == 255) << code;
        for (int key : keys) {
            EXPECT_TRUE((key >= 48 && key <= 90) || (key >= 257 && key <= 325)) << code;
        }
    }
}
