#include "Forms/Translator/frmTrans.h"

#include "Forms/Main/frmChoice.h"
#include "Forms/Translator/frmInterpret.h"
#include "Modules/modLanguage.h"
#include "Modules/modMain.h"
#include "Modules/modResize.h"
#include "Modules/modTrans.h"
#include "Platform/App.h"
#include "Platform/FlexGrid.h"
#include "Platform/Fonts.h"
#include "Platform/MsgBox.h"
#include "Platform/OutOfMemory.h"
#include "Platform/SaveError.h"
#include "Platform/Shell.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QPalette>
#include <QProgressBar>
#include <QRadioButton>
#include <QScrollBar>

#include <cmath>

void initTranslatorResources() { Q_INIT_RESOURCE(translator); }

class frmTrans* frmTrans() { return touchForm<class frmTrans>(); }

void SetLangTrans(class frmTrans* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("ZOV Fortgeschrittener Übersetzer"));
    frm->lblTrans->setCaption(QStringLiteral("ZOV Fortgeschrittener Übersetzer"));
    frm->fraList->setCaption(QStringLiteral("Wortbereich und Wortart wählen"));
    frm->lblCategory->setCaption(QStringLiteral("Bereich"));
    frm->lblCategory2->setCaption(QStringLiteral("Bereich"));
    frm->imgDelCatType->setToolTip(QStringLiteral("Wortbereich / Wortart löschen (per Mauszug)"));
    frm->lblType->setCaption(QStringLiteral("Art"));
    frm->lblType2->setCaption(QStringLiteral("Art"));
    frm->imgRenCatType->setToolTip(QStringLiteral("Wortbereich / Wortart umbenennen (per Mauszug)"));
    frm->fraAdd->setCaption(QStringLiteral("Hinzufügen / Entfernen / Aktualisieren / Suchen"));
    frm->lblEnglish->setCaption(QStringLiteral("Englisch"));
    frm->lblGerman->setCaption(QStringLiteral("Deutsch"));
    frm->cmdAdd->setCaption(QStringLiteral("&Hinzu"));
    frm->cmdDel->setCaption(QStringLiteral("&Löschen"));
    frm->cmdUpd->setCaption(QStringLiteral("&Akt"));
    frm->cmdFind->setCaption(QStringLiteral("&Finden"));
    frm->cmdNew->setCaption(QStringLiteral("&Neu"));
    // Narrower for the short German caption, still ending with the type box.
    const QRect type = frm->cboType2->geometry();
    frm->cmdNew->setGeometry(type.right() + 1 - Form::px(495), frm->cmdNew->y(), Form::px(495), frm->cmdNew->height());
    frm->chkShowUpdate->setText(QStringLiteral("&Bei Änderung &nachladen"));
    frm->chkDuplicate->setText(QStringLiteral("Nach Doppelgänger &untersuchen"));
    frm->fraSort->setCaption(QStringLiteral("Sortier-Auswahl"));
    frm->optEnglish->setText(QStringLiteral("&Englisch sortieren"));
    frm->optGerman->setText(QStringLiteral("&Deutsch sortieren"));
    frm->optGerman->setChecked(true);
    frm->optGerman_Click();
    frm->chkType->setText(QStringLiteral("Art anzeigen"));
    frm->cmdPrint->setCaption(QStringLiteral("Bereich D&rucken"));
    frm->cmdInterpret->setCaption(QStringLiteral("D&olmetscher"));
    frm->cmdEG->setCaption(QStringLiteral("Ex&cel Arbeitsblatt"));
    // The boxes are named by their caption labels (see tieCaption).
    for (QAbstractButton* b : frm->findChildren<QAbstractButton*>()) b->setAccessibleName(captionText(b->text()));
    frm->imgDelCatType->setAccessibleName(frm->imgDelCatType->toolTip());
    frm->imgRenCatType->setAccessibleName(frm->imgRenCatType->toolTip());
    frm->flxGrid->setAccessibleName(QStringLiteral("Wortschatz"));
    frm->lblCtrl[0]->setFunctionName(QStringLiteral("Schließen"));
    frm->lblCtrl[1]->setFunctionName(QStringLiteral("Maximieren"));
}

