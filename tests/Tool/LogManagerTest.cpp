#include "Tool/LogManager.h"
#include "Tool/FileLogListener.h"

#include <boost/date_time/posix_time/posix_time.hpp>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

using namespace Tool;

namespace {

// Records what it is handed, for checking forwarding and replay.
class RecordingListener : public LogListener {
public:
    void process(const LogCommand& command) override { commands.push_back(command); }
    std::vector<LogCommand> commands;
};

// Captures std::cout and std::cerr for the lifetime of the object.
class ConsoleCapture {
public:
    ConsoleCapture() : oldOut(std::cout.rdbuf(out.rdbuf())), oldErr(std::cerr.rdbuf(err.rdbuf())) {}
    ~ConsoleCapture() {
        std::cout.rdbuf(oldOut);
        std::cerr.rdbuf(oldErr);
    }
    std::ostringstream out, err;

private:
    std::streambuf* oldOut;
    std::streambuf* oldErr;
};

boost::posix_time::ptime fixedTime() {
    return boost::posix_time::ptime(boost::gregorian::date(2026, 12, 8),
                                    boost::posix_time::time_duration(14, 3, 27, 120034));
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class LogManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        manager.clear();
        manager.setEnabled(true);
    }
    void TearDown() override {
        manager.clear();
        manager.setEnabled(false);
    }
    LogManager& manager = LogManager::getInstance();
};

} // namespace

TEST(MessageTest, TypeTextsAndDefaults) {
    EXPECT_EQ(Message::convertToString(MT_MESSAGE), "Message");
    EXPECT_EQ(Message::convertToString(MT_DEBUG), "Debug");
    EXPECT_EQ(Message::convertToString(MT_WARNING), "Warning");
    EXPECT_EQ(Message::convertToString(MT_ERROR), "Error");
    EXPECT_EQ(Message::convertToString(static_cast<MessageType>(7)), "Message");

    Message plain;
    EXPECT_EQ(plain.getLine(), -1);
    EXPECT_EQ(plain.getType(), MT_MESSAGE);
    Message short_("a", "t", "m", MT_WARNING);
    EXPECT_EQ(short_.getFile(), "");
    EXPECT_EQ(short_.getLine(), -1);
    EXPECT_FALSE(short_.getTime().is_not_a_date_time());
}

TEST(MessageTest, TimeHasMicroseconds) {
    EXPECT_EQ(Message::convertToString(fixedTime(), ""), "14:03:27.120034");
    Message copy;
    copy = Message("a", "t", "", "f", 3, MT_ERROR, fixedTime());
    EXPECT_EQ(copy.getTime(), fixedTime());
    EXPECT_EQ(copy.getFile(), "f");
}

TEST_F(LogManagerTest, DisabledManagerRecordsNothing) {
    const auto before = manager.getHistory().size();
    manager.setEnabled(false);
    manager.send(Message("a", "lost", "", MT_MESSAGE));
    manager.startSubSection("lost");
    EXPECT_EQ(manager.getHistory().size(), before);
    manager.setEnabled(true);

    RecordingListener listener;
    ASSERT_TRUE(manager.attachLogListener(&listener, true));
    EXPECT_EQ(listener.commands.size(), before);
}

TEST_F(LogManagerTest, AttachReplaysHistoryOnceAndRefusesDuplicates) {
    manager.send(Message("a", "first", "", MT_MESSAGE));
    RecordingListener listener;
    ASSERT_TRUE(manager.attachLogListener(&listener, true));
    const auto replayed = listener.commands.size();
    EXPECT_EQ(replayed, manager.getHistory().size());
    EXPECT_EQ(listener.commands.back().message.getTitle(), "first");

    EXPECT_FALSE(manager.attachLogListener(&listener, true));
    EXPECT_EQ(listener.commands.size(), replayed);

    manager.finishProgess(true);
    EXPECT_EQ(listener.commands.back().kind, LC_FINISH_PROGRESS);
    EXPECT_TRUE(listener.commands.back().success);

    EXPECT_TRUE(manager.detachLogListener(&listener));
    EXPECT_FALSE(manager.detachLogListener(&listener));
    EXPECT_FALSE(manager.isAttached(&listener));
    manager.send(Message("a", "after", "", MT_MESSAGE));
    EXPECT_EQ(listener.commands.back().kind, LC_FINISH_PROGRESS);
}

