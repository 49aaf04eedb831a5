#include "Forms/TypingMaster/frmKeyb.h"

#include "Forms/Main/frmChoice.h"
#include "Modules/modLanguage.h"
#include "Modules/modMCI.h"
#include "Modules/modMain.h"
#include "Platform/Ansi.h"
#include "Platform/App.h"
#include "Platform/Dialogs.h"
#include "Platform/Errors.h"
#include "Platform/Fonts.h"
#include "Platform/Keys.h"
#include "Platform/MsgBox.h"
#include "Platform/Numbers.h"
#include "Platform/Problem.h"
#include "Platform/Storage.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QRadioButton>

namespace TypingRun {

int countWords(const QString& text) {
    int words = 0;
    bool inWord = false;
    for (const QChar c : text) {
        const bool separator = c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
        if (!separator && !inWord) ++words;
        inWord = !separator;
    }
    return words;
}

int wordsPerMinute(int words, int minutes) { return Runtime::CLng(double(words) / minutes); }

} // namespace TypingRun

class frmKeyb* frmKeyb() { return touchForm<class frmKeyb>(); }

namespace {
// The width and height of a letter key, in pixels.
constexpr int kKeyUnit = 40;
const QColor kDarkBlue(0, 0, 128);
const QColor kLightYellow(255, 255, 192);

void setAccessible(QWidget* w, const QString& caption) { w->setAccessibleName(captionText(caption)); }

// The template and the duplication box: coloured text on light yellow.
TextArea* textBox(QWidget* parent, const QRect& area, const QColor& text) {
    auto* box = new TextArea(parent);
    box->setGeometry(area);
    box->setFont(Fonts::font(QStringLiteral("Arial"), 12));
    QPalette p = box->palette();
    p.setColor(QPalette::Base, kLightYellow);
    p.setColor(QPalette::Text, text);
    box->setPalette(p);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return box;
}

// The font dialogs of the two boxes, which a double click opens, also by a
// key on the box that has the focus and for screen readers: Ctrl+Shift+F,
// which types nothing (the duplication box, focused during a run, would
// take a character for typing).
void fontActions(class frmKeyb* frm, const QString& name) {
    const QKeySequence key(Qt::CTRL | Qt::SHIFT | Qt::Key_F);
    addControlAction(frm->txtInput, name, key, [frm] { frm->txtInput_DblClick(); });
    addControlAction(frm->txtOutput, name, key, [frm] { frm->txtOutput_DblClick(); });
}
} // namespace

void SetLangKeyb(class frmKeyb* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("ZOV Tipp-Meister"));
    frm->fraInput->setCaption(QStringLiteral("Vorlage"));
    frm->cmdOpenFile->setCaption(QString::fromUtf8("Ö&ffnen"));
    // The longer word fits the button only in a smaller size.
    frm->cmdOpenFile->setFont(Fonts::font(QStringLiteral("Courier New"), 16, true));
    frm->fraOutput->setCaption(QStringLiteral("Abschrift"));
    frm->chkStart->setText(QStringLiteral("LOS"));
    frm->fraSound->setCaption(QStringLiteral("Ton"));
    frm->optSoundOn->setText(QStringLiteral("AN"));
    frm->optSoundOff->setText(QStringLiteral("AUS"));
    setAccessible(frm->txtInput, frm->fraInput->Caption());
    setAccessible(frm->cmdOpenFile, frm->cmdOpenFile->Caption());
    setAccessible(frm->txtOutput, frm->fraOutput->Caption());
    setAccessible(frm->UpDown, QStringLiteral("Minuten"));
    frm->lblWPM->setAccessibleDescription(QString::fromUtf8("Wörter pro Minute"));
    frm->lblMin->setAccessibleDescription(QStringLiteral("Minuten"));
    frm->lblSec->setAccessibleDescription(QStringLiteral("Sekunden"));
    setAccessible(frm->chkStart, frm->chkStart->text());
    setAccessible(frm->optSoundOn, frm->optSoundOn->text());
    setAccessible(frm->optSoundOff, frm->optSoundOff->text());
    fontActions(frm, QString::fromUtf8("Schriftart wählen"));
}

