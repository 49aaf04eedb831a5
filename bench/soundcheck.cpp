// Sounds through a real audio output, as a user hears them. tools/soundcheck.sh
// runs each check against a private PulseAudio server with a null sink; the
// recorded checks record the sink's monitor with parec and cut what reached
// it into sounds and pauses.
//   soundcheck [letters] [clicks] [patience ms]
//       quick sounds: letters typed into the Morse window's Single mode at 20
//       a second, a long paste into it, key clicks in the typing trainer, each
//       key sounding (default 1000 each, 5000 ms); fails when the window stops
//       answering or a key is lost
//   soundcheck morse
//       Play Fast and Play Slow of "sos" and "paris": the tones and pauses the
//       sound files make, each within 15 ms
//   soundcheck tunes [first] [count]
//       each tune of the program (Sound/*.mp3 and Drumroll.wav, in name order;
//       from the first-th, count of them) played ten times: every play heard
//       whole
//   soundcheck restart
//       the audio server killed and started again, once for half a second and
//       once for five: letters, a tune and a playback heard afterwards
//   soundcheck stuck
//       the audio server stopped (SIGSTOP to QEM_SOUNDCHECK_SERVER, its
//       process id): the start with its welcome tune within 2 s, Play Fast of
//       "sos" within its sounds' length and a second, the window answering
//       and closing; then the server goes on (SIGCONT): the playback heard
//       tone for tone and a tune whole
//   soundcheck pause
//       the audio server stopped for a second just as a tune starts, on a new
//       output and on one that has just played: each time the tune heard
//       whole once the server goes on
//   soundcheck handed
//       on a sink nobody records, which takes a new stream's first samples
//       late: a short session (the start, a converter opened and closed, the
//       Morse window with Play Fast of "sos" twice, letters typed 4 s apart
//       in Single mode); every sound handed whole to the server's client
//       library (counted in the program, as it calls the library), and the
//       second playback holding the window no longer than its sounds and
//       the short bound
//   soundcheck late
//       on a sink idle until the program starts, recorded from just after:
//       the welcome tune heard whole
// QEM_MEDIA_DIR holds Sound/ and Pics/; QEM_SOUNDCHECK_RESTART is the command
// that restarts the server, given the seconds it stays down. In every check a watchdog thread fails the run as
// soon as the user interface stops answering for the patience (a hang is for
// good; a slow machine may pause a second or two in a long paste).
// Exit code 0: passed; 1: failed; 77: no audio output to check with.
#include "Forms/LengthConverter/frmDis.h"
#include "Forms/Main/frmChoice.h"
#include "Forms/MorseCode/frmMorse.h"
#include "Forms/TypingMaster/Keyboards.h"
#include "Forms/TypingMaster/frmKeyb.h"
#include "Modules/modLanguage.h"
#include "Modules/modMCI.h"
#include "Platform/App.h"
#include "Platform/MsgBox.h"
#include "Platform/QtAudio.h"
#include "Platform/ServerOutput.h"
#include "tests/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QMutex>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHash>
#include <QProcess>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <csignal>
#include <dlfcn.h>
#include <pulse/simple.h>
#include <thread>
#include <unistd.h>

// --- What the program hands the audio server ------------------------------

// The program's calls of the server's client library pass through here on
// their way to it: each stream's bytes are kept, as the library took them.
namespace {
struct Handed {
    QMutex mutex;
    QHash<const pa_simple*, QByteArray> open;
    QList<QByteArray> closed;
    int soundChunks = 0; // writes holding a sample that is not silence
    // For a failed check: the longest write, the longest time between the
    // end of one write and the next, and the streams opened since reset().
    qint64 longestWriteUs = 0;
    qint64 longestBetweenUs = 0;
    qint64 lastWriteEndUs = 0;
    int streams = 0;
    void reset() {
        longestWriteUs = longestBetweenUs = lastWriteEndUs = 0;
        streams = 0;
    }
};
Handed& handed() {
    static Handed h;
    return h;
}
template <class F> F next(const char* name) { return reinterpret_cast<F>(dlsym(RTLD_NEXT, name)); }
} // namespace

qint64 nowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

