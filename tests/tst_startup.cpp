// The menu's start-up and shut-down: texts in both languages, the language
// switch, the date region, the holiday greeting, the closing gate and the
// refusal of a second copy.
#include "Forms/Main/frmChoice.h"
#include "Forms/Main/frmMsg.h"
#include "Modules/modAniGif.h"
#include "Modules/modLanguage.h"
#include "Modules/modMain.h"
#include "Platform/App.h"
#include "Platform/Clock.h"
#include "Platform/MsgBox.h"
#include "Platform/Storage.h"
#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QTimer>
#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace TestSupport;

namespace {
// The text as UTF-16, little endian, without a byte-order mark.
QByteArray utf16(const QString& text) {
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

// Loads the menu and lets it be drawn. A greeting shown meanwhile is noted
// and closed after its fifty ticks, as a patient user would.
QStringList greetings;
class frmChoice* start() {
    greetings.clear();
    Form::setModalHandler([](Form* f) {
        if (auto* msg = qobject_cast<class frmMsg*>(f)) {
            greetings << msg->lblMsg->Caption();
            for (int i = 0; i <= 50; ++i) msg->TimerSound->fire();
            QTest::keyClick(msg, Qt::Key_Return);
        }
    });
    class frmChoice* f = frmChoice();
    waitDrawn(f);
    return f;
}
void tick(class frmChoice* f, int n) {
    for (int i = 0; i < n; ++i) f->TimerTime->fire();
}
QString fileName(const QString& path) { return path.section(u'/', -1); }

// Another copy of the program in a process of its own (tests/other_copy.cpp),
// started on `folder` and holding what locks it got while this object lives.
class OtherCopy {
public:
    explicit OtherCopy(const QString& folder, const QStringList& more = {},
                       const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
        process_.setProcessEnvironment(environment);
        process_.start(QStringLiteral(OTHER_COPY), QStringList{folder} + more);
        if (process_.waitForStarted(30000) && process_.waitForReadyRead(30000))
            answer_ = QString::fromLatin1(process_.readLine().trimmed());
    }
    ~OtherCopy() {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(30000)) process_.kill();
    }
    // "running" (it holds its locks) or "refused".
    QString answer() const { return answer_; }

private:
    QProcess process_;
    QString answer_;
};

// The environment with a runtime folder (XDG_RUNTIME_DIR) of its own.
QProcessEnvironment withRuntimeFolder(const QString& folder) {
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder);
    return e;
}

// This process's runtime folder, set for the life of this object.
class RuntimeFolder {
public:
    explicit RuntimeFolder(const QString& folder) : before_(qgetenv("XDG_RUNTIME_DIR")) {
        qputenv("XDG_RUNTIME_DIR", folder.toLocal8Bit());
    }
    ~RuntimeFolder() {
        if (before_.isNull()) qunsetenv("XDG_RUNTIME_DIR");
        else qputenv("XDG_RUNTIME_DIR", before_);
    }

private:
    QByteArray before_;
};

