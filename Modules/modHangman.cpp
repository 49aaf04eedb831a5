#include "Modules/modHangman.h"

#include "Forms/HangMan1P/frmHmDic.h"
#include "Forms/Main/frmChoice.h"
#include "Modules/modAniGif.h"
#include "Modules/modLanguage.h"
#include "Modules/modMCI.h"
#include "Modules/modResize.h"
#include "Platform/Announce.h"
#include "Platform/App.h"
#include "Platform/Fonts.h"
#include "Platform/MsgBox.h"
#include "Platform/Random.h"
#include "Platform/TextEditing.h"
#include "Platform/Timer.h"

#include <QFileInfo>
#include <QListWidget>
#include <QMouseEvent>
#include <QPalette>

#include <algorithm>
#include <cmath>

// The gallows pictures and the pointer live in the core library's resources.
static void initHangmanResources() { Q_INIT_RESOURCE(hangman); }

std::unique_ptr<clsHangMan> HangmanGame = std::make_unique<clsHangMan>();

void newHangmanGame() { HangmanGame = std::make_unique<clsHangMan>(); }

QColor backColor(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) ? w->palette().color(QPalette::Base)
                                             : w->palette().color(QPalette::Window);
}

void setBackColor(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    if (qobject_cast<QLineEdit*>(w)) {
        p.setColor(QPalette::Base, c);
    } else {
        w->setAttribute(Qt::WA_TranslucentBackground, false);
        w->setAttribute(Qt::WA_NoSystemBackground, false);
        w->setAutoFillBackground(true);
        p.setColor(QPalette::Window, c);
    }
    w->setPalette(p);
}

namespace {

QString inLanguage(const char* english, const char* german) {
    return L(QString::fromUtf8(english), QString::fromUtf8(german));
}

// The text colour; a disabled control (a letter already used) stays grey.
void setInk(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(g, QPalette::WindowText, c);
        p.setColor(g, QPalette::Text, c);
    }
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
    w->setPalette(p);
}

Label* label(QWidget* parent, const QString& caption, const QString& font, double size, int x, int y, int w, int h,
             Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* l = new Label(caption, parent);
    l->setGeometry(x, y, w, h);
    l->setFont(Fonts::font(font, size));
    l->setAlignment(align);
    return l;
}

PictureButton* button(QWidget* parent, const QString& caption, int x, int y, int w, int h) {
    auto* b = new PictureButton(caption, parent);
    b->setGeometry(x, y, w, h);
    b->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 14));
    b->setAccessibleName(captionText(caption));
    return b;
}

QPixmap stagePicture(int stage) { return QPixmap(QStringLiteral(":/hangman/stage%1.png").arg(stage)); }

// Fitting a caption to its control: the font size the control has before
// any shrinking (its design size, or what the last resize gave it).
const char* const kFitBase = "_hangman_fit_base";
// A text the control fits instead of its own (a box or label for one letter
// fits the widest letter, so a row of them keeps one size).
const char* const kFitSample = "_hangman_fit_sample";
constexpr double kSmallestFont = 6;

// A label shrinks its own caption (Label::setShrinkToFit) unless it fits a
// sample text.
bool shrinksItself(const QWidget* w) {
    return qobject_cast<const Label*>(w) && w->property(kFitSample).toString().isEmpty();
}

// The text to fit and the width it has.
QString fitText(const QWidget* w) {
    const QString sample = w->property(kFitSample).toString();
    if (!sample.isEmpty()) return sample;
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) return captionText(b->text());
    if (auto* g = qobject_cast<const QGroupBox*>(w)) return captionText(g->title());
    if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
    if (auto* c = qobject_cast<const QComboBox*>(w)) {
        // The longest item, so the size stays when another level is chosen.
        QString longest;
        for (int i = 0; i < c->count(); ++i)
            if (c->itemText(i).size() > longest.size()) longest = c->itemText(i);
        return longest;
    }
    return QString();
}

int fitRoom(const QWidget* w) {
    if (qobject_cast<const QGroupBox*>(w)) return w->width() - 16;
    if (qobject_cast<const QComboBox*>(w)) return w->width() - 34;
    if (qobject_cast<const QLineEdit*>(w)) return w->width() - 8;
    if (qobject_cast<const QLabel*>(w)) return w->contentsRect().width() - 2;
    return w->width() - 12;
}

void fitFont(QWidget* w) {
    const double base = w->property(kFitBase).toDouble();
    if (base <= 0 || shrinksItself(w)) return;
    QFont f = w->font();
    f.setPointSizeF(base);
    f = Fonts::fitted(f, fitText(w), fitRoom(w), kSmallestFont);
    if (f.pointSizeF() != w->font().pointSizeF()) w->setFont(f);
}

// A caption too long even for the smallest size ends in "…"; its whole
// text stays the label's name and tooltip.
void elideToWidth(Label* l) {
    const QString whole = l->Caption();
    const int room = l->contentsRect().width() - 2;
    if (l->fontMetrics().horizontalAdvance(whole) <= room) return;
    l->setText(l->fontMetrics().elidedText(whole, Qt::ElideRight, room));
    l->setToolTip(whole);
    l->setAccessibleName(whole);
}

} // namespace

void setButtonCaption(PictureButton* b, const QString& caption) {
    b->setCaption(caption);
    b->setAccessibleName(captionText(caption));
    fitFont(b);
}

