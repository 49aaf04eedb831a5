#include "Forms/Translator/frmInterpret.h"

#include "Forms/Translator/frmTrans.h"
#include "Modules/modInterpret.h"
#include "Modules/modLanguage.h"
#include "Modules/modTrans.h"
#include "Platform/App.h"
#include "Platform/Errors.h"
#include "Platform/Fonts.h"
#include "Platform/KeyboardLayout.h"
#include "Platform/Memory.h"
#include "Platform/MsgBox.h"
#include "Platform/Problem.h"
#include "Platform/Progress.h"
#include "Platform/RichTextBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPainter>
#include <QProgressBar>

#include <algorithm>
#include <limits>

class frmInterpret* frmInterpret() { return touchForm<class frmInterpret>(); }

namespace {
QString direction(bool englishToGerman) {
    if (englishToGerman) return L(QStringLiteral("English --> German"), QStringLiteral("Englisch --> Deutsch"));
    return L(QStringLiteral("German --> English"), QStringLiteral("Deutsch --> Englisch"));
}
} // namespace

void SetLangInterpret(class frmInterpret* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("ZOV Dolmetscher"));
    frm->lblCategory->setCaption(QStringLiteral("Bereich"));
    frm->lblLanguage->setCaption(QStringLiteral("Englisch --> Deutsch"));
    frm->cmdInterpret->setFont(Fonts::font(QStringLiteral("Verdana"), 14, true));
    frm->cmdInterpret->setCaption(QStringLiteral("Über&tragen"));
    frm->cmdOpenFile->setCaption(QStringLiteral("Ö&ffnen"));
    frm->cmdSaveFile->setCaption(QStringLiteral("&Sichern"));
    for (PictureButton* b : {frm->cmdClearInput, frm->cmdClearOutput}) b->resize(b->width() + Form::px(512), b->height());
    frm->cmdClearInput->setCaption(QStringLiteral("Eingabe Leeren"));
    frm->cmdClearOutput->setCaption(QStringLiteral("Ausgabe Leeren"));
    frm->fraInput->setCaption(QStringLiteral("Eingabefeld"));
    frm->fraOutput->setCaption(QStringLiteral("Ausgabefeld"));
    frm->chkShowOld->setText(QStringLiteral("Fremdwort beibehalten"));
    frm->chkShowOld->setToolTip(QStringLiteral("Überträgt Fremdwort in Ausgabefeld bei möglicher Übersetzung"));
    frm->cmdFont->setToolTip(QStringLiteral("Allgemeines Schriftsatzformat festlegen"));
    frm->cmdFont2->setToolTip(QStringLiteral("Schriftsatzformat für übersetzte Wörter festlegen"));
    frm->cmdFontOld->setToolTip(QStringLiteral("Schriftsatzformat für Fremdwort festlegen"));
    for (QAbstractButton* b : frm->findChildren<QAbstractButton*>())
        b->setAccessibleName(b->text().isEmpty() ? b->toolTip() : captionText(b->text()));
    frm->cboCategory->setAccessibleName(QStringLiteral("Bereich"));
    frm->lblLanguage->setAccessibleDescription(QStringLiteral("Richtung"));
    frm->prgBar->setAccessibleName(QStringLiteral("Fortschritt"));
    frm->txtInput->setAccessibleName(QStringLiteral("Eingabefeld"));
    frm->txtOutput->setAccessibleName(QStringLiteral("Ausgabefeld"));
}

namespace {

// The design size of the window's inside, in twips.
constexpr int kDesignWidth = 10200, kDesignHeight = 8400;

PictureButton* button(const QString& caption, QWidget* parent, double pt, bool bold) {
    auto* b = new PictureButton(caption, parent);
    b->setFont(Fonts::font(QStringLiteral("Verdana"), pt, bold));
    b->setAccessibleName(captionText(caption));
    return b;
}

PictureButton* fontButton(QWidget* parent, const QString& tip, const QColor& colour) {
    auto* b = new PictureButton(QString(), parent);
    QPixmap pic(24, 24);
    pic.fill(Qt::transparent);
    QPainter paint(&pic);
    paint.setPen(colour);
    paint.setFont(Fonts::font(QStringLiteral("Verdana"), 14, true));
    paint.drawText(pic.rect(), Qt::AlignCenter, QStringLiteral("A"));
    paint.end();
    b->setPicture(pic);
    b->setToolTip(tip);
    b->setAccessibleName(tip);
    return b;
}

RichTextBox* textBox(QWidget* parent) {
    auto* t = new RichTextBox(parent);
    t->setFont(Fonts::font(QStringLiteral("Verdana"), 9.75, true));
    return t;
}

FontChoice designFont(const QColor& colour) { return {Fonts::font(QStringLiteral("Verdana"), 10), colour}; }

} // namespace

