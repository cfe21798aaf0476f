#include "number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace form {

namespace {

bool IsSkipped(QChar ch) { return ch == u' ' || ch == u'\t' || ch == u'\n'; }
bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

// The characters of `text` that Val reads, with the skipped ones left out. Anything outside
// ASCII ends the number, so it is kept as a stop mark.
std::string Compact(QStringView text) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (QChar ch : text) {
    if (IsSkipped(ch)) continue;
    const char16_t u = ch.unicode();
    out.push_back(u < 0x80 ? static_cast<char>(u) : '\x7f');
  }
  return out;
}

// The length of the run of digits starting at `pos`.
std::size_t DigitsAt(const std::string& s, std::size_t pos) {
  std::size_t n = 0;
  while (pos + n < s.size() && IsDigit(s[pos + n])) ++n;
  return n;
}

// Whether a number that std::from_chars found out of range is too large (true) or too small
// (false). The mantissa holds at least one non-zero digit, so its value lies in
// [10^(m-1), 10^m) for the m found below; with the exponent, a number at least 1 overflowed and a
// smaller one underflowed.
bool IsTooLarge(const std::string& mantissa, std::int64_t exponent) {
  const std::size_t point = mantissa.find('.');
  const std::string whole = mantissa.substr(0, point);
  const std::string fraction = point == std::string::npos ? "" : mantissa.substr(point + 1);
  std::int64_t m = 0;
  if (const std::size_t first = whole.find_first_not_of('0'); first != std::string::npos) {
    m = static_cast<std::int64_t>(whole.size() - first);
  } else {
    m = -static_cast<std::int64_t>(fraction.find_first_not_of('0'));
  }
  return m + exponent > 0;
}

}  // namespace

double Val(QStringView text) {
  const std::string s = Compact(text);
  std::size_t pos = 0;
  bool negative = false;
  if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
    negative = s[pos] == '-';
    ++pos;
  }
  const std::size_t start = pos;
  const std::size_t whole = DigitsAt(s, pos);
  pos += whole;
  std::size_t fraction = 0;
  if (pos < s.size() && s[pos] == '.') {
    fraction = DigitsAt(s, pos + 1);
    pos += 1 + fraction;
  }
  if (whole + fraction == 0) return 0.0;
  const std::string mantissa = s.substr(start, pos - start);

  // An exponent counts only when at least one digit follows the letter and its sign.
  std::int64_t exponent = 0;
  if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
    std::size_t p = pos + 1;
    const bool exponent_negative = p < s.size() && s[p] == '-';
    if (p < s.size() && (s[p] == '+' || s[p] == '-')) ++p;
    const std::size_t digits = DigitsAt(s, p);
    if (digits > 0) {
      for (std::size_t i = p; i < p + digits; ++i) {
        // Saturate: beyond a million the exponent decides over- or underflow all the same.
        if (exponent < 1'000'000) exponent = exponent * 10 + (s[i] - '0');
      }
      if (exponent_negative) exponent = -exponent;
      pos = p + digits;
    }
  }

  // The number text without its sign, which from_chars does not take in front.
  const char* first = s.data() + start;
  const char* last = s.data() + pos;
  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    if (IsTooLarge(mantissa, exponent)) throw NumberOutOfRange();
    value = 0.0;
  } else if (ec != std::errc() || ptr != last) {
    return 0.0;  // cannot happen for the text assembled above
  }
  return negative ? -value : value;
}

QString FormatNumber(double value, int decimals, const QLocale& locale) {
  // The digits, the decimal separator and the rounding come from QLocale; the sign and the
  // grouping are put in here. Qt 6.4 applies the rule of some locales that a four-digit number
  // stays ungrouped wrongly to longer ones (Bulgarian "1234 567,000"), so every locale that
  // groups at all is grouped here in threes, as desktop regional settings show numbers.
  QLocale digits_only = locale;
  digits_only.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
  QString text = digits_only.toString(std::fabs(value), 'f', decimals);

  if (!locale.numberOptions().testFlag(QLocale::OmitGroupSeparator)) {
    const qsizetype digit_width = locale.zeroDigit().size();  // 2 where digits lie outside the BMP
    qsizetype point = text.indexOf(locale.decimalPoint());
    if (point < 0) point = text.size();
    const QString separator = locale.groupSeparator();
    for (qsizetype at = point - 3 * digit_width; at > 0; at -= 3 * digit_width) {
      text.insert(at, separator);
    }
  }

  // Negative values that show as zero (-0.0 and -0.0004 among them) get no minus sign.
  const QString zero = digits_only.toString(0.0, 'f', decimals);
  if (std::signbit(value) && text != zero) text.prepend(locale.negativeSign());
  return text;
}

}  // namespace form
