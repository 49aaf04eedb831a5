// How long the menu's globe takes to load: the menu reads and splits it
// again on every activation.
//   bench_anigif [file.gif] [rounds]   (default: Pics/Globe.gif of QEM_MEDIA_DIR)
#include "Modules/modAniGif.h"
#include "Platform/Controls.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString media = qEnvironmentVariable("QEM_MEDIA_DIR", QStringLiteral("."));
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : media + QStringLiteral("/Pics/Globe.gif");
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 50;

    QWidget window;
    QList<Image*> imgGif{new Image(&window)};
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < rounds; ++i) {
        if (!LoadAniGif(file, imgGif)) {
            std::fprintf(stderr, "cannot load %s\n", qPrintable(file));
            return 1;
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const double ms = double(clock.nsecsElapsed()) / 1e6 / rounds;
    std::printf("%s: %lld frames, %.2f ms per load (%d rounds)\n", qPrintable(file), qlonglong(imgGif.size()), ms, rounds);
    return 0;
}
