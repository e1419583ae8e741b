#include "BrumblyApp.h"
#include "CommandLine.h"
#include "DisplayModes.h"
#include "QuickRace.h"

#include <QApplication>
#include <iostream>

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    LaunchRequest request;
    std::string error;
    if (!parseCommandLine(arguments, request, error)) {
        std::cerr << "Brumbly: " << error << "\nTry 'Brumbly --help'.\n";
        return 2;
    }
    if (request.help) {
        std::cout << request.helpText;
        return 0;
    }
    QApplication application(argc, argv);
    CBrumblyApp brumbly;
    brumbly.initInstance(QCoreApplication::applicationFilePath());
    if (request.race) {
        GameRaceKernel kernel;
        return runQuickRace(request, brumbly.config(), queryDisplayModes(), kernel, std::cout,
                            std::cerr);
    }
    return brumbly.run();
}
