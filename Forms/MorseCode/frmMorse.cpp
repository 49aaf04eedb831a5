#include "Forms/MorseCode/frmMorse.h"

#include "Forms/Main/frmChoice.h"
#include "Modules/modLanguage.h"
#include "Modules/modMCI.h"
#include "Modules/modMain.h"
#include "Modules/modMorse.h"
#include "Modules/modPlaySound.h"
#include "Platform/Ansi.h"
#include "Platform/App.h"
#include "Platform/Dialogs.h"
#include "Platform/Errors.h"
#include "Platform/Fonts.h"
#include "Platform/MsgBox.h"
#include "Platform/Problem.h"
#include "Platform/Storage.h"
#include "Platform/TextEditing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTextCursor>
#include <QTextDocument>
#include <utility>

class frmMorse* frmMorse() { return touchForm<class frmMorse>(); }

void SetLangMorse(class frmMorse* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("ZOV Morsezeichen-Umsetzer"));
    frm->cmdBreak->setCaption(QStringLiteral("&Pause"));
    frm->cmdError->setCaption(QStringLiteral("&Fehler"));
    frm->cmdClr->setCaption(QStringLiteral("&Leeren"));
    frm->cmdSaveFile->setToolTip(QStringLiteral("Datei Sichern"));
    frm->cmdConvert[0]->setToolTip(QStringLiteral("Umsetzen"));
    frm->cmdConvert[1]->setToolTip(QStringLiteral("Langsam Abspielen"));
    frm->cmdConvert[2]->setToolTip(QStringLiteral("Schnell Abspielen"));
    frm->cmdEOM->setCaption(QStringLiteral("ED&M"));
    frm->cmdEOM->setToolTip(QStringLiteral("Ende der Mitteilung"));
    frm->cmdEOC->setCaption(QStringLiteral("ED&G"));
    frm->cmdEOC->setToolTip(QString::fromUtf8("Ende des Gesprächs"));
    frm->cmdOpenFile->setToolTip(QString::fromUtf8("Datei Öffnen"));
    frm->optSingle->setText(QStringLiteral("Ein&zeln"));
    for (int i = Morse::kFirstProsign; i < Morse::kFirstProsign + Morse::kProsigns; ++i)
        frm->txtChr[i]->setTextValue(Morse::character(i, true));
    frm->optAtOnce->setText(QStringLiteral("&Auf Einmal"));
    frm->txtMC->setAccessibleName(QStringLiteral("Morsezeichen"));
    // Screen readers name the buttons by their captions, the picture
    // buttons by what they do.
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{frm->cmdBreak, frm->cmdError, frm->cmdClr, frm->cmdEOM,
                                                                     frm->cmdEOC, frm->optSingle, frm->optAtOnce})
        b->setAccessibleName(captionText(b->text()));
    for (QAbstractButton* b : {frm->cmdSaveFile, frm->cmdConvert[0], frm->cmdConvert[1], frm->cmdConvert[2], frm->cmdOpenFile})
        b->setAccessibleName(b->toolTip());
}

namespace {
const QString kActive = QStringLiteral("Active");
const QColor kBlack(0, 0, 0), kDarkGrey(0x40, 0x40, 0x40);

// The chart: rows 360 twips apart from the top; a column is the left
// edges of its character, code and Morse boxes.
constexpr double kRowTop = 120, kRowPitch = 360, kRowHeight = 360;
struct Column {
    double character, code, morse, morseWidth;
};
constexpr Column kLeftColumn{360, 600, 960, 1020};
constexpr Column kMiddleColumn{2040, 2280, 2640, 1020};
constexpr Column kAtoM{3720, 3960, 4320, 900};
constexpr Column kNtoZ{5280, 5520, 5880, 960};
constexpr double kDigitsTop = 4920;

// At the end of the text, wherever the box's caret stands; the caret
// stays (callers put it to the end where the user is to see the text).
void appendTo(TextArea* box, const QString& text) {
    // Set by position: moving to the end would read the direction of the
    // whole last line.
    QTextCursor end(box->document());
    end.setPosition(box->document()->characterCount() - 1);
    end.insertText(CrLf::toLf(text));
}

void removeFromEnd(TextArea* box, qsizetype count) {
    if (count <= 0) return;
    const qsizetype length = box->Text().size();
    box->setSelStart(int(length - count));
    box->setSelLength(int(count));
    box->setSelText(QString());
}

void caretToEnd(TextArea* box) { box->moveCursor(QTextCursor::End); }

void setBackground(TextArea* box, const QColor& colour) {
    QPalette p = box->palette();
    p.setColor(QPalette::Base, colour);
    box->setPalette(p);
}

TextArea* textBox(QWidget* parent, bool locked) {
    auto* box = new TextArea(parent);
    box->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 15.75));
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setLocked(locked);
    QPalette p = box->palette();
    p.setColor(QPalette::Text, QColor(0, 0xff, 0));
    p.setColor(QPalette::Base, kBlack);
    box->setPalette(p);
    return box;
}