frmInterpret::frmInterpret() {
    setCaption(QStringLiteral("QEM Interpreter"));
    setClientSizeTwips(kDesignWidth, kDesignHeight);

    lblCategory = new Label(QStringLiteral("Category"), this);
    place(lblCategory, 120, 240, 1035, 450);
    lblCategory->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 15.75));
    lblCategory->setShrinkToFit(true);
    cboCategory = new QComboBox(this);
    place(cboCategory, 1200, 240, 2775, 450);
    cboCategory->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 15.75));
    cboCategory->setAccessibleName(QStringLiteral("Category"));
    lblCategory->setBuddy(cboCategory);
    cmdOpenFile = button(QStringLiteral("&Open"), this, 14.25, false);
    place(cmdOpenFile, 4432, 120, 1335, 375);
    cmdSaveFile = button(QStringLiteral("&Save"), this, 14.25, false);
    place(cmdSaveFile, 4432, 480, 1335, 375);
    cmdFont = fontButton(this, QStringLiteral("Set general font format"), Qt::black);
    place(cmdFont, 3873, 240, 495, 615);
    cmdFont2 = fontButton(this, QStringLiteral("Set font format for translated words"), Qt::blue);
    place(cmdFont2, 5831, 240, 495, 615);
    lblLanguage = new Label(QStringLiteral("English --> German"), this);
    place(lblLanguage, kDesignWidth - 3735 - 128, 240, 3735, 450);
    lblLanguage->setFont(Fonts::font(QStringLiteral("Verdana"), 15.75));
    lblLanguage->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Screen readers read the caption as the name; what it sets is the description.
    lblLanguage->setAccessibleDescription(QStringLiteral("Direction"));
    lblLanguage->setCursor(Qt::PointingHandCursor);

    fraInput = new Frame(QStringLiteral("Input Field"), this);
    fraInput->setFont(Fonts::font(QStringLiteral("Verdana"), 14.25, true));
    place(fraInput, 120, 720, kDesignWidth - 256, 3000);
    txtInput = textBox(fraInput);
    place(txtInput, 128, 304, kDesignWidth - 512, 2568);
    txtInput->setAccessibleName(QStringLiteral("Input Field"));
    fraOutput = new Frame(QStringLiteral("Output Field"), this);
    fraOutput->setFont(Fonts::font(QStringLiteral("Verdana"), 14.25, true));
    place(fraOutput, 120, 3800, kDesignWidth - 256, 3000);
    txtOutput = textBox(fraOutput);
    place(txtOutput, 128, 304, kDesignWidth - 512, 2568);
    txtOutput->setAccessibleName(QStringLiteral("Output Field"));

    chkShowOld = new QCheckBox(QStringLiteral("Retain Foreign Word"), this);
    chkShowOld->setFont(Fonts::font(QStringLiteral("Verdana"), 9.75, true));
    chkShowOld->setToolTip(QStringLiteral("Shows old input in output when translation is possible"));
    chkShowOld->setAccessibleName(QStringLiteral("Retain Foreign Word"));
    place(chkShowOld, 3500, 6900, 3200, 255);
    cmdClearInput = button(QStringLiteral("Clear &Input"), this, 9.75, true);
    place(cmdClearInput, 1900, 7200, 2100, 495);
    cmdInterpret = button(QStringLiteral("In&terpret"), this, 15.75, true);
    place(cmdInterpret, 4072, 7200, 2055, 495);
    cmdClearOutput = button(QStringLiteral("Clear &Output"), this, 9.75, true);
    place(cmdClearOutput, 6208, 7200, 2100, 495);
    cmdFontOld = fontButton(this, QStringLiteral("Set font format for old word"), Qt::red);
    place(cmdFontOld, kDesignWidth - 495 - 128, 7136, 495, 615);
    cmdFontOld->hide();
    prgBar = new QProgressBar(this);
    prgBar->setTextVisible(false);
    prgBar->setAccessibleName(QStringLiteral("Progress"));
    place(prgBar, 120, 8080, kDesignWidth - 256, 255);

    cmnDlg = designFont(Qt::black);
    cmnDlg2 = designFont(Qt::blue);
    cmnDlgOld = designFont(Qt::red);

    for (RichTextBox* t : {txtInput, txtOutput}) {
        t->onKeyPress = [this](int& KeyAscii) { txt_KeyPress(KeyAscii); };
        // The umlaut keys are for typing; pasted text is kept as it is.
        t->pastesAsIs = true;
    }
    connect(cmdInterpret, &QPushButton::clicked, this, [this] { cmdInterpret_Click(); });
    connect(cmdFont, &QPushButton::clicked, this, [this] { cmdFont_Click(); });
    connect(cmdFont2, &QPushButton::clicked, this, [this] { cmdFont2_Click(); });
    connect(cmdFontOld, &QPushButton::clicked, this, [this] { cmdFontOld_Click(); });
    connect(chkShowOld, &QCheckBox::clicked, this, [this] { chkShowOld_Click(); });
    connect(cmdOpenFile, &QPushButton::clicked, this, [this] { cmdOpenFile_Click(); });
    connect(cmdSaveFile, &QPushButton::clicked, this, [this] { cmdSaveFile_Click(); });
    connect(cmdClearInput, &QPushButton::clicked, this, [this] { cmdClearInput_Click(); });
    connect(cmdClearOutput, &QPushButton::clicked, this, [this] { cmdClearOutput_Click(); });
    lblLanguage->onClick = [this] { lblLanguage_Click(); };
    lblLanguage->onMouseDown = [this](int b, int s, int x, int y) { lblLanguage_MouseDown(b, s, x, y); };
    lblLanguage->onMouseUp = [this](int b, int s, int x, int y) { lblLanguage_MouseUp(b, s, x, y); };
    lblLanguage->onMouseMove = [this](int b, int s, int x, int y) { lblLanguage_MouseMove(b, s, x, y); };
    fraInput->onMouseMove = [this](int b, int s, int x, int y) { fraInput_MouseMove(b, s, x, y); };
}

