// Loading a "Planer.qem" of 30,000 events into the planner's event list,
// against its floor: the same lines, already read, sorted with
// std::stable_sort by Qt's case-insensitive comparison and put into a bare
// QListWidget. Also one step of the
// look-ahead spinner on that list (the next events computed and shown
// again), for information. Prints the program's time, the floor's time and
// their ratio (median of several runs).
#include "Forms/Planer/frmPlaner.h"
#include "Modules/modPlaner.h"
#include "Platform/App.h"
#include "Platform/MsgBox.h"
#include "Platform/QuotedLines.h"
#include "Platform/UpDown.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {
constexpr int kEvents = 30000;
constexpr int kRuns = 5;

double medianMs(const std::function<void()>& run) {
    QList<qint64> ns;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        ns << timer.nsecsElapsed();
    }
    std::sort(ns.begin(), ns.end());
    return double(ns[kRuns / 2]) / 1e6;
}

void report(const char* what, double program, double floor) {
    std::printf("%-14s program %9.2f ms   floor %9.2f ms   ratio %5.2f\n", what, program, floor, program / floor);
}

// US lines in no order, as a file edited by hand may hold them.
QStringList events() {
    QRandomGenerator random(42);
    QStringList lines;
    for (int i = 0; i < kEvents; ++i) {
        const QDate day = QDate(1950, 1, 1).addDays(random.bounded(365 * 70));
        lines << Events::line(day, QStringLiteral("Event %1").arg(i), false);
    }
    return lines;
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    App::setPath(dir.path());
    MsgBoxSeam::enable(true);
    const QStringList lines = events();
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

    int step = 0;
    const double spin = medianMs([&] { f->UpDown->setValue(++step); });
    std::printf("%-14s program %9.2f ms\n", "spinner step", spin);
    return 0;
}