PictureButton* captionButton(QWidget* parent, const QString& caption) {
    auto* b = new PictureButton(caption, parent);
    b->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 14.25));
    b->setAccessibleName(captionText(caption));
    return b;
}

// The narrow caption buttons and the prosign names of the chart take a
// smaller size of their font where a text (the longer German ones above
// all) would touch the edges or be cut off. `margins` is the room the
// control keeps on its two sides together.
void fitText(QWidget* w, const QString& text, int margins = 6) {
    w->setFont(Fonts::fitted(w->font(), text, w->width() - margins, 8, 0.75));
}

// A button showing one character of the Webdings symbol font.
PictureButton* iconButton(QWidget* parent, QChar face, const QString& toolTip) {
    QString shown = Fonts::symbol(QStringLiteral("Webdings"), face);
    // The fast-forward picture, which the shared symbol map lacks.
    if (face == u'8' && shown == QStringLiteral("8")) shown = QString::fromUtf8("▶▶");
    auto* b = new PictureButton(shown, parent);
    b->setFont(Fonts::font(QStringLiteral("Verdana"), 11, true));
    b->setToolTip(toolTip);
    b->setAccessibleName(toolTip);
    b->setEnabled(false);
    return b;
}

TextBox* chartBox(QWidget* parent, const QString& text, const QColor& colour, bool morse) {
    auto* box = new TextBox(parent);
    box->setTextValue(text);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setFrame(false);
    box->setTextMargins(0, 0, 0, 0);
    box->setAlignment(morse ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    box->setFont(morse ? Fonts::font(QStringLiteral("Verdana"), 15.75) : Fonts::font(QStringLiteral("Haettenschweiler"), 15.75));
    QPalette p = box->palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, colour);
    box->setPalette(p);
    return box;
}
} // namespace