frmKeyb::frmKeyb() {
    setCaption(QStringLiteral("QEM Typing Master"));
    setFixedSize(660, 592);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, kDarkBlue);
    p.setColor(QPalette::WindowText, Qt::white);
    setPalette(p);

    fraInput = new Frame(QStringLiteral("Template"), this);
    fraInput->setGeometry(10, 6, 640, 136);
    txtInput = textBox(fraInput, QRect(10, 22, 500, 104), Qt::blue);
    cmdOpenFile = new PictureButton(QStringLiteral("&Open"), fraInput);
    cmdOpenFile->setGeometry(520, 44, 110, 60);
    cmdOpenFile->setFont(Fonts::font(QStringLiteral("Courier New"), 20.25, true));
    cmdOpenFile->setStyleSheet(QStringLiteral("PictureButton { background-color: yellow; color: black; }"));

    // Both keyboards at the same place; the load shows the one of the layout.
    fraKeybEng = new Frame(QStringLiteral("Keyboard"), this);
    fraKeybDe = new Frame(QStringLiteral("Tastatur"), this);
    for (Frame* f : {fraKeybEng, fraKeybDe}) f->setGeometry(10, 148, 640, 5 * kKeyUnit + 34);
    buildKeyboard(fraKeybEng, Keyboards::Layout::US, imgKey, lblKey);
    buildKeyboard(fraKeybDe, Keyboards::Layout::German, imgKeyDe, lblKeyDe);
    fraKeybDe->setVisible(false);

    fraOutput = new Frame(QStringLiteral("Duplication"), this);
    fraOutput->setGeometry(10, 390, 460, 192);
    txtOutput = textBox(fraOutput, QRect(10, 22, 440, 160), Qt::red);
    txtOutput->setEnabled(false);

    fraTime = new Frame(QStringLiteral("Status"), this);
    fraTime->setGeometry(480, 390, 170, 118);
    lblWPM = new Label(QStringLiteral("0 WPM"), fraTime);
    lblWPM->setGeometry(10, 20, 150, 24);
    lblWPM->setFont(Fonts::font(QStringLiteral("Arial"), 12, true));
    lblWPM->setAlignment(Qt::AlignCenter);
    const QFont clockFont = Fonts::font(QStringLiteral("Arial"), 16, true);
    lblMin = new Label(QStringLiteral("02"), fraTime);
    lblMin->setGeometry(30, 46, 34, 30);
    lblCol = new Label(QStringLiteral(":"), fraTime);
    lblCol->setGeometry(64, 46, 10, 30);
    lblSec = new Label(QStringLiteral("00"), fraTime);
    lblSec->setGeometry(74, 46, 34, 30);
    for (Label* l : {lblMin, lblCol, lblSec}) {
        l->setFont(clockFont);
        l->setAlignment(Qt::AlignCenter);
    }
    UpDown = new class UpDown(fraTime);
    UpDown->setGeometry(116, 44, 17, 34);
    UpDown->setMin(1);
    UpDown->setMax(60);
    UpDown->setValue(2);
    chkStart = new QCheckBox(QStringLiteral("GO"), fraTime);
    chkStart->setGeometry(10, 82, 150, 28);
    setStartColor(false);
    TimerTime = new Timer(this, 0);

    fraSound = new Frame(QStringLiteral("Sound"), this);
    fraSound->setGeometry(480, 514, 170, 68);
    optSoundOn = new QRadioButton(QStringLiteral("ON"), fraSound);
    optSoundOn->setGeometry(10, 26, 70, 28);
    optSoundOn->setStyleSheet(QStringLiteral("QRadioButton { background-color: #00c000; color: white; }"));
    optSoundOff = new QRadioButton(QStringLiteral("OFF"), fraSound);
    optSoundOff->setGeometry(90, 26, 70, 28);
    optSoundOff->setStyleSheet(QStringLiteral("QRadioButton { background-color: #ff0000; color: white; }"));
    optSoundOn->setChecked(true);

    setAccessible(txtInput, fraInput->Caption());
    setAccessible(cmdOpenFile, cmdOpenFile->Caption());
    setAccessible(txtOutput, fraOutput->Caption());
    // Named by its caption only: tied to the clock beside it, the spinner
    // would be read out with the clock's minutes before its own value.
    setAccessible(UpDown, QStringLiteral("Minutes"));
    // The clock and the speed are read out as they show, with what they mean.
    lblWPM->setAccessibleDescription(QStringLiteral("Words per minute"));
    lblMin->setAccessibleDescription(QStringLiteral("Minutes"));
    lblSec->setAccessibleDescription(QStringLiteral("Seconds"));
    setAccessible(chkStart, chkStart->text());
    setAccessible(optSoundOn, optSoundOn->text());
    setAccessible(optSoundOff, optSoundOff->text());

    connect(cmdOpenFile, &QPushButton::clicked, this, [this] { cmdOpenFile_Click(); });
    txtInput->viewport()->installEventFilter(this);
    txtOutput->viewport()->installEventFilter(this);
    fontActions(this, QStringLiteral("Choose Font"));
    UpDown->onChange = [this] { UpDown_Change(); };
    // Also when the countdown's end unchecks the box.
    connect(chkStart, &QCheckBox::toggled, this, [this] { chkStart_Click(); });
    txtOutput->onKeyDown = [this](int& KeyCode, int Shift) { txtOutput_KeyDown(KeyCode, Shift); };
    txtOutput->onKeyPress = [this](int& KeyAscii) { txtOutput_KeyPress(KeyAscii); };
    txtOutput->onKeyUp = [this](int& KeyCode, int Shift) { txtOutput_KeyUp(KeyCode, Shift); };
    connect(TimerTime, &Timer::tick, this, [this] { TimerTime_Timer(); });
}

