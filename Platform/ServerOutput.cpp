#include "Platform/ServerOutput.h"

#include <QCoreApplication>

#include <pulse/simple.h>

#include <algorithm>
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
// Silence before the first sound of a new stream (100 ms).
constexpr int leadInChunks = 10;
// After this much silence the stream goes and the server may rest.
constexpr auto restAfter = std::chrono::seconds(3);
// How long dropping an output waits for its thread: time for a write or the
// last buffer's play-out to end; a server that takes longer is not waited for.
constexpr auto closingWait = std::chrono::milliseconds(200);
// Threads of dropped outputs still held in a server that stopped answering.
std::atomic<int> heldInServer{0};

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
    std::mutex mutex;
    std::condition_variable over;
    bool done = false;
    bool dropped = false;

    void run();
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
            // Connected for a sound, not for silence.
            if (stream->current() == 0) {
                stream->waitForChange(250);
                continue;
            }
            server = connect(name);
            // Dropped while it waited for the server: the stream is another output's now.
            if (quit) break;
            // A new stream begins with a moment of silence: while a server
            // starts a stream it may play the stream's first tens of
            // milliseconds early, and then again in their place.
            std::fill(chunk.begin(), chunk.end(), 0);
            for (int i = 0; server && i < leadInChunks; ++i)
                if (pa_simple_write(server, chunk.data(), chunk.size(), &error) < 0) pa_simple_free(std::exchange(server, nullptr));
            if (!server) {
                reports.failed();
                break;
            }
            lastSound = Clock::now();
        }
        if (quit) break;
        const QtAudio::Stream::Taken taken = stream->take(chunk.data(), qint64(chunk.size()));
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
                stream->release();
                held = false;
            } else {
                stream->waitForChange(1);
            }
            continue;
        }
        held = false;
        if (now - lastSound > restAfter) {
            pa_simple_drain(server, &error);
            pa_simple_free(std::exchange(server, nullptr));
        }
    }
    if (server) pa_simple_free(server);
    std::lock_guard lock(mutex);
    done = true;
    if (dropped) --heldInServer;
    over.notify_all();
}

ServerOutput::ServerOutput(std::shared_ptr<QtAudio::Stream> stream, Reports reports)
    : shared_(std::make_shared<Shared>()) {
    shared_->stream = std::move(stream);
    shared_->reports = std::move(reports);
    shared_->name = QCoreApplication::applicationName().toUtf8();
    if (shared_->name.isEmpty()) shared_->name = "Quembly";
    // While an output before this one is still held by a server that
    // stopped answering, this one would be held too: it fails at once, and
    // the next sound tries again.
    if (heldInServer > 0) {
        shared_->reports.failed();
        shared_->done = true;
        return;
    }
    thread_ = std::thread([shared = shared_] { shared->run(); });
}

ServerOutput::~ServerOutput() {
    if (!thread_.joinable()) return;
    shared_->quit = true;
    shared_->stream->wake();
    std::unique_lock lock(shared_->mutex);
    if (shared_->over.wait_for(lock, closingWait, [this] { return shared_->done; })) {
        lock.unlock();
        thread_.join();
        return;
    }
    // Held in a server that no longer answers (connecting, writing): not
    // waited for; it ends by itself once the server answers or the
    // connection gives up, or with the program.
    shared_->dropped = true;
    ++heldInServer;
    thread_.detach();
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