extern "C" pa_simple* pa_simple_new(const char* server, const char* name, pa_stream_direction_t dir, const char* dev,
                                    const char* streamName, const pa_sample_spec* ss, const pa_channel_map* map,
                                    const pa_buffer_attr* attr, int* error) {
    static const auto open = next<pa_simple* (*)(const char*, const char*, pa_stream_direction_t, const char*,
                                                 const char*, const pa_sample_spec*, const pa_channel_map*,
                                                 const pa_buffer_attr*, int*)>("pa_simple_new");
    pa_simple* s = open(server, name, dir, dev, streamName, ss, map, attr, error);
    if (s) {
        QMutexLocker lock(&handed().mutex);
        ++handed().streams;
        handed().lastWriteEndUs = 0;
    }
    return s;
}

extern "C" int pa_simple_write(pa_simple* s, const void* data, size_t bytes, int* error) {
    static const auto write = next<int (*)(pa_simple*, const void*, size_t, int*)>("pa_simple_write");
    const qint64 begun = nowUs();
    const int result = write(s, data, bytes, error);
    const qint64 ended = nowUs();
    if (result >= 0) {
        const char* from = static_cast<const char*>(data);
        QMutexLocker lock(&handed().mutex);
        Handed& h = handed();
        h.longestWriteUs = std::max(h.longestWriteUs, ended - begun);
        if (h.lastWriteEndUs) h.longestBetweenUs = std::max(h.longestBetweenUs, begun - h.lastWriteEndUs);
        h.lastWriteEndUs = ended;
        handed().open[s].append(from, qsizetype(bytes));
        if (std::any_of(from, from + bytes, [](char c) { return c != 0; })) ++handed().soundChunks;
    }
    return result;
}

extern "C" void pa_simple_free(pa_simple* s) {
    static const auto free = next<void (*)(pa_simple*)>("pa_simple_free");
    {
        QMutexLocker lock(&handed().mutex);
        if (handed().open.contains(s)) handed().closed << handed().open.take(s);
    }
    free(s);
}

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

void settle(qint64 ms) {
    QEventLoop loop;
    QTimer::singleShot(int(ms), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// Lets events run until done() holds or ms have passed; done() at the end.
bool waitUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) settle(10);
    return done();
}

class frmMorse* openMorse() {
    frmChoice()->Show();
    frmChoice()->activateNow();
    frmChoice()->lblConv[8]->click();
    class frmMorse* morse = frmMorse();
    morse->activateNow();
    settle(500);
    return morse;
}

// --- What reached the sink -------------------------------------------------

// Recordings and decoded files alike: 16-bit mono samples at this rate.
constexpr int rate = 44100;
using Samples = QList<qint16>;

double ms(qint64 samples) { return double(samples) * 1000.0 / rate; }

// What the sink played while it ran, from parec.
class Recording {
public:
    // False when parec does not record.
    bool start() {
        QObject::connect(&parec_, &QProcess::readyReadStandardOutput, [this] { bytes_ += parec_.readAllStandardOutput(); });
        parec_.start(QStringLiteral("parec"), {QStringLiteral("-d"), QStringLiteral("@DEFAULT_MONITOR@"), QStringLiteral("--raw"),
                                               QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                                               QStringLiteral("--rate=%1").arg(rate), QStringLiteral("--latency-msec=20")});
        // Recording once the first 50 ms have come.
        return waitUntil([this] { return bytes_.size() >= rate / 10 || parec_.state() == QProcess::NotRunning; }, 5000) &&
               parec_.state() == QProcess::Running;
    }
    Samples stop() {
        parec_.terminate();
        waitUntil([this] { return parec_.state() == QProcess::NotRunning; }, 3000);
        bytes_ += parec_.readAllStandardOutput();
        Samples out(bytes_.size() / 2);
        std::memcpy(out.data(), bytes_.constData(), size_t(out.size()) * 2);
        return out;
    }

private:
    QProcess parec_;
    QByteArray bytes_;
};

// A sound file's samples as the program decodes them; empty when it cannot.
// What the sink plays is compared with them: the decoding itself is tested
// with the platform's tests.
Samples decoded(const QString& path) {
    static_assert(rate == QtAudio::outputRate);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const std::optional<QtAudio::Clip> clip = QtAudio::decode(f.readAll());
    if (!clip) return {};
    Samples out(clip->pcm.size() / 2);
    std::memcpy(out.data(), clip->pcm.constData(), size_t(out.size()) * 2);
    return out;
}

// One sound of a recording: where it starts and how long it lasts, in samples.
struct Sound {
    qint64 start = 0;
    qint64 length = 0;
    qint64 end() const { return start + length; }
};

