// The two conversions between a cell's text and a double.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>
#include <exception>

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

// Writes value with exactly `decimals` digits after the decimal separator, with the decimal
// separator, group separator (every three digits, unless the locale omits grouping) and negative
// sign of `locale`. Large magnitudes are written in full. A value that shows as zero is written
// without a minus sign. The default QLocale() is the user's regional format unless the program
// sets another with QLocale::setDefault.
QString FormatNumber(double value, int decimals, const QLocale& locale = QLocale());
