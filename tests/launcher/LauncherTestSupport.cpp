#include "LauncherTestSupport.h"

#include "Data/ProfileManager.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QtTest>

bool RecordingKernel::initialise(const Data::Options& options) {
    calls.push_back("initialise " + options.getResolutionString());
    return failing != "initialise";
}

bool RecordingKernel::createLevel(const std::string& track, unsigned int laps) {
    calls.push_back("createLevel " + std::to_string(laps) + " " + track);
    return failing != "createLevel";
}

bool RecordingKernel::createPlayer(std::shared_ptr<Data::Profile> profile, const glm::vec3& colour,
                                   int gamepad) {
    calls.push_back(
        "createPlayer " + profile->getName() + " " + std::to_string(static_cast<int>(colour.r)) +
        "," + std::to_string(static_cast<int>(colour.g)) + "," +
        std::to_string(static_cast<int>(colour.b)) +
        (gamepad == Game::Kernel::noGamepad ? "" : " gamepad " + std::to_string(gamepad)));
    return failing != "createPlayer";
}

void RecordingKernel::run() {
    calls.push_back("run");
    windowShownDuringRace = window != nullptr && window->isVisible();
}

void RecordingMessageBoxes::show(QWidget*, const QString& caption, const QString& text, Icon icon) {
    boxes.push_back({caption, text, icon});
}

bool RecordingMessageBoxes::ask(QWidget*, const QString& text) {
    boxes.push_back({QGuiApplication::applicationDisplayName(), text, Icon::Question});
    return answer;
}

void addRaceDriver(const QWidget& newGamePage, const char* name) {
    auto* drivers = childControl<QComboBox>(newGamePage, "driverList");
    drivers->setCurrentIndex(drivers->findText(QString::fromUtf8(name)));
    QTest::mouseClick(childControl<QPushButton>(newGamePage, "addButton"), Qt::LeftButton);
}

void onNextModalDialog(std::function<void(QWidget*)> action) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action = std::move(action)] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        action(dialog);
    });
    poll->start(5);
}

ProfilesFixture::ProfilesFixture() {
    reload();
}

std::string ProfilesFixture::file(const std::string& name) const {
    // Built from bytes: a name need not be UTF-8.
    return directory.path().toStdString() + "/" + name + ".profile";
}

std::string ProfilesFixture::addProfile(const std::string& name, unsigned int nation) {
    Data::Profile profile(name, directory.path().toStdString(), ".profile");
    profile.nationality.set(nation);
    profile.controls.accelerate = 38;
    profile.controls.brake = 40;
    profile.controls.steerLeft = 37;
    profile.controls.steerRight = 39;
    profile.controls.reset = 'R';
    profile.save();
    reload();
    return file(name);
}

void ProfilesFixture::reload() {
    Data::ProfileManager& manager = Data::ProfileManager::getInstance();
    manager.releaseAll();
    manager.loadFromDirectory(directory.path().toStdString());
}