void frmInterpret::Form_Load() {
    if (isFormLoaded<class frmTrans>()) frmTrans()->setVisible(false);
    SetLangInterpret(this);
    LoadCats(this);
    // The empty entry: every category.
    cboCategory->addItem(QString());
}

void frmInterpret::Form_Activate() { txtInput->setFocus(); }

void frmInterpret::Form_Resize() {
    if (isMinimized()) return;
    const int sw = width() * twipsPerPixel, sh = height() * twipsPerPixel;
    const auto tw = [](const QWidget* w) { return QRect(w->x() * 15, w->y() * 15, w->width() * 15, w->height() * 15); };
    // A very small window gives the boxes no room rather than negative sizes.
    const auto size = [](double twips) { return std::max(0, px(twips)); };
    const int inputHeight = int((sh - 1800 - tw(prgBar).height() - tw(cmdInterpret).height() - tw(chkShowOld).height() -
                                 tw(cboCategory).height()) /
                                1.7);
    // The boxes start below their frame's caption, which in its large bold
    // font is taller than the room the design leaves for it.
    const int boxTop = std::max(px(304), QFontMetrics(fraInput->font()).height());
    fraInput->resize(size(sw - 256), size(inputHeight));
    txtInput->setGeometry(txtInput->x(), boxTop, size(sw - 512), std::max(0, px(inputHeight - 128) - boxTop));
    fraOutput->resize(fraInput->size());
    txtOutput->setGeometry(txtInput->geometry());
    fraOutput->move(fraOutput->x(), px(tw(cboCategory).height() + inputHeight - 432 + 704));
    // The same margin on both sides, that of the frames' left edge.
    prgBar->setGeometry(fraInput->x(), px(sh - tw(prgBar).height() - 64), std::max(0, width() - 2 * fraInput->x()),
                        prgBar->height());
    const int interpretTop = sh - tw(cmdInterpret).height() - tw(prgBar).height() - 128;
    cmdInterpret->move(px(sw / 2 - tw(cmdInterpret).width() / 2), px(interpretTop));
    cmdClearInput->move(cmdInterpret->x() - cmdClearInput->width() - px(80), cmdInterpret->y());
    cmdClearOutput->move(cmdInterpret->x() + px(2136), cmdInterpret->y());
    chkShowOld->move(px(sw / 2 - tw(chkShowOld).width() / 2), cmdInterpret->y() - chkShowOld->height());
    cmdOpenFile->move(px(sw / 2 - tw(cmdOpenFile).width() / 2), cmdOpenFile->y());
    cmdSaveFile->move(px(sw / 2 - tw(cmdSaveFile).width() / 2), cmdSaveFile->y());
    cmdFont->move(cmdOpenFile->x() - cmdFont->width() - px(64), cmdFont->y());
    cmdFont2->move(cmdOpenFile->x() + cmdOpenFile->width() + px(64), cmdFont2->y());
    cmdFontOld->move(px(sw - tw(cmdFontOld).width() - 128), px(interpretTop - 64));
    lblLanguage->move(px(sw - tw(lblLanguage).width() - 128), lblLanguage->y());
}