// The sounds of a recording: runs of samples at least threshold loud, a
// pause shorter than bridgeMs counted into the sound.
QList<Sound> soundsIn(const Samples& s, int threshold, double bridgeMs) {
    const qint64 bridge = qint64(bridgeMs * rate / 1000);
    QList<Sound> out;
    for (qint64 i = 0; i < s.size(); ++i) {
        if (std::abs(int(s[i])) < threshold) continue;
        if (!out.isEmpty() && i - out.last().end() <= bridge) out.last().length = i + 1 - out.last().start;
        else out << Sound{i, 1};
    }
    return out;
}

int peakOf(const Samples& s) {
    int peak = 0;
    for (qint16 v : s) peak = std::max(peak, std::abs(int(v)));
    return peak;
}

// "T60 g60 T180": each sound (T) and the pause before the next (g), in ms.
QString shapeOf(const QList<Sound>& sounds) {
    QStringList parts;
    for (qsizetype i = 0; i < sounds.size(); ++i) {
        if (i > 0) parts << QStringLiteral("g%1").arg(qRound(ms(sounds[i].start - sounds[i - 1].end())));
        parts << QStringLiteral("T%1").arg(qRound(ms(sounds[i].length)));
    }
    return parts.join(u' ');
}

// The same number of sounds, each sound and each pause within toleranceMs of the other's.
bool sameShape(const QList<Sound>& heard, const QList<Sound>& made, double toleranceMs) {
    if (heard.size() != made.size()) return false;
    for (qsizetype i = 0; i < heard.size(); ++i) {
        if (std::abs(ms(heard[i].length - made[i].length)) > toleranceMs) return false;
        if (i > 0 && std::abs(ms((heard[i].start - heard[i - 1].end()) - (made[i].start - made[i - 1].end()))) >
                         toleranceMs)
            return false;
    }
    return true;
}

// How long a tune sounds, and its longest pause, by the reference.
struct TuneShape {
    int threshold = 0;
    qint64 length = 0;
    double longestPauseMs = 0;
};
TuneShape tuneShape(const QString& path) {
    TuneShape t;
    const Samples samples = decoded(path);
    // A twentieth of the loudest sample: the tune, not its faintest tail.
    t.threshold = std::max(1, peakOf(samples) / 20);
    const QList<Sound> parts = soundsIn(samples, t.threshold, 5);
    if (parts.isEmpty()) return t;
    t.length = parts.last().end() - parts.first().start;
    for (qsizetype i = 1; i < parts.size(); ++i)
        t.longestPauseMs = std::max(t.longestPauseMs, ms(parts[i].start - parts[i - 1].end()));
    return t;
}

// How many of the heard sounds last as long as the tune (within toleranceMs).
int wholeOnes(const QList<Sound>& heard, const TuneShape& tune, double toleranceMs) {
    return int(std::count_if(heard.begin(), heard.end(),
                             [&](const Sound& s) { return std::abs(ms(s.length - tune.length)) <= toleranceMs; }));
}

constexpr double toneToleranceMs = 15;
constexpr double tuneToleranceMs = 25;
// How late a sound may come after a new output was made: a few seconds,
// for a server that starts a stream slowly.
constexpr int startAllowanceMs = 5000;

// --- The checks ------------------------------------------------------------

// Letters typed and pasted into the Morse window, key clicks in the typing
// trainer: every key handled while the window keeps answering.
bool quickSounds(int letters, int clicks) {
    class frmMorse* morse = openMorse();
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
    const bool allThere = typed == letters && pasted == letters;
    std::printf("quick sounds %s: %lld letters typed, %lld pasted, %d clicks\n", allThere ? "passed" : "FAILED",
                qlonglong(typed), qlonglong(pasted), clicks);
    return allThere;
}

// The user's steps before a playback: the text typed in At Once mode and
// converted. Returns the Morse text and the sound files of Play Fast (speed
// 2) or Play Slow (1) one after another.
QString enterMorse(class frmMorse* morse, const QString& text, int speed, Samples& files) {
    morse->optAtOnce->click();
    morse->cmdClr->click();
    QTest::mouseClick(morse->txtText->viewport(), Qt::LeftButton);
    QTest::keyClicks(morse->txtText, text);
    morse->cmdConvert[0]->click();
    const QString code = morse->txtMC->Text();
    const QString quality = speed == 2 ? QStringLiteral("Quick") : QStringLiteral("Slow");
    QHash<QChar, Samples> symbols;
    for (const char* kind : {"-Long", ".Short", " Blank"})
        symbols.insert(QChar(kind[0]), decoded(App::file(QStringLiteral("Sound/%1%2.wav").arg(QLatin1String(kind + 1), quality))));
    files.clear();
    for (const QChar c : code) files += symbols.value(c);
    return code;
}

