#include "Platform/Printer.h"

#include "Platform/App.h"
#include "Platform/Clock.h"
#include "Platform/SaveError.h"
#include "Platform/Storage.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

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

// The PDF being written: a file under a hidden temporary name beside its
// final one, every write taken to the file at once and checked. The first
// failure is kept and every write after it refused; the toolkit's PDF
// engine, which ignores what its writes return, goes on to the end of the
// job, where finish() reports it.
class QtPrinter::PdfFile : public QIODevice {
public:
    PdfFile(const QString& finalPath, std::optional<qint64> room) : final_(finalPath), room_(room) {}
    ~PdfFile() override { discard(); }

    // Makes the temporary file; false when it cannot be made.
    bool create() {
        const QFileInfo target(final_);
        for (int n = 1; n < 100; ++n) {
            file_.setFileName(target.absolutePath() + u'/' + partName(target.fileName(), n));
            if (file_.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
                return open(QIODevice::WriteOnly | QIODevice::Unbuffered);
            // A part left by a job that was cut off: another name.
            if (!file_.exists()) return false;
        }
        return false;
    }

    // Everything written and on the disk: the file takes its final name
    // (another free one should that have appeared meanwhile). Throws why not.
    QString finish(const std::function<QString()>& freeName) {
        if (failure_ != 0) throw Err::systemError(failure_);
        // Some file systems report a full disk only when the data is synced.
        if (::fsync(file_.handle()) != 0 && errno != EINVAL) throw Err::systemError(errno);
        struct stat info {};
        if (::fstat(file_.handle(), &info) != 0) throw Err::systemError(errno);
        if (info.st_size != written_ || written_ == 0) throw Err::systemError(EIO);
        file_.close();
        const QByteArray from = QFile::encodeName(file_.fileName());
        for (;;) {
            const QByteArray to = QFile::encodeName(final_);
            int result = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
            // A file system that cannot refuse to replace: asked first.
            if (result != 0 && (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP))
                result = QFileInfo::exists(final_) ? (errno = EEXIST, -1) : ::rename(from.constData(), to.constData());
            if (result == 0) break;
            if (errno != EEXIST) throw Err::systemError(errno);
            final_ = freeName();
        }
        renamed_ = true;
        // The new name reaches the disk with the folder.
        const int folder = ::open(QFile::encodeName(QFileInfo(final_).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
        return final_;
    }

    // Drops the file of a job that did not end whole; nothing written after.
    void discard() {
        if (failure_ == 0) failure_ = ECANCELED;
        if (renamed_ || file_.fileName().isEmpty()) return;
        if (file_.isOpen()) file_.close();
        QFile::remove(file_.fileName());
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override {
        if (failure_ != 0) return -1;
        qint64 take = len;
        if (room_ && written_ + take > *room_) take = std::max<qint64>(0, *room_ - written_);
        if (take > 0) {
            if (const int failed = Storage::writeAll(file_, QByteArray::fromRawData(data, qsizetype(take)))) {
                failure_ = failed;
                return -1;
            }
            written_ += take;
        }
        if (take < len) {
            failure_ = ENOSPC;
            return -1;
        }
        return len;
    }

private:
    QFile file_;
    QString final_;
    std::optional<qint64> room_;
    qint64 written_ = 0;
    int failure_ = 0; // errno of the first failed write
    bool renamed_ = false;
};

QtPrinter::QtPrinter(bool useDefaultPrinter) : useDefaultPrinter_(useDefaultPrinter) {}

QtPrinter::~QtPrinter() {
    // An unfinished job is dropped with the program.
    if (painter_ || printer_ || pdf_) abandonJob();
}

QString QtPrinter::partName(const QString& fileName, int n) {
    return QStringLiteral(".~") + fileName + (n > 1 ? u'.' + QString::number(n) : QString()) + QStringLiteral(".part");
}

namespace {
// Takes `text` off the front of `rest`; whether it stood there.
bool take(QStringView& rest, QStringView text) {
    if (!rest.startsWith(text)) return false;
    rest = rest.mid(text.size());
    return true;
}
// Takes `count` digits (at least one when `count` is 0: as many as stand there) off the front of `rest`.
bool takeDigits(QStringView& rest, qsizetype count = 0) {
    qsizetype n = 0;
    while (n < rest.size() && rest[n] >= u'0' && rest[n] <= u'9' && (count == 0 || n < count)) ++n;
    if (n == 0 || (count > 0 && n < count)) return false;
    rest = rest.mid(n);
    return true;
}
} // namespace

bool QtPrinter::isUnfinishedPart(QStringView fileName) {
    // ".~Print " yyyy-MM-dd HHmmss [" (n)"] ".pdf" [".n"] ".part", as freeFileName and partName write it.
    QStringView rest = fileName;
    if (!take(rest, u".~Print ") || !takeDigits(rest, 4) || !take(rest, u"-") || !takeDigits(rest, 2) ||
        !take(rest, u"-") || !takeDigits(rest, 2) || !take(rest, u" ") || !takeDigits(rest, 6))
        return false;
    if (take(rest, u" (") && (!takeDigits(rest) || !take(rest, u")"))) return false;
    if (!take(rest, u".pdf")) return false;
    if (rest == u".part") return true;
    return take(rest, u".") && takeDigits(rest) && rest == u".part";
}

QString QtPrinter::freeFileName() const {
    const QString base = QStringLiteral("Print ") + Clock::now().toString(QStringLiteral("yyyy-MM-dd HHmmss"));
    QString path = App::dataFolder() + u'/' + base + QStringLiteral(".pdf");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = App::dataFolder() + u'/' + base + QStringLiteral(" (") + QString::number(n) + QStringLiteral(").pdf");
    return path;
}

QPaintDevice* QtPrinter::device() const {
    if (pdf_) return pdf_.get();
    return printer_.get();
}

void QtPrinter::startJob() {
    const QPrinterInfo info = useDefaultPrinter_ ? QPrinterInfo::defaultPrinter() : QPrinterInfo();
    if (!info.isNull()) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setPrinterName(info.printerName());
        // Positions count from the paper's corner, not from the printable area.
        printer_->setFullPage(true);
        printer_->setDocName(App::title());
        setDocumentFile(QString());
    } else {
        const QString path = freeFileName();
        setDocumentFile(path);
        file_ = std::make_unique<PdfFile>(path, room_);
        if (!file_->create()) throw Err::printer();
        pdf_ = std::make_unique<QPdfWriter>(file_.get());
        pdf_->setResolution(1200);
        pdf_->setPageSize(QPageSize(QPageSize::Letter));
        // Positions count from the paper's corner.
        pdf_->setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf_->setTitle(App::title());
    }
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(device())) throw Err::printer();
}

void QtPrinter::printLine(const QString& text, double xInches, double yInches) {
    QFont font;
    font.setPointSizeF(FontSize());
    font.setBold(FontBold());
    painter_->setFont(font);
    const double dpi = device()->logicalDpiY();
    const QFontMetricsF metrics(font, device());
    painter_->drawText(QPointF(xInches * dpi, yInches * dpi + metrics.ascent()), text);
}

double QtPrinter::lineHeight() const {
    if (!device() || !painter_) return Printer::lineHeight();
    QFont font;
    font.setPointSizeF(FontSize());
    font.setBold(FontBold());
    return QFontMetricsF(font, device()).height() / device()->logicalDpiY();
}

void QtPrinter::startPage() {
    if (!(pdf_ ? pdf_->newPage() : printer_->newPage())) throw Err::printer();
}

void QtPrinter::finishJob() {
    const bool ended = painter_->end();
    const bool ok = ended && (!printer_ || printer_->printerState() != QPrinter::Error);
    painter_.reset();
    printer_.reset();
    pdf_.reset();
    if (!ok) throw Err::printer();
    if (file_) {
        const std::unique_ptr<PdfFile> file = std::move(file_);
        setDocumentFile(file->finish([this] { return freeFileName(); }));
    }
}

void QtPrinter::abandonJob() {
    // The engine's last writes would only go to a file about to go.
    if (file_) file_->discard();
    if (painter_ && painter_->isActive()) {
        if (printer_) printer_->abort();
        painter_->end();
    }
    painter_.reset();
    printer_.reset();
    pdf_.reset();
    file_.reset();
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