namespace {

// The design size of the window's inside, in twips; also its smallest size.
constexpr int kDesignWidth = 10530, kDesignHeight = 9540;
const char* const kDragFormat = "application/x-qem-control";

const QColor kBack(0x20, 0x30, 0x58);
const QColor kRed(0xc0, 0, 0);
const QColor kDarkBlue(0, 0, 0x80);

void colour(QWidget* w, const QColor& back, const QColor& text) {
    // Labels are see-through unless told otherwise.
    w->setAttribute(Qt::WA_TranslucentBackground, false);
    w->setAttribute(Qt::WA_NoSystemBackground, false);
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, back);
    p.setColor(QPalette::WindowText, text);
    w->setPalette(p);
}

Label* label(const QString& caption, QWidget* parent, int left, int top, int width, int height) {
    auto* l = new Label(caption, parent);
    Form::place(l, left, top, width, height);
    l->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 11));
    return l;
}

PictureButton* button(const QString& caption, QWidget* parent, int left, int top, int width, int height) {
    auto* b = new PictureButton(caption, parent);
    Form::place(b, left, top, width, height);
    b->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 11));
    b->setAccessibleName(captionText(caption));
    return b;
}

QComboBox* combo(QWidget* parent, bool editable, int left, int top, int width) {
    auto* c = new QComboBox(parent);
    c->setEditable(editable);
    // A name typed or pasted takes no tab or line break, as the word boxes
    // take none: a name is one cell of the grid. It stays as typed: names
    // differing in letter case are two names, so the box neither completes
    // a name nor swaps it for a listed one in other letter case.
    if (editable) {
        c->setLineEdit(new TextBox(c));
        c->setCompleter(nullptr);
    }
    c->setInsertPolicy(QComboBox::NoInsert);
    Form::place(c, left, top, width, 330);
    c->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 11));
    return c;
}

// The label names the box for screen readers ("Category, Food"), in either
// language, as its caption changes.
void tieCaption(Label* caption, QWidget* box) { caption->setBuddy(box); }

QCheckBox* check(const QString& caption, QWidget* parent, int left, int top, int width) {
    auto* c = new QCheckBox(caption, parent);
    Form::place(c, left, top, width, 300);
    c->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 11));
    c->setAccessibleName(captionText(caption));
    return c;
}

} // namespace

