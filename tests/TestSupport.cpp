#include "TestSupport.h"

#include "Modules/modLanguage.h"
#include "Modules/modMain.h"
#include "Platform/App.h"
#include "Platform/Clock.h"
#include "Platform/Dialogs.h"
#include "Platform/Form.h"
#include "Platform/MsgBox.h"
#include "Platform/Printer.h"
#include "Platform/Shell.h"
#include "Platform/Timer.h"
#include "Platform/Runtime.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QInputMethodEvent>
#include <QTest>
#include <memory>

namespace TestSupport {

namespace {
std::unique_ptr<QTemporaryDir> folder;
RecordingSound* soundRec = nullptr;
RecordingMusic* musicRec = nullptr;
RecordingPrinter* printerRec = nullptr;
int ends = 0;

void copyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    const QDir src(from);
    for (const QString& name : src.entryList(QDir::Files)) QFile::copy(src.filePath(name), to + u'/' + name);
}
} // namespace

void setUp(bool withMedia) {
    folder = std::make_unique<QTemporaryDir>();
    App::setPath(folder->path());
    // The program folder is writable; a test that makes it read-only
    // gets its per-user folder inside the temporary folder, never the real one.
    App::setProgramFolderWritable(std::nullopt);
    Timer::setManualTicks(true);
    App::setUserDataFolder(folder->path() + QStringLiteral("/UserData"));
    App::setTitle(QStringLiteral("Quembly"));
    App::resetEnding();
    ends = 0;
    App::setEndHandler([] { ++ends; });
    MsgBoxSeam::enable(true);
    MsgBoxSeam::clear();
    DialogSeam::enable(true);
    DialogSeam::clear();
    Form::setModalHandler(nullptr);
    auto s = std::make_unique<RecordingSound>();
    soundRec = s.get();
    SoundPlayer::install(std::move(s));
    auto m = std::make_unique<RecordingMusic>();
    musicRec = m.get();
    MusicDevice::install(std::move(m));
    auto p = std::make_unique<RecordingPrinter>();
    printerRec = p.get();
    Printer::install(std::move(p));
    ShellSeam::enable(true);
    ShellSeam::clear();
    setNow(QDateTime(QDate(2026, 3, 15), QTime(10, 0)));
    setZone(QStringLiteral("W. Europe Standard Time"));
    setLocale(QLocale::c());
    CurrentLanguage = QStringLiteral("DefaultValue");
    DateRegion.clear();
    if (withMedia) {
        const QString media = qEnvironmentVariable("QEM_MEDIA_DIR");
        copyTree(media + QStringLiteral("/Sound"), folder->path() + QStringLiteral("/Sound"));
        copyTree(media + QStringLiteral("/Pics"), folder->path() + QStringLiteral("/Pics"));
    }
}

void tearDown() {
    Form::destroyAll();
    Form::setModalHandler(nullptr);
    processEvents();
    App::releaseInstanceLock();
    App::resetEnding();
    folder.reset();
}

QString programFolder() { return folder ? folder->path() : QString(); }
void setNow(const QDateTime& moment) { Clock::setNow(moment); }
void setToday(const QDate& day) { Clock::setNow(QDateTime(day, QTime(10, 0))); }
void setZone(const QString& name) { Clock::setStandardZoneName(name); }
void setLocale(const QLocale& locale) { Runtime::setLocale(locale); }

RecordingSound& sound() { return *soundRec; }
RecordingMusic& music() { return *musicRec; }
RecordingPrinter& printer() { return *printerRec; }
int endCount() { return ends; }

void writeFile(const QString& name, const QByteArray& bytes) {
    QFile f(App::file(name));
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

QByteArray readFile(const QString& name) {
    QFile f(App::file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void typeKeys(QWidget* box, const QString& keys) {
    for (int i = 0; i < keys.size(); ++i) {
        const QChar c = keys[i];
        if (c == u'\b') QTest::keyClick(box, Qt::Key_Backspace);
        else if (c == u'\r') QTest::keyClick(box, Qt::Key_Return);
        else if (c == u'{' && keys.indexOf(u'}', i) > i) {
            // Text composed by dead keys or an input method arrives as one commit.
            const qsizetype end = keys.indexOf(u'}', i);
            QInputMethodEvent commit;
            commit.setCommitString(keys.mid(i + 1, end - i - 1));
            QCoreApplication::sendEvent(box->focusProxy() ? box->focusProxy() : box, &commit);
            i = int(end);
        } else if (c == u'^' && i + 1 < keys.size() && keys[i + 1] == u'V') {
            QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
            ++i;
        } else if (c.unicode() >= 128) {
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        } else {
            QTest::keyClicks(box, QString(c));
        }
    }
}

void processEvents() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace TestSupport
