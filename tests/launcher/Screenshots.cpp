// Shows the launcher's main window and saves a picture of each tab as
// <directory>/tab-<index>.png, plus the key and delete dialogs and the icon. Profiles are read from
// <directory>/profiles when present; the Drivers tab shows the first of them. The Highscore tab
// shows <directory>/profiles/highscores.txt.
#include "Artwork.h"
#include "BrumblyDlg.h"
#include "ConfigFile.h"
#include "Data/HighScores.h"
#include "Data/ProfileManager.h"
#include "DeleteDialog.h"
#include "KeyDialog.h"
#include "MessageBoxes.h"
#include "MyTabCtrl.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPixmap>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Brumbly"));
    const QDir directory(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    Data::ProfileManager::getInstance().loadFromDirectory(
        directory.filePath(QStringLiteral("profiles")).toStdString());

    QtMessageBoxes messages;
    const ConfigFile config(directory.filePath(QStringLiteral("config.ini")));
    CBrumblyDlg dialog(messages, config);
    dialog.setHighScoreFile(
        directory.filePath(QStringLiteral("profiles/%1").arg(Data::HighScores::fileName))
            .toStdString());
    auto* profileList = dialog.findChild<QComboBox*>(QStringLiteral("profileList"));
    if (profileList && profileList->count() > 0) {
        profileList->setCurrentIndex(0);
        emit profileList->activated(0);
    }
    dialog.show();
    for (int tab = 0; tab < dialog.tabs()->count(); ++tab) {
        dialog.tabs()->setCurrentIndex(tab);
        QApplication::processEvents();
        dialog.grab().save(directory.filePath(QStringLiteral("tab-%1.png").arg(tab)));
    }

    CKeyDialog keyDialog(QStringLiteral("Accelerate"), &dialog);
    keyDialog.show();
    QApplication::processEvents();
    keyDialog.grab().save(directory.filePath(QStringLiteral("key-dialog.png")));
    keyDialog.hide();

    CDeleteDialog deleteDialog(QStringLiteral("Profile"), &dialog);
    deleteDialog.show();
    QApplication::processEvents();
    deleteDialog.grab().save(directory.filePath(QStringLiteral("delete-dialog.png")));
    Artwork::applicationIcon().pixmap(64).save(directory.filePath(QStringLiteral("icon.png")));
    return 0;
}
