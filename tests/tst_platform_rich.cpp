// The rich text box: the selection's format, text written at the caret in
// the format set for it, and the RTF document it saves.
#include "Platform/App.h"
#include "Platform/RichTextBox.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

using namespace TestSupport;

namespace {
const QString kHead = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 Verdana;}";

QFont font(const QString& family, double points, bool bold = false) {
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}
} // namespace

class TestRichText : public QObject {
    Q_OBJECT
private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void rtf_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("body");
        QTest::newRow("plain") << "Hi" << "Hi";
        QTest::newRow("escapes") << "a\\b{c}\td" << "a\\\\b\\{c\\}\\tab d";
        QTest::newRow("Windows-1252") << QString::fromUtf8("Grüße €") << "Gr\\'fc\\'dfe \\'80";
        QTest::newRow("beyond Windows-1252") << QString::fromUtf8("Ωx한") << "\\u937?x\\u-10916?";
        QTest::newRow("line breaks") << "a\r\nb\nc" << "a\\par\r\nb\\par\r\nc";
    }
    void rtf() {
        QFETCH(QString, text);
        QFETCH(QString, body);
        RichTextBox box;
        box.appendFormatted(text, font("Verdana", 10), Qt::black);
        QCOMPARE(box.TextRTF(), kHead + "}\r\n{\\colortbl ;\\red0\\green0\\blue0;}\r\n\\pard\\f0\\fs20\\cf1 " + body +
                                    "}\r\n");
    }

    // Only what changes between stretches is written.
    void rtfFormats() {
        RichTextBox box;
        box.appendFormatted("a", font("Verdana", 10), Qt::black);
        QFont arial = font("Arial", 9.5, true);
        arial.setItalic(true);
        box.appendFormatted("b", arial, Qt::blue);
        QFont marked = font("Verdana", 10);
        marked.setUnderline(true);
        marked.setStrikeOut(true);
        box.appendFormatted("c", marked, Qt::black);
        QCOMPARE(box.TextRTF(), kHead + "{\\f1\\fnil\\fcharset0 Arial;}}\r\n"
                                        "{\\colortbl ;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
                                        "\\pard\\f0\\fs20\\cf1 a\\f1\\fs19\\b\\i\\cf2 b\\f0\\fs20\\b0\\i0\\ul\\strike\\cf1 c}\r\n");
    }

    void selectionFormat() {
        RichTextBox box;
        box.appendFormatted("ab\r\n", font("Verdana", 10), Qt::black);
        box.appendFormatted("cd", font("Arial", 12, true), Qt::red);
        box.setSelStart(4);
        box.setSelLength(2);
        QCOMPARE(box.SelText(), QString("cd"));
        QCOMPARE(box.SelFontName(), QString("Arial"));
        QCOMPARE(box.SelFontSize(), 12.0);
        QVERIFY(box.SelBold() && !box.SelItalic());
        QCOMPARE(box.SelColor(), QColor(Qt::red));
        box.setSelItalic(true);
        box.setSelStart(0);
        box.setSelLength(1);
        QVERIFY(!box.SelItalic());
        QCOMPARE(box.SelColor(), QColor(Qt::black));
    }

    // Format set at the caret, caret put back at the end, text written: the
    // text takes the format.
    void writtenTextTakesCaretFormat() {
        RichTextBox box;
        box.appendFormatted("plain ", font("Verdana", 10), Qt::black);
        const int end = int(box.Text().size());
        box.setSelStart(end);
        box.setSelLength(1);
        box.setSelStrikeThru(true);
        box.setSelColor(Qt::blue);
        box.setSelStart(end);
        box.setSelLength(1);
        box.setSelText("marked");
        box.setSelStart(end);
        box.setSelLength(6);
        QCOMPARE(box.SelText(), QString("marked"));
        QVERIFY(box.SelStrikeThru());
        QCOMPARE(box.SelColor(), QColor(Qt::blue));
    }

    void keyPressRemaps() {
        RichTextBox box;
        box.onKeyPress = [](int& k) {
            if (k == ';') k = 246;
        };
        box.show();
        typeKeys(&box, "a;b");
        QCOMPARE(box.Text(), QString::fromUtf8("aöb"));
    }

    // Ctrl+V's path with what the clipboard holds: data without text (an
    // empty clipboard) pastes nothing.
    void paste_data() {
        QTest::addColumn<bool>("handler");
        QTest::addColumn<bool>("asIs");
        QTest::addColumn<bool>("hasText");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty clipboard, key handler") << true << false << false << "" << "old";
        QTest::newRow("empty clipboard, as is") << true << true << false << "" << "old";
        QTest::newRow("empty clipboard, no handler") << false << false << false << "" << "old";
        QTest::newRow("through the key handler, not remapped") << true << false << true << "a;b" << QString::fromUtf8("olda;b");
        QTest::newRow("as is: handler skipped") << true << true << true << QString::fromUtf8("a;Ł\r\nc\x01\td")
                                                << QString::fromUtf8("olda;Ł\r\nc\td");
    }
    void paste() {
        QFETCH(bool, handler);
        QFETCH(bool, asIs);
        QFETCH(bool, hasText);
        QFETCH(QString, clipboard);
        RichTextBox box;
        if (handler)
            box.onKeyPress = [](int& k) {
                if (k == ';') k = 246;
            };
        box.pastesAsIs = asIs;
        box.setTextValue("old");
        box.moveCursor(QTextCursor::End);
        auto* data = new QMimeData;
        if (hasText) data->setText(clipboard);
        QApplication::clipboard()->setMimeData(data);
        box.paste();
        QTEST(box.Text(), "text");
    }

    // Many stretches written as one edit, the caret at the end once, the
    // end reported when the text is there (text gone in and waiting for its
    // layout counts an eighth before).
    void stretchesInOneEdit() {
        RichTextBox box;
        box.appendFormatted("a", font("Verdana", 10), Qt::black);
        int edits = 0;
        connect(box.document(), &QTextDocument::contentsChange, &box, [&] { ++edits; });
        QList<std::pair<qsizetype, qsizetype>> reported;
        box.appendFormatted({{"b\n", font("Arial", 9.5, true), Qt::blue}, {"c", font("Verdana", 10), Qt::black}},
                            [&](qsizetype done, qsizetype total) { reported << std::pair{done, total}; });
        QCOMPARE(edits, 1);
        QCOMPARE(reported, (QList<std::pair<qsizetype, qsizetype>>{{0, 3}, {0, 3}, {3, 3}}));
        QCOMPARE(box.Text(), QString("ab\r\nc"));
        QCOMPARE(box.SelStart(), 5);
        box.setSelStart(1);
        box.setSelLength(1);
        QCOMPARE(box.SelFontName(), QString("Arial"));
        QCOMPARE(box.SelColor(), QColor(Qt::blue));
    }

    void files() {
        RichTextBox box;
        box.appendFormatted(QString::fromUtf8("Grüße"), font("Verdana", 10), Qt::blue);
        QVERIFY(box.SaveFile(App::file("out.rtf")));
        QCOMPARE(readFile("out.rtf"), box.TextRTF().toLatin1());
        QString error;
        QVERIFY(!box.SaveFile(App::file("missing/out.rtf"), &error));
        QVERIFY(!error.isEmpty());

        writeFile("in.txt", "Gr\xfc\xdf\r\n{\\rtf1}");
        QVERIFY(box.LoadFile(App::file("in.txt")));
        QCOMPARE(box.Text(), QString::fromUtf8("Grüß\r\n{\\rtf1}"));
        writeFile("utf8.txt", "\xC5\x81\xC3\xB3" "d\xC5\xBA");
        QVERIFY(box.LoadFile(App::file("utf8.txt")));
        QCOMPARE(box.Text(), QString::fromUtf8("Łódź"));
        QVERIFY(!box.LoadFile(App::file("none.txt"), &error));
    }
};

QTEST_MAIN(TestRichText)
#include "tst_platform_rich.moc"
