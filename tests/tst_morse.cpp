// The Morse table and the rules of Morse text, without a window: the
// table's shape, both conversions in both languages, what Backspace takes
// from the ends of the two boxes, and random and huge inputs through all of
// them.
#include "Modules/modMorse.h"
#include "Platform/Ansi.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <random>

namespace {
const QString crlf = QStringLiteral("\r\n");
const Morse::Prosigns& english() { return Morse::prosigns(false); }
const Morse::Prosigns& german() { return Morse::prosigns(true); }

// The language column of the tables.
enum Language { En, De };
const Morse::Prosigns& in(int language) { return language == De ? german() : english(); }

// Every character the table holds, the letters also in lower case.
const QString tableCharacters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789/:;.,_?('- ");
} // namespace

class TestMorse : public QObject {
    Q_OBJECT
private slots:
    void tableShape() {
        const auto& t = Morse::table();
        QSet<QString> characters, groups;
        QSet<int> codes;
        for (int i = 0; i < Morse::kEntries; ++i) {
            const Morse::Entry& e = t[size_t(i)];
            QVERIFY2(!groups.contains(e.morse), qPrintable(e.morse));
            groups << e.morse;
            if (i <= Morse::kLastCharacter) {
                QCOMPARE(e.code, Ansi::code(e.character[0]));
                QVERIFY(!codes.contains(e.code));
                codes << e.code;
            } else {
                QCOMPARE(e.code, -1);
            }
            if (i < Morse::kLineBreak) {
                QVERIFY(!characters.contains(e.character));
                characters << e.character;
            }
            if (i < Morse::kLineBreak && i != Morse::kBlank) {
                QVERIFY(e.morse.endsWith(u' '));
                QCOMPARE(e.morse.count(u' '), 1);
                QVERIFY(!e.morse.contains(QRegularExpression("[^.\\- ]")));
            }
        }
        QCOMPARE(t[Morse::kLineBreak].morse, "\r\n.\r\n");
        QCOMPARE(t[Morse::kLineBreakTrim].morse, ".\r\n");
    }

    void textToMorse_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("morse");
        QTest::newRow("SOS HI") << int(En) << "SOS HI" << "... --- ...  .... .. ";
        QTest::newRow("lower case like upper case") << int(En) << "a" << ".- ";
        QTest::newRow("hyphen and six differ") << int(En) << "-6" << "-....- -.... ";
        QTest::newRow("character outside the table dropped") << int(En) << "A!B" << ".- -... ";
        QTest::newRow("two blanks between words") << int(En) << "A B" << ".-  -... ";
        QTest::newRow("start tag then HI") << int(En) << "<START>HI" << "-.-.- .... .. ";
        QTest::newRow("English error: eight dots") << int(En) << "<ERROR>" << "........ ";
        QTest::newRow("German tags") << int(De) << "<PAUSE><FEHLER><EDM><EDG><START>"
                                     << ".--... ........ .-.-. ....-. -.-.- ";
        QTest::newRow("English tag in German: letters only") << int(De) << "<EOM>" << ". --- -- ";
        QTest::newRow("lower-case tag: letters only") << int(En) << "<eom>" << ". --- -- ";
        QTest::newRow("two lines") << int(En) << "E\r\nT" << ". \r\n- ";
        QTest::newRow("ends with a line break") << int(En) << "E\r\n" << ". \r\n";
        QTest::newRow("empty line kept") << int(En) << "E\r\n\r\nT" << ". \r\n\r\n- ";
        QTest::newRow("lone CR and lone LF") << int(En) << "E\rT\nI" << ". \r\n- \r\n.. ";
        QTest::newRow("< opening no tag") << int(En) << "A<B" << ".- -... ";
        QTest::newRow("< at the end") << int(En) << "A<" << ".- ";
        QTest::newRow("unclosed tag") << int(En) << "<STAR" << "... - .- .-. ";
        QTest::newRow("< before a tag") << int(En) << "<<EOM>" << ".-.-. ";
    }
    void textToMorse() {
        QFETCH(int, language);
        QFETCH(QString, text);
        QFETCH(QString, morse);
        QCOMPARE(Morse::textToMorse(text, in(language)), morse);
    }

