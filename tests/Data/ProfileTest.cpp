#include "Data/Profile.h"

#include "ProfileTestSupport.h"

#include <boost/archive/archive_exception.hpp>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace Data;
using namespace ProfileTestSupport;

namespace {

// The profile that the version-7 fixture holds.
Profile fixtureProfile(const std::filesystem::path& directory) {
    Profile profile("Ann & Co", directory, ".profile");
    profile.nationality.set(12u);
    profile.birthday.day = 3;
    profile.birthday.month = 3;
    profile.birthday.year = 1990;
    profile.sex = false;
    profile.controls.aiDifficulty = 2;
    profile.controls.accelerate = 38;
    profile.controls.brake = 40;
    profile.controls.steerLeft = 37;
    profile.controls.steerRight = 39;
    profile.controls.reset = 82;
    profile.creationDate.day = 8;
    profile.creationDate.month = 11;
    profile.creationDate.year = 126;
    profile.creationDate.hours = 14;
    profile.creationDate.minutes = 3;
    profile.creationDate.seconds = -27;
    return profile;
}

void expectSameData(const Profile& actual, const Profile& expected) {
    EXPECT_EQ(actual.getName(), expected.getName());
    EXPECT_EQ(actual.nationality, expected.nationality);
    EXPECT_EQ(actual.birthday, expected.birthday);
    EXPECT_EQ(actual.creationDate, expected.creationDate);
    EXPECT_EQ(actual.sex, expected.sex);
    EXPECT_EQ(actual.controls, expected.controls);
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const auto position = text.find(from);
    EXPECT_NE(position, std::string::npos) << from;
    return text.replace(position, from.size(), to);
}

class ProfileTest : public ::testing::Test {
protected:
    TemporaryDirectory directory;
    const std::string fixtureText = readFile(version7Fixture());
};

} // namespace

TEST_F(ProfileTest, SavedFileMatchesTheVersion7FileByteForByte) {
    const std::filesystem::path file = directory.path() / "Ann.profile";
    fixtureProfile(directory.path()).saveToFile(file);
    ASSERT_FALSE(fixtureText.empty());
    EXPECT_EQ(readFile(file), fixtureText);
}

TEST_F(ProfileTest, DefaultsAndTheirArchive) {
    Profile profile;
    EXPECT_EQ(profile.getName(), "Profile");
    EXPECT_EQ(profile.getPath(), "");
    EXPECT_EQ(profile.getExtension(), ".profile");
    EXPECT_TRUE(profile.sex);
    EXPECT_EQ(profile.nationality.getNationIndex(), 0u);
    EXPECT_EQ(profile.controls, Control());
    EXPECT_EQ(profile.birthday, Date());

    profile.saveToFile(directory.path() / "default.profile");
    const std::string text = readFile(directory.path() / "default.profile");
    EXPECT_NE(text.find("\t\t<AIEnabled>0</AIEnabled>\n\t\t<AIDifficulty>0</AIDifficulty>\n"
                        "\t\t<Accelerate>0</Accelerate>\n\t\t<Brake>0</Brake>\n"
                        "\t\t<SreerLeft>0</SreerLeft>\n\t\t<SteerRight>0</SteerRight>\n"
                        "\t\t<Reset>0</Reset>\n"),
              std::string::npos)
        << text;
}

TEST_F(ProfileTest, LoadsTheVersion7FileKeepingPathAndExtension) {
    Profile loaded("Someone", directory.path(), ".ext");
    loaded.loadFromFile(version7Fixture());
    expectSameData(loaded, fixtureProfile(directory.path()));
    EXPECT_EQ(loaded.getPath(), directory.path().generic_string());
    EXPECT_EQ(loaded.getExtension(), ".ext");
}

TEST_F(ProfileTest, LoadsAFileWithCrLfLineEnds) {
    std::string crlf;
    for (char c : fixtureText) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    writeFile(directory.path() / "crlf.profile", crlf);
    Profile loaded;
    loaded.loadFromFile(directory.path() / "crlf.profile");
    expectSameData(loaded, fixtureProfile(directory.path()));
}

