#include "number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
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

// The sizes of the digit groups that a locale writes: `primary` next to the decimal separator,
// `secondary` for every group further left; 0 where the locale does not group.
struct GroupSizes {
  qsizetype primary = 0;
  qsizetype secondary = 0;
};

// Qt 6.4 offers no public call for a locale's group sizes, so they are read off QLocale's own
// writing of a long whole number, from its two rightmost groups. The leftmost group is not used:
// there Qt 6.4 applies some locales' rule that four-digit numbers stay ungrouped to longer numbers
// as well (Bulgarian "1234 567 890").
GroupSizes ProbeGroupSizes(const QLocale& locale) {
  const QString separator = locale.groupSeparator();
  if (locale.numberOptions().testFlag(QLocale::OmitGroupSeparator) || separator.isEmpty()) {
    return {};
  }
  const QString probe = locale.toString(1234567890123456.0, 'f', 0);
  const qsizetype digit_width = locale.zeroDigit().size();  // 2 where digits lie outside the BMP
  const qsizetype last = probe.lastIndexOf(separator);
  if (last <= 0) return {};
  GroupSizes sizes;
  sizes.primary = (probe.size() - last - separator.size()) / digit_width;
  const qsizetype before = probe.lastIndexOf(separator, last - 1);
  sizes.secondary = before < 0 ? sizes.primary : (last - before - separator.size()) / digit_width;
  if (sizes.primary <= 0 || sizes.secondary <= 0) return {};
  return sizes;
}

// The group sizes of the locale asked for last, kept: Calculate writes six values in one locale.
GroupSizes GroupSizesOf(const QLocale& locale) {
  struct Known {
    QLocale locale;
    GroupSizes sizes;
  };
  thread_local std::optional<Known> known;
  if (!known || !(known->locale == locale)) known = Known{locale, ProbeGroupSizes(locale)};
  return known->sizes;
}

// The number that `text` shows when it is exactly what FormatNumber(x, decimals, locale) writes
// for some x; nothing otherwise. The digits are taken with the separators and the sign left out,
// and the value they make must be written back as the very same text.
std::optional<double> ReadFormatted(QStringView text, int decimals, const QLocale& locale) {
  const QString minus = locale.negativeSign();
  const QString point = locale.decimalPoint();
  const QString group = locale.groupSeparator();
  const QString zero = locale.zeroDigit();
  const char32_t zero_code = zero.toUcs4().value(0);

  QStringView rest = text;
  const bool negative = !minus.isEmpty() && rest.startsWith(minus);
  if (negative) rest = rest.sliced(minus.size());
  std::string digits;
  while (!rest.isEmpty()) {
    if (rest.size() >= zero.size()) {
      const char32_t code =
          zero.size() == 2 && rest[0].isHighSurrogate() && rest[1].isLowSurrogate()
              ? QChar::surrogateToUcs4(rest[0], rest[1])
              : rest[0].unicode();
      if (code >= zero_code && code <= zero_code + 9) {
        digits.push_back(static_cast<char>('0' + (code - zero_code)));
        rest = rest.sliced(zero.size());
        continue;
      }
    }
    if (!point.isEmpty() && rest.startsWith(point)) {
      digits.push_back('.');
      rest = rest.sliced(point.size());
    } else if (!group.isEmpty() && rest.startsWith(group)) {
      rest = rest.sliced(group.size());
    } else {
      return std::nullopt;
    }
  }
  double value = 0.0;
  const char* last = digits.data() + digits.size();
  const auto [end, error] = std::from_chars(digits.data(), last, value, std::chars_format::fixed);
  if (error != std::errc() || end != last) return std::nullopt;
  if (negative) value = -value;
  if (FormatNumber(value, decimals, locale) != text) return std::nullopt;
  return value;
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
  // stays ungrouped wrongly to longer ones (Bulgarian "1234 567,000"), so every number with more
  // digits than the first group holds is grouped here, with the locale's own group sizes, as
  // desktop regional settings show numbers.
  QLocale digits_only = locale;
  digits_only.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
  QString text = digits_only.toString(std::fabs(value), 'f', decimals);

  if (const GroupSizes groups = GroupSizesOf(locale); groups.primary > 0) {
    const qsizetype digit_width = locale.zeroDigit().size();  // 2 where digits lie outside the BMP
    qsizetype point = text.indexOf(locale.decimalPoint());
    if (point < 0) point = text.size();
    const QString separator = locale.groupSeparator();
    for (qsizetype at = point - groups.primary * digit_width; at > 0;
         at -= groups.secondary * digit_width) {
      text.insert(at, separator);
    }
  }

  // Negative values that show as zero (-0.0 and -0.0004 among them) get no minus sign.
  const QString zero = digits_only.toString(0.0, 'f', decimals);
  if (std::signbit(value) && text != zero) text.prepend(locale.negativeSign());
  return text;
}

double ReadCellNumber(QStringView text, int decimals, const QLocale& locale) {
  if (const std::optional<double> shown = ReadFormatted(text, decimals, locale)) return *shown;
  return Val(text);
}

}  // namespace form