void setFrameCaption(Frame* f, const QString& caption) {
    f->setCaption(caption);
    fitFont(f);
}

void showName(Label* l, const QString& name) {
    // Labels show their caption as plain text: a name is never read as
    // markup or as an access key.
    l->setToolTip(QString());
    l->setCaption(name);
    elideToWidth(l);
}

QString shownName(const Label* l) { return l->Caption(); }

QString playerName(const QString& typed) {
    const QString name = EditKeys::oneLine(typed);
    QString inner;
    int open = 0;
    bool needed = false;
    for (QChar c : name) {
        const QChar::Direction d = c.direction();
        if (d == QChar::DirR || d == QChar::DirAL || (d >= QChar::DirLRE && d <= QChar::DirPDF) ||
            (d >= QChar::DirLRI && d <= QChar::DirPDI))
            needed = true;
        // A pop the name did not open would close the isolation early.
        if (d == QChar::DirLRI || d == QChar::DirRLI || d == QChar::DirFSI) {
            ++open;
        } else if (d == QChar::DirPDI) {
            if (open == 0) continue;
            --open;
        }
        inner += c;
    }
    return needed ? QChar(0x2068) + inner + QChar(0x2069) : inner;
}

// ---------------------------------------------------------------- board --

void HangmanWindow::buildBoard(const QColor& back, const QColor& ink, const QColor& letterColor) {
    initHangmanResources();
    letterColor_ = letterColor;
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, back);
    p.setColor(QPalette::WindowText, ink);
    setPalette(p);

    const QString blades = QStringLiteral("BLADES"), impact = QStringLiteral("Impact"),
                  haett = QStringLiteral("Haettenschweiler"), arial = QStringLiteral("Arial");

    lblHEAD = label(this, QString(), blades, 28, 20, 8, 500, 50);
    for (const char* c : {"X", "_"}) {
        const int i = int(lblCtrl.size());
        Label* l = label(this, QString::fromLatin1(c), arial, 16, i == 0 ? 858 : 820, 8, 32, 32, Qt::AlignCenter);
        l->setFontBold(true);
        l->setCursor(Qt::PointingHandCursor);
        // The glyph stands for what the button does: readers say that.
        l->setFunctionName(i == 0 ? inLanguage("Close", "Schließen") : inLanguage("Minimise", "Minimieren"));
        lblCtrl << l;
    }
    // A clear gap between a name and the total after it.
    lblALIAS1 = label(this, QString(), impact, 16, 20, 64, 212, 30);
    lblALIAS1->setTextFormat(Qt::PlainText);
    lblTOTAL1 = label(this, QString(), impact, 16, 245, 64, 80, 30);
    lblNR1 = label(this, QStringLiteral("?"), blades, 26, 340, 58, 40, 38, Qt::AlignCenter);
    lblNR2 = label(this, QStringLiteral("?"), blades, 26, 850, 58, 40, 38, Qt::AlignCenter);

    // The frame first, then the stick-man, then the gallows over both.
    lblFRAME = new Label(QString(), this);
    lblFRAME->setGeometry(20, 110, 300, 300);
    lblFRAME->setBorderStyle(1);
    // Its click (the cheat) is a key's too: a stop of Tab, a button to readers.
    lblFRAME->setFocusPolicy(Qt::TabFocus);
    lblFRAME->setFunctionName(inLanguage("Gallows", "Galgen"));
    auto* gif = new Image(this);
    gif->setGeometry(30, 120, 280, 280);
    gif->setStretch(true);
    imgGif << gif;
    TimerGif = new Timer(this, 0, false);
    picBLANK = new Image(this);
    picBLANK->setGeometry(30, 120, 280, 280);
    picBLANK->setPicture(QPixmap(QStringLiteral(":/hangman/blank.png")));
    picBLANK->setVisible(false);
    // The store of stage pictures lies under element 0, which is opaque.
    imgHM = new Image(this);
    imgHM->setPicture(stagePicture(1));
    for (int i = 0; i <= 6; ++i) {
        auto* img = new Image(this);
        if (i > 0) img->setPicture(stagePicture(i + 1));
        imgHANGMAN << img;
    }
    QList<Image*> stages = imgHANGMAN;
    stages << imgHM;
    for (Image* img : stages) {
        img->setGeometry(30, 120, 280, 280);
        img->setStretch(true);
        img->setVisible(false);
    }
    setBackColor(imgHANGMAN[0], QColor(0xf3, 0xea, 0xd2));
    imgHANGMAN[0]->raise();
    lblCHEAT = label(this, QStringLiteral("Cheat Enabled"), haett, 14, 20, 415, 300, 24, Qt::AlignCenter);
    lblCHEAT->setVisible(false);

    lblCount = label(this, QString(), haett, 16, 340, 180, 300, 24);
    lblTEMP = label(this, QString(), haett, 18, 690, 180, 200, 24, Qt::AlignRight | Qt::AlignVCenter);
    lblEXC = label(this, QStringLiteral("EXCELLENT"), haett, 24, 340, 208, 550, 36, Qt::AlignCenter);
    lblLASTRY = label(this, QStringLiteral("LAST TRY"), haett, 24, 340, 208, 270, 36, Qt::AlignCenter);
    lblLOSER = label(this, QStringLiteral("LOSER"), haett, 24, 620, 208, 270, 36, Qt::AlignCenter);
    setInk(lblEXC, QColor(255, 200, 0));
    setInk(lblLASTRY, QColor(255, 128, 0));
    setInk(lblLOSER, HangmanColors::red);
    for (Label* l : {lblEXC, lblLASTRY, lblLOSER}) l->setVisible(false);

    fraENTERL = new Frame(QStringLiteral("Enter Letter"), this);
    fraENTERL->setGeometry(340, 250, 200, 80);
    txtENTERL = new TextBox(fraENTERL);
    txtENTERL->setGeometry(15, 28, 50, 40);
    txtENTERL->setFont(Fonts::font(haett, 20));
    txtENTERL->setAlignment(Qt::AlignCenter);
    txtENTERL->setMaxLength(1);
    txtENTERL->setAccessibleName(QStringLiteral("Enter Letter"));
    cmdOKL = button(fraENTERL, QStringLiteral("OK"), 80, 28, 100, 40);

    fraENTERW = new Frame(QStringLiteral("Used Letters"), this);
    fraENTERW->setGeometry(560, 250, 330, 80);
    txtUSED = new TextBox(fraENTERW);
    txtUSED->setGeometry(12, 28, 306, 40);
    txtUSED->setFont(Fonts::font(blades, 16));
    txtUSED->setReadOnly(true);
    txtUSED->setVisible(false);
    txtUSED->setAccessibleName(QStringLiteral("Used Letters"));
    // Every used letter stays in view: the font shrinks as the row grows.
    connect(txtUSED, &QLineEdit::textChanged, this, [this] { fitFont(txtUSED); });

    fraLEVEL = new Frame(QStringLiteral("Difficulty Level"), this);
    fraLEVEL->setGeometry(340, 340, 200, 70);
    cboLEVEL = new QComboBox(fraLEVEL);
    cboLEVEL->setGeometry(15, 28, 170, 30);
    cboLEVEL->setFont(Fonts::font(haett, 14));
    cboLEVEL->setEditable(true);
    cboLEVEL->addItems({QStringLiteral("Easy"), QStringLiteral("Medium"), QStringLiteral("Hard")});
    cboLEVEL->setCurrentIndex(1);
    cboLEVEL->setAccessibleName(QStringLiteral("Difficulty Level"));
    // The level's own text box takes the focus too.
    cboLEVEL->lineEdit()->setAccessibleName(cboLEVEL->accessibleName());
    for (Frame* f : {fraENTERL, fraENTERW, fraLEVEL}) f->setFont(Fonts::font(arial, 9));

    cmdPROCEED = button(this, QStringLiteral("Start"), 560, 345, 160, 32);
    cmdRESTART = button(this, QStringLiteral("Restart"), 730, 345, 160, 32);
    cmdHELP = button(this, QStringLiteral("Help"), 560, 382, 160, 28);

    for (int i = 0; i < 26; ++i) {
        Label* l = label(this, QString(QChar(u'A' + i)), haett, 24, 20 + (i % 13) * 67, 440 + (i / 13) * 58, 60, 50,
                         Qt::AlignCenter);
        setInk(l, letterColor);
        l->setCursor(Qt::PointingHandCursor);
        l->setAccessibleName(l->Caption());
        lblL << l;
    }

    // Captions keep to their controls at any window size; a row of single
    // letters keeps one size, the one its widest letter fits.
    for (QWidget* w : std::initializer_list<QWidget*>{lblHEAD, lblCtrl[0], lblCtrl[1], lblALIAS1, lblTOTAL1, lblNR1,
                                                      lblNR2, lblCHEAT, lblCount, lblTEMP, lblEXC, lblLASTRY, lblLOSER,
                                                      fraENTERL, cmdOKL, fraENTERW, txtUSED, fraLEVEL, cboLEVEL,
                                                      cmdPROCEED, cmdRESTART, cmdHELP})
        fitToWidth(w);
    fitToWidth(txtENTERL, QStringLiteral("W"));
    const QFontMetrics letters(lblL[0]->font());
    const Label* widest = *std::max_element(lblL.begin(), lblL.end(), [&](const Label* a, const Label* b) {
        return letters.horizontalAdvance(a->Caption()) < letters.horizontalAdvance(b->Caption());
    });
    for (Label* l : lblL) fitToWidth(l, widest->Caption());
    // Fonts follow the window's height: at two thirds of the design size
    // (rounded up) the smallest caption, the frames' 9 points, keeps 6.
    setMinimumSize((width() * 2 + 2) / 3, (height() * 2 + 2) / 3);

    // The guessing controls wait for the first word.
    for (QWidget* w : std::initializer_list<QWidget*>{cmdRESTART, cmdHELP, txtENTERL, fraENTERL, cmdOKL})
        w->setEnabled(false);
    for (Label* l : lblL) l->setEnabled(false);
    noteFontSizes();
    setKeyPreview(true);

    lblFRAME->onClick = [this] { lblFRAME_Click(); };
    connect(TimerGif, &Timer::tick, this, [this] { TimerGif_Timer(); });
    txtENTERL->onKeyPress = [this](int& KeyAscii) { txtENTERL_KeyPress(KeyAscii); };
    connect(cmdOKL, &QPushButton::clicked, this, [this] { cmdOKL_Click(); });
    for (int i = 0; i < 26; ++i) {
        Label* l = lblL[i];
        l->onClick = [this, i] { lblL_Click(i); };
        l->onMouseMove = [this, i](int b, int s, int x, int y) { lblL_MouseMove(i, b, s, x, y); };
        l->onMouseDown = [this, i](int b, int s, int x, int y) { lblL_MouseDown(i, b, s, x, y); };
        l->onMouseUp = [this, i](int b, int s, int x, int y) { lblL_MouseUp(i, b, s, x, y); };
    }
    for (int i = 0; i < 2; ++i) {
        Label* l = lblCtrl[i];
        l->onClick = [this, i] { lblCtrl_Click(i); };
        l->onMouseDown = [this, i](int b, int s, int x, int y) { lblCtrl_MouseDown(i, b, s, x, y); };
        l->onMouseUp = [this, i](int b, int s, int x, int y) { lblCtrl_MouseUp(i, b, s, x, y); };
    }
    for (Frame* f : {fraENTERL, fraENTERW, fraLEVEL})
        f->onMouseMove = [this](int b, int s, int x, int y) { Form_MouseMove(b, s, x, y); };
}

