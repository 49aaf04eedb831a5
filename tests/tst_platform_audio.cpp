// The sounds behind the audio output: wave and .au files decoded into the
// output's one format (length, mixing, resampling, every sample coding,
// files cut short, files that are no sound), the program's own sounds (the
// short ones decoded at once, the tunes left to the decoding thread), and
// the players' promises, heard through an output that keeps what it takes
// instead of an audio device: synchronous sounds follow each other sample
// for sample, every request of a sound plays it whole, an output slow to
// start plays what was asked for meanwhile, an output that failed or did not
// start in time is dropped and made again, one that stalled is replaced at
// once, a synchronous sound waits its length and the short bound at most, a
// burst of quick sounds never waits at all.
#include "Platform/App.h"
#include "Platform/QtAudio.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <QtEndian>

using namespace TestSupport;

namespace {

QByteArray le16(int v) {
    QByteArray b(2, '\0');
    qToLittleEndian<quint16>(quint16(v), b.data());
    return b;
}
QByteArray le32(quint32 v) {
    QByteArray b(4, '\0');
    qToLittleEndian<quint32>(v, b.data());
    return b;
}
QByteArray be32(quint32 v) {
    QByteArray b(4, '\0');
    qToBigEndian<quint32>(v, b.data());
    return b;
}

// A wave file: format code, channels, rate, bits, the data; dataSize
// (when given) is what the header claims.
QByteArray wave(int format, int channels, int rate, int bits, const QByteArray& data, qint64 dataSize = -1) {
    const int block = channels * bits / 8;
    QByteArray fmt = le16(format) + le16(channels) + le32(quint32(rate)) + le32(quint32(rate * block)) + le16(block) +
                     le16(bits);
    QByteArray body = "WAVE" + QByteArray("fmt ") + le32(quint32(fmt.size())) + fmt + QByteArray("LIST") + le32(3) +
                      QByteArray("abc\0", 4) + QByteArray("data") +
                      le32(quint32(dataSize >= 0 ? dataSize : data.size())) + data;
    return "RIFF" + le32(quint32(body.size())) + body;
}

QByteArray au(int encoding, int channels, int rate, const QByteArray& data, quint32 size = 0xFFFFFFFF) {
    return ".snd" + be32(28) + be32(size) + be32(quint32(encoding)) + be32(quint32(rate)) + be32(quint32(channels)) +
           QByteArray(4, '\0') + data;
}

QByteArray repeated(const QByteArray& unit, int times) {
    QByteArray out;
    for (int i = 0; i < times; ++i) out += unit;
    return out;
}

qint16 sampleAt(const QtAudio::Clip& clip, qsizetype i) {
    return qint16(quint8(clip.pcm.at(2 * i)) | quint8(clip.pcm.at(2 * i + 1)) << 8);
}

// How an output goes wrong: not at all, failing at once (no server), taking
// nothing (a server that stopped answering), taking its first samples and
// then nothing (a device suspended while it plays), taking nothing for
// lateMs and then everything (a sink slow to take a new stream's first
// samples), the same for longer than a start-up allowance (a server that
// takes 4.5 s to start a stream); or letting the server rest as the
// server's output does, after restMs of silence unless the stream is kept
// ready, and connecting again for the next sound, its first samples then
// taken leadInMs later.
enum class Fault { None, Fails, TakesNothing, StopsTaking, StartsLate, StartsVeryLate, Rests };
constexpr int lateMs = 1500, veryLateMs = 4500, restMs = 300, leadInMs = 160;

// An output that takes its stream fifty times as fast as it plays and keeps
// every sample it took on the tape, or goes wrong. It never tires of waiting
// at a held stream.
int outputsAlive = 0;
class TapeOutput : public QtAudio::Output {
public:
    TapeOutput(std::shared_ptr<QtAudio::Stream> stream, Reports reports, QByteArray* tape, Fault fault)
        : stream_(std::move(stream)), reports_(std::move(reports)) {
        ++outputsAlive;
        if (fault == Fault::Fails) reports_.failed();
        if (fault == Fault::Fails || fault == Fault::TakesNothing) return;
        made_.start();
        QObject::connect(&clock_, &QTimer::timeout, [this, tape, fault] {
            if (fault == Fault::StartsLate && made_.elapsed() < lateMs) return;
            if (fault == Fault::StartsVeryLate && made_.elapsed() < veryLateMs) return;
            if (fault == Fault::Rests && resting_) {
                if (stream_->current() == 0 && !stream_->kept()) return;
                if (!connecting_.isValid()) connecting_.start();
                if (connecting_.elapsed() < leadInMs) return;
                resting_ = false;
                connecting_.invalidate();
                quiet_.start();
            }
            char chunk[2 * QtAudio::outputRate / 20];
            const QtAudio::Stream::Taken taken = stream_->take(chunk, sizeof chunk);
            tape->append(chunk, taken.bytes);
            if (taken.ended) reports_.ended(taken.ended);
            if (fault == Fault::StopsTaking) clock_.stop();
            if (fault != Fault::Rests) return;
            if (taken.sounding || taken.holding) {
                quiet_.start();
            } else if (quiet_.elapsed() >= restMs && !stream_->kept()) {
                stream_->rest();
                resting_ = true;
            }
        });
        clock_.start(1);
    }
    ~TapeOutput() override { --outputsAlive; }

private:
    std::shared_ptr<QtAudio::Stream> stream_;
    Reports reports_;
    QTimer clock_;
    QElapsedTimer made_;
    bool resting_ = true;
    QElapsedTimer connecting_, quiet_;
};

// The outputs the channels make from now on: the first `faulty` go wrong, the others tape.
int outputsMade = 0;
void useTape(QByteArray* tape, int faulty = 0, Fault fault = Fault::Fails) {
    outputsMade = 0;
    QtAudio::setOutputMaker([tape, faulty, fault](std::shared_ptr<QtAudio::Stream> stream, QtAudio::Output::Reports reports) {
        return std::make_unique<TapeOutput>(std::move(stream), std::move(reports), tape,
                                            ++outputsMade > faulty ? Fault::None : fault);
    });
}

// How often clip stands whole on the tape.
int copiesOn(const QByteArray& tape, const QByteArray& clip) {
    int copies = 0;
    for (qsizetype at = tape.indexOf(clip); at >= 0; at = tape.indexOf(clip, at + clip.size())) ++copies;
    return copies;
}

// A wave or .au file as the players decode it.
QByteArray pcmOf(const QString& file) {
    QFile f(App::file(file));
    if (!f.open(QIODevice::ReadOnly)) return {};
    const std::optional<QtAudio::Clip> clip = QtAudio::decode(f.readAll());
    return clip ? clip->pcm : QByteArray();
}

} // namespace