frmTrans::frmTrans() {
    initTranslatorResources();
    setCaption(QStringLiteral("QEM Advanced Translator"));
    setClientSizeTwips(kDesignWidth, kDesignHeight);
    setMinimumSize(px(kDesignWidth), px(kDesignHeight));
    colour(this, kBack, Qt::white);

    lblTrans = label(QStringLiteral("QEM Advanced Translator"), this, 120, 60, 9400, 500);
    lblTrans->setFont(Fonts::font(QStringLiteral("TechnicBold"), 20.25, true));
    lblTrans->setForeColor(Qt::white);
    for (int i = 0; i < 2; ++i) {
        auto* c = label(i == 0 ? QStringLiteral("X") : QStringLiteral("^"), this, i == 0 ? 10050 : 9630, 60, 360, 420);
        c->setFont(Fonts::font(QStringLiteral("TechnicBold"), 14, true));
        c->setForeColor(Qt::red);
        c->setAlignment(Qt::AlignCenter);
        // The glyph stands for what the button does: readers say that.
        c->setFunctionName(i == 0 ? QStringLiteral("Close") : QStringLiteral("Maximise"));
        c->onMouseDown = [this, i](int b, int s, int x, int y) { lblCtrl_MouseDown(i, b, s, x, y); };
        c->onMouseUp = [this, i](int b, int s, int x, int y) { lblCtrl_MouseUp(i, b, s, x, y); };
        c->onClick = [this, i] { lblCtrl_Click(i); };
        lblCtrl << c;
    }

    fraList = new Frame(QStringLiteral("Choose Vocabulary Category and Word Type"), this);
    place(fraList, 120, 600, 10290, 4950);
    colour(fraList, kBack, Qt::white);
    lblCategory = label(QStringLiteral("Category"), fraList, 150, 330, 900, 300);
    cboCategory = combo(fraList, false, 1050, 300, 3600);
    tieCaption(lblCategory, cboCategory);
    lblType = label(QStringLiteral("Type"), fraList, 4950, 330, 700, 300);
    cboType = combo(fraList, false, 5650, 300, 3000);
    tieCaption(lblType, cboType);
    flxGrid = new FlexGrid(fraList);
    place(flxGrid, 150, 750, 9990, 4050);
    flxGrid->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 11));
    flxGrid->setAccessibleName(QStringLiteral("Vocabulary"));
    flxGrid->setCols(4);
    flxGrid->setRows(1);
    flxGrid->setTextMatrix(0, 0, QStringLiteral("No."));
    flxGrid->setTextMatrix(0, 1, QStringLiteral("English Vocabulary"));
    flxGrid->setTextMatrix(0, 2, QStringLiteral("German Vocabulary"));
    flxGrid->setColWidth(0, 600);
    txtChange = new TextBox(fraList);
    place(txtChange, 9000, 300, 1100, 330);
    txtChange->hide();

    fraAdd = new Frame(QStringLiteral("Add / Remove / Update / Search"), this);
    place(fraAdd, 120, 5640, 6600, 3300);
    colour(fraAdd, kBack, Qt::white);
    lblEnglish = label(QStringLiteral("English"), fraAdd, 150, 360, 900, 300);
    lblGerman = label(QStringLiteral("German"), fraAdd, 150, 780, 900, 300);
    for (int i = 0; i < 2; ++i) {
        auto* t = new TextBox(fraAdd);
        place(t, 1050, i == 0 ? 330 : 750, 5400, 330);
        t->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 11));
        t->onKeyPress = [this, i](int& KeyAscii) { txtAdd_KeyPress(i, KeyAscii); };
        txtAdd << t;
    }
    tieCaption(lblEnglish, txtAdd[0]);
    tieCaption(lblGerman, txtAdd[1]);
    fraAdd2 = new Frame(QString(), fraAdd);
    place(fraAdd2, 150, 1140, 6300, 1320);
    colour(fraAdd2, kBack, Qt::white);
    lblCategory2 = label(QStringLiteral("Category"), fraAdd2, 120, 180, 900, 300);
    lblCategory2->setObjectName(QStringLiteral("lblCategory2"));
    lblType2 = label(QStringLiteral("Type"), fraAdd2, 120, 570, 900, 300);
    lblType2->setObjectName(QStringLiteral("lblType2"));
    for (Label* l : {lblCategory2, lblType2}) {
        colour(l, kDarkBlue, Qt::white);
        l->setAlignment(Qt::AlignCenter);
        l->setCursor(Qt::OpenHandCursor);
    }
    lblCategory2->onMouseDown = [this](int Button, int, int, int) {
        if (Button == vbLeftButton) startDrag(lblCategory2);
    };
    lblType2->onMouseDown = [this](int Button, int, int, int) {
        if (Button == vbLeftButton) startDrag(lblType2);
    };
    cboCategory2 = combo(fraAdd2, true, 1080, 150, 3000);
    tieCaption(lblCategory2, cboCategory2);
    cboType2 = combo(fraAdd2, true, 1080, 540, 3000);
    tieCaption(lblType2, cboType2);
    cmdNew = button(QStringLiteral("&New"), fraAdd2, 1080 + 3000 - 900, 930, 900, 330);
    imgDelCatType = new Image(fraAdd2);
    place(imgDelCatType, 4500, 180, 720, 720);
    imgDelCatType->setPicture(QPixmap(QStringLiteral(":/translator/DelCatType.png")));
    imgDelCatType->setToolTip(QStringLiteral("Delete Category / Type (per Drag & Drop)"));
    imgDelCatType->onClick = [this] { imgDelCatType_Click(); };
    imgRenCatType = new Image(fraAdd2);
    place(imgRenCatType, 5400, 180, 720, 720);
    imgRenCatType->setPicture(QPixmap(QStringLiteral(":/translator/RenCatType.png")));
    imgRenCatType->setToolTip(QStringLiteral("Rename Category / Type (per Drag & Drop)"));
    imgRenCatType->onClick = [this] { imgRenCatType_Click(); };
    for (Image* img : {imgDelCatType, imgRenCatType}) {
        img->setStretch(true);
        img->setAcceptDrops(true);
        img->installEventFilter(this);
        img->setAccessibleName(img->toolTip());
    }
    cmdAdd = button(QStringLiteral("&Add"), fraAdd, 150, 2550, 1500, 390);
    cmdDel = button(QStringLiteral("&Delete"), fraAdd, 1770, 2550, 1500, 390);
    cmdUpd = button(QStringLiteral("&Update"), fraAdd, 3390, 2550, 1500, 390);
    cmdFind = button(QStringLiteral("&Find"), fraAdd, 5010, 2550, 1440, 390);
    chkShowUpdate = check(QStringLiteral("&Reload on Modification"), fraAdd, 150, 2970, 2800);
    chkDuplicate = check(QStringLiteral("Examine for D&uplicates"), fraAdd, 2985, 2970, 3550);
    chkDuplicate->setChecked(true);

    fraSort = new Frame(QStringLiteral("Sorting Options"), this);
    place(fraSort, 6840, 5640, 3570, 1110);
    colour(fraSort, kBack, Qt::white);
    optEnglish = new QRadioButton(QStringLiteral("Order by &English"), fraSort);
    place(optEnglish, 150, 330, 3300, 300);
    optGerman = new QRadioButton(QStringLiteral("Order by &German"), fraSort);
    place(optGerman, 150, 690, 3300, 300);
    for (QRadioButton* o : {optEnglish, optGerman}) {
        o->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 11));
        o->setAccessibleName(captionText(o->text()));
    }
    optEnglish->setChecked(true);
    chkType = check(QStringLiteral("Display Type"), this, 6990, 6840, 3000);
    cmdPrint = button(QStringLiteral("&Print Category"), this, 6840, 7260, 3570, 390);
    cmdInterpret = button(QStringLiteral("&Interpreter"), this, 6840, 7740, 3570, 390);
    cmdEG = button(QStringLiteral("Ex&cel Spreadsheet"), this, 6840, 8220, 3570, 480);
    cmdEG->setPicture(QPixmap(QStringLiteral(":/translator/Worksheet.png")));

    prgBar = new QProgressBar(this);
    place(prgBar, 120, 9060, 8700, 300);
    prgBar->setTextVisible(false);
    prgBar->setValue(0);
    lblVersion = label(QString(), this, 9000, 9060, 1410, 300);
    lblVersion->setForeColor(Qt::white);
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    fraDrag = new QFrame(this);
    place(fraDrag, 270, 0, 9000, 375);
    colour(fraDrag, kRed, Qt::yellow);
    lblNr = new Label(QString(), fraDrag);
    lblEng = new Label(QString(), fraDrag);
    lblDe = new Label(QString(), fraDrag);
    for (Label* l : {lblNr, lblEng, lblDe}) {
        l->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 11));
        colour(l, kRed, Qt::yellow);
        l->setGeometry(0, 0, 10, fraDrag->height());
    }
    fraDrag->hide();

    flxGrid->onClick = [this] { flxGrid_Click(); };
    flxGrid->onRowChange = [this](bool byLeftPress) { flxGrid_RowChange(byLeftPress); };
    flxGrid->onMouseMove = [this](int b, int s, int x, int y) { flxGrid_MouseMove(b, s, x, y); };
    flxGrid->installEventFilter(this);
    connect(flxGrid->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { flxGrid_Scroll(); });
    connect(flxGrid->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { flxGrid_Scroll(); });
    lblVersion->onMouseMove = [this](int b, int s, int x, int y) { lblVersion_MouseMove(b, s, x, y); };
    connect(cboCategory, &QComboBox::activated, this, [this] { cboCategory_Click(); });
    connect(cboType, &QComboBox::activated, this, [this] { cboType_Click(); });
    connect(chkType, &QCheckBox::clicked, this, [this] { chkType_Click(); });
    connect(optEnglish, &QRadioButton::clicked, this, [this] { optEnglish_Click(); });
    connect(optGerman, &QRadioButton::clicked, this, [this] { optGerman_Click(); });
    connect(cmdNew, &QPushButton::clicked, this, [this] { cmdNew_Click(); });
    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdDel, &QPushButton::clicked, this, [this] { cmdDel_Click(); });
    connect(cmdUpd, &QPushButton::clicked, this, [this] { cmdUpd_Click(); });
    connect(cmdFind, &QPushButton::clicked, this, [this] { cmdFind_Click(); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    connect(cmdEG, &QPushButton::clicked, this, [this] { cmdEG_Click(); });
    connect(cmdInterpret, &QPushButton::clicked, this, [this] { cmdInterpret_Click(); });
}

frmTrans::~frmTrans() { CloseTransConnection(); }

void frmTrans::Form_Load() {
    if (isFormLoaded<class frmChoice>()) frmChoice()->setVisible(false);
    flxGrid->setRows(1);
    flxGrid->setColWidth(3, 1);
    OpenTransConnection();
    if (transConnectionOpen()) {
        SetLangTrans(this);
        LoadCats(this);
        LoadTypes(this);
        GetVersion();
        LastWidth = width() * twipsPerPixel;
        LastHeight = height() * twipsPerPixel;
    } else {
        // Nothing to edit, search, print or interpret: the word store did not
        // open (the opening message says so).
        for (QWidget* b : {cmdAdd, cmdDel, cmdUpd, cmdFind, cmdPrint, cmdInterpret}) b->setEnabled(false);
    }
}

void frmTrans::Form_Activate() { txtAdd[0]->setFocus(); }

void frmTrans::sortingTitles(bool germanFirst, QString& first, int& firstDivisor, QString& second,
                             int& secondDivisor) const {
    QString english = QStringLiteral("English Vocabulary"), germanTitle = QStringLiteral("German Vocabulary");
    int englishDivisor = 85, germanDivisor = 75;
    if (isGerman()) {
        english = QStringLiteral("Englischer Wortschatz");
        germanTitle = QStringLiteral("Deutscher Wortschatz");
        englishDivisor = 90;
        germanDivisor = 80;
    }
    first = germanFirst ? germanTitle : english;
    firstDivisor = germanFirst ? germanDivisor : englishDivisor;
    second = germanFirst ? english : germanTitle;
    secondDivisor = germanFirst ? englishDivisor : germanDivisor;
}

void frmTrans::Form_Resize() {
    if (isMinimized()) return;
    if (height() < px(kDesignHeight)) {
        resize(width(), px(kDesignHeight));
        return;
    }
    if (width() < px(kDesignWidth)) {
        resize(px(kDesignWidth), height());
        return;
    }
    try {
        if (isMaximized()) lblCtrl[1]->hide();
        // Drawn again once everything has its new place, also after a failure.
        setUpdatesEnabled(false);
        const struct Redraw {
            QWidget* w;
            ~Redraw() { w->setUpdatesEnabled(true); }
        } redraw{this};
        // Without a stored size (the word store did not open) nothing is scaled.
        if (LastWidth >= 1 && LastHeight >= 1) {
            ResizeControls(this, LastWidth, LastHeight);
            if (optEnglish->isChecked() || optGerman->isChecked()) {
                QString first, second;
                int d1 = 0, d2 = 0;
                sortingTitles(optGerman->isChecked(), first, d1, second, d2);
                const double factor = double(width() * twipsPerPixel) / LastWidth;
                const auto blanks = [&](int col, int divisor) {
                    return QString(int(std::max(0.0, std::nearbyint(double(flxGrid->ColWidth(col)) / divisor * factor))), u' ');
                };
                flxGrid->setTextMatrix(0, 0, QStringLiteral("No.   "));
                flxGrid->setTextMatrix(0, 1, QStringLiteral(" ") + first + blanks(1, d1));
                flxGrid->setTextMatrix(0, 2, QStringLiteral(" ") + second + blanks(2, d2));
            }
        }
        CtrlFontSize = int(std::lround(lblCtrl[1]->FontSize()));
        EqualizeColumns(this);
        // An open overlay belongs to its row: it is laid on it again in the
        // new sizes, or closed where the row is no longer in sight.
        if (fraDrag->isVisible()) {
            const int row = lblNr->Caption().toInt();
            const QRect cell = flxGrid->cellRect(row, 0);
            if (row == flxGrid->Row() && cell.isValid() && cell.top() >= 0 &&
                cell.bottom() < flxGrid->viewport()->height())
                layOverlay();
            else
                fraDrag->hide();
        }
    } catch (const RuntimeError& e) {
        ShowProblem(QStringLiteral("Form_Resize"), e.number, e.description);
    } catch (const std::bad_alloc&) {
        ShowOutOfMemory(QStringLiteral("Form_Resize"));
    }
}

void frmTrans::Form_Click() { fraDrag->hide(); }

void frmTrans::mousePressEvent(QMouseEvent* e) {
    Form::mousePressEvent(e);
    Form_Click();
}

// Column 1 holds the sorting language, column 2 the other one.
bool frmTrans::overlaysEnglish(int col) const { return (col == 1) != optGerman->isChecked(); }

// The overlay over the grid's current row: the number and the two words,
// each over its own cell.
void frmTrans::layOverlay() {
    flxGrid->setCol(0);
    int width = 0;
    for (int c = 0; c < 4; ++c) width += flxGrid->ColWidth(c);
    fraDrag->setGeometry(fraList->x() + flxGrid->x(), fraList->y() + flxGrid->y() + px(flxGrid->CellTop()), px(width),
                         px(flxGrid->CellHeight()));
    lblNr->setGeometry(0, 0, px(flxGrid->CellWidth()), fraDrag->height());
    for (int c = 1; c <= 2; ++c) {
        flxGrid->setCol(c);
        (overlaysEnglish(c) ? lblEng : lblDe)
            ->setGeometry(px(flxGrid->CellLeft()), 0, px(flxGrid->CellWidth()), fraDrag->height());
    }
    flxGrid->setCol(0);
}

void frmTrans::flxGrid_Click() {
    try {
        if (flxGrid->Rows() <= 1) return;
        const int row = flxGrid->Row();
        if (row < 1) {
            fraDrag->hide();
            return;
        }
        EqualizeColumns(this);
        // A current row scrolled out of sight (Enter, Space) comes into view
        // first; the overlay then lies exactly over it.
        flxGrid->ensureRowVisible(row);
        lblNr->setCaption(QString::number(row));
        for (int c = 1; c <= 2; ++c) {
            flxGrid->setCol(c);
            const bool english = overlaysEnglish(c);
            txtAdd[english ? 0 : 1]->setText(flxGrid->Text());
            (english ? lblEng : lblDe)->setCaption(flxGrid->Text());
        }
        layOverlay();
        shownEntry = flxGrid->TextMatrix(row, chkType->isChecked() ? 4 : 3).toLongLong();
        fraDrag->show();
        fraDrag->raise();
        flxGrid->setCol(3);
        GetCat(this);
        GetType(this);
        flxGrid->setCol(0);
        txtChange->hide();
    } catch (const RuntimeError& e) {
        ShowProblem(QStringLiteral("flxGrid_Click"), e.number, e.description);
    } catch (const std::bad_alloc&) {
        ShowOutOfMemory(QStringLiteral("flxGrid_Click"));
    }
}

void frmTrans::flxGrid_KeyDown(int& KeyCode, int) {
    if (KeyCode == 13 || KeyCode == 32) flxGrid_Click();
}

// The overlay belongs to the row it was opened on: a key or a right click
// that makes another row current closes it. The left press's own click
// opens it on the new row.
void frmTrans::flxGrid_RowChange(bool byLeftPress) {
    if (!byLeftPress) fraDrag->hide();
}

void frmTrans::flxGrid_MouseMove(int, int, int, int) {
    flxGrid->setToolTip(QString());
    const int row = flxGrid->MouseRow(), col = flxGrid->MouseCol();
    if (col > 0 && row > 0 && row < flxGrid->Rows() && col < flxGrid->Cols() && flxGrid->Rows() >= 2)
        flxGrid->setToolTip(flxGrid->TextMatrix(row, col));
}

void frmTrans::flxGrid_Scroll() { fraDrag->hide(); }

void frmTrans::lblVersion_MouseMove(int, int, int, int) { lblVersion->setToolTipText(lblVersion->Caption()); }

void frmTrans::cboCategory_Click() { ShowCat(this); }

void frmTrans::cboType_Click() {
    cboType2->setCurrentIndex(cboType->currentIndex());
}

void frmTrans::chkType_Click() {
    const bool searchShown = cboCategory->currentIndex() == -1 && flxGrid->Rows() > 1;
    ShowTypeColumn(this);
    // Search results are searched again in the new layout; a listed category is listed again.
    if (searchShown) cmdFind_Click();
    else ShowCat(this);
}

void frmTrans::sortBy(bool germanFirst) {
    QString first, second;
    int d1 = 0, d2 = 0;
    sortingTitles(germanFirst, first, d1, second, d2);
    flxGrid->setTextMatrix(0, 1, first);
    flxGrid->setTextMatrix(0, 2, second);
    // Search results are searched again; a listed category is listed again.
    if (cboCategory->count() > 0 && cboCategory->currentIndex() == -1) cmdFind_Click();
    else cboCategory_Click();
}

void frmTrans::optEnglish_Click() { sortBy(false); }
void frmTrans::optGerman_Click() { sortBy(true); }

void frmTrans::startDrag(Label* source) {
    auto* drag = new QDrag(source);
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kDragFormat), source->objectName().toUtf8());
    drag->setMimeData(data);
    drag->setPixmap(source->grab());
    drag->exec(Qt::MoveAction);
}

