#include "TestSupport.h"

#include "Modules/modLanguage.h"
#include "Modules/modMain.h"
#include "Platform/Ado.h"
#include "Platform/App.h"
#include "Platform/Clock.h"
#include "Platform/Dialogs.h"
#include "Platform/Form.h"
#include "Platform/Memory.h"
#include "Platform/MsgBox.h"
#include "Platform/Printer.h"
#include "Platform/Shell.h"
#include "Platform/Storage.h"
#include "Platform/Timer.h"
#include "Platform/Runtime.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QSqlDriver>
#include <QTimer>
#include <memory>
#include <sqlite3.h>
#include <sys/stat.h>

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

void installFailingDisk();

void setUp(bool withMedia) {
    installFailingDisk();
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
    Storage::failWritesAfter(std::nullopt);
    Storage::failReading(QString());
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
    Memory::failAbove(std::nullopt);
    folder.reset();
}

QString programFolder() { return folder ? folder->path() : QString(); }

} // namespace TestSupport

// The switch a screen reader's bridge turns on (AT-SPI on this system, when
// a reader starts): the toolkit offers no public call for it, so the tests
// call the one the bridge calls, declared here as the toolkit exports it.
// Without it the controls keep their notices to themselves and a reader's
// view is never built as a reader would build it.
class QPlatformAccessibility {
public:
    void setActive(bool active);
};
class QPlatformIntegration {
public:
    QPlatformAccessibility* accessibility() const;
};
class QGuiApplicationPrivate {
public:
    static QPlatformIntegration* platform_integration;
};

namespace TestSupport {

namespace {
QList<ReaderListening::Heard> readerHeard;

void setReadersActive(bool on) {
    QPlatformIntegration* platform = QGuiApplicationPrivate::platform_integration;
    if (QPlatformAccessibility* a = platform ? platform->accessibility() : nullptr) a->setActive(on);
}

void noteForReader(QAccessibleEvent* e) {
    QAccessibleInterface* a = e->accessibleInterface();
    ReaderListening::Heard h{e->type(), a ? a->role() : QAccessible::NoRole, a ? a->text(QAccessible::Name) : QString(),
                             a ? QAccessible::uniqueId(a) : 0, e->object()};
    readerHeard << h;
}
} // namespace

ReaderListening::ReaderListening() {
    readerHeard.clear();
    QAccessible::installUpdateHandler(noteForReader);
    setReadersActive(true);
    if (!QAccessible::isActive()) qFatal("The accessibility bridge could not be switched on.");
}

ReaderListening::~ReaderListening() {
    setReadersActive(false);
    QAccessible::installUpdateHandler(nullptr);
    readerHeard.clear();
}

const QList<ReaderListening::Heard>& ReaderListening::heard() const { return readerHeard; }

QStringList ReaderListening::notices() const {
    QStringList texts;
    for (const Heard& h : readerHeard)
        if (h.type == QAccessible::ObjectShow && h.role == QAccessible::Notification) texts << h.name;
    return texts;
}

void ReaderListening::clear() { readerHeard.clear(); }
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

void makeUnreadable(const QString& name, const QString& how, const QByteArray& bytes) {
    const QString path = App::file(name);
    if (how == QLatin1String("folder")) {
        QDir(programFolder()).mkdir(name);
    } else if (how == QLatin1String("pipe")) {
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0644) == 0);
    } else if (how == QLatin1String("device")) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    } else if (how == QLatin1String("too large")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(Storage::kLargestKeptFile + 1));
    } else {
        writeFile(name, bytes);
        if (how == QLatin1String("no permission")) Storage::failReading(path);
        else if (how == QLatin1String("I/O error")) Storage::failReading(path, EIO, 10);
        else if (how == QLatin1String("I/O error once")) Storage::failReading(path, EIO, 0, true);
        else QFAIL(qPrintable(how));
    }
}

