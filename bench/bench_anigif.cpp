// How long the menu's globe takes to load: the menu reads and splits it
// again on every activation. Then the memory two loads take (the start and
// one return to the menu) of the same file whose logical screen claims
// 5000 x 5000 pixels (four bytes changed, every frame intact), beside the
// peak of the plain loads before.
//   bench_anigif [file.gif] [rounds]   (default: Pics/Globe.gif of QEM_MEDIA_DIR)
#include "Modules/modAniGif.h"
#include "Platform/Controls.h"
#include "Platform/MsgBox.h"
#include "PeakMemory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {
// Loads the file and lets the members of the load before go.
bool load(const QString& file, QList<Image*>& imgGif) {
    const bool loaded = LoadAniGif(file, imgGif);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return loaded;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The damaged file's message is counted, not shown.
    MsgBoxSeam::enable(true);
    const QString media = qEnvironmentVariable("QEM_MEDIA_DIR", QStringLiteral("."));
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : media + QStringLiteral("/Pics/Globe.gif");
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 50;

    QWidget window;
    QList<Image*> imgGif{new Image(&window)};
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < rounds; ++i) {
        if (!load(file, imgGif)) {
            std::fprintf(stderr, "cannot load %s\n", qPrintable(file));
            return 1;
        }
    }
    const double ms = double(clock.nsecsElapsed()) / 1e6 / rounds;
    std::printf("%s: %lld frames, %.2f ms per load (%d rounds), peak memory %.1f MB\n", qPrintable(file),
                qlonglong(LastFrame + 1), ms, rounds, peakMegabytes());

    QFile in(file);
    QTemporaryDir folder;
    if (!in.open(QIODevice::ReadOnly) || !folder.isValid()) return 1;
    QByteArray huge = in.readAll();
    huge[6] = huge[8] = char(5000 & 255);
    huge[7] = huge[9] = char(5000 >> 8);
    const QString hugeFile = folder.filePath(QStringLiteral("huge.gif"));
    QFile out(hugeFile);
    if (!out.open(QIODevice::WriteOnly) || out.write(huge) != huge.size()) return 1;
    out.close();
    clock.restart();
    for (int i = 0; i < 2; ++i) load(hugeFile, imgGif);
    std::printf("screen 5000 x 5000: %lld frames, %.0f ms for two loads, %lld messages, peak memory %.1f MB\n",
                qlonglong(LastFrame + 1), double(clock.elapsed()), qlonglong(MsgBoxSeam::shown().size()),
                peakMegabytes());
    return 0;
}
