// Writes the program icon as PNG files, size by size, for the installation:
//   jigtally-mkicon FOLDER SIZE...   ->  FOLDER/jigtally-SIZE.png
#include "Pictures.h"

#include <QImage>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: jigtally-mkicon FOLDER SIZE...\n");
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString file =
            QString::fromLocal8Bit(argv[1]) + QStringLiteral("/jigtally-%1.png").arg(size);
        if (size <= 0 || !jt::app::programIconImage(size).save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