void frmKeyb::buildKeyboard(Frame* frame, Keyboards::Layout layout, QMap<int, Image*>& images,
                            QMap<int, Label*>& labels) {
    const QPixmap rest(App::file(QStringLiteral("Pics/keybut3.jpg")));
    const QFont keyFont = Fonts::font(QStringLiteral("Arial"), 7.5, true);
    const QColor buttonText = QApplication::palette().color(QPalette::ButtonText);
    int top = 22;
    for (const QList<Keyboards::Key>& row : Keyboards::rows(layout)) {
        double left = 12;
        for (const Keyboards::Key& key : row) {
            const QRect area(qRound(left), top, qRound(key.width * kKeyUnit) - 2, kKeyUnit - 2);
            auto* image = new Image(frame);
            image->setGeometry(area);
            image->setStretch(true);
            image->setPicture(rest);
            // "&" is a key's own character here, not an access-key mark.
            auto* label = new Label(QString(key.caption), frame);
            label->setGeometry(area);
            label->setAlignment(Qt::AlignCenter);
            label->setFont(keyFont);
            // The caption stays on the key's face, clear of its raised right edge;
            // a long one ("Sperr Taste") takes a smaller size.
            label->setContentsMargins(0, 0, 4, 0);
            label->setShrinkToFit(true);
            label->setForeColor(buttonText);
            images.insert(key.index, image);
            labels.insert(key.index, label);
            left += key.width * kKeyUnit;
        }
        top += kKeyUnit;
    }
}

void frmKeyb::setStartColor(bool on) {
    chkStart->setStyleSheet(QStringLiteral("QCheckBox { background-color: %1; color: white; font: bold 14pt;"
                                           " border: 2px outset #a0a0a0; padding-left: 56px; }"
                                           " QCheckBox:checked { border-style: inset; }"
                                           " QCheckBox::indicator { width: 0px; height: 0px; }")
                                .arg(on ? QStringLiteral("#00c000") : QStringLiteral("#ff0000")));
}

void frmKeyb::Form_Load() {
    if (isFormLoaded<class frmChoice>()) frmChoice()->setVisible(false);
    SetLangKeyb(this);
    KeyboardLanguage = Keyboards::keyboardLanguage();
    if (layout() == Keyboards::Layout::German) {
        fraKeybDe->setVisible(true);
        fraKeybEng->setVisible(false);
    }
}