TEST_F(ProfileTest, RoundTripsThroughSaveAndLoad) {
    Profile saved("Mika", directory.path(), ".profile");
    saved.nationality.set(12u);
    saved.controls.aiEnabled = false;
    saved.controls.accelerate = 38;
    saved.creationDate.set(1765202607);
    saved.save();

    Profile loaded("Mika", directory.path(), ".profile");
    loaded.load();
    expectSameData(loaded, saved);

    Profile unusual("Zoë <&> \"quoted\" 'x'", directory.path(), ".profile");
    unusual.nationality.set(4000000000u);
    unusual.controls.aiEnabled = true;
    unusual.controls.reset = 4294967295u;
    unusual.birthday.hours = -1;
    unusual.save();
    Profile reloaded(unusual.getName(), directory.path(), ".profile");
    reloaded.load();
    expectSameData(reloaded, unusual);
    EXPECT_EQ(reloaded.nationality.getNationIndex(), 4000000000u);
}

TEST_F(ProfileTest, RenamedProfileSavesUnderTheNewNameAndKeepsTheOldFile) {
    Profile profile("Old", directory.path(), ".profile");
    profile.save();
    profile.setName("New");
    profile.save();
    EXPECT_EQ(directory.entries(), (std::vector<std::string>{"New.profile", "Old.profile"}));
}