bool unreadableKept(const QString& name, const QString& how, const QByteArray& bytes) {
    const QFileInfo info(App::file(name));
    if (how == QLatin1String("folder")) return info.isDir();
    if (how == QLatin1String("pipe")) return info.exists() && !info.isFile() && !info.isDir() && !info.isSymLink();
    if (how == QLatin1String("device")) return info.isSymLink() && info.symLinkTarget() == QLatin1String("/dev/zero");
    if (how == QLatin1String("too large")) return info.isFile() && info.size() == Storage::kLargestKeptFile + 1;
    Storage::failReading(QString());
    return readFile(name) == bytes;
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

void waitDrawn(QWidget* window) {
    if (window && window->isVisible()) (void)QTest::qWaitForWindowExposed(window);
    processEvents();
}

bool chooseFromContextMenu(QWidget* box, const QString& entry) {
    // The menu may run its own loop: the entry is chosen from inside it.
    bool chosen = false, opened = false;
    auto choose = [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        opened = true;
        menu->close();
        for (QAction* a : menu->actions())
            if (a->objectName() == entry || a->text().section(u'\t', 0, 0) == entry) {
                chosen = true;
                a->trigger();
            }
    };
    QObject guard; // no choice after this returns
    QTimer::singleShot(0, &guard, choose);
    auto* area = qobject_cast<QAbstractScrollArea*>(box);
    QWidget* target = area ? area->viewport() : box;
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), target->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(target, &e);
    return QTest::qWaitFor([&] { return opened; }, 1000) && chosen;
}

void dropText(QWidget* box, const QString& text) {
    QMimeData data;
    data.setText(text);
    const QPoint at(box->width() - 2, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &drop);
}

} // namespace TestSupport

// --- Every window of the program ---------------------------------------------
#include "Forms/AsciiConverter/frmAscii.h"
#include "Forms/Bank/frmBank.h"
#include "Forms/Bank/frmBudget.h"
#include "Forms/Calculator/frmCalc.h"
#include "Forms/Calendar/frmClndr.h"
#include "Forms/ComputerConverter/frmComp.h"
#include "Forms/HangMan1P/frmHangman1p.h"
#include "Forms/HangMan1P/frmHmDic.h"
#include "Forms/HangMan2P/frmHangman2p.h"
#include "Forms/CurrencyConverter/frmCur.h"
#include "Forms/CurrencyConverter/frmSetRate.h"
#include "Forms/LengthConverter/frmDis.h"
#include "Forms/Main/frmAbout.h"
#include "Forms/Main/frmChoice.h"
#include "Forms/Main/frmMsg.h"
#include "Forms/Messenger/frmClient.h"
#include "Forms/Messenger/frmMessenger.h"
#include "Forms/Messenger/frmServer.h"
#include "Forms/MorseCode/frmMorse.h"
#include "Forms/Planer/frmPlaner.h"
#include "Forms/RockPaperScissors/frmSSS.h"
#include "Forms/TemperatureConverter/frmTemp.h"
#include "Forms/Translator/frmInterpret.h"
#include "Forms/Translator/frmTrans.h"
#include "Forms/TypingMaster/frmKeyb.h"
#include "Forms/VolumeConverter/frmVol.h"
#include "Forms/WeightConverter/frmWght.h"
#include "Modules/modLanguage.h"
#include "Modules/modMain.h"
#include "Modules/modTrans.h"
#include "Platform/App.h"
#include "Platform/Controls.h"
#include "Platform/MsgBox.h"
#include "Platform/RichTextBox.h"
#include "Platform/UpDown.h"
#include "Platform/Winsock.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

