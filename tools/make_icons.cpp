// Writes the program's icon as PNG files for the desktop's icon theme:
// DIR/<N>x<N>/apps/NAME.png for each size N given, drawn by the same code as
// the window's icon. It only paints into images, so it needs no application
// object and no display.
#include <QDir>
#include <QImage>
#include <QString>
#include <iostream>

#include "app/icon.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: make_icons DIR NAME SIZE...\n";
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size < 1 || size > 256) {
            std::cerr << "make_icons: not a size from 1 to 256: " << argv[i] << "\n";
            return 2;
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(dir).arg(size);
        const QString file = folder + "/" + name + ".png";
        if (!QDir().mkpath(folder) || !loglezer::program_icon_image(size).save(file, "PNG")) {
            std::cerr << "make_icons: cannot write " << file.toStdString() << "\n";
            return 1;
        }
    }
    return 0;
}