// Every malformed variant of the file is an error that leaves the profile unchanged,
// never a crash and never silently wrong values.
TEST_F(ProfileTest, MalformedArchivesAreErrors) {
    struct Case {
        std::string what;
        std::string text;
    };
    const std::string closing = "</boost_serialization>\n";
    const std::vector<Case> cases = {
        {"missing closing root tag", fixtureText.substr(0, fixtureText.size() - closing.size())},
        {"text after the closing root tag", fixtureText + "<extra/>\n"},
        {"text after the profile", replaced(fixtureText, "</Profile>\n", "</Profile>\n<X>1</X>\n")},
        {"negative nation", replaced(fixtureText, "<Nation>12<", "<Nation>-12<")},
        {"negative key", replaced(fixtureText, "<Accelerate>38<", "<Accelerate>-1<")},
        {"key beyond 32 bits", replaced(fixtureText, "<Brake>40<", "<Brake>4294967296<")},
        {"day beyond 32 bits", replaced(fixtureText, "<Day>3<", "<Day>2147483648<")},
        {"trailing letters", replaced(fixtureText, "<Reset>82<", "<Reset>82abc<")},
        {"fraction", replaced(fixtureText, "<Year>1990<", "<Year>1990.5<")},
        {"empty number", replaced(fixtureText, "<Hours>0<", "<Hours><")},
        {"boolean 2", replaced(fixtureText, "<AIEnabled>0<", "<AIEnabled>2<")},
        {"sex text", replaced(fixtureText, "<Sex>0<", "<Sex>no<")},
        {"newer archive version", replaced(fixtureText, "version=\"7\">", "version=\"99\">")},
        {"no archive version", replaced(fixtureText, " version=\"7\">", ">")},
        {"wrong signature", replaced(fixtureText, "serialization::archive", "other")},
        {"newer class version",
         replaced(fixtureText, "class_id=\"3\" tracking_level=\"0\" version=\"0\"",
                  "class_id=\"3\" tracking_level=\"0\" version=\"1\"")},
        {"wrong element name", replaced(fixtureText, "<Sex>0</Sex>", "<Xex>0</Xex>")},
        {"elements out of order", replaced(replaced(fixtureText, "\t<Sex>0</Sex>\n", ""),
                                           "\t<Birthday", "\t<Sex>0</Sex>\n\t<Birthday")},
        {"missing element", replaced(fixtureText, "\t\t<Minutes>0</Minutes>\n", "")},
        // The archive library reads past the element name it expects when an end tag
        // is longer: such files must never reach it.
        {"end tag longer than its start tag",
         replaced(fixtureText, "<Sex>0</Sex>", "<Sex>0</Gender>")},
        {"longer element name", replaced(fixtureText, "<Sex>0</Sex>", "<Gender>0</Gender>")},
        {"unclosed element", replaced(fixtureText, "12</Nation>", "12")},
        {"end tag without start tag", replaced(fixtureText, "<Sex>0", "0")},
        {"empty element tag", replaced(fixtureText, "<Sex>0</Sex>", "<Sex/>")},
        {"text between elements", replaced(fixtureText, "</Birthday>", "</Birthday>x")},
        {"comment", replaced(fixtureText, "<Sex>", "<!-- sex --><Sex>")},
        {"unknown attribute", replaced(fixtureText, "class_id=\"2\"", "object_id=\"_2\"")},
        {"attribute without quotes", replaced(fixtureText, "class_id=\"2\"", "class_id=2")},
        {"bare ampersand", replaced(fixtureText, "&amp;", "&")},
        {"unknown reference", replaced(fixtureText, "&amp;", "&nbsp;")},
        {"truncated", fixtureText.substr(0, fixtureText.size() / 2)},
        {"empty file", ""},
        {"not XML", "Ann,12,1990\n"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        const std::filesystem::path file = directory.path() / "broken.profile";
        writeFile(file, test.text);
        Profile profile = fixtureProfile(directory.path());
        profile.setName("Unchanged");
        const Profile before = profile;
        EXPECT_THROW(profile.loadFromFile(file), boost::archive::archive_exception);
        expectSameData(profile, before);
    }
}

TEST_F(ProfileTest, VersionErrorsCarryTheirArchiveCodes) {
    const auto codeOf = [&](const std::string& text) {
        writeFile(directory.path() / "x.profile", text);
        try {
            Profile().loadFromFile(directory.path() / "x.profile");
        } catch (const boost::archive::archive_exception& error) {
            return error.code;
        }
        return boost::archive::archive_exception::no_exception;
    };
    EXPECT_EQ(codeOf(replaced(fixtureText, "version=\"7\">", "version=\"99\">")),
              boost::archive::archive_exception::unsupported_version);
    EXPECT_EQ(codeOf(replaced(fixtureText, "serialization::archive", "x")),
              boost::archive::archive_exception::invalid_signature);
    // The library's own archive version is still readable.
    EXPECT_EQ(codeOf(replaced(fixtureText, "version=\"7\">", "version=\"18\">")),
              boost::archive::archive_exception::no_exception);
}

TEST_F(ProfileTest, ValidExtremeValuesLoadUnchanged) {
    std::string text = replaced(fixtureText, "<Nation>12<", "<Nation>4294967295<");
    text = replaced(text, "<Day>3<", "<Day>-2147483648<");
    writeFile(directory.path() / "x.profile", text);
    Profile profile;
    profile.loadFromFile(directory.path() / "x.profile");
    EXPECT_EQ(profile.nationality.getNationIndex(), 4294967295u);
    EXPECT_EQ(profile.nationality.getNationString(), "Africa");
    EXPECT_EQ(profile.birthday.day, -2147483648);
}

TEST_F(ProfileTest, MissingFileIsAFileSystemError) {
    Profile profile("Nobody", directory.path(), ".profile");
    EXPECT_THROW(profile.load(), std::filesystem::filesystem_error);
    EXPECT_EQ(profile.getName(), "Nobody");
}

// Reading a directory once let the stream's own exception escape instead.
TEST_F(ProfileTest, DirectoriesAndOversizedFilesAreFileSystemErrors) {
    std::filesystem::create_directories(directory.path() / "Dir.profile");
    writeFile(directory.path() / "Big.profile",
              replaced(fixtureText, "</Profile>", "</Profile>" + std::string(1024 * 1024, ' ')));
    for (const char* name : {"Dir", "Big"}) {
        Profile profile(name, directory.path(), ".profile");
        EXPECT_THROW(profile.load(), std::filesystem::filesystem_error) << name;
        EXPECT_EQ(profile.getName(), name);
    }
}

// Character references load as the byte they name, and such a name saves and loads
// unchanged.
TEST_F(ProfileTest, NamesKeepTheirBytes) {
    writeFile(directory.path() / "x.profile", replaced(fixtureText, "Ann &amp; Co", "Zo&#235;"));
    Profile profile;
    profile.loadFromFile(directory.path() / "x.profile");
    EXPECT_EQ(profile.getName(), "Zo\xEB");
    profile.saveToFile(directory.path() / "y.profile");
    Profile again;
    again.loadFromFile(directory.path() / "y.profile");
    expectSameData(again, profile);
}

TEST_F(ProfileTest, FailedSaveKeepsThePreviousFile) {
    Profile profile = fixtureProfile(directory.path());
    const std::filesystem::path file = directory.path() / "Ann.profile";
    writeFile(file, "previous contents");

    // A file size limit below the archive's size makes the write fail part way.
    rlimit original{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &original), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = original;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(profile.saveToFile(file), std::filesystem::filesystem_error);
    setrlimit(RLIMIT_FSIZE, &original);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(readFile(file), "previous contents");
    EXPECT_EQ(directory.entries(), std::vector<std::string>{"Ann.profile"});

    profile.saveToFile(file);
    EXPECT_EQ(readFile(file), fixtureText);
    EXPECT_EQ(directory.entries(), std::vector<std::string>{"Ann.profile"});
}

// The new contents go to a temporary file beside the target, named so that a
// directory scan never takes it for a profile, and then replace the target.
TEST_F(ProfileTest, SaveWritesATemporaryFileBesideTheTarget) {
    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, directory.path().c_str(), IN_CREATE | IN_MOVED_TO), 0);
    fixtureProfile(directory.path()).save();

    std::vector<std::string> created;
    std::vector<std::string> movedTo;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t length; (length = read(watch, buffer, sizeof(buffer))) > 0;) {
        for (char* at = buffer; at < buffer + length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            (event->mask & IN_CREATE ? created : movedTo).push_back(event->name);
            at += sizeof(inotify_event) + event->len;
        }
    }
    close(watch);
    ASSERT_EQ(created.size(), 1u);
    EXPECT_EQ(created[0].find(".profile"), std::string::npos) << created[0];
    EXPECT_EQ(movedTo, std::vector<std::string>{"Ann & Co.profile"});
    EXPECT_EQ(directory.entries(), std::vector<std::string>{"Ann & Co.profile"});
}