void HangmanWindow::loadBoard() {
    imgHANGMAN[0]->setPicture(picBLANK->Picture());
    for (Image* img : imgHANGMAN) img->setVisible(false);
    TimerGif->setEnabled(false);
    GifFile = App::file(QStringLiteral("Pics/Stickman.gif"));
    if (LoadAniGif(GifFile, imgGif)) {
        CurrentFrame = 0;
        imgGif[0]->setVisible(true);
        TimerGif->setInterval(imgGif[0]->Tag.toInt());
        TimerGif->setEnabled(true);
        lblFRAME->lower();
    }
    if (isFormLoaded<class frmChoice>()) frmChoice()->setVisible(false);
}

void HangmanWindow::maximiseForGame() {
    LastWidth = width() * twipsPerPixel;
    LastHeight = height() * twipsPerPixel;
    setWindowState(windowState() | Qt::WindowMaximized);
}

void HangmanWindow::noteFontSizes() {
    LetterFontSize = lblL[0]->FontSize();
    CtrlFontSize = int(std::lround(lblCtrl[0]->FontSize()));
}

void HangmanWindow::fitToWidth(QWidget* w, const QString& sample) {
    w->setProperty(kFitBase, w->font().pointSizeF());
    if (!sample.isEmpty()) w->setProperty(kFitSample, sample);
    if (!fitted_.contains(w)) fitted_ << w;
    if (shrinksItself(w)) static_cast<Label*>(w)->setShrinkToFit(true);
    else fitFont(w);
}

