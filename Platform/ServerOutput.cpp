#include "Platform/ServerOutput.h"

#include <QCoreApplication>

#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

qint64 bytesFor(int ms) { return qint64(QtAudio::outputRate) * 2 * ms / 1000; }

// Written at a time; and how far ahead of what is heard the server's buffer
// runs: a key's sound comes that much after the key, and a held stream can
// wait nearly that long for the next sound (the user interface may be busy
// painting) before silence must fill in.
constexpr int chunkMs = 10;
constexpr int aheadMs = 150;
// The server asks for more when a quarter of the buffer has played, so a
// held stream still has this much to play after waiting this long.
constexpr auto longestHold = std::chrono::milliseconds(aheadMs * 3 / 4 - 20);
// Silence before the first sound of a new stream: more than the server's
// buffer holds, so the last of it is written once the server takes samples.
// It also covers the stream's first tens of milliseconds, which a server
// starting a stream may play early, and then again in their place.
constexpr int leadInChunks = aheadMs / chunkMs + 1;
// After this much silence the stream goes and the server may rest.
constexpr auto restAfter = std::chrono::seconds(3);

// The outputs' threads: how many have not ended, and how many of those
// belong to dropped outputs (held, it may be, by a server that stopped
// answering). Never destroyed: a thread may end after the program's statics.
struct Threads {
    std::mutex mutex;
    std::condition_variable changed;
    int running = 0;
    int dropped = 0;
};
Threads& threads() {
    static Threads* t = new Threads;
    return *t;
}

pa_simple* connect(const QByteArray& name) {
    const pa_sample_spec format{PA_SAMPLE_S16LE, quint32(QtAudio::outputRate), 1};
    const quint32 serverDefault = quint32(-1);
    const pa_buffer_attr buffer{serverDefault, quint32(bytesFor(aheadMs)), serverDefault, serverDefault, serverDefault};
    int error = 0;
    return pa_simple_new(nullptr, name.constData(), PA_STREAM_PLAYBACK, nullptr, name.constData(), &format, nullptr,
                         &buffer, &error);
}

} // namespace

struct ServerOutput::Shared {
    std::shared_ptr<QtAudio::Stream> stream;
    Reports reports;
    QByteArray name;
    std::atomic<bool> quit{false};
    // Held while the thread uses the stream: once quit is set under it, the
    // stream is another output's, and this one touches it no more.
    std::mutex streamMutex;
    bool done = false;    // under threads().mutex
    bool dropped = false; // under threads().mutex

    void run();
    // Calls use with the stream unless the output was dropped; false then.
    template <class Use> bool withStream(Use use) {
        std::lock_guard lock(streamMutex);
        if (quit) return false;
        use(*stream);
        return true;
    }
    // Until the threads of dropped outputs have ended; false when this one
    // was dropped meanwhile.
    bool othersGone() {
        std::unique_lock lock(threads().mutex);
        threads().changed.wait(lock, [this] { return threads().dropped == 0 || quit; });
        return !quit;
    }
};

void ServerOutput::Shared::run() {
    pa_simple* server = nullptr;
    std::vector<char> chunk(size_t(bytesFor(chunkMs)));
    auto lastSound = Clock::now();
    Clock::time_point heldSince;
    bool held = false;
    int error = 0;
    while (!quit) {
        if (!server) {
            // Connected for a sound, not for silence, unless kept ready.
            if (stream->current() == 0 && !stream->kept()) {
                stream->waitForChange(250);
                continue;
            }
            if (!othersGone()) break;
            server = connect(name);
            // Dropped while it waited for the server: the stream is another output's now.
            if (quit) break;
            std::fill(chunk.begin(), chunk.end(), 0);
            for (int i = 0; server && !quit && i < leadInChunks; ++i)
                if (pa_simple_write(server, chunk.data(), chunk.size(), &error) < 0) pa_simple_free(std::exchange(server, nullptr));
            if (quit) break;
            if (!server) {
                reports.failed();
                break;
            }
            lastSound = Clock::now();
        }
        QtAudio::Stream::Taken taken;
        if (!withStream([&](QtAudio::Stream& s) { taken = s.take(chunk.data(), qint64(chunk.size())); })) break;
        if (taken.bytes > 0 && pa_simple_write(server, chunk.data(), size_t(taken.bytes), &error) < 0) {
            pa_simple_free(std::exchange(server, nullptr));
            reports.failed();
            break;
        }
        if (taken.ended) reports.ended(taken.ended);
        const auto now = Clock::now();
        if (taken.sounding || taken.holding) lastSound = now;
        if (taken.holding) {
            if (!held) heldSince = now;
            held = true;
            if (now - heldSince > longestHold) {
                if (!withStream([](QtAudio::Stream& s) { s.release(); })) break;
                held = false;
            } else {
                stream->waitForChange(1);
            }
            continue;
        }
        held = false;
        if (now - lastSound > restAfter && !stream->kept()) {
            // From here the next sound waits for a new connection.
            if (!withStream([](QtAudio::Stream& s) { s.rest(); })) break;
            pa_simple_drain(server, &error);
            pa_simple_free(std::exchange(server, nullptr));
        }
    }
    if (server) pa_simple_free(server);
    std::lock_guard lock(threads().mutex);
    done = true;
    --threads().running;
    if (dropped) --threads().dropped;
    threads().changed.notify_all();
}

ServerOutput::ServerOutput(std::shared_ptr<QtAudio::Stream> stream, Reports reports)
    : shared_(std::make_shared<Shared>()) {
    shared_->stream = std::move(stream);
    shared_->reports = std::move(reports);
    shared_->name = QCoreApplication::applicationName().toUtf8();
    if (shared_->name.isEmpty()) shared_->name = "Quembly";
    {
        std::lock_guard lock(threads().mutex);
        ++threads().running;
    }
    thread_ = std::thread([shared = shared_] { shared->run(); });
}

// Not waited for: a thread held by the server ends once the server answers
// or the connection gives up, or with the program.
ServerOutput::~ServerOutput() {
    {
        std::lock_guard lock(shared_->streamMutex);
        shared_->quit = true;
    }
    shared_->stream->wake();
    {
        std::lock_guard lock(threads().mutex);
        if (!shared_->done) {
            shared_->dropped = true;
            ++threads().dropped;
        }
    }
    threads().changed.notify_all();
    thread_.detach();
}

void ServerOutput::waitForThreads(int ms) {
    std::unique_lock lock(threads().mutex);
    threads().changed.wait_for(lock, std::chrono::milliseconds(ms), [] { return threads().running == 0; });
}

bool ServerOutput::reachable() {
    pa_simple* server = connect(QCoreApplication::applicationName().toUtf8());
    if (server) pa_simple_free(server);
    return server != nullptr;
}

namespace QtAudio {
std::unique_ptr<Output> makeServerOutput(std::shared_ptr<Stream> stream, Output::Reports reports) {
    return std::make_unique<ServerOutput>(std::move(stream), std::move(reports));
}
} // namespace QtAudio
