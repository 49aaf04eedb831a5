// The shell's services and the menu's navigation: what each tool control
// plays and opens, hover and press looks, dragging and minimising, the
// sound and music services, the animated GIF loader and the globe, the
// shrink on exit, proportional resizing.
#include "Forms/Main/LaunchTable.h"
#include "Forms/Main/frmAbout.h"
#include "Forms/Main/frmChoice.h"
#include "Modules/modAniGif.h"
#include "Modules/modAniWindow.h"
#include "Modules/modLanguage.h"
#include "Modules/modMCI.h"
#include "Modules/modMain.h"
#include "Modules/modPlaySound.h"
#include "Modules/modResize.h"
#include "Platform/App.h"
#include "Platform/MsgBox.h"
#include "Platform/QtAudio.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLockFile>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

using namespace TestSupport;

namespace {

// The menu as the user meets it: drawn, its globe read.
class frmChoice* start() {
    class frmChoice* f = frmChoice();
    waitDrawn(f);
    return f;
}

QString fileName(const QString& path) { return path.section(u'/', -1); }

// Mouse events as the window system delivers them to a control.
void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint at = {-1, -1}) {
    if (at == QPoint(-1, -1)) at = w->rect().center();
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
void hover(QWidget* w) { mouse(w, QEvent::MouseMove, Qt::NoButton, Qt::NoButton); }
void press(QWidget* w) { mouse(w, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton); }
void release(QWidget* w) { mouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton); }

QList<int> bordered(class frmChoice* f) {
    QList<int> out;
    for (int i = 0; i < f->lblConv.size(); ++i)
        if (f->lblConv[i]->BorderStyle() != 0) out << i;
    return out;
}

// The menu's controls by the names a user reads in the launch table.
QWidget* controlNamed(class frmChoice* f, const QString& name) {
    if (name.startsWith("lblConv(")) return f->lblConv[name.mid(8, 1).toInt()];
    const QHash<QString, QWidget*> controls{
        {"cmdTrans", f->cmdTrans},   {"cmdSSS", f->cmdSSS},   {"cmdHangman1p", f->cmdHangman1p},
        {"cmdHangman2p", f->cmdHangman2p}, {"cmdPlaner", f->cmdPlaner}, {"cmdBank", f->cmdBank},
        {"cmdMsg", f->cmdMsg},       {"cmdKeyb", f->cmdKeyb}, {"lblDate", f->lblDate},
        {"lblVersion", f->lblVersion}, {"imgSound", f->imgSound}};
    return controls.value(name);
}

QPixmap solid(const QColor& c) {
    QPixmap p(8, 8);
    p.fill(c);
    return p;
}

// ---- GIF files made here -------------------------------------------------

// One frame: its delay in hundredths of a second, the colour index that
// fills its rectangle, the rectangle's left offset and width.
struct GifFrame {
    int delay;
    int colour;
    int left = 0;
    int width = 4;
    bool withDelay = true;
};

// A GIF89a picture of 4 x 4 pixels with four colours: black, red, green,
// blue. Each frame is written with short uncompressed codes.
QByteArray makeGif(const QList<GifFrame>& frames) {
    QByteArray b("GIF89a");
    auto le = [&](int v) {
        b.append(char(v & 255));
        b.append(char((v >> 8) & 255));
    };
    le(4);
    le(4);
    b.append(char(0x81)); // global colour table of 4 entries
    b.append(char(0));
    b.append(char(0));
    b.append(QByteArray::fromHex("000000ff000000ff000000ff"));
    for (const GifFrame& f : frames) {
        if (f.withDelay) {
            b.append(QByteArray::fromHex("21f904"));
            b.append(char(0x04)); // keep the picture under the next frame
            le(f.delay);
            b.append(char(0));
            b.append(char(0));
        }
        b.append(char(0x2C));
        le(f.left);
        le(0);
        le(f.width);
        le(4);
        b.append(char(0));
        b.append(char(2)); // code size: clear 4, end 5, 3-bit codes
        QList<int> codes{4};
        for (int k = 0; k < f.width * 4; ++k) {
            codes << f.colour;
            if (k % 2 == 1) codes << 4; // a clear before the code table grows
        }
        codes << 5;
        QByteArray data;
        quint32 acc = 0;
        int bits = 0;
        for (int c : codes) {
            acc |= quint32(c) << bits;
            bits += 3;
            while (bits >= 8) {
                data.append(char(acc & 255));
                acc >>= 8;
                bits -= 8;
            }
        }
        if (bits) data.append(char(acc & 255));
        b.append(char(data.size()));
        b.append(data);
        b.append(char(0));
    }
    b.append(char(0x3B));
    return b;
}

QRgb colourOf(int index) {
    static const QRgb c[] = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    return c[index];
}

// A window that animates, as the Hangman windows do.
class frmAnim : public Form {
public:
    frmAnim() {
        resize(200, 200);
        auto* first = new Image(this);
        first->setGeometry(30, 40, 4, 4);
        imgGif << first;
        TimerGif = new Timer(this, 1, false);
    }
    QList<Image*> imgGif;
    Timer* TimerGif;
};
frmAnim* anim() { return touchForm<frmAnim>(); }

QStringList tags(const QList<Image*>& images) {
    QStringList out;
    for (Image* i : images) out << i->Tag;
    return out;
}
QList<int> visibleMembers(const QList<Image*>& images) {
    QList<int> out;
    for (int i = 0; i < images.size(); ++i)
        if (images[i]->isVisibleTo(images[i]->parentWidget())) out << i;
    return out;
}

// ---- Windows for the effects -------------------------------------------

class frmSized : public Form {
public:
    frmSized() {
        resize(200, 100);
        lbl = new Label("Name", this);
        lbl->setGeometry(10, 20, 60, 16);
        lbl->setFontSize(10);
        fra = new Frame("Box", this);
        fra->setGeometry(80, 10, 100, 80);
        fra->setFont(QFont(fra->font().family(), 8));
        inner = new Label("Inner", fra);
        inner->setGeometry(5, 30, 40, 20);
        img = new Image(this);
        img->setStretch(true);
        img->setGeometry(10, 50, 30, 30);
        txt = new TextBox(this);
        txt->setGeometry(10, 80, 50, 18);
    }
    Label* lbl;
    Frame* fra;
    Label* inner;
    Image* img;
    TextBox* txt;
    QList<QWidget*> controls() const { return {lbl, fra, inner, img, txt}; }
};
frmSized* sized() { return touchForm<frmSized>(); }

