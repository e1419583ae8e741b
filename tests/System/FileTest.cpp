#include "System/File.h"

#include <gtest/gtest.h>

using System::File;

// One test, because the working directory is process-wide state and the empty
// value is only observable before the first init.
TEST(FileWorkingDirectoryTest, InitRules) {
    EXPECT_EQ(File::getPWD(), "");

    File::init("prog");
    EXPECT_EQ(File::getPWD(), "./");

    File::init("/opt/games/brumbly/Brumbly");
    EXPECT_EQ(File::getPWD(), "/opt/games/brumbly//");

    // The launcher hands its directory in generic form, ending in "/".
    File::init("/opt/games/brumbly/");
    EXPECT_EQ(File::getPWD(), "/opt/games/brumbly//");

    // Whichever separator comes last is kept.
    File::init("C:\\a/b\\c.exe");
    EXPECT_EQ(File::getPWD(), "C:\\a/b\\/");

    char program[] = "bin/Brumbly";
    char other[] = "ignored/x";
    char* argv[] = {program, other};
    File::init(2, argv);
    EXPECT_EQ(File::getPWD(), "bin//");
}