bool frmTrans::eventFilter(QObject* watched, QEvent* e) {
    if (watched == flxGrid && e->type() == QEvent::KeyPress) {
        int code = static_cast<QKeyEvent*>(e)->key() == Qt::Key_Return || static_cast<QKeyEvent*>(e)->key() == Qt::Key_Enter
                       ? 13
                       : (static_cast<QKeyEvent*>(e)->key() == Qt::Key_Space ? 32 : 0);
        if (code) {
            flxGrid_KeyDown(code, 0);
            return true;
        }
    }
    if (watched == imgDelCatType || watched == imgRenCatType) {
        if (e->type() == QEvent::DragEnter || e->type() == QEvent::DragMove) {
            auto* d = static_cast<QDragMoveEvent*>(e);
            if (d->mimeData()->hasFormat(QString::fromLatin1(kDragFormat))) d->acceptProposedAction();
            return true;
        }
        if (e->type() == QEvent::Drop) {
            auto* d = static_cast<QDropEvent*>(e);
            const QString name = QString::fromUtf8(d->mimeData()->data(QString::fromLatin1(kDragFormat)));
            QWidget* source = nullptr;
            if (name == lblCategory2->objectName()) source = lblCategory2;
            else if (name == lblType2->objectName()) source = lblType2;
            d->acceptProposedAction();
            if (source) {
                if (watched == imgDelCatType) imgDelCatType_DragDrop(source);
                else imgRenCatType_DragDrop(source);
            }
            return true;
        }
    }
    return Form::eventFilter(watched, e);
}

