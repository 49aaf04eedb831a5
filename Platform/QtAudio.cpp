#include "Platform/QtAudio.h"

#include "Platform/ServerOutput.h"

#include <QAudioBuffer>
#include <QAudioDecoder>
#include <QAudioFormat>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QtEndian>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstring>
#include <deque>
#include <vector>

namespace QtAudio {

namespace {

// Files beyond this size are read by the tune decoder, which keeps their first minutes.
constexpr qint64 largestClipFile = 32 * 1024 * 1024;

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

// --- Tunes decoded by Qt Multimedia ----------------------------------------

namespace {

// What decodeLater keeps of a tune at most.
constexpr qint64 longestTuneMs = 10 * 60 * 1000;

struct DecodeJob {
    QString path;
    QPointer<QObject> context;
    std::function<void(std::shared_ptr<const Clip>)> done;
};

// Lives on the decoding thread; decodes one file after the other and hands
// each clip to `home`, an object of the user interface thread.
class DecodingWorker : public QObject {
public:
    explicit DecodingWorker(QObject* home) : home_(home) {}
    void add(DecodeJob job) {
        jobs_.push_back(std::move(job));
        if (!decoder_) next();
    }
    void shutDown() {
        decoder_.reset();
        jobs_.clear();
    }

private:
    void next() {
        if (jobs_.empty()) return;
        bytes_.clear();
        format_ = QAudioFormat();
        good_ = true;
        decoder_ = std::make_unique<QAudioDecoder>();
        decoder_->setAudioFormat(outputFormat());
        QObject::connect(decoder_.get(), &QAudioDecoder::bufferReady, this, [this] { take(); });
        QObject::connect(decoder_.get(), &QAudioDecoder::finished, this, [this] { finish(); });
        QObject::connect(decoder_.get(), qOverload<QAudioDecoder::Error>(&QAudioDecoder::error), this, [this] {
            good_ = false;
            finish();
        });
        decoder_->setSource(QUrl::fromLocalFile(jobs_.front().path));
        decoder_->start();
    }
    void take() {
        const QAudioBuffer buffer = decoder_->read();
        if (!buffer.isValid() || !good_) return;
        if (!format_.isValid()) format_ = buffer.format();
        // One format for the whole tune, as asked or as the decoder gives it.
        if (buffer.format() != format_) {
            good_ = false;
            return;
        }
        bytes_.append(buffer.constData<char>(), buffer.byteCount());
        if (format_.durationForBytes(int(std::min<qint64>(bytes_.size(), INT_MAX))) / 1000 >= longestTuneMs) finish();
    }
    void finish() {
        if (jobs_.empty() || !decoder_) return;
        std::shared_ptr<const Clip> clip;
        if (good_ && format_.isValid() && !bytes_.isEmpty()) {
            Layout l;
            l.channels = format_.channelCount();
            l.rate = format_.sampleRate();
            l.data = bytes_.constData();
            l.bytes = bytes_.size();
            bool known = true;
            switch (format_.sampleFormat()) {
            case QAudioFormat::UInt8: l.coding = Coding::Unsigned8; break;
            case QAudioFormat::Int16: l.coding = Coding::Signed16; break;
            case QAudioFormat::Int32: l.coding = Coding::Signed32; break;
            case QAudioFormat::Float: l.coding = Coding::Float32; break;
            default: known = false;
            }
            if (known && sane(l)) clip = std::make_shared<const Clip>(render(l));
        }
        DecodeJob job = std::move(jobs_.front());
        jobs_.pop_front();
        // Its pipeline goes down once the signal that brought us here has returned.
        QObject::disconnect(decoder_.get(), nullptr, this, nullptr);
        decoder_->stop();
        decoder_.release()->deleteLater();
        bytes_.clear();
        QMetaObject::invokeMethod(home_, [job = std::move(job), clip] {
            if (job.context) job.done(clip);
        });
        next();
    }

