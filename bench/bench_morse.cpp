// Pasting letters into the Morse converter's text box in Single mode, where
// every pasted letter passes the key handler and appends its code group:
// a paste of n letters into a window whose boxes already hold n letters and
// their codes, shown and laid out, against the floor of inserting the same
// letters and the same code groups at the ends of two bare QPlainTextEdit
// holding the same texts. No sound folder: the letters play nothing.
// Prints the median times and their ratio (goal: at most 1.5 times the floor).
// A second row pastes 1 MB of lines (words of letters) into the empty boxes,
// with the program's letter sounds and its music device, played through an
// output that takes nothing (so no audio server is asked), against the
// floor of inserting the same lines and their Morse code line by line at
// the ends of two bare QPlainTextEdit (goal: at most 1.5 times the floor).
// A third row pastes 32,000 characters (words with a few characters beyond
// Windows-1252) into a shown one-line box whose key handler sees every
// character, as the chat's send box does, against QLineEdit::insert of the
// same text into a bare QLineEdit (goal: at most 1.5 times the floor).
// A fourth pastes a column of 20,000 amounts ("0.00", "0.01", ... one a line)
// into the length converter's amount box, whose key handler reads the box
// for every digit, against QLineEdit::insert of the same text (goal: at
// most 1.5 times the floor).
//   bench_morse [letters]   (default 10,000)
#include "Forms/LengthConverter/frmDis.h"
#include "Forms/MorseCode/frmMorse.h"
#include "Modules/modMorse.h"
#include "Platform/App.h"
#include "Platform/Controls.h"
#include "Platform/MsgBox.h"
#include "Platform/QtAudio.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {
constexpr int kRuns = 3;

double medianMs(const std::function<void()>& prepare, const std::function<void()>& run) {
    QList<qint64> ns;
    for (int i = 0; i < kRuns; ++i) {
        prepare();
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        run();
        // The boxes lay out and paint what was added.
        QCoreApplication::processEvents();
        ns << timer.nsecsElapsed();
    }
    std::sort(ns.begin(), ns.end());
    return double(ns[kRuns / 2]) / 1e6;
}

// Words of small letters, with a character beyond Windows-1252 now and then.
QString words(int n) {
    QRandomGenerator random(7);
    const QString beyond = QString::fromUtf8("łźΩ✓");
    QString s;
    s.reserve(n);
    while (s.size() < n) {
        const quint32 r = random.bounded(40);
        if (r < 5) s += u' ';
        else if (r == 5) s += beyond[random.bounded(int(beyond.size()))];
        else s += QChar(u'a' + random.bounded(26));
    }
    return s;
}

// A spreadsheet column of amounts, one a line.
QString amounts(int n) {
    QString s;
    for (int i = 0; i < n; ++i) s += QString::asprintf("%d.%02d\n", i / 100, i % 100);
    return s;
}

// What the amount box keeps of it: digits and points, blanks refused, and
// no digit beyond the 15th from the first that is not 0.
QString amountKept(const QString& column) {
    QString kept;
    int significant = 0;
    for (QChar c : column) {
        if (c == u'.') kept += c;
        if (!c.isDigit()) continue;
        if (significant > 0 || c != u'0') ++significant;
        if (significant <= 15) kept += c;
        else significant = 15;
    }
    return kept;
}

// Lines of words of small letters, n characters in all with their line breaks.
QString lines(int n) {
    QRandomGenerator random(11);
    QString s;
    s.reserve(n);
    while (s.size() < n - 1) {
        const quint32 r = random.bounded(60);
        if (r == 0) s += u'\n';
        else if (r < 10) s += u' ';
        else s += QChar(u'a' + random.bounded(26));
    }
    s += u'\n';
    return s;
}

// An output that never takes its stream: the sounds are asked for as the
// program asks for them, and heard nowhere.
class NoOutput : public QtAudio::Output {};