namespace {
bool captionIs(QWidget* w, const char* english, const char* german) {
    auto* l = qobject_cast<Label*>(w);
    return l && (l->Caption() == QLatin1String(english) || l->Caption() == QString::fromUtf8(german));
}
} // namespace

void frmTrans::imgDelCatType_DragDrop(QWidget* Source) {
    if (captionIs(Source, "Category", "Bereich")) DelCat(this);
    if (captionIs(Source, "Type", "Art")) DelType(this);
}

void frmTrans::imgRenCatType_DragDrop(QWidget* Source) {
    if (captionIs(Source, "Category", "Bereich")) RenCat(this);
    if (captionIs(Source, "Type", "Art")) RenType(this);
}

// The category where its box shows a listed name (or neither box does: its
// drop says to choose one first), the word type where only that box does;
// where both do, the user says which.
Label* frmTrans::shownName(bool rename) {
    const bool category = chosenIndex(cboCategory2) >= 0, type = chosenIndex(cboType2) >= 0;
    if (!category || !type) return type ? lblType2 : lblCategory2;
    const QString cat = u'\'' + cboCategory2->currentText() + u'\'', kind = u'\'' + cboType2->currentText() + u'\'';
    const QString english = QStringLiteral("Which do you want to ") + (rename ? QStringLiteral("rename") : QStringLiteral("delete")) +
                            QStringLiteral(": the category ") + cat + QStringLiteral(" (Yes) or the word type ") + kind +
                            QStringLiteral(" (No)?");
    const QString german = QStringLiteral("Was möchten Sie ") + (rename ? QStringLiteral("umbenennen") : QStringLiteral("löschen")) +
                           QStringLiteral(": den Bereich ") + cat + QStringLiteral(" (Ja) oder die Wortart ") + kind +
                           QStringLiteral(" (Nein)?");
    switch (MsgBox(L(english, german), vbYesNoCancel | vbQuestion)) {
    case vbYes: return lblCategory2;
    case vbNo: return lblType2;
    default: return nullptr;
    }
}