frmMorse::frmMorse() {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setCaption(QStringLiteral("QEM Morse Code Converter"));
    setClientSizeTwips(6855, 7740);
    setFixedSize(size());

    txtText = textBox(this, false);
    place(txtText, 120, 120, 3495, 1965);
    txtText->setAccessibleName(QStringLiteral("Text"));
    txtMC = textBox(this, true);
    place(txtMC, 120, 2040, 3495, 1965);
    txtMC->setAccessibleName(QStringLiteral("Morse Code"));

    cmdStart = captionButton(this, QStringLiteral("&Start"));
    place(cmdStart, 120, 4080, 855, 315);
    cmdBreak = captionButton(this, QStringLiteral("&Break"));
    place(cmdBreak, 960, 4080, 855, 315);
    cmdError = captionButton(this, QStringLiteral("E&rror"));
    place(cmdError, 1800, 4080, 855, 315);
    cmdClr = captionButton(this, QStringLiteral("C&lear"));
    place(cmdClr, 2640, 4080, 855, 315);
    cmdSaveFile = iconButton(this, u'6', QStringLiteral("Save File"));
    place(cmdSaveFile, 120, 4440, 375, 315);
    cmdEOM = captionButton(this, QStringLiteral("EO&M"));
    cmdEOM->setToolTip(QStringLiteral("End of Message"));
    place(cmdEOM, 480, 4440, 855, 315);
    cmdConvert[0] = iconButton(this, u'=', QStringLiteral("Convert"));
    place(cmdConvert[0], 1320, 4440, 375, 315);
    cmdConvert[1] = iconButton(this, u'4', QStringLiteral("Play Slow"));
    place(cmdConvert[1], 1680, 4440, 375, 315);
    cmdConvert[2] = iconButton(this, u'8', QStringLiteral("Play Fast"));
    place(cmdConvert[2], 2040, 4440, 375, 315);
    cmdEOC = captionButton(this, QStringLiteral("EO&C"));
    cmdEOC->setToolTip(QStringLiteral("End of Conversation"));
    place(cmdEOC, 2400, 4440, 855, 315);
    cmdOpenFile = iconButton(this, u'5', QStringLiteral("Open File"));
    place(cmdOpenFile, 3240, 4440, 345, 315);

    optSingle = new QRadioButton(QStringLiteral("Sin&gle"), this);
    place(optSingle, 120, 7320, 1215, 285);
    optSingle->setChecked(true);
    optAtOnce = new QRadioButton(QStringLiteral("&At Once"), this);
    place(optAtOnce, 5520, 7320, 1215, 285);
    for (QRadioButton* o : {optSingle, optAtOnce}) {
        o->setFont(Fonts::font(QStringLiteral("MS Sans Serif"), 8));
        o->setAccessibleName(captionText(o->text()));
    }

    buildChart();
    // Single mode at start.
    setMode(false);

    // The buttons that act on the active box come right after the text box
    // and before the Morse box: a box becomes the active one when it gets
    // the focus, so Tab from the text box must reach them with the text box
    // still active. The Morse box follows them, still a stop of Tab, and
    // Shift+Tab from it reaches them with the Morse box active.
    QWidget* previous = txtText;
    for (QWidget* next : std::initializer_list<QWidget*>{cmdStart, cmdBreak, cmdError, cmdClr, cmdSaveFile, cmdEOM,
                                                          cmdConvert[0], cmdConvert[1], cmdConvert[2], cmdEOC,
                                                          cmdOpenFile, txtMC, optSingle, optAtOnce}) {
        setTabOrder(previous, next);
        previous = next;
    }
    txtText->installEventFilter(this);
    txtMC->installEventFilter(this);
    txtText->onKeyPress = [this](int& KeyAscii) { txtText_KeyPress(KeyAscii); };
    txtText->onTextRun = [this](bool starts) { txtText_TextRun(starts); };
    connect(cmdStart, &QPushButton::clicked, this, [this] { cmdStart_Click(); });
    connect(cmdBreak, &QPushButton::clicked, this, [this] { cmdBreak_Click(); });
    connect(cmdError, &QPushButton::clicked, this, [this] { cmdError_Click(); });
    connect(cmdEOM, &QPushButton::clicked, this, [this] { cmdEOM_Click(); });
    connect(cmdEOC, &QPushButton::clicked, this, [this] { cmdEOC_Click(); });
    connect(optSingle, &QRadioButton::clicked, this, [this] { optSingle_Click(); });
    connect(optAtOnce, &QRadioButton::clicked, this, [this] { optAtOnce_Click(); });
    connect(cmdClr, &QPushButton::clicked, this, [this] { cmdClr_Click(); });
    for (int i = 0; i < 3; ++i) connect(cmdConvert[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdConvert_Click(i); });
    connect(cmdOpenFile, &QPushButton::clicked, this, [this] { cmdOpenFile_Click(); });
    connect(cmdSaveFile, &QPushButton::clicked, this, [this] { cmdSaveFile_Click(); });
}

