#include "Platform/Printer.h"

#include "Platform/App.h"
#include "Platform/Clock.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
constexpr double twipsPerInch = 1440;

std::unique_ptr<Printer>& slot() {
    static std::unique_ptr<Printer> p;
    return p;
}
} // namespace

Printer& Printer::instance() {
    if (!slot()) slot() = std::make_unique<QtPrinter>();
    return *slot();
}

void Printer::install(std::unique_ptr<Printer> printer) { slot() = std::move(printer); }

// --- The job --------------------------------------------------------------

void Printer::setScaleMode(int mode) { scaleMode_ = mode == vbInches ? vbInches : vbTwips; }

double Printer::toInches(double v) const { return scaleMode_ == vbInches ? v : v / twipsPerInch; }
double Printer::fromInches(double v) const { return scaleMode_ == vbInches ? v : v * twipsPerInch; }

double Printer::CurrentX() const { return fromInches(x_); }
void Printer::setCurrentX(double x) { x_ = toInches(x); }
double Printer::CurrentY() const { return fromInches(y_); }
void Printer::setCurrentY(double y) { y_ = toInches(y); }

double Printer::lineHeight() const { return fontSize_ * 1.2 / 72; }

template <class F> void Printer::step(F&& f) {
    try {
        f();
    } catch (const RuntimeError&) {
        failJob();
        throw;
    }
}

void Printer::beginJob() {
    if (running_) return;
    page_ = 1;
    documentFile_.clear();
    // Running from here on, so that a start that fails half-way is abandoned.
    running_ = true;
    startJob();
}

void Printer::Print(const QString& text) {
    if (!failed_) {
        step([&] {
            beginJob();
            printLine(text, x_, y_);
        });
    }
    y_ += lineHeight();
    x_ = 0;
}

void Printer::NewPage() {
    if (!failed_) {
        step([&] {
            beginJob();
            startPage();
        });
    }
    ++page_;
    x_ = y_ = 0;
}

bool Printer::EndDoc() {
    if (failed_) {
        reset();
        return false;
    }
    if (!running_) {
        // Nothing was printed: there is no document.
        documentFile_.clear();
        reset();
        return true;
    }
    try {
        finishJob();
    } catch (const RuntimeError&) {
        abandonJob();
        documentFile_.clear();
        reset();
        throw;
    }
    reset();
    return true;
}

void Printer::KillDoc() {
    if (running_) abandonJob();
    documentFile_.clear();
    reset();
}

void Printer::failJob() {
    if (running_) abandonJob();
    documentFile_.clear();
    running_ = false;
    failed_ = true;
}

void Printer::reset() {
    running_ = false;
    failed_ = false;
    page_ = 1;
    x_ = y_ = 0;
}

// --- The computer's printer -------------------------------------------------

QtPrinter::QtPrinter(bool useDefaultPrinter) : useDefaultPrinter_(useDefaultPrinter) {}

QtPrinter::~QtPrinter() {
    // An unfinished job is dropped with the program.
    if (painter_ || printer_) abandonJob();
}

QString QtPrinter::freeFileName() const {
    const QString base = QStringLiteral("Print ") + Clock::now().toString(QStringLiteral("yyyy-MM-dd HHmmss"));
    QString path = App::dataFolder() + u'/' + base + QStringLiteral(".pdf");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = App::dataFolder() + u'/' + base + QStringLiteral(" (") + QString::number(n) + QStringLiteral(").pdf");
    return path;
}

void QtPrinter::startJob() {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    const QPrinterInfo info = useDefaultPrinter_ ? QPrinterInfo::defaultPrinter() : QPrinterInfo();
    if (!info.isNull()) {
        printer_->setPrinterName(info.printerName());
        setDocumentFile(QString());
    } else {
        const QString path = freeFileName();
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setPageSize(QPageSize(QPageSize::Letter));
        printer_->setOutputFileName(path);
        setDocumentFile(path);
    }
    // Positions count from the paper's corner, not from the printable area.
    printer_->setFullPage(true);
    printer_->setDocName(App::title());
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) throw Err::printer();
}

void QtPrinter::printLine(const QString& text, double xInches, double yInches) {
    QFont font;
    font.setPointSizeF(FontSize());
    font.setBold(FontBold());
    painter_->setFont(font);
    const double dpi = printer_->resolution();
    const QFontMetricsF metrics(font, printer_.get());
    painter_->drawText(QPointF(xInches * dpi, yInches * dpi + metrics.ascent()), text);
}

double QtPrinter::lineHeight() const {
    if (!printer_ || !painter_) return Printer::lineHeight();
    QFont font;
    font.setPointSizeF(FontSize());
    font.setBold(FontBold());
    return QFontMetricsF(font, printer_.get()).height() / printer_->resolution();
}

void QtPrinter::startPage() {
    if (!printer_->newPage()) throw Err::printer();
}

void QtPrinter::finishJob() {
    const bool ended = painter_->end();
    const bool ok = ended && printer_->printerState() != QPrinter::Error;
    painter_.reset();
    printer_.reset();
    if (!ok) throw Err::printer();
    if (!documentFile().isEmpty() && QFileInfo(documentFile()).size() == 0) throw Err::printer();
}

void QtPrinter::abandonJob() {
    if (painter_ && painter_->isActive()) {
        printer_->abort();
        painter_->end();
    }
    painter_.reset();
    printer_.reset();
    // A half-written file would look like a printout.
    if (!documentFile().isEmpty()) QFile::remove(documentFile());
}

// --- Recording ----------------------------------------------------------------

void RecordingPrinter::startJob() {
    ++jobsStarted;
    if (failAtStart) throw Err::printer();
    setDocumentFile(pretendFile);
}

void RecordingPrinter::printLine(const QString& text, double xInches, double yInches) {
    lines << Line{text, xInches, yInches, FontSize(), FontBold(), Page(), jobsStarted};
}

void RecordingPrinter::finishJob() {
    if (failAtEnd) throw Err::printer();
    ++jobsEnded;
}