class TestPlatformAudio : public QObject {
    Q_OBJECT
private:
    QByteArray tape_;

private slots:
    void init() {
        setUp();
        useTape(&tape_);
    }
    void cleanup() {
        QtAudio::setOutputMaker(nullptr);
        QCOMPARE(outputsAlive, 0);
        tape_.clear();
        tearDown();
    }

    void decode_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("ms");
        // The first sample at the output rate, -1 when the file is refused.
        QTest::addColumn<int>("first");
        const int r = QtAudio::outputRate;
        QTest::newRow("16-bit mono at the output rate") << wave(1, 1, r, 16, repeated(le16(16384), r)) << qint64(1000)
                                                        << 16384;
        QTest::newRow("16-bit stereo mixed down") << wave(1, 2, r, 16, repeated(le16(8000) + le16(-4000), r / 2))
                                                  << qint64(500) << 2000;
        QTest::newRow("8-bit unsigned") << wave(1, 1, 8000, 8, repeated(QByteArray(1, char(192)), 8000)) << qint64(1000)
                                        << 16384;
        QTest::newRow("24-bit") << wave(1, 1, 8000, 24, repeated(QByteArray("\x00\x00\xC0", 3), 800)) << qint64(100)
                                << -16384;
        QTest::newRow("32-bit float") << wave(3, 1, 8000, 32, repeated(QByteArray("\x00\x00\x00\x3F", 4), 400))
                                      << qint64(50) << 16384;
        QTest::newRow("mu-law wave") << wave(7, 1, 8000, 8, repeated(QByteArray(1, char(0xFF)), 800)) << qint64(100)
                                     << 0;
        QTest::newRow("A-law wave") << wave(6, 1, 8000, 8, repeated(QByteArray(1, char(0xD5)), 800)) << qint64(100)
                                    << 8;
        QTest::newRow("cut short: what is there")
            << wave(1, 1, 8000, 16, repeated(le16(100), 2000), 16000) << qint64(250) << 100;
        QTest::newRow("mu-law .au") << au(1, 1, 8000, repeated(QByteArray(1, char(0x80)), 2400)) << qint64(300) << 32124;
        QTest::newRow(".au of 16-bit samples, big-endian")
            << au(3, 1, 8000, repeated(QByteArray("\x40\x00", 2), 800)) << qint64(100) << 16384;
        QTest::newRow(".au with its size given") << au(3, 1, 8000, repeated(QByteArray("\x40\x00", 2), 800), 800)
                                                 << qint64(50) << 16384;
        QTest::newRow("compressed wave without its coding's table") << wave(2, 1, 8000, 4, QByteArray(400, '\x11'))
                                                                  << qint64(0) << -1;
        QTest::newRow("mp3 tag without frames") << QByteArray("ID3\x03\x00\x00\x00\x00\x00\x00 frames") << qint64(0)
                                              << -1;
        QTest::newRow("a rate of 0") << wave(1, 1, 0, 16, repeated(le16(1), 100)) << qint64(0) << -1;
        QTest::newRow("no data part") << QByteArray("RIFF\x04\x00\x00\x00WAVE", 12) << qint64(0) << -1;
        QTest::newRow("empty") << QByteArray() << qint64(0) << -1;
    }
    void decode() {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, ms);
        QFETCH(int, first);
        const std::optional<QtAudio::Clip> clip = QtAudio::decode(bytes);
        QCOMPARE(clip.has_value(), first != -1);
        if (!clip) return;
        QCOMPARE(clip->lengthMs, ms);
        QCOMPARE(clip->pcm.size(), 2 * (ms * QtAudio::outputRate / 1000));
        if (!clip->pcm.isEmpty()) QCOMPARE(int(sampleAt(*clip, 0)), first);
    }

    void resamplingKeepsTheShape() {
        // A ramp at 8000 samples a second stays a ramp at the output rate.
        QByteArray ramp;
        for (int i = 0; i < 80; ++i) ramp += le16(i * 400);
        const std::optional<QtAudio::Clip> clip = QtAudio::decode(wave(1, 1, 8000, 16, ramp));
        QVERIFY(clip);
        const qsizetype n = clip->pcm.size() / 2;
        for (qsizetype i = 1; i < n; ++i) QVERIFY(sampleAt(*clip, i) >= sampleAt(*clip, i - 1));
        const qsizetype middle = 40 * QtAudio::outputRate / 8000;
        QVERIFY(qAbs(sampleAt(*clip, middle) - 40 * 400) <= 400);
    }

    void theProgramsSounds_data() {
        QTest::addColumn<QString>("file");
        // -2: the length its header gives; -1: any length.
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<bool>("atOnce");
        QTest::newRow("a letter") << "A.au" << qint64(300) << true;
        QTest::newRow("the key click") << "Type.wav" << qint64(24) << true;
        QTest::newRow("a talk sound") << "TalkIn.wav" << qint64(-2) << true;
        QTest::newRow("a dot of the playback") << "ShortQuick.wav" << qint64(-2) << true;
        QTest::newRow("a tune: on the decoding thread") << "Welcome.mp3" << qint64(-1) << false;
    }
    void theProgramsSounds() {
        // Every sound the program plays decodes; the short ones at once, the tunes left to the decoding thread.
        QFETCH(QString, file);
        QFETCH(qint64, ms);
        QFETCH(bool, atOnce);
        QFile f(qEnvironmentVariable("QEM_MEDIA_DIR") + "/Sound/" + file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QCOMPARE(QtAudio::decode(bytes, QtAudio::Kinds::Plain).has_value(), atOnce);
        const std::optional<QtAudio::Clip> clip = QtAudio::decode(bytes);
        QVERIFY(clip);
        QVERIFY(clip->lengthMs > 0);
        if (ms >= 0) QCOMPARE(clip->lengthMs, ms);
        else if (ms == -2) QCOMPARE(clip->lengthMs, QtAudio::waveLength(f.fileName()));
    }

    void syncSoundsFollowEachOther_data() {
        QTest::addColumn<Fault>("fault");
        QTest::newRow("a running output") << Fault::None;
        QTest::newRow("sounds asked for during start-up are played in order") << Fault::StartsLate;
    }
    void syncSoundsFollowEachOther() {
        // The sounds of one playback, each waited for, follow each other on
        // the output sample for sample: no silence between, nothing cut,
        // also when they were asked for before the output took any.
        QFETCH(Fault, fault);
        useTape(&tape_, 1, fault);
        writeFile("a.wav", wave(1, 1, 8000, 16, repeated(le16(1000), 800)));
        writeFile("b.au", au(3, 1, 8000, repeated(QByteArray("\xF0\x00", 2), 400)));
        writeFile("c.wav", wave(1, 1, 8000, 8, repeated(QByteArray(1, char(200)), 1200)));
        const QByteArray played = pcmOf("a.wav") + pcmOf("b.au") + pcmOf("a.wav") + pcmOf("c.wav");
        QtSoundPlayer player;
        for (const char* file : {"a.wav", "b.au", "a.wav", "c.wav"}) QVERIFY(player.play(App::file(file), SoundPlayer::Sync));
        QTRY_VERIFY(tape_.size() >= played.size());
        QCOMPARE(tape_.mid(tape_.indexOf(played.left(2)), played.size()), played);
    }

    void everyRequestPlaysWhole_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Fault>("fault");
        QTest::newRow("a wave, decoded at once") << "tune.wav" << Fault::None;
        QTest::newRow("an mp3, decoded on its thread") << "Welcome.mp3" << Fault::None;
        QTest::newRow("first take late by 1.5 s: the tune is handed over whole") << "Welcome.mp3" << Fault::StartsLate;
    }
    void everyRequestPlaysWhole() {
        // Ten requests on the music device, each after the one before has
        // ended: ten whole copies on the output, each from its beginning.
        QFETCH(QString, file);
        QFETCH(Fault, fault);
        useTape(&tape_, 1, fault);
        QByteArray ramp;
        for (int i = 0; i < 3200; ++i) ramp += le16(i * 10 - 16000);
        writeFile("tune.wav", wave(1, 1, 8000, 16, ramp));
        QFile media(qEnvironmentVariable("QEM_MEDIA_DIR") + "/Sound/Welcome.mp3");
        QVERIFY(media.open(QIODevice::ReadOnly));
        writeFile("Welcome.mp3", media.readAll());
        const QByteArray tune = pcmOf(file);
        QVERIFY(!tune.isEmpty());
        QtMusicDevice device;
        for (int i = 1; i <= 10; ++i) {
            QVERIFY(device.open(App::file(file)));
            device.play();
            QTRY_COMPARE(copiesOn(tape_, tune), i);
            device.close();
        }
    }

    void outputMadeAgainAfterFailure_data() {
        QTest::addColumn<Fault>("fault");
        // How soon the first output is dropped at the latest.
        QTest::addColumn<int>("droppedWithinMs");
        // The first tune whole on the output (0 or 1), the outputs made in all.
        QTest::addColumn<int>("tunes");
        QTest::addColumn<int>("made");
        // How many outputs go wrong so.
        QTest::addColumn<int>("faulty");
        QTest::newRow("no server: fails at once") << Fault::Fails << 1000 << 0 << 2 << 1;
        QTest::newRow("a stopped server: takes nothing, dropped when its start-up allowance is spent")
            << Fault::TakesNothing << QtAudio::outputStartMs + 1000 << 0 << 2 << 1;
        // Well before the start-up allowance is spent.
        QTest::newRow("an output that took and then stalled is dropped after the short bound")
            << Fault::StopsTaking << 2000 << 1 << 2 << 1;
        // The first output given up late with the tune; the next one is
        // given longer, and plays.
        QTest::newRow("server takes 4.5 s to start every stream: later sounds are played")
            << Fault::StartsVeryLate << QtAudio::outputStartMs + 1000 << 0 << 2 << 100;
    }
    void outputMadeAgainAfterFailure() {
        // The first output goes wrong while a tune plays, though no one waits
        // for it: one that failed or did not start in time is dropped with
        // the tune, one that stalled is dropped and a new one plays the tune
        // on; the next sound is heard whole.
        QFETCH(Fault, fault);
        QFETCH(int, droppedWithinMs);
        QFETCH(int, tunes);
        QFETCH(int, faulty);
        useTape(&tape_, faulty, fault);
        writeFile("a.wav", wave(1, 1, 8000, 16, repeated(le16(1000), 8000)));
        writeFile("b.wav", wave(1, 1, 8000, 16, repeated(le16(-3000), 800)));
        QtMusicDevice device;
        QVERIFY(device.open(App::file("a.wav")));
        device.play();
        QTRY_COMPARE_WITH_TIMEOUT(outputsMade - outputsAlive, 1, droppedWithinMs);
        QTRY_COMPARE(copiesOn(tape_, pcmOf("a.wav")), tunes);
        device.close();
        QVERIFY(device.open(App::file("b.wav")));
        device.play();
        QTRY_COMPARE_WITH_TIMEOUT(copiesOn(tape_, pcmOf("b.wav")), 1, veryLateMs + 3000);
        QTEST(outputsMade, "made");
        QCOMPARE(copiesOn(tape_, pcmOf("a.wav")), tunes);
    }

    void syncSoundWaitsItsLength_data() {
        QTest::addColumn<Fault>("fault");
        // The outputs made in all, the sounds whole on the output in the end.
        QTest::addColumn<int>("made");
        QTest::addColumn<int>("sounds");
        QTest::newRow("no server: fails at once") << Fault::Fails << 2 << 1;
        QTest::newRow("a stopped server: takes nothing") << Fault::TakesNothing << 1 << 0;
        QTest::newRow("a suspended device: stops taking, replaced") << Fault::StopsTaking << 2 << 2;
        QTest::newRow("synchronous wait bounded while starting") << Fault::StartsLate << 1 << 2;
    }
    void syncSoundWaitsItsLength() {
        // Where no output plays it (yet), a synchronous sound holds the
        // caller for its length and the short bound at most; the next one
        // follows it, unless the output failed and took it along.
        QFETCH(Fault, fault);
        QFETCH(int, sounds);
        useTape(&tape_, 1, fault);
        writeFile("beep.wav", wave(1, 1, 8000, 16, repeated(le16(1000), 2400)));
        QtSoundPlayer player;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(player.play(App::file("beep.wav"), SoundPlayer::Sync));
        QVERIFY2(clock.elapsed() >= 290, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(clock.elapsed() < 300 + QtAudio::outputStallMs + 400, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(player.play(App::file("beep.wav"), SoundPlayer::Sync));
        QTRY_COMPARE(copiesOn(tape_, pcmOf("beep.wav")), sounds);
        QTEST(outputsMade, "made");
    }

    // Letters typed after a quiet spell, the output kept ready as the Morse
    // window keeps it in Single mode: E and T 100 ms after it each sound
    // whole, neither waiting for a new connection nor cut by the next.
    void lettersAfterAQuietSpell() {
        useTape(&tape_, 100, Fault::Rests);
        writeFile("E.wav", wave(1, 1, 8000, 16, repeated(le16(1000), 480)));
        writeFile("T.wav", wave(1, 1, 8000, 16, repeated(le16(-2000), 1440)));
        const QByteArray e = pcmOf("E.wav"), t = pcmOf("T.wav");
        QtMusicDevice device;
        device.keepReady(true);
        auto letter = [&device](const char* file) {
            device.stop();
            device.close();
            QVERIFY(device.open(App::file(file)));
            device.play();
        };
        letter("E.wav");
        QTRY_COMPARE(copiesOn(tape_, e), 1);
        QTest::qWait(restMs + leadInMs + 300);
        letter("E.wav");
        QTest::qWait(100);
        letter("T.wav");
        QTRY_COMPARE(copiesOn(tape_, t), 1);
        QCOMPARE(copiesOn(tape_, e), 2);
        QCOMPARE(outputsMade, 1);
        device.keepReady(false);
    }

    void quickSoundsNeverWait_data() {
        QTest::addColumn<bool>("music");
        QTest::newRow("letters on the music device") << true;
        QTest::newRow("sounds on the sound player") << false;
    }
    void quickSoundsNeverWait() {
        // A thousand requests, each cutting the one before, return at once
        // and leave the last one playing.
        QFETCH(bool, music);
        writeFile("a.au", au(1, 1, 8000, repeated(QByteArray(1, char(0x80)), 2400)));
        writeFile("b.wav", wave(1, 1, 8000, 16, repeated(le16(1000), 2400)));
        QtSoundPlayer player;
        QtMusicDevice device;
        for (int i = 0; i < 1000; ++i) {
            const QString file = App::file(i % 2 ? "b.wav" : "a.au");
            if (music) {
                device.stop();
                device.close();
                QVERIFY(device.open(file));
                device.play();
            } else {
                QVERIFY(player.play(file, SoundPlayer::Async));
            }
        }
        QVERIFY(device.isOpen() == music);
        // A sound that must not interrupt gives way to the one playing.
        if (!music) QVERIFY(!player.play(App::file("a.au"), SoundPlayer::Async | SoundPlayer::NoStop));
        player.stop();
        device.close();
        QVERIFY(!device.isOpen());
    }
};

QTEST_MAIN(TestPlatformAudio)
#include "tst_platform_audio.moc"