void frmMorse::buildChart() {
    const auto& table = Morse::table();
    for (int i = 0; i < Morse::kEntries; ++i) {
        const Morse::Entry& e = table[size_t(i)];
        if (i <= Morse::kLastCharacter)
            txtAscii << chartBox(this, QString::number(e.code), QColor(0xff, 0, 0), false);
        if (i < Morse::kLineBreak) txtChr << chartBox(this, e.character, QColor(0, 0x80, 0), false);
        txtMorse << chartBox(this, e.morse, QColor(0, 0, 0xff), true);
    }
    auto row = [this](int index, const Column& c, double top) {
        place(txtChr[index], c.character, top, c.code - c.character, kRowHeight);
        place(txtAscii[index], c.code, top, c.morse - c.code, kRowHeight);
        place(txtMorse[index], c.morse, top, c.morseWidth, kRowHeight);
    };
    for (int i = 0; i < 13; ++i) {
        row(i, kAtoM, kRowTop + i * kRowPitch);
        row(13 + i, kNtoZ, kRowTop + i * kRowPitch);
    }
    // Digits 1-5 below A-M, 6-9 and 0 below N-Z; the signs in two columns
    // at the left, each list from top to bottom.
    const int middleSigns[] = {40, 39, 38, 37, 36}; // , . ; : /
    const int leftSigns[] = {45, 44, 43, 42, 41};   // - ' ( ? _
    for (int k = 0; k < 5; ++k) {
        const double top = kDigitsTop + k * kRowPitch;
        row(26 + k, kAtoM, top);
        row(31 + k, kNtoZ, top);
        row(middleSigns[k], kMiddleColumn, top);
        row(leftSigns[k], kLeftColumn, top);
    }
    // The prosigns: caption and code, in two rows.
    struct Place {
        double caption, code, top;
    };
    const Place prosigns[] = {{360, 1200, 6840}, {2580, 3420, 6840}, {4800, 5640, 6840}, {1440, 2280, 7320}, {3480, 4320, 7320}};
    for (int k = 0; k < Morse::kProsigns; ++k) {
        const int index = Morse::kFirstProsign + k;
        place(txtChr[index], prosigns[k].caption, prosigns[k].top, prosigns[k].code - prosigns[k].caption, kRowHeight);
        place(txtMorse[index], prosigns[k].code, prosigns[k].top, 1200, kRowHeight);
    }
    for (TextBox* hidden : {txtAscii[Morse::kBlank], txtChr[Morse::kBlank], txtMorse[Morse::kBlank],
                            txtMorse[Morse::kLineBreak], txtMorse[Morse::kLineBreakTrim]})
        hidden->setVisible(false);
}

void frmMorse::Form_Load() {
    frmChoice()->setVisible(false);
    SetLangMorse(this);
    for (PictureButton* b : {cmdStart, cmdBreak, cmdError, cmdClr, cmdEOM, cmdEOC}) fitText(b, captionText(b->text()));
    // Wide letters (W, M) as well as the prosign names. A line edit keeps
    // two pixels on either side of its text.
    for (int i = 0; i < Morse::kFirstProsign + Morse::kProsigns; ++i) {
        fitText(txtChr[i], txtChr[i]->Text(), 4);
        txtChr[i]->setCursorPosition(0);
    }
    const Morse::Prosigns& p = Morse::prosigns(isGerman());
    TagStart = p.tags[0], CapStart = p.captions[0];
    TagBreak = p.tags[1], CapBreak = p.captions[1];
    TagError = p.tags[2], CapError = p.captions[2];
    TagEOM = p.tags[3], CapEOM = p.captions[3];
    TagEOC = p.tags[4], CapEOC = p.captions[4];
    // The text box has the first tab position: it opens as the active box.
    focusBox(txtText);
}

Morse::Prosigns frmMorse::prosigns() const {
    return {{TagStart, TagBreak, TagError, TagEOM, TagEOC}, {CapStart, CapBreak, CapError, CapEOM, CapEOC}};
}

TextArea* frmMorse::activeBox() const {
    if (txtMC->Tag == kActive) return txtMC;
    if (txtText->Tag == kActive) return txtText;
    return nullptr;
}

bool frmMorse::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::FocusIn) {
        if (watched == txtText) txtText_GotFocus();
        else if (watched == txtMC) txtMC_GotFocus();
    }
    return Form::eventFilter(watched, e);
}

void frmMorse::focusBox(TextArea* box) {
    box->setFocus();
    // The focus event comes only while the window is active; the box is
    // the active one at once either way.
    if (box == txtText) txtText_GotFocus();
    else txtMC_GotFocus();
}

void frmMorse::txtText_GotFocus() {
    txtText->Tag = kActive;
    setBackground(txtText, kBlack);
    txtMC->Tag.clear();
    setBackground(txtMC, kDarkGrey);
}

void frmMorse::txtMC_GotFocus() {
    txtMC->Tag = kActive;
    setBackground(txtMC, kBlack);
    txtText->Tag.clear();
    setBackground(txtText, kDarkGrey);
}