void clickPlay(class frmMorse* morse, int speed) {
    QTest::mouseClick(morse->cmdConvert[speed], Qt::LeftButton, {}, QPoint(8, morse->cmdConvert[speed]->height() / 2));
}

// A playback after enterMorse, recorded. Compares what the sink played with
// the sound files one after another.
bool playback(class frmMorse* morse, const QString& text, int speed) {
    const QString name = QString::fromLatin1(speed == 2 ? "Play Fast" : "Play Slow");
    Samples files;
    const QString code = enterMorse(morse, text, speed, files);
    const int threshold = std::max(1, peakOf(files) / 8);
    const QList<Sound> made = soundsIn(files, threshold, 8);

    Recording sink;
    if (!sink.start()) {
        std::printf("FAIL: parec records nothing\n");
        return false;
    }
    settle(200);
    clickPlay(morse, speed);
    settle(500);
    const QList<Sound> heard = soundsIn(sink.stop(), threshold, 8);
    const bool good = sameShape(heard, made, toneToleranceMs);
    std::printf("  %s of %s (%s): %lld tones heard, the files make %lld%s\n    heard: %s\n", qPrintable(name),
                qPrintable(text), qPrintable(code.trimmed()), qlonglong(heard.size()), qlonglong(made.size()),
                good ? "" : "  FAILED", qPrintable(shapeOf(heard)));
    if (!good) std::printf("    files: %s\n", qPrintable(shapeOf(made)));
    return good;
}

bool morseCheck() {
    class frmMorse* morse = openMorse();
    // Without the window's opening tune, whenever it would come.
    StopMusic();
    settle(500);
    phase = "Morse playback";
    std::printf("Morse playback, recorded (each tone and pause within %.0f ms of the files')\n", toneToleranceMs);
    bool good = true;
    for (const char* text : {"sos", "paris"})
        for (int speed : {2, 1}) good = playback(morse, QString::fromLatin1(text), speed) && good;
    std::printf("Morse playback %s\n", good ? "passed" : "FAILED");
    return good;
}

// A tune played count times through the music service, each after the one
// before has ended, recorded: how many were heard whole.
int tunePlays(const QString& file, const TuneShape& shape, int count) {
    const double bridgeMs = shape.longestPauseMs + 60;
    Recording sink;
    if (!sink.start()) return -1;
    settle(200);
    {
        QMutexLocker lock(&handed().mutex);
        handed().reset();
    }
    for (int i = 0; i < count; ++i) {
        PlayMusic(file);
        settle(qint64(ms(shape.length) + bridgeMs) + 250);
    }
    const QList<Sound> heard = soundsIn(sink.stop(), shape.threshold, bridgeMs);
    const int whole = wholeOnes(heard, shape, tuneToleranceMs);
    QStringList lengths;
    for (const Sound& s : heard) lengths << QString::number(qRound(ms(s.length)));
    std::printf("  %-14s %2d of %d heard whole (%lld ms each); heard: %s\n", qPrintable(file), whole, count,
                qlonglong(qRound(ms(shape.length))), lengths.isEmpty() ? "nothing" : qPrintable(lengths.join(u' ')));
    if (heard.size() != whole || whole != count) {
        QMutexLocker lock(&handed().mutex);
        std::printf("    streams opened: %d, longest write %lld ms, longest time between writes %lld ms\n",
                    handed().streams, qlonglong(handed().longestWriteUs / 1000),
                    qlonglong(handed().longestBetweenUs / 1000));
    }
    return heard.size() == whole ? whole : -1;
}

QStringList tuneFiles() {
    QStringList files = QDir(App::file(QStringLiteral("Sound"))).entryList({QStringLiteral("*.mp3")}, QDir::Files);
    files << QStringLiteral("Drumroll.wav");
    files.sort();
    return files;
}

