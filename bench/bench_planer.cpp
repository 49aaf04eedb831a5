// The planner's event list, each row against its floor on the same data:
//   open 20 MB, shown: a "Planer.qem" of 20 MB (some 750,000 events), the
//     planner opened as the user opens it (shown, loaded, its list drawn),
//     time and the peak memory the opening adds, each run in a process of
//     its own; floor: the same file read with QFile, its lines taken out of
//     their quotes, sorted with std::stable_sort by Qt's case-insensitive
//     comparison and put into a bare QListWidget, shown and drawn; in the
//     US form and in the day-first form, which keeps a second list;
//   load: "Planer.qem" of 30,000 events loaded into the event list; floor:
//     the same lines, already read, sorted with std::stable_sort by Qt's
//     case-insensitive comparison and put into a bare QListWidget;
//   step, add, delete: with 100,000 events in the open window, one step of
//     the look-ahead spinner near its top, one event added through the
//     boxes and one deleted; floor: filling a hidden QListWidget with the
//     keyed events and a plain QComboBox with the next events at that
//     look-ahead, the same texts, already made.
// The rows at 100,000 run twice: as they are, and with the accessibility
// layer active (as when a screen reader or the desktop's accessibility bus
// listens), where every change of a list is also reported.
// Prints the program's time, the floor's time and their ratio (median of
// several runs; deferred work of the window, such as laying out its lists,
// is counted with the change).
#include "BenchRuns.h"
#include "Forms/Planer/frmPlaner.h"
#include "Modules/modLanguage.h"
#include "Modules/modPlaner.h"
#include "Platform/App.h"
#include "Platform/Clock.h"
#include "Platform/MsgBox.h"
#include "Platform/QuotedLines.h"
#include "Platform/UpDown.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

namespace {
constexpr int kEvents = 30000;
constexpr int kManyEvents = 100000;
constexpr int kRuns = 5;
// Near the spinner's top, where the next events hold nearly every event.
constexpr int kLookAhead = 340;

double medianMs(const std::function<void()>& run) {
    QList<qint64> ns;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        QCoreApplication::processEvents();
        ns << timer.nsecsElapsed();
    }
    std::sort(ns.begin(), ns.end());
    return double(ns[kRuns / 2]) / 1e6;
}

void report(const char* what, double program, double floor) {
    std::printf("%-22s program %9.2f ms   floor %9.2f ms   ratio %5.2f\n", what, program, floor, program / floor);
}

// US lines in no order, as a file edited by hand may hold them.
QStringList events(int count) {
    QRandomGenerator random(42);
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        const QDate day = QDate(1950, 1, 1).addDays(random.bounded(365 * 70));
        lines << Events::line(day, QStringLiteral("Event %1").arg(i), false);
    }
    return lines;
}

// The texts of the hidden keyed list and of the next events for the lines.
std::pair<QStringList, QStringList> nextEventTexts(const QStringList& lines, int lookAhead) {
    QList<Events::Entry> entries;
    for (const QString& l : sortedLines(lines)) entries.append({l, int(entries.size()) + 1});
    const QList<Events::Keyed> keyed = Events::keyed(entries, Clock::today());
    QStringList keyedTexts, shownTexts;
    for (const Events::Keyed& k : keyed) keyedTexts << k.text();
    for (const Events::Shown& s : Events::nextEvents(keyed, lookAhead, isGerman())) shownTexts << s.text;
    return {keyedTexts, shownTexts};
}

// The peak resident memory of this process since the last reset, in bytes
// (Linux: VmHWM, which writing 5 to clear_refs sets back to what is resident now).
qint64 peakBytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
}
void resetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) clear.write("5");
}

// Lets the window system draw until the view has painted all its rows.
void waitPainted(QAbstractItemView* view, int rows) {
    BenchRuns::PaintWatch watch(view, rows);
    for (int i = 0; i < 1000 && !watch.painted; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (!watch.painted) view->viewport()->update();
    }
    if (!watch.painted) std::fprintf(stderr, "not painted\n");
}

