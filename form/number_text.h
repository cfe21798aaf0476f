// The two conversions between a cell's text and a double.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>
#include <exception>

namespace form {

// Thrown by Val when the typed number lies beyond the double range (for example "1e400").
// Calculate then writes nothing, as when the solver fails.
class NumberOutOfRange : public std::exception {
 public:
  const char* what() const noexcept override { return "number beyond the double range"; }
};

// Reads the number at the start of a cell's text:
// - blanks, tabs and line feeds are skipped wherever they stand, also inside the number;
// - then an optional sign, digits with at most one period, and an optional exponent
//   ("1.5E3", "2e-3"); only the period is a decimal point, whatever the regional settings;
// - the first other character ends the number (a comma, a no-break space, a letter);
// - text that does not begin with a number gives 0.
// The digits are converted with correct rounding. A number too small for a double gives 0 (or
// -0); one too large throws NumberOutOfRange.
double Val(QStringView text);

// Writes value with exactly `decimals` digits after the decimal separator, with the digits,
// decimal separator, group separator and group sizes (three digits, or as en_IN 12,34,567:
// three, then two), and negative sign of `locale`; nothing is grouped where the locale omits
// grouping. Large magnitudes are written in full. A value that shows as zero is written without a
// minus sign. The default QLocale() is the user's regional format unless the program sets another
// with QLocale::setDefault.
QString FormatNumber(double value, int decimals, const QLocale& locale = QLocale());

// Reads a given cell's text for Calculate. Text that is exactly what FormatNumber(x, decimals,
// locale) writes for some x (its separators, negative sign and digits included) reads as the
// number it shows, so that a row the program has written reads back as it stands. Any other text
// reads as Val reads it, and throws as Val does.
double ReadCellNumber(QStringView text, int decimals, const QLocale& locale);

}  // namespace form