// Whatever lies in the program folder and below it but the media and
// hidden files: files by their path from the program folder, folders with
// a "/" after it.
QStringList folderContents() {
    QStringList found;
    QDirIterator it(programFolder(), QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry = it.nextFileInfo();
        const QString name = QDir(programFolder()).relativeFilePath(entry.filePath());
        if (name.startsWith(QLatin1String("Sound")) || name.startsWith(QLatin1String("Pics")) ||
            entry.fileName().startsWith(u'.'))
            continue;
        found << (entry.isDir() && !entry.isSymLink() ? name + u'/' : name);
    }
    found.sort();
    return found;
}
} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void init() { setUp(true); }
    void cleanup() { tearDown(); }

    void startTexts_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("conv0");
        QTest::addColumn<QString>("exitCaption");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("boxTitle");
        const QString en = "Length/Distance", de = QString::fromUtf8("Länge/Weg");
        QTest::newRow("no ini file") << QByteArray() << "Quembly, v2.5.8" << "QEM 2.58" << en << "&Exit" << "English"
                                     << "Quembly";
        QTest::newRow("English") << QByteArray("[Values]\r\nLanguage=English\r\n") << "Quembly, v2.5.8" << "QEM 2.58" << en
                                 << "&Exit" << "English" << "Quembly";
        QTest::newRow("German") << QByteArray("[Values]\r\nLanguage=German\r\n") << "Zovikon, v2.5.8" << "ZOV 2.58" << de
                                << "&Ende" << "German" << "Zovikon";
        QTest::newRow("lower-case german") << QByteArray("[values]\r\nlanguage=german\r\n") << "Quembly, v2.5.8"
                                           << "QEM 2.58" << en << "&Exit" << "german" << "Quembly";
        QTest::newRow("empty value") << QByteArray("[Values]\r\nLanguage=\r\n") << "Quembly, v2.5.8" << "QEM 2.58" << en
                                     << "&Exit" << "" << "Quembly";
        QTest::newRow("other section") << QByteArray("[Other]\r\nLanguage=German\r\n") << "Quembly, v2.5.8"
                                       << "QEM 2.58" << en << "&Exit" << "English" << "Quembly";
    }
    void startTexts() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, language);
        if (!ini.isEmpty()) writeFile("QEM.ini", ini);
        auto* f = start();
        QTEST(f->lblTitle->Caption(), "title");
        QTEST(f->lblVersion->Caption(), "version");
        QTEST(f->lblConv[0]->Caption(), "conv0");
        QTEST(f->lblExit->Caption(), "exitCaption");
        QCOMPARE(CurrentLanguage, language);
        QTEST(f->Caption(), "boxTitle");
        MsgBox("x");
        QTEST(MsgBoxSeam::last().title, "boxTitle");
        // The date and the clock replace the language's "Date" and "Time".
        QCOMPARE(f->lblDate->Caption(), QString("15.03.2026"));
        QCOMPARE(f->lblTime->Caption(), QString("10:00:00"));
        QCOMPARE(f->tickCount(), 1);
        QVERIFY(f->cmdTrans->hasOfficeLook() && f->cmdKeyb->hasOfficeLook());
        QVERIFY(f->isVisible());
    }

    void germanMenuTexts() {
        writeFile("QEM.ini", "[Values]\r\nLanguage=German\r\n");
        auto* f = start();
        const QStringList conv{"Länge/Weg",     "Gewicht",    "Raumfülle", "Währung",     "Wärmegrad",
                               "Zahlensysteme", "Ascii-Kode", "Rechner",   "Morsezeichen"};
        for (int i = 0; i < 9; ++i) QCOMPARE(f->lblConv[i]->Caption(), conv[i]);
        QCOMPARE(f->fraConv->Caption(), QString("Umwandler"));
        QCOMPARE(f->lblKeyb->Caption(), QString("Tipp- Meister"));
        QCOMPARE(f->lblEG->Caption(), QString::fromUtf8("Übersetzer"));
        QCOMPARE(f->lblMsg->Caption(), QString("Bote"));
        QCOMPARE(f->lblHangman->Caption(), QString("Galgenraten"));
        QCOMPARE(f->lblRSP->Caption(), QString("SSS"));
        QCOMPARE(f->lblStatus->Caption(), QString("Tollerix"));
        QCOMPARE(f->lblLanguage->ToolTipText(), QString("Zur Englischen Fassung"));
        QCOMPARE(f->lblBrthdylst->Caption(), QString("Planer"));
        QCOMPARE(f->lblBank->Caption(), QString("Bank"));
    }

    void languageSwitch_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("message");
        const QString toGerman = "QEM must now be restarted", toEnglish = "ZOV muss nun neu gestartet werden";
        QTest::newRow("English to German") << QByteArray("[Values]\r\nLanguage=English\r\n") << "German" << toGerman;
        QTest::newRow("German to English") << QByteArray("[Values]\r\nLanguage=German\r\n") << "English" << toEnglish;
        QTest::newRow("no file") << QByteArray() << "German" << toGerman;
        QTest::newRow("lower case switches too") << QByteArray("[Values]\r\nLanguage=german\r\n") << "German" << toGerman;
        QTest::newRow("empty value switches too") << QByteArray("[Values]\r\nLanguage=\r\n") << "German" << toGerman;
        // An editor's "Unicode" save: read, and written back whole in one encoding.
        QTest::newRow("UTF-16 with its byte-order mark")
            << QByteArray("\xff\xfe", 2) + utf16("[Values]\r\nLanguage=German\r\n") << "English" << toEnglish;
    }
    void languageSwitch() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, written);
        if (!ini.isEmpty()) writeFile("QEM.ini", ini);
        auto* f = start();
        MsgBoxSeam::clear();
        f->lblLanguage->click();
        QTEST(MsgBoxSeam::last().text, "message");
        QCOMPARE(MsgBoxSeam::last().icon, int(vbInformation));
        QCOMPARE(endCount(), 1);
        const QString text = QString::fromLatin1(readFile("QEM.ini"));
        QVERIFY2(text.startsWith("[Values]\r\n") && text.contains("Language=" + written + "\r\n"), qPrintable(text));
        QCOMPARE(text.count("Language="), 1);
        // The next start speaks the new language.
        tearDown();
        setUp();
        writeFile("QEM.ini", text.toLatin1());
        LoadLanguage();
        QCOMPARE(CurrentLanguage, written);
    }

    void languageSwitchKeepsTheRestOfTheFile() {
        writeFile("QEM.ini", "; my notes\r\n[Window]\r\nLeft=10\r\n\r\n[Values]\r\nLanguage=English\r\nSound=On\r\n");
        start()->lblLanguage->click();
        QCOMPARE(readFile("QEM.ini"),
                 QByteArray("; my notes\r\n[Window]\r\nLeft=10\r\n\r\n[Values]\r\nLanguage=German\r\nSound=On\r\n"));
    }

    // Told in the language the program shows, with the runtime's number.
    void languageSwitchThatCannotWrite_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("fullDisk");
        QTest::addColumn<QString>("message");
        QTest::newRow("English") << "English" << false << "Problem: SaveLanguage\n70: Permission denied";
        QTest::newRow("German") << "German" << false << "Problem: SaveLanguage\n70: Zugriff verweigert";
        QTest::newRow("a full disk") << "English" << true << "Problem: SaveLanguage\n61: Disk full";
    }
    void languageSwitchThatCannotWrite() {
        QFETCH(QString, language);
        QFETCH(bool, fullDisk);
        const QByteArray stored = "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n";
        writeFile("QEM.ini", stored);
        auto* f = start();
        if (fullDisk) {
            Storage::failWritesAfter(0);
        } else {
            // A folder where the file should be: the write fails.
            QVERIFY(QFile::remove(App::file("QEM.ini")));
            QVERIFY(QDir(programFolder()).mkdir("QEM.ini"));
        }
        MsgBoxSeam::clear();
        f->lblLanguage->click();
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QTEST(MsgBoxSeam::last().text, "message");
        QCOMPARE(MsgBoxSeam::last().icon, int(vbCritical));
        QCOMPARE(endCount(), 0);
        QCOMPARE(CurrentLanguage, language);
        if (fullDisk) QCOMPARE(readFile("QEM.ini"), stored);
    }

    // An ini file that cannot be read: the program starts with its
    // defaults (English), and the language switch does not replace it.
    void unreadableIni_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("message");
        const QString kept("(\"QEM.ini\" could not be read and is not replaced)");
        QTest::newRow("a pipe") << "pipe" << "Problem: SaveLanguage\n75: Path/File access error " + kept;
        QTest::newRow("a link to a device") << "device" << "Problem: SaveLanguage\n75: Path/File access error " + kept;
        QTest::newRow("reading fails part-way") << "I/O error" << "Problem: SaveLanguage\n57: Device I/O error " + kept;
        QTest::newRow("larger than the program reads") << "too large" << "Problem: SaveLanguage\n7: Out of memory " + kept;
    }
    void unreadableIni() {
        QFETCH(QString, how);
        const QByteArray stored("[Values]\r\nLanguage=German\r\n");
        makeUnreadable("QEM.ini", how, stored);
        auto* f = start();
        QCOMPARE(f->Caption(), QString("Quembly"));
        QCOMPARE(CurrentLanguage, QString("English"));
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        f->lblLanguage->click();
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QTEST(MsgBoxSeam::last().text, "message");
        QCOMPARE(endCount(), 0);
        QVERIFY(unreadableKept("QEM.ini", how, stored));
    }

    void dateRegion_data() {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("region");
        QTest::addColumn<QString>("bank");
        const QString dollar = "$", euro = QString::fromUtf8("€");
        for (const char* z : {"US Eastern Standard Time", "Mexico Standard Time", "US Mountain Standard Time",
                              "Hawaiian Standard Time", "Alaskan Standard Time", "Atlantic Standard Time",
                              "Eastern Standard Time", "Central Standard Time", "Mountain Standard Time",
                              "Pacific Standard Time"})
            QTest::newRow(z) << z << "03/15/2026" << "America" << dollar;
        QTest::newRow("longer name beginning with one") << "Pacific Standard Time (Mexico)" << "03/15/2026" << "America"
                                                        << dollar;
        QTest::newRow("German Central America") << "Zentralamerikanische Normalzeit" << "15.03.2026" << "America"
                                                << dollar;
        QTest::newRow("leading word of its own") << "Canada Central Standard Time" << "15.03.2026" << "Europe" << euro;
        QTest::newRow("lower case") << "pacific standard time" << "15.03.2026" << "Europe" << euro;
        QTest::newRow("western Europe") << "W. Europe Standard Time" << "15.03.2026" << "Europe" << euro;
        QTest::newRow("no zone name (UTC)") << "" << "15.03.2026" << "Europe" << euro;
    }
    void dateRegion() {
        QFETCH(QString, zone);
        setZone(zone);
        // The computer's own date separator does not change the fixed patterns.
        setLocale(QLocale(QLocale::German, QLocale::Germany));
        auto* f = start();
        QTEST(f->lblDate->Caption(), "date");
        QTEST(DateRegion, "region");
        QTEST(f->cmdBank->Caption(), "bank");
        QCOMPARE(f->lblDate->ToolTipText(), QString("Sonntag, 15. März 2026"));
    }

    // Zone IDs as the computer names them; aliases have no Windows name of
    // their own and are resolved through the zone they stand for.
    void zoneAliases_data() {
        QTest::addColumn<QByteArray>("id");
        QTest::addColumn<QString>("region");
        QTest::newRow("US/Pacific") << QByteArray("US/Pacific") << "America";
        QTest::newRow("US/Eastern") << QByteArray("US/Eastern") << "America";
        QTest::newRow("Canada/Eastern") << QByteArray("Canada/Eastern") << "America";
        QTest::newRow("America/Indiana/Indianapolis") << QByteArray("America/Indiana/Indianapolis") << "America";
        QTest::newRow("America/Kentucky/Louisville") << QByteArray("America/Kentucky/Louisville") << "America";
        QTest::newRow("canonical America/Los_Angeles") << QByteArray("America/Los_Angeles") << "America";
        QTest::newRow("Europe/Berlin") << QByteArray("Europe/Berlin") << "Europe";
        QTest::newRow("alias Europe/Busingen") << QByteArray("Europe/Busingen") << "Europe";
    }
    void zoneAliases() {
        QFETCH(QByteArray, id);
        setZone(Clock::windowsZoneName(id));
        DateToday("medium");
        QTEST(DateRegion, "region");
    }

    // Every zone ID the toolkit lists lands in the region of the zone it
    // stands for: an alias never falls back to day-first dates and "€".
    void everyZoneIdGetsItsZonesRegion() {
        QStringList wrong;
        for (const QByteArray& id : QTimeZone::availableTimeZoneIds()) {
            const QString direct = QString::fromLatin1(QTimeZone::ianaIdToWindowsId(id));
            const QString resolved = Clock::windowsZoneName(id);
            if (!direct.isEmpty() && direct != resolved) wrong << QString::fromLatin1(id);
            if (direct.isEmpty() && id.startsWith("America/") && resolved.isEmpty()) wrong << QString::fromLatin1(id);
        }
        QCOMPARE(wrong, QStringList());
    }

    void dateTodayStyles() {
        setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(Christmas(), QString("24.12"));
        QCOMPARE(DateToday("full"), QString());
        QCOMPARE(DateRegion, QString());
        setZone("Pacific Standard Time");
        QCOMPARE(DateToday("MEDIUM"), QString("03/15/2026"));
        QCOMPARE(DateRegion, QString("America"));
        QCOMPARE(Christmas(), QString("12/24"));
        QCOMPARE(Silvester(), QString("12/31"));
        QCOMPARE(DateToday("full"), QString());
        QCOMPARE(DateRegion, QString("America"));
        QCOMPARE(DateToday("short"), QString("3/15/2026"));
        QCOMPARE(DateToday("Long"), QString("Sunday, March 15, 2026"));
        setLocale(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(DateToday("short"), QString("15.03.2026"));
    }

    void holidays_data() {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("greeting");
        QTest::addColumn<QString>("sound");
        QTest::addColumn<bool>("tree");
        QTest::addColumn<QString>("globe");
        const QString europe = "W. Europe Standard Time", america = "Pacific Standard Time";
        const QDate eve(2026, 12, 24), silvester(2026, 12, 31);
        QTest::newRow("24.12 Europe") << eve << europe << "English" << "Merry Christmas!" << "Drummer.wav" << true
                                      << "Globe.gif";
        QTest::newRow("12/24 America") << eve << america << "English" << "Merry Christmas!" << "Drummer.wav" << true
                                       << "Globe.gif";
        QTest::newRow("31.12 Europe") << silvester << europe << "English" << "Happy New Year!" << "Fireworks.wav" << false
                                      << "Silvester.gif";
        QTest::newRow("12/31 America") << silvester << america << "English" << "Happy New Year!" << "Fireworks.wav"
                                       << false << "Silvester.gif";
        QTest::newRow("24.12 German") << eve << europe << "German" << QString::fromUtf8("Fröhliche Weihnachten!")
                                      << "Drummer.wav" << true << "Globe.gif";
        QTest::newRow("31.12 German") << silvester << europe << "German" << "Prosit Neujahr!" << "Fireworks.wav" << false
                                      << "Silvester.gif";
        QTest::newRow("Central America misses its own key")
            << eve << "Zentralamerikanische Normalzeit" << "English" << "" << "" << false << "Globe.gif";
        QTest::newRow("an ordinary day") << QDate(2026, 12, 23) << europe << "English" << "" << "" << false << "Globe.gif";
    }
    void holidays() {
        QFETCH(QDate, day);
        QFETCH(QString, zone);
        QFETCH(QString, language);
        QFETCH(QString, greeting);
        QFETCH(QString, sound);
        QFETCH(bool, tree);
        setToday(day);
        setZone(zone);
        writeFile("QEM.ini", "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
        auto* f = start();
        QCOMPARE(greetings, greeting.isEmpty() ? QStringList() : QStringList{greeting});
        QStringList sounds;
        for (const auto& c : TestSupport::sound().calls) sounds << fileName(c.path);
        QCOMPARE(sounds, sound.isEmpty() ? QStringList() : QStringList{sound});
        if (!sound.isEmpty()) QCOMPARE(TestSupport::sound().calls[0].flags, int(SoundPlayer::Async));
        QCOMPARE(f->imgChrstms->isVisible(), tree);
        f->activateNow();
        // No welcome tune on the two holidays; on other days once per run.
        QCOMPARE(fileName(music().lastPlayed), greeting.isEmpty() ? QString("Welcome.mp3") : QString());
        QTEST(fileName(f->GifFile), "globe");
        music().lastPlayed.clear();
        f->Hide();
        f->Show();
        f->activateNow();
        QCOMPARE(music().lastPlayed, QString());
    }

    void activeAfterItsLoad_data() {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<bool>("greeted");
        QTest::addColumn<QString>("tune");
        QTest::addColumn<QString>("globe");
        QTest::newRow("an ordinary day") << QDate(2026, 3, 15) << false << "Welcome.mp3" << "Globe.gif";
        QTest::newRow("Christmas Eve") << QDate(2026, 12, 24) << true << "" << "Globe.gif";
        QTest::newRow("New Year's Eve") << QDate(2026, 12, 31) << true << "" << "Silvester.gif";
    }
    void activeAfterItsLoad() {
        // The menu fades in as the active window; its activation runs once
        // the load is over, after a greeting has been closed.
        QFETCH(QDate, day);
        setToday(day);
        bool greeted = false, globeStill = false, notYetActivated = false;
        Form::setModalHandler([&](Form* form) {
            auto* msg = qobject_cast<class frmMsg*>(form);
            QVERIFY(msg);
            greeted = true;
            // Behind the greeting the globe stands on its first frame.
            globeStill = !frmChoice()->imgGif[0]->Picture().isNull();
            notYetActivated = frmChoice()->GifFile.isEmpty() && music().lastPlayed.isEmpty();
            for (int i = 0; i <= 50; ++i) msg->TimerSound->fire();
            QTest::keyClick(msg, Qt::Key_Return);
        });
        auto* f = frmChoice();
        waitDrawn(f);
        QTEST(greeted, "greeted");
        if (greeted) {
            QVERIFY(globeStill);
            QVERIFY(notYetActivated);
        }
        QCOMPARE(Form::activeForm(), static_cast<Form*>(f));
        QTEST(fileName(music().lastPlayed), "tune");
        QTEST(fileName(f->GifFile), "globe");
        QVERIFY(f->TimerGif->Enabled());
        QCOMPARE(f->TimerGif->Interval(), f->imgGif[0]->Tag.toInt());
        QCOMPARE(CurrentFrame, 0);
    }

    void damagedGlobe_data() {
        QTest::addColumn<int>("cutInFrame");
        QTest::addColumn<bool>("turning");
        QTest::addColumn<int>("lastFrame");
        QTest::newRow("cut in its tenth frame: nine frames turn") << 10 << true << 8;
        QTest::newRow("cut in its second frame: the first one stands") << 2 << true << 0;
        QTest::newRow("cut in its first frame: nothing to show") << 1 << false << -1;
    }
    void damagedGlobe() {
        // The globe's file breaks off inside one of its frames: the menu
        // says so and animates the frames before.
        QFETCH(int, cutInFrame);
        QFETCH(int, lastFrame);
        const QByteArray whole = readFile("Pics/Globe.gif");
        qsizetype at = -1;
        for (int i = 0; i < cutInFrame; ++i) at = whole.indexOf(QByteArray("\x00\x21\xF9", 3), at + 1);
        QVERIFY(at > 0);
        writeFile("Pics/Globe.gif", whole.left(at + 40));
        auto* f = frmChoice();
        waitDrawn(f);
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QCOMPARE(MsgBoxSeam::last().text, QString("Error No. 481 when reading file"));
        QCOMPARE(MsgBoxSeam::last().icon, int(vbCritical));
        QTEST(f->TimerGif->Enabled(), "turning");
        QCOMPARE(LastFrame, lastFrame);
        QCOMPARE(f->imgGif.size(), qsizetype(std::max(1, lastFrame + 1)));
        if (lastFrame < 0) return;
        QCOMPARE(f->TimerGif->Interval(), f->imgGif[0]->Tag.toInt());
        // Round and round through the frames read, one member shown at a time.
        for (int step = 1; step <= 2 * (lastFrame + 1); ++step) {
            f->TimerGif->fire();
            const int shown = step % (lastFrame + 1);
            QCOMPARE(CurrentFrame, shown);
            for (int i = 0; i <= lastFrame; ++i) QCOMPARE(f->imgGif[i]->isVisible(), i == shown);
            QCOMPARE(f->TimerGif->Interval(), f->imgGif[shown]->Tag.toInt());
        }
    }

    void greetingWaitsFiftyTicks() {
        setToday(QDate(2026, 12, 24));
        bool checked = false;
        Form::setModalHandler([&](Form* form) {
            auto* msg = qobject_cast<class frmMsg*>(form);
            QVERIFY(msg);
            QCOMPARE(msg->Caption(), QString("Message"));
            QCOMPARE(msg->lblExit->Caption(), QString("&Alrighty Then"));
            for (int i = 0; i < 49; ++i) msg->TimerSound->fire();
            QTest::keyClick(msg, Qt::Key_Return);
            msg->lblExit->click();
            QVERIFY(isFormLoaded<class frmMsg>());
            msg->TimerSound->fire();
            QVERIFY(!msg->lblExit->isVisibleTo(msg));
            // The tick after the fiftieth shows the OK label.
            msg->TimerSound->fire();
            QVERIFY(msg->lblExit->isVisibleTo(msg) && msg->imgBUTTON->isVisibleTo(msg));
            msg->lblExit->click();
            QVERIFY(!isFormLoaded<class frmMsg>());
            checked = true;
        });
        frmChoice();
        QVERIFY(checked);
        // A new greeting starts counting afresh.
        processEvents();
        QCOMPARE(frmMsg()->tickCount(), 0);
        QVERIFY(!frmMsg()->lblExit->isVisibleTo(frmMsg()));
    }

    void closingNeedsTenTicks_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("close box") << 0;
        QTest::newRow("Exit label") << 1;
        QTest::newRow("window manager") << 2;
    }
    void closingNeedsTenTicks() {
        QFETCH(int, how);
        auto* f = start();
        // The first activation (and its welcome tune) comes before the user can close.
        f->activateNow();
        processEvents();
        auto close = [&] {
            if (how == 0) f->imgExit->click();
            else if (how == 1) f->lblExit->click();
            else f->close();
        };
        tick(f, 8);
        QCOMPARE(f->tickCount(), 9);
        close();
        QVERIFY(isFormLoaded<class frmChoice>());
        QCOMPARE(endCount(), 0);
        tick(f, 1);
        music().commands.clear();
        close();
        QCOMPARE(endCount(), 1);
        QVERIFY(!isFormLoaded<class frmChoice>());
        QCOMPARE(music().commands, QStringList({"stop", "close"}));
    }

    void tickCountStopsAtFifty() {
        auto* f = start();
        tick(f, 100);
        QCOMPARE(f->TimerTime->Tag, QString("50"));
    }

    void secondCopy_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("sharedData");
        QTest::addColumn<bool>("stillWriting"); // the other copy holds its lock file still empty
        QTest::addColumn<bool>("ownRuntimeFolder"); // each copy has a runtime folder of its own
        QTest::addColumn<QString>("message");
        QTest::newRow("English") << "English" << false << false << false << "The requested program is already opened";
        QTest::newRow("German") << "German" << false << false << false
                                << QString::fromUtf8("Das von Ihnen gewünschte Programm ist bereits geöffnet");
        QTest::newRow("another read-only installation sharing the data folder")
            << "English" << true << false << false << "The requested program is already opened";
        QTest::newRow("a copy still writing its lock") << "English" << false << true << false
                                                       << "The requested program is already opened";
        QTest::newRow("a copy with another runtime folder")
            << "English" << false << false << true << "The requested program is already opened";
    }
    void secondCopy() {
        QFETCH(QString, language);
        QFETCH(bool, sharedData);
        QFETCH(bool, stillWriting);
        QFETCH(bool, ownRuntimeFolder);
        writeFile("QEM.ini", "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
        setToday(QDate(2026, 12, 24));
        if (sharedData) App::setProgramFolderWritable(false);
        QTemporaryDir elsewhere, runtimeA, runtimeB;
        std::unique_ptr<RuntimeFolder> ours;
        if (ownRuntimeFolder) ours = std::make_unique<RuntimeFolder>(runtimeB.path());
        const OtherCopy first(sharedData ? elsewhere.path() : programFolder(),
                              sharedData ? QStringList{App::dataFolder()} : QStringList(),
                              ownRuntimeFolder ? withRuntimeFolder(runtimeA.path())
                                               : QProcessEnvironment::systemEnvironment());
        QCOMPARE(first.answer(), QString("running"));
        if (stillWriting) QVERIFY(QFile::resize(App::instanceLockFile(), 0));
        greetings.clear();
        auto* f = start();
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QTEST(MsgBoxSeam::last().text, "message");
        QCOMPARE(MsgBoxSeam::last().icon, int(vbInformation));
        // Dismissed early: the rest of the start-up never runs, and the copy
        // closes as soon as the clock has ticked ten times.
        QCOMPARE(endCount(), 0);
        QVERIFY(greetings.isEmpty());
        QVERIFY(!f->cmdTrans->hasOfficeLook());
        QCOMPARE(f->lblDate->Caption(), language == "German" ? QString("Datum") : QString("Date"));
        f->activateNow();
        QVERIFY(music().lastPlayed.isEmpty());
        for (int i = 0; i < 9; ++i) f->TimerTime->fire();
        QCOMPARE(endCount(), 0);
        f->TimerTime->fire();
        QCOMPARE(endCount(), 1);
        QVERIFY(!isFormLoaded<class frmChoice>());
    }

    void secondCopyDismissedLate() {
        const OtherCopy first(programFolder());
        QCOMPARE(first.answer(), QString("running"));
        // The user reads the message while the clock ticks on.
        MsgBoxSeam::queueAction([] {
            for (int i = 0; i < 12; ++i) frmChoice()->TimerTime->fire();
            QCOMPARE(endCount(), 0);
        });
        start();
        QCOMPARE(endCount(), 1);
    }

    void secondCopyNeverRunsTheEventLoop() {
        // The refused copy has ended during its start-up, before the
        // program's event loop begins: the loop then returns at once.
        const OtherCopy first(programFolder());
        QCOMPARE(first.answer(), QString("running"));
        MsgBoxSeam::queueAction([] {
            for (int i = 0; i < 12; ++i) frmChoice()->TimerTime->fire();
        });
        start();
        QCOMPARE(endCount(), 1);
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        watchdog.start(3000);
        QCOMPARE(App::run(), 0);
    }

    // A save killed between naming its temporary file and renaming it over
    // the kept file leaves the temporary file: the copy that holds the data
    // folder removes such files of its kept files at start, and nothing
    // else. Paths are from the program folder; "UserData/" is the per-user
    // folder, a "/" at the end makes a folder, an "@" a link to a file.
    void unfinishedSavesRemoved_data() {
        QTest::addColumn<bool>("readOnly");  // the program folder: the data folder is UserData
        QTest::addColumn<bool>("otherCopy"); // another copy runs on the folder
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("remaining");
        QTest::addColumn<QStringList>("gone"); // of `present`; every other one stays
        QTest::newRow("the program's own temporary files")
            << false << false
            << QStringList{".QEM.ini.~save-AbCdEf", ".Rates.qem.~save-xYz012", ".Planer.qem.~save-QWERTY",
                           ".2222Debts.qem.~save-kLmNoP", ".Planer.qem.unread2.~save-GhIjKl", "Planer.qem"}
            << QStringList{"Planer.qem"}
            << QStringList{".QEM.ini.~save-AbCdEf", ".Rates.qem.~save-xYz012", ".Planer.qem.~save-QWERTY",
                           ".2222Debts.qem.~save-kLmNoP", ".Planer.qem.unread2.~save-GhIjKl"};
        QTest::newRow("a killed print job's parts")
            << false << false
            << QStringList{".~Print 2026-03-15 100000.pdf.part", ".~Print 2026-03-15 100000 (2).pdf.3.part",
                           "Print 2026-03-15 100000.pdf"}
            << QStringList{"Print 2026-03-15 100000.pdf"}
            << QStringList{".~Print 2026-03-15 100000.pdf.part", ".~Print 2026-03-15 100000 (2).pdf.3.part"};
        for (const char* mine : {"Planer.qem.backup", "ToDo.qem.before", "QEM.ini.backup", "Rates.qem.zipped",
                                 "Hangman.qem.german", "2222Debts.qem.backup", "MyOldDebts.qem.Backup"})
            QTest::newRow(mine) << false << false << QStringList{mine} << QStringList{mine} << QStringList();
        QTest::newRow("names like them stay")
            << false << false
            << QStringList{"Planer.qem.AbCdEf", "Planer.qem.unread", ".Planer.qem.~save-AbCdE", "Planer.qem.~save-AbCdEf",
                           ".Planer.qem.~save-AbCdE!", "..~save-AbCdEf", ".~Print notes.pdf.part",
                           ".~Print 2026-03-15 100000.pdf.part2", ".~Print 2026-03-15 100000.pdf",
                           "ToDo.qem.AbCdEf/", ".Hangman.qem.~save-AbCdEf/", ".Hangman.qem.~save-GhIjKl@"}
            << QStringList{"Planer.qem.AbCdEf", "Planer.qem.unread",
                           "Planer.qem.~save-AbCdEf", "ToDo.qem.AbCdEf/", "notes.txt"}
            << QStringList();
        QTest::newRow("read-only program folder: the per-user folder's")
            << true << false << QStringList{"UserData/.ToDo.qem.~save-AbCdEf", ".ToDo.qem.~save-GhIjKl"}
            << QStringList{"UserData/"} << QStringList{"UserData/.ToDo.qem.~save-AbCdEf"};
        QTest::newRow("while another copy runs") << false << true << QStringList{".ToDo.qem.~save-AbCdEf"}
                                                 << QStringList() << QStringList();
    }
    void unfinishedSavesRemoved() {
        QFETCH(bool, readOnly);
        QFETCH(bool, otherCopy);
        QFETCH(QStringList, present);
        QFETCH(QStringList, gone);
        if (readOnly) {
            App::setProgramFolderWritable(false);
            QVERIFY(QDir().mkpath(App::dataFolder()));
        }
        for (const QString& name : present) {
            if (name.endsWith(u'/')) {
                QVERIFY(QDir(programFolder()).mkdir(name));
            } else if (name.endsWith(u'@')) {
                writeFile("notes.txt", "mine");
                QVERIFY(QFile::link(App::file("notes.txt"), App::file(name.chopped(1))));
            } else {
                writeFile(name, "\"saved\"\r\n");
            }
        }
        std::unique_ptr<OtherCopy> other;
        if (otherCopy) {
            other = std::make_unique<OtherCopy>(programFolder());
            QCOMPARE(other->answer(), QString("running"));
        }
        start();
        QCOMPARE(MsgBoxSeam::shown().size(), otherCopy ? 1 : 0);
        QTEST(folderContents(), "remaining");
        // Hidden names too: only those of the program's own shape are gone.
        for (QString name : present) {
            if (name.endsWith(u'/') || name.endsWith(u'@')) name.chop(1);
            const QFileInfo file(App::file(name));
            QVERIFY2((file.exists() || file.isSymLink()) != gone.contains(name), qPrintable(name));
        }
    }

    // A save killed part-way (here by the file-size limit, as a kill would)
    // leaves its temporary file; the next start removes it and nothing else.
    void killedSaveRemoved() {
        writeFile("Planer.qem", "\"01/02/1980  Anna\"\r\n");
        writeFile("Planer.qem.backup", "\"mine\"\r\n");
        const pid_t child = ::fork();
        if (child == 0) {
            const struct rlimit cap {10, 10}, noCore {0, 0};
            ::setrlimit(RLIMIT_FSIZE, &cap);
            ::setrlimit(RLIMIT_CORE, &noCore);
            ::signal(SIGXFSZ, SIG_DFL);
            Storage::save(App::file("Planer.qem"), QByteArray(4096, 'x'));
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
        const QStringList left = QDir(programFolder()).entryList({".Planer.qem*"}, QDir::Files | QDir::Hidden);
        QCOMPARE(left.size(), 1);
        QVERIFY(Storage::isUnfinishedSave(left[0]));
        start();
        QVERIFY(!QFileInfo::exists(App::file(left[0])));
        QCOMPARE(readFile("Planer.qem"), QByteArray("\"01/02/1980  Anna\"\r\n"));
        QCOMPARE(readFile("Planer.qem.backup"), QByteArray("\"mine\"\r\n"));
    }

    // A read-only installation that holds the lock file of a copy that ran
    // while it could be written, used by several users, each with a
    // per-user folder of their own: every user's copy runs, and a copy
    // that would write in the program folder is kept out, as it keeps them
    // out while it runs.
    void sharedInstallation_data() {
        QTest::addColumn<QString>("first"); // "user": another user's copy; "writer": a copy writing beside the program
        QTest::addColumn<bool>("refused");
        QTest::newRow("another user's copy runs") << "user" << false;
        QTest::newRow("a copy writing in the program folder") << "writer" << true;
    }
    void sharedInstallation() {
        QFETCH(QString, first);
        QFETCH(bool, refused);
        QFile left(App::instanceLockFile(programFolder()));
        QVERIFY(left.open(QIODevice::WriteOnly));
        left.close();
        QTemporaryDir otherHome, thirdHome;
        const OtherCopy other(programFolder(), first == "user" ? QStringList{otherHome.path()} : QStringList());
        QCOMPARE(other.answer(), QString("running"));
        App::setProgramFolderWritable(false);
        start();
        QCOMPARE(MsgBoxSeam::shown().size(), refused ? 1 : 0);
        if (refused) return;
        QCOMPARE(endCount(), 0);
        const OtherCopy third(programFolder(), {thirdHome.path()});
        QCOMPARE(third.answer(), QString("running"));
        const OtherCopy writer(programFolder());
        QCOMPARE(writer.answer(), QString("refused"));
    }

    // Installed where the user cannot write: the program starts, and what it
    // writes lands in the per-user folder.
    void readOnlyProgramFolder() {
        App::setProgramFolderWritable(false);
        writeFile("QEM.ini", "[Values]\r\nLanguage=English\r\n");
        auto* f = start();
        QCOMPARE(endCount(), 0);
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        MsgBoxSeam::queueAnswer(vbOK);
        f->lblLanguage->click();
        const QString userIni = programFolder() + "/UserData/QEM.ini";
        QVERIFY(readFile("QEM.ini").contains("English"));
        QFile written(userIni);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().contains("German"));
    }

    void dataFileLocation_data() {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("lies");
        QTest::addColumn<int>("access");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("home"); // the per-user folder can be made
        QTest::newRow("writable folder, read") << true << "" << int(App::Access::Read) << "program" << true;
        QTest::newRow("read-only, nowhere yet") << false << "" << int(App::Access::Read) << "user" << true;
        QTest::newRow("read-only, shipped beside") << false << "program" << int(App::Access::Read) << "program" << true;
        QTest::newRow("read-only, already saved") << false << "both" << int(App::Access::Read) << "user" << true;
        QTest::newRow("read-only, written: copied over") << false << "program" << int(App::Access::Write) << "user"
                                                         << true;
        // The language is read with the path it is written to.
        QTest::newRow("read-only, no home folder: beside") << false << "program" << int(App::Access::Write)
                                                           << "program" << false;
    }
    void dataFileLocation() {
        QFETCH(bool, writable);
        QFETCH(QString, lies);
        QFETCH(int, access);
        QFETCH(bool, home);
        App::setProgramFolderWritable(writable);
        const QString user = programFolder() + "/UserData";
        // A folder below a file cannot be made.
        if (!home) App::setUserDataFolder(App::file("x.qem") + "/UserData");
        if (lies == "program" || lies == "both") writeFile("x.qem", "\"shipped\"\r\n");
        if (lies == "both") {
            QDir().mkpath(user);
            QFile f(user + "/x.qem");
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("\"saved\"\r\n");
        }
        const QString path = App::dataFile("x.qem", App::Access(access));
        QFETCH(QString, folder);
        QCOMPARE(QFileInfo(path).absolutePath(), folder == "user" ? user : programFolder());
        // A file written where it was shipped keeps what it held.
        if (lies == "program" && access == int(App::Access::Write)) QVERIFY(QFile::exists(path));
    }

    void greetingWaitsForEveryClose() {
        setToday(QDate(2026, 12, 24));
        Form::setModalHandler([](Form* f) {
            auto* msg = qobject_cast<class frmMsg*>(f);
            if (!msg) return;
            for (int i = 0; i < 10; ++i) msg->TimerSound->fire();
            // The window manager's close (Alt+F4) before the fifty ticks.
            msg->close();
            QVERIFY(isFormLoaded<class frmMsg>());
            for (int i = 0; i < 45; ++i) msg->TimerSound->fire();
            msg->close();
        });
        frmChoice();
        processEvents();
        QVERIFY(!isFormLoaded<class frmMsg>());
    }

    void toolkitSpeaksTheLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("yes");
        QTest::addColumn<QString>("bank");
        QTest::newRow("English") << "English" << "&Yes" << "Bank";
        QTest::newRow("German") << "German" << "&Ja" << "Bank";
    }
    void toolkitSpeaksTheLanguage() {
        QFETCH(QString, language);
        writeFile("QEM.ini", "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
        auto* f = start();
        QTEST(QCoreApplication::translate("QPlatformTheme", "&Yes"), "yes");
        QTEST(f->cmdBank->accessibleName(), "bank");
        QCOMPARE(f->cmdHangman2p->accessibleName(),
                 language == "German" ? QString::fromUtf8("Galgenraten für zwei Spieler") : QString("Hang Man for two players"));
    }

    void firstCopyHoldsTheLock_data() {
        QTest::addColumn<QString>("left"); // what a copy that ended long ago left in the lock file
        QTest::newRow("no lock before") << "";
        // A copy ended between making its lock file and writing itself into it.
        QTest::newRow("an empty lock file left over") << "empty";
        // Its process number now belongs to a copy running from another folder.
        QTest::newRow("a lock file naming a running copy") << "record";
        // Installed read-only: the data folder's lock is the one that counts.
        QTest::newRow("no lock file can be made beside the program") << "nowhere";
    }
    void firstCopyHoldsTheLock() {
        QFETCH(QString, left);
        QStringList dataFolder;
        if (left == "nowhere") {
            App::setProgramFolderWritable(false);
            QVERIFY(QDir().mkdir(App::instanceLockFile(programFolder())));
            dataFolder << App::dataFolder();
        }
        if (left == "empty") {
            QFile file(App::instanceLockFile());
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-10), QFileDevice::FileModificationTime));
        }
        QTemporaryDir elsewhere;
        std::unique_ptr<OtherCopy> stranger;
        if (left == "record") {
            stranger = std::make_unique<OtherCopy>(elsewhere.path(),
                                                   QStringList{QStringLiteral("record"), App::instanceLockFile()});
            QCOMPARE(stranger->answer(), QString("running"));
        }
        start();
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        QCOMPARE(endCount(), 0);
        const OtherCopy second(programFolder(), dataFolder);
        QCOMPARE(second.answer(), QString("refused"));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
