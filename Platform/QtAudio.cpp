#include "Platform/QtAudio.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioOutput>
#include <QAudioSink>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QMutex>
#include <QTimer>
#include <QUrl>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace QtAudio {

namespace {

// Files beyond this size are no short sounds: a media player streams them.
constexpr qint64 largestClipFile = 32 * 1024 * 1024;
// How long the audio output keeps running after a sound before it is paused.
constexpr int idleMs = 2000;

enum class Coding { Unsigned8, Signed8, Signed16, Signed24, Signed32, Float32, Float64, ALaw, MuLaw };

struct Layout {
    Coding coding = Coding::Signed16;
    bool bigEndian = false;
    int channels = 0;
    int rate = 0;
    const char* data = nullptr;
    qint64 bytes = 0;
};

int bytesPerSample(Coding c) {
    switch (c) {
    case Coding::Unsigned8:
    case Coding::Signed8:
    case Coding::ALaw:
    case Coding::MuLaw: return 1;
    case Coding::Signed16: return 2;
    case Coding::Signed24: return 3;
    case Coding::Signed32:
    case Coding::Float32: return 4;
    case Coding::Float64: return 8;
    }
    return 1;
}

double muLaw(quint8 u) {
    u = quint8(~u);
    const int exponent = (u >> 4) & 7, mantissa = u & 0x0F;
    const int magnitude = (((mantissa << 3) + 0x84) << exponent) - 0x84;
    return ((u & 0x80) ? -magnitude : magnitude) / 32768.0;
}

double aLaw(quint8 a) {
    a ^= 0x55;
    int t = (a & 0x0F) << 4;
    const int segment = (a & 0x70) >> 4;
    if (segment == 0) t += 8;
    else t = (t + 0x108) << (segment - 1);
    return ((a & 0x80) ? t : -t) / 32768.0;
}

double sampleAt(const Layout& l, const uchar* p) {
    auto int24 = [&] {
        const qint32 v = l.bigEndian ? (p[0] << 16) | (p[1] << 8) | p[2] : (p[2] << 16) | (p[1] << 8) | p[0];
        return (v & 0x800000) ? v - 0x1000000 : v;
    };
    switch (l.coding) {
    case Coding::Unsigned8: return (p[0] - 128) / 128.0;
    case Coding::Signed8: return qint8(p[0]) / 128.0;
    case Coding::Signed16:
        return (l.bigEndian ? qFromBigEndian<qint16>(p) : qFromLittleEndian<qint16>(p)) / 32768.0;
    case Coding::Signed24: return int24() / 8388608.0;
    case Coding::Signed32:
        return (l.bigEndian ? qFromBigEndian<qint32>(p) : qFromLittleEndian<qint32>(p)) / 2147483648.0;
    case Coding::Float32: {
        const quint32 bits = l.bigEndian ? qFromBigEndian<quint32>(p) : qFromLittleEndian<quint32>(p);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return std::isfinite(f) ? double(f) : 0.0;
    }
    case Coding::Float64: {
        const quint64 bits = l.bigEndian ? qFromBigEndian<quint64>(p) : qFromLittleEndian<quint64>(p);
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return std::isfinite(d) ? d : 0.0;
    }
    case Coding::ALaw: return aLaw(p[0]);
    case Coding::MuLaw: return muLaw(p[0]);
    }
    return 0.0;
}

// The samples, mixed down to mono and resampled to the output rate.
Clip render(const Layout& l) {
    const int width = bytesPerSample(l.coding);
    const qint64 frameBytes = qint64(width) * l.channels;
    const qint64 frames = l.bytes / frameBytes;
    std::vector<double> mono(static_cast<size_t>(frames));
    const auto* base = reinterpret_cast<const uchar*>(l.data);
    for (qint64 f = 0; f < frames; ++f) {
        double sum = 0;
        for (int c = 0; c < l.channels; ++c) sum += sampleAt(l, base + f * frameBytes + qint64(c) * width);
        mono[size_t(f)] = sum / l.channels;
    }
    const qint64 outFrames = frames * outputRate / l.rate;
    Clip clip;
    clip.pcm.resize(outFrames * 2);
    auto* out = reinterpret_cast<qint16*>(clip.pcm.data());
    const double step = double(l.rate) / outputRate;
    for (qint64 i = 0; i < outFrames; ++i) {
        const double at = double(i) * step;
        const qint64 k = qint64(at);
        const double frac = at - double(k);
        const double a = mono[size_t(k)], b = k + 1 < frames ? mono[size_t(k + 1)] : a;
        out[i] = qint16(std::lround(std::clamp(a + (b - a) * frac, -1.0, 32767.0 / 32768.0) * 32768.0));
    }
    clip.lengthMs = frames * 1000 / l.rate;
    return clip;
}

bool sane(const Layout& l) { return l.channels >= 1 && l.channels <= 16 && l.rate >= 1000 && l.rate <= 384000; }

std::optional<Layout> waveLayout(const QByteArray& b) {
    if (b.size() < 12 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE") return std::nullopt;
    Layout l;
    bool haveFormat = false;
    qint64 at = 12;
    while (at + 8 <= b.size()) {
        const QByteArray id = b.mid(at, 4);
        const quint32 size = qFromLittleEndian<quint32>(b.constData() + at + 4);
        const qint64 body = at + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > b.size()) return std::nullopt;
            const char* f = b.constData() + body;
            int format = qFromLittleEndian<quint16>(f);
            l.channels = qFromLittleEndian<quint16>(f + 2);
            l.rate = int(qFromLittleEndian<quint32>(f + 4));
            const int bits = qFromLittleEndian<quint16>(f + 14);
            // The extensible form names its coding in the first two bytes of its sub-format.
            if (format == 0xFFFE && size >= 26 && body + 26 <= b.size()) format = qFromLittleEndian<quint16>(f + 24);
            if (format == 1 && bits == 8) l.coding = Coding::Unsigned8;
            else if (format == 1 && bits == 16) l.coding = Coding::Signed16;
            else if (format == 1 && bits == 24) l.coding = Coding::Signed24;
            else if (format == 1 && bits == 32) l.coding = Coding::Signed32;
            else if (format == 3 && bits == 32) l.coding = Coding::Float32;
            else if (format == 3 && bits == 64) l.coding = Coding::Float64;
            else if (format == 6 && bits == 8) l.coding = Coding::ALaw;
            else if (format == 7 && bits == 8) l.coding = Coding::MuLaw;
            else return std::nullopt;
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat || !sane(l)) return std::nullopt;
            l.data = b.constData() + body;
            l.bytes = std::min<qint64>(size, b.size() - body);
            return l;
        }
        at = body + qint64(size) + (size & 1);
    }
    return std::nullopt;
}

