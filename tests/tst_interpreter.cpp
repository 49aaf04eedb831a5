// The interpreter's engine: how a text is cut into words, the fifteen
// shapes a word is found in, the base forms of the retry, hyphenated words,
// line breaks, and random input that must neither crash nor hang.
#include "Forms/Translator/frmInterpret.h"
#include "Forms/Translator/frmTrans.h"
#include "Modules/modInterpret.h"
#include "Modules/modLanguage.h"
#include "Modules/modTrans.h"
#include "Platform/Ado.h"
#include "Platform/Ansi.h"
#include "Platform/App.h"
#include "Platform/Dialogs.h"
#include "Platform/KeyboardLayout.h"
#include "Platform/Memory.h"
#include "Platform/MsgBox.h"
#include "Platform/RichTextBox.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QProgressBar>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

using namespace Interpretation;

namespace {

// "source=shown;source=shown" in store order.
WordIndex indexOf(const QString& entries) {
    WordIndex index;
    for (const QString& e : entries.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype at = e.indexOf(u'=');
        index.add(e.left(at), e.mid(at + 1));
    }
    return index;
}

// Translations in [], old words in {}, the general font plain.
QString render(const QList<Run>& runs) {
    QString out;
    for (const Run& r : runs) {
        if (r.style == Style::Translated) out += u'[' + r.text + u']';
        else if (r.style == Style::OldWord) out += u'{' + r.text + u'}';
        else out += r.text;
    }
    return out;
}

// A word store with these entries: English, German, category.
void seed(const QList<QStringList>& entries) {
    Ado::Connection c(QStringLiteral("Seed"));
    VocStore::open(c, App::dataFile(QStringLiteral("Voc.mdb"), App::Access::Write));
    for (const QStringList& e : entries) {
        if (!VocStore::hasCategory(c, e[2])) VocStore::addCategory(c, e[2]);
        VocStore::add(c, {0, e[0], e[1], e[2], QStringLiteral("Noun")});
    }
    c.Close();
}

const QList<QStringList> kWords{{"house", "Haus", "Home"}, {"garden", "Garten", "Home"}, {"house", "Haus", "Music"}};

// The translator open, then its interpreter button.
class frmInterpret* openInterpreter() {
    class frmTrans* t = frmTrans();
    t->Show(vbModeless);
    QTest::mouseClick(t->cmdInterpret, Qt::LeftButton);
    class frmInterpret* f = frmInterpret();
    f->activateNow();
    return f;
}

void interpretText(class frmInterpret* f, const QString& text) {
    f->txtInput->setTextValue(text);
    QTest::mouseClick(f->cmdInterpret, Qt::LeftButton);
}

// The colour of the output's character at `pos`.
QColor colourAt(const RichTextBox* box, int pos) {
    QTextCursor c(box->document());
    c.setPosition(pos + 1);
    return c.charFormat().foreground().color();
}

} // namespace

class TestInterpreter : public QObject {
    Q_OBJECT
private slots:
    void init() {
        TestSupport::setUp();
        KeyboardLayoutSeam::setGerman(false);
    }
    void cleanup() {
        KeyboardLayoutSeam::setGerman(std::nullopt);
        TestSupport::tearDown();
    }

