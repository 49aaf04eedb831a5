#include "Forms/Main/frmAbout.h"

#include "Modules/modLanguage.h"
#include "Platform/Fonts.h"
#include "Platform/Keys.h"
#include "Platform/Resources.h"
#include "Platform/Shell.h"

#include <QDialog>
#include <QFile>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

class frmAbout* frmAbout() { return touchForm<class frmAbout>(); }

const QString frmAbout::homePage = QStringLiteral("https://quembly.example.org");
const QString frmAbout::mailAddress = QStringLiteral("team@quembly.example.org");

namespace {
const QColor back(0x1f, 0x3b, 0x5c);
const QColor link(0x9f, 0xd4, 0xff);

using Resources::skin;

Label* makeLabel(QWidget* parent, const QString& caption, int x, int y, int w, int h, double pt = 9, bool bold = false) {
    auto* l = new Label(caption, parent);
    l->setGeometry(x, y, w, h);
    l->setFont(Fonts::font(QStringLiteral("Verdana"), pt, bold));
    l->setForeColor(Qt::white);
    return l;
}

Label* makeLink(QWidget* parent, const QString& caption, int x, int y, int w, int h) {
    Label* l = makeLabel(parent, caption, x, y, w, h);
    QFont f = l->font();
    f.setUnderline(true);
    l->setFont(f);
    l->setForeColor(link);
    l->setCursor(Qt::PointingHandCursor);
    return l;
}
} // namespace

// --- Version histories --------------------------------------------------------

HistoryDocument::HistoryDocument(const QString& fileName, QWidget* owner)
    : QObject(owner), fileName_(fileName), owner_(owner) {}

QString HistoryDocument::text() const {
    QFile f(QStringLiteral(":/about/") + fileName_);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void HistoryDocument::DoVerb() {
    if (viewer_) {
        viewer_->raise();
        viewer_->activateWindow();
        return;
    }
    auto* dlg = new QDialog(owner_);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->setWindowTitle(fileName_);
    auto* view = new QPlainTextEdit(dlg);
    view->setReadOnly(true);
    view->setAccessibleName(readerName);
    // The histories are laid out in lines of at most 72 characters of a
    // typewriter font (underlined headings): the viewer is as wide.
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    dlg->resize(view->fontMetrics().horizontalAdvance(QString(76, u'M')) + 60, 440);
    view->setPlainText(text());
    auto* ok = new QPushButton(QStringLiteral("OK"), dlg);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dlg, &QDialog::accept);
    auto* layout = new QVBoxLayout(dlg);
    layout->addWidget(view);
    layout->addWidget(ok, 0, Qt::AlignRight);
    viewer_ = dlg;
    // Modal to the About window only, and without waiting here.
    dlg->open();
}

// --- The window -----------------------------------------------------------------

