#include "BrumblyApp.h"

#include "Artwork.h"
#include "BrumblyDlg.h"
#include "Data/HighScores.h"
#include "Data/ProfileManager.h"
#include "Game/Kernel.h"
#include "MyTabCtrl.h"
#include "StarterDrivers.h"
#include "System/File.h"
#include "System/UserPaths.h"
#include "TabNewGame.h"
#include "Tool/FileLogListener.h"
#include "Tool/LogManager.h"
#include "Tool/LogText.h"
#include "Tool/Message.h"
#include "Tool/RegularFile.h"

#include <QApplication>
#include <exception>
#include <filesystem>
#include <system_error>

namespace {

const char* const author = "Brumbly";

void log(const std::string& title, const std::string& message) {
    Tool::LogManager::getInstance().send(Tool::Message(author, title, message, Tool::MT_MESSAGE));
}

// The directory part of the program path, final separator included, with "/" as the
// only separator.
std::string programDirectory(const QString& programFilePath) {
    QString directory = programFilePath;
    directory.replace('\\', '/');
    return directory.left(directory.lastIndexOf('/') + 1).toStdString();
}

} // namespace

CBrumblyApp::CBrumblyApp() : settings(QStringLiteral("./config.ini")) {}

void CBrumblyApp::initInstance(const QString& programFilePath) {
    // Without Qt's GUI (a race from the command line) there is no window to name.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Brumbly"));
        QGuiApplication::setWindowIcon(Artwork::applicationIcon());
    }

    const std::string directory = programDirectory(programFilePath);
    const System::UserPaths paths = System::UserPaths::locate(directory);
    System::UserPaths::set(paths);
    // A first start: the profiles folder was never made.
    std::error_code missing;
    const bool firstStart = !std::filesystem::exists(paths.profilesDirectory, missing);
    const std::string folderError = paths.createFolders();
    settings = ConfigFile(QString::fromStdString(paths.configFile.string()));

    // The listener lives as long as the process: the log manager keeps using it.
    Tool::LogManager& logManager = Tool::LogManager::getInstance();
    logManager.attachLogListener(new Tool::FileLogListener(paths.logFile.string()), true);
    logManager.setEnabled(true);
    log("v0.5 - Brumbly, by the Brumbly developers, 2010\n", "");

    const std::string dataDirectory = (paths.dataDirectory / "").string();
    System::File::init(dataDirectory);
    log("Filesystem initialised .. [OK]", dataDirectory);
    // New drivers are saved into the profiles directory: a fresh installation has
    // none yet.
    if (!folderError.empty()) {
        logManager.send(Tool::Message(author, "Couldn't create the profiles directory .. [Failed]",
                                      Tool::logExcerpt(folderError), __FILE__, __LINE__,
                                      Tool::MT_ERROR));
    }
    const std::filesystem::path& profilesDirectory = paths.profilesDirectory;
    // A process killed while it saved a driver or the high scores leaves its temporary
    // file behind; nothing else would ever remove it.
    for (const std::filesystem::path& leftover :
         Tool::removeLeftoverTemporaryFiles(profilesDirectory)) {
        log("Removed a leftover temporary file .. [OK]", Tool::logExcerpt(leftover.string()));
    }
    Data::ProfileManager& profiles = Data::ProfileManager::getInstance();
    try {
        profiles.loadFromDirectory(profilesDirectory);
    } catch (const std::exception& failure) {
        logManager.send(Tool::Message(author, "Couldn't read the profiles directory .. [Failed]",
                                      failure.what(), __FILE__, __LINE__, Tool::MT_ERROR));
    }
    if (firstStart) {
        startingDrivers = createStarterDrivers(profiles);
    }
    log("ProfileManager initialised and loaded .. [OK]",
        std::to_string(profiles.getCount()) + " Profile(s) loaded");
    Game::Kernel::getInstance().setHighScoreFile(profilesDirectory / Data::HighScores::fileName);
}

int CBrumblyApp::run() {
    CBrumblyDlg dialog(messageBoxes, settings);
    prepare(dialog);
    dialog.showUntilClosed();
    return 0;
}

void CBrumblyApp::prepare(CBrumblyDlg& dialog) const {
    dialog.setHighScoreFile(Game::Kernel::getInstance().getHighScoreFile());
    for (const std::string& name : startingDrivers) {
        dialog.tabs()->newGamePage()->choose(name);
    }
}
