// The Hangman dictionary editor with 1,000,000 entries. Add of a new word
// (checked against every entry without regard to case, then listed),
// against its floor: the same entries in a QStringList, a case-blind
// QStringList::contains and QListWidget::addItem on a bare list of the same
// entries. Prints the program's time, the floor's time and their ratio
// (median of several runs), and the memory the program holds once the
// dictionary is loaded and after visits to the editor (closed, then the
// dictionary read again, as the one-player window does on return).
//
// Then "long entry": the one-player window playing a dictionary of one
// entry of 200,000 letters, the time from a guessed letter (typed into the
// letter box, then OK) to the word shown, against the floor of a bare
// QLabel of the same font and width given the same word, measured once and
// painted. Median of several letters.
#include "Forms/HangMan1P/frmHangman1p.h"
#include "Forms/HangMan1P/frmHmDic.h"
#include "Forms/Main/frmChoice.h"
#include "Modules/modHangman.h"
#include "Platform/App.h"
#include "Platform/MsgBox.h"
#include "Platform/QuotedLines.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {
constexpr int kEntries = 1000000;
constexpr int kRuns = 5;

double medianMs(const std::function<void(int)>& run) {
    QList<qint64> ns;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        run(i);
        ns << timer.nsecsElapsed();
    }
    std::sort(ns.begin(), ns.end());
    return double(ns[kRuns / 2]) / 1e6;
}

// The memory held now ("VmRSS") or at most so far ("VmHWM"), in MB.
double memoryMb(const char* field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(field)) return line.mid(qstrlen(field) + 1).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

// Distinct entries of letters only, as a player would type them.
QString entry(int i, const QString& prefix = QStringLiteral("Word ")) {
    QString letters;
    for (int k = 0; k < 5; ++k, i /= 26) letters += QChar(u'a' + i % 26);
    return prefix + letters;
}

// A new word each run, in capitals, so the case-blind check reads every entry.
QString newWord(int run) { return entry(run, QStringLiteral("NEW ")); }

// The one-player window with an entry of 200,000 letters: a guessed letter
// against a bare label showing the same word.
void longEntry() {
    constexpr int kLetters = 200000;
    QString word;
    word.reserve(kLetters);
    for (int i = 0; i < kLetters; ++i) word += QChar(u'a' + i % 26);
    QuotedLines::write(App::file(QStringLiteral("Hangman.qem")), {word});
    LoadDictionary();
    frmChoice();
    MsgBoxSeam::queueInput(QStringLiteral("Ann"));
    class frmHangman1p* game = frmHangman1p();
    game->Show();
    game->activateNow();
    QTest::mouseClick(game->cmdPROCEED, Qt::LeftButton);
    QCoreApplication::processEvents();
    const double guess = medianMs([&](int run) {
        QTest::keyClick(game->txtENTERL, char('a' + run));
        QTest::mouseClick(game->cmdOKL, Qt::LeftButton);
        game->lblWord->repaint();
    });
    const QString shown = game->lblWord->text();
    if (shown.count(u'-') != kLetters - kRuns * (kLetters / 26 + 1))
        std::printf("the word shows %lld letters\n", qlonglong(kLetters - shown.count(u'-')));

    QLabel plain;
    plain.setFont(game->lblWord->font());
    plain.setAlignment(Qt::AlignCenter);
    plain.resize(game->lblWord->size());
    plain.show();
    QCoreApplication::processEvents();
    const double floor = medianMs([&](int run) {
        // The same word with a letter more shown, each run.
        QString next = shown;
        next[run] = u'x';
        plain.setText(next);
        if (QFontMetrics(plain.font()).horizontalAdvance(next) < 0) std::printf("no width\n");
        plain.repaint();
    });
    std::printf("%-13s program %9.2f ms   floor %9.2f ms   ratio %5.2f\n", "long entry", guess, floor,
                guess / floor);
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    App::setPath(dir.path());
    MsgBoxSeam::enable(true);
    QStringList words;
    words.reserve(kEntries);
    for (int i = 0; i < kEntries; ++i) words << entry(i);
    QuotedLines::write(App::file(QStringLiteral("Hangman.qem")), words);
    // Only the file's entries are held from here on.
    words.clear();
    words.squeeze();

    const double start = memoryMb("VmRSS");
    LoadDictionary();
    const double loaded = memoryMb("VmRSS");
    // What the one-player window does on the Dictionary button.
    Form::setModalHandler([](Form* editor) { editor->close(); });
    for (int visit = 0; visit < 3; ++visit) {
        frmHmDic()->Show(vbModal);
        LoadDictionary();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::printf("memory        start %7.1f MB   loaded %7.1f MB   after 3 visits %7.1f MB   peak %7.1f MB\n", start,
                loaded, memoryMb("VmRSS"), memoryMb("VmHWM"));

    // Add is clicked in the editor on screen; the floor's list is shown too.
    Form::setModalHandler(nullptr);
    class frmHmDic* editor = frmHmDic();
    editor->show();
    QCoreApplication::processEvents();
    if (editor->lstSHOW->count() != kEntries)
        std::printf("loaded %d entries of %d\n", int(editor->lstSHOW->count()), kEntries);
    const double add = medianMs([&](int run) {
        editor->txtEnter->setText(newWord(run));
        editor->cmdAdd_Click();
    });
    if (editor->lstSHOW->count() != kEntries + kRuns)
        std::printf("Add listed %d entries\n", int(editor->lstSHOW->count()));

    QStringList entries;
    entries.reserve(kEntries);
    for (int i = 0; i < kEntries; ++i) entries << editor->lstSHOW->item(i)->text();
    QListWidget plain;
    plain.setUniformItemSizes(true);
    plain.addItems(entries);
    plain.show();
    QCoreApplication::processEvents();
    const double floor = medianMs([&](int run) {
        const QString word = newWord(run);
        if (!entries.contains(word, Qt::CaseInsensitive)) plain.addItem(word);
    });
    std::printf("%-13s program %9.2f ms   floor %9.2f ms   ratio %5.2f\n", "add", add, floor, add / floor);
    editor->close();
    longEntry();
    return 0;
}
