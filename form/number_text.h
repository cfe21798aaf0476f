// The two conversions between a cell's text and a double.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>
#include <exception>

namespace form {

// Every value the program shows has three digits after the decimal separator.
inline constexpr int ShownDecimals = 3;

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

// Reads a given cell's text for Calculate. When the whole text, blanks before and after it left
// out, is a number written in the format of `locale`, it reads as that number, correctly rounded.
// Such a number is an optional sign (the locale's minus or plus, "-" or "+"); digits, ASCII or the
// locale's own, with the locale's group separator only between complete groups of its group sizes
// (a plain blank stands for a no-break space separator); optionally the locale's decimal
// separator with digits ("0,5" and ",5" alike); and optionally "e" or "E" with an optional sign
// and digits. Everything FormatNumber writes is such a number. Any other text reads as Val reads
// it. A number beyond the double range throws NumberOutOfRange, as Val does.
double ReadCellNumber(QStringView text, const QLocale& locale);

// Whether ReadCellNumber finds a number in the text: false for an empty text and for one that
// does not begin with a number, which both read as 0.
bool HoldsNumber(QStringView text, const QLocale& locale);

}  // namespace form
