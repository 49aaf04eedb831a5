// The interpreter's speed: a text of 10,000 words against a word store of
// 100,000 entries. Prints the program's time (reading the store once and
// interpreting), the naive way (fifteen LIKE queries per word, timed on a
// sample of words and scaled to the text) and a floor (fifteen hash lookups
// per word in a map prepared beforehand), with the ratios.
// Then a hyphenated chain of 400 KB ("Ä-gut-" repeated) against the floor
// of cutting it at its hyphens and looking each word up once; and writing
// the output of a 1 MB text into the rich text box against the floor of
// inserting the same formatted stretches into a QTextEdit in one edit block
// (goal: at most 1.5 times the floor); and the same text as one paragraph,
// with the time the progress passes nine tenths against the time the
// output is shown.
#include "BenchRuns.h"
#include "Modules/modInterpret.h"
#include "Modules/modTrans.h"
#include "Platform/Ado.h"
#include "Platform/RichTextBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QProgressBar>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextEdit>
#include <cstdio>

namespace {

// The shapes entries take: a word, a word with a remark, alternatives.
QString entryText(QRandomGenerator& rng, QStringList& words) {
    const QString a = BenchRuns::randomWord(rng), b = BenchRuns::randomWord(rng);
    words << a;
    switch (rng.bounded(5)) {
    case 0: return a + QStringLiteral(" (") + b + u')';
    case 1: return a + u'/' + b;
    case 2: return b + QStringLiteral(", ") + a;
    case 3: return b + u',' + a + u'/' + BenchRuns::randomWord(rng);
    default: return a;
    }
}

const char* const kPatterns[Interpretation::kPasses] = {
    "%1(%", "%1 (%", "%1/%", "%1,%", "%/%1", "%/%1/%", "%/%1 (%", "%/%1(%",
    "%/%1,%", "%,%1", "%,%1,%", "%,%1(%", "%,%1 (%", "%,%1/%", "%1",
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QRandomGenerator rng(4711);
    Ado::Connection c(QStringLiteral("Bench"));
    VocStore::open(c, dir.filePath(QStringLiteral("Voc.mdb")));
    QStringList words;
    {
        Ado::Transaction t(c);
        QSqlQuery q(c.database());
        q.prepare(QStringLiteral("Insert Into Vocabulary (English, German, Category, Type) Values (?, ?, ?, ?)"));
        for (int i = 0; i < 100000; ++i) {
            q.addBindValue(entryText(rng, words));
            q.addBindValue(BenchRuns::randomWord(rng));
            q.addBindValue(QStringLiteral("Category %1").arg(i % 20));
            q.addBindValue(QStringLiteral("Noun"));
            q.exec();
        }
        // The word of the hyphenated chain.
        for (const QString& v : {QStringLiteral("gut"), QStringLiteral("good"), QStringLiteral("Category 0"), QStringLiteral("Noun")})
            q.addBindValue(v);
        q.exec();
        t.commit();
    }
    // Half the words of the text stand in the store, half do not (and are retried).
    QStringList textWords;
    for (int i = 0; i < 10000; ++i)
        textWords << (i % 2 ? words[int(rng.bounded(int(words.size())))] : BenchRuns::randomWord(rng) + QStringLiteral("en"));
    const QString text = textWords.join(QStringLiteral(", "));

    QElapsedTimer timer;
    timer.start();
    const Interpretation::WordIndex& index = Interpretation::cachedIndex(c, QString(), true);
    const QList<Interpretation::Run> runs = Interpretation::interpret(text, index, {});
    const double program = double(timer.nsecsElapsed()) / 1e6;
    // A second run over the same vocabulary finds it read already.
    timer.restart();
    const QList<Interpretation::Run> again = Interpretation::interpret(text, Interpretation::cachedIndex(c, QString(), true), {});
    const double repeat = double(timer.nsecsElapsed()) / 1e6;

    // Naive: fifteen LIKE queries per word, on a sample, scaled to the text.
    const int sample = 40;
    timer.restart();
    qint64 hits = 0;
    for (int i = 0; i < sample; ++i) {
        for (const char* p : kPatterns) {
            Ado::Recordset rs;
            rs.Open(QStringLiteral("Select * From Vocabulary Where English Like ? And Category Like ?"), c,
                    {QString::fromLatin1(p).arg(textWords[i]), QStringLiteral("%")});
            while (!rs.Eof()) {
                ++hits;
                rs.MoveNext();
            }
            rs.Close();
        }
    }
    const double naive = double(timer.nsecsElapsed()) / 1e6 * textWords.size() / sample;

    // Floor: fifteen lookups per word in a map made beforehand.
    QHash<QString, QList<QString>> map;
    for (const QString& w : words) map[w] << w;
    timer.restart();
    qint64 found = 0;
    for (const QString& w : textWords)
        for (int p = 0; p < Interpretation::kPasses; ++p) {
            const auto it = map.constFind(w);
            if (it != map.cend()) found += it->size();
        }
    const double floor = double(timer.nsecsElapsed()) / 1e6;

    std::printf("interpret 10000 words, 100000 entries (%lld runs, %lld naive hits, %lld floor hits)\n",
                qint64(runs.size()), hits, found);
    std::printf("program: %10.1f ms (first run, reading the store)  naive/program = %.0fx  program/floor = %.1fx\n",
                program, naive / program, program / floor);
    std::printf("program: %10.1f ms (later run, store unchanged)    naive/program = %.0fx  program/floor = %.1fx\n",
                repeat, naive / repeat, repeat / floor);
    std::printf("naive:   %10.1f ms (fifteen LIKE queries per word, timed on %d words and scaled)\n", naive, sample);
    std::printf("floor:   %10.1f ms (fifteen hash lookups per word in a prepared map)\n", floor);
    if (again.size() != runs.size()) return 1;

    // A 400 KB chain without a blank: umlaut words and ASCII words joined by hyphens.
    QString chain;
    while (chain.size() < 400 * 1024) chain += QStringLiteral("Ä-gut-");
    timer.restart();
    const QList<Interpretation::Run> chainRuns = Interpretation::interpret(chain, index, {});
    const double chainTime = double(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    qint64 chainFound = 0;
    for (const QStringView w : QStringView(chain).split(u'-', Qt::SkipEmptyParts))
        chainFound += map.contains(w.toString().toLower());
    const double chainFloor = double(timer.nsecsElapsed()) / 1e6;
    std::printf("chain:   %10.1f ms (%lld KB of \"Ä-gut-\", %lld runs)  program/floor = %.1fx\n", chainTime,
                qint64(chain.size() / 1024), qint64(chainRuns.size()), chainTime / chainFloor);
    std::printf("floor:   %10.1f ms (cut at the hyphens, each word looked up once; %lld found)\n", chainFloor, chainFound);

    // The output of a 1 MB text written into the rich text box.
    QString megabyte;
    while (megabyte.size() < (1 << 20)) megabyte += text + QStringLiteral(".\r\n");
    const QFont general(QStringLiteral("Verdana"), 10), translated(QStringLiteral("Verdana"), 10, QFont::Bold);
    const auto stretchesOf = [&](const QString& source) {
        QList<RichTextBox::Stretch> out;
        for (const Interpretation::Run& r : Interpretation::interpret(source, index, Interpretation::Options{true}))
            out << RichTextBox::Stretch{r.text, r.style == Interpretation::Style::General ? general : translated,
                                        r.style == Interpretation::Style::Translated ? QColor(Qt::blue)
                                        : r.style == Interpretation::Style::OldWord ? QColor(Qt::red)
                                                                                     : QColor(Qt::black)};
        return out;
    };
    const QList<RichTextBox::Stretch> stretches = stretchesOf(megabyte);
    RichTextBox box;
    QProgressBar bar;
    box.resize(800, 400);
    box.show();
    bar.show();
    QApplication::processEvents();
    timer.restart();
    bar.setMaximum(1000);
    box.appendFormatted(stretches, [&bar](qsizetype done, qsizetype total) {
        bar.setValue(int(done * 1000 / std::max<qsizetype>(1, total)));
    });
    QApplication::processEvents();
    const double writing = double(timer.nsecsElapsed()) / 1e6;

    QTextEdit floorBox;
    floorBox.resize(800, 400);
    floorBox.show();
    QApplication::processEvents();
    timer.restart();
    QTextCursor cursor(floorBox.document());
    cursor.beginEditBlock();
    for (const RichTextBox::Stretch& st : stretches) {
        QTextCharFormat f;
        f.setFont(st.font);
        f.setForeground(st.color);
        cursor.insertText(st.text, f);
    }
    cursor.endEditBlock();
    floorBox.setTextCursor(cursor);
    QApplication::processEvents();
    const double writingFloor = double(timer.nsecsElapsed()) / 1e6;
    std::printf("write:   %10.1f ms (output of %lld KB: %lld stretches into the rich text box)  program/floor = %.2fx "
                "(goal <= 1.5x)\n",
                writing, qint64(megabyte.size() / 1024), qint64(stretches.size()), writing / writingFloor);
    std::printf("floor:   %10.1f ms (the same stretches inserted in one edit block)\n", writingFloor);
    if (box.document()->characterCount() != floorBox.document()->characterCount()) return 1;

    // The same megabyte as one paragraph, laid out all at once when it has
    // gone in: when the bar passes nine tenths, against when the output is there.
    QString oneLine = megabyte;
    oneLine.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    const QList<RichTextBox::Stretch> paragraph = stretchesOf(oneLine);
    RichTextBox lineBox;
    lineBox.resize(800, 400);
    lineBox.show();
    QApplication::processEvents();
    double nineTenths = -1;
    timer.restart();
    lineBox.appendFormatted(paragraph, [&](qsizetype done, qsizetype total) {
        if (nineTenths < 0 && done * 10 >= total * 9) nineTenths = double(timer.nsecsElapsed()) / 1e6;
    });
    QApplication::processEvents();
    const double shown = double(timer.nsecsElapsed()) / 1e6;
    std::printf("line:    %10.1f ms (output of %lld KB in one paragraph shown)  bar at nine tenths after %.1f ms = "
                "%.0f%% of it (goal: at its end)\n",
                shown, qint64(oneLine.size() / 1024), nineTenths, 100 * nineTenths / shown);
    c.Close();
    return 0;
}
