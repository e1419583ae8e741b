#include "BrumblyApp.h"
#include "CommandLine.h"
#include "DisplayModes.h"
#include "Platform/Window.h"
#include "QuickRace.h"
#include "System/UserPaths.h"
#include "Track/Catalogue.h"

#include <QApplication>
#include <cstdio>
#include <iostream>
#include <malloc.h>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace {

// Whether the windows this run needs can open: Qt's own (unless it is told to draw
// somewhere other than the X server) and, for a race, the game's. Qt aborts the
// process when its platform finds no display, so this is asked first.
bool displayReachable(bool race) {
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (!race && !platform.isEmpty() && !platform.startsWith(QStringLiteral("xcb"))) {
        return true;
    }
    const bool reachable = Platform::init();
    // A race goes on with the window system started here: its display modes and its
    // window need it, and each start reads the X server's and the locale's settings anew.
    if (!race) {
        Platform::terminate();
    }
    return reachable;
}

// Sends what the process writes to standard output to standard error, and returns a
// descriptor of the original standard output for the figures a caller parses; -1
// when it cannot be kept apart, and then standard output stays as it was.
int keepStandardOutputForFigures() {
    std::cout.flush();
    std::fflush(stdout);
    const int figures = dup(STDOUT_FILENO);
    if (figures < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        if (figures >= 0) {
            close(figures);
        }
        return -1;
    }
    return figures;
}

void writeFigures(int descriptor, const std::string& figures) {
    std::cout.flush();
    std::fflush(stdout);
    std::size_t written = 0;
    while (written < figures.size()) {
        const ssize_t count = write(descriptor, figures.data() + written, figures.size() - written);
        if (count <= 0) {
            break;
        }
        written += static_cast<std::size_t>(count);
    }
}

// The names of the shipped tracks in that folder, as the launcher lists them.
std::vector<std::string> trackNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const Track::TrackEntry& track : Track::listTracks(folder)) {
        names.push_back(track.name);
    }
    return names;
}

// The tracks folder of the game data the program at that path uses (before the
// application has located its data).
std::filesystem::path tracksFolderOf(const char* programPath) {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        program = std::filesystem::absolute(programPath, error);
    }
    return System::UserPaths::locate(program.parent_path()).dataDirectory / "data" / "tracks";
}

// Fresh memory is costly where every page the process first touches traps into
// the kernel: a software renderer's textures, zeroed when made, took most of the
// loading time. Kept in one heap (one arena for all threads) rather than handed back
// as each picture or buffer is freed, the memory a decoded picture leaves is where
// the next texture is made. Set before any thread starts.
void keepFreedMemoryForReuse() {
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
}

} // namespace

int main(int argc, char** argv) {
    keepFreedMemoryForReuse();
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << argumentText(argv[i]);
    }
    LaunchRequest request;
    std::string error;
    if (!parseCommandLine(arguments, request, error)) {
        std::cerr << "Brumbly: " << error << "\nTry 'Brumbly --help'.\n";
        return 2;
    }
    if (request.help) {
        std::cout << request.helpText << trackHelp(trackNames(tracksFolderOf(argv[0])));
        return 0;
    }
    if (!displayReachable(request.race)) {
        std::cerr << "Brumbly: no display: set DISPLAY or run under Xvfb\n";
        return 1;
    }
    // In a race from the command line the console log goes to standard error, so that
    // standard output carries only the benchmark's figures.
    const int figuresOutput = request.race ? keepStandardOutputForFigures() : -1;
    // A race from the command line shows no launcher window: without Qt's GUI the
    // process neither connects Qt to the window system nor loads its platform plugin,
    // fonts and styles.
    const std::unique_ptr<QCoreApplication> application =
        request.race ? std::make_unique<QCoreApplication>(argc, argv)
                     : std::make_unique<QApplication>(argc, argv);
    CBrumblyApp brumbly;
    brumbly.initInstance(QCoreApplication::applicationFilePath());
    if (request.race) {
        GameRaceKernel kernel;
        std::ostringstream figures;
        const int status =
            runQuickRace(request, trackNames(Track::tracksFolder()), brumbly.config(),
                         queryDisplayModes(), kernel, figures, std::cerr);
        // A race that did not get as far as its window leaves the window system started.
        Platform::terminate();
        writeFigures(figuresOutput >= 0 ? figuresOutput : STDOUT_FILENO, figures.str());
        return status;
    }
    return brumbly.run();
}
