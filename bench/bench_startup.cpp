// How long the program takes to show its menu and how much memory it holds
// once started, against two floors started the same way (this program with
// "--run"): a bare Qt window, and the bare library showing what the menu's
// first screen shows (its background, pictures and texts in their fonts,
// as plain labels). All are watched from outside on the X display: the time
// from starting the process until its first window is mapped, and its
// resident memory two seconds after that (the menu's first activation, the
// welcome tune and the globe included). Each figure is the median of the
// starts, the three taking turns. Needs an X server; run under Xvfb:
//   xvfb-run -a bench/bench_startup [starts] [program]   (default 9, the program built beside)
#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QLabel>
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

// Q_INIT_RESOURCE must be used outside any namespace.
static void initSkin() { Q_INIT_RESOURCE(skin); }

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

// The menu's first screen drawn by plain labels: the same window, pictures
// and texts in the same fonts, nothing behind them.
void buildScreen(QWidget& window) {
    initSkin();
    window.setWindowFlag(Qt::FramelessWindowHint);
    window.resize(600, 440);
    QPalette white = window.palette();
    white.setColor(QPalette::WindowText, Qt::white);
    window.setPalette(white);
    auto picture = [&](const QPixmap& p, int x, int y) {
        auto* l = new QLabel(&window);
        l->setPixmap(p);
        l->setGeometry(x, y, p.width(), p.height());
    };
    picture(QPixmap(QStringLiteral(":/skin/menu_back.png")), 0, 0);
    picture(QPixmap::fromImage(QImageReader(QStringLiteral(MEDIA "/Pics/Globe.gif")).read()), 24, 44);
    const char* const pictures[] = {"min", "close", "sound", "language", "btn_exit", "tool_trans", "tool_planer",
                                    "tool_keyb", "tool_hangman1p", "tool_hangman2p", "tool_sss", "tool_msg"};
    int at = 0;
    for (const char* name : pictures) {
        picture(QPixmap(QStringLiteral(":/skin/%1.png").arg(QLatin1String(name))), 28 + at % 6 * 70, 164 + at / 6 * 110);
        ++at;
    }
    struct Text {
        const char* text;
        int pt;
        bool bold;
        const char* family;
    };
    const Text texts[] = {{"Quembly, v1.0", 10, true, "DejaVu Sans"},      {"07.12.2026", 11, true, "DejaVu Sans"},
                          {"12:00:00", 11, false, "DejaVu Sans"},          {"QEM 1.0", 9, false, "DejaVu Sans"},
                          {"Converters", 9, true, "DejaVu Sans"},          {"Length/Distance", 10, false, "DejaVu Sans"},
                          {"Weight", 10, false, "DejaVu Sans"},            {"Volume", 10, false, "DejaVu Sans"},
                          {"Currency", 10, false, "DejaVu Sans"},          {"Temperature", 10, false, "DejaVu Sans"},
                          {"Computer", 10, false, "DejaVu Sans"},          {"Ascii Code", 10, false, "DejaVu Sans"},
                          {"Calculator", 10, false, "DejaVu Sans"},        {"Morse Code", 10, false, "DejaVu Sans"},
                          {"Fabulix", 9, false, "DejaVu Sans"},            {"Translator", 8, true, "DejaVu Sans"},
                          {"Bank", 8, true, "DejaVu Sans"},                {"Planer", 8, true, "DejaVu Sans"},
                          {"Typing Master", 8, true, "DejaVu Sans"},       {"Hang Man", 8, true, "DejaVu Sans"},
                          {"RSP", 8, true, "DejaVu Sans"},                 {"Messenger", 8, true, "DejaVu Sans"},
                          {"$", 20, true, "DejaVu Sans"},                  {"A toolbox for every day", 8, false, "DejaVu Sans"},
                          {"Exit", 14, true, "DejaVu Sans Condensed"}};
    at = 0;
    for (const Text& t : texts) {
        auto* l = new QLabel(QString::fromLatin1(t.text), &window);
        QFont f(QString::fromLatin1(t.family));
        f.setPointSize(t.pt);
        f.setBold(t.bold);
        l->setFont(f);
        l->setGeometry(16 + at % 2 * 300, 30 + at / 2 * 30, 260, 24);
        ++at;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 2 && QByteArray(argv[1]) == "--run") {
        // The floors: a bare window, as a program made with Qt starts one,
        // or the menu's first screen drawn by plain labels.
        QApplication app(argc, argv);
        QWidget window;
        if (QByteArray(argv[2]) == "screen") buildScreen(window);
        else window.resize(400, 300);
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
    QList<double> bareMs, bareMb, screenMs, screenMb, menuMs, menuMb;
    const QString self = QCoreApplication::applicationFilePath();
    for (int i = 0; i < starts; ++i) {
        const Start bare = measure(x, self, {QStringLiteral("--run"), QStringLiteral("bare")}, settleMs);
        const Start screen = measure(x, self, {QStringLiteral("--run"), QStringLiteral("screen")}, settleMs);
        const Start menu = measure(x, program, {}, settleMs);
        if (bare.ms < 0 || screen.ms < 0 || menu.ms < 0) {
            std::fprintf(stderr, "a window was never mapped (bare %.0f ms, screen %.0f ms, menu %.0f ms)\n", bare.ms,
                         screen.ms, menu.ms);
            return 1;
        }
        bareMs << bare.ms, bareMb << bare.mb, screenMs << screen.ms, screenMb << screen.mb;
        menuMs << menu.ms, menuMb << menu.mb;
        std::printf("  start %d: bare window %.0f ms %.1f MB, first screen in plain labels %.0f ms %.1f MB,"
                    " menu %.0f ms %.1f MB\n",
                    i + 1, bare.ms, bare.mb, screen.ms, screen.mb, menu.ms, menu.mb);
        std::fflush(stdout);
    }
    const double t0 = median(bareMs), ts = median(screenMs), t1 = median(menuMs);
    const double m0 = median(bareMb), ms = median(screenMb), m1 = median(menuMb);
    std::printf("start-up, median of %d starts (platform %s):\n", starts,
                qgetenv("QT_QPA_PLATFORM").isEmpty() ? "xcb" : qgetenv("QT_QPA_PLATFORM").constData());
    std::printf("  time to the mapped window: bare window (floor) %.0f ms, menu %.0f ms, ratio %.2fx (goal <= 1.3x)\n", t0,
                t1, t1 / t0);
    std::printf("                             first screen in plain labels %.0f ms (%.2fx the bare window),"
                " menu %.2fx it\n",
                ts, ts / t0, t1 / ts);
    std::printf("  memory %.0f s after:       bare window (floor) %.1f MB, menu %.1f MB, ratio %.2fx (goal <= 1.3x)\n",
                settleMs / 1000.0, m0, m1, m1 / m0);
    std::printf("                             first screen in plain labels %.1f MB (%.2fx the bare window),"
                " menu %.2fx it\n",
                ms, ms / m0, m1 / ms);
    xcb_disconnect(x);
    return 0;
}