// Opening a template: the whole file, as UTF-8 when it is valid UTF-8, else
// as Windows-1252. An empty file leaves the template as it was.
void frmKeyb::cmdOpenFile_Click() {
    FileDialog::Options o;
    o.filter = L(QStringLiteral("All Files (*.*)|*.*"), QStringLiteral("Alle Dateien (*.*)|*.*"));
    o.title = L(QStringLiteral("Opening File"), QString::fromUtf8("Öffne Datei"));
    o.initialDir = App::path();
    const QString name = FileDialog::open(o);
    if (name.isEmpty()) return;
    // Whole or not at all: a read that fails part-way, or a template too
    // large to hold, leaves the template as it was.
    Problem::trap(QStringLiteral("OpenFile"), [&] {
        const QString text = Storage::readDocument(name);
        if (!text.isEmpty()) txtInput->setTextValue(text);
    });
}

// Only the font's name and size are taken over; a cancelled dialog keeps both.
void frmKeyb::chooseFont(TextArea* box) {
    FontChoice choice;
    choice.font = box->font();
    // Only the font's name and size are taken: no colour is asked for.
    if (!FontDialog::choose(choice, QString(), false)) return;
    QFont font = box->font();
    font.setFamily(choice.font.family());
    font.setPointSizeF(choice.font.pointSizeF());
    box->setFont(font);
}

void frmKeyb::txtInput_DblClick() { chooseFont(txtInput); }
void frmKeyb::txtOutput_DblClick() { chooseFont(txtOutput); }

bool frmKeyb::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonDblClick) {
        if (watched == txtInput->viewport()) txtInput_DblClick();
        // A disabled box does not answer the mouse.
        else if (watched == txtOutput->viewport() && txtOutput->isEnabled()) txtOutput_DblClick();
    }
    return Form::eventFilter(watched, e);
}

void frmKeyb::UpDown_Change() { lblMin->setCaption(Runtime::Format(double(UpDown->Value()), QStringLiteral("00"))); }

void frmKeyb::chkStart_Click() {
    if (chkStart->isChecked()) {
        setStartColor(true);
        UpDown->setEnabled(false);
        // A run stopped early left the clock where it stood; every run
        // counts down the chosen minutes, which its result divides by.
        lblMin->setCaption(Runtime::Format(double(UpDown->Value()), QStringLiteral("00")));
        lblSec->setCaption(QStringLiteral("00"));
        txtOutput->setTextValue(QString());
        txtOutput->setEnabled(true);
        // During a run Tab is typed (and lights its key) like any other key:
        // moving on to "GO" would let the next blank end the run.
        txtOutput->setTabChangesFocus(false);
        // The clock starts with the first key, not with "GO".
        txtOutput->Tag = QStringLiteral("Start");
        txtOutput->setFocus();
        return;
    }
    TimerTime->setInterval(0);
    setStartColor(false);
    UpDown->setEnabled(true);
    txtOutput->setTextValue(QString());
    txtOutput->setTabChangesFocus(true);
    txtOutput->setEnabled(false);
}

// Tab is typed during a run; Shift+Tab and Ctrl+Tab leave the box, so
// that the keyboard reaches "GO" and the other controls, as the mouse does.
void frmKeyb::txtOutput_KeyDown(int& KeyCode, int Shift) {
    if (KeyCode != Keys::vbKeyTab || !(Shift & (Keys::vbShiftMask | Keys::vbCtrlMask))) return;
    KeyCode = 0;
    focusNextPrevChild(!(Shift & Keys::vbShiftMask));
}