// Line breaks in the Morse box come right after the last group's blank.
void frmMorse::AddMorseNewLine() {
    addMorse(QStringLiteral("\r\n"));
    if (!morseRun_) caretToEnd(txtMC);
    focusBox(txtText);
}

// During a paste the codes go into the Morse box together at its end: each
// addition to a laid-out paragraph walks all its lines.
void frmMorse::addMorse(const QString& codes) {
    if (morseRun_) *morseRun_ += codes;
    else appendTo(txtMC, codes);
}

void frmMorse::putMorseRun() {
    if (!morseRun_ || morseRun_->isEmpty()) return;
    appendTo(txtMC, *morseRun_);
    morseRun_->clear();
}

void frmMorse::txtText_KeyPress(int& KeyAscii) {
    if (busy_) {
        KeyAscii = 0;
        return;
    }
    if (KeyAscii >= 97 && KeyAscii <= 122) KeyAscii -= 32;
    // Tags come only from the prosign buttons, conversions and documents.
    if (KeyAscii == 60 || KeyAscii == 62) KeyAscii = 0;

    // A character Windows-1252 lacks arrives as "?", which the table holds;
    // it is not in the table and goes into the text box alone.
    const bool outsideCodePage = KeyAscii == 63 && !Ansi::holds(txtText->keyText());
    if (!atOnce_ && !outsideCodePage) {
        if (const int index = Morse::indexOfCode(KeyAscii); index >= 0) {
            addMorse(Morse::table()[size_t(index)].morse);
            // A paste sounds only its last letter, once it is in.
            if (QString sound = Morse::letterSound(index); !sound.isEmpty()) {
                if (morseRun_) runSound_ = std::move(sound);
                else PlayMusic(sound);
            }
        }
    }

    if (KeyAscii == 8) {
        putMorseRun();
        const Morse::BackspaceEdit edit = Morse::backspace(txtText->Text(), txtMC->Text(), prosigns());
        removeFromEnd(txtMC, edit.morseRemove);
        removeFromEnd(txtText, edit.textRemove);
        focusBox(txtText);
        caretToEnd(txtText);
        caretToEnd(txtMC);
        KeyAscii = 0;
        return;
    }
    if (KeyAscii == 13) AddMorseNewLine();

    // Typing always adds at the end, wherever the caret stood. In a paste
    // the carets went there at its start and follow what is added.
    if (!morseRun_) {
        caretToEnd(txtText);
        caretToEnd(txtMC);
    }
}

// A paste or composed text passes the key handler character by character.
// The Morse box's additions go in as one edit, as the text box's do: each
// box then lays out its text once, not once a character.
void frmMorse::txtText_TextRun(bool starts) {
    if (starts) {
        caretToEnd(txtText);
        caretToEnd(txtMC);
        morseRun_ = QString();
        runSound_.clear();
        return;
    }
    putMorseRun();
    morseRun_.reset();
    caretToEnd(txtMC);
    caretToEnd(txtText);
    if (!runSound_.isEmpty()) PlayMusic(std::exchange(runSound_, QString()));
}

void frmMorse::appendProsign(int prosign) {
    if (busy_) return;
    const Morse::Prosigns p = prosigns();
    appendTo(txtText, p.tags[size_t(prosign)]);
    focusBox(txtText);
    caretToEnd(txtText);
    if (atOnce_) return;
    if (const QString sound = Morse::prosignSound(prosign); !sound.isEmpty()) PlayMusic(sound);
    appendTo(txtMC, Morse::table()[size_t(Morse::kFirstProsign + prosign)].morse);
    caretToEnd(txtMC);
    caretToEnd(txtText);
    focusBox(txtText);
}

void frmMorse::cmdStart_Click() { appendProsign(0); }
void frmMorse::cmdBreak_Click() { appendProsign(1); }
void frmMorse::cmdError_Click() { appendProsign(2); }
void frmMorse::cmdEOM_Click() { appendProsign(3); }
void frmMorse::cmdEOC_Click() { appendProsign(4); }