bool tunesCheck(int first, int count) {
    phase = "tunes";
    const QStringList files = tuneFiles().mid(first, count);
    std::printf("%lld tunes, each played ten times, recorded\n", qlonglong(files.size()));
    bool good = !files.isEmpty();
    for (const QString& file : files) {
        const TuneShape shape = tuneShape(App::file(QStringLiteral("Sound/") + file));
        if (shape.length == 0) {
            std::printf("  %s: the reference decoder cannot read it\n", qPrintable(file));
            good = false;
            continue;
        }
        good = tunePlays(file, shape, 10) == 10 && good;
    }
    std::printf("tunes %s\n", good ? "passed" : "FAILED");
    return good;
}

// Letters typed into the Morse window's Single mode, one every 700 ms,
// recorded: how many were heard whole.
int lettersHeard(class frmMorse* morse, const QString& letters) {
    morse->optSingle->click();
    morse->cmdClr->click();
    QList<TuneShape> shapes;
    for (const QChar c : letters) shapes << tuneShape(App::file(QStringLiteral("Sound/%1.au").arg(c)));
    Recording sink;
    if (!sink.start()) return 0;
    settle(200);
    for (const QChar c : letters) {
        QTest::keyClicks(morse->txtText, QString(c));
        settle(700);
    }
    const QList<Sound> heard = soundsIn(sink.stop(), shapes.first().threshold, 100);
    int whole = 0;
    if (heard.size() == shapes.size())
        for (qsizetype i = 0; i < heard.size(); ++i)
            if (std::abs(ms(heard[i].length - shapes[i].length)) <= toneToleranceMs) ++whole;
    std::printf("  letters: %d of %lld heard whole (%lld sounds heard)\n", whole, qlonglong(letters.size()),
                qlonglong(heard.size()));
    return whole;
}

// After the audio server was down for outageS seconds: letters, a tune and a
// playback heard again.
bool afterRestart(class frmMorse* morse, double outageS) {
    const QString command = qEnvironmentVariable("QEM_SOUNDCHECK_RESTART");
    std::printf("the audio server down for %.1f s\n", outageS);
    QProcess restart;
    restart.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command + QStringLiteral(" %1").arg(outageS)});
    // Keys while the server is away: silent, but answered.
    morse->optSingle->click();
    int typed = 0;
    while (!waitUntil([&] { return restart.state() == QProcess::NotRunning; }, 400)) {
        QTest::keyClicks(morse->txtText, QStringLiteral("E"));
        ++typed;
    }
    if (restart.exitStatus() != QProcess::NormalExit || restart.exitCode() != 0) {
        std::printf("FAIL: the server did not start again: %s\n", restart.readAllStandardError().constData());
        return false;
    }
    std::printf("  %d letters typed while it was down; the server is back\n", typed);
    // The next sounds are to be heard.
    settle(500);

    const QString letters = QStringLiteral("ETIANMSU");
    const int letterCount = lettersHeard(morse, letters);

    const QString tune = QStringLiteral("Stretch4.mp3");
    const TuneShape shape = tuneShape(App::file(QStringLiteral("Sound/") + tune));
    const int tunes = tunePlays(tune, shape, 2);
    const bool played = playback(morse, QStringLiteral("e"), 2);
    return letterCount == letters.size() && tunes == 2 && played;
}

bool restartCheck() {
    phase = "an audio server restart";
    if (qEnvironmentVariableIsEmpty("QEM_SOUNDCHECK_RESTART")) {
        std::printf("FAIL: QEM_SOUNDCHECK_RESTART names no command to restart the audio server\n");
        return false;
    }
    class frmMorse* morse = openMorse();
    // Both outputs in use before the server goes: the window's opening tune
    // has begun, then a playback.
    settle(1000);
    StopMusic();
    settle(500);
    bool good = playback(morse, QStringLiteral("e"), 2);
    for (double outage : {0.5, 5.0}) good = afterRestart(morse, outage) && good;
    std::printf("sound after a server restart %s\n", good ? "passed" : "FAILED");
    return good;
}