void frmInterpret::Form_MouseMove(int, int, int, int) { lblLanguage->setFontBold(false); }

void frmInterpret::cmdInterpret_Click() { Text_Interpret(this); }

namespace {

FontChoice selectionFont(const RichTextBox* box) {
    QFont f = Fonts::font(box->SelFontName(), box->SelFontSize(), box->SelBold());
    f.setItalic(box->SelItalic());
    f.setStrikeOut(box->SelStrikeThru());
    f.setUnderline(box->SelUnderline());
    return {f, box->SelColor()};
}

void setSelectionFont(RichTextBox* box, const FontChoice& c) {
    box->setSelFontName(c.font.family());
    box->setSelFontSize(c.font.pointSizeF());
    box->setSelBold(c.font.bold());
    box->setSelItalic(c.font.italic());
    box->setSelColor(c.color);
    box->setSelStrikeThru(c.font.strikeOut());
    box->setSelUnderline(c.font.underline());
}

} // namespace

void frmInterpret::cmdFont_Click() {
    RichTextBox* target = txtInput->SelLength() != 0 ? txtInput : txtOutput->SelLength() != 0 ? txtOutput : nullptr;
    // The general font is chosen for some selected text.
    if (!target) return;
    FontChoice choice = selectionFont(target);
    if (!FontDialog::choose(choice)) return;
    setSelectionFont(target, choice);
    cmnDlg = choice;
    target->setSelStart(int(target->Text().size()));
    target->setSelLength(0);
}

void frmInterpret::cmdFont2_Click() { FontDialog::choose(cmnDlg2); }
void frmInterpret::cmdFontOld_Click() { FontDialog::choose(cmnDlgOld); }

void frmInterpret::chkShowOld_Click() { cmdFontOld->setVisible(chkShowOld->isChecked()); }

void frmInterpret::cmdOpenFile_Click() {
    FileDialog::Options o;
    o.title = L(QStringLiteral("Opening File"), QStringLiteral("Datei öffnen"));
    o.filter = L(QStringLiteral("All Files (*.*)|*.*"), QStringLiteral("Alle Dateien (*.*)|*.*"));
    o.initialDir = App::path();
    const QString file = FileDialog::open(o);
    if (file.isEmpty()) return;
    QString error;
    int number = 0;
    if (!txtInput->LoadFile(file, &error, &number)) ShowProblem(QStringLiteral("OpenFile"), number, error);
}

void frmInterpret::cmdSaveFile_Click() {
    FileDialog::Options o;
    o.title = L(QStringLiteral("Saving File"), QStringLiteral("Datei speichern"));
    o.filter = L(QStringLiteral("RTF File (*.rtf)|*.rtf"), QStringLiteral("RTF Datei (*.rtf)|*.rtf"));
    o.defaultExt = QStringLiteral("rtf");
    o.initialDir = App::dataFolder();
    const QString file = FileDialog::save(o);
    if (file.isEmpty()) return;
    QString error;
    int number = 0;
    if (!txtOutput->SaveFile(file, &error, &number)) ShowProblem(QStringLiteral("SaveFile"), number, error);
}

void frmInterpret::cmdClearInput_Click() {
    txtInput->clear();
    txtInput->setFocus();
}

void frmInterpret::cmdClearOutput_Click() {
    txtOutput->clear();
    txtOutput->setFocus();
}

