// render_icon <side> <file.png>: writes the game's icon, drawn at side x side pixels, as a
// PNG picture for the desktop's icon theme. Runs at build time, without a display.
#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>

#include "app/app_icon.h"

int main(int argc, char** argv) {
    const int side = argc == 3 ? std::atoi(argv[1]) : 0;
    if (side < 16 || side > 1024) {
        std::fprintf(stderr, "usage: %s <side 16..1024> <file.png>\n", argv[0]);
        return 2;
    }
    if (!applicationIconImage(side).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