TEST_F(ProfileTest, SaveIntoAMissingDirectoryFails) {
    Profile profile("Ann", directory.path() / "missing", ".profile");
    EXPECT_THROW(profile.save(), std::filesystem::filesystem_error);
}

TEST_F(ProfileTest, SafeFileNames) {
    EXPECT_TRUE(Profile::isSafeFileName("Ann"));
    EXPECT_TRUE(Profile::isSafeFileName("..Ann"));
    EXPECT_TRUE(Profile::isSafeFileName("Zoë Müller"));
    EXPECT_TRUE(Profile::isSafeFileName(std::string(200, 'a')));
    EXPECT_FALSE(Profile::isSafeFileName(std::string(201, 'a')));
    EXPECT_FALSE(Profile::isSafeFileName(""));
    EXPECT_FALSE(Profile::isSafeFileName("."));
    EXPECT_FALSE(Profile::isSafeFileName(".."));
    EXPECT_FALSE(Profile::isSafeFileName("a/b"));
    EXPECT_FALSE(Profile::isSafeFileName("a\\b"));
    EXPECT_FALSE(Profile::isSafeFileName(std::string("a\0b", 3)));
}

TEST_F(ProfileTest, UnsafeNamesAreNeverWrittenOrRemoved) {
    const std::filesystem::path inner = directory.path() / "profiles";
    std::filesystem::create_directories(inner);
    const std::filesystem::path outside = directory.path() / "victim.profile";
    writeFile(outside, "keep");
    for (const std::string& name : {std::string("../victim"), std::string(".."), std::string(""),
                                    std::string("/tmp/x"), std::string(300, 'n')}) {
        SCOPED_TRACE(name);
        Profile profile(name, inner, ".profile");
        EXPECT_THROW(profile.save(), std::invalid_argument);
        EXPECT_THROW(profile.removeFromDisk(), std::invalid_argument);
    }
    EXPECT_TRUE(std::filesystem::is_empty(inner));
    EXPECT_EQ(readFile(outside), "keep");
    EXPECT_EQ(directory.entries(), (std::vector<std::string>{"profiles", "victim.profile"}));
}

TEST_F(ProfileTest, RemoveFromDiskDeletesOnlyItsOwnFile) {
    Profile profile("Ann", directory.path(), ".profile");
    profile.save();
    writeFile(directory.path() / "Other.profile", "x");
    profile.removeFromDisk();
    EXPECT_EQ(directory.entries(), std::vector<std::string>{"Other.profile"});
    EXPECT_NO_THROW(profile.removeFromDisk());
}