    QObject* home_;
    std::deque<DecodeJob> jobs_;
    std::unique_ptr<QAudioDecoder> decoder_;
    QByteArray bytes_;
    QAudioFormat format_;
    bool good_ = true;
};

// The decoding thread, made at the first tune and ended while Qt Multimedia
// is still there; none after that.
class Decoding {
public:
    static Decoding* instance() {
        static bool made = false;
        if (!made) {
            made = true;
            now() = new Decoding;
            qAddPostRoutine([] { delete std::exchange(now(), nullptr); });
        }
        return now();
    }
    void add(DecodeJob job) {
        QMetaObject::invokeMethod(worker_, [worker = worker_, job = std::move(job)]() mutable { worker->add(std::move(job)); });
    }

private:
    static Decoding*& now() {
        static Decoding* decoding = nullptr;
        return decoding;
    }
    Decoding() {
        thread_.setObjectName(QStringLiteral("Tune decoding"));
        worker_ = new DecodingWorker(&home_);
        worker_->moveToThread(&thread_);
        QObject::connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
        thread_.start();
    }
    ~Decoding() {
        QMetaObject::invokeMethod(worker_, [worker = worker_] { worker->shutDown(); }, Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
    }
    QObject home_;
    QThread thread_;
    DecodingWorker* worker_ = nullptr;
};

} // namespace

void decodeLater(const QString& path, QObject* context, std::function<void(std::shared_ptr<const Clip>)> done) {
    if (Decoding* decoding = Decoding::instance()) decoding->add(DecodeJob{path, context, std::move(done)});
}

// --- The stream --------------------------------------------------------------

void Stream::play(quint64 sound, std::shared_ptr<const Clip> clip, bool loop, bool follow) {
    {
        std::lock_guard lock(mutex_);
        clip_ = std::move(clip);
        pos_ = 0;
        sound_ = sound;
        loop_ = loop;
        follow_ = follow;
        holding_ = false;
        ++changes_;
    }
    changed_.notify_all();
}

void Stream::stop() {
    {
        std::lock_guard lock(mutex_);
        clip_.reset();
        sound_ = 0;
        holding_ = false;
        ++changes_;
    }
    changed_.notify_all();
}

Stream::Taken Stream::take(char* out, qint64 maxBytes) {
    std::lock_guard lock(mutex_);
    Taken t;
    while (t.bytes < maxBytes) {
        if (!clip_) {
            if (holding_) break;
            std::memset(out + t.bytes, 0, size_t(maxBytes - t.bytes));
            t.bytes = maxBytes;
            break;
        }
        const qint64 left = clip_->pcm.size() - pos_;
        if (left <= 0) {
            if (loop_ && !clip_->pcm.isEmpty()) {
                pos_ = 0;
                continue;
            }
            t.ended = sound_;
            clip_.reset();
            sound_ = 0;
            holding_ = follow_;
            continue;
        }
        const qint64 n = std::min(left, maxBytes - t.bytes);
        std::memcpy(out + t.bytes, clip_->pcm.constData() + pos_, size_t(n));
        pos_ += n;
        t.bytes += n;
        t.sounding = true;
    }
    t.holding = holding_;
    return t;
}

void Stream::release() {
    std::lock_guard lock(mutex_);
    holding_ = false;
}

quint64 Stream::current() const {
    std::lock_guard lock(mutex_);
    return sound_;
}

void Stream::wake() {
    {
        std::lock_guard lock(mutex_);
        ++changes_;
    }
    changed_.notify_all();
}

void Stream::waitForChange(int ms) {
    std::unique_lock lock(mutex_);
    const quint64 seen = changes_;
    changed_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return changes_ != seen; });
}

// --- Outputs -----------------------------------------------------------------

// The channel's side of an output's reports; `listener` lives on the
// channel's thread, null once the channel has dropped the output.
struct Output::Reports::Box {
    std::mutex mutex;
    QObject* listener = nullptr;
    Channel* channel = nullptr;
    quint64 generation = 0;
};

void Output::Reports::ended(quint64 sound) const {
    std::lock_guard lock(box_->mutex);
    if (!box_->listener) return;
    QMetaObject::invokeMethod(box_->listener, [channel = box_->channel, generation = box_->generation, sound] {
        channel->outputEnded(generation, sound);
    }, Qt::QueuedConnection);
}

void Output::Reports::failed() const {
    std::lock_guard lock(box_->mutex);
    if (!box_->listener) return;
    QMetaObject::invokeMethod(box_->listener, [channel = box_->channel, generation = box_->generation] {
        channel->outputFailed(generation);
    }, Qt::QueuedConnection);
}

namespace {
OutputMaker& outputMaker() {
    static OutputMaker maker;
    return maker;
}
} // namespace

void setOutputMaker(OutputMaker maker) { outputMaker() = std::move(maker); }

// --- The channel -------------------------------------------------------------

Channel::Channel() : stream_(std::make_shared<Stream>()), listener_(std::make_unique<QObject>()) {}

Channel::~Channel() {
    stream_->stop();
    dropOutput();
}

const Channel::Cached& Channel::cached(const QString& path) {
    const QFileInfo info(path);
    const qint64 modified = info.lastModified().toMSecsSinceEpoch();
    Cached& entry = clips_[path];
    if (entry.size == info.size() && entry.modified == modified && (entry.clip || entry.decoding)) return entry;
    entry = Cached{info.size(), modified, nullptr, false};
    QFile f(path);
    if (info.size() <= largestClipFile && f.open(QIODevice::ReadOnly)) {
        if (std::optional<Clip> clip = decode(f.readAll())) entry.clip = std::make_shared<const Clip>(std::move(*clip));
    }
    if (!entry.clip) {
        entry.decoding = true;
        decodeLater(path, listener_.get(), [this, path, size = entry.size, modified](std::shared_ptr<const Clip> clip) {
            decoded(path, size, modified, std::move(clip));
        });
    }
    return entry;
}

void Channel::decoded(const QString& path, qint64 size, qint64 modified, std::shared_ptr<const Clip> clip) {
    auto entry = clips_.find(path);
    const bool same = entry != clips_.end() && entry->size == size && entry->modified == modified;
    if (same) {
        entry->decoding = false;
        // A file that cannot be decoded is asked again at its next request, should it have been mended.
        entry->clip = clip;
    }
    if (pending_ != path) return;
    pending_.clear();
    const quint64 sound = sound_;
    // A file changed while it was decoded plays at its next request.
    if (same && clip) begin(std::move(clip));
    else sound_ = 0;
    tell(sound);
}

quint64 Channel::start(const QString& path, bool loop, bool follow) {
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        stop();
        return 0;
    }
    sound_ = ++numbers_;
    pending_.clear();
    loop_ = loop;
    follow_ = follow;
    lengthMs_ = -1;
    started_.start();
    const Cached& entry = cached(path);
    // The new sound takes the old one's place in the stream in one step: a
    // held stream goes on with it at once, without a moment of silence.
    if (entry.clip) {
        begin(entry.clip);
    } else {
        stream_->stop();
        pending_ = path;
    }
    return sound_;
}

