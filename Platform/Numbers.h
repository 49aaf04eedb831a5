#pragma once
// Number functions of the language runtime: the leading value of a text,
// the numeric test and conversion by the regional settings, the general
// number form, number patterns and the integer conversions.
//
// Everything that depends on the regional settings takes them from
// Runtime::locale() (Platform/Runtime.h), so tests can switch them.
// Where the language runtime raised an error these functions throw a
// RuntimeError of Platform/Errors.h (Err::typeMismatch(), Err::overflow()).
#include <QChar>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace Runtime {

// --- Reading numbers --------------------------------------------------------

// The leading value of a text, never dependent on the regional settings:
// blanks, tabs and line feeds are skipped wherever they stand (" 1 2" is 12),
// then an optional sign, digits with "." as the only decimal point and an
// optional exponent ("E" or "D", optional sign, digits); "&H" and "&O" read
// hexadecimal and octal digits (a value that fits 16 bits is a 16-bit signed
// number, "&HFFFF" is -1; else 32 bits). Reading stops at the first character
// that cannot continue the number; a text without a number reads 0.
// A value beyond the range of a double throws Err::overflow(), as the
// runtime's Val did.
double Val(const QString& text);

// Val's reading when it takes the whole text (blanks around it aside): "2.09"
// and " 12 " are read, "2,09" and "5-" are not, since Val would stop before
// their end and take a value the user did not type. No value either for a
// text without a digit or beyond the range of a double.
std::optional<double> wholeValue(const QString& text);

// True when the whole text converts to a number by the regional settings:
// blanks around it, an optional sign before or after the digits (or
// parentheses for a negative amount), the settings' currency sign once before
// or after, the group separator within the whole part (not before the first
// digit), the decimal separator once, an optional exponent ("E", optional
// sign, digits), or "&H"/"&O" digits. The empty text, a lone sign or a lone
// separator are not numeric. A value beyond the range of a double is not
// numeric either (a mended fault: the runtime called it numeric and then
// failed to convert it).
bool IsNumeric(const QString& text);

// The value of a text that IsNumeric accepts. Otherwise throws
// Err::typeMismatch(), or Err::overflow() when the text is a well-formed
// number beyond the range of a double. A value too small for a double is 0.
double CDbl(const QString& text);

// The same as CDbl without exceptions: no value when the text is not numeric.
std::optional<double> toNumber(const QString& text);

// --- Writing numbers --------------------------------------------------------

// The general number form (CStr of a double): the value brought to at most 15
// significant digits and written without trailing zeros, with the decimal
// separator of the settings and no group separator: "0.5", "-12.25", "100".
// Values from 1E+15 up and below 1E-04 (after rounding to 15 digits) use
// the exponent form: mantissa, "E", sign, at least two digits ("1E+15",
// "1.5E+20", "1E-05"). Negative zero reads "0". An infinite value or NaN,
// which the runtime never held, throws Err::overflow().
QString CStr(double value);

// A value by a number pattern (the runtime's Format with a user pattern):
//   "0"  a digit that is always shown (leading and trailing zeros),
//   "#"  a digit shown only when significant,
//   "."  the decimal separator of the settings (the first "." only),
//   ","  between digit placeholders of the whole part: group by thousands
//        with the settings' group separator; directly before the decimal
//        point or at the end of the whole part: divide by 1000,
//   "%"  multiply by 100 and show "%",
//   "\x" and "..." literal text; every other character is shown as it is.
// Up to three sections separated by ";" (positive, negative, zero) as in
// the runtime. The value is first brought to its general number form (15
// significant digits) and rounded on those decimal digits, a half going away
// from zero: Format(1.005, "0.00") is "1.01". Negative values get "-" before
// their first digit; a value that rounds to zero shows no minus sign
// (Format(-0.001, "0.00") is "0.00", Format(-0.3, "##") is "").
// An empty pattern gives CStr(value). Infinite values or NaN throw
// Err::overflow().
QString Format(double value, const QString& pattern);

// Format of a text: a text that IsNumeric accepts is formatted by the number
// its own digits spell (so "1.005" gives "1.01" with "0.00", and digits beyond
// the 15th count); any other text (the empty one too) comes back unchanged.
QString Format(const QString& text, const QString& pattern);

// The decimal separator of the settings (the runtime's programs found it by
// formatting 1.5 and taking the second character).
QChar decimalSeparator();

// --- Integer conversions ----------------------------------------------------

// To the nearest whole number, a half to the even one (2.5 gives 2, 3.5 gives
// 4, -2.5 gives -2); Err::overflow() when the result lies outside the type's
// range (or the value is NaN or infinite).
qint16 CInt(double value);
qint32 CLng(double value);
qint64 CLngLng(double value);

// The same for a text, converted first with CDbl (regional settings):
// CInt("12.50") is 12, CInt("13.50") is 14; Err::typeMismatch() when not
// numeric.
qint16 CInt(const QString& text);
qint32 CLng(const QString& text);

// --- Texts ------------------------------------------------------------------

// Blanks (spaces only, not tabs) removed from the left, the right or both ends.
QString LTrim(const QString& text);
QString RTrim(const QString& text);
QString Trim(const QString& text);

} // namespace Runtime
