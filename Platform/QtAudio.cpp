#include "Platform/QtAudio.h"

#include "Platform/ServerOutput.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <vector>

namespace QtAudio {

namespace {

// Files beyond this size are left to the decoding thread.
constexpr qint64 largestClipFile = 32 * 1024 * 1024;
// What a clip keeps of a tune at most.
constexpr qint64 longestClipMs = 10 * 60 * 1000;

// libsndfile reads the bytes where they lie in memory.
struct Memory {
    const QByteArray* bytes;
    sf_count_t pos = 0;
};
sf_count_t memoryLength(void* m) { return static_cast<Memory*>(m)->bytes->size(); }
sf_count_t memorySeek(sf_count_t offset, int whence, void* m) {
    auto* mem = static_cast<Memory*>(m);
    const sf_count_t base = whence == SEEK_CUR ? mem->pos : whence == SEEK_END ? mem->bytes->size() : 0;
    mem->pos = std::clamp<sf_count_t>(base + offset, 0, mem->bytes->size());
    return mem->pos;
}
sf_count_t memoryRead(void* to, sf_count_t count, void* m) {
    auto* mem = static_cast<Memory*>(m);
    const sf_count_t n = std::clamp<sf_count_t>(mem->bytes->size() - mem->pos, 0, count);
    std::memcpy(to, mem->bytes->constData() + mem->pos, size_t(n));
    mem->pos += n;
    return n;
}
sf_count_t memoryWrite(const void*, sf_count_t, void*) { return 0; }
sf_count_t memoryTell(void* m) { return static_cast<Memory*>(m)->pos; }

// Closes a sound file when it goes out of scope.
struct SoundFile {
    SNDFILE* file = nullptr;
    SF_INFO info{};
    ~SoundFile() {
        if (file) sf_close(file);
    }
};

bool sane(const SF_INFO& info) {
    return info.channels >= 1 && info.channels <= 16 && info.samplerate >= 1000 && info.samplerate <= 384000;
}

// Samples that lie in the file as they are (or by a table, A-law and
// mu-law) decode in a moment; compressed ones (MP3 and the like) take longer.
bool plain(const SF_INFO& info) {
    switch (info.format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_PCM_16:
    case SF_FORMAT_PCM_24:
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
    case SF_FORMAT_DOUBLE:
    case SF_FORMAT_ULAW:
    case SF_FORMAT_ALAW: return true;
    default: return false;
    }
}

// The file's samples, mixed down to mono and resampled to the output rate.
std::optional<Clip> render(SoundFile& f) {
    if (!f.file || !sane(f.info)) return std::nullopt;
    const int channels = f.info.channels, rate = f.info.samplerate;
    const qint64 most = longestClipMs * rate / 1000;
    std::vector<float> mono;
    // A file that tells its length is read without growing the buffer on the way.
    if (f.info.frames > 0) mono.reserve(size_t(std::min<qint64>(f.info.frames, most)));
    std::vector<double> block(size_t(4096) * size_t(channels));
    while (qint64(mono.size()) < most) {
        const sf_count_t frames = sf_readf_double(f.file, block.data(), 4096);
        if (frames <= 0) break;
        for (sf_count_t i = 0; i < frames; ++i) {
            double sum = 0;
            for (int c = 0; c < channels; ++c) sum += block[size_t(i * channels + c)];
            mono.push_back(float(std::isfinite(sum) ? sum / channels : 0.0));
        }
    }
    if (qint64(mono.size()) > most) mono.resize(size_t(most));
    const qint64 frames = qint64(mono.size());
    const qint64 outFrames = frames * outputRate / rate;
    Clip clip;
    clip.pcm.resize(outFrames * 2);
    auto* out = reinterpret_cast<qint16*>(clip.pcm.data());
    auto sample = [](double v) { return qint16(std::lround(std::clamp(v, -1.0, 32767.0 / 32768.0) * 32768.0)); };
    if (rate == outputRate) {
        for (qint64 i = 0; i < outFrames; ++i) out[i] = sample(mono[size_t(i)]);
    } else {
        // Linear between the two nearest samples: enough for the program's short sounds and tunes.
        const double step = double(rate) / outputRate;
        for (qint64 i = 0; i < outFrames; ++i) {
            const double at = double(i) * step;
            const qint64 k = qint64(at);
            const double frac = at - double(k);
            const double a = mono[size_t(k)], b = k + 1 < frames ? mono[size_t(k + 1)] : a;
            out[i] = sample(a + (b - a) * frac);
        }
    }
    clip.lengthMs = frames * 1000 / rate;
    return clip;
}

std::optional<Clip> decodeFile(const QString& path) {
    SoundFile f;
    f.file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &f.info);
    return render(f);
}

} // namespace

