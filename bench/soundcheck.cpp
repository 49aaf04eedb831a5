// Quick sounds on a real audio output: a burst of letters typed into the
// Morse window's Single mode, a long paste into it, and a burst of key
// clicks in the typing trainer, each key sounding through the computer's
// audio output. A watchdog thread fails the run as soon as the user
// interface stops answering for five seconds (a hang is for good; a slow
// machine may pause a second or two in a long paste).
//   soundcheck [letters] [clicks] [patience ms]   (default 1000 each, 5000 ms; QEM_MEDIA_DIR holds Sound/ and Pics/)
// Exit code 0: every key handled and the window kept answering; 1: it
// stopped answering; 77: no audio output to check with.
#include "Forms/Main/frmChoice.h"
#include "Forms/MorseCode/frmMorse.h"
#include "Forms/TypingMaster/Keyboards.h"
#include "Forms/TypingMaster/frmKeyb.h"
#include "Modules/modLanguage.h"
#include "Platform/QtAudio.h"
#include "tests/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>
#include <unistd.h>

namespace {

std::atomic<qint64> lastBeat{0};
std::atomic<const char*> phase{"start"};
std::atomic<bool> finished{false};
std::atomic<qint64> longestPause{0};
qint64 patienceMs = 5000;

qint64 nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Fails the run when the main thread has not handled its heartbeat timer for patienceMs.
void watch() {
    while (!finished) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const qint64 silent = nowMs() - lastBeat;
        longestPause = std::max<qint64>(longestPause, silent);
        if (silent > patienceMs) {
            std::fprintf(stderr, "FAIL: the program stopped answering for %lld ms during %s\n", qlonglong(silent),
                         phase.load());
            std::fflush(stderr);
            _exit(1);
        }
    }
}

// Calls step(i) for i = 0..count-1, one call every intervalMs, letting events run between.
void drive(int count, int intervalMs, const std::function<void(int)>& step) {
    QEventLoop loop;
    QTimer keys;
    keys.setTimerType(Qt::PreciseTimer);
    int done = 0;
    QObject::connect(&keys, &QTimer::timeout, &loop, [&] {
        if (done == count) {
            loop.quit();
            return;
        }
        step(done++);
        if (done % 250 == 0) std::printf("  %s: %d keys\n", phase.load(), done), std::fflush(stdout);
    });
    keys.start(intervalMs);
    loop.exec();
}

void settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int letters = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    const int clicks = argc > 2 ? std::max(1, atoi(argv[2])) : 1000;
    if (argc > 3) patienceMs = std::max(100, atoi(argv[3]));

    TestSupport::setUp(true);
    // The computer's own audio output in place of the recording stand-ins.
    if (!QtAudio::install()) {
        std::printf("soundcheck: no audio output, nothing to check\n");
        return 77;
    }

    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [] { lastBeat = nowMs(); });
    heartbeat.start(100);
    lastBeat = nowMs();
    std::thread watchdog(watch);
    QElapsedTimer total;
    total.start();

    CurrentLanguage = QStringLiteral("English");
    frmChoice()->Show();
    frmChoice()->activateNow();
    frmChoice()->lblConv[8]->click();
    class frmMorse* morse = frmMorse();
    morse->activateNow();
    settle(500);

    const QString abc = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    phase = "letters typed into the Morse window";
    std::printf("%d letters at 20 a second into the Morse window's Single mode\n", letters);
    drive(letters, 50, [&](int i) { QTest::keyClicks(morse->txtText, QString(abc[i % abc.size()])); });

    phase = "a paste into the Morse window";
    std::printf("a paste of %d letters into the Morse window\n", letters);
    QString text;
    for (int i = 0; i < letters; ++i) text += abc[(i * 7) % abc.size()];
    QApplication::clipboard()->setText(text);
    const qsizetype typed = morse->txtText->Text().size();
    // Into an empty window: the check is about the sounds, not the boxes' length.
    morse->cmdClr->click();
    QElapsedTimer pasting;
    pasting.start();
    TestSupport::typeKeys(morse->txtText, QStringLiteral("^V"));
    std::printf("  the paste took %lld ms\n", qlonglong(pasting.elapsed()));
    settle(1500);
    const qsizetype pasted = morse->txtText->Text().size();
    morse->close();
    settle(500);

    phase = "key clicks in the typing trainer";
    std::printf("%d key clicks at 40 a second in the typing trainer\n", clicks);
    KeyboardLayoutSeam::choose(QStringLiteral("0409"));
    class frmKeyb* keyb = frmKeyb();
    keyb->Show();
    keyb->optSoundOn->click();
    keyb->chkStart->click();
    const QString keys = QStringLiteral("asdfjkl");
    drive(clicks, 25, [&](int i) {
        // A line at a time, so the box stays small.
        if (i % 60 == 59) keyb->txtOutput->setTextValue(QString());
        QTest::keyClicks(keyb->txtOutput, QString(keys[i % keys.size()]));
    });
    settle(1000);

    phase = "closing";
    TestSupport::tearDown();
    finished = true;
    watchdog.join();
    const bool allThere = typed == letters && pasted == letters;
    std::printf("soundcheck %s: %lld letters typed, %lld pasted, %d clicks in %.1f s; longest pause %lld ms\n",
                allThere ? "passed" : "FAILED", qlonglong(typed), qlonglong(pasted), clicks,
                double(total.elapsed()) / 1000.0, qlonglong(longestPause.load()));
    return allThere ? 0 : 1;
}