void Channel::begin(std::shared_ptr<const Clip> clip) {
    lengthMs_ = clip->lengthMs;
    started_.start();
    stream_->play(sound_, std::move(clip), loop_, follow_);
    if (!output_) {
        const OutputMaker& make = outputMaker();
        auto box = std::make_shared<Output::Reports::Box>();
        box->listener = listener_.get();
        box->channel = this;
        box->generation = ++generation_;
        reports_.box_ = box;
        output_ = make ? make(stream_, reports_) : makeServerOutput(stream_, reports_);
    }
}

void Channel::stop() {
    stream_->stop();
    sound_ = 0;
    pending_.clear();
}

void Channel::outputEnded(quint64 generation, quint64 sound) {
    if (generation != generation_) return;
    if (sound == sound_ && !loop_) sound_ = 0;
    tell(sound);
}

void Channel::outputFailed(quint64 generation) {
    if (generation != generation_ || !output_) return;
    // Made again at the next sound; until then the sound plays to no one.
    dropOutput();
    tell(sound_);
}

void Channel::dropOutput() {
    if (reports_.box_) {
        std::lock_guard lock(reports_.box_->mutex);
        reports_.box_->listener = nullptr;
    }
    reports_.box_.reset();
    output_.reset();
}

void Channel::tell(quint64 sound) {
    if (changed) changed(sound);
}

bool Channel::isPlaying() const {
    if (sound_ == 0) return false;
    if (!pending_.isEmpty() || loop_) return true;
    return started_.elapsed() < lengthMs_ + (output_ ? outputStallMs : 0);
}

qint64 Channel::dueMs(quint64 sound) const {
    if (sound == 0 || sound != sound_) return -1;
    if (!pending_.isEmpty()) return std::max<qint64>(0, unknownLengthLimitMs - started_.elapsed());
    if (loop_) return unknownLengthLimitMs;
    return std::max<qint64>(0, lengthMs_ + (output_ ? outputStallMs : 0) - started_.elapsed());
}

} // namespace QtAudio

// --- The services -------------------------------------------------------------

QtSoundPlayer::QtSoundPlayer() = default;

QtSoundPlayer::~QtSoundPlayer() {
    if (waiting_) waiting_->quit();
    channel_.changed = nullptr;
    channel_.stop();
}

bool QtSoundPlayer::play(const QString& path, int flags) {
    // A sound asked not to interrupt another gives way to it.
    if ((flags & NoStop) && channel_.isPlaying()) return false;
    if (path.isEmpty() || !QFileInfo(path).isFile()) return false;
    // A new sound cuts the one before, and ends a wait for it.
    if (waiting_) waiting_->quit();
    const bool sync = !(flags & Async);
    const quint64 sound = channel_.start(path, flags & Loop, sync);
    if (sound == 0) return false;
    if (sync) waitForEnd(sound);
    return true;
}

// Until the output has taken the sound's last sample (the next sound then
// follows it), the sound is cut, or no output plays it and its length has passed.
void QtSoundPlayer::waitForEnd(quint64 sound) {
    QEventLoop loop;
    waiting_ = &loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    auto arm = [&] {
        const qint64 due = channel_.dueMs(sound);
        if (due < 0) loop.quit();
        else deadline.start(int(std::min<qint64>(due, QtAudio::unknownLengthLimitMs)));
    };
    channel_.changed = [&](quint64) { arm(); };
    arm();
    if (channel_.dueMs(sound) >= 0) loop.exec(QEventLoop::ExcludeUserInputEvents);
    channel_.changed = nullptr;
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
    if (isOpen()) channel_.start(file_, false, false);
}

void QtMusicDevice::stop() { channel_.stop(); }

void QtMusicDevice::close() {
    channel_.stop();
    file_.clear();
}

namespace QtAudio {

bool install() {
    if (!ServerOutput::available()) {
        SoundPlayer::install(std::make_unique<SilentSound>());
        MusicDevice::install(std::make_unique<SilentMusic>());
        return false;
    }
    SoundPlayer::install(std::make_unique<QtSoundPlayer>());
    MusicDevice::install(std::make_unique<QtMusicDevice>());
    // The outputs go while Qt is still there.
    qAddPostRoutine([] {
        SoundPlayer::install(std::make_unique<SilentSound>());
        MusicDevice::install(std::make_unique<SilentMusic>());
    });
    return ServerOutput::reachable();
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
