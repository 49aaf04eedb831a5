// How long the program takes to show its menu and how much memory it holds
// once started, against a bare Qt window started the same way (this program
// with "--run bare"). Both are watched from outside on the X display: the
// time from starting the process until its first window is mapped, and its
// resident memory two seconds after that (the menu's first activation, the
// welcome tune and the globe included). Each figure is the median of the
// starts, bare and menu taking turns. Needs an X server; run under Xvfb:
//   xvfb-run -a bench/bench_startup [starts] [program]   (default 9, the program built beside)
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Start {
    double ms = -1;
    double mb = 0;
};

// The resident memory of a process, in MB.
double residentMb(qint64 pid) {
    QFile f(QStringLiteral("/proc/%1/statm").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    return f.readAll().split(' ').value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Starts program with args and waits for a window of the display's root to be
// mapped; then the memory after settleMs. The process is ended afterwards.
Start measure(xcb_connection_t* x, const QString& program, const QStringList& args, int settleMs) {
    // Events from before this start (a window of the one before going) do not count.
    while (xcb_generic_event_t* e = xcb_poll_for_event(x)) std::free(e);
    Start s;
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    const auto began = Clock::now();
    p.start(program, args);
    pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
    while (s.ms < 0 && Clock::now() - began < std::chrono::seconds(60)) {
        xcb_generic_event_t* e = xcb_poll_for_event(x);
        if (!e) {
            poll(&fd, 1, 100);
            continue;
        }
        if ((e->response_type & 0x7F) == XCB_MAP_NOTIFY)
            s.ms = std::chrono::duration<double, std::milli>(Clock::now() - began).count();
        std::free(e);
    }
    QThread::msleep(settleMs);
    s.mb = residentMb(p.processId());
    p.kill();
    p.waitForFinished(5000);
    return s;
}

double median(QList<double> v) {
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 2 && QByteArray(argv[1]) == "--run") {
        // The floor: a bare window, as a program made with Qt starts one.
        QApplication app(argc, argv);
        QWidget window;
        window.resize(400, 300);
        window.show();
        return app.exec();
    }
    QCoreApplication app(argc, argv);
    const int starts = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    const QString program = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(QUEMBLY);
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "bench_startup needs an X display (run it under xvfb-run -a)\n");
        return 1;
    }
    // Told of every window mapped on the root, whoever maps it.
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const quint32 mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    const int settleMs = 2000;
    QList<double> bareMs, bareMb, menuMs, menuMb;
    for (int i = 0; i < starts; ++i) {
        const Start bare = measure(x, QCoreApplication::applicationFilePath(), {QStringLiteral("--run"), QStringLiteral("bare")},
                                   settleMs);
        const Start menu = measure(x, program, {}, settleMs);
        if (bare.ms < 0 || menu.ms < 0) {
            std::fprintf(stderr, "a window was never mapped (bare %.0f ms, menu %.0f ms)\n", bare.ms, menu.ms);
            return 1;
        }
        bareMs << bare.ms, bareMb << bare.mb, menuMs << menu.ms, menuMb << menu.mb;
        std::printf("  start %d: bare window %.0f ms %.1f MB, menu %.0f ms %.1f MB\n", i + 1, bare.ms, bare.mb, menu.ms,
                    menu.mb);
        std::fflush(stdout);
    }
    const double t0 = median(bareMs), t1 = median(menuMs), m0 = median(bareMb), m1 = median(menuMb);
    std::printf("start-up, median of %d starts (platform %s):\n", starts,
                qgetenv("QT_QPA_PLATFORM").isEmpty() ? "xcb" : qgetenv("QT_QPA_PLATFORM").constData());
    std::printf("  time to the mapped window: bare window (floor) %.0f ms, menu %.0f ms, ratio %.2fx (goal <= 1.3x)\n", t0,
                t1, t1 / t0);
    std::printf("  memory %.0f s after:       bare window (floor) %.1f MB, menu %.1f MB, ratio %.2fx (goal <= 1.3x)\n",
                settleMs / 1000.0, m0, m1, m1 / m0);
    xcb_disconnect(x);
    return 0;
}