// One run of the large file in this process: the planner opened as the
// user opens it, its window shown and drawn; or its floor, a bare
// QListWidget shown with the same lines. Prints "<nanoseconds> <bytes the
// run added at its peak>".
int readRun(const QString& which, const QString& file) {
    App::setPath(QFileInfo(file).path());
    const int rows = int(QFileInfo(file).size() / 28);
    {
        // The window system's first window costs the same in both.
        QWidget first;
        first.show();
        QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    resetPeak();
    const qint64 before = BenchRuns::residentBytes();
    QElapsedTimer timer;
    timer.start();
    std::optional<QListWidget> plain;
    if (which == QLatin1String("planer")) {
        class frmPlaner* f = frmPlaner();
        f->Show();
        f->activateNow();
        if (f->lst->count() < rows * 9 / 10) std::fprintf(stderr, "loaded %d of %d\n", int(f->lst->count()), rows);
        waitPainted(f->lst, f->lst->count());
    } else {
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly)) return 1;
        QStringList lines = QString::fromUtf8(in.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        for (QString& l : lines) l = l.mid(1, l.size() - 2);
        std::stable_sort(lines.begin(), lines.end(),
                         [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        plain.emplace();
        plain->setUniformItemSizes(true);
        plain->addItems(lines);
        lines.clear();
        plain->show();
        waitPainted(&*plain, plain->count());
    }
    const qint64 ns = timer.nsecsElapsed();
    std::printf("%lld %lld\n", static_cast<long long>(ns), static_cast<long long>(peakBytes() - before));
    return 0;
}

// `zone`: the computer's time zone in the runs, which decides whether the
// planner shows its events month first or day first (a second list, of
// European twins, beside the US one).
void largeFileRow(const QString& zone, const char* form) {
    // "mm/dd/yyyy  Event 123456" in quotes: 28 bytes a line.
    const QStringList lines = events(20 * 1024 * 1024 / 28);
    const QString file = App::file(QStringLiteral("Planer.qem"));
    QuotedLines::write(file, lines);
    const BenchRuns::Result program = BenchRuns::median(3, {QStringLiteral("planer"), file, zone});
    const BenchRuns::Result floor = BenchRuns::median(3, {QStringLiteral("floor"), file, zone});
    const QString what = QStringLiteral("open %1 MB, %2").arg(QFileInfo(file).size() / (1024.0 * 1024.0), 0, 'f', 1)
                             .arg(QLatin1String(form));
    std::printf("%-22s program %9.2f ms %7.1f MB   floor %9.2f ms %7.1f MB   time ratio %5.2f   memory ratio %5.2f\n",
                qPrintable(what), program.ms, program.mb, floor.ms, floor.mb, program.ms / floor.ms,
                program.mb / floor.mb);
    QFile::remove(file);
}

void loadRow() {
    const QStringList lines = events(kEvents);
    QuotedLines::write(App::file(QStringLiteral("Planer.qem")), lines);
    class frmPlaner* f = frmPlaner();
    const double load = medianMs([&] { f->PlanerLoad(); });
    if (f->lstSHOW->count() != kEvents) std::printf("loaded %d events of %d\n", int(f->lstSHOW->count()), kEvents);
    QListWidget plain;
    const double floor = medianMs([&] {
        QStringList sorted = lines;
        std::stable_sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
        plain.clear();
        plain.addItems(sorted);
    });
    report("load", load, floor);
    f->Unload();
}

void changeRows(const char* suffix) {
    const QStringList lines = events(kManyEvents);
    QuotedLines::write(App::file(QStringLiteral("Planer.qem")), lines);
    class frmPlaner* f = frmPlaner();
    f->Show();
    f->activateNow();
    if (f->lstSHOW->count() != kManyEvents)
        std::printf("loaded %d events of %d\n", int(f->lstSHOW->count()), kManyEvents);
    f->UpDown->setValue(kLookAhead);
    QCoreApplication::processEvents();

    const auto [keyedTexts, shownTexts] = nextEventTexts(lines, kLookAhead);
    QListWidget hidden;
    QComboBox plain;
    const double floor = medianMs([&] {
        hidden.clear();
        hidden.addItems(keyedTexts);
        plain.clear();
        plain.addItems(shownTexts);
    });

    // Up and down in turn, so every step changes the next events.
    int step = 0;
    const double spin = medianMs([&] { f->UpDown->setValue(kLookAhead + (++step % 2)); });
    report((std::string("step") + suffix).c_str(), spin, floor);

    int added = 0;
    const double add = medianMs([&] {
        f->txtDate->setText(QStringLiteral("07/04/19%1").arg(50 + added % 50));
        f->txtName->setText(QStringLiteral("Added %1").arg(added++));
        f->cmdAdd_Click();
    });
    report((std::string("add") + suffix).c_str(), add, floor);

    int row = 0;
    const double del = medianMs([&] {
        f->lst->setCurrentRow(row += 997);
        f->cmdDel_Click();
    });
    report((std::string("delete") + suffix).c_str(), del, floor);

    PlanerChanged = false;
    f->Unload();
    QCoreApplication::processEvents();
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MsgBoxSeam::enable(true);
    // Dates month first; a fixed today.
    Clock::setStandardZoneName(QStringLiteral("Pacific Standard Time"));
    Clock::setNow(QDateTime(QDate(2026, 3, 15), QTime(10, 0)));
    if (argc == 5 && qstrcmp(argv[1], "--run") == 0) {
        Clock::setStandardZoneName(QString::fromLocal8Bit(argv[4]));
        return readRun(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    QTemporaryDir dir;
    App::setPath(dir.path());

    largeFileRow(QStringLiteral("Pacific Standard Time"), "US");
    largeFileRow(QStringLiteral("W. Europe Standard Time"), "day first");
    loadRow();
    changeRows(" at 100,000");
    QAccessible::setActive(true);
    changeRows(", accessible");
    return 0;
}