void HangmanWindow::Form_Resize() {
    if (windowState() & Qt::WindowMinimized) return;
    // Drawn once, when every control has its new place.
    setUpdatesEnabled(false);
    // The resize scales from the sizes it gave, not from the shrunk ones;
    // every caption then fits its new width again.
    for (QWidget* w : fitted_) {
        if (shrinksItself(w)) static_cast<Label*>(w)->setShrinkToFit(false);
        QFont f = w->font();
        f.setPointSizeF(w->property(kFitBase).toDouble());
        w->setFont(f);
    }
    ResizeControls(this, LastWidth, LastHeight);
    for (QWidget* w : fitted_) {
        fitToWidth(w);
        if (shrinksItself(w)) {
            auto* l = static_cast<Label*>(w);
            l->setCaption(l->Caption()); // the whole caption again, then fitted
            elideToWidth(l);
        }
    }
    noteFontSizes();
    setUpdatesEnabled(true);
}

void HangmanWindow::mousePressEvent(QMouseEvent* e) {
    // Only the window's own surface: a frame passes its clicks up to here.
    pressedOnBackground_ = e->button() == Qt::LeftButton && !childAt(e->position().toPoint());
    Form::mousePressEvent(e);
}

void HangmanWindow::mouseReleaseEvent(QMouseEvent* e) {
    const bool clicked = pressedOnBackground_ && e->button() == Qt::LeftButton;
    pressedOnBackground_ = false;
    Form::mouseReleaseEvent(e);
    if (clicked) Form_Click();
}

void HangmanWindow::Form_Click() { PlayMusic(QStringLiteral("Bounce.mp3")); }

void HangmanWindow::TimerGif_Timer() { AnimateGif(this); }

void HangmanWindow::lblFRAME_Click() { ToggleCheat(this); }

void HangmanWindow::Form_KeyDown(int& KeyCode, int) {
    if (KeyCode != 13) return;
    // A focused button takes Enter itself (Form); elsewhere it clicks the
    // default button.
    PictureButton* target = defaultButton_;
    if (!target || !target->isEnabled() || !target->isVisible()) return;
    KeyCode = 0;
    target->click();
}

void HangmanWindow::txtENTERL_KeyPress(int& KeyAscii) { KeyAscii = FilterLetterKey(this, KeyAscii); }

void HangmanWindow::cmdOKL_Click() { submitLetter(this); }

void HangmanWindow::lblL_Click(int Index) {
    Label* l = lblL[Index];
    if (!l->isEnabled()) return;
    l->setEnabled(false);
    txtENTERL->setText(l->Caption());
    submitLetter(this);
}