frmAbout::frmAbout() {
    setCaption(QStringLiteral("About QEM"));
    setFixedSize(440, 260);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, back);
    setPalette(p);

    imgLogo = new Image(this);
    imgLogo->setGeometry(16, 16, 64, 64);
    imgLogo->setPicture(skin("about_logo.png"));

    lblCredit = makeLabel(this, QStringLiteral("Developed by"), 100, 14, 300, 20);
    lblHP = makeLink(this, homePage, 100, 38, 300, 20);
    imgMail = new Image(this);
    imgMail->setGeometry(100, 66, 20, 14);
    imgMail->setPicture(skin("mail.png"));
    lblMail = makeLink(this, QStringLiteral("e-Mail: ") + mailAddress, 126, 62, 306, 20);

    // The name travels over the whole width of its own band.
    lblName = makeLabel(this, QStringLiteral("Quembly Team"), 16, 94, 0, 30, 14, true);
    lblName->setForeColor(QColor(0xff, 0xe0, 0x70));
    lblName->resize(lblName->sizeHint().width(), 30);

    lblVersion = makeLabel(this, QStringLiteral("Version Background"), 16, 140, 300, 20, 9, true);
    const QIcon doc = style()->standardIcon(QStyle::SP_FileDialogDetailedView);
    cmdEng = new PictureButton(QString(), this);
    cmdEng->setGeometry(16, 166, 40, 40);
    cmdEng->setPicture(doc.pixmap(24, 24));
    lblEng = makeLabel(this, QStringLiteral("English"), 62, 176, 100, 20);
    cmdDe = new PictureButton(QString(), this);
    cmdDe->setGeometry(170, 166, 40, 40);
    cmdDe->setPicture(doc.pixmap(24, 24));
    lblDe = makeLabel(this, QStringLiteral("Deutsch"), 216, 176, 100, 20);
    // The picture buttons show no text: readers name them by what they open.
    cmdEng->setAccessibleName(QStringLiteral("English version history"));
    cmdDe->setAccessibleName(QStringLiteral("German version history"));
    oleEng = new HistoryDocument(QStringLiteral("VersionENG.txt"), this);
    oleDe = new HistoryDocument(QStringLiteral("VersionDE.txt"), this);
    oleEng->readerName = cmdEng->accessibleName();
    oleDe->readerName = cmdDe->accessibleName();

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setGeometry(340, 218, 84, 28);
    cmdOK->setDefault(true);

    // No interval at design: the activation starts it.
    Timer = new ::Timer(this, 0, true);

    connect(Timer, &::Timer::tick, this, &frmAbout::Timer_Timer);
    lblHP->onClick = [this] { lblHP_Click(); };
    lblMail->onClick = [this] { lblMail_Click(); };
    connect(cmdEng, &QPushButton::clicked, this, &frmAbout::cmdEng_Click);
    connect(cmdDe, &QPushButton::clicked, this, &frmAbout::cmdDe_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
}

void frmAbout::Form_Activate() {
    Timer->setEnabled(true);
    Timer->setInterval(50);
    Step = 100;
    SetLangAbout(this);
}

void frmAbout::Form_KeyDown(int& KeyCode, int) {
    // Escape closes the window, as the close box does (and as it closes
    // every dialog of the program).
    if (KeyCode != Keys::vbKeyEscape) return;
    KeyCode = 0;
    close();
}

void frmAbout::Timer_Timer() {
    const int left = lblName->x() * twipsPerPixel + Step;
    lblName->move(px(left), lblName->y());
    const int nameLeft = lblName->x() * twipsPerPixel;
    if (nameLeft < 0) Step = 100;
    if (nameLeft + lblName->width() * twipsPerPixel > width() * twipsPerPixel) Step = -100;
}

bool frmAbout::OpenBrowser(const QString& url) { return Shell::open(url); }

void frmAbout::lblHP_Click() { OpenBrowser(lblHP->Caption()); }

void frmAbout::lblMail_Click() { Shell::open(QStringLiteral("mailto:") + mailAddress); }

void frmAbout::cmdEng_Click() { oleEng->DoVerb(); }

void frmAbout::cmdDe_Click() { oleDe->DoVerb(); }

void frmAbout::cmdOK_Click() { Unload(); }

void SetLangAbout(class frmAbout* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("Über ZOV"));
    frm->lblVersion->setCaption(QStringLiteral("Fassungshintergrund"));
    frm->lblCredit->setCaption(QStringLiteral("Entwickelt von"));
    frm->lblMail->setCaption(QStringLiteral("e-Post Anschrift: ") + frmAbout::mailAddress);
    frm->cmdEng->setAccessibleName(QStringLiteral("Englische Versionsgeschichte"));
    frm->cmdDe->setAccessibleName(QStringLiteral("Deutsche Versionsgeschichte"));
    frm->oleEng->readerName = frm->cmdEng->accessibleName();
    frm->oleDe->readerName = frm->cmdDe->accessibleName();
}