std::optional<Clip> decode(const QByteArray& bytes, Kinds kinds) {
    SF_VIRTUAL_IO io{memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
    Memory memory{&bytes};
    SoundFile f;
    f.file = sf_open_virtual(&io, SFM_READ, &f.info, &memory);
    if (kinds == Kinds::Plain && f.file && !plain(f.info)) return std::nullopt;
    return render(f);
}

// --- The decoding thread -------------------------------------------------------

namespace {

// Lives on the decoding thread; decodes one file after the other and hands
// each clip to `home`, an object of the user interface thread.
class DecodingWorker : public QObject {
public:
    explicit DecodingWorker(QObject* home) : home_(home) {}
    void decode(const QString& path, QPointer<QObject> context, std::function<void(std::shared_ptr<const Clip>)> done) {
        std::shared_ptr<const Clip> clip;
        if (std::optional<Clip> decoded = decodeFile(path)) clip = std::make_shared<const Clip>(std::move(*decoded));
        QMetaObject::invokeMethod(home_, [context, done = std::move(done), clip] {
            if (context) done(clip);
        });
    }

private:
    QObject* home_;
};

// The decoding thread, made at the first file that needs it and ended while
// Qt is still there; none after that.
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
    void add(const QString& path, QObject* context, std::function<void(std::shared_ptr<const Clip>)> done) {
        QMetaObject::invokeMethod(worker_, [worker = worker_, path, context = QPointer<QObject>(context),
                                            done = std::move(done)]() mutable { worker->decode(path, context, std::move(done)); });
    }

private:
    static Decoding*& now() {
        static Decoding* decoding = nullptr;
        return decoding;
    }
    Decoding() {
        thread_.setObjectName(QStringLiteral("Sound decoding"));
        worker_ = new DecodingWorker(&home_);
        worker_->moveToThread(&thread_);
        QObject::connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
        thread_.start();
    }
    ~Decoding() {
        thread_.quit();
        thread_.wait();
    }
    QObject home_;
    QThread thread_;
    DecodingWorker* worker_ = nullptr;
};

} // namespace

void decodeLater(const QString& path, QObject* context, std::function<void(std::shared_ptr<const Clip>)> done) {
    if (Decoding* decoding = Decoding::instance()) decoding->add(path, context, std::move(done));
}

// --- The stream --------------------------------------------------------------

namespace {
using SteadyClock = std::chrono::steady_clock;
qint64 msSince(SteadyClock::time_point t) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - t).count();
}
} // namespace

// Behind the synchronous sounds not yet taken whole there is at most one
// other sound: the one asked for last.
void Stream::cutLocked() {
    if (queue_.empty() || queue_.back().follow) return;
    queue_.pop_back();
    if (queue_.empty()) pos_ = 0;
}

void Stream::play(quint64 sound, std::shared_ptr<const Clip> clip, bool loop, bool follow) {
    {
        std::lock_guard lock(mutex_);
        cutLocked();
        queue_.push_back(Entry{sound, std::move(clip), loop, follow});
        holding_ = false;
        // The output's allowance to start runs from the first sound that waits for it.
        if (!taking_ && !startingSince_) startingSince_ = SteadyClock::now();
        ++changes_;
    }
    changed_.notify_all();
}

void Stream::cut() {
    {
        std::lock_guard lock(mutex_);
        cutLocked();
        ++changes_;
    }
    changed_.notify_all();
}

void Stream::stop() {
    {
        std::lock_guard lock(mutex_);
        queue_.clear();
        pos_ = 0;
        holding_ = false;
        ++changes_;
    }
    changed_.notify_all();
}