void HangmanWindow::lblL_MouseMove(int Index, int, int, int, int) {
    HoverIndex = Index;
    setInk(lblL[Index], HangmanColors::red);
    if (HoverIndex != PrevHoverIndex && PrevHoverIndex >= 0 && PrevHoverIndex < lblL.size())
        setInk(lblL[PrevHoverIndex], letterColor_);
    PrevHoverIndex = HoverIndex;
}

void HangmanWindow::Form_MouseMove(int, int, int, int) {
    for (Label* l : lblL) setInk(l, letterColor_);
}

void HangmanWindow::lblL_MouseDown(int Index, int, int, int, int) {
    lblL[Index]->setFontSize(std::max(1.0, LetterFontSize - 4));
}

void HangmanWindow::lblL_MouseUp(int Index, int, int, int, int) { lblL[Index]->setFontSize(LetterFontSize); }

void HangmanWindow::lblCtrl_MouseDown(int Index, int, int, int, int) {
    lblCtrl[Index]->setFontSize(std::max(1, CtrlFontSize - 4));
}

void HangmanWindow::lblCtrl_MouseUp(int Index, int, int, int, int) { lblCtrl[Index]->setFontSize(CtrlFontSize); }

void HangmanWindow::lblCtrl_Click(int Index) {
    if (Index == 0) Unload();
    else setWindowState(windowState() | Qt::WindowMinimized);
}

// --------------------------------------------------------------- engine --

namespace {

QString levelText(const HangmanWindow* frm) { return frm->cboLEVEL->currentText(); }

void setWordOver(HangmanWindow* frm, const QColor& letterBox) {
    frm->cmdHELP->setEnabled(false);
    frm->txtENTERL->setEnabled(false);
    setBackColor(frm->txtENTERL, letterBox);
    frm->cmdOKL->setEnabled(false);
    setButtonCaption(frm->cmdRESTART, inLanguage("Next", "Weiter"));
    for (Label* l : frm->lblL) l->setEnabled(false);
}

} // namespace

void SetLangHangmanBoard(HangmanWindow* frm) {
    frm->lblLASTRY->setCaption(QStringLiteral("LETZTES MAL"));
    setFrameCaption(frm->fraENTERL, QStringLiteral("Buchstaben-Eingabe"));
    frm->lblCHEAT->setCaption(QStringLiteral("Mogeln An"));
    setButtonCaption(frm->cmdRESTART, QStringLiteral("Neustart"));
    setButtonCaption(frm->cmdHELP, QStringLiteral("Hilfe"));
    frm->lblEXC->setCaption(QStringLiteral("HERVORRAGEND"));
    frm->lblLOSER->setCaption(QStringLiteral("VERLIERER"));
    setFrameCaption(frm->fraLEVEL, QStringLiteral("Schwierigkeitsgrad"));
    const int level = frm->cboLEVEL->currentIndex();
    frm->cboLEVEL->clear();
    frm->cboLEVEL->addItems({QStringLiteral("Leicht"), QStringLiteral("Mittel"), QStringLiteral("Schwer")});
    frm->cboLEVEL->setCurrentIndex(level);
    fitFont(frm->cboLEVEL);
    frm->txtENTERL->setAccessibleName(frm->fraENTERL->Caption());
    frm->txtUSED->setAccessibleName(QStringLiteral("Benutzte Buchstaben"));
    frm->cboLEVEL->setAccessibleName(frm->fraLEVEL->Caption());
    frm->cboLEVEL->lineEdit()->setAccessibleName(frm->fraLEVEL->Caption());
}

void ToggleCheat(HangmanWindow* frm) {
    PlayMusic(QStringLiteral("Cheat.mp3"));
    if (!frm->cmdPROCEED->isVisible()) return;
    if (HangmanGame->Cheat() != 1) {
        frm->lblCHEAT->setVisible(true);
        HangmanGame->setWrong(10);
        HangmanGame->setCheat(1);
        MsgBox(inLanguage("Cheat enabled", "Mogeln eingeschaltet"), vbExclamation);
    } else {
        HangmanGame->setWrong(0);
        HangmanGame->setCheat(0);
        frm->lblCHEAT->setVisible(false);
        MsgBox(inLanguage("Cheat disabled", "Mogeln ausgeschaltet"), vbExclamation);
    }
}

void NormaliseLevelText(HangmanWindow* frm) {
    const QString t = levelText(frm);
    QString normal;
    if (isGerman()) normal = t == QLatin1String("Leicht") || t == QLatin1String("Schwer") ? t : QStringLiteral("Mittel");
    else normal = t == QLatin1String("Easy") || t == QLatin1String("Hard") ? t : QStringLiteral("Medium");
    const int index = frm->cboLEVEL->findText(normal);
    if (index >= 0) frm->cboLEVEL->setCurrentIndex(index);
    frm->cboLEVEL->setEditText(normal);
}

bool isEasyLevel(const HangmanWindow* frm) {
    const QString t = levelText(frm);
    return t == QLatin1String("Easy") || t == QLatin1String("Leicht");
}

bool isHardLevel(const HangmanWindow* frm) {
    const QString t = levelText(frm);
    return t == QLatin1String("Hard") || t == QLatin1String("Schwer");
}

