// The platform layer that every window relies on: ini files, Windows-1252,
// the window lifecycle, timers, the key filter of text boxes, dates.
#include "Modules/modIni.h"
#include "Platform/Ansi.h"
#include "Platform/App.h"
#include "Platform/Controls.h"
#include "Platform/Fonts.h"
#include "Platform/Form.h"
#include "Platform/MsgBox.h"
#include "Platform/Profile.h"
#include "Platform/QuotedLines.h"
#include "Platform/RichTextBox.h"
#include "Platform/SaveError.h"
#include "Platform/Storage.h"
#include "Platform/Runtime.h"
#include "Platform/Timer.h"
#include "Platform/UpDown.h"
#include "Modules/modLanguage.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <cerrno>
#include <sys/stat.h>

#include <cmath>

using namespace TestSupport;

namespace {
// A window that notes which of its handlers ran.
class frmProbe : public Form {
public:
    QStringList log;
    int cancelQuery = 0;
    TextBox* txt = new TextBox(this);

protected:
    void Form_Load() override { log << "load"; }
    void Form_Activate() override { log << "activate"; }
    void Form_Deactivate() override { log << "deactivate"; }
    void Form_QueryUnload(int& Cancel, int mode) override {
        log << QString("query %1").arg(mode);
        Cancel = cancelQuery;
    }
    void Form_Unload(int&) override { log << "unload"; }
};
class frmOther : public Form {};
frmProbe* probe() { return touchForm<frmProbe>(); }
} // namespace

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void iniRead_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no file") << QByteArray() << "dflt";
        QTest::newRow("present") << QByteArray("[Values]\r\nLanguage=German\r\n") << "German";
        QTest::newRow("names ignore case") << QByteArray("[VALUES]\r\nlanguage=German\r\n") << "German";
        QTest::newRow("blanks around") << QByteArray("[Values]\r\n  Language =  German  \r\n") << "German";
        QTest::newRow("quoted") << QByteArray("[Values]\r\nLanguage=\"German\"\r\n") << "German";
        QTest::newRow("empty value is not the default") << QByteArray("[Values]\r\nLanguage=\r\n") << "";
        QTest::newRow("other section") << QByteArray("[Other]\r\nLanguage=German\r\n") << "dflt";
        QTest::newRow("unix line ends") << QByteArray("[Values]\nLanguage=English\n") << "English";
        QTest::newRow("first of two") << QByteArray("[Values]\r\nLanguage=A\r\nLanguage=B\r\n") << "A";
        QTest::newRow("Windows-1252") << QByteArray("[Values]\r\nLanguage=Gr\xfc\xdf\r\n") << QString::fromUtf8("Grüß");
        QTest::newRow("cut to the buffer") << ("[Values]\r\nLanguage=" + QByteArray(300, 'x') + "\r\n")
                                           << QString(254, 'x');
        QTest::newRow("old Mac line ends") << QByteArray("[Other]\rLanguage=A\r[Values]\rLanguage=B\r") << "B";
        QTest::newRow("large file") << ("[Other]\r\n" + QByteArray("Key=Value\r\n").repeated(1000000)
                                        + "[Values]\r\nLanguage=German\r\n")
                                     << "German";
    }
    void iniRead() {
        QFETCH(QByteArray, file);
        if (!file.isNull()) writeFile("t.ini", file);
        SetIniFile(" Values ", App::file("t.ini"));
        QTEST(GetIniValue("Language", "dflt"), "expected");
    }

    void iniNotReady() {
        IniReady = false;
        QCOMPARE(GetIniValue("Language", "dflt"), QString());
        QCOMPARE(WriteIniValue("Language", "German"), 0L);
    }

    void iniWrite_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("new file") << QByteArray() << QByteArray("[Values]\r\nLanguage=German\r\n");
        QTest::newRow("replace") << QByteArray("[Values]\r\nLanguage=English\r\n")
                                 << QByteArray("[Values]\r\nLanguage=German\r\n");
        QTest::newRow("add to section") << QByteArray("[Values]\r\nColour=Red\r\n\r\n[Other]\r\nX=1\r\n")
                                        << QByteArray("[Values]\r\nColour=Red\r\nLanguage=German\r\n\r\n[Other]\r\nX=1\r\n");
        QTest::newRow("add section") << QByteArray("; comment\r\n[Other]\r\nLanguage=English\r\n")
                                     << QByteArray("; comment\r\n[Other]\r\nLanguage=English\r\n[Values]\r\nLanguage=German\r\n");
        QTest::newRow("UTF-8 stays UTF-8") << QByteArray("; Gr\xc3\xbc\xc3\x9f\x65\r\n[Values]\r\nLanguage=English\r\n")
                                           << QByteArray("; Gr\xc3\xbc\xc3\x9f\x65\r\n[Values]\r\nLanguage=German\r\n");
        QTest::newRow("ANSI stays ANSI") << QByteArray("; Gr\xfc\xdf\x65\r\n[Values]\r\nLanguage=English\r\n")
                                         << QByteArray("; Gr\xfc\xdf\x65\r\n[Values]\r\nLanguage=German\r\n");
    }
    void iniWrite() {
        QFETCH(QByteArray, before);
        if (!before.isNull()) writeFile("t.ini", before);
        SetIniFile("Values", App::file("t.ini"));
        QCOMPARE(WriteIniValue("Language", "German"), 1L);
        QTEST(readFile("t.ini"), "after");
    }

    void ansiRoundTrip() {
        QByteArray all;
        for (int i = 1; i < 256; ++i) all += char(i);
        QCOMPARE(Ansi::encode(Ansi::decode(all)), all);
        QCOMPARE(Ansi::decode("\x80\xe4\x9f"), QString::fromUtf8("€äŸ"));
        QCOMPARE(Ansi::encode(QString::fromUtf8("a€→")), QByteArray("a\x80?"));
        QCOMPARE(Ansi::decodeDocument("Gr\xc3\xbc\xc3\x9f"), QString::fromUtf8("Grüß"));
        QCOMPARE(Ansi::decodeDocument("Gr\xfc\xdf"), QString::fromUtf8("Grüß"));
        QCOMPARE(Ansi::decodeDocument(QByteArray("\xfe\xff\0G\0\xfc", 6)), QString::fromUtf8("Gü"));
    }

    // A kept file: what is read from it, the values a tool sets aside, and
    // the bytes it is written back as.
    void quotedLines_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("unusable");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("Windows-1252, kept byte for byte")
            << QByteArray("\"M\xfcller \x80\"\r\n\"x\"\r\n") << "" << QStringList({"Müller €", "x"})
            << QByteArray("\"M\xfcller \x80\"\r\n\"x\"\r\n");
        QTest::newRow("characters Windows-1252 lacks: UTF-8")
            << QByteArray("\"\xc5\x81\xc3\xb3" "d\xc5\xba \xe2\x9c\x93 \xce\xa9 \xe2\x82\xac\"\r\n") << ""
            << QStringList({"Łódź ✓ Ω €"})
            << QByteArray("\"\xc5\x81\xc3\xb3" "d\xc5\xba \xe2\x9c\x93 \xce\xa9 \xe2\x82\xac\"\r\n");
        QTest::newRow("hand-edited UTF-8 that Windows-1252 holds: written back in UTF-8")
            << QByteArray("\"J\xc3\xb6rg\"\n") << "" << QStringList({"Jörg"}) << QByteArray("\"J\xc3\xb6rg\"\r\n");
        QTest::newRow("old Mac line ends") << QByteArray("\"a\"\r\"b\"\r") << "" << QStringList({"a", "b"})
                                           << QByteArray("\"a\"\r\n\"b\"\r\n");
        QTest::newRow("mixed line ends, an empty line")
            << QByteArray("\"a\"\r\n\n\"b\"\r\"c\"") << "" << QStringList({"a", "", "b", "c"})
            << QByteArray("\"a\"\r\n\"\"\r\n\"b\"\r\n\"c\"\r\n");
        QTest::newRow("UTF-16 with its mark: written back as UTF-16")
            << QByteArray("\xff\xfe\"\0\xe4\0\"\0\r\0\n\0", 12) << "" << QStringList({"ä"})
            << QByteArray("\xff\xfe\"\0\xe4\0\"\0\r\0\n\0", 12);
        QTest::newRow("UTF-16, a lone surrogate in a line set aside: its code units kept")
            << QByteArray("\xfe\xff\0\"\0a\0\"\0\r\0\n\0\"\0\x01\xd8\0\0\"\0\r\0\n", 24) << ""
            << QStringList({"a"}) << QByteArray("\xfe\xff\0\"\0a\0\"\0\r\0\n\0\"\0\x01\xd8\0\0\"\0\r\0\n", 24);
        QTest::newRow("Windows-1252 starting with \"ÿþ\": not taken for UTF-16")
            << QByteArray("\xff\xfe\"apple\"\r\n\"B\xe4r\"\r\n") << "" << QStringList({"Bär"})
            << QByteArray("\xff\xfe\"apple\"\r\n\"B\xe4r\"\r\n");
        QTest::newRow("UTF-8 with its mark: the mark kept")
            << QByteArray("\xef\xbb\xbf\"J\xc3\xb6rg\"\r\n") << "" << QStringList({"Jörg"})
            << QByteArray("\xef\xbb\xbf\"J\xc3\xb6rg\"\r\n");
        QTest::newRow("a NUL in the third of four lines: set aside in its place")
            << QByteArray("\"a\"\r\n\"b\"\r\n\"c\0\"\r\n\"d\"\r\n", 21) << "" << QStringList({"a", "b", "d"})
            << QByteArray("\"a\"\r\n\"b\"\r\n\"c\0\"\r\n\"d\"\r\n", 21);
        QTest::newRow("a NUL tail, a vertical tab, an escape")
            << QByteArray("\"a\"\r\n\"b\x0b\"\r\n\"c\"\r\n\x1b[0m\r\n\"d\"\r\n\"e\"\r\n\0\0\0", 35) << ""
            << QStringList({"a", "c", "d", "e"})
            << QByteArray("\"a\"\r\n\"b\x0b\"\r\n\"c\"\r\n\x1b[0m\r\n\"d\"\r\n\"e\"\r\n", 32);
        QTest::newRow("NUL padding and end-of-file marks after the text: no line")
            << QByteArray("\"a\"\r\n\"b\"\r\n") + QByteArray(4096, '\0') + QByteArray("\x1a\0", 2) << ""
            << QStringList({"a", "b"}) << QByteArray("\"a\"\r\n\"b\"\r\n");
        QTest::newRow("quotes that enclose nothing") << QByteArray("hello\"\r\n\"x\"\r\nx\"y\r\n") << ""
            << QStringList({"x"}) << QByteArray("hello\"\r\n\"x\"\r\nx\"y\r\n");
        QTest::newRow("the end-of-file mark of old editors") << QByteArray("\"a\"\r\n\x1a") << "" << QStringList({"a"})
            << QByteArray("\"a\"\r\n");
        QTest::newRow("values the tool cannot use go back as they stood")
            << QByteArray("\"1\"\r\n x \r\n\"x\"\r\n\"2\" a note\r\n\x01\r\n\"3\"\r\n") << "x"
            << QStringList({"1", "3"}) << QByteArray("\"1\"\r\n x \r\n\"x\"\r\n\"2\" a note\r\n\x01\r\n\"3\"\r\n");
        QTest::newRow("no line readable: all set aside, as a save leaves it")
            << QByteArray("\"05.00   B\x1b\"\r\nx\"y\r\n") << "" << QStringList()
            << QByteArray("\"05.00   B\x1b\"\r\nx\"y\r\n");
        QTest::newRow("one good line and one with an escape: the good one read")
            << QByteArray("\"1200.00 Rent\"\r\n\"05.00   M\x1bilk\"\r\n") << "" << QStringList({"1200.00 Rent"})
            << QByteArray("\"1200.00 Rent\"\r\n\"05.00   M\x1bilk\"\r\n");
    }
    void quotedLines() {
        QFETCH(QByteArray, file);
        QFETCH(QString, unusable);
        QFETCH(QStringList, values);
        writeFile("t.qem", file);
        std::optional<QuotedLines::Contents> read = QuotedLines::readKept(App::file("t.qem"));
        QVERIFY(read);
        read->setAsideIf([&](const QString& v) { return !unusable.isEmpty() && v == unusable; });
        QCOMPARE(read->values, values);
        QVERIFY(QuotedLines::write(App::file("t.qem"), read->values, nullptr, nullptr, read->kept()));
        QTEST(readFile("t.qem"), "written");
        QCOMPARE(MsgBoxSeam::shown().size(), 0);
    }

    // A failed save says what failed, with the runtime's number for it, in
    // the program's language.
    void quotedLinesWriteErrors_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("error");
        QTest::newRow("line break") << "English" << "a\rb" << "t.qem" << 5 << "A value holds a line break";
        QTest::newRow("line break, German") << "German" << "a\nb" << "t.qem" << 5
                                            << QString::fromUtf8("Ein Wert enthält einen Zeilenumbruch");
        QTest::newRow("a folder in the file's place") << "English" << "a" << "folder" << 70 << "Permission denied";
        QTest::newRow("a folder in the file's place, German") << "German" << "a" << "folder" << 70 << "Zugriff verweigert";
        QTest::newRow("folder missing") << "English" << "a" << "missing/t.qem" << 76 << "Path not found";
    }
    void quotedLinesWriteErrors() {
        QFETCH(QString, language);
        QFETCH(QString, value);
        QFETCH(QString, path);
        CurrentLanguage = language;
        QDir(programFolder()).mkdir("folder");
        QString error;
        int number = 0;
        QVERIFY(!QuotedLines::write(App::file(path), {value}, &error, &number));
        QTEST(number, "number");
        QTEST(error, "error");
        QVERIFY(!QFileInfo::exists(App::file("t.qem")));
    }

    // A kept file saved after the tool read it and changed its list: the
    // save keeps every line another tool wrote in its own bytes, refuses to
    // write what the program would not read again, and refuses to replace a
    // file another program changed meanwhile; a refused save leaves the file.
    void keptFileSaves_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("meanwhile"); // what another program does to the file after the reading
        QTest::addColumn<QString>("added");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QByteArray>("after");
        const QByteArray mixed("\"03/17/1990  M\xc3\xbcller\"\r\n\"01/02/1980  B\xe4r\"\r\n");
        QTest::newRow("a line in UTF-8 among Windows-1252, a name that needs UTF-8: the line keeps its bytes")
            << mixed << "" << QString::fromUtf8("05/05/2000  Łukasz") << ""
            << QByteArray("\"03/17/1990  M\xc3\xbcller\"\r\n\"01/02/1980  B\xc3\xa4r\"\r\n"
                          "\"05/05/2000  \xc5\x81ukasz\"\r\n");
        QTest::newRow("a line in UTF-8 with blanks around its quotes: its value keeps its bytes")
            << QByteArray("  \"M\xc3\xbcller\" \r\n\"B\xe4r\"\r\n") << "" << QString::fromUtf8("Łukasz") << ""
            << QByteArray("\"M\xc3\xbcller\"\r\n\"B\xc3\xa4r\"\r\n\"\xc5\x81ukasz\"\r\n");
        QTest::newRow("a line in UTF-8 among Windows-1252, a name Windows-1252 holds: every line kept")
            << mixed << "" << "05/05/2000  Paddy" << ""
            << mixed + "\"05/05/2000  Paddy\"\r\n";
        QTest::newRow("appended to by another program")
            << QByteArray("\"01/02/1980  Anna\"\r\n") << "append" << "05/05/2000  Paddy"
            << "75: Path/File access error (\"t.qem\" was changed by another program since it was opened and is not "
               "replaced)"
            << QByteArray("\"01/02/1980  Anna\"\r\n\"07/04/1976  AddedElsewhere\"\r\n");
        QTest::newRow("rewritten by another program, same size")
            << QByteArray("\"01/02/1980  Anna\"\r\n") << "rewrite" << "05/05/2000  Paddy"
            << "75: Path/File access error (\"t.qem\" was changed by another program since it was opened and is not "
               "replaced)"
            << QByteArray("\"01/02/1980  Emma\"\r\n");
        QTest::newRow("missing when read, made by another program")
            << QByteArray() << "create" << "05/05/2000  Paddy"
            << "75: Path/File access error (\"t.qem\" was changed by another program since it was opened and is not "
               "replaced)"
            << QByteArray("\"07/04/1976  AddedElsewhere\"\r\n");
        QTest::newRow("saved twice by the tool: its own save is no change")
            << QByteArray("\"01/02/1980  Anna\"\r\n") << "save" << "05/05/2000  Paddy" << ""
            << QByteArray("\"01/02/1980  Anna\"\r\n\"05/05/2000  Paddy\"\r\n");
        QTest::newRow("more than the program reads again")
            << QByteArray("\"01/02/1980  Anna\"\r\n") << "" << QString(Storage::kLargestKeptFile, u'x')
            << "7: Out of memory (\"t.qem\" would be larger than 64 MB, more than the program reads, and is not replaced)"
            << QByteArray("\"01/02/1980  Anna\"\r\n");
    }
    void keptFileSaves() {
        QFETCH(QByteArray, file);
        QFETCH(QString, meanwhile);
        QFETCH(QString, added);
        const QString path = App::file("t.qem");
        if (!file.isEmpty()) writeFile("t.qem", file);
        QuotedLines::Kept kept;
        QStringList values = QuotedLines::readKept(path, nullptr, nullptr, nullptr, &kept)
                                 .value_or(QuotedLines::Contents()).values;
        if (meanwhile == "append" || meanwhile == "create") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::Append));
            f.write("\"07/04/1976  AddedElsewhere\"\r\n");
        } else if (meanwhile == "rewrite") {
            writeFile("t.qem", "\"01/02/1980  Emma\"\r\n");
        } else if (meanwhile == "save") {
            QVERIFY(QuotedLines::write(path, values, nullptr, nullptr, kept));
        }
        values << added;
        QString error;
        int number = 0;
        const bool saved = QuotedLines::write(path, values, &error, &number, kept);
        QTEST(saved ? QString() : QString::number(number) + ": " + error, "error");
        QTEST(readFile("t.qem"), "after");
        QCOMPARE(QDir(programFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{"t.qem"});
    }

    // A file that is mostly not text is refused and left as it is; the first
    // save over it keeps it beside it under a name of its own, and says so.
    void damagedQuotedLines() {
        const QByteArray binary("\0\x01\x02garbage\r\n\"a\"\r\n\x03\x04", 19);
        writeFile("t.qem", binary);
        writeFile("t.qem.unread", "an older one");
        QString error;
        bool damaged = false;
        QVERIFY(!QuotedLines::readKept(App::file("t.qem"), &error, &damaged));
        QVERIFY(damaged);
        QVERIFY2(error.contains("t.qem"), qPrintable(error));
        QCOMPARE(readFile("t.qem"), binary);
        CurrentLanguage = "German";
        QVERIFY(QuotedLines::write(App::file("t.qem"), {"new"}));
        QCOMPARE(readFile("t.qem"), QByteArray("\"new\"\r\n"));
        QCOMPARE(readFile("t.qem.unread2"), binary);
        QCOMPARE(readFile("t.qem.unread"), QByteArray("an older one"));
        QCOMPARE(MsgBoxSeam::last().text, QString::fromUtf8("Die Datei \"t.qem\" konnte nicht gelesen werden. Sie bleibt "
                                                            "als \"t.qem.unread2\" daneben erhalten."));
        // What the program wrote itself it replaces without a word.
        MsgBoxSeam::clear();
        QVERIFY(QuotedLines::write(App::file("t.qem"), {"newer"}));
        QCOMPARE(MsgBoxSeam::shown().size(), 0);
        QVERIFY(!QFileInfo::exists(App::file("t.qem.unread3")));
    }

    // A save that cannot finish (no room at all, the disk full part-way
    // through more than any buffer holds, or the file there cannot be read)
    // leaves the old file whole and says so; nothing of the attempt stays in
    // the folder. The seam stands in for a file without read permission,
    // which the superuser (the test runner on the build machines) could read
    // all the same.
    void saveRefused_data() {
        QTest::addColumn<QString>("saver");
        QTest::addColumn<bool>("unreadable");
        QTest::addColumn<qint64>("room");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("error");
        const QString unread("70: Permission denied (\"t.out\" could not be read and is not replaced)");
        QTest::newRow("kept file, no room") << "kept file" << false << qint64(0) << "English" << "61: Disk full";
        QTest::newRow("kept file, full part-way") << "kept file" << false << qint64(100000) << "German"
                                                  << QString::fromUtf8("61: Datenträger voll");
        QTest::newRow("ini file") << "ini file" << false << qint64(0) << "English" << "61: Disk full";
        QTest::newRow("rich text document") << "rich text" << false << qint64(0) << "English" << "61: Disk full";
        QTest::newRow("kept file, unreadable") << "kept file" << true << qint64(0) << "English" << unread;
        QTest::newRow("ini file, unreadable") << "ini file" << true << qint64(0) << "English" << unread;
    }
    void saveRefused() {
        QFETCH(QString, saver);
        QFETCH(bool, unreadable);
        QFETCH(qint64, room);
        QFETCH(QString, language);
        CurrentLanguage = language;
        const QByteArray old("[Values]\r\nLanguage=English\r\n");
        writeFile("t.out", old);
        const QString path = App::file("t.out");
        if (unreadable) Storage::failReading(path);
        else Storage::failWritesAfter(room);
        QString error;
        int number = 0;
        bool saved = true;
        if (saver == "kept file") {
            saved = QuotedLines::write(path, QStringList(30000, "a value"), &error, &number);
        } else if (saver == "ini file") {
            RuntimeError e(0, QString());
            saved = Profile::writeString("Values", "Language", "German", path, &e);
            error = e.description;
            number = e.number;
        } else {
            RichTextBox box;
            box.setTextValue("text");
            saved = box.SaveFile(path, &error, &number);
        }
        QVERIFY(!saved);
        QTEST(QString::number(number) + ": " + error, "error");
        QCOMPARE(readFile("t.out"), old);
        QCOMPARE(QDir(programFolder()).entryList(QDir::Files), QStringList{"t.out"});
    }

    // A saved file keeps who may read and write it, and a link to it stays
    // a link; nothing of the save is left beside it.
    void saveKeepsModeAndLink() {
        writeFile("t.txt", "old");
        QVERIFY(QFile::setPermissions(App::file("t.txt"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        QVERIFY(QFile::link(App::file("t.txt"), App::file("link.txt")));
        QVERIFY(Storage::save(App::file("link.txt"), "new"));
        QVERIFY(QFileInfo(App::file("link.txt")).isSymLink());
        QCOMPARE(readFile("t.txt"), QByteArray("new"));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(App::file("t.txt")).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0640));
        QCOMPARE(QDir(programFolder()).entryList(QDir::Files | QDir::Hidden), QStringList({"link.txt", "t.txt"}));
    }

    // The write step against a real device that is always full: the failure
    // shows at the write, where a buffered write would have "succeeded".
    void realFullDevice() {
        QFile full("/dev/full");
        if (!full.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) QSKIP("This system has no /dev/full.");
        QCOMPARE(Storage::writeAll(full, "\"a\"\r\n"), ENOSPC);
        QCOMPARE(Err::systemError(ENOSPC).number, 61);
    }

    // A refused file is kept beside it once: a copy that a failed save made
    // goes again, a copy with the same bytes is not made twice, and a copy
    // that fails tells its own reason.
    void keptAsideOnce() {
        const QByteArray binary("\0\x01\x02garbage\r\n\"a\"\r\n\x03\x04", 19);
        writeFile("t.qem", binary);
        QString error;
        int number = 0;
        Storage::failWritesAfter(0);
        QVERIFY(!QuotedLines::write(App::file("t.qem"), {"new"}, &error, &number));
        QCOMPARE(QString::number(number) + ": " + error, QString("61: Disk full"));
        // Room for the copy, not for the longer new file.
        Storage::failWritesAfter(binary.size());
        QVERIFY(!QuotedLines::write(App::file("t.qem"), {"a value longer than the damaged file"}, &error, &number));
        QCOMPARE(number, 61);
        QCOMPARE(QDir(programFolder()).entryList(QDir::Files), QStringList{"t.qem"});
        QCOMPARE(readFile("t.qem"), binary);
        writeFile("t.qem.unread", binary);
        Storage::failWritesAfter(std::nullopt);
        QVERIFY(QuotedLines::write(App::file("t.qem"), {"new"}));
        QCOMPARE(QDir(programFolder()).entryList(QDir::Files), QStringList({"t.qem", "t.qem.unread"}));
        QCOMPARE(MsgBoxSeam::last().text,
                 QString("The file \"t.qem\" could not be read. It is kept beside it as \"t.qem.unread\"."));
    }

    void formLifecycle() {
        frmProbe* f = probe();
        QCOMPARE(f->log, QStringList{"load"});
        QCOMPARE(probe(), f);
        f->Show();
        f->activateNow();
        touchForm<frmOther>()->activateNow();
        QCOMPARE(f->log, QStringList({"load", "activate", "deactivate"}));
        f->cancelQuery = 1;
        QVERIFY(!f->Unload());
        f->close();
        QVERIFY(isFormLoaded<frmProbe>());
        f->cancelQuery = 0;
        f->log.clear();
        QVERIFY(f->Unload());
        QCOMPARE(f->log, QStringList({"query 1", "unload"}));
        QVERIFY(!isFormLoaded<frmProbe>());
        processEvents();
        // The next touch builds a new window in its design state.
        QCOMPARE(probe()->log, QStringList{"load"});
        probe()->Show();
        probe()->close();
        QVERIFY(!isFormLoaded<frmProbe>());
    }

    void modalShowReturnsWhenUnloaded() {
        QTimer::singleShot(0, [] { probe()->Unload(); });
        probe()->Show(vbModal);
        QVERIFY(!isFormLoaded<frmProbe>());
    }

    void enterPressesAFocusedButton() {
        PictureButton b(QStringLiteral("OK"));
        int clicks = 0;
        connect(&b, &QPushButton::clicked, [&] { ++clicks; });
        QTest::keyClick(&b, Qt::Key_Return);
        QTest::keyClick(&b, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(&b, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(clicks, 2);
    }

    void timerSemantics() {
        Timer t(nullptr, 0, true);
        QVERIFY(!t.running());
        t.setInterval(1);
        QVERIFY(t.running());
        t.setEnabled(false);
        QVERIFY(!t.running());
        t.setEnabled(true);
        t.setInterval(0);
        QVERIFY(!t.running());
        int ticks = 0;
        connect(&t, &Timer::tick, [&] { ++ticks; });
        // This one test lets the clock tick the timer.
        Timer::setManualTicks(false);
        t.setInterval(5);
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 2, 2000);
        Timer::setManualTicks(true);
    }

    // A key filter that lets digits, Backspace and the point pass and
    // turns "," into ".".
    void keyFilter_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("expected");
        QTest::newRow("digits") << "12.5" << "" << "12.5";
        QTest::newRow("letters dropped") << "1a2b" << "" << "12";
        QTest::newRow("replaced") << "1,5" << "" << "1.5";
        QTest::newRow("backspace") << "12\b3" << "" << "13";
        QTest::newRow("paste filtered, not replaced") << "" << "4x5,6\n" << "45,6";
        QTest::newRow("paste after typing") << "9" << "abc1" << "91";
    }
    void keyFilter() {
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        frmProbe* f = probe();
        f->Show();
        f->txt->setFocus();
        f->txt->onKeyPress = [](int& k) {
            if (k == ',') k = '.';
            else if (!((k >= '0' && k <= '9') || k == 8 || k == '.')) k = 0;
        };
        for (QChar c : typed) {
            if (c == u'\b') QTest::keyClick(f->txt, Qt::Key_Backspace);
            else QTest::keyClicks(f->txt, QString(c));
        }
        if (!pasted.isEmpty()) {
            QApplication::clipboard()->setText(pasted);
            QTest::keyClick(f->txt, Qt::Key_Insert, Qt::ShiftModifier);
        }
        QTEST(f->txt->Text(), "expected");
    }

    // A key-down handler drops only the keys it sets to 0; a character
    // without a key code of its own ("€" by AltGr) still arrives.
    void keyDownPassesKeysWithoutCode() {
        frmProbe* f = probe();
        f->Show();
        f->txt->setFocus();
        f->txt->onKeyDown = [](int& k, int) {
            if (k == 'X') k = 0;
        };
        QTest::sendKeyEvent(QTest::Click, f->txt, Qt::Key_unknown, QString::fromUtf8("€"), Qt::NoModifier);
        QTest::keyClicks(f->txt, "aXb");
        QCOMPARE(f->txt->Text(), QString::fromUtf8("€ab"));
    }

    void shortDateHasFourDigitYear_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("expected");
        QTest::newRow("C") << QLocale::c() << "5 Mar 2026";
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << "3/5/2026";
        QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany) << "05.03.2026";
        QTest::newRow("en_GB") << QLocale(QLocale::English, QLocale::UnitedKingdom) << "05/03/2026";
    }
    void shortDateHasFourDigitYear() {
        QFETCH(QLocale, locale);
        Runtime::setLocale(locale);
        const QString s = Runtime::shortDate(QDate(2026, 3, 5));
        QTEST(s, "expected");
        QCOMPARE(s.right(4), QString("2026"));
    }

    void formatDateIsLiteral() {
        Runtime::setLocale(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(Runtime::formatDate(QDate(2026, 12, 24), "mm/dd/yyyy"), QString("12/24/2026"));
        QCOMPARE(Runtime::formatDate(QDate(2026, 1, 2), "dd.mm.yy"), QString("02.01.26"));
    }

    // What the user typed is shown as typed, through a label and a box; a
    // caption of the program's own keeps its access key.
    void userTextShownAsTyped_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("mnemonic");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ampersand and bold") << "Ann & Co <b>bold</b>" << false << "Ann & Co <b>bold</b>";
        QTest::newRow("heading") << "<h1>x</h1>" << false << "<h1>x</h1>";
        QTest::newRow("line break tag") << "a<br>b" << false << "a<br>b";
        QTest::newRow("two ampersands") << "&&" << false << "&&";
        QTest::newRow("program caption with an access key") << "&Exit" << true << "Exit";
    }
    void userTextShownAsTyped() {
        QFETCH(QString, caption);
        QFETCH(bool, mnemonic);
        QFETCH(QString, shown);
        Label label;
        label.setUseMnemonic(mnemonic);
        label.setCaption(caption);
        QCOMPARE(label.textFormat(), Qt::PlainText);
        QCOMPARE(label.text(), shown);
        QCOMPARE(label.Caption(), caption);
        QCOMPARE(QAccessible::queryAccessibleInterface(&label)->text(QAccessible::Name), shown);
        if (mnemonic) return;
        MsgBox(caption + " wins", vbInformation);
        QCOMPARE(MsgBoxSeam::last().text, caption + " wins");
        QCOMPARE(MsgBoxSeam::last().format, Qt::PlainText);
    }

    // A combo box tied to its caption label is labelled by the caption and
    // keeps its list of items; its text is its value, also while text is
    // typed into an editable one.
    void comboNamedByCaption_data() {
        QTest::addColumn<bool>("editable");
        QTest::newRow("list") << false;
        QTest::newRow("editable") << true;
    }
    void comboNamedByCaption() {
        QFETCH(bool, editable);
        frmProbe* f = probe();
        auto* caption = new Label("&Address", f);
        caption->setUseMnemonic(true);
        auto* box = new QComboBox(f);
        box->setEditable(editable);
        box->addItems({"127.0.0.1", "10.0.0.2"});
        caption->setBuddy(box);
        f->Show();
        if (editable) box->setEditText("192.168.0.1");
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(box);
        QCOMPARE(a->role(), QAccessible::ComboBox);
        const auto labels = a->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first().first->text(QAccessible::Name), QString("Address"));
        QCOMPARE(a->child(0)->childCount(), 2);
        QCOMPARE(a->text(QAccessible::Value), editable ? QString("192.168.0.1") : QString("127.0.0.1"));
    }

    // A label's reader name follows its caption.
    void labelNameFollowsCaption() {
        Label label("Time");
        label.setCaption("01:05");
        QCOMPARE(QAccessible::queryAccessibleInterface(&label)->text(QAccessible::Name), QString("01:05"));
    }

    // A double click is one Click and one DblClick, never two Clicks.
    void doubleClickClicksOnce_data() {
        QTest::addColumn<bool>("dblClickHandler");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("with a DblClick handler") << true << QStringList({"click", "dblclick"});
        QTest::newRow("without one") << false << QStringList({"click"});
    }
    void doubleClickClicksOnce() {
        QFETCH(bool, dblClickHandler);
        frmProbe* f = probe();
        auto* label = new Label("Add", f);
        label->setGeometry(0, 40, 60, 20);
        QStringList events;
        label->onClick = [&] { events << "click"; };
        if (dblClickHandler) label->onDblClick = [&] { events << "dblclick"; };
        f->Show();
        // What the toolkit delivers for a double click: press, release, the
        // second press, the double click, the second release.
        const QPointF at(10, 10);
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonPress,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent e(type, at, label->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
            QApplication::sendEvent(label, &e);
        }
        QTEST(events, "events");
    }

    void keysStep_data() {
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QStringList>("events");
        const QStringList step{"down", "change", "up"};
        QTest::newRow("Up") << 100 << int(Qt::Key_Up) << false << 6 << step;
        QTest::newRow("Down") << 100 << int(Qt::Key_Down) << false << 4 << step;
        QTest::newRow("PageUp, large range")
            << 100 << int(Qt::Key_PageUp) << false << 15 << (QStringList{"down"} + QStringList(10, "change") + QStringList{"up"});
        QTest::newRow("PageDown, large range")
            << 100 << int(Qt::Key_PageDown) << false << 0 << (QStringList{"down"} + QStringList(5, "change") + QStringList{"up"});
        QTest::newRow("PageUp, small range") << 20 << int(Qt::Key_PageUp) << false << 5 << QStringList();
        QTest::newRow("at the limit") << 5 << int(Qt::Key_Up) << false << 5 << QStringList{"down", "up"};
        QTest::newRow("cancelled by the mouse-down handler") << 100 << int(Qt::Key_Up) << true << 5 << QStringList{"down", "up"};
        QTest::newRow("other keys do nothing") << 100 << int(Qt::Key_A) << false << 5 << QStringList();
    }
    void keysStep() {
        QFETCH(int, max);
        QFETCH(int, key);
        QFETCH(bool, cancel);
        QWidget window;
        QLineEdit before(&window);
        UpDown spinner(&window);
        spinner.setGeometry(0, 30, 17, 32);
        spinner.setMax(max);
        spinner.setValue(5);
        QStringList events;
        spinner.onMouseDown = [&](int Button, int, int, int) {
            events << "down";
            QCOMPARE(Button, 1);
            if (cancel) spinner.cancelStep();
        };
        spinner.onChange = [&] { events << "change"; };
        spinner.onMouseUp = [&](int, int, int, int) { events << "up"; };
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        before.setFocus();
        // It is reached by Tab like any other control.
        QTest::keyClick(&before, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), &spinner);
        QTest::keyClick(&spinner, Qt::Key(key));
        QTEST(spinner.Value(), "expected");
        QTEST(events, "events");
    }

    // A reader hears the caption of the label tied to it and the value.
    void readerNameAndValue() {
        QWidget window;
        Label caption("Minutes", &window);
        UpDown spinner(&window);
        caption.setBuddy(&spinner);
        spinner.setValue(5);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&spinner);
        QVERIFY(a);
        QCOMPARE(a->role(), QAccessible::SpinBox);
        QCOMPARE(a->text(QAccessible::Name), QString("Minutes"));
        QCOMPARE(a->text(QAccessible::Value), QString("5"));
    }

    void problemBox() {
        ShowProblem("Choice_Load", 53, "File not found");
        QCOMPARE(MsgBoxSeam::last().text, QString("Problem: Choice_Load\n53: File not found"));
        QCOMPARE(MsgBoxSeam::last().icon, int(vbCritical));
        QCOMPARE(MsgBoxSeam::last().title, QString("Quembly"));
    }

    // A caption's font shrinks by whole steps to the largest size at which
    // it fits, never past the smallest: the size found fits (or is the
    // last), one step larger does not.
    void fontFitted_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("room");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("smallest");
        QTest::newRow("fits at once") << "HANG MAN" << 400 << 20.0 << 6.0;
        QTest::newRow("a few steps") << "PRACTICE MAKES PERFECT" << 300 << 30.0 << 6.0;
        QTest::newRow("many steps") << "PRACTICE MAKES PERFECT" << 120 << 30.0 << 6.0;
        QTest::newRow("too long: the smallest") << QString(20000, u'-') << 550 << 30.0 << 6.0;
        QTest::newRow("off the steps: the last passes the smallest") << QString(20000, u'-') << 550 << 30.75 << 6.0;
    }
    void fontFitted() {
        QFETCH(QString, text);
        QFETCH(int, room);
        QFETCH(double, start);
        QFETCH(double, smallest);
        const QFont base = Fonts::font(QStringLiteral("Arial"), start);
        const double size = Fonts::fitted(base, text, room, smallest).pointSizeF();
        auto width = [&](double pt) {
            QFont f = base;
            f.setPointSizeF(pt);
            return QFontMetrics(f).horizontalAdvance(text);
        };
        QCOMPARE(std::fmod(start - size, 0.5), 0.0);
        QVERIFY(size > smallest - 0.5);
        QVERIFY(width(size) <= room || size <= smallest);
        if (size < start) QVERIFY(width(size + 0.5) > room);
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
