#include "BrumblyApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    CBrumblyApp brumbly;
    brumbly.initInstance(QCoreApplication::applicationFilePath());
    return brumbly.run();
}