void ApplyLevel(HangmanWindow* frm) {
    if (isEasyLevel(frm)) {
        frm->cmdHELP->setVisible(true);
        frm->cmdHELP->setEnabled(true);
    } else {
        frm->cmdHELP->setVisible(false);
    }
    const bool hard = isHardLevel(frm);
    for (Label* l : frm->lblL) l->setVisible(!hard);
}

void PickRandomWord(HangmanWindow* frm) {
    Randomize();
    QListWidget* list = frmHmDic()->lstSHOW;
    const int count = list->count();
    if (count == 0) return;
    const int index = std::clamp(int(std::floor(count * Rnd())), 0, count - 1);
    const QString word = list->item(index)->text().toUpper();
    frm->lblWord->setCaption(word);
    frm->lblHid->setCaption(word);
    frm->lblWord->setCaption(QString(word.size(), u'-'));
}

void RevealSpaces(HangmanWindow* frm) {
    const QString hidden = frm->lblHid->Caption();
    QString shown = frm->lblWord->Caption();
    for (qsizetype at = hidden.indexOf(u' '); at >= 0; at = hidden.indexOf(u' ', at + 1))
        if (at < shown.size()) shown[at] = u' ';
    frm->lblWord->setCaption(shown);
}

void BeginGuessing(HangmanWindow* frm) {
    if (frm->twoPlayers()) {
        for (int i = 0; i < frm->txt.size(); ++i) {
            const QString t = frm->txt[i]->Text();
            setBackColor(frm->lbl[i], t.isEmpty() || t == QLatin1String(" ") ? HangmanColors::darkGreen
                                                                             : HangmanColors::brightGreen);
        }
        setBackColor(frm->txtENTERL, HangmanColors::brightGreen);
        setFrameCaption(frm->fraENTERW, inLanguage("Used Letters", "Benutzte Buchstaben"));
        NameLetterBoxes(frm);
    } else {
        setBackColor(frm->lblWord, HangmanColors::lightBlue);
        setBackColor(frm->txtENTERL, HangmanColors::lightBlue);
    }
    frm->txtUSED->setVisible(true);
    frm->cmdPROCEED->setVisible(false);
    setButtonCaption(frm->cmdPROCEED, inLanguage("Proceed", "Weiter"));
    frm->cmdRESTART->setEnabled(true);
    frm->cboLEVEL->setEnabled(false);
    frm->fraLEVEL->setEnabled(false);
    frm->cmdHELP->setEnabled(true);
    frm->fraENTERL->setEnabled(true);
    frm->txtENTERL->setEnabled(true);
    // Each word starts with an empty letter box.
    frm->txtENTERL->clear();
    frm->txtENTERL->setFocus();
    frm->cmdOKL->setEnabled(true);
    frm->setDefaultButton(frm->cmdOKL);
    for (Image* img : frm->imgHANGMAN) img->setVisible(true);
    frm->imgHANGMAN[0]->raise();
    frm->TimerGif->setEnabled(false);
    frm->imgGif[0]->lower();
    for (Label* l : frm->lblL) l->setEnabled(true);
}

int FilterLetterKey(HangmanWindow* frm, int KeyAscii) {
    TextBox* box = frm->txtENTERL;
    if (KeyAscii >= 97 && KeyAscii <= 122) {
        // One letter at most: the letter typed last replaces the one there,
        // so what is submitted is always what the player typed last.
        box->clear();
        frm->cmdOKL->setFocus();
        return KeyAscii - 32;
    }
    if (KeyAscii == 8) {
        box->clear();
        box->setFocus();
        return 8;
    }
    box->setFocus();
    return 0;
}

bool CheckLetterEntered(HangmanWindow* frm, bool fromHelp) {
    const QString t = frm->txtENTERL->Text();
    // A letter that reached the box some other way than the key filter
    // (more than one character, a digit, a sign) counts as none.
    const bool letter = t.size() == 1 && (fromHelp || (t[0] >= u'A' && t[0] <= u'Z'));
    if (letter) return true;
    PlayMusic(QStringLiteral("Wrong.mp3"));
    MsgBox(inLanguage("You must type in a letter", "Sie müssen einen Buchstaben eingeben"), vbExclamation);
    frm->txtENTERL->clear();
    frm->txtENTERL->setFocus();
    return false;
}

int CheckUsedLetter(HangmanWindow* frm) {
    const QString letter = frm->txtENTERL->Text();
    const int position = int(frm->txtUSED->Text().indexOf(letter, 0, Qt::CaseInsensitive)) + 1;
    if (position != 0) {
        PlayMusic(QStringLiteral("Wrong.mp3"));
        MsgBox(inLanguage("You have already used this letter", "Sie haben diesen Buchstaben bereits verwendet"),
               vbExclamation);
        frm->txtENTERL->setFocus();
        frm->txtENTERL->selectAll();
    } else {
        // Every level keeps the used letters, so Hard refuses a repeat too.
        frm->txtUSED->setText(frm->txtUSED->Text() + letter);
    }
    return position;
}

