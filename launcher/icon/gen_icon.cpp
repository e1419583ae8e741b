// Writes the application icon as a PNG for the desktop menu: gen_icon SIZE FILE.
#include "Artwork.h"

#include <QGuiApplication>
#include <QString>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gen_icon SIZE FILE\n");
        return 2;
    }
    // Painting needs an application object but no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const int size = QString::fromLocal8Bit(argv[1]).toInt();
    if (size <= 0 || !Artwork::paintIcon(size).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "gen_icon: could not write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