std::optional<Layout> auLayout(const QByteArray& b) {
    if (b.size() < 24 || !b.startsWith(".snd")) return std::nullopt;
    const char* h = b.constData();
    const quint32 offset = qFromBigEndian<quint32>(h + 4), size = qFromBigEndian<quint32>(h + 8);
    Layout l;
    l.bigEndian = true;
    switch (qFromBigEndian<quint32>(h + 12)) {
    case 1: l.coding = Coding::MuLaw; break;
    case 2: l.coding = Coding::Signed8; break;
    case 3: l.coding = Coding::Signed16; break;
    case 4: l.coding = Coding::Signed24; break;
    case 5: l.coding = Coding::Signed32; break;
    case 6: l.coding = Coding::Float32; break;
    case 7: l.coding = Coding::Float64; break;
    case 27: l.coding = Coding::ALaw; break;
    default: return std::nullopt;
    }
    l.rate = int(std::min<quint32>(qFromBigEndian<quint32>(h + 16), 1u << 30));
    l.channels = int(std::min<quint32>(qFromBigEndian<quint32>(h + 20), 1u << 30));
    if (!sane(l) || offset < 24 || offset > quint32(b.size())) return std::nullopt;
    l.data = h + offset;
    // An unknown size (all ones) means: to the end of the file.
    l.bytes = std::min<qint64>(size, b.size() - qint64(offset));
    return l;
}

QAudioFormat outputFormat() {
    QAudioFormat f;
    f.setSampleRate(outputRate);
    f.setChannelCount(1);
    f.setSampleFormat(QAudioFormat::Int16);
    return f;
}

} // namespace

std::optional<Clip> decode(const QByteArray& bytes) {
    std::optional<Layout> l = waveLayout(bytes);
    if (!l) l = auLayout(bytes);
    if (!l) return std::nullopt;
    return render(*l);
}