    void interpretation_data() {
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("showOld");
        QTest::addColumn<QString>("output");
        QTest::newRow("whole entry") << "Haus=house" << "Haus" << false << "[house]";
        QTest::newRow("umlaut in other case") << "Über=over" << "über" << false << "[over]";
        QTest::newRow("capital word, small entry") << "haus=house" << "HAUS" << false << "[house]";
        QTest::newRow("bracket pass before whole entry") << "Haus=house;Haus (das)=the house" << "Haus" << false
                                                         << "[the house][house]";
        QTest::newRow("three rows of one pass") << "Haus=house;Haus=home;Haus=building" << "Haus" << false
                                                << "[ & house][ & home][ & building]";
        QTest::newRow("one entry, two shapes") << "Haus/Heim,Haus=dwelling" << "Haus" << false
                                               << "[dwelling][dwelling]";
        QTest::newRow("one hit per pass and entry") << "x/Zweimal/y,Zweimal,z/Zweimal/w=twice" << "Zweimal" << false
                                                    << "[twice][twice]";
        QTest::newRow("capital sharp s") << "Straße=street" << "STRAẞE" << false << "[street]";
        QTest::newRow("every shape") << "a(x)=1;a (x)=2;a/x=3;a,x=4;x/a=5;x/a/y=6;x/a (y)=7;x/a(y)=8;x/a,y=9;"
                                        "x,a=10;x,a,y=11;x,a(y)=12;x,a (y)=13;x,a/y=14;a=15;xa=no;ax=no;x/ab=no"
                                     << "a" << false << "[1][2][3][4][5][6][7][8][9][10][11][12][13][14][15]";
        QTest::newRow("old word before each hit") << "Haus=house;Haus=home" << "Haus" << true
                                                  << "{\"Haus\"} [ & house]{\"Haus\"} [ & home]";
        QTest::newRow("comma, blank, last word") << "Haus=house;Garten=garden" << "Haus, Garten" << false
                                                 << "[house], [garden]";
        QTest::newRow("sharp s inside a word") << "Straße=street" << "Straße." << false << "[street].";
        QTest::newRow("digit and blank copied") << "Tag=day" << "3 Tage" << false << "3 [day]";
        QTest::newRow("base form found") << "studieren=to study" << "studierte" << false << "[to study]";
        QTest::newRow("base form shown as old word") << "studieren=to study" << "studierte" << true
                                                     << "{\"studieren\"} [to study]";
        QTest::newRow("base form not found") << "" << "studierte" << false << "studierte";
        QTest::newRow("rule gives no word") << "Wel=x" << "Welt" << false << "Welt";
        QTest::newRow("short word, no retry") << "Hu=x" << "Hut" << false << "Hut";
        QTest::newRow("capitals match no rule") << "HAU=x" << "HAUS" << false << "HAUS";
        QTest::newRow("hyphenated word found whole") << "well-known=bekannt;well=gut" << "well-known" << false
                                                     << "[bekannt]";
        QTest::newRow("hyphenated word cut") << "well=gut;known=bekannt" << "well-known!" << false
                                             << "[gut]-[bekannt]!";
        QTest::newRow("later hyphenated word cut at once")
            << "well=gut;known=bekannt;well-made=gemacht" << "well-known well-made" << false
            << "[gut]-[bekannt] [gut]-made";
        QTest::newRow("umlaut word ends at hyphen") << "über=over;all=alles;über-all=überall" << "über-all" << false
                                                    << "[over]-[alles]";
        QTest::newRow("umlaut and ASCII words in a chain") << "gut=good" << "Ä-gut-Ä-gut-" << false
                                                           << "Ä-[good]-Ä-[good]-";
        QTest::newRow("chain found whole after an umlaut word") << "gut=good;gut-ä-gut=fine" << "Ä-gut-ä-gut x"
                                                                << false << "Ä-[fine] x";
        QTest::newRow("lone hyphen ends cutting")
            << "well=gut;known=bekannt;well-made=gemacht" << "well-known - well-made" << false
            << "[gut]-[bekannt] - [gemacht]";
        QTest::newRow("end character copied unchanged") << "Haus=house" << "HausÉ" << false << "[house]É";
        QTest::newRow("each line break once") << "Haus=house" << "Haus\r\nHaus\nHaus\r\r\n" << false
                                              << "[house]\n[house]\n[house]\n\n";
        QTest::newRow("word at the end of the text") << "Haus=house" << "ein Haus" << false << "ein [house]";
        QTest::newRow("nothing") << "Haus=house" << "" << false << "";
        QTest::newRow("decomposed umlaut looked up composed") << "Mädchen=girl" << "Ma\u0308dchen." << false << "[girl].";
        QTest::newRow("composed word, decomposed entry") << "Ma\u0308dchen=girl" << "Mädchen" << false << "[girl]";
        QTest::newRow("decomposed word not found, kept as given") << "Haus=house" << "Ma\u0308dchen!" << false
                                                                  << "Ma\u0308dchen!";
        QTest::newRow("base form of a decomposed word") << "Mädchen=girl" << "Ma\u0308dchens" << false << "[girl]";
        QTest::newRow("umlaut word ends cutting") << "gut-bekannt=well-known;gut=good" << "xx-yy Über-all gut-bekannt"
                                                  << false << "xx-yy Über-all [well-known]";
        QTest::newRow("decomposed umlaut word ends cutting")
            << "gut-bekannt=well-known;gut=good" << "xx-yy U\u0308ber-all gut-bekannt" << false
            << "xx-yy U\u0308ber-all [well-known]";
        QTest::newRow("mark after a blank copied") << "Tag=day" << "3 \u0308Tag" << false << "3 \u0308[day]";
        QTest::newRow("SS for a sharp s") << "Straße=street" << "STRASSE" << false << "[street]";
    }
    void interpretation() {
        QFETCH(QString, entries);
        QFETCH(QString, text);
        QFETCH(bool, showOld);
        QFETCH(QString, output);
        const WordIndex index = indexOf(entries);
        QCOMPARE(render(interpret(text, index, Options{showOld})), output);
        QCOMPARE(StemRetry, false);
        QCOMPARE(OriginalWord, QString());
        QCOMPARE(WordFound, false);
    }

