#pragma once

#include "MessageBoxes.h"
#include "RaceStart.h"

#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <string>
#include <vector>

class QWidget;

// The child control of `parent` with the given object name; a missing control
// ends the test program, since every later step would be meaningless.
template <class T> T* childControl(const QObject& parent, const char* name) {
    auto* widget = parent.findChild<T*>(QString::fromLatin1(name));
    if (!widget) {
        qFatal("no control %s", name);
    }
    return widget;
}

// Records the kernel calls of a race and fails the one it is told to.
class RecordingKernel final : public RaceKernel {
public:
    bool initialise(const Data::Options& options) override;
    bool createLevel(const std::string& track, unsigned int laps) override;
    bool createPlayer(std::shared_ptr<Data::Profile> profile, const glm::vec3& colour,
                      int gamepad) override;
    void run() override;
    void releaseAllPlayers() override { calls.push_back("releaseAllPlayers"); }
    void releaseLevel() override { calls.push_back("releaseLevel"); }
    void shutdown() override { calls.push_back("shutdown"); }
    std::int32_t drawnDetail() const override { return Data::DETAIL_MEDIUM; }

    std::vector<std::string> calls;
    std::string failing;
    QWidget* window = nullptr;
    bool windowShownDuringRace = true;
};

// Records message boxes instead of showing them.
class RecordingMessageBoxes final : public MessageBoxes {
public:
    struct Box {
        QString caption;
        QString text;
        Icon icon;
    };

    void show(QWidget* parent, const QString& caption, const QString& text, Icon icon) override;
    // Records a question box and gives `answer`.
    bool ask(QWidget* parent, const QString& text) override;

    std::vector<Box> boxes;
    bool answer = false;
};

// Picks the driver of that name in the New Game page's driver list and presses
// "Add".
void addRaceDriver(const QWidget& newGamePage, const char* name);

// Runs `action` on the next modal dialog as soon as it is open (from inside its
// event loop), so that a test can drive a dialog that the code under test runs with
// exec().
void onNextModalDialog(std::function<void(QWidget*)> action);

// A fresh profiles directory, loaded into the process-wide profile manager.
class ProfilesFixture {
public:
    ProfilesFixture();

    QString path() const { return directory.path(); }
    std::string file(const std::string& name) const;
    // Saves a complete human driver with the given keys; returns its file path.
    std::string addProfile(const std::string& name, unsigned int nation = 0);
    // Reloads the manager from the directory.
    void reload();

private:
    QTemporaryDir directory;
};