// Feeds the audio sink: the current clip from where it stands, looping if
// asked, then silence, so the output never runs dry and never needs
// restarting between sounds.
class Channel::Source : public QIODevice {
public:
    Source() { QIODevice::open(QIODevice::ReadOnly); }
    void set(std::shared_ptr<const Clip> clip, bool loop) {
        QMutexLocker lock(&mutex_);
        clip_ = std::move(clip);
        loop_ = loop;
        pos_ = 0;
    }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return QIODevice::bytesAvailable() + (qint64(1) << 30); }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        QMutexLocker lock(&mutex_);
        qint64 done = 0;
        while (clip_ && done < maxSize) {
            const qint64 left = clip_->pcm.size() - pos_;
            if (left <= 0) {
                if (!loop_ || clip_->pcm.isEmpty()) {
                    clip_.reset();
                    break;
                }
                pos_ = 0;
                continue;
            }
            const qint64 n = std::min(left, maxSize - done);
            std::memcpy(data + done, clip_->pcm.constData() + pos_, size_t(n));
            pos_ += n;
            done += n;
        }
        std::memset(data + done, 0, size_t(maxSize - done));
        return maxSize;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QMutex mutex_;
    std::shared_ptr<const Clip> clip_;
    bool loop_ = false;
    qint64 pos_ = 0;
};

Channel::Channel() : source_(std::make_unique<Source>()), idle_(std::make_unique<QTimer>()) {
    idle_->setSingleShot(true);
    // Between bursts of sound the output is paused, not closed.
    QObject::connect(idle_.get(), &QTimer::timeout, [this] {
        if (sink_ && !isPlaying() && sink_->state() != QAudio::SuspendedState) sink_->suspend();
    });
}

Channel::~Channel() {
    idle_->stop();
    if (sink_) sink_->stop();
    sink_.reset();
    qDeleteAll(players_);
}

std::shared_ptr<const Clip> Channel::clipOf(const QString& path) {
    const QFileInfo info(path);
    const qint64 modified = info.lastModified().toMSecsSinceEpoch();
    const auto known = clips_.constFind(path);
    if (known != clips_.constEnd() && known->size == info.size() && known->modified == modified) return known->clip;
    Cached entry{info.size(), modified, nullptr};
    QFile f(path);
    if (info.size() <= largestClipFile && f.open(QIODevice::ReadOnly)) {
        if (std::optional<Clip> clip = decode(f.readAll())) entry.clip = std::make_shared<const Clip>(std::move(*clip));
    }
    clips_.insert(path, entry);
    return entry.clip;
}

QMediaPlayer* Channel::playerOf(const QString& path) {
    if (QMediaPlayer* known = players_.value(path)) return known;
    auto* player = new QMediaPlayer;
    player->setAudioOutput(new QAudioOutput(player));
    player->setSource(QUrl::fromLocalFile(path));
    players_.insert(path, player);
    return player;
}

void Channel::startClip(std::shared_ptr<const Clip> clip, bool loop) {
    if (!sink_) {
        sink_ = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), outputFormat());
        // A short buffer: a key's sound follows the key closely.
        sink_->setBufferSize(outputFormat().bytesForDuration(80000));
    }
    source_->set(clip, loop);
    if (sink_->state() == QAudio::SuspendedState) sink_->resume();
    else if (sink_->state() == QAudio::StoppedState) sink_->start(source_.get());
    clip_ = std::move(clip);
    loop_ = loop;
    started_.start();
    if (loop) idle_->stop();
    else idle_->start(int(std::min<qint64>(clip_->lengthMs, 3600000)) + idleMs);
}

bool Channel::start(const QString& path, bool loop) {
    stop();
    if (path.isEmpty() || !QFileInfo(path).isFile()) return false;
    if (std::shared_ptr<const Clip> clip = clipOf(path)) {
        startClip(std::move(clip), loop);
        return true;
    }
    QMediaPlayer* player = playerOf(path);
    player->setLoops(loop ? int(QMediaPlayer::Infinite) : 1);
    player->setPosition(0);
    player->play();
    current_ = player;
    started_.start();
    return true;
}

void Channel::stop() {
    if (clip_) source_->set(nullptr, false);
    clip_.reset();
    loop_ = false;
    if (current_) current_->stop();
    current_ = nullptr;
}

bool Channel::isPlaying() const {
    if (clip_) return loop_ || started_.elapsed() < clip_->lengthMs;
    return current_ && current_->playbackState() == QMediaPlayer::PlayingState;
}

QMediaPlayer* Channel::player() const { return current_; }

qint64 Channel::length() const {
    if (clip_) return clip_->lengthMs;
    if (current_ && current_->duration() > 0) return current_->duration();
    return -1;
}

} // namespace QtAudio

QtSoundPlayer::QtSoundPlayer() = default;

QtSoundPlayer::~QtSoundPlayer() {
    if (waiting_) waiting_->quit();
    channel_.stop();
}