// The audio server stopped (alive, not answering) before the program
// starts: the start and a playback keep within bounds and the window
// answers and closes; once the server goes on, sound is heard again.
bool stuckCheck() {
    phase = "a stopped audio server";
    const qint64 server = qEnvironmentVariableIntValue("QEM_SOUNDCHECK_SERVER");
    if (server <= 0 || !ServerOutput::reachable()) {
        std::printf("FAIL: QEM_SOUNDCHECK_SERVER names no audio server that answers\n");
        return false;
    }
    patienceMs = 2000;
    ::kill(pid_t(server), SIGSTOP);
    std::printf("the audio server stopped\n");
    // The start as the program makes it, with the welcome tune.
    QElapsedTimer clock;
    clock.start();
    QtAudio::install();
    frmChoice()->Show();
    frmChoice()->activateNow();
    const qint64 startMs = clock.elapsed();
    settle(1000);
    bool good = startMs < 2000;
    std::printf("  the start took %lld ms%s\n", qlonglong(startMs), good ? "" : "  FAILED (2000 at most)");

    class frmMorse* morse = openMorse();
    StopMusic();
    Samples files;
    enterMorse(morse, QStringLiteral("sos"), 2, files);
    const qint64 lengthMs = qint64(ms(files.size()));
    clock.restart();
    clickPlay(morse, 2);
    const qint64 playMs = clock.elapsed();
    const qint64 boundMs = lengthMs + QtAudio::outputStallMs + 1000;
    const bool timely = playMs <= boundMs;
    morse->close();
    settle(200);
    const bool closed = !isFormLoaded<class frmMorse>();
    std::printf("  Play Fast of sos took %lld ms (its sounds last %lld, bound %lld)%s; the window %s\n",
                qlonglong(playMs), qlonglong(lengthMs), qlonglong(boundMs), timely ? "" : "  FAILED",
                closed ? "closed" : "did NOT close");
    good = good && timely && closed;

    ::kill(pid_t(server), SIGCONT);
    std::printf("the audio server goes on\n");
    settle(1500);
    morse = openMorse();
    StopMusic();
    settle(500);
    good = playback(morse, QStringLiteral("sos"), 2) && good;
    const QString tune = QStringLiteral("Stretch4.mp3");
    good = tunePlays(tune, tuneShape(App::file(QStringLiteral("Sound/") + tune)), 2) == 2 && good;
    std::printf("a stopped audio server %s\n", good ? "passed" : "FAILED");
    return good;
}

// The audio server stopped for a second just as a tune starts: on the
// program's first output and on one that has just played a tune. Each time
// the tune is to be heard whole once the server goes on.
bool pauseCheck() {
    phase = "an audio server pausing";
    const qint64 server = qEnvironmentVariableIntValue("QEM_SOUNDCHECK_SERVER");
    if (server <= 0) {
        std::printf("FAIL: QEM_SOUNDCHECK_SERVER names no audio server\n");
        return false;
    }
    const QString tune = QStringLiteral("Stretch4.mp3");
    const TuneShape shape = tuneShape(App::file(QStringLiteral("Sound/") + tune));
    const double bridgeMs = shape.longestPauseMs + 60;
    bool good = true;
    for (const bool running : {false, true}) {
        Recording sink;
        if (!sink.start()) {
            std::printf("FAIL: parec records nothing\n");
            return false;
        }
        settle(200);
        if (running) {
            PlayMusic(tune);
            settle(qint64(ms(shape.length)) + 300);
        }
        ::kill(pid_t(server), SIGSTOP);
        PlayMusic(tune);
        settle(1000);
        ::kill(pid_t(server), SIGCONT);
        settle(qint64(ms(shape.length)) + startAllowanceMs);
        const QList<Sound> heard = soundsIn(sink.stop(), shape.threshold, bridgeMs);
        const int whole = wholeOnes(heard, shape, tuneToleranceMs);
        const int asked = running ? 2 : 1;
        QStringList lengths;
        for (const Sound& s : heard) lengths << QString::number(qRound(ms(s.length)));
        const bool ok = whole == asked && heard.size() == asked;
        std::printf("  %s, the server stopped for 1 s as %s starts: %d of %d heard whole; heard: %s%s\n",
                    running ? "an output that has just played" : "a new output", qPrintable(tune), whole, asked,
                    lengths.isEmpty() ? "nothing" : qPrintable(lengths.join(u' ')), ok ? "" : "  FAILED");
        good = ok && good;
    }
    std::printf("an audio server pausing %s\n", good ? "passed" : "FAILED");
    return good;
}