    void morseToText_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("morse");
        QTest::addColumn<QString>("text");
        QTest::newRow("SOS") << int(En) << "... --- ... " << "SOS";
        QTest::newRow("word gap") << int(En) << "... --- ...  .... .. " << "SOS HI";
        QTest::newRow("three blanks: two spaces") << int(En) << ".-   -... " << "A  B";
        QTest::newRow("hyphen and six differ") << int(En) << "-....- -.... " << "-6";
        QTest::newRow("last code without its blank") << int(En) << ".- -..." << "A";
        QTest::newRow("nine dots match nothing") << int(En) << "......... .- " << "A";
        QTest::newRow("start: German") << int(De) << "-.-.- " << "<START>";
        QTest::newRow("break: English") << int(En) << ".--... " << "<BREAK>";
        QTest::newRow("break: German") << int(De) << ".--... " << "<PAUSE>";
        QTest::newRow("two lines") << int(En) << ". \r\n- " << "E\r\nT";
        QTest::newRow("empty line kept") << int(En) << ". \r\n\r\n- " << "E\r\n\r\nT";
        QTest::newRow("code cut short by a line break") << int(En) << ".-\r\n- " << "\r\nT";
        QTest::newRow("lone LF") << int(En) << ". \n- " << "E\r\nT";
        QTest::newRow("tag characters are no Morse") << int(En) << "<EOM> .- " << "A";
        QTest::newRow("stray control characters passed over") << int(En) << QStringLiteral(".- \0-... \x1b\r\n-\x7f ")
                                                              << "AB\r\nT";
        QTest::newRow("empty") << int(En) << "" << "";
    }
    void morseToText() {
        QFETCH(int, language);
        QFETCH(QString, morse);
        QFETCH(QString, text);
        QCOMPARE(Morse::morseToText(morse, in(language)), text);
    }

    // Text and Morse as the live conversion left them; what one Backspace
    // takes from the end of each.
    void backspace_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("morse");
        QTest::addColumn<int>("textRemove");
        QTest::addColumn<int>("morseRemove");
        QTest::newRow("a letter") << int(En) << "SA" << "... .- " << 1 << 3;
        QTest::newRow("a blank") << int(En) << "A " << ".-  " << 1 << 1;
        QTest::newRow("a character outside the table") << int(En) << "A!" << ".- " << 1 << 0;
        QTest::newRow("a tag") << int(En) << "A<START>" << ".- -.-.- " << 7 << 6;
        QTest::newRow("a German tag") << int(De) << "<FEHLER>" << "........ " << 8 << 9;
        QTest::newRow("a tag of the other language") << int(De) << "<EOM>" << ". --- -- " << 1 << 0;
        QTest::newRow("> closing no tag, < far before") << int(En) << "<A B>" << ".-  -... " << 1 << 0;
        QTest::newRow("a line break") << int(En) << "E\r\n" << ". \r\n" << 2 << 2;
        QTest::newRow("empty text, Morse line break") << int(En) << "" << ". \r\n" << 0 << 2;
        QTest::newRow("Morse shorter than the group") << int(En) << "0" << "--" << 1 << 0;
        QTest::newRow("Morse only a line break, letter") << int(En) << "A" << "\r\n" << 1 << 0;
        QTest::newRow("converted: letter typed after") << int(En) << "OK<START> W" << "--- -.- -.-.- " << 1 << 0;
        QTest::newRow("converted: blank typed after") << int(En) << "OK<START> " << "--- -.- -.-.- " << 1 << 0;
        QTest::newRow("converted: same letter ends both") << int(En) << "OK" << "--- -.- " << 1 << 4;
        QTest::newRow("blank after a blank group") << int(En) << "S  " << "...   " << 1 << 1;
        QTest::newRow("outside the table after a line break") << int(En) << "E\r\n!" << ". \r\n" << 1 << 0;
        QTest::newRow("a character beyond 16 bits") << int(En) << QString::fromUtf8("E😀") << ". " << 2 << 0;
    }
    void backspace() {
        QFETCH(int, language);
        QFETCH(QString, text);
        QFETCH(QString, morse);
        QFETCH(int, textRemove);
        QFETCH(int, morseRemove);
        const Morse::BackspaceEdit edit = Morse::backspace(text, morse, in(language));
        QCOMPARE(int(edit.textRemove), textRemove);
        QCOMPARE(int(edit.morseRemove), morseRemove);
    }

    // Random texts and random Morse (unbalanced "<" and ">", lone CR and
    // LF, tags of both languages), small ones many times and huge ones
    // once: the conversions end, the live Backspace path keeps the Morse
    // box what the text converts to, and a text of table characters and
    // tags comes back upper-cased.
    void randomInput() {
        std::mt19937 rng(20261207);
        const QStringList pieces{"<START>", "<BREAK>", "<PAUSE>", "<EOM>", "<EDG>", "<", ">", "\r", "\n", "\r\n",
                                 ".", "-", " ", QString::fromUtf8("Ä"), QString::fromUtf8("ı"), "!", "a", "Z",
                                 QString::fromUtf8("😀"), "<EO", "C>"};
        auto randomText = [&](qsizetype length, const QStringList& from) {
            QString s;
            while (s.size() < length) s += from[qsizetype(rng() % from.size())];
            return s;
        };
        // Table characters, line breaks and the language's tags.
        auto tableOnly = [](const Morse::Prosigns& p) {
            QStringList from{crlf};
            for (const QString& tag : p.tags) from << tag;
            for (QChar c : tableCharacters) from << QString(c);
            return from;
        };

        for (int round = 0; round < 300; ++round) {
            const Morse::Prosigns& p = in(round % 2);
            const QString text = randomText(rng() % 60, pieces);
            Morse::morseToText(text, p);
            // Typed in the Single mode, then erased key by key.
            QString left = text, morse = Morse::textToMorse(text, p);
            while (!left.isEmpty()) {
                const Morse::BackspaceEdit e = Morse::backspace(left, morse, p);
                QVERIFY(e.textRemove >= 1 && e.textRemove <= left.size());
                QVERIFY(e.morseRemove <= morse.size());
                left.chop(e.textRemove);
                morse.chop(e.morseRemove);
                QCOMPARE(morse, Morse::textToMorse(left, p));
            }
            QVERIFY(morse.isEmpty());

            const QString clean = randomText(rng() % 80, tableOnly(p));
            QCOMPARE(Morse::morseToText(Morse::textToMorse(clean, p), p), clean.toUpper());
        }

        const qsizetype megabyte = 1 << 20;
        const QString huge = randomText(megabyte, pieces);
        const QString hugeMorse = Morse::textToMorse(huge, english());
        Morse::morseToText(huge, english());
        Morse::morseToText(randomText(megabyte, {".", "-", " ", "\r", "\n", "<", ">"}), german());
        QString left = huge, morse = hugeMorse;
        while (!left.isEmpty()) {
            const Morse::BackspaceEdit e = Morse::backspace(left, morse, english());
            QVERIFY(e.textRemove >= 1);
            left.chop(e.textRemove);
            morse.chop(e.morseRemove);
        }
        QVERIFY(morse.isEmpty());
        const QString hugeClean = randomText(megabyte, tableOnly(german()));
        QCOMPARE(Morse::morseToText(Morse::textToMorse(hugeClean, german()), german()), hugeClean.toUpper());
    }
};

QTEST_GUILESS_MAIN(TestMorse)
#include "tst_morse.moc"