    void stems_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("stem");
        const char* rows[][2] = {
            {"studiere", "studieren"},  {"studiert", "studieren"},    {"studierst", "studieren"},
            {"studierte", "studieren"}, {"studierten", "studieren"},  {"studiertem", "studieren"},
            {"studierter", "studieren"}, {"macht", "machen"},         {"studiertes", "studieren"},
            {"studierender", "studieren"}, {"schnellsten", "schnell"}, {"Familien", "Familie"},
            {"schnellere", "schnell"},  {"machen", "mach"},           {"Tage", "Tag"},
            {"Kinder", "Kind"},         {"Hauses", "Haus"},           {"Autos", "Auto"},
            {"Welt", "Welen"},          {"Hut", ""},                  {"Haus", "Hau"},
            {"Baum", ""},
        };
        for (const auto& r : rows) QTest::newRow(r[0]) << QString::fromUtf8(r[0]) << QString::fromUtf8(r[1]);
    }
    void stems() {
        QFETCH(QString, word);
        QFETCH(QString, stem);
        QCOMPARE(stemOf(word).value_or(QString()), stem);
    }

    void progressStaysWithinText() {
        const WordIndex index = indexOf("Haus=house");
        qsizetype last = -1, total = 0;
        bool beyond = false;
        interpret("Haus, Haus\r\n- well-known", index, {}, [&](qsizetype done, qsizetype all) {
            beyond = beyond || done > all || done < last;
            last = done;
            total = all;
        });
        QVERIFY(!beyond);
        QCOMPARE(last, total);
    }

    // Random bytes, read as a user's document is read, and random UTF-16.
    void randomInput() {
        QRandomGenerator rng(20261207);
        const WordIndex index = indexOf("a=1;ab=2;a-b=3;ä(x)=4;x/ß=5;Tag=6;well=7;-=8");
        for (int i = 0; i < 400; ++i) {
            QByteArray bytes(int(rng.bounded(200)), Qt::Uninitialized);
            for (char& b : bytes) b = char(rng.bounded(256));
            QString text = Ansi::decodeDocument(bytes);
            if (i % 2) {
                text.clear();
                for (int k = 0; k < 100; ++k) text += QChar(char16_t(rng.bounded(0x10000)));
            }
            const QList<Run> runs = interpret(text, index, Options{i % 3 == 0});
            QVERIFY(!StemRetry);
            RichTextBox box;
            for (const Run& r : runs) box.appendFormatted(r.text, QFont("Verdana", 10), Qt::blue);
            QVERIFY(box.TextRTF().startsWith("{\\rtf"));
            qsizetype breaks = 0;
            for (const Run& r : runs) breaks += r.text.count(u'\n');
            QVERIFY(breaks <= text.size());
        }
        // A long chain of umlaut and ASCII words: cut at every hyphen, each
        // word looked up once.
        const WordIndex chainIndex = indexOf("gut=good;a-b=3");
        QString chain, expected;
        for (int i = 0; i < 8000; ++i) {
            chain += QString::fromUtf8("Ä-gut-");
            expected += QString::fromUtf8("Ä-[good]-");
        }
        QCOMPARE(render(interpret(chain, chainIndex, {})), expected);
    }

    // --- The window -------------------------------------------------------------------

    void opensOverTheTranslator() {
        seed(kWords);
        class frmInterpret* f = openInterpreter();
        QVERIFY(f->isVisible());
        QVERIFY(!frmTrans()->isVisible());
        QCOMPARE(f->cboCategory->count(), 3);
        QCOMPARE(f->cboCategory->itemText(2), QString());
        QVERIFY(f->Unload());
        QVERIFY(frmTrans()->isVisible());
    }

    void interpretsInItsFonts_data() {
        QTest::addColumn<bool>("german");
        QTest::addColumn<int>("directionClicks");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("direction");
        QTest::addColumn<QString>("output");
        QTest::newRow("English to German") << false << 0 << "" << "house, garden" << "English --> German"
                                           << " & Haus & Haus, Garten";
        QTest::newRow("one category") << false << 0 << "Home" << "house, garden" << "English --> German"
                                      << "Haus, Garten";
        QTest::newRow("German to English") << false << 1 << "Home" << "Haus\r\nGarten" << "German --> English"
                                           << "house\r\ngarden";
        QTest::newRow("German captions") << true << 1 << "Home" << "Gärten" << "Deutsch --> Englisch" << "Gärten";
        QTest::newRow("German captions, back") << true << 2 << "Home" << "garden" << "Englisch --> Deutsch"
                                               << "Garten";
    }
    void interpretsInItsFonts() {
        QFETCH(bool, german);
        QFETCH(int, directionClicks);
        QFETCH(QString, category);
        QFETCH(QString, text);
        QFETCH(QString, direction);
        QFETCH(QString, output);
        if (german) CurrentLanguage = "German";
        seed(kWords);
        class frmInterpret* f = openInterpreter();
        f->cboCategory->setCurrentIndex(f->cboCategory->findText(category));
        for (int i = 0; i < directionClicks; ++i) f->lblLanguage->click();
        QCOMPARE(f->lblLanguage->Caption(), direction);
        interpretText(f, text);
        QCOMPARE(f->txtOutput->Text(), output);
        QCOMPARE(f->prgBar->value(), f->prgBar->maximum());
        QVERIFY(MsgBoxSeam::shown().isEmpty());
    }

    // The output is written as one edit, the bar at its end only when the
    // output is there.
    void outputWrittenOnce() {
        seed(kWords);
        class frmInterpret* f = openInterpreter();
        interpretText(f, "x");
        int edits = 0, barAtEdit = -1;
        connect(f->txtOutput->document(), &QTextDocument::contentsChange, f, [&] {
            ++edits;
            barAtEdit = f->prgBar->value();
        });
        interpretText(f, "house, garden, tree\r\nhouse");
        QCOMPARE(edits, 1);
        QVERIFY(barAtEdit < f->prgBar->maximum());
        QCOMPARE(f->prgBar->value(), f->prgBar->maximum());
        QCOMPARE(f->txtOutput->Text(), QString("x\r\n\r\n & Haus & Haus, Garten, tree\r\n & Haus & Haus"));
        QCOMPARE(f->txtOutput->textCursor().position(), f->txtOutput->document()->characterCount() - 1);
    }

    // A long output goes in by parts, each laid out as it goes in, so the bar
    // moves in step with the writing, by whole percents (each change is
    // announced to screen readers); one undo still takes all of it back.
    void longOutputWrittenInStep() {
        seed(kWords);
        class frmInterpret* f = openInterpreter();
        interpretText(f, "x");
        QString text;
        for (int i = 0; i < 2000; ++i) text += "house, garden, tree\r\n";
        int edits = 0;
        connect(f->txtOutput->document(), &QTextDocument::contentsChange, f, [&] { ++edits; });
        QSignalSpy bar(f->prgBar, &QProgressBar::valueChanged);
        interpretText(f, text);
        QVERIFY(edits > 1);
        QVERIFY2(bar.size() <= 101, qPrintable(QString::number(bar.size())));
        QCOMPARE(f->prgBar->value(), f->prgBar->maximum());
        QVERIFY(f->txtOutput->Text().endsWith(" & Haus & Haus, Garten, tree\r\n"));
        f->txtOutput->document()->undo();
        QCOMPARE(f->txtOutput->Text(), QString("x"));
        // What the box reports written is laid out, but for the part going in
        // (a hundredth, at least 4096 characters).
        const QList<RichTextBox::Stretch> lines(2000, {"Haus und Garten\n", QFont("Verdana", 10), Qt::blue});
        qsizetype ahead = 0;
        f->txtOutput->appendFormatted(lines, [&](qsizetype done, qsizetype) {
            qsizetype laidOut = 0;
            for (QTextBlock b = f->txtOutput->document()->begin().next(); b.isValid(); b = b.next())
                if (b.layout() && b.layout()->lineCount() > 0) laidOut += b.length();
            ahead = std::max(ahead, done - laidOut);
        });
        QVERIFY2(ahead <= 2 * 4096, qPrintable(QString::number(ahead)));
    }

    // One long paragraph is laid out all at once when it has gone in: until
    // then the bar stands a small share along, and reaches its end only when
    // the output is shown.
    void longParagraphEndsWithItsLayout() {
        seed(kWords);
        class frmInterpret* f = openInterpreter();
        const QList<RichTextBox::Stretch> words(5000, {"Haus und Garten ", QFont("Verdana", 10), Qt::blue});
        qsizetype before = 0;
        bool endBeforeLayout = false;
        f->txtOutput->appendFormatted(words, [&](qsizetype done, qsizetype total) {
            const QTextBlock last = f->txtOutput->document()->lastBlock();
            const QTextLayout* layout = last.layout();
            const QTextLine line = layout && layout->lineCount() > 0 ? layout->lineAt(layout->lineCount() - 1) : QTextLine();
            const bool laidOut = line.isValid() && line.textStart() + line.textLength() >= last.length() - 1;
            if (!laidOut) before = std::max(before, done);
            endBeforeLayout = endBeforeLayout || (done == total && !laidOut);
        });
        QVERIFY2(before <= 5000 * 16 / 4, qPrintable(QString::number(before)));
        QVERIFY(!endBeforeLayout);
    }

    void fontsOfTheStretches() {
        seed(kWords);
        class frmInterpret* f = openInterpreter();
        f->cboCategory->setCurrentIndex(f->cboCategory->findText("Home"));
        f->chkShowOld->click();
        QVERIFY(f->cmdFontOld->isVisibleTo(f));
        DialogSeam::queueFont({QFont("Verdana", 12), QColor(0, 128, 0)});
        QTest::mouseClick(f->cmdFont2, Qt::LeftButton);
        interpretText(f, "1 house");
        QCOMPARE(f->txtOutput->Text(), QString("1 \"house\" Haus"));
        QCOMPARE(colourAt(f->txtOutput, 0), QColor(Qt::black));
        QCOMPARE(colourAt(f->txtOutput, 2), QColor(Qt::red));
        QCOMPARE(colourAt(f->txtOutput, 10), QColor(0, 128, 0));
        // The next run starts two lines below.
        interpretText(f, "x");
        QCOMPARE(f->txtOutput->Text(), QString("1 \"house\" Haus\r\n\r\nx"));
    }

    void changedStoreReadAgain() {
        seed(kWords);
        class frmInterpret* f = openInterpreter();
        interpretText(f, "tree");
        seed({{"tree", "Baum", "Home"}});
        f->txtOutput->clear();
        interpretText(f, "tree");
        QCOMPARE(f->txtOutput->Text(), QString("Baum"));
    }

    void generalFontNeedsSelection() {
        seed(kWords);
        class frmInterpret* f = openInterpreter();
        QTest::mouseClick(f->cmdFont, Qt::LeftButton);
        QVERIFY(DialogSeam::shown().isEmpty());
        f->txtInput->setTextValue("Haus");
        f->txtInput->setSelStart(0);
        f->txtInput->setSelLength(4);
        DialogSeam::queueFont({QFont("Verdana", 14), QColor(Qt::darkMagenta)});
        QTest::mouseClick(f->cmdFont, Qt::LeftButton);
        QCOMPARE(DialogSeam::shown().size(), 1);
        QCOMPARE(f->cmnDlg.color, QColor(Qt::darkMagenta));
        QCOMPARE(colourAt(f->txtInput, 0), QColor(Qt::darkMagenta));
    }

    // Typed keys; a paste (Shift+Insert, "^V") goes in as it is.
    void keysGiveUmlauts_data() {
        QTest::addColumn<bool>("germanLayout");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("input");
        QTest::newRow("US keys give umlauts") << false << "" << "';[:\"{" << "äöüÖÄÜ";
        QTest::newRow("German layout: keys as typed") << true << "" << "Beispiel: Haus" << "Beispiel: Haus";
        QTest::newRow("paste kept as it is") << false << "He said: \"don't [sic]\"; {ok} Łódź → 日本 – €\r\nx\ty"
                                             << "^V" << "He said: \"don't [sic]\"; {ok} Łódź → 日本 – €\r\nx\ty";
        QTest::newRow("typed after a paste") << false << "[a]" << "^V;" << "[a]ö";
    }
    void keysGiveUmlauts() {
        QFETCH(bool, germanLayout);
        QFETCH(QString, clipboard);
        QFETCH(QString, keys);
        KeyboardLayoutSeam::setGerman(germanLayout);
        QApplication::clipboard()->setText(clipboard);
        seed(kWords);
        class frmInterpret* f = openInterpreter();
        TestSupport::typeKeys(f->txtInput, keys);
        QTEST(f->txtInput->Text(), "input");
    }

    void openAndSave() {
        seed(kWords);
        class frmInterpret* f = openInterpreter();
        TestSupport::writeFile("text.txt", QByteArray("Gr\xfc\xdf" "e, house\r\n"));
        DialogSeam::queueFile(App::file("text.txt"));
        QTest::mouseClick(f->cmdOpenFile, Qt::LeftButton);
        QCOMPARE(f->txtInput->Text(), QString("Grüße, house\r\n"));
        QTest::mouseClick(f->cmdInterpret, Qt::LeftButton);
        const QString saved = App::file("out.rtf");
        DialogSeam::queueFile(saved);
        QTest::mouseClick(f->cmdSaveFile, Qt::LeftButton);
        QCOMPARE(DialogSeam::shown().last().kind, QString("save"));
        const QByteArray rtf = TestSupport::readFile("out.rtf");
        QVERIFY(rtf.startsWith("{\\rtf"));
        QVERIFY(rtf.contains("Haus"));
        // Cancelling keeps the input.
        DialogSeam::queueFile("");
        QTest::mouseClick(f->cmdOpenFile, Qt::LeftButton);
        QCOMPARE(f->txtInput->Text(), QString("Grüße, house\r\n"));
    }

    // A text that cannot be read whole is not opened: "Problem: OpenFile"
    // says why and the input box keeps what it held.
    void openFails_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("message");
        QTest::newRow("the first read fails") << "I/O error once"
                                              << "Problem: OpenFile\n57: Device I/O error (\"in.txt\" could not be read)";
        QTest::newRow("reading fails part-way") << "I/O error"
                                                << "Problem: OpenFile\n57: Device I/O error (\"in.txt\" could not be read)";
        QTest::newRow("a pipe") << "pipe"
                                << "Problem: OpenFile\n75: Path/File access error (\"in.txt\" is not a regular file)";
        QTest::newRow("a link to a device")
            << "device" << "Problem: OpenFile\n75: Path/File access error (\"in.txt\" is not a regular file)";
        QTest::newRow("more than memory holds") << "short of memory" << "Problem: OpenFile\n7: Out of memory";
    }
    void openFails() {
        QFETCH(QString, how);
        seed(kWords);
        class frmInterpret* f = openInterpreter();
        f->txtInput->setTextValue("before");
        const QByteArray text = QByteArray("house and garden\r\n").repeated(4000);
        if (how == "short of memory") TestSupport::writeFile("in.txt", text), Memory::failAbove(text.size());
        else TestSupport::makeUnreadable("in.txt", how, text);
        DialogSeam::queueFile(App::file("in.txt"));
        QTest::mouseClick(f->cmdOpenFile, Qt::LeftButton);
        QTEST(MsgBoxSeam::last().text, "message");
        QCOMPARE(MsgBoxSeam::last().icon, int(vbCritical));
        QCOMPARE(f->txtInput->Text(), QString("before"));
    }

    // An interpretation that cannot be made writes nothing and says why;
    // the window keeps the text and what it wrote before.
    void interpretationRefused_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("message");
        QTest::newRow("the word store closed")
            << "closed" << "Problem: Text_Interpret\n3704: Operation is not allowed when the object is closed.";
        QTest::newRow("more than memory holds") << "short of memory" << "Problem: WriteOutput\n7: Out of memory";
    }
    void interpretationRefused() {
        QFETCH(QString, how);
        seed(kWords);
        class frmInterpret* f = openInterpreter();
        interpretText(f, "house");
        const QString before = f->txtOutput->Text();
        if (how == "closed") CloseTransConnection();
        else Memory::failAbove(0);
        interpretText(f, "garden and house");
        QCOMPARE(f->txtOutput->Text(), before);
        QCOMPARE(f->txtInput->Text(), QString("garden and house"));
        QTEST(MsgBoxSeam::last().text, "message");
    }

    void captionsShowWhole_data() {
        QTest::addColumn<bool>("german");
        QTest::newRow("English") << false;
        QTest::newRow("German") << true;
    }

    void captionsShowWhole() {
        QFETCH(bool, german);
        if (german) CurrentLanguage = "German";
        seed(kWords);
        class frmInterpret* f = openInterpreter();
        // The category caption fits beside its list, and the text boxes leave
        // their frames' captions uncovered.
        const QFontMetrics label(f->lblCategory->font());
        QVERIFY(label.horizontalAdvance(f->lblCategory->text()) <= f->lblCategory->width());
        QVERIFY(f->lblCategory->geometry().right() < f->cboCategory->x());
        for (const auto& [frame, box] : {std::pair{f->fraInput, f->txtInput}, std::pair{f->fraOutput, f->txtOutput}})
            QVERIFY(box->y() >= QFontMetrics(frame->font()).height());
    }

    // The direction label is read by its caption; the bar keeps the same
    // margin on both sides.
    void namesAndMargins_data() {
        QTest::addColumn<bool>("german");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::newRow("English") << false << "English --> German" << "Direction";
        QTest::newRow("German") << true << "Englisch --> Deutsch" << "Richtung";
    }
    void namesAndMargins() {
        QFETCH(bool, german);
        if (german) CurrentLanguage = "German";
        seed(kWords);
        class frmInterpret* f = openInterpreter();
        QAccessibleInterface* label = QAccessible::queryAccessibleInterface(f->lblLanguage);
        QTEST(label->text(QAccessible::Name), "name");
        QTEST(label->text(QAccessible::Description), "description");
        QVERIFY(!f->prgBar->accessibleName().isEmpty());
        for (QWidget* w : f->findChildren<QWidget*>())
            if (w->isVisibleTo(f) && w->focusPolicy() != Qt::NoFocus && !w->focusProxy())
                QVERIFY2(!QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty(),
                         w->metaObject()->className());
        for (const QSize size : {f->size(), QSize(900, 700)}) {
            f->resize(size);
            TestSupport::processEvents();
            QCOMPARE(f->prgBar->x(), f->width() - f->prgBar->geometry().right() - 1);
        }
    }

    void tinyWindow() {
        seed(kWords);
        class frmInterpret* f = openInterpreter();
        f->resize(20, 20);
        TestSupport::processEvents();
        QVERIFY(f->txtInput->height() >= 0 && f->fraInput->width() >= 0);
        QVERIFY(MsgBoxSeam::shown().isEmpty());
    }
};

QTEST_MAIN(TestInterpreter)
#include "tst_interpreter.moc"
