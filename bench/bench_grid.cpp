// The grid filled with 100,000 rows of 6 columns and shown, the two ways
// the windows fill it:
//   AddItem: emptied, then one tab-separated text a row (the vocabulary
//     listing);
//   Filling: emptied, setRows, then every cell through Filling::set (the
//     bank's registers);
// against the floor: a QTableView over a minimal table model holding the
// same strings (a QList of string lists), given all rows at once. Building
// the tab-separated texts is the caller's share of AddItem; it is timed
// alone too ("texts": the same texts built and kept, no view).
// Each run is a process of its own (so no run reuses memory another freed)
// and ends when the view has painted with every row in it. Prints the
// median time and growth of resident memory of each way, and their ratios
// to the floor.
#include "BenchRuns.h"
#include "Platform/FlexGrid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <cstdio>

namespace {
constexpr int kRows = 100000;
constexpr int kCols = 6;
constexpr int kRuns = 7;

// Fresh strings for a cell, as a database read gives them.
QString cellText(int row, int col) {
    static const QString kinds[] = {QStringLiteral("Noun"), QStringLiteral("Verb"), QStringLiteral("Adjective")};
    switch (col) {
    case 0: return QString::number(row + 1);
    case 1: return QStringLiteral("English phrase %1").arg(row);
    case 2: return QStringLiteral("Deutsche Wendung %1").arg(row);
    case 3: return kinds[row % 3];
    case 4: return QStringLiteral("2026-%1-%2").arg(row % 12 + 1, 2, 10, QChar(u'0')).arg(row % 28 + 1, 2, 10, QChar(u'0'));
    default: return QString::number(row * 7);
    }
}

class Floor : public QAbstractTableModel {
public:
    QList<QStringList> rows;
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(rows.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : kCols; }
    QVariant data(const QModelIndex& index, int role) const override {
        return role == Qt::DisplayRole ? QVariant(rows[index.row()][index.column()]) : QVariant();
    }
    void fill() {
        QList<QStringList> all;
        all.reserve(kRows);
        for (int r = 0; r < kRows; ++r) {
            QStringList line;
            line.reserve(kCols);
            for (int c = 0; c < kCols; ++c) line << cellText(r, c);
            all << std::move(line);
        }
        beginInsertRows({}, 0, kRows - 1);
        rows = std::move(all);
        endInsertRows();
    }
};


// One run of one way in this process: prints "<ns> <bytes>".
int runOnce(const QString& way) {
    if (way == QLatin1String("texts")) {
        const qint64 before = BenchRuns::residentBytes();
        QElapsedTimer timer;
        timer.start();
        QStringList texts;
        for (int r = 0; r < kRows; ++r) {
            QStringList line;
            line.reserve(kCols);
            for (int c = 0; c < kCols; ++c) line << cellText(r, c);
            texts << line.join(u'\t');
        }
        std::printf("%lld %lld\n", timer.nsecsElapsed(), BenchRuns::residentBytes() - before);
        return 0;
    }
    QTableView floorView;
    Floor floor;
    FlexGrid grid;
    QAbstractItemView* view = &grid;
    if (way == QLatin1String("floor")) {
        floorView.setModel(&floor);
        view = &floorView;
    } else {
        grid.setCols(kCols);
        for (int c = 0; c < kCols; ++c) grid.setTextMatrix(0, c, QStringLiteral("Column %1").arg(c));
    }
    view->resize(800, 600);
    view->show();
    if (!QTest::qWaitForWindowExposed(view)) return 1;
    QApplication::processEvents();
    BenchRuns::PaintWatch watch(view, kRows);
    const qint64 before = BenchRuns::residentBytes();
    QElapsedTimer timer;
    timer.start();
    if (way == QLatin1String("floor")) {
        floor.fill();
    } else if (way == QLatin1String("AddItem")) {
        grid.clearRows();
        for (int r = 0; r < kRows; ++r) {
            QStringList line;
            line.reserve(kCols);
            for (int c = 0; c < kCols; ++c) line << cellText(r, c);
            grid.AddItem(line.join(u'\t'));
        }
    } else {
        grid.clearRows();
        grid.setRows(kRows + 1);
        FlexGrid::Filling filling(&grid);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) filling.set(r + 1, c, cellText(r, c));
    }
    view->viewport()->update();
    while (!watch.painted) QApplication::processEvents(QEventLoop::AllEvents, 50);
    const qint64 ns = timer.nsecsElapsed();
    std::printf("%lld %lld\n", ns, BenchRuns::residentBytes() - before);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--run") return runOnce(QString::fromLatin1(argv[2]));
    const BenchRuns::Result floor = BenchRuns::median(kRuns, {QStringLiteral("floor")});
    std::printf("%d rows of %d columns, filled and shown (median of %d runs)\n", kRows, kCols, kRuns);
    std::printf("%-8s %9.1f ms %8.1f MB\n", "floor", floor.ms, floor.mb);
    for (const QString& way : {QStringLiteral("texts"), QStringLiteral("AddItem"), QStringLiteral("Filling")}) {
        const BenchRuns::Result r = BenchRuns::median(kRuns, {way});
        std::printf("%-8s %9.1f ms %8.1f MB   time ratio %5.2f   memory ratio %5.2f\n", qPrintable(way), r.ms, r.mb,
                    r.ms / floor.ms, r.mb / floor.mb);
    }
    return 0;
}