QString letters(int n, quint32 seed) {
    QRandomGenerator random(seed);
    QString s;
    s.reserve(n);
    for (int i = 0; i < n; ++i) s += QChar(u'a' + random.bounded(26));
    return s;
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, atoi(argv[1])) : 10000;
    QTemporaryDir dir;
    App::setPath(dir.path());
    MsgBoxSeam::enable(true);

    const Morse::Prosigns& p = Morse::prosigns(false);
    const QString held = letters(n, 1), pasted = letters(n, 2);
    const QString heldMorse = Morse::textToMorse(held, p);
    // A paste keeps its letters as they came; only typed letters are made capitals.
    const QString expectedText = held.toUpper() + pasted;
    const QString expectedMorse = heldMorse + Morse::textToMorse(pasted, p);

    class frmMorse* f = frmMorse();
    f->Show();
    f->activateNow();
    QApplication::clipboard()->setText(pasted);
    const double program = medianMs(
        [&] {
            f->txtText->setTextValue(held.toUpper());
            f->txtMC->setTextValue(heldMorse);
            f->txtText->setFocus();
        },
        [&] { f->txtText->paste(); });
    if (f->txtText->Text() != expectedText || f->txtMC->Text() != expectedMorse) {
        std::fprintf(stderr, "the paste left wrong texts\n");
        return 1;
    }

    QWidget window;
    window.resize(f->size());
    auto* text = new QPlainTextEdit(&window);
    auto* morse = new QPlainTextEdit(&window);
    text->setGeometry(f->txtText->geometry());
    morse->setGeometry(f->txtMC->geometry());
    text->setFont(f->txtText->font());
    morse->setFont(f->txtMC->font());
    window.show();
    const double floor = medianMs(
        [&] {
            text->setPlainText(held.toUpper());
            morse->setPlainText(heldMorse);
        },
        [&] {
            text->moveCursor(QTextCursor::End);
            text->insertPlainText(pasted.toUpper());
            morse->moveCursor(QTextCursor::End);
            morse->insertPlainText(Morse::textToMorse(pasted, p));
        });

    std::printf("paste of %d letters into %d: program %9.2f ms   floor %9.2f ms   ratio %5.2f\n", n, n, program, floor,
                program / floor);

    // The program's sounds beside it, as when it is installed.
    const QString media = qEnvironmentVariable("QEM_MEDIA_DIR", QCoreApplication::applicationDirPath() + "/..");
    if (!QFile::link(media + "/Sound", dir.path() + "/Sound") || !QFile::exists(dir.path() + "/Sound/A.au")) {
        std::fprintf(stderr, "no Sound folder in %s (QEM_MEDIA_DIR names the folder that holds it)\n", qPrintable(media));
        return 1;
    }
    QtAudio::setOutputMaker([](std::shared_ptr<QtAudio::Stream>, QtAudio::Output::Reports) { return std::make_unique<NoOutput>(); });
    QtAudio::install();
    const QString megabyte = lines(1 << 20);
    QString megabyteMorse;
    for (const QString& line : megabyte.split(u'\n')) megabyteMorse += Morse::textToMorse(line, p) + QStringLiteral("\r\n");
    megabyteMorse.chop(2);
    QApplication::clipboard()->setText(megabyte);
    const double single = medianMs(
        [&] {
            f->txtText->setTextValue(QString());
            f->txtMC->setTextValue(QString());
            f->txtText->setFocus();
        },
        [&] { f->txtText->paste(); });
    if (f->txtText->Text() != QString(megabyte).replace(u'\n', QStringLiteral("\r\n")) || f->txtMC->Text() != megabyteMorse) {
        std::fprintf(stderr, "the paste of 1 MB left wrong texts\n");
        return 1;
    }
    QStringList megabyteLines = megabyte.split(u'\n');
    megabyteLines.removeLast(); // after the last line break
    const double singleFloor = medianMs(
        [&] {
            text->setPlainText(QString());
            morse->setPlainText(QString());
        },
        [&] {
            QTextCursor textEnd(text->document()), morseEnd(morse->document());
            textEnd.movePosition(QTextCursor::End);
            morseEnd.movePosition(QTextCursor::End);
            for (const QString& line : megabyteLines) {
                textEnd.insertText(line + u'\n');
                morseEnd.insertText(Morse::textToMorse(line, p) + u'\n');
            }
        });
    std::printf("paste of 1 MB of lines in Single mode, its sounds on: program %9.2f ms   floor %9.2f ms   ratio %5.2f\n",
                single, singleFloor, single / singleFloor);

    const QString line = words(32000);
    TextBox box;
    box.resize(300, 28);
    box.onKeyPress = [](int& KeyAscii) {
        if (KeyAscii == 13) KeyAscii = 0;
    };
    box.show();
    QApplication::clipboard()->setText(line);
    const double linePaste = medianMs([&] { box.setTextValue(QString()); },
                                      [&] { QTest::keyClick(&box, Qt::Key_Insert, Qt::ShiftModifier); });
    if (box.Text() != line) {
        std::fprintf(stderr, "the one-line paste left a wrong text\n");
        return 1;
    }
    QLineEdit plain;
    plain.resize(300, 28);
    plain.show();
    const double lineFloor = medianMs([&] { plain.setText(QString()); }, [&] { plain.insert(line); });
    std::printf("paste of %lld characters into a one-line box: program %9.2f ms   floor %9.2f ms   ratio %5.2f\n",
                static_cast<long long>(line.size()), linePaste, lineFloor, linePaste / lineFloor);

    const QString column = amounts(20000);
    class frmDis* length = frmDis();
    length->Show();
    TextBox* amount = length->activeBox();
    QApplication::clipboard()->setText(column);
    const double columnPaste = medianMs(
        [&] {
            amount->setTextValue(QString());
            amount->setFocus();
        },
        [&] { QTest::keyClick(amount, Qt::Key_Insert, Qt::ShiftModifier); });
    if (amount->Text() != amountKept(column)) {
        std::fprintf(stderr, "the column paste left a wrong amount\n");
        return 1;
    }
    QLineEdit bare;
    bare.setGeometry(amount->geometry());
    bare.setFont(amount->font());
    bare.show();
    const double columnFloor = medianMs([&] { bare.setText(QString()); }, [&] { bare.insert(column); });
    std::printf("paste of 20000 amounts into an amount box: program %9.2f ms   floor %9.2f ms   ratio %5.2f\n",
                columnPaste, columnFloor, columnPaste / columnFloor);
    return 0;
}
