// Large listings in the translator: a category of 100,000 and one of
// 1,000,000 words listed through the window (choosing the category, and
// Find with every field empty), each against its floor: a plain QtSql
// query of the same rows, in the same order through the same collation
// "German", in a QSqlQueryModel fetched whole and shown in a QTableView.
// Each run is a process of its own and ends when the view has painted with
// every row in it. Prints the median time and the growth of resident memory
// at its peak (goal: at most 1.5 times the floor's, both). Also the time to
// open the store, whose file is checked whole once, against a bare
// connection running the same check.
#include "BenchRuns.h"
#include "Forms/Translator/frmTrans.h"
#include "Modules/modTrans.h"
#include "PeakMemory.h"
#include "Platform/Ado.h"
#include "Platform/App.h"
#include "Platform/FlexGrid.h"
#include "Platform/MsgBox.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>

namespace {
constexpr int kRuns = 3;

// A store of `words` entries, all in the category "Many".
void build(const QString& folder, int words) {
    Ado::Connection c(QStringLiteral("Build"));
    VocStore::open(c, folder + QStringLiteral("/Voc.mdb"));
    VocStore::addCategory(c, QStringLiteral("Many"));
    VocStore::addType(c, QStringLiteral("Noun"));
    QRandomGenerator rng(4711);
    Ado::Transaction t(c);
    QSqlQuery q(c.database());
    q.prepare(QStringLiteral("Insert Into Vocabulary (English, German, Category, Type) Values (?, ?, 'Many', 'Noun')"));
    for (int i = 0; i < words; ++i) {
        q.addBindValue(BenchRuns::randomWord(rng) + u' ' + BenchRuns::randomWord(rng));
        q.addBindValue(BenchRuns::randomWord(rng));
        q.exec();
    }
    t.commit();
    c.Close();
}


// Opening the store: the program's open, which checks a file that holds
// data once (every page read), against its floor, a bare QtSql connection
// running the same check; and what the check adds to an open without it.
void openingCost(const QString& file) {
    QList<qint64> program, floor, bare;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        {
            Ado::Connection c(QStringLiteral("Opened"));
            c.Open(file);
            program << timer.nsecsElapsed();
        }
        for (const bool check : {true, false}) {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("Floor"));
            db.setDatabaseName(file);
            timer.restart();
            db.open();
            QSqlQuery q(db);
            q.exec(QStringLiteral("Select count(*) From sqlite_master"));
            q.next();
            if (check) {
                q.exec(QStringLiteral("Pragma quick_check"));
                q.next();
            }
            (check ? floor : bare) << timer.nsecsElapsed();
            q = QSqlQuery();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("Floor"));
        }
    }
    for (QList<qint64>* ns : {&program, &floor, &bare}) std::sort(ns->begin(), ns->end());
    const double p = program[kRuns / 2] / 1e6, f = floor[kRuns / 2] / 1e6, b = bare[kRuns / 2] / 1e6;
    std::printf("%-8s %9.1f ms   floor (bare open and check) %9.1f ms   ratio %5.2f   the check: %.1f ms\n", "open", p,
                f, p / f, p - b);
}

// One run in this process: prints "<ns> <peak growth in bytes>".
int runOnce(const QString& way, const QString& folder, int words) {
    App::setPath(folder);
    App::setUserDataFolder(folder + QStringLiteral("/UserData"));
    MsgBoxSeam::enable(true);
    QTableView floorView;
    QSqlQueryModel floorModel;
    Ado::Connection floorStore(QStringLiteral("Floor"));
    QAbstractItemView* view = nullptr;
    class frmTrans* f = nullptr;
    if (way == QLatin1String("floor")) {
        VocStore::open(floorStore, folder + QStringLiteral("/Voc.mdb"));
        floorView.setModel(&floorModel);
        floorView.resize(660, 270);
        floorView.show();
        view = &floorView;
    } else {
        f = frmTrans();
        f->Show(vbModeless);
        view = f->flxGrid;
    }
    if (!QTest::qWaitForWindowExposed(view)) return 1;
    QApplication::processEvents();
    BenchRuns::PaintWatch watch(view, words);
    const qint64 before = BenchRuns::residentBytes();
    QElapsedTimer timer;
    timer.start();
    if (way == QLatin1String("floor")) {
        QSqlQuery q(floorStore.database());
        q.prepare(QStringLiteral("Select * From Vocabulary Where Category = ? Order By English Collate German, AutoNr"));
        q.addBindValue(QStringLiteral("Many"));
        q.exec();
        floorModel.setQuery(std::move(q));
        while (floorModel.canFetchMore()) floorModel.fetchMore();
    } else if (way == QLatin1String("listing")) {
        const int i = f->cboCategory->findText(QStringLiteral("Many"));
        f->cboCategory->setCurrentIndex(i);
        emit f->cboCategory->activated(i);
    } else {
        f->cmdFind_Click();
    }
    view->viewport()->update();
    while (!watch.painted) QApplication::processEvents(QEventLoop::AllEvents, 50);
    const qint64 ns = timer.nsecsElapsed();
    std::printf("%lld %lld\n", ns, qint64(peakMegabytes() * 1024 * 1024) - before);
    std::fflush(stdout);
    // The listing is left to the end of the process.
    std::_Exit(0);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 5 && QByteArray(argv[1]) == "--run")
        return runOnce(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), QByteArray(argv[4]).toInt());
    for (const int words : {100000, 1000000}) {
        QTemporaryDir dir;
        build(dir.path(), words);
        const BenchRuns::Result floor = BenchRuns::median(kRuns, {QStringLiteral("floor"), dir.path(), QString::number(words)});
        std::printf("%d words in one category (median of %d runs)\n", words, kRuns);
        openingCost(dir.path() + QStringLiteral("/Voc.mdb"));
        std::printf("%-8s %9.1f ms %8.1f MB\n", "floor", floor.ms, floor.mb);
        for (const QString& way : {QStringLiteral("listing"), QStringLiteral("find")}) {
            const BenchRuns::Result r = BenchRuns::median(kRuns, {way, dir.path(), QString::number(words)});
            std::printf("%-8s %9.1f ms %8.1f MB   time ratio %5.2f   memory ratio %5.2f   (goal <= 1.5 both)\n",
                        qPrintable(way), r.ms, r.mb, r.ms / floor.ms, r.mb / floor.mb);
        }
    }
    return 0;
}