void ApplyLetter(HangmanWindow* frm) {
    const QString letter = frm->txtENTERL->Text();
    if (frm->twoPlayers()) {
        for (int i = 0; i < frm->txt.size(); ++i) {
            if (frm->txt[i]->Text() == letter) {
                HangmanGame->setRight(1);
                frm->lbl[i]->setCaption(frm->txt[i]->Text());
            }
        }
        NameLetterBoxes(frm);
        if (HangmanGame->Right() == 1) PlayMusic(QStringLiteral("Right.mp3"));
    } else {
        const QString hidden = frm->lblHid->Caption();
        if (hidden.contains(letter)) {
            PlayMusic(QStringLiteral("Right.mp3"));
            HangmanGame->setRight(1);
        }
        QString shown = frm->lblWord->Caption();
        for (qsizetype at = hidden.indexOf(letter); at >= 0 && !letter.isEmpty(); at = hidden.indexOf(letter, at + 1))
            if (at < shown.size()) shown[at] = letter[0];
        frm->lblWord->setCaption(shown);
    }
    for (Label* l : frm->lblL)
        if (l->Caption() == letter) l->setEnabled(false);
}

void AfterGuess(HangmanWindow* frm) {
    EvaluateGuess(frm);
    frm->txtENTERL->clear();
    if (!frm->txtENTERL->isEnabled()) frm->cmdRESTART->setFocus();
    else frm->txtENTERL->setFocus();
}

namespace {
// The word as the player sees it (or, with `solution`, as it is), spelled
// out for screen readers: each letter apart, a hidden one as "-", the words
// apart by commas; as far as a notice tells it, however long the word.
QString spelledWord(const HangmanWindow* frm, bool solution) {
    QString shown;
    if (frm->twoPlayers()) {
        for (int i = 0; i < frm->txt.size(); ++i) {
            const QString letter = frm->txt[i]->Text();
            const QString caption = frm->lbl[i]->Caption();
            if (letter == QLatin1String(" ")) shown += u' ';
            else if (solution) shown += letter;
            else if (!letter.isEmpty()) shown += caption.isEmpty() ? QStringLiteral("-") : caption;
        }
    } else {
        shown = solution ? frm->lblHid->Caption() : frm->lblWord->Caption();
    }
    QString spelled;
    bool inWord = false;
    for (const QChar c : std::as_const(shown)) {
        if (spelled.size() >= kLongestTold) break;
        if (c == u' ') {
            inWord = false;
            continue;
        }
        if (inWord) spelled += u' ';
        else if (!spelled.isEmpty()) spelled += QStringLiteral(", ");
        spelled += c;
        inWord = true;
    }
    return spelled;
}

// A guess's outcome, which a sighted player sees in the word or on the
// gallows, told to screen readers before any message about the word: a
// miss with its count, except while the cheat is on (no miss counts then),
// and with the solution the seventh miss uncovers.
void tellGuess(HangmanWindow* frm) {
    if (!readersListen()) return;
    const clsHangMan& game = *HangmanGame;
    const QString letter = frm->txtENTERL->Text();
    if (game.Right() != 0) {
        tellReaders(frm->txtENTERL,
                    inLanguage("Right: ", "Richtig: ") + letter + QStringLiteral(". ") + spelledWord(frm, false));
        return;
    }
    QString told = inLanguage("Wrong: ", "Falsch: ") + letter + u'.';
    if (game.Cheat() == 0) {
        const int misses = game.Wrong() + 1;
        told += u' ' + QString::number(misses) + inLanguage(" of 7 misses", " von 7 Fehlern");
        if (misses == 7) told += inLanguage(". Solution: ", ". Lösung: ") + spelledWord(frm, true);
    }
    tellReaders(frm->txtENTERL, told);
}
} // namespace

void EvaluateGuess(HangmanWindow* frm) {
    tellGuess(frm);
    clsHangMan& game = *HangmanGame;
    bool solved = true;
    if (frm->twoPlayers()) {
        for (int i = 0; i < frm->txt.size(); ++i)
            if (frm->lbl[i]->Caption() != frm->txt[i]->Text()) solved = false;
    } else {
        solved = frm->lblWord->Caption() == frm->lblHid->Caption();
    }
    if (solved) {
        if (game.Wrong() == 0) frm->lblEXC->setVisible(true);
        PlayMusic(QStringLiteral("Winner.mp3"));
        MsgBox(inLanguage("Congratulations", "Herzlichen Glückwunsch"), vbExclamation);
        setWordOver(frm, frm->twoPlayers() ? HangmanColors::green : HangmanColors::blue);
        game.setGames(qint16(game.Games() + 1));
        frm->lblTEMP->setCaption(QStringLiteral("+") + QString::number(game.Score()));
    }
    if (game.Right() == 0) {
        PlayMusic(QStringLiteral("Wrong.mp3"));
        game.setWrong(qint16(game.Wrong() + 1));
        const int wrong = game.Wrong();
        if (wrong >= 1 && wrong <= 7) {
            Image* stage = wrong == 1 ? frm->imgHM : frm->imgHANGMAN[wrong - 1];
            frm->imgHANGMAN[0]->setPicture(stage->Picture());
            game.setScore(qint16(140 - 20 * wrong));
        }
        if (wrong == 6) {
            if (!isHardLevel(frm)) frm->lblLASTRY->setVisible(true);
            PlayMusic(QStringLiteral("Warn.mp3"));
        }
        if (wrong == 7) {
            frm->lblLOSER->setVisible(true);
            PlayMusic(QStringLiteral("GameOver.mp3"));
            MsgBox(inLanguage("Game Over", "Spiel beendet"), vbExclamation);
            setWordOver(frm, HangmanColors::blue);
            if (frm->twoPlayers()) {
                for (int i = 0; i < frm->txt.size(); ++i) frm->lbl[i]->setCaption(frm->txt[i]->Text());
                NameLetterBoxes(frm);
            } else {
                frm->lblWord->setCaption(frm->lblHid->Caption());
            }
            game.setGames(qint16(game.Games() + 1));
            frm->lblTEMP->setCaption(QStringLiteral("+0"));
        }
    }
    if (game.Right() > 0) game.setRight(0);
}