void frmMorse::setMode(bool atOnce) {
    atOnce_ = atOnce;
    keepLettersReady(isVisible());
    // In Single mode every change of the text reaches the Morse box through
    // the key handler; an undo, a Delete or a cut would leave it behind.
    txtText->setEditsByHandlerOnly(!atOnce);
    optAtOnce->setChecked(atOnce);
    optSingle->setChecked(!atOnce);
    for (QPushButton* b : {cmdConvert[0], cmdConvert[1], cmdConvert[2], cmdOpenFile, cmdSaveFile}) b->setEnabled(atOnce);
}

void frmMorse::switchMode(bool toAtOnce) {
    if (busy_ || toAtOnce == atOnce_) {
        // The option already chosen: nothing to ask, nothing changes.
        setMode(atOnce_);
    } else if (txtText->Text().isEmpty() && txtMC->Text().isEmpty()) {
        setMode(toAtOnce);
    } else {
        // Only a yes to this switch's own question lets it go ahead.
        Cleared = 0;
        cmdClr_Click();
        setMode(Cleared == 1 ? toAtOnce : atOnce_);
        Cleared = 0;
    }
    focusBox(txtText);
}

void frmMorse::optSingle_Click() { switchMode(false); }
void frmMorse::optAtOnce_Click() { switchMode(true); }

void frmMorse::cmdClr_Click() {
    if (busy_) return;
    if (MsgBox(L(QStringLiteral("Are You Sure You Want To Clear"), QString::fromUtf8("Sind Sie Sicher, Dass Sie Leeren Möchten")),
               vbYesNo + vbQuestion) == vbNo)
        return;
    txtText->setTextValue(QString());
    txtMC->setTextValue(QString());
    focusBox(txtText);
    Cleared = 1;
}

void frmMorse::cmdConvert_Click(int Index) {
    if (busy_) return;
    busy_ = true;
    if (Index == 0 && txtMC->Tag == kActive) ConvertMorseToText();
    else if (Index == 0 && txtText->Tag == kActive) ConvertTextToMorse();
    if (Index == 1 || Index == 2) PlayMorse(Index);
    busy_ = false;
}

void frmMorse::ConvertTextToMorse() {
    setMousePointer(vbHourglass);
    txtMC->setTextValue(Morse::textToMorse(txtText->Text(), prosigns()));
    setMousePointer(vbArrow);
    caretToEnd(txtText);
    focusBox(txtText);
}

void frmMorse::ConvertMorseToText() {
    setMousePointer(vbHourglass);
    txtText->setTextValue(Morse::morseToText(txtMC->Text(), prosigns()));
    setMousePointer(vbArrow);
    caretToEnd(txtMC);
    focusBox(txtMC);
}

// Each symbol sounds to its end before the next is highlighted: the
// rhythm is that of the six sound files.
void frmMorse::PlayMorse(int speed) {
    const bool slow = speed == 1;
    const QString dash = App::file(slow ? QStringLiteral("Sound/LongSlow.wav") : QStringLiteral("Sound/LongQuick.wav"));
    const QString dot = App::file(slow ? QStringLiteral("Sound/ShortSlow.wav") : QStringLiteral("Sound/ShortQuick.wav"));
    const QString blank = App::file(slow ? QStringLiteral("Sound/BlankSlow.wav") : QStringLiteral("Sound/BlankQuick.wav"));
    // Walked in the document's own positions, where a line break is one
    // character: each step then costs the same however long the text.
    const QString morse = txtMC->document()->toRawText();
    if (!morse.isEmpty()) focusBox(txtMC);
    for (int p = 0; p < int(morse.size()); ++p) {
        QTextCursor symbol = txtMC->textCursor();
        symbol.setPosition(p);
        symbol.setPosition(p + 1, QTextCursor::KeepAnchor);
        txtMC->setTextCursor(symbol);
        const QChar c = morse[p];
        if (c == u'-') PlaySound(dash, 1, false);
        else if (c == u'.') PlaySound(dot, 1, false);
        else if (c == u' ') PlaySound(blank, 1, false);
    }
    focusBox(txtText);
}

void frmMorse::cmdOpenFile_Click() { Morse_OpenFile(); }
void frmMorse::cmdSaveFile_Click() { Morse_SaveFile(); }

