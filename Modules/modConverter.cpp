#include "Modules/modConverter.h"

#include "Forms/Main/frmChoice.h"
#include "Modules/modMain.h"
#include "Platform/Announce.h"
#include "Platform/Errors.h"
#include "Platform/Fonts.h"
#include "Platform/MsgBox.h"
#include "Platform/Numbers.h"

#include <cmath>

namespace Converter {

std::optional<double> scale(double x, double factor, double sourceFactor) {
    const double product = x * factor;
    if (!std::isfinite(product)) return std::nullopt;
    const double r = product / sourceFactor;
    if (!std::isfinite(r)) return std::nullopt;
    return r;
}

QString twoDecimals(double value) { return Runtime::Format(value, QStringLiteral("0.00")); }

} // namespace Converter

namespace {
// Layout of the column of rows, in twips.
constexpr double kButtonLeft = 120, kButtonSize = 375;
// The boxes hold the 19 characters of 1E+15 shown with two decimals.
constexpr double kBoxLeft = 600, kBoxWidth = 3000, kRowHeight = 375;
constexpr double kNameLeft = kBoxLeft + kBoxWidth + 120, kNameWidth = 2280;
constexpr double kFirstTop = 240, kRowPitch = 480;
constexpr double kCmdWidth = 1335, kCmdHeight = 405;

const QString kFont = QStringLiteral("Haettenschweiler");
constexpr int kSignificantDigits = 15;

// Runs a handler; a run-time error shows the standard problem box instead
// of leaving the handler through the event loop.
template <class F> void guardedHandler(const QString& label, F&& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        ShowProblem(label, e.number, e.description);
    }
}
} // namespace

ConverterForm::ConverterForm() {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    cmdCnvrt = new PictureButton(QStringLiteral("Convert"), this);
    cmdClr = new PictureButton(QStringLiteral("&Clear"), this);
    connect(cmdCnvrt, &QPushButton::clicked, this,
            [this] { guardedHandler(formName() + QStringLiteral("_cmdCnvrt_Click"), [this] { cmdCnvrt_Click(); }); });
    connect(cmdClr, &QPushButton::clicked, this,
            [this] { guardedHandler(formName() + QStringLiteral("_cmdClr_Click"), [this] { cmdClr_Click(); }); });
}

Label* ConverterForm::addRow(const QString& name, bool withButton) {
    const int row = rowCount();

    auto* result = new Label(QString(), this);
    result->setFont(Fonts::font(kFont, 14));
    result->setBorderStyle(1);
    result->setIndent(4);
    result->setShrinkToFit(true);
    result->setAutoFillBackground(true);
    result->setStyleSheet(QStringLiteral("background-color: white; color: black;"));
    rowResults << result;

    auto* box = new TextBox(this);
    box->setFont(Fonts::font(kFont, 14));
    // Text reaches an input box only through the key filter: typed or pasted.
    box->setAcceptDrops(false);
    box->setVisible(row == 0);
    box->onKeyPress = [this, row](int& KeyAscii) {
        guardedHandler(formName() + QStringLiteral("_KeyPress"), [&] { RowInput_KeyPress(row, KeyAscii); });
    };
    const auto forget = [this] { counted_.row = -1; };
    connect(box, &QLineEdit::textChanged, this, forget);
    connect(box, &QLineEdit::cursorPositionChanged, this, forget);
    connect(box, &QLineEdit::selectionChanged, this, forget);
    box->raise();
    rowInputs << box;

    auto* nameLabel = new Label(name, this);
    nameLabel->setFont(Fonts::font(QStringLiteral("Verdana"), 9, true));
    rowNames << nameLabel;

    if (withButton) {
        auto* button = new PictureButton(QString::fromUtf8("►"), this);
        button->setFont(Fonts::font(QStringLiteral("Verdana"), 7));
        connect(button, &QPushButton::clicked, this, [this, row] {
            guardedHandler(formName() + QStringLiteral("_Row_Click"), [&] { RowButton_Click(row); });
        });
        rowButtons << button;
    }
    return nameLabel;
}

void ConverterForm::placeRow(int row, double left, double top, double boxWidth, double nameLeft, double nameWidth) {
    place(rowResults[row], left, top, boxWidth, kRowHeight);
    place(rowInputs[row], left, top, boxWidth, kRowHeight);
    place(rowNames[row], nameLeft, top, nameWidth, kRowHeight);
    if (row < rowButtons.size()) place(rowButtons[row], left - (kBoxLeft - kButtonLeft), top, kButtonSize, kRowHeight);
}

void ConverterForm::layoutColumn() {
    for (int i = 0; i < rowCount(); ++i)
        placeRow(i, kBoxLeft, kFirstTop + i * kRowPitch, kBoxWidth, kNameLeft, kNameWidth);
    const double buttonsTop = kFirstTop + rowCount() * kRowPitch + 120;
    place(cmdCnvrt, kBoxLeft, buttonsTop, kCmdWidth, kCmdHeight);
    place(cmdClr, kBoxLeft + kCmdWidth + 120, buttonsTop, kCmdWidth, kCmdHeight);
    setClientSizeTwips(kNameLeft + kNameWidth + 120, buttonsTop + kCmdHeight + 240);
    setFixedSize(size());
}

void ConverterForm::selectRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    if (TextBox* old = activeBox()) old->setVisible(false);
    rowInputs[row]->setVisible(true);
    rowInputs[row]->setFocus();
    ActiveRow = qint16(row);
    for (Label* result : rowResults) result->setCaption(QString());
    rowInputs[row]->setTextValue(QString());
}

void ConverterForm::RowButton_Click(int Index) { selectRow(Index); }

