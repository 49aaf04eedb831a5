#include "Platform/QtAudio.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <QtEndian>

#include <algorithm>

QtSoundPlayer::QtSoundPlayer() : output_(std::make_unique<QAudioOutput>()), player_(std::make_unique<QMediaPlayer>()) {
    player_->setAudioOutput(output_.get());
}

QtSoundPlayer::~QtSoundPlayer() {
    if (waiting_) waiting_->quit();
    player_->stop();
}

bool QtSoundPlayer::play(const QString& path, int flags) {
    // A sound asked not to interrupt another gives way to it.
    if ((flags & NoStop) && player_->playbackState() == QMediaPlayer::PlayingState) return false;
    if (path.isEmpty() || !QFileInfo(path).isFile()) return false;
    // A new sound cuts the one before, and ends a wait for it.
    if (waiting_) waiting_->quit();
    QElapsedTimer started;
    started.start();
    player_->stop();
    player_->setLoops((flags & Loop) ? int(QMediaPlayer::Infinite) : 1);
    player_->setSource(QUrl::fromLocalFile(path));
    player_->play();
    if (!(flags & Async)) waitForEnd(path, started);
    return true;
}

void QtSoundPlayer::waitForEnd(const QString& path, const QElapsedTimer& started) {
    QEventLoop loop;
    waiting_ = &loop;
    // The wait ends at the latest when the sound's length has passed since it was asked for.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    auto armFor = [&](qint64 lengthMs) { deadline.start(int(std::max<qint64>(0, lengthMs - started.elapsed()))); };
    const qint64 length = QtAudio::waveLength(path);
    armFor(length >= 0 ? length : QtAudio::unknownLengthLimitMs);

    QList<QMetaObject::Connection> links;
    links << QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    links << QObject::connect(player_.get(), &QMediaPlayer::mediaStatusChanged, &loop,
                              [&loop](QMediaPlayer::MediaStatus s) {
                                  if (s == QMediaPlayer::EndOfMedia || s == QMediaPlayer::InvalidMedia) loop.quit();
                              });
    links << QObject::connect(player_.get(), &QMediaPlayer::errorOccurred, &loop, &QEventLoop::quit);
    links << QObject::connect(player_.get(), &QMediaPlayer::playbackStateChanged, &loop,
                              [&loop](QMediaPlayer::PlaybackState s) {
                                  if (s == QMediaPlayer::StoppedState) loop.quit();
                              });
    if (length < 0)
        links << QObject::connect(player_.get(), &QMediaPlayer::durationChanged, &loop, [&](qint64 ms) {
                     if (ms > 0) armFor(ms);
                 });
    const QMediaPlayer::MediaStatus now = player_->mediaStatus();
    if (now != QMediaPlayer::EndOfMedia && now != QMediaPlayer::InvalidMedia && player_->error() == QMediaPlayer::NoError)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    for (const auto& link : links) QObject::disconnect(link);
    waiting_ = nullptr;
}

void QtSoundPlayer::stop() {
    if (waiting_) waiting_->quit();
    player_->stop();
}

QtMusicDevice::QtMusicDevice() : output_(std::make_unique<QAudioOutput>()), player_(std::make_unique<QMediaPlayer>()) {
    player_->setAudioOutput(output_.get());
}

QtMusicDevice::~QtMusicDevice() { player_->stop(); }

bool QtMusicDevice::open(const QString& path) {
    if (open_ || path.isEmpty() || !QFileInfo(path).isFile()) return false;
    player_->setLoops(1);
    player_->setSource(QUrl::fromLocalFile(path));
    open_ = true;
    return true;
}

void QtMusicDevice::play() {
    if (open_) player_->play();
}

void QtMusicDevice::stop() { player_->stop(); }

void QtMusicDevice::close() {
    player_->stop();
    player_->setSource(QUrl());
    open_ = false;
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