void frmInterpret::lblLanguage_Click() {
    lblLanguage->setCaption(direction(!lblLanguage->Caption().startsWith(QLatin1String("Eng"))));
}

void frmInterpret::lblLanguage_MouseDown(int, int, int, int) {
    lblLanguage->move(lblLanguage->x() + px(32), lblLanguage->y() + px(32));
}

void frmInterpret::lblLanguage_MouseUp(int, int, int, int) {
    lblLanguage->move(width() - lblLanguage->width() - px(128), cboCategory->y());
}

void frmInterpret::lblLanguage_MouseMove(int, int, int, int) { lblLanguage->setFontBold(true); }
void frmInterpret::fraInput_MouseMove(int, int, int, int) { lblLanguage->setFontBold(false); }

// A German keyboard has its umlaut keys; on others the keys beside L and P
// give them.
void frmInterpret::txt_KeyPress(int& KeyAscii) {
    if (!KeyboardLayout::isGerman()) KeyAscii = germanKey(KeyAscii);
}

void frmInterpret::Form_Unload(int&) {
    if (isFormLoaded<class frmTrans>()) frmTrans()->Show(vbModeless);
}

// --- The interpretation -----------------------------------------------------------

void Text_Interpret(class frmInterpret* frm) {
    using namespace Interpretation;
    // Without the word store there is nothing to look words up in.
    if (!transConnectionOpen()) {
        ShowProblem(QStringLiteral("Text_Interpret"), 3704, QStringLiteral("Operation is not allowed when the object is closed."));
        return;
    }
    frm->setMousePointer(vbHourglass);
    // The bar's first half is the interpretation, its second the writing;
    // it moves by whole percents, a few times a second.
    const QString text = frm->txtInput->Text();
    const int half = int(std::clamp<qsizetype>(text.size(), 1, std::numeric_limits<int>::max() / 2));
    ProgressSteps progress(frm->prgBar, 2 * half);
    const auto part = [half](qsizetype done, qsizetype total) {
        return qint64(double(std::min(done, total)) / double(std::max<qsizetype>(1, total)) * half);
    };
    QList<Run> runs;
    const bool interpreted = Problem::trap(QStringLiteral("WriteOutput"), [&] {
        // The interpretation and the output it adds, at least as long as
        // the text, are refused before they are built when they cannot be held.
        Memory::reserve(2 * Memory::textCost(text.size()));
        const WordIndex& index = cachedIndex(*cnTrans, frm->cboCategory->currentText(),
                                             frm->lblLanguage->Caption().startsWith(QLatin1String("Eng")));
        runs = interpret(text, index, Options{frm->chkShowOld->isChecked()},
                         [&](qsizetype done, qsizetype total) { progress.step(part(done, total)); });
    }, [&] { runs.clear(); });
    if (!interpreted) {
        frm->setMousePointer(vbDefault);
        return;
    }
    RichTextBox* out = frm->txtOutput;
    const auto fontOf = [frm](Style s) -> const FontChoice& {
        return s == Style::Translated ? frm->cmnDlg2 : s == Style::OldWord ? frm->cmnDlgOld : frm->cmnDlg;
    };
    // The output may still fall short of memory part-way: what it took stays shown.
    const bool written = Problem::trap(QStringLiteral("Text_Interpret"), [&] {
        QList<RichTextBox::Stretch> stretches;
        // A new translation starts two lines below the one before.
        if (!out->document()->isEmpty())
            stretches << RichTextBox::Stretch{QStringLiteral("\n\n"), frm->cmnDlg.font, frm->cmnDlg.color};
        // Neighbouring stretches of one font are written as one.
        for (qsizetype i = 0; i < runs.size();) {
            QString stretch = runs[i].text;
            const Style style = runs[i].style;
            qsizetype j = i + 1;
            while (j < runs.size() && runs[j].style == style) stretch += runs[j++].text;
            stretches << RichTextBox::Stretch{stretch, fontOf(style).font, fontOf(style).color};
            i = j;
        }
        runs.clear();
        out->appendFormatted(stretches,
                             [&](qsizetype done, qsizetype total) { progress.step(half + part(done, total)); });
    });
    if (!written) {
        frm->setMousePointer(vbDefault);
        return;
    }
    progress.show(2 * half);
    frm->setMousePointer(vbArrow);
    frm->txtInput->setSelStart(int(text.size()));
    out->setSelLength(0);
    frm->txtInput->setFocus();
}