namespace {
// Counts into `n` the digits from the first one that is not 0 (as far as
// `n` shows); true as soon as they are more than `limit`.
bool countDigits(QStringView text, int& n, int limit) {
    for (QChar c : text)
        if (c.isDigit() && (n > 0 || c != u'0') && ++n > limit) return true;
    return false;
}
} // namespace

void ConverterForm::RowInput_KeyPress(int Index, int& KeyAscii) {
    const bool digit = KeyAscii >= 48 && KeyAscii <= 57;
    if (!digit && KeyAscii != 8 && KeyAscii != 46) KeyAscii = 0;
    // Backspace in a paste changes the text before the caret unseen.
    if (KeyAscii == 8) counted_.row = -1;
    if (!digit) return;
    // A double holds 15 significant digits; more would mean nothing and
    // push the results out of their captions.
    const TextBox* box = rowInputs.value(Index);
    if (!box) return;
    const QString text = box->Text();
    const QStringView view(text);
    const qsizetype at = box->hasSelectedText() ? box->selectionStart() : box->cursorPosition();
    if (counted_.row != Index || counted_.upTo > at) counted_ = {Index, 0, 0};
    int n = counted_.digits;
    bool more = countDigits(view.sliced(counted_.upTo, at - counted_.upTo), n, kSignificantDigits);
    counted_ = more ? DigitCount{} : DigitCount{Index, at, n};
    const QChar typed(KeyAscii);
    more = more || countDigits(QStringView(&typed, 1), n, kSignificantDigits) ||
           countDigits(view.sliced(at + box->selectionLength()), n, kSignificantDigits);
    if (more) KeyAscii = 0;
}

void ConverterForm::cmdCnvrt_Click() {
    TextBox* box = activeBox();
    const QString amount = box->Text();
    std::optional<QList<RowResult>> results;
    // What passes is what is converted: "5-" reads as -5 by the settings but
    // as 5 by the leading value the conversion takes.
    if (Runtime::IsNumeric(amount) && Runtime::wholeValue(amount)) results = convert(amount);
    if (!results || results->size() != rowCount()) {
        box->setFocus();
        return;
    }
    for (int i = 0; i < rowCount(); ++i) {
        rowResults[i]->setCaption(results->at(i).caption);
        rowResults[i]->setToolTipText(results->at(i).toolTip);
    }
    afterConvert();
    tellResults();
}

void ConverterForm::afterConvert() { activeBox()->setFocus(); }

void ConverterForm::tellResults() {
    QStringList shown;
    for (int i = 0; i < rowCount(); ++i)
        if (i != ActiveRow && !rowResults[i]->Caption().isEmpty())
            shown << rowResults[i]->Caption() + u' ' + rowNames[i]->Caption().simplified();
    if (!shown.isEmpty()) tellReaders(activeBox(), shown.join(QStringLiteral(", ")));
}

void ConverterForm::cmdClr_Click() {
    for (int i = 0; i < rowCount(); ++i) {
        rowInputs[i]->setTextValue(QString());
        rowResults[i]->setCaption(QString());
        rowResults[i]->setToolTipText(QString());
        if (rowInputs[i]->isVisibleTo(this)) rowInputs[i]->setFocus();
    }
}

std::optional<QList<ConverterForm::RowResult>> ConverterForm::convert(const QString& amount) {
    (void)amount;
    return std::nullopt;
}

std::optional<QList<ConverterForm::RowResult>> ConverterForm::factorResults(const QString& amount,
                                                                           const QStringList& factors,
                                                                           const QStringList& suffixes) {
    try {
        const double x = Runtime::Val(amount);
        const double source = Runtime::Val(factors.value(ActiveRow));
        QList<RowResult> results;
        QString last;
        for (int i = 0; i < rowCount(); ++i) {
            const std::optional<double> r = Converter::scale(x, Runtime::Val(factors.value(i)), source);
            if (!r) return std::nullopt;
            last = Runtime::CStr(*r);
            const QString suffix = suffixes.value(i);
            results << RowResult{Converter::twoDecimals(*r) + suffix, last + suffix};
        }
        LastResult = last;
        return results;
    } catch (const RuntimeError&) {
        // A text beyond the range of a double reads as an overflow.
        return std::nullopt;
    }
}

QList<TextBox*> ConverterForm::hiddenTexts(const QStringList& texts) {
    QList<TextBox*> boxes;
    for (const QString& t : texts) {
        auto* box = new TextBox(this);
        box->setTextValue(t);
        box->setVisible(false);
        boxes << box;
    }
    return boxes;
}

QStringList ConverterForm::textsOf(const QList<TextBox*>& boxes) {
    QStringList texts;
    for (const TextBox* b : boxes) texts << b->Text();
    return texts;
}

void ConverterForm::Form_Load() {
    frmChoice()->setVisible(false);
    applyLanguage();
    // A row's button, box and result are named after its unit, in the
    // current language (the button shows only an arrow, the box a number).
    // A result clicked as a button (a currency) is named by its unit, and
    // tells its amount besides; one only read is its amount, of its unit.
    for (int i = 0; i < rowCount(); ++i) {
        const QString unit = rowNames[i]->Caption().simplified();
        rowInputs[i]->setAccessibleName(unit);
        if (rowResults[i]->onClick) rowResults[i]->setFunctionName(unit, true);
        else rowResults[i]->setAccessibleDescription(unit);
        if (i < rowButtons.size()) rowButtons[i]->setAccessibleName(unit);
    }
    // Digits typed right after opening land in the amount box.
    activeBox()->setFocus();
}

void ConverterForm::Form_Unload(int& Cancel) {
    (void)Cancel;
    ReturnToMenu();
}