bool QtSoundPlayer::play(const QString& path, int flags) {
    // A sound asked not to interrupt another gives way to it.
    if ((flags & NoStop) && channel_.isPlaying()) return false;
    if (path.isEmpty() || !QFileInfo(path).isFile()) return false;
    // A new sound cuts the one before, and ends a wait for it.
    if (waiting_) waiting_->quit();
    QElapsedTimer started;
    started.start();
    if (!channel_.start(path, flags & Loop)) return false;
    if (!(flags & Async)) waitForEnd(started);
    return true;
}

void QtSoundPlayer::waitForEnd(const QElapsedTimer& started) {
    QEventLoop loop;
    waiting_ = &loop;
    // The wait ends at the latest when the sound's length has passed since it was asked for.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    auto armFor = [&](qint64 lengthMs) { deadline.start(int(std::max<qint64>(0, lengthMs - started.elapsed()))); };
    const qint64 length = channel_.length();
    armFor(length >= 0 ? length : QtAudio::unknownLengthLimitMs);
    QList<QMetaObject::Connection> links;
    links << QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    bool over = false;
    if (QMediaPlayer* player = channel_.player()) {
        links << QObject::connect(player, &QMediaPlayer::mediaStatusChanged, &loop, [&loop](QMediaPlayer::MediaStatus s) {
            if (s == QMediaPlayer::EndOfMedia || s == QMediaPlayer::InvalidMedia) loop.quit();
        });
        links << QObject::connect(player, &QMediaPlayer::errorOccurred, &loop, &QEventLoop::quit);
        links << QObject::connect(player, &QMediaPlayer::playbackStateChanged, &loop,
                                  [&loop](QMediaPlayer::PlaybackState s) {
                                      if (s == QMediaPlayer::StoppedState) loop.quit();
                                  });
        if (length < 0)
            links << QObject::connect(player, &QMediaPlayer::durationChanged, &loop, [&](qint64 ms) {
                         if (ms > 0) armFor(ms);
                     });
        over = player->mediaStatus() == QMediaPlayer::InvalidMedia || player->error() != QMediaPlayer::NoError;
    }
    if (!over) loop.exec(QEventLoop::ExcludeUserInputEvents);
    for (const auto& link : links) QObject::disconnect(link);
    waiting_ = nullptr;
}

void QtSoundPlayer::stop() {
    if (waiting_) waiting_->quit();
    channel_.stop();
}

QtMusicDevice::QtMusicDevice() = default;

QtMusicDevice::~QtMusicDevice() { channel_.stop(); }

bool QtMusicDevice::open(const QString& path) {
    if (isOpen() || path.isEmpty() || !QFileInfo(path).isFile()) return false;
    file_ = path;
    return true;
}

void QtMusicDevice::play() {
    if (isOpen()) channel_.start(file_, false);
}

void QtMusicDevice::stop() { channel_.stop(); }

void QtMusicDevice::close() {
    channel_.stop();
    file_.clear();
}

namespace QtAudio {

bool install() {
    if (QMediaDevices::audioOutputs().isEmpty()) {
        SoundPlayer::install(std::make_unique<SilentSound>());
        MusicDevice::install(std::make_unique<SilentMusic>());
        return false;
    }
    SoundPlayer::install(std::make_unique<QtSoundPlayer>());
    MusicDevice::install(std::make_unique<QtMusicDevice>());
    // The outputs and players go while Qt Multimedia is still there.
    qAddPostRoutine([] {
        SoundPlayer::install(std::make_unique<SilentSound>());
        MusicDevice::install(std::make_unique<SilentMusic>());
    });
    return true;
}

qint64 waveLength(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray head = f.read(12);
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE") return -1;
    quint32 bytesPerSecond = 0;
    while (!f.atEnd()) {
        const QByteArray chunk = f.read(8);
        if (chunk.size() < 8) return -1;
        const quint32 size = qFromLittleEndian<quint32>(chunk.constData() + 4);
        const QByteArray id = chunk.left(4);
        if (id == "fmt ") {
            const QByteArray fmt = f.read(std::min<quint32>(size, 16));
            if (fmt.size() < 12) return -1;
            bytesPerSecond = qFromLittleEndian<quint32>(fmt.constData() + 8);
            if (!f.seek(f.pos() + (size - quint32(fmt.size())) + (size & 1))) return -1;
        } else if (id == "data") {
            if (bytesPerSecond == 0) return -1;
            // A data chunk longer than the file (a file cut short) plays what is there.
            const qint64 available = std::min<qint64>(size, f.size() - f.pos());
            return available * 1000 / bytesPerSecond;
        } else if (!f.seek(f.pos() + qint64(size) + (size & 1))) {
            return -1;
        }
    }
    return -1;
}

} // namespace QtAudio