namespace TestSupport {

const QList<ProgramWindow>& programWindows() {
    static const QList<ProgramWindow> list{
        {QStringLiteral("menu"), [] { return static_cast<QWidget*>(frmChoice()); }},
        {QStringLiteral("message"),
         [] {
             setToday(QDate(2026, 12, 24));
             QWidget* shown = nullptr;
             Form::setModalHandler([&](Form* f) {
                 if (auto* m = qobject_cast<class frmMsg*>(f)) {
                     for (int i = 0; i <= 50; ++i) m->TimerSound->fire();
                     shown = m;
                 }
             });
             frmChoice();
             return shown;
         }},
        {QStringLiteral("length"),
         [] {
             auto* f = frmDis();
             f->Show();
             f->txtDis[0]->typeText("100.5");
             f->cmdCnvrt->click();
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("weight"), [] { return static_cast<QWidget*>(frmWght()); }},
        {QStringLiteral("volume"), [] { return static_cast<QWidget*>(frmVol()); }},
        {QStringLiteral("temperature"),
         [] {
             auto* f = frmTemp();
             f->Show();
             f->txtTemp[0]->typeText("-5");
             f->cmdCnvrt->click();
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("currency"),
         [] {
             auto* f = frmCur();
             f->Show();
             f->activateNow();
             f->txtCur[0]->typeText("100");
             f->cmdCnvrt->click();
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("rates"),
         [] {
             frmCur();
             return static_cast<QWidget*>(frmSetRate());
         }},
        {QStringLiteral("numbersystems"),
         [] {
             auto* f = frmComp();
             f->Show();
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("ascii"),
         [] {
             frmChoice();
             auto* f = frmAscii();
             f->Show();
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("calculator"),
         [] {
             frmChoice();
             auto* f = frmCalc();
             f->Show();
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("calendar"),
         [] {
             frmChoice();
             QWidget* shown = nullptr;
             Form::setModalHandler([&](Form* f) {
                 if (auto* c = qobject_cast<class frmClndr*>(f)) {
                     c->activateNow();
                     shown = c;
                 }
             });
             frmClndr()->Show(vbModal);
             return shown;
         }},
        {QStringLiteral("about"),
         [] {
             Form::setModalHandler([](Form*) {});
             auto* f = frmAbout();
             f->Show(vbModal);
             f->activateNow();
             for (int i = 0; i < 12; ++i) f->Timer->fire();
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("messenger"),
         [] {
             frmMessenger()->txtAlias->setText(QStringLiteral("Ann"));
             return static_cast<QWidget*>(frmMessenger());
         }},
        {QStringLiteral("chatserver"),
         [] {
             // Any free loopback port: the picture needs no real chat port.
             WinsockSeam::redirect(1001, 0);
             frmMessenger()->txtAlias->setText(QStringLiteral("Ann"));
             return static_cast<QWidget*>(frmServer());
         }},
        {QStringLiteral("chatclient"),
         [] {
             frmMessenger()->txtAlias->setText(QStringLiteral("Bob"));
             frmClient()->cboAddress->setEditText(QStringLiteral("192.168.0.10"));
             return static_cast<QWidget*>(frmClient());
         }},
        {QStringLiteral("hangman1p"),
         [] {
             writeFile(QStringLiteral("Hangman.qem"), "\"ice cream\"\r\n");
             frmChoice();
             MsgBoxSeam::queueInput(QStringLiteral("Ann"));
             auto* f = frmHangman1p();
             f->Show();
             f->activateNow();
             f->cmdPROCEED->click();
             for (const char* letter : {"E", "X", "R", "T"}) {
                 f->txtENTERL->setText(QString::fromLatin1(letter));
                 f->cmdOKL->click();
             }
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("hangmandictionary"),
         [] {
             writeFile(QStringLiteral("Hangman.qem"), "\"apple\"\r\n\"ice cream\"\r\n\"Haus\"\r\n");
             auto* f = frmHmDic();
             LoadDictionary();
             f->Show();
             f->activateNow();
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("hangman2p"),
         [] {
             frmChoice();
             MsgBoxSeam::queueInput(QStringLiteral("Ann"));
             MsgBoxSeam::queueInput(QStringLiteral("Bob"));
             auto* f = frmHangman2p();
             f->Show();
             f->activateNow();
             for (int i = 0; i < 7; ++i) f->txt[i]->typeText(QString(QLatin1String("cat dog")[i]));
             f->cmdPROCEED->click();
             for (const char* letter : {"O", "Z"}) {
                 f->txtENTERL->setText(QString::fromLatin1(letter));
                 f->cmdOKL->click();
             }
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("planner"),
         [] {
             setToday(QDate(2026, 12, 6));
             writeFile(QStringLiteral("Planer.qem"),
                       "\"06.12.1990  Anna\"\r\n\"09.12.1980  Bob\"\r\n\"24.12.1950  Oma\"\r\n");
             writeFile(QStringLiteral("ToDo.qem"), "\" 01  Call Bob\"\r\n\" 02  Buy presents\"\r\n");
             frmChoice();
             auto* f = frmPlaner();
             f->Show();
             f->activateNow();
             f->UpDown->setValue(3);
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("typing"),
         [] {
             // The German keyboard with the German texts; a run under way, one key down.
             KeyboardLayoutSeam::choose(isGerman() ? QStringLiteral("0407") : QStringLiteral("0409"));
             auto* f = frmKeyb();
             f->Show();
             f->txtInput->setTextValue(QStringLiteral("The quick brown fox jumps over the lazy dog."));
             f->chkStart->click();
             QTest::keyClicks(f->txtOutput, QStringLiteral("The quick"));
             QTest::sendKeyEvent(QTest::Press, f->txtOutput, Qt::Key_unknown, QStringLiteral(" "), Qt::NoModifier);
             f->TimerTime->fire();
             KeyboardLayoutSeam::clear();
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("sss_setup"), [] { return static_cast<QWidget*>(frmSSS()); }},
        {QStringLiteral("sss"),
         [] {
             // With the well, after one attempt.
             auto* f = frmSSS();
             f->chkHole->setChecked(true);
             f->cmdOK->click();
             f->lblSSS[3]->click();
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("morse"),
         [] {
             frmChoice();
             auto* f = frmMorse();
             f->Show();
             f->txtText->typeText(QStringLiteral("sos\rhi "));
             f->cmdEOM->click();
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("translator"),
         [] {
             {
                 Ado::Connection c(QStringLiteral("Shot"));
                 VocStore::open(c, App::dataFile(QStringLiteral("Voc.mdb"), App::Access::Write));
                 VocStore::addCategory(c, QStringLiteral("Home"));
                 VocStore::addType(c, QStringLiteral("Noun"));
                 for (const char* w : {"house|Haus", "garden|Garten", "kitchen|Küche", "door (front)|Tür", "roof|Dach"}) {
                     const QStringList p = QString::fromUtf8(w).split(u'|');
                     VocStore::add(c, {0, p[0], p[1], QStringLiteral("Home"), QStringLiteral("Noun")});
                 }
                 c.Close();
             }
             frmChoice();
             auto* f = frmTrans();
             f->Show();
             f->cboCategory->setCurrentIndex(0);
             f->cboCategory_Click();
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("interpreter"),
         [] {
             frmChoice();
             frmTrans()->Show();
             auto* f = frmInterpret();
             f->Show();
             f->txtInput->setTextValue(QStringLiteral("The house and the garden."));
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("banklogin"),
         [] {
             frmChoice();
             auto* f = frmBank();
             f->Show();
             f->activateNow();
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("bank"),
         [] {
             frmChoice();
             auto* f = frmBank();
             f->Show();
             f->optNewUser->setChecked(true);
             f->txtPwd->setTextValue(QStringLiteral("4711"));
             f->txtLastName->setTextValue(QStringLiteral("Doe"));
             f->txtFirstName->setTextValue(QStringLiteral("Jane"));
             f->cmdOK_Click();
             const QStringList dates{"2 Mar 2026", "5 Mar 2026", "9 Mar 2026"};
             const QStringList amounts{"1200", "-45.5", "-80"};
             const QStringList payees{"Employer", "Grocer", "Garage"};
             for (int i = 0; i < 3; ++i) {
                 f->txtDat[1]->setTextValue(dates[i]);
                 f->cboPayee->setEditText(payees[i]);
                 f->txtDat[3]->setTextValue(amounts[i]);
                 f->lblAdd_Click(0);
             }
             f->txtDebt->setTextValue(QStringLiteral("25"));
             f->txtDebtDescription->setTextValue(QStringLiteral("Neighbour"));
             f->lblAdd_Click(2);
             f->flxGrid->clickCell(2, 2);
             return static_cast<QWidget*>(f);
         }},
        {QStringLiteral("budget"),
         [] {
             // A monthly income typed and spread by the default percentages.
             frmChoice();
             auto* f = frmBudget();
             f->Show();
             f->txtGrossIncomeM->setTextValue(QStringLiteral("1500"));
             int enter = 13;
             f->txtGrossIncomeM_KeyUp(enter, 0);
             return static_cast<QWidget*>(f);
         }},
    };
    return list;
}

} // namespace TestSupport

// --- A disk that fails for a moment under a database ---------------------------
// A file system wrapped around SQLite's own: every call goes through to it,
// but for one write that a test has armed.
namespace TestSupport {
namespace {
sqlite3_vfs* realDisk = nullptr;
sqlite3_vfs failingDisk;
bool writeFails = false;
int triggers = 0;

struct FailingFile {
    sqlite3_file base;
    bool canFail; // a database file or its journal
    sqlite3_file* real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
};
sqlite3_file* real(sqlite3_file* f) { return reinterpret_cast<FailingFile*>(f)->real(); }

int fileClose(sqlite3_file* f) { return real(f)->pMethods->xClose(real(f)); }
int fileRead(sqlite3_file* f, void* out, int n, sqlite3_int64 at) { return real(f)->pMethods->xRead(real(f), out, n, at); }
int fileWrite(sqlite3_file* f, const void* in, int n, sqlite3_int64 at) {
    if (writeFails && reinterpret_cast<FailingFile*>(f)->canFail) {
        writeFails = false;
        return SQLITE_IOERR_WRITE;
    }
    return real(f)->pMethods->xWrite(real(f), in, n, at);
}
int fileTruncate(sqlite3_file* f, sqlite3_int64 size) { return real(f)->pMethods->xTruncate(real(f), size); }
int fileSync(sqlite3_file* f, int flags) { return real(f)->pMethods->xSync(real(f), flags); }
int fileSize(sqlite3_file* f, sqlite3_int64* size) { return real(f)->pMethods->xFileSize(real(f), size); }
int fileLock(sqlite3_file* f, int level) { return real(f)->pMethods->xLock(real(f), level); }
int fileUnlock(sqlite3_file* f, int level) { return real(f)->pMethods->xUnlock(real(f), level); }
int fileCheckLock(sqlite3_file* f, int* out) { return real(f)->pMethods->xCheckReservedLock(real(f), out); }
int fileControl(sqlite3_file* f, int op, void* arg) { return real(f)->pMethods->xFileControl(real(f), op, arg); }
int fileSectorSize(sqlite3_file* f) { return real(f)->pMethods->xSectorSize(real(f)); }
int fileDevice(sqlite3_file* f) { return real(f)->pMethods->xDeviceCharacteristics(real(f)); }
int fileShmMap(sqlite3_file* f, int page, int size, int extend, void volatile** out) {
    return real(f)->pMethods->xShmMap(real(f), page, size, extend, out);
}
int fileShmLock(sqlite3_file* f, int offset, int n, int flags) { return real(f)->pMethods->xShmLock(real(f), offset, n, flags); }
void fileShmBarrier(sqlite3_file* f) { real(f)->pMethods->xShmBarrier(real(f)); }
int fileShmUnmap(sqlite3_file* f, int deleteFlag) { return real(f)->pMethods->xShmUnmap(real(f), deleteFlag); }
int fileFetch(sqlite3_file* f, sqlite3_int64 at, int n, void** out) { return real(f)->pMethods->xFetch(real(f), at, n, out); }
int fileUnfetch(sqlite3_file* f, sqlite3_int64 at, void* p) { return real(f)->pMethods->xUnfetch(real(f), at, p); }

const sqlite3_io_methods failingMethods = {
    3,           fileClose,      fileRead,      fileWrite,      fileTruncate, fileSync,  fileSize,
    fileLock,    fileUnlock,     fileCheckLock, fileControl,    fileSectorSize, fileDevice, fileShmMap,
    fileShmLock, fileShmBarrier, fileShmUnmap,  fileFetch,      fileUnfetch};

int openFile(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags) {
    auto* file = reinterpret_cast<FailingFile*>(f);
    file->base.pMethods = nullptr;
    const int result = realDisk->xOpen(realDisk, name, file->real(), flags, outFlags);
    // SQLite closes only a file whose methods are set.
    if (result != SQLITE_OK || !file->real()->pMethods) return result;
    file->canFail = (flags & (SQLITE_OPEN_MAIN_DB | SQLITE_OPEN_MAIN_JOURNAL | SQLITE_OPEN_WAL)) != 0;
    file->base.pMethods = &failingMethods;
    return result;
}

void armWriteFailure(sqlite3_context*, int, sqlite3_value**) { writeFails = true; }
} // namespace

void installFailingDisk() {
    writeFails = false;
    if (realDisk) return;
    realDisk = sqlite3_vfs_find(nullptr);
    failingDisk = *realDisk;
    failingDisk.zName = "quembly-failing-disk";
    failingDisk.szOsFile = int(sizeof(FailingFile)) + realDisk->szOsFile;
    failingDisk.xOpen = openFile;
    sqlite3_vfs_register(&failingDisk, 1);
}

void failDatabaseWriteWhen(Ado::Connection& c, const QString& when) {
    const QVariant handle = c.database().driver()->handle();
    QVERIFY(qstrcmp(handle.typeName(), "sqlite3*") == 0);
    sqlite3* db = *static_cast<sqlite3* const*>(handle.constData());
    QCOMPARE(sqlite3_create_function_v2(db, "quembly_fail_next_write", 0, SQLITE_UTF8, nullptr, armWriteFailure, nullptr,
                                        nullptr, nullptr),
             SQLITE_OK);
    c.Execute(QStringLiteral("Create Temp Trigger quembly_fail_%1 %2 Begin Select quembly_fail_next_write(); End")
                  .arg(++triggers)
                  .arg(when));
}

QStringList problemsShown() {
    QStringList out;
    for (const MsgBoxSeam::Shown& box : MsgBoxSeam::shown())
        if (box.icon == int(vbCritical)) out << box.text;
    return out;
}
} // namespace TestSupport