// How often a sound stands whole in what the program handed the server, in
// any one stream.
int handedWhole(const Samples& sound) {
    const QByteArray bytes(reinterpret_cast<const char*>(sound.constData()), sound.size() * 2);
    if (bytes.isEmpty()) return 0;
    // Searched in copies, so the outputs' threads are not held meanwhile.
    QList<QByteArray> tapes;
    {
        QMutexLocker lock(&handed().mutex);
        tapes = handed().closed;
        tapes << handed().open.values();
    }
    // Looked for by its first sounding samples, then compared whole.
    qsizetype head = 0;
    while (head < bytes.size() && bytes[head] == 0) ++head;
    if (head == bytes.size()) return 0; // silence, which no one hears
    head &= ~qsizetype(1);
    const QByteArray start = bytes.mid(head, 64);
    int copies = 0;
    for (const QByteArray& tape : tapes)
        for (qsizetype at = tape.indexOf(start, head); at >= 0; at = tape.indexOf(start, at + 1))
            if (at - head + bytes.size() <= tape.size() &&
                std::memcmp(tape.constData() + at - head, bytes.constData(), size_t(bytes.size())) == 0) {
                ++copies;
                at += bytes.size() - 1;
            }
    return copies;
}

// On a sink nobody records, which takes a new stream's first samples late:
// a short session as a user has it, then every sound looked for in what the
// program handed the server.
bool handedCheck() {
    phase = "a sink nobody records";
    struct Asked {
        QString what;
        Samples sound;
        int times;
    };
    QList<Asked> asked;
    // Each sound is let play out before the next: at most until it has
    // been handed over whole, and a second more for the last buffer to play.
    auto handOver = [&](const QString& what, const Samples& sound, int times) {
        QElapsedTimer clock;
        clock.start();
        while (handedWhole(sound) < times && clock.elapsed() < ms(sound.size()) + startAllowanceMs) settle(100);
        settle(1000);
        asked.removeIf([&](const Asked& a) { return a.sound == sound; });
        asked << Asked{what, sound, times};
    };
    auto tune = [](const QString& file) { return decoded(App::file(QStringLiteral("Sound/") + file)); };

    std::printf("the start, a converter, the Morse window with its playback and letters, on a sink nobody records\n");
    frmChoice()->Show();
    frmChoice()->activateNow();
    handOver(QStringLiteral("the welcome tune"), tune(QStringLiteral("Welcome.mp3")), 1);
    frmChoice()->lblConv[0]->click();
    handOver(QStringLiteral("the converter's tune"), tune(QStringLiteral("Stretch3.mp3")), 1);
    frmDis()->close();
    handOver(QStringLiteral("the tune back to the menu"), tune(QStringLiteral("Stretch4.mp3")), 1);
    frmChoice()->Show();
    frmChoice()->activateNow();
    frmChoice()->lblConv[8]->click();
    class frmMorse* morse = frmMorse();
    morse->activateNow();
    handOver(QStringLiteral("the converter's tune again"), tune(QStringLiteral("Stretch3.mp3")), 2);
    Samples files;
    enterMorse(morse, QStringLiteral("sos"), 2, files);
    const qint64 lengthMs = qint64(ms(files.size()));
    // Once the outputs have let the server rest, and once more at once.
    settle(4000);
    QList<qint64> played;
    for (int i = 0; i < 2; ++i) {
        QElapsedTimer clock;
        clock.start();
        clickPlay(morse, 2);
        played << clock.elapsed();
    }
    handOver(QStringLiteral("Play Fast of sos, tone for tone"), files, 2);

    // Each letter after the output has let the server rest. An idle sink
    // takes new streams in steps of two seconds: 4.3 s apart, the letters
    // meet it at six moments of its step.
    MsgBoxSeam::queueAnswer(vbYes);
    morse->optSingle->click();
    QElapsedTimer typing;
    typing.start();
    const QString letters = QStringLiteral("PARISE");
    for (qsizetype i = 0; i < letters.size(); ++i) {
        settle(4300 * (i + 1) - typing.elapsed());
        QTest::keyClicks(morse->txtText, QString(letters[i]));
        asked << Asked{QStringLiteral("the letter %1").arg(letters[i]),
                       decoded(App::file(QStringLiteral("Sound/%1.au").arg(letters[i]))), 1};
    }
    const Asked last = asked.takeLast();
    handOver(last.what, last.sound, 1);

    bool good = true;
    for (const Asked& a : asked) {
        const int copies = handedWhole(a.sound);
        const bool ok = copies == a.times;
        std::printf("  %-32s handed over whole %d of %d times%s\n", qPrintable(a.what), copies, a.times, ok ? "" : "  FAILED");
        good = ok && good;
    }
    {
        QMutexLocker lock(&handed().mutex);
        std::printf("  %d chunks holding sound handed over\n", handed().soundChunks);
    }
    const bool timely = played[1] <= lengthMs + QtAudio::outputStallMs;
    std::printf("  Play Fast of sos held the window %lld ms, then %lld ms (its sounds last %lld, bound %lld)%s\n",
                qlonglong(played[0]), qlonglong(played[1]), qlonglong(lengthMs), qlonglong(lengthMs + QtAudio::outputStallMs),
                timely ? "" : "  FAILED");
    good = good && timely;
    std::printf("a sink nobody records %s\n", good ? "passed" : "FAILED");
    return good;
}