void frmTrans::imgDelCatType_Click() {
    if (Label* source = shownName(false)) imgDelCatType_DragDrop(source);
}

void frmTrans::imgRenCatType_Click() {
    if (Label* source = shownName(true)) imgRenCatType_DragDrop(source);
}

void frmTrans::txtAdd_KeyPress(int, int& KeyAscii) { KeyAscii = germanKey(KeyAscii); }

void frmTrans::lblCtrl_MouseDown(int Index, int, int, int, int) {
    lblCtrl[Index]->setFontSize(std::max(1, CtrlFontSize - 4));
}

void frmTrans::lblCtrl_MouseUp(int Index, int, int, int, int) {
    if (CtrlFontSize > 0) lblCtrl[Index]->setFontSize(CtrlFontSize);
}

void frmTrans::lblCtrl_Click(int Index) {
    if (Index == 0) {
        Unload();
        return;
    }
    if (lblCtrl[1]->Caption() == QLatin1String("_")) showMinimized();
    else showMaximized();
}

void frmTrans::cmdNew_Click() {
    txtAdd[0]->clear();
    txtAdd[1]->clear();
    cboType2->setEditText(QString());
    txtAdd[0]->setFocus();
}

void frmTrans::cmdAdd_Click() { AddVoc(this); }
void frmTrans::cmdDel_Click() { DelVoc(this); }
void frmTrans::cmdUpd_Click() { UpdVoc(this); }
void frmTrans::cmdFind_Click() { FindEntry(this, false); }
void frmTrans::cmdPrint_Click() { PrintCat(this); }

QString frmTrans::worksheetFile() { return App::dataFolder() + QStringLiteral("/Translator Worksheet.fods"); }

void frmTrans::cmdEG_Click() {
    const QString file = worksheetFile();
    if (!QFileInfo::exists(file)) {
        QFile::copy(QStringLiteral(":/translator/Worksheet.fods"), file);
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    if (!QFileInfo::exists(file)) {
        ShowProblem(QStringLiteral("cmdEG_Click"), 75, QStringLiteral("Path/File access error"));
        return;
    }
    if (Shell::openFile(file)) return;
    const QString place = QDir::toNativeSeparators(file);
    MsgBox(L(QStringLiteral("No program on this computer opens the worksheet. It is saved here:\n") + place,
             QStringLiteral("Kein Programm dieses Computers öffnet das Arbeitsblatt. Es liegt hier:\n") + place),
           vbExclamation);
}

void frmTrans::cmdInterpret_Click() { frmInterpret()->Show(vbModeless); }

void frmTrans::Form_Unload(int&) {
    CloseTransConnection();
    ShowMainMenu();
}
