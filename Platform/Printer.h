#pragma once
// The printer object: one print job at a time, positions in inches (or
// twips) from the top-left corner of the paper, a font size in points and a
// bold switch, a current position where the next line is printed, the
// number of the page being printed, new pages and the end of the document.
//
// The job begins with its first line (or new page) and ends with EndDoc.
// The first failure of a job is thrown once as a RuntimeError; the job is
// then abandoned and everything else printed on it is dropped until EndDoc,
// which reports the failed job with false. The computer's printer sits
// behind the interface; tests install the recording implementation.
#include "Platform/Errors.h"

#include <QList>
#include <QString>
#include <memory>
#include <optional>

class QPaintDevice;
class QPainter;
class QPdfWriter;
class QPrinter;

namespace Err {
inline RuntimeError printer() { return {482, QStringLiteral("Printer error")}; }
}

class Printer {
public:
    enum ScaleModes { vbTwips = 1, vbInches = 5 };

    virtual ~Printer() = default;

    // The unit of CurrentX and CurrentY (twips at first).
    int ScaleMode() const { return scaleMode_; }
    void setScaleMode(int mode);
    double FontSize() const { return fontSize_; }
    void setFontSize(double points) { fontSize_ = points; }
    bool FontBold() const { return fontBold_; }
    void setFontBold(bool on) { fontBold_ = on; }
    // Where the next line starts, in the scale unit, from the paper's corner.
    double CurrentX() const;
    void setCurrentX(double x);
    double CurrentY() const;
    void setCurrentY(double y);
    // The number of the page being printed, 1 for the first page.
    int Page() const { return page_; }

    // Prints the text as one line at the current position; afterwards the
    // position is at the left edge of the next line.
    void Print(const QString& text);
    // Ends the page; the next line goes on a new one, at the top left.
    void NewPage();
    // Ends the job and releases its pages. True when they reached their
    // destination (or nothing was printed); false when the job had failed
    // before. Throws when the job fails now.
    bool EndDoc();
    // Abandons the job without printing it.
    void KillDoc();
    // Abandons the running job as failed: everything else printed on it is
    // dropped until EndDoc (which then returns false).
    void failJob();

    bool jobRunning() const { return running_; }
    bool jobFailed() const { return failed_; }
    // The file the last job was written to, "" when it went to a printer.
    QString documentFile() const { return documentFile_; }

    static Printer& instance();
    static void install(std::unique_ptr<Printer> printer);

protected:
    // The back end's part; each throws a RuntimeError when it fails.
    virtual void startJob() = 0;
    // One line with its top at (x, y) inches, in FontSize and FontBold.
    virtual void printLine(const QString& text, double xInches, double yInches) = 0;
    virtual void startPage() = 0;
    virtual void finishJob() = 0;
    // Drops the job's output, also of a start that failed half-way; never throws.
    virtual void abandonJob() = 0;
    // The height of one line of the current font, in inches.
    virtual double lineHeight() const;

    void setDocumentFile(const QString& path) { documentFile_ = path; }

private:
    double toInches(double v) const;
    double fromInches(double v) const;
    // Runs one step of the job; its first failure abandons the job.
    template <class F> void step(F&& f);
    void beginJob();
    void reset();

    int scaleMode_ = vbTwips;
    double fontSize_ = 10;
    bool fontBold_ = false;
    double x_ = 0, y_ = 0; // inches
    int page_ = 1;
    bool running_ = false;
    bool failed_ = false;
    QString documentFile_;
};

// The computer's printer: the default printer where there is one, else a
// PDF file (Letter paper) in the program folder named after the moment the
// job began ("Print 2026-03-15 100000.pdf"), never over an earlier one.
//
// The PDF is written under a hidden temporary name in the same folder
// (".~Print 2026-03-15 100000.pdf.part"), every write checked, and takes its
// name only when the job has ended whole: its length checked against what
// was written and synced to the disk. A job that fails on the way (a full
// disk, "61: Disk full") says so at its end and leaves no file; a job cut
// off (the program killed) leaves nothing under a printout's name.
class QtPrinter : public Printer {
public:
    // The hidden name of the PDF named `fileName` while it is written
    // (".~<fileName>.part"; ".~<fileName>.<n>.part" for the n-th try when
    // a killed job's part holds the first).
    static QString partName(const QString& fileName, int n = 1);
    // Whether `fileName` is such a part of a printout named as this printer
    // names them (".~Print 2026-03-15 100000 (2).pdf.3.part"): what a job
    // cut off by a kill left. Scanned by hand: no pattern engine is loaded
    // at start, where the clean-up asks.
    static bool isUnfinishedPart(QStringView fileName);

    // With useDefaultPrinter false every job becomes a PDF file.
    explicit QtPrinter(bool useDefaultPrinter = true);
    ~QtPrinter() override;
    // Tests: a PDF of this printer fails as on a full disk once `bytes`
    // bytes of it are written (none: writes go through).
    void failWritesAfter(std::optional<qint64> bytes) { room_ = bytes; }

protected:
    void startJob() override;
    void printLine(const QString& text, double xInches, double yInches) override;
    void startPage() override;
    void finishJob() override;
    void abandonJob() override;
    double lineHeight() const override;

private:
    class PdfFile;
    QString freeFileName() const;
    QPaintDevice* device() const;
    bool useDefaultPrinter_;
    std::optional<qint64> room_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<PdfFile> file_;
    std::unique_ptr<QPdfWriter> pdf_;
    std::unique_ptr<QPainter> painter_;
};

// Keeps every line with its place, font and page, for tests.
class RecordingPrinter : public Printer {
public:
    struct Line {
        QString text;
        double x = 0, y = 0; // inches
        double size = 0;
        bool bold = false;
        int page = 0;
        int job = 0; // 1 for the first job
    };
    QList<Line> lines;
    int jobsStarted = 0;
    int jobsEnded = 0;
    int jobsAbandoned = 0;
    int newPages = 0;
    // Makes every job fail at its start, or only at its end.
    bool failAtStart = false;
    bool failAtEnd = false;
    // Pretends the jobs are written to this file ("" for a printer).
    QString pretendFile;

protected:
    void startJob() override;
    void printLine(const QString& text, double xInches, double yInches) override;
    void startPage() override { ++newPages; }
    void finishJob() override;
    void abandonJob() override { ++jobsAbandoned; }
};