// The key a character lights, shown pressed until the next key goes up.
void frmKeyb::txtOutput_KeyPress(int& KeyAscii) {
    // A paste goes on character by character after the keyboard error
    // has closed the window.
    if (isUnloading()) return;
    if (txtOutput->Tag == QLatin1String("Start")) {
        txtOutput->Tag.clear();
        TimerTime->setInterval(1000);
    }
    ResetKeyPicture();
    const bool german = layout() == Keyboards::Layout::German;
    const QMap<int, Image*>& images = german ? imgKeyDe : imgKey;
    const QMap<int, Label*>& labels = german ? lblKeyDe : lblKey;
    const int k = Keyboards::keyFor(layout(), KeyAscii);
    if (!images.contains(k)) {
        ShowKeyboardError(k);
        return;
    }
    // Only a key the picture has: a key up after an error has nothing to reset.
    LastKey = k;
    const QPixmap pressed(App::file(QStringLiteral("Pics/keybut2.jpg")));
    // Without the picture the key stays at rest and silent; the character
    // still reaches the box.
    if (pressed.isNull()) return;
    images[k]->setPicture(pressed);
    labels[k]->setForeColor(Qt::white);
    if (optSoundOn->isChecked()) PlayMusic(QStringLiteral("Type.wav"));
}

void frmKeyb::txtOutput_KeyUp(int&, int) {
    if (isUnloading()) return;
    ResetKeyPicture();
}

void frmKeyb::ResetKeyPicture() {
    if (LastKey == 0) return;
    const bool german = layout() == Keyboards::Layout::German;
    Image* image = (german ? imgKeyDe : imgKey).value(LastKey);
    Label* label = (german ? lblKeyDe : lblKey).value(LastKey);
    if (!image || !label) return;
    const QPixmap rest(App::file(QStringLiteral("Pics/keybut3.jpg")));
    if (!rest.isNull()) image->setPicture(rest);
    label->setForeColor(QApplication::palette().color(QPalette::ButtonText));
}

void frmKeyb::ShowKeyboardError(int key) {
    // A run must not end, and show its result, behind this box.
    TimerTime->setInterval(0);
    const QString explanation =
        L(QStringLiteral("Your keyboard or keyboard language is incompatible! It must be US-American or German! "
                         "You may also have attempted to switch the keyboard settings while using 'QEM Typing "
                         "Master', which would cause this error to occur as well."),
          QString::fromUtf8("Ihre Tastatur oder Tastatursprache ist unverträglich! Sie benötigen eine Deutsche oder "
                            "US-Amerikanische! Sie könnten auch versucht haben die Tastatureinstellungen während "
                            "der Benutzung von 'ZOV Tippmeister' zu verändern, welches diesen Fehler ebenso "
                            "hervorrufen würde!"));
    MsgBox(QStringLiteral("Problem: txtOutput_KeyPress\n340: Control array element '%1' doesn't exist\n\n")
                   .arg(key) +
               explanation,
           vbCritical);
    Unload();
}

void frmKeyb::TimerTime_Timer() {
    if (lblMin->Caption() == QLatin1String("00") && lblSec->Caption() == QLatin1String("00")) {
        lblMin->setCaption(Runtime::Format(double(UpDown->Value()), QStringLiteral("00")));
        TimerTime->setInterval(0);
        CalcWordsPerMinute();
        // The typed text stays in view until the result has been read.
        chkStart->setChecked(false);
        return;
    }
    if (lblSec->Caption() != QLatin1String("00")) {
        lblSec->setCaption(Runtime::Format(Runtime::Val(lblSec->Caption()) - 1, QStringLiteral("00")));
        return;
    }
    lblMin->setCaption(Runtime::Format(Runtime::Val(lblMin->Caption()) - 1, QStringLiteral("00")));
    lblSec->setCaption(QStringLiteral("59"));
}

void frmKeyb::CalcWordsPerMinute() {
    const QString text = txtOutput->Text();
    const int words = TypingRun::countWords(text);
    txtOutput->setSelStart(int(text.size()));
    const int minutes = int(Runtime::Val(lblMin->Caption()));
    const QString wpm = QString::number(TypingRun::wordsPerMinute(words, minutes));
    lblWPM->setCaption(wpm + QStringLiteral(" WPM"));
    MsgBox(L(QStringLiteral("You typed ") + wpm + QStringLiteral(" words per minute"),
             QStringLiteral("Sie haben ") + wpm + QString::fromUtf8(" Wörter pro Minute ") + QStringLiteral("getippt")),
           vbInformation);
}

void frmKeyb::Form_Unload(int&) {
    // A run in progress ends with the window, without a result.
    TimerTime->setInterval(0);
    ShowMainMenu();
}