// A sink idle until the program starts, recorded from just after: the
// welcome tune heard whole.
bool lateCheck() {
    phase = "a sink recorded from just after the start";
    const QString welcome = QStringLiteral("Welcome.mp3");
    const TuneShape shape = tuneShape(App::file(QStringLiteral("Sound/") + welcome));
    frmChoice()->Show();
    frmChoice()->activateNow();
    Recording sink;
    if (!sink.start()) {
        std::printf("FAIL: parec records nothing\n");
        return false;
    }
    settle(qint64(ms(shape.length)) + startAllowanceMs);
    const QList<Sound> heard = soundsIn(sink.stop(), shape.threshold, shape.longestPauseMs + 60);
    const int whole = wholeOnes(heard, shape, tuneToleranceMs);
    QStringList lengths;
    for (const Sound& s : heard) lengths << QString::number(qRound(ms(s.length)));
    const bool good = whole == 1 && heard.size() == 1;
    std::printf("  the welcome tune, recorded from just after the start: %d of 1 heard whole (%lld ms); heard: %s\n", whole,
                qlonglong(qRound(ms(shape.length))), lengths.isEmpty() ? "nothing" : qPrintable(lengths.join(u' ')));
    std::printf("a sink recorded from just after the start %s\n", good ? "passed" : "FAILED");
    return good;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString mode = argc > 1 && !QChar(argv[1][0]).isDigit() ? QString::fromLatin1(argv[1]) : QString();
    auto number = [&](int i, int otherwise) { return argc > i ? std::max(0, atoi(argv[i])) : otherwise; };

    TestSupport::setUp(true);
    if (!ServerOutput::reachable()) {
        std::printf("soundcheck: no audio output, nothing to check\n");
        return 77;
    }
    // The computer's own audio output in place of the recording stand-ins
    // (the stuck check installs it itself, as part of the start it times).
    if (mode != QLatin1String("stuck")) QtAudio::install();

    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [] { lastBeat = nowMs(); });
    heartbeat.start(100);
    lastBeat = nowMs();
    std::thread watchdog(watch);
    QElapsedTimer total;
    total.start();
    CurrentLanguage = QStringLiteral("English");

    bool good = false;
    if (mode.isEmpty()) {
        if (argc > 3) patienceMs = std::max(100, atoi(argv[3]));
        good = quickSounds(std::max(1, number(1, 1000)), std::max(1, number(2, 1000)));
    } else if (mode == QLatin1String("morse")) {
        good = morseCheck();
    } else if (mode == QLatin1String("tunes")) {
        good = tunesCheck(number(2, 0), number(3, 1000));
    } else if (mode == QLatin1String("restart")) {
        good = restartCheck();
    } else if (mode == QLatin1String("stuck")) {
        good = stuckCheck();
    } else if (mode == QLatin1String("pause")) {
        good = pauseCheck();
    } else if (mode == QLatin1String("handed")) {
        good = handedCheck();
    } else if (mode == QLatin1String("late")) {
        good = lateCheck();
    } else {
        std::printf("soundcheck: no check named %s\n", argv[1]);
    }

    phase = "closing";
    TestSupport::tearDown();
    finished = true;
    watchdog.join();
    std::printf("soundcheck %s %s in %.1f s; longest pause %lld ms\n", mode.isEmpty() ? "quick sounds" : argv[1],
                good ? "passed" : "FAILED", double(total.elapsed()) / 1000.0, qlonglong(longestPause.load()));
    return good ? 0 : 1;
}