namespace {
// The dialog's settings for the active box: Morse documents (".qmc" in
// English, ".zmk" in German) or text documents.
FileDialog::Options documentOptions(bool morse, bool save) {
    FileDialog::Options o;
    if (morse) {
        o.filter = save ? L(QStringLiteral("QEM 's Morse Code (*.qmc)|*.qmc|All Files (*.*)|*.*"),
                            QStringLiteral("ZOV 's Morse Kode (*.zmk)|*.zmk|Alle Dateien (*.*)|*.*"))
                        : L(QStringLiteral("QEM 's Morse Code (*.qmc)|*.qmc|All Files (*.*)|*.*"),
                            QStringLiteral("ZOV's Morse Kode (*.zmk)|*.zmk|Alle Dateien (*.*)|*.*"));
        o.title = save ? L(QStringLiteral("Saving QMC File"), QStringLiteral("Sichere ZMK Datei"))
                       : L(QStringLiteral("Opening QMC File"), QString::fromUtf8("Öffne ZMK Datei"));
        if (save) o.defaultExt = L(QStringLiteral("qmc"), QStringLiteral("zmk"));
    } else {
        o.filter = L(QStringLiteral("Text Document (*.txt)|*.txt|All Files (*.*)|*.*"),
                     QStringLiteral("Text Dokument (*.txt)|*.txt|Alle Dateien (*.*)|*.*"));
        o.title = save ? L(QStringLiteral("Saving Text Document"), QStringLiteral("Sichere Text Dokument"))
                       : L(QStringLiteral("Opening Text Document"), QString::fromUtf8("Öffne Text Dokument"));
        if (save) o.defaultExt = QStringLiteral("txt");
    }
    o.fileName.clear();
    // A document is saved where the program may write: beside it, or in the
    // per-user data folder where the program's folder is read-only.
    o.initialDir = save ? App::dataFolder() : App::path();
    o.filterIndex = 1;
    o.overwritePrompt = true;
    return o;
}
} // namespace

void frmMorse::Morse_OpenFile() {
    TextArea* box = activeBox();
    if (!box || busy_) return;
    const QString path = FileDialog::open(documentOptions(box == txtMC, false));
    if (path.isEmpty()) return;
    Problem::trap(QStringLiteral("Morse_OpenFile"), [&] {
        // Whole or not at all: a read that fails part-way, or a document the
        // box cannot hold, leaves the box as it was.
        QString text = Storage::readDocument(path);
        if (text.isEmpty()) return;
        if (Ansi::isBinary(text)) {
            MsgBox(L(QStringLiteral("\"%1\" is not a text document; it was not opened."),
                     QString::fromUtf8("\"%1\" ist kein Textdokument; es wurde nicht geöffnet."))
                       .arg(QFileInfo(path).fileName()),
                   vbCritical);
            return;
        }
        // The line end that saving writes after the text.
        if (text.endsWith(QStringLiteral("\r\n"))) text.chop(2);
        else if (text.endsWith(u'\n')) text.chop(1);
        box->setTextValue(text);
    });
}

void frmMorse::Morse_SaveFile() {
    TextArea* box = activeBox();
    if (!box || busy_) return;
    const FileDialog::Options o = documentOptions(box == txtMC, true);
    const QString path = FileDialog::save(o);
    if (path.isEmpty()) return;
    Problem::trap(QStringLiteral("Morse_SaveFile"), [&] {
        // Written whole beside the old file and renamed over it: a failed save
        // leaves the old document as it was.
        RuntimeError why{0, QString()};
        if (!Storage::save(path, Ansi::encodeFile(box->Text() + QStringLiteral("\r\n")), &why)) throw why;
    });
}

void frmMorse::Form_QueryUnload(int& Cancel, int) {
    // Playback and conversions run to their end.
    if (busy_) Cancel = 1;
}

void frmMorse::Form_Unload(int&) { ReturnToMenu(); }

void frmMorse::keepLettersReady(bool shown) { KeepMusicReady(shown && !atOnce_); }

void frmMorse::showEvent(QShowEvent* e) {
    Form::showEvent(e);
    keepLettersReady(true);
}

void frmMorse::hideEvent(QHideEvent* e) {
    Form::hideEvent(e);
    keepLettersReady(false);
}

frmMorse::~frmMorse() {
    if (isVisible()) keepLettersReady(false);
}