Stream::Taken Stream::take(char* out, qint64 maxBytes) {
    std::lock_guard lock(mutex_);
    lastTake_ = SteadyClock::now();
    taking_ = true;
    startingSince_.reset();
    Taken t;
    while (t.bytes < maxBytes) {
        if (queue_.empty()) {
            if (holding_) break;
            std::memset(out + t.bytes, 0, size_t(maxBytes - t.bytes));
            t.bytes = maxBytes;
            break;
        }
        const Entry& e = queue_.front();
        const qint64 left = e.clip->pcm.size() - pos_;
        if (left <= 0) {
            if (e.loop && !e.clip->pcm.isEmpty()) {
                pos_ = 0;
                continue;
            }
            t.ended = e.sound;
            holding_ = e.follow && queue_.size() == 1;
            queue_.pop_front();
            pos_ = 0;
            continue;
        }
        const qint64 n = std::min(left, maxBytes - t.bytes);
        std::memcpy(out + t.bytes, e.clip->pcm.constData() + pos_, size_t(n));
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
    return queue_.empty() ? 0 : queue_.front().sound;
}

bool Stream::holds(quint64 sound) const {
    std::lock_guard lock(mutex_);
    return std::any_of(queue_.begin(), queue_.end(), [sound](const Entry& e) { return e.sound == sound; });
}

Stream::Activity Stream::activity() const {
    std::lock_guard lock(mutex_);
    Activity a;
    a.taking = taking_;
    a.idleMs = msSince(lastTake_);
    a.starting = !taking_ && startingSince_.has_value();
    if (a.starting) a.startingMs = msSince(*startingSince_);
    return a;
}

void Stream::newOutput() {
    std::lock_guard lock(mutex_);
    taking_ = false;
    // An output made to be ready has no allowance until a sound waits for it.
    if (queue_.empty()) startingSince_.reset();
    else startingSince_ = SteadyClock::now();
}

void Stream::setKept(bool kept) {
    {
        std::lock_guard lock(mutex_);
        kept_ = kept;
        ++changes_;
    }
    changed_.notify_all();
}

bool Stream::kept() const {
    std::lock_guard lock(mutex_);
    return kept_;
}

void Stream::rest() {
    std::lock_guard lock(mutex_);
    taking_ = false;
    if (queue_.empty()) startingSince_.reset();
    else startingSince_ = SteadyClock::now();
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

Channel::Channel()
    : stream_(std::make_shared<Stream>()), startAllowanceMs_(outputStartMs), listener_(std::make_unique<QObject>()) {
    watch_ = new QTimer(listener_.get());
    watch_->setSingleShot(true);
    QObject::connect(watch_, &QTimer::timeout, listener_.get(), [this] { watchOutput(); });
}

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
    // A short sound is wanted now (a key's letter, a symbol of a playback);
    // a tune may come a moment later, decoded away from the user interface.
    if (info.size() <= largestClipFile && f.open(QIODevice::ReadOnly)) {
        if (std::optional<Clip> clip = decode(f.readAll(), Kinds::Plain))
            entry.clip = std::make_shared<const Clip>(std::move(*clip));
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
    dropFailingOutput();
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
        stream_->cut();
        pending_ = path;
    }
    return sound_;
}

void Channel::begin(std::shared_ptr<const Clip> clip) {
    lengthMs_ = clip->lengthMs;
    started_.start();
    stream_->play(sound_, std::move(clip), loop_, follow_);
    if (!output_) makeOutput();
    watchOutput();
}

void Channel::makeOutput() {
    stream_->newOutput();
    const OutputMaker& make = outputMaker();
    auto box = std::make_shared<Output::Reports::Box>();
    box->listener = listener_.get();
    box->channel = this;
    box->generation = ++generation_;
    reports_.box_ = box;
    output_ = make ? make(stream_, reports_) : makeServerOutput(stream_, reports_);
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
    // Made again at the next sound; until then the sounds play to no one,
    // and none waits to be played late.
    dropOutput();
    stream_->stop();
    tell(sound_);
}

// While a sound waits in the stream, whether the output starts in time and
// then goes on taking it.
void Channel::watchOutput() {
    if (!output_) return;
    if (dropFailingOutput()) {
        tell(sound_);
        if (!output_) return;
    }
    if (stream_->current() == 0) return; // looked at again at the next sound
    // A starting output is looked at every so often, for it may take and then stall.
    const Stream::Activity a = stream_->activity();
    const qint64 next = a.taking     ? outputStallMs - a.idleMs
                        : a.starting ? std::min<qint64>(outputStallMs, startAllowanceMs_ - a.startingMs)
                                     : outputStallMs;
    watch_->start(int(std::max<qint64>(0, next)) + 1);
}

bool Channel::dropFailingOutput() {
    if (!output_) return false;
    const Stream::Activity a = stream_->activity();
    const bool stalled = a.taking && a.idleMs >= outputStallMs;
    const bool late = a.starting && a.startingMs >= startAllowanceMs_;
    if (!stalled && !late) return false;
    dropOutput();
    if (late) {
        // Sounds that waited this long are not to come late: as after a
        // server that went away, the next sound makes an output again. It
        // is given longer: a server this slow to start a stream (a wireless
        // headset setting up its link, a remote server) is still heard,
        // and its streams after a rest take no longer than the first.
        stream_->stop();
        startAllowanceMs_ = std::min(2 * startAllowanceMs_, outputStartMostMs);
    } else if (stream_->current() != 0) {
        // A server busy for a moment: what was not taken yet plays through
        // a new output, which begins once the server lets the old one go.
        makeOutput();
    }
    return true;
}

void Channel::keepReady(bool kept) {
    stream_->setKept(kept);
    if (kept && !output_) makeOutput();
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
    if (output_ && stream_->holds(sound_)) return true;
    return started_.elapsed() < lengthMs_ + (output_ ? outputStallMs : 0);
}

qint64 Channel::dueMs(quint64 sound) const {
    if (sound == 0 || sound != sound_) return -1;
    if (!pending_.isEmpty()) return std::max<qint64>(0, unknownLengthLimitMs - started_.elapsed());
    if (loop_) return unknownLengthLimitMs;
    const qint64 elapsed = started_.elapsed();
    const qint64 rest = lengthMs_ - elapsed;
    if (!output_) return std::max<qint64>(0, rest);
    const qint64 most = rest + outputStallMs;
    const Stream::Activity a = stream_->activity();
    // A starting output may keep the first sound waiting the short bound;
    // the sounds after it wait their length, and follow it once it takes.
    if (!a.taking) return std::max<qint64>(0, std::min(most, std::max(rest, outputStallMs - a.startingMs)));
    // Until the output has taken the last sample, or has taken nothing for
    // the stall bound: then it is looked at again.
    return std::max<qint64>(0, std::min(most, outputStallMs - a.idleMs));
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
    auto arm = [&] {
        const qint64 due = channel_.dueMs(sound);
        if (due < 0) loop.quit();
        else deadline.start(int(std::min<qint64>(due, QtAudio::unknownLengthLimitMs)));
    };
    // An output that stopped taking samples is dropped, and the rest of the
    // sound waited for as the next output starts, or in silence.
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        channel_.dropFailingOutput();
        if (channel_.dueMs(sound) > 0) arm();
        else loop.quit();
    });
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

void QtMusicDevice::keepReady(bool kept) { channel_.keepReady(kept); }

namespace QtAudio {

void install() {
    SoundPlayer::install(std::make_unique<QtSoundPlayer>());
    MusicDevice::install(std::make_unique<QtMusicDevice>());
    // The outputs go while Qt is still there, and a healthy one closes its
    // stream: time for a write or the last buffer's play-out to end; a server
    // that takes longer is not waited for.
    qAddPostRoutine([] {
        SoundPlayer::install(std::make_unique<SilentSound>());
        MusicDevice::install(std::make_unique<SilentMusic>());
        ServerOutput::waitForThreads(200);
    });
}

qint64 waveLength(const QString& path) {
    SoundFile f;
    f.file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &f.info);
    if (!f.file || (f.info.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_WAV || f.info.samplerate <= 0) return -1;
    return f.info.frames * 1000 / f.info.samplerate;
}

} // namespace QtAudio