void ResetRound(HangmanWindow* frm) {
    PlayMusic(QStringLiteral("New.mp3"));
    if (frm->twoPlayers()) {
        setBackColor(frm->txtENTERL, HangmanColors::green);
        setFrameCaption(frm->fraENTERW, inLanguage("Enter Word(s)", "Wort(gruppen) Eingabe"));
        frm->txtUSED->clear();
        frm->txtUSED->setVisible(false);
        frm->cmdPROCEED->setVisible(true);
        frm->setDefaultButton(frm->cmdPROCEED);
        for (int i = 0; i < frm->txt.size(); ++i) {
            setBackColor(frm->lbl[i], HangmanColors::green);
            frm->lbl[i]->setCaption(QString());
            frm->txt[i]->clear();
            frm->txt[i]->setVisible(true);
        }
        NameLetterBoxes(frm);
        if (!frm->txt.isEmpty()) frm->txt[0]->setFocus();
    } else {
        frm->lblWord->setCaption(QString());
        setBackColor(frm->txtENTERL, HangmanColors::blue);
        setBackColor(frm->lblWord, HangmanColors::lightBlue);
    }
    for (Label* l : frm->lblL) l->setEnabled(false);
    frm->txtUSED->clear();
    frm->txtUSED->setVisible(false);
    // A letter refused in the word before is not carried over.
    frm->txtENTERL->clear();
    for (Label* l : {frm->lblEXC, frm->lblLOSER, frm->lblLASTRY}) l->setVisible(false);
    frm->imgHANGMAN[0]->setPicture(frm->picBLANK->Picture());
    frm->lblTEMP->setCaption(QString());
    frm->lblCount->setCaption(QString());
    for (QWidget* w : std::initializer_list<QWidget*>{frm->cmdRESTART, frm->cmdHELP, frm->txtENTERL, frm->fraENTERL,
                                                      frm->cmdOKL})
        w->setEnabled(false);
    if (HangmanGame->Cheat() == 0) frm->lblCHEAT->setVisible(false);
}

void NameLetterBoxes(HangmanWindow* frm) {
    for (int i = 0; i < frm->lbl.size() && i < frm->txt.size(); ++i) {
        const QString letter = frm->txt[i]->Text();
        const QString caption = frm->lbl[i]->Caption();
        QString name = caption;
        if (letter.isEmpty()) name = inLanguage("Unused", "Unbenutzt");
        else if (letter == QLatin1String(" ")) name = inLanguage("Blank", "Leerzeichen");
        else if (caption.isEmpty()) name = inLanguage("Hidden letter", "Verdeckter Buchstabe");
        frm->lbl[i]->setFunctionName(name);
    }
}

void submitLetter(HangmanWindow* frm, bool fromHelp) {
    // A typed letter comes in as a capital; a pasted one keeps its case in
    // the box and is guessed as its capital.
    const QString entered = frm->txtENTERL->Text();
    if (entered.size() == 1 && entered[0] >= u'a' && entered[0] <= u'z') frm->txtENTERL->setTextValue(entered.toUpper());
    if (!CheckLetterEntered(frm, fromHelp)) return;
    if (CheckUsedLetter(frm) != 0) return;
    ApplyLetter(frm);
    AfterGuess(frm);
}

int drawHiddenPosition(const QList<int>& hidden) {
    if (hidden.isEmpty()) return -1;
    const int n = int(hidden.size());
    return hidden[std::clamp(int(std::floor(Rnd() * n)), 0, n - 1)];
}

// ----------------------------------------------------------- dictionary --

void LoadDictionary(bool* setAsideTold) {
    class frmHmDic* editor = frmHmDic();
    QListWidget* list = editor->lstSHOW;
    list->clear();
    bool damaged = false;
    QString why;
    int number = 0;
    const std::optional<QuotedLines::Contents> words = HangmanDictionary::read(&damaged, &why, &number, &editor->kept);
    const QString file = QFileInfo(HangmanDictionary::path()).fileName();
    if (damaged) {
        ShowDamagedFile(file);
        return;
    }
    // A file that is there and cannot be read is named, with the reason;
    // the editor's Save does not replace it.
    if (!words && !why.isEmpty()) {
        ShowProblem(QStringLiteral("LoadDictionary"), number, why);
        return;
    }
    if (words) {
        // All at once: one insertion for the whole list.
        list->addItems(words->values);
        if (!editor->kept.setAside.isEmpty() && !(setAsideTold && *setAsideTold)) {
            ShowSetAside(file, editor->kept.setAside.size());
            if (setAsideTold) *setAsideTold = true;
        }
    }
    if (list->count() == 0) MsgBox(inLanguage("No words available", "Keine Wörter verfügbar"), vbCritical);
    list->setCurrentRow(-1);
    list->clearSelection();
}
