// How long the menu's globe takes to load: the menu reads and splits it
// again on every activation. Then the memory two loads take (the start and
// one return to the menu) of the same file whose logical screen claims
// 5000 x 5000 pixels (four bytes changed, every frame intact), beside the
// peak of the plain loads before. Last "200,000 tiny frames": one load of a
// valid GIF of a 1 x 1 screen with 200,000 frames (4.6 MB), its time and
// peak memory, against the floor of the bare toolkit showing the frames
// the load keeps (QImageReader, each frame a QLabel with its picture); each
// runs in a process of its own, the median of three.
//   bench_anigif [file.gif] [rounds]   (default: Pics/Globe.gif of QEM_MEDIA_DIR)
#include "Modules/modAniGif.h"
#include "Platform/Controls.h"
#include "Platform/MsgBox.h"
#include "BenchRuns.h"
#include "PeakMemory.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QLabel>
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

constexpr int kTinyFrames = 200000;

// A GIF89a of a 1 x 1 screen (two colours) and `frames` frames of 0.1 s,
// each one pixel.
QByteArray tinyFrames(int frames) {
    QByteArray b("GIF89a");
    // Screen 1 x 1, a colour table of two entries: black and white.
    b.append(QByteArray::fromHex("0100" "0100" "80" "00" "00" "000000" "ffffff"));
    // A delay of 10, then the image of 1 x 1 at 0, 0, code size 2, one
    // sub-block holding clear (4), colour 0 and end (5) in 3-bit codes.
    const QByteArray frame = QByteArray::fromHex("21f904" "00" "0a00" "00" "00"
                                                 "2c" "0000" "0000" "0100" "0100" "00"
                                                 "02" "02" "4401" "00");
    b.reserve(b.size() + qsizetype(frames) * frame.size() + 1);
    for (int i = 0; i < frames; ++i) b.append(frame);
    b.append(char(0x3B));
    return b;
}

// The tiny frames written to a file in `folder`.
QString writeTinyFrames(const QTemporaryDir& folder) {
    QFile out(folder.filePath(QStringLiteral("tiny.gif")));
    if (!out.open(QIODevice::WriteOnly) || out.write(tinyFrames(kTinyFrames)) < 0) return QString();
    return out.fileName();
}

// One load of the tiny frames, or (keep > 0) its floor showing `keep`
// frames, in this process; prints "<nanoseconds> <peak bytes>".
int tinyRun(int keep) {
    QTemporaryDir folder;
    const QString file = writeTinyFrames(folder);
    if (file.isEmpty()) return 1;
    QWidget window;
    QList<Image*> imgGif{new Image(&window)};
    QElapsedTimer clock;
    clock.start();
    if (keep == 0) {
        load(file, imgGif);
    } else {
        // The bare toolkit: as many frames as the load keeps, each a label.
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly)) return 1;
        QBuffer buffer;
        buffer.setData(in.readAll());
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "gif");
        for (int i = 0; i < keep; ++i) {
            auto* label = new QLabel(&window);
            label->setPixmap(QPixmap::fromImage(reader.read()));
            label->setVisible(false);
        }
    }
    std::printf("%lld %lld\n", static_cast<long long>(clock.nsecsElapsed()),
                static_cast<long long>(peakMegabytes() * 1024 * 1024));
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The damaged file's message is counted, not shown.
    MsgBoxSeam::enable(true);
    if (argc == 3 && qstrcmp(argv[1], "--run") == 0) return tinyRun(atoi(argv[2]));
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

    // The floor shows as many frames as a load keeps.
    const QString tinyFile = writeTinyFrames(folder);
    load(tinyFile, imgGif);
    const int keep = LastFrame + 1;
    const BenchRuns::Result tiny = BenchRuns::median(3, {QStringLiteral("0")});
    const BenchRuns::Result floor = BenchRuns::median(3, {QString::number(keep)});
    std::printf("200,000 tiny frames: %d kept, load %.0f ms, peak %.1f MB   floor %.0f ms, peak %.1f MB   "
                "time ratio %.2f   memory ratio %.2f\n",
                keep, tiny.ms, tiny.mb, floor.ms, floor.mb, floor.ms > 0 ? tiny.ms / floor.ms : 0.0,
                floor.mb > 0 ? tiny.mb / floor.mb : 0.0);
    return 0;
}