TEST_F(LogManagerTest, ConsoleIndentsSubSectionsAndRoutesErrors) {
    LogListener console;
    manager.attachLogListener(&console, false);
    ConsoleCapture capture;
    manager.finishSubSection("Top");
    manager.startSubSection("Outer");
    manager.send(Message("Author", "Title", "Details", MT_WARNING));
    manager.send(Message("Author", "Broken", "", MT_ERROR));
    manager.startProgress("Loading");
    manager.send(Message("Author", "dot", "", MT_MESSAGE));
    manager.send(Message("Author", "dot", "", MT_ERROR));
    manager.finishProgess(false);
    manager.finishSubSection("Outer");
    manager.finishProgess(false);

    EXPECT_EQ(capture.out.str(), "--- Top (End) ---\n"
                                 "--- Outer ---\n"
                                 "\t* Author: Title\n\t\tDetails\n"
                                 "\t* Loading ... Failed\n"
                                 "--- Outer (End) ---\n"
                                 " Failed\n");
    EXPECT_EQ(capture.err.str(), "\t* Author: Broken\n");
}

TEST_F(LogManagerTest, FileLayoutAndBlankLineRule) {
    const auto path = std::filesystem::temp_directory_path() / "brumbly_log_test.log";
    {
        std::ofstream(path) << "old run\n";
        FileLogListener file(path.string());
        manager.attachLogListener(&file, false);
        manager.startSubSection("not in file");
        manager.send(Message("Game::Kernel", "Render::Kernel initialised .. [Failed]", "",
                             "src/x.cpp", 66, MT_ERROR, fixedTime()));
        manager.send(Message("A", "plain", "", "", -1, MT_MESSAGE, fixedTime()));
        manager.send(Message("A", "warned", "why", "", -1, MT_WARNING, fixedTime()));
        manager.startProgress("not in file either");
        manager.send(Message("A", "line zero", "", "", 0, MT_DEBUG, fixedTime()));
        manager.finishProgess(true);
        manager.detachLogListener(&file);
    }
    EXPECT_EQ(readFile(path),
              "[14:03:27.120034] (ERROR) Game::Kernel: Render::Kernel initialised .. [Failed]\n"
              "\tFile: src/x.cpp\n\tLine: 66\n\n"
              "[14:03:27.120034] A: plain\n"
              "[14:03:27.120034] (WARNING) A: warned\n\tDetails: why\n\n"
              "[14:03:27.120034] A: line zero\n\tLine: 0\n\n");
    std::filesystem::remove(path);
}

// Two programs logging into one folder at once (a race started from the command line
// beside the launcher): the second takes the next name, and neither empties nor
// writes into the log of the other.
TEST_F(LogManagerTest, ASecondLoggerTakesTheNextNameAndLeavesTheFirstLogWhole) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("brumbly_log_lock_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string first = (folder / "Game.log").string();
    const std::string second = (folder / "Game.2.log").string();
    std::ofstream(first) << "earlier run\n";
    std::ofstream(second) << "earlier second run\n";
    const auto send = [&](const std::string& title) {
        manager.send(Message("A", title, "", "", -1, MT_MESSAGE, fixedTime()));
    };
    const auto line = [](const std::string& title) {
        return "[14:03:27.120034] A: " + title + "\n";
    };
    {
        ConsoleCapture console;
        FileLogListener launcher(first);
        EXPECT_EQ(launcher.getFileName(), first);
        manager.attachLogListener(&launcher, false);
        send("launcher starts");
        {
            FileLogListener race(first);
            EXPECT_EQ(race.getFileName(), second);
            manager.attachLogListener(&race, false);
            send("both write");
            manager.detachLogListener(&race);
        }
        send("launcher goes on");
        manager.detachLogListener(&launcher);
        EXPECT_EQ(console.err.str(),
                  first + " is in use by another process; this one logs to " + second + "\n");

        const FileLogListener nowhere((folder / "missing" / "Game.log").string());
        EXPECT_EQ(nowhere.getFileName(), "");
    }
    EXPECT_EQ(readFile(first),
              line("launcher starts") + line("both write") + line("launcher goes on"));
    EXPECT_EQ(readFile(second), line("both write"));
    {
        const FileLogListener next(first);
        EXPECT_EQ(next.getFileName(), first) << "a log let go is taken again";
        EXPECT_EQ(readFile(first), "") << "and started afresh";
    }
    std::filesystem::remove_all(folder);
}

TEST_F(LogManagerTest, ClearDetachesButKeepsHistory) {
    RecordingListener listener;
    manager.attachLogListener(&listener, false);
    manager.send(Message("a", "kept", "", MT_MESSAGE));
    const auto size = manager.getHistory().size();
    manager.clear();
    EXPECT_FALSE(manager.isAttached(&listener));
    EXPECT_EQ(manager.getHistory().size(), size);
}