class frmShrink : public Form {
public:
    int unloads = 0;

protected:
    void Form_Unload(int&) override { ++unloads; }
};

QByteArray wave(int sampleRate, int channels, int bytesOfData, int declaredData = -1) {
    QByteArray b("RIFF");
    auto le32 = [&](quint32 v) {
        for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 255));
    };
    auto le16 = [&](quint16 v) {
        b.append(char(v & 255));
        b.append(char(v >> 8));
    };
    le32(36 + bytesOfData);
    b.append("WAVEfmt ");
    le32(16);
    le16(1);
    le16(quint16(channels));
    le32(quint32(sampleRate));
    le32(quint32(sampleRate * channels * 2));
    le16(quint16(channels * 2));
    le16(16);
    b.append("LIST");
    le32(3); // an odd chunk, padded to an even size
    b.append("abc");
    b.append(char(0));
    b.append("data");
    le32(quint32(declaredData < 0 ? bytesOfData : declaredData));
    b.append(QByteArray(bytesOfData, '\0'));
    return b;
}

} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void init() { setUp(true); }
    void cleanup() {
        ImplodeSeam::setStepHook(nullptr);
        tearDown();
    }

    // ---- the launch table -------------------------------------------------

    void launchSounds_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("tune");   // "" stops the music
        QTest::addColumn<QString>("window"); // the window shown, "" for none
        QTest::addColumn<bool>("modal");
        const QStringList converters{"frmDis", "frmWght", "frmVol", "frmCur", "frmTemp", "frmComp", "frmAscii", "frmCalc", "frmMorse"};
        for (int i = 0; i < 9; ++i)
            QTest::newRow(qPrintable(QString("lblConv(%1)").arg(i)))
                << QString("lblConv(%1)").arg(i) << "Stretch3.mp3" << converters[i] << false;
        QTest::newRow("translator") << "cmdTrans" << "" << "frmTrans" << false;
        QTest::newRow("rock-paper-scissors") << "cmdSSS" << "" << "frmSSS" << false;
        QTest::newRow("Hangman 1") << "cmdHangman1p" << "Drumroll.wav" << "frmHangman1p" << false;
        QTest::newRow("Hangman 2") << "cmdHangman2p" << "Drumroll.wav" << "frmHangman2p" << false;
        QTest::newRow("planner") << "cmdPlaner" << "" << "frmPlaner" << false;
        QTest::newRow("bank") << "cmdBank" << "" << "frmBank" << false;
        QTest::newRow("messenger") << "cmdMsg" << "Stretch5.mp3" << "frmMessenger" << false;
        QTest::newRow("typing trainer") << "cmdKeyb" << "" << "frmKeyb" << false;
        QTest::newRow("calendar") << "lblDate" << "" << "frmClndr" << true;
        QTest::newRow("About") << "lblVersion" << "" << "frmAbout" << true;
        QTest::newRow("sound icon") << "imgSound" << "Welcome.mp3" << "" << false;
    }
    void launchSounds() {
        QFETCH(QString, control);
        QFETCH(QString, tune);
        QFETCH(QString, window);
        QFETCH(bool, modal);
        auto* f = start();
        f->activateNow();
        QVERIFY(music().playing); // the welcome tune
        QStringList modalShows;
        Form::setModalHandler([&](Form* shown) { modalShows << QString::fromLatin1(shown->metaObject()->className()); });
        QWidget* w = controlNamed(f, control);
        QVERIFY(w);
        QVERIFY(LaunchRowOf(f, w));
        const int windows = Form::loadedForms().size();
        music().commands.clear();
        music().lastPlayed.clear();
        QTest::mouseClick(w, Qt::LeftButton);
        if (tune.isEmpty()) {
            QCOMPARE(music().commands, QStringList({"stop", "close"}));
            QVERIFY(!music().playing);
        } else {
            QCOMPARE(music().commands,
                     QStringList({"stop", "close", "open " + App::file("Sound/" + tune), "play"}));
            QCOMPARE(fileName(music().lastPlayed), tune);
        }
        auto shownWindow = [&]() -> Form* {
            for (Form* form : Form::loadedForms())
                if (QString::fromLatin1(form->metaObject()->className()) == window) return form;
            return nullptr;
        };
        if (window.isEmpty()) {
            // A tool not yet part of the program: its sound and no window of any kind.
            QCOMPARE(Form::loadedForms().size(), windows);
        } else {
            Form* shown = shownWindow();
            QVERIFY(shown);
            QVERIFY(shown->isVisible());
            QCOMPARE(modalShows, modal ? QStringList{window} : QStringList());
        }
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        // A second click does the same again, on the same window.
        Form* first = window.isEmpty() ? nullptr : shownWindow();
        music().commands.clear();
        QTest::mouseClick(w, Qt::LeftButton);
        QCOMPARE(music().commands.size(), tune.isEmpty() ? 2 : 4);
        if (first) QCOMPARE(shownWindow(), first);
    }

    void launchShowsTheWindowOfItsRow() {
        // A tool that has a window: created on first use, brought forward afterwards.
        auto* f = start();
        const LaunchRow row{[](class frmChoice* m) -> QWidget* { return m->lblConv[7]; }, "Stretch3.mp3",
                            &toolWindow<frmSized>, false};
        f->lblConv[7]->setBorderStyle(1);
        Launch(f, row);
        QVERIFY(isFormLoaded<frmSized>());
        QVERIFY(sized()->isVisible());
        QCOMPARE(bordered(f), QList<int>());
        frmSized* first = sized();
        first->Hide();
        Launch(f, row);
        QCOMPARE(sized(), first);
        QVERIFY(first->isVisible());
        // A modal row waits until the window closes.
        QList<Form*> modal;
        Form::setModalHandler([&](Form* w) { modal << w; });
        Launch(f, LaunchRow{row.control, nullptr, &toolWindow<frmAnim>, true});
        QCOMPARE(modal, QList<Form*>{anim()});
    }

    // ---- hover and press looks --------------------------------------------

    void hoverBorders_data() {
        QTest::addColumn<QStringList>("moves");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("label 3") << QStringList{"3"} << QList<int>{3};
        QTest::newRow("label 3 then 5") << QStringList{"3", "5"} << QList<int>{5};
        QTest::newRow("label 3, 5, then the frame") << QStringList{"3", "5", "frame"} << QList<int>{};
        QTest::newRow("label 0 then the window") << QStringList{"0", "window"} << QList<int>{};
        QTest::newRow("label 8 then the version") << QStringList{"8", "version"} << QList<int>{};
        QTest::newRow("frame then label 2") << QStringList{"frame", "2"} << QList<int>{2};
        QTest::newRow("the title keeps the border") << QStringList{"4", "title"} << QList<int>{4};
    }
    void hoverBorders() {
        QFETCH(QStringList, moves);
        auto* f = start();
        for (const QString& m : moves) {
            if (m == "frame") hover(f->fraConv);
            else if (m == "window") hover(f->imgBack);
            else if (m == "version") hover(f->lblVersion);
            else if (m == "title") hover(f->lblTitle);
            else hover(f->lblConv[m.toInt()]);
        }
        QTEST(bordered(f), "expected");
    }

    void converterClickClearsBorders() {
        auto* f = start();
        hover(f->lblConv[3]);
        hover(f->lblConv[5]);
        QTest::mouseClick(f->lblConv[5], Qt::LeftButton);
        QCOMPARE(bordered(f), QList<int>());
    }

    void pressBold_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("first") << 0;
        QTest::newRow("middle") << 4;
        QTest::newRow("last") << 8;
    }
    void pressBold() {
        QFETCH(int, index);
        auto* f = start();
        f->lblConv[2]->setFontBold(true);
        press(f->lblConv[index]);
        for (int i = 0; i < 9; ++i) QCOMPARE(f->lblConv[i]->FontBold(), i == index);
        release(f->lblConv[index]);
        for (int i = 0; i < 9; ++i) QVERIFY(!f->lblConv[i]->FontBold());
    }

    void pictureSwaps_data() {
        QTest::addColumn<QString>("pressed");
        QTest::newRow("minimise box") << "imgMin";
        QTest::newRow("close box") << "imgExit";
        QTest::newRow("Exit label") << "lblExit";
    }
    void pictureSwaps() {
        QFETCH(QString, pressed);
        auto* f = start();
        Image *shown, *normal, *down;
        QWidget* target;
        if (pressed == "imgMin") target = shown = f->imgMin, normal = f->imgM, down = f->imgMIN2;
        else if (pressed == "imgExit") target = shown = f->imgExit, normal = f->imgX, down = f->imgEXIT2;
        else target = f->lblExit, shown = f->imgBUTTON, normal = f->imgB, down = f->imgB2;
        normal->setPicture(solid(Qt::blue));
        down->setPicture(solid(Qt::red));
        press(target);
        QCOMPARE(shown->Picture().cacheKey(), down->Picture().cacheKey());
        release(target);
        QCOMPARE(shown->Picture().cacheKey(), normal->Picture().cacheKey());
        // The stores stay hidden; the clock has not allowed closing yet.
        QVERIFY(!normal->isVisibleTo(f) && !down->isVisibleTo(f));
        QVERIFY(isFormLoaded<class frmChoice>());
    }

    // ---- dragging and minimising ------------------------------------------

    void dragByTitle_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("moves");
        QTest::newRow("left button") << int(Qt::LeftButton) << true;
        QTest::newRow("right button") << int(Qt::RightButton) << false;
    }
    void dragByTitle() {
        QFETCH(int, button);
        auto* f = start();
        f->move(100, 100);
        const QPoint before = f->pos();
        const auto b = Qt::MouseButton(button);
        const QPoint grip(20, 8), gripGlobal = f->lblTitle->mapToGlobal(grip);
        QCursor::setPos(gripGlobal);
        mouse(f->lblTitle, QEvent::MouseButtonPress, b, b, grip);
        mouse(f->lblTitle, QEvent::MouseMove, Qt::NoButton, b, grip);
        // The mouse goes on with the button held.
        const QPoint to = gripGlobal + QPoint(40, 25);
        QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(40, 25)), QPointF(to), Qt::NoButton, b, Qt::NoModifier);
        QApplication::sendEvent(f->lblTitle, &move);
        mouse(f->lblTitle, QEvent::MouseButtonRelease, b, Qt::NoButton, grip + QPoint(40, 25));
        processEvents();
        QFETCH(bool, moves);
        QCOMPARE(f->pos(), moves ? before + QPoint(40, 25) : before);
    }

    void minimiseAndRestore() {
        auto* f = start();
        f->activateNow();
        QVERIFY(f->TimerGif->Enabled());
        QTest::mouseClick(f->imgMin, Qt::LeftButton);
        QVERIFY(f->isMinimized());
        QVERIFY(!f->TimerGif->Enabled());
        f->Show();
        f->activateNow();
        QVERIFY(!f->isMinimized());
        QVERIFY(f->TimerGif->Enabled());
        QCOMPARE(CurrentFrame, 0);
    }

    // ---- sounds and music -------------------------------------------------

    void playSound_data() {
        QTest::addColumn<QString>("name");   // in the Sound folder
        QTest::addColumn<bool>("exists");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("showErrors");
        QTest::addColumn<QString>("result"); // "%1" stands for the path
        QTest::addColumn<QString>("box");    // "" for none
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("flags");      // -1: nothing played
        const QString notWave = "Sound file is not a .wav or .midi file: %1";
        const int info = vbInformation;
        QTest::newRow("wave, asynchronous") << "Beep.wav" << true << 0 << true << "" << "" << 0 << "" << 1;
        QTest::newRow("wave, synchronous") << "Beep.wav" << true << 1 << false << "" << "" << 0 << "" << 0;
        QTest::newRow("midi, looping") << "Tune.midi" << true << 2 << true << "" << "" << 0 << "" << 9;
        QTest::newRow("no interruption") << "Beep.wav" << true << 3 << false << "" << "" << 0 << "" << 17;
        QTest::newRow("upper-case .WAV plays") << "BEEP.WAV" << true << 0 << true << "" << "" << 0 << "" << 1;
        QTest::newRow("missing, shown") << "Gone.wav" << false << 0 << true << "File not found: %1"
                                        << "File not found:\n%1" << info << "Sound Error" << -1;
        QTest::newRow("missing, silent") << "Gone.wav" << false << 0 << false << "File not found: %1" << "" << 0 << ""
                                         << -1;
        QTest::newRow(".mid refused") << "Tune.mid" << true << 0 << true << notWave << notWave << info << "Sound Error"
                                      << -1;
        QTest::newRow(".au refused") << "Bell.au" << true << 0 << false << notWave << "" << 0 << "" << -1;
        QTest::newRow("missing .mid: the name is checked first")
            << "Gone.mid" << false << 0 << true << notWave << notWave << info << "Sound Error" << -1;
        QTest::newRow("mode 5, silent") << "Beep.wav" << true << 5 << false << "Invalid Sound Mode: 5" << "" << 0 << ""
                                        << -1;
        QTest::newRow("mode 5, shown") << "Beep.wav" << true << 5 << true << "Invalid Sound Mode: 5"
                                       << "Invalid Mode received for playing sound file: 5" << info << "Sound Error"
                                       << -1;
        QTest::newRow("mode -1") << "Beep.wav" << true << -1 << false << "Invalid Sound Mode: -1" << "" << 0 << "" << -1;
        QTest::newRow("missing file before a bad mode")
            << "Gone.wav" << false << 7 << false << "File not found: %1" << "" << 0 << "" << -1;
    }
    void playSound() {
        QFETCH(QString, name);
        QFETCH(bool, exists);
        QFETCH(int, mode);
        QFETCH(bool, showErrors);
        QFETCH(QString, result);
        QFETCH(QString, box);
        QFETCH(int, flags);
        const QString path = App::file("Sound/" + name);
        if (exists) writeFile("Sound/" + name, wave(8000, 1, 800));
        const QString got = PlaySound(path, mode, showErrors);
        QCOMPARE(got, result.contains("%1") ? result.arg(path) : result);
        if (box.isEmpty()) {
            QVERIFY(MsgBoxSeam::shown().isEmpty());
        } else {
            QCOMPARE(MsgBoxSeam::shown().size(), 1);
            QCOMPARE(MsgBoxSeam::last().text, box.contains("%1") ? box.arg(path) : box);
            QTEST(MsgBoxSeam::last().icon, "icon");
            QTEST(MsgBoxSeam::last().title, "title");
        }
        if (flags < 0) {
            QVERIFY(sound().calls.isEmpty());
        } else {
            QCOMPARE(sound().calls.size(), 1);
            QCOMPARE(sound().calls[0].path, path);
            QCOMPARE(sound().calls[0].flags, flags);
        }
        QVERIFY(music().commands.isEmpty());
    }

    void playSoundShortName_data() {
        QTest::addColumn<bool>("showErrors");
        QTest::newRow("shown") << true;
        QTest::newRow("silent") << false;
    }
    void playSoundShortName() {
        QFETCH(bool, showErrors);
        const QString description = "Invalid procedure call or argument";
        QCOMPARE(PlaySound("a.wa", 0, showErrors), description + " Error in PlaySound function- WavePath=a.wa");
        QCOMPARE(MsgBoxSeam::shown().size(), showErrors ? 1 : 0);
        if (showErrors) {
            QCOMPARE(MsgBoxSeam::last().text, description);
            QCOMPARE(MsgBoxSeam::last().icon, int(vbCritical));
            QCOMPARE(MsgBoxSeam::last().title, QString("PlaySound"));
        }
        QVERIFY(sound().calls.isEmpty());
    }

    void playMusicTwice() {
        PlayMusic("Stretch3.mp3");
        PlayMusic("Stretch5.mp3");
        const QString a = App::file("Sound/Stretch3.mp3"), b = App::file("Sound/Stretch5.mp3");
        QCOMPARE(music().commands,
                 QStringList({"stop", "close", "open " + a, "play", "stop", "close", "open " + b, "play"}));
        QCOMPARE(music().lastPlayed, b);
        QVERIFY(music().playing);
        QCOMPARE(MusicFile, b);
    }

    void playMusicMissingStopsTheTune() {
        PlayMusic("Welcome.mp3");
        PlayMusic("Nowhere.mp3");
        QVERIFY(!music().playing);
        QVERIFY(!music().isOpen());
        QCOMPARE(MusicFile, QString());
        // Nothing is opened, so nothing plays.
        QCOMPARE(music().commands.mid(4), QStringList({"stop", "close", "open "}));
        QVERIFY(MsgBoxSeam::shown().isEmpty());
    }

    void returnToMenu() {
        auto* f = start();
        f->activateNow();
        f->TimerGif->fire();
        f->TimerGif->fire();
        // A tool hides the menu while it is open.
        f->setVisible(false);
        QVERIFY(!f->TimerGif->Enabled());
        music().commands.clear();
        ReturnToMenu();
        QCOMPARE(fileName(music().lastPlayed), QString("Stretch4.mp3"));
        QVERIFY(f->isVisible());
        f->activateNow();
        QCOMPARE(CurrentFrame, 0);
        QVERIFY(f->TimerGif->Enabled());
        // Back without a tune.
        music().commands.clear();
        f->setVisible(false);
        ShowMainMenu();
        QVERIFY(f->isVisible());
        QVERIFY(music().commands.isEmpty());
    }

    void returnToMenuActivatesTheMenu() {
        // Shown again by a closing tool, the menu becomes the active window
        // by itself, and its globe turns again.
        auto* f = start();
        f->activateNow();
        QVERIFY(f->TimerGif->Enabled());
        // A tool opens in the menu's place and takes the activation.
        anim()->Show();
        f->setVisible(false);
        QVERIFY(!f->TimerGif->Enabled());
        anim()->Unload();
        ReturnToMenu();
        QTRY_COMPARE(Form::activeForm(), static_cast<Form*>(f));
        QVERIFY(f->TimerGif->Enabled());
        QCOMPARE(CurrentFrame, 0);
    }

    void closingTheAboutWindowReactivatesTheMenu() {
        // The version label opens the About window modally; its OK gives
        // the activation back to the menu, whose globe turns again.
        auto* f = start();
        f->activateNow();
        bool aboutWasActive = false, globeStoppedMeanwhile = false;
        QTimer user;
        user.setInterval(20);
        QObject::connect(&user, &QTimer::timeout, [&] {
            if (!isFormLoaded<class frmAbout>() || Form::activeForm() != frmAbout()) return;
            aboutWasActive = true;
            globeStoppedMeanwhile = !f->TimerGif->Enabled();
            user.stop();
            QTest::mouseClick(frmAbout()->cmdOK, Qt::LeftButton);
        });
        user.start();
        // Never waits for ever: the window goes after two seconds.
        QTimer::singleShot(2000, [] {
            if (isFormLoaded<class frmAbout>()) frmAbout()->Unload();
        });
        QTest::mouseClick(f->lblVersion, Qt::LeftButton);
        QVERIFY(aboutWasActive);
        QVERIFY(globeStoppedMeanwhile);
        QVERIFY(!isFormLoaded<class frmAbout>());
        QTRY_COMPARE(Form::activeForm(), static_cast<Form*>(f));
        QVERIFY(f->TimerGif->Enabled());
    }

    void showMainMenuCreatesTheMenu() {
        QVERIFY(!isFormLoaded<class frmChoice>());
        ShowMainMenu();
        QVERIFY(isFormLoaded<class frmChoice>());
        QVERIFY(frmChoice()->isVisible());
    }

    void waveLength_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("ms");
        QTest::newRow("one second, mono") << wave(8000, 1, 16000) << qint64(1000);
        QTest::newRow("half a second, stereo") << wave(22050, 2, 44100) << qint64(500);
        QTest::newRow("cut short") << wave(8000, 1, 4000, 16000) << qint64(250);
        QTest::newRow("no wave") << QByteArray("ID3 this is no wave file at all") << qint64(-1);
        QTest::newRow("empty") << QByteArray() << qint64(-1);
    }
    void waveLength() {
        QFETCH(QByteArray, bytes);
        writeFile("x.wav", bytes);
        QTEST(QtAudio::waveLength(App::file("x.wav")), "ms");
    }

    // ---- the animated GIF loader ------------------------------------------

    void loadAniGif_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("tags");
        QTest::addColumn<int>("lastFrame");
        QTest::addColumn<QString>("message");
        const QByteArray three = makeGif({{10, 1}, {20, 2}, {300, 3}});
        QByteArray cut = three;
        cut.chop(12);
        const QString notGif = "This file is not a *.gif file";
        // The logical screen's size, four bytes of the header: every frame is that large.
        auto screen = [&](int side) {
            QByteArray b = three;
            b[6] = b[8] = char(side & 255);
            b[7] = b[9] = char(side >> 8);
            return b;
        };
        QTest::newRow("one frame") << makeGif({{10, 1}}) << "English" << true << QStringList{"100"} << 0 << "";
        QTest::newRow("three frames") << three << "English" << true << QStringList{"100", "200", "3000"} << 2 << "";
        QTest::newRow("a delay of 0") << makeGif({{10, 1}, {0, 2}, {5, 3}}) << "English" << true
                                      << QStringList{"100", "0", "50"} << 2 << "";
        QTest::newRow("long delays in 32 bits") << makeGif({{5, 1}, {4000, 2}, {0xFFFF, 3}}) << "English" << true
                                                << QStringList{"50", "40000", "655350"} << 2 << "";
        QTest::newRow("a picture without a delay joins the frame before")
            << makeGif({{10, 1}, {0, 2, 0, 4, false}, {30, 3}}) << "English" << true << QStringList{"100", "300"} << 1
            << "";
        QTest::newRow("breaks off in the third frame") << cut << "English" << true << QStringList{"100", "200"} << 1
                                                       << "Error No. 481 when reading file";
        QTest::newRow("breaks off, German") << cut << "German" << true << QStringList{"100", "200"} << 1
                                            << "Error No. 481 beim Lesen der Datei";
        QTest::newRow("breaks off in the first frame") << three.left(40) << "English" << false << QStringList{""} << -1
                                                       << "Error No. 481 when reading file";
        QTest::newRow("a screen of 5000 x 5000") << screen(5000) << "English" << false << QStringList{""} << -1
                                                 << "Error No. 481 when reading file";
        QTest::newRow("frames beyond a few tens of MB") << screen(2000) << "English" << true
                                                        << QStringList{"100", "200"} << 1
                                                        << "Error No. 481 when reading file";
        QTest::newRow("a thousand frames") << makeGif(QList<GifFrame>(1000, GifFrame{10, 1})) << "English" << true
                                           << QStringList(1000, "100") << 999 << "";
        QTest::newRow("more than a thousand frames")
            << makeGif(QList<GifFrame>(1001, GifFrame{10, 1})) << "English" << true << QStringList(1000, "100") << 999
            << "Error No. 481 when reading file";
        QTest::newRow("still picture without a delay") << makeGif({{0, 1, 0, 4, false}}) << "English" << false
                                                       << QStringList{""} << 0 << notGif;
        QTest::newRow("not a GIF") << QByteArray("\x89PNG\r\n\x1a\n and some more bytes\x00\x21\xf9", 31) << "English"
                                   << false << QStringList{""} << 0 << notGif;
        QTest::newRow("not a GIF, German") << QByteArray("plain text") << "German" << false << QStringList{""} << 0
                                           << "Diese Datei ist keine *.gif Datei";
        QTest::newRow("empty file") << QByteArray("") << "English" << false << QStringList{""} << 0 << notGif;
    }
    void loadAniGif() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, language);
        QFETCH(QString, message);
        CurrentLanguage = language;
        LastFrame = 0;
        writeFile("Pics/t.gif", bytes);
        auto* w = anim();
        QTEST(LoadAniGif(App::file("Pics/t.gif"), w->imgGif), "result");
        QTEST(tags(w->imgGif), "tags");
        QTEST(LastFrame, "lastFrame");
        if (message.isEmpty()) {
            QVERIFY(MsgBoxSeam::shown().isEmpty());
        } else {
            QCOMPARE(MsgBoxSeam::shown().size(), 1);
            QCOMPARE(MsgBoxSeam::last().text, message);
            QCOMPARE(MsgBoxSeam::last().icon, int(vbCritical));
            QCOMPARE(MsgBoxSeam::last().title, App::title());
        }
        // New members lie on member 0, hidden.
        for (int i = 1; i < w->imgGif.size(); ++i) {
            QCOMPARE(w->imgGif[i]->geometry(), w->imgGif[0]->geometry());
            QVERIFY(!w->imgGif[i]->isVisibleTo(w));
        }
        QCOMPARE(w->imgGif[0]->pos(), QPoint(30, 40));
    }

    void loadAniGifNoFile_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("empty name") << "";
        QTest::newRow("missing file") << "Pics/none.gif";
        QTest::newRow("a folder") << "Pics";
    }
    void loadAniGifNoFile() {
        QFETCH(QString, file);
        QDir().mkpath(App::file("Pics"));
        auto* w = anim();
        LastFrame = 7;
        QVERIFY(!LoadAniGif(file.isEmpty() ? QString() : App::file(file), w->imgGif));
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        QCOMPARE(LastFrame, 7);
    }

    void framesAreWholePictures() {
        // The second frame paints only the right half: its member shows the
        // first frame's left half beside it, at member 0's place.
        writeFile("a.gif", makeGif({{10, 1}, {10, 3, 2, 2}, {10, 2, 0, 1}}));
        auto* w = anim();
        QVERIFY(LoadAniGif(App::file("a.gif"), w->imgGif));
        QCOMPARE(w->imgGif.size(), 3);
        const QImage f0 = w->imgGif[0]->Picture().toImage(), f1 = w->imgGif[1]->Picture().toImage(),
                     f2 = w->imgGif[2]->Picture().toImage();
        QCOMPARE(f0.size(), QSize(4, 4));
        QCOMPARE(f1.size(), QSize(4, 4));
        QCOMPARE(f0.pixel(0, 0), colourOf(1));
        QCOMPARE(f1.pixel(0, 0), colourOf(1));
        QCOMPARE(f1.pixel(3, 0), colourOf(3));
        QCOMPARE(f2.pixel(0, 0), colourOf(2));
        QCOMPARE(f2.pixel(3, 3), colourOf(3));
        QCOMPARE(w->imgGif[1]->geometry(), w->imgGif[0]->geometry());
    }

    void reloadReplacesTheMembers() {
        writeFile("three.gif", makeGif({{10, 1}, {20, 2}, {30, 3}}));
        writeFile("one.gif", makeGif({{40, 2}}));
        auto* w = anim();
        QVERIFY(LoadAniGif(App::file("three.gif"), w->imgGif));
        QPointer<Image> second = w->imgGif[1];
        QVERIFY(LoadAniGif(App::file("one.gif"), w->imgGif));
        // The old frames' pictures are gone at once, not with their members.
        QVERIFY(second && second->Picture().isNull());
        QCOMPARE(w->imgGif.size(), 1);
        QCOMPARE(LastFrame, 0);
        QCOMPARE(w->imgGif[0]->Tag, QString("400"));
        processEvents();
        QVERIFY(!second);
        QVERIFY(LoadAniGif(App::file("three.gif"), w->imgGif));
        QCOMPARE(w->imgGif.size(), 3);
    }

    void animateSteps() {
        writeFile("a.gif", makeGif({{10, 1}, {20, 2}, {0, 3}, {30, 1}}));
        auto* w = anim();
        QVERIFY(LoadAniGif(App::file("a.gif"), w->imgGif));
        CurrentFrame = 0;
        w->TimerGif->setInterval(w->imgGif[0]->Tag.toInt());
        w->TimerGif->setEnabled(true);
        QCOMPARE(w->TimerGif->Interval(), 100);
        AnimateGif(w);
        QCOMPARE(CurrentFrame, 1);
        QCOMPARE(visibleMembers(w->imgGif), QList<int>{1});
        QCOMPARE(w->TimerGif->Interval(), 200);
        AnimateGif(w);
        // A delay of 0 stops the animation on that frame.
        QCOMPARE(CurrentFrame, 2);
        QCOMPARE(w->TimerGif->Interval(), 0);
        QVERIFY(!w->TimerGif->running());
        QCOMPARE(visibleMembers(w->imgGif), QList<int>{2});
        AnimateGif(w);
        AnimateGif(w);
        // After the last frame, the first again.
        QCOMPARE(CurrentFrame, 0);
        QCOMPARE(visibleMembers(w->imgGif), QList<int>{0});
        QCOMPARE(w->TimerGif->Interval(), 100);
    }

    void animateBeforeAnyLoad() {
        // An early tick: the first member shows, the interval stays.
        auto* w = anim();
        w->TimerGif->setInterval(1);
        LastFrame = 0;
        CurrentFrame = 0;
        AnimateGif(w);
        QCOMPARE(w->TimerGif->Interval(), 1);
        QCOMPARE(visibleMembers(w->imgGif), QList<int>{0});
    }

    void animateNeverPassesTheMembers() {
        // Another window loaded more frames than this one has.
        writeFile("two.gif", makeGif({{10, 1}, {20, 2}}));
        auto* w = anim();
        QVERIFY(LoadAniGif(App::file("two.gif"), w->imgGif));
        LastFrame = 9;
        CurrentFrame = 1;
        AnimateGif(w);
        QCOMPARE(CurrentFrame, 0);
        CurrentFrame = -3;
        AnimateGif(w);
        QCOMPARE(CurrentFrame, 0);
        QCOMPARE(visibleMembers(w->imgGif), QList<int>{0});
    }

    // ---- the globe on the menu --------------------------------------------

    void globe_data() {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QString>("file");
        QTest::newRow("an ordinary day") << QDate(2026, 3, 15) << "Globe.gif";
        QTest::newRow("New Year's Eve") << QDate(2026, 12, 31) << "Silvester.gif";
    }
    void globe() {
        QFETCH(QDate, day);
        QFETCH(QString, file);
        setToday(day);
        Form::setModalHandler([](Form* w) { w->Unload(); });
        auto* f = start();
        f->activateNow();
        QCOMPARE(fileName(f->GifFile), file);
        QImageReader reader(App::file("Pics/" + file));
        QCOMPARE(f->imgGif.size(), reader.imageCount());
        QVERIFY(f->imgGif.size() > 2);
        QCOMPARE(LastFrame, f->imgGif.size() - 1);
        QVERIFY(f->TimerGif->Enabled());
        QCOMPARE(QString::number(f->TimerGif->Interval()), f->imgGif[0]->Tag);
        for (int i = 0; i < 5; ++i) f->TimerGif->fire();
        QCOMPARE(CurrentFrame, 5);
        QCOMPARE(visibleMembers(f->imgGif), QList<int>{5});
        // Another window takes over: the globe stops.
        auto* other = anim();
        other->activateNow();
        QVERIFY(!f->TimerGif->Enabled());
        // Back on the menu it starts again from its first frame.
        f->activateNow();
        QCOMPARE(CurrentFrame, 0);
        QCOMPARE(visibleMembers(f->imgGif), QList<int>{0});
        QVERIFY(f->TimerGif->Enabled());
        QCOMPARE(f->imgGif.size(), reader.imageCount());
        QVERIFY(MsgBoxSeam::shown().isEmpty());
    }

    // The menu left open across midnight shows the new day, with its long
    // form in the tooltip; the greetings and the tune of the start are not
    // given again.
    void dateFollowsTheDay_data() {
        QTest::addColumn<QDateTime>("started");
        QTest::addColumn<QDateTime>("later");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("longDate");
        QTest::newRow("midnight into Christmas Eve")
            << QDateTime(QDate(2026, 12, 23), QTime(23, 59, 50)) << QDateTime(QDate(2026, 12, 24), QTime(0, 0, 10))
            << "24.12.2026" << "Thursday, 24 December 2026";
        QTest::newRow("over New Year")
            << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)) << QDateTime(QDate(2027, 1, 1), QTime(0, 0, 1))
            << "01.01.2027" << "Friday, 1 January 2027";
    }
    void dateFollowsTheDay() {
        QFETCH(QDateTime, started);
        QFETCH(QDateTime, later);
        setNow(started);
        int greetings = 0;
        Form::setModalHandler([&](Form* w) {
            ++greetings;
            w->Unload();
        });
        auto* f = start();
        f->activateNow();
        const int shownAtStart = greetings;
        const QStringList tuneAtStart = music().commands;
        setNow(later);
        QFETCH(QString, date);
        QTRY_COMPARE(f->lblDate->Caption(), date);
        QTEST(f->lblDate->ToolTipText(), "longDate");
        QCOMPARE(greetings, shownAtStart);
        QCOMPARE(music().commands, tuneAtStart);
    }

    void globeReadOnceDrawn() {
        // The menu shows on its globe's first frame: the other frames are
        // read once the menu has been drawn.
        auto* f = frmChoice();
        QCOMPARE(f->imgGif.size(), 1);
        QVERIFY(!f->imgGif[0]->Picture().isNull());
        QVERIFY(!f->TimerGif->Enabled());
        waitDrawn(f);
        QCOMPARE(f->imgGif.size(), QImageReader(App::file("Pics/Globe.gif")).imageCount());
        QVERIFY(f->TimerGif->Enabled());
    }

    void globeMissingStaysStill() {
        QFile::remove(App::file("Pics/Globe.gif"));
        auto* f = start();
        f->activateNow();
        QVERIFY(!f->TimerGif->Enabled());
        QCOMPARE(f->imgGif.size(), 1);
        QVERIFY(MsgBoxSeam::shown().isEmpty());
    }

    void globeNotAGif() {
        writeFile("Pics/Globe.gif", "not a picture");
        auto* f = start();
        f->activateNow();
        QVERIFY(!f->TimerGif->Enabled());
        QCOMPARE(MsgBoxSeam::last().text, QString("This file is not a *.gif file"));
    }

    void refusedCopyDoesNotAnimate() {
        QLockFile first(App::instanceLockFile());
        QVERIFY(first.tryLock(0));
        writeFile("two.gif", makeGif({{10, 1}, {20, 2}}));
        auto* f = start();
        QVERIFY(LoadAniGif(App::file("two.gif"), f->imgGif));
        CurrentFrame = 0;
        f->TimerGif->fire();
        QCOMPARE(CurrentFrame, 0);
    }

    // ---- window effects ---------------------------------------------------

    void implodeSteps_data() {
        QTest::addColumn<int>("widthPx");
        QTest::addColumn<int>("heightPx");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("shrinkingSteps");
        QTest::newRow("1200 twips high") << 100 << 80 << 100 << 23;
        QTest::newRow("3000 x 3000 twips") << 200 << 200 << 250 << 59;
        QTest::newRow("45 twips wide: never shrinks") << 3 << 80 << 100 << 0;
    }
    void implodeSteps() {
        QFETCH(int, widthPx);
        QFETCH(int, heightPx);
        auto* w = touchForm<frmShrink>();
        w->setWindowFlag(Qt::FramelessWindowHint);
        w->resize(widthPx, heightPx);
        w->Show();
        QList<QSizeF> sizes;
        ImplodeSeam::setStepHook([&](int step, QSizeF twips) {
            QCOMPARE(step, sizes.size() + 1);
            sizes << twips;
        });
        const QSizeF start(widthPx * 15.0, heightPx * 15.0);
        ImplodeForm(w);
        QTEST(int(sizes.size()), "steps");
        QFETCH(int, shrinkingSteps);
        int shrunk = 0;
        QSizeF previous = start;
        for (const QSizeF& s : sizes) {
            if (s != previous) ++shrunk;
            previous = s;
        }
        QCOMPARE(shrunk, shrinkingSteps);
        if (shrinkingSteps > 0) QCOMPARE(sizes[shrinkingSteps - 1], start - QSizeF(50.0, 50.0) * shrinkingSteps);
        if (widthPx == 200) QCOMPARE(sizes.last(), QSizeF(50, 50));
        QVERIFY(!isFormLoaded<frmShrink>());
    }

    void implodeCentresOnTheScreen() {
        auto* w = touchForm<frmShrink>();
        w->setWindowFlag(Qt::FramelessWindowHint);
        w->setGeometry(10, 10, 300, 150);
        w->Show();
        const QRect screen = w->screen()->geometry();
        QList<QRect> seen;
        ImplodeSeam::setStepHook([&](int, QSizeF) { seen << w->geometry(); });
        ImplodeForm(w);
        const QRect first = seen.first();
        QCOMPARE(first.size(), QSize(Form::px(4500 - 50), Form::px(2250 - 50)));
        QVERIFY(qAbs(first.center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(first.center().y() - screen.center().y()) <= 1);
    }

    void exitShrinksOnceAndCloses() {
        auto* f = start();
        for (int i = 0; i < 10; ++i) f->TimerTime->fire();
        f->activateNow();
        processEvents();
        const int expected = int(f->height() * 15 / 12);
        int steps = 0;
        ImplodeSeam::setStepHook([&](int step, QSizeF) {
            ++steps;
            if (step == 3) {
                // Impatient clicks while the window shrinks change nothing.
                f->lblExit->click();
                QTest::mouseClick(f->lblExit, Qt::LeftButton);
                QTest::mouseClick(f->imgExit, Qt::LeftButton);
                f->close();
                QVERIFY(isFormLoaded<class frmChoice>());
                QCOMPARE(endCount(), 0);
            }
        });
        music().commands.clear();
        QTest::mouseClick(f->lblExit, Qt::LeftButton);
        QCOMPARE(steps, expected);
        QCOMPARE(endCount(), 1);
        QVERIFY(!isFormLoaded<class frmChoice>());
        QCOMPARE(music().commands, QStringList({"stop", "close"}));
    }

    void exitNeedsTenTicks() {
        auto* f = start();
        int steps = 0;
        ImplodeSeam::setStepHook([&](int, QSizeF) { ++steps; });
        QTest::mouseClick(f->lblExit, Qt::LeftButton);
        QCOMPARE(steps, 0);
        QVERIFY(isFormLoaded<class frmChoice>());
    }

    void resizeControls_data() {
        QTest::addColumn<QSize>("newSize");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::newRow("twice as wide") << QSize(400, 100) << 2.0 << 1.0;
        QTest::newRow("twice as high") << QSize(200, 200) << 1.0 << 2.0;
        QTest::newRow("half the size") << QSize(100, 50) << 0.5 << 0.5;
    }
    void resizeControls() {
        QFETCH(QSize, newSize);
        QFETCH(double, x);
        QFETCH(double, y);
        auto* w = sized();
        QList<QRect> before;
        QList<double> fonts;
        for (QWidget* c : w->controls()) before << c->geometry(), fonts << c->font().pointSizeF();
        int oldWidth = 3000, oldHeight = 1500;
        w->resize(newSize);
        ResizeControls(w, oldWidth, oldHeight);
        QCOMPARE(oldWidth, newSize.width() * 15);
        QCOMPARE(oldHeight, newSize.height() * 15);
        const QList<QWidget*> controls = w->controls();
        for (int i = 0; i < controls.size(); ++i) {
            const QRect& b = before[i];
            const QRect expected(qRound(b.x() * x), qRound(b.y() * y), qRound(b.width() * x), qRound(b.height() * y));
            QCOMPARE(controls[i]->geometry(), expected);
            if (controls[i] != w->img) QCOMPARE(controls[i]->font().pointSizeF(), fonts[i] * y);
        }
    }

    void resizeBackAndForthKeepsTheDesign() {
        auto* w = sized();
        QList<QRect> before;
        for (QWidget* c : w->controls()) before << c->geometry();
        const double fontBefore = w->lbl->font().pointSizeF();
        int oldWidth = 3000, oldHeight = 1500;
        for (int i = 0; i < 25; ++i) {
            w->resize(203 + i * 7, 97 + i * 3);
            ResizeControls(w, oldWidth, oldHeight);
        }
        w->resize(200, 100);
        ResizeControls(w, oldWidth, oldHeight);
        for (int i = 0; i < before.size(); ++i) QCOMPARE(w->controls()[i]->geometry(), before[i]);
        QCOMPARE(w->lbl->font().pointSizeF(), fontBefore);
    }

    void resizeFollowsControlsMovedByTheWindow() {
        auto* w = sized();
        int oldWidth = 3000, oldHeight = 1500;
        w->resize(400, 100);
        ResizeControls(w, oldWidth, oldHeight);
        // The window's own code moves a control; the next resize takes it from there.
        w->lbl->setGeometry(100, 20, 50, 16);
        w->resize(200, 100);
        ResizeControls(w, oldWidth, oldHeight);
        QCOMPARE(w->lbl->geometry(), QRect(50, 20, 25, 16));
    }

    void resizeNothingBelowOne_data() {
        QTest::addColumn<int>("oldWidth");
        QTest::addColumn<int>("oldHeight");
        QTest::newRow("width 0") << 0 << 1500;
        QTest::newRow("height 0") << 3000 << 0;
        QTest::newRow("negative") << -5 << -5;
    }
    void resizeNothingBelowOne() {
        QFETCH(int, oldWidth);
        QFETCH(int, oldHeight);
        auto* w = sized();
        QList<QRect> before;
        for (QWidget* c : w->controls()) before << c->geometry();
        w->resize(400, 300);
        int ow = oldWidth, oh = oldHeight;
        ResizeControls(w, ow, oh);
        QCOMPARE(ow, oldWidth);
        QCOMPARE(oh, oldHeight);
        for (int i = 0; i < before.size(); ++i) QCOMPARE(w->controls()[i]->geometry(), before[i]);
    }

    void resizeLargeWindows() {
        // Sizes beyond 32767 twips are kept.
        auto* w = sized();
        int oldWidth = 3000, oldHeight = 1500;
        w->resize(2400, 100);
        ResizeControls(w, oldWidth, oldHeight);
        QCOMPARE(oldWidth, 36000);
        QCOMPARE(w->lbl->geometry().left(), 120);
    }

    void imageNotFound_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("text");
        QTest::newRow("English") << "English" << "Image Pics/Sun.gif not found!";
        QTest::newRow("German") << "German" << "Bild Pics/Sun.gif nicht gefunden!";
    }
    void imageNotFound() {
        QFETCH(QString, language);
        CurrentLanguage = language;
        ShowImageNotFound("Pics/Sun.gif");
        QTEST(MsgBoxSeam::last().text, "text");
        QCOMPARE(MsgBoxSeam::last().icon, int(vbCritical));
        QCOMPARE(MsgBoxSeam::last().title, App::title());
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
