#include "form/number_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace form {

namespace {

bool IsSkipped(QChar ch) { return ch == u' ' || ch == u'\t' || ch == u'\n'; }

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

// The length of the run of ASCII digits starting at `pos`.
std::size_t DigitsAt(const std::string& s, std::size_t pos) {
  std::size_t n = 0;
  while (pos + n < s.size() && std::isdigit(static_cast<unsigned char>(s[pos + n]))) ++n;
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

// The sizes of the digit groups of a locale's numbers: `primary` next to the decimal separator,
// `secondary` for every group further left; 0 where the locale has no group separator.
struct GroupSizes {
  std::size_t primary = 0;
  std::size_t secondary = 0;
};

// What reading and writing a locale's numbers needs of it, as code points.
struct NumberSymbols {
  std::u32string point;
  std::u32string group;
  std::u32string minus;
  std::u32string plus;
  char32_t zero = U'0';
  GroupSizes groups;
  // A plain blank stands for a group separator that is a no-break space: it looks the same, and
  // it is what a keyboard types.
  bool blank_groups = false;
};

std::u32string Ucs4(QStringView text) {
  const QList<uint> codes = text.toUcs4();
  return std::u32string(codes.begin(), codes.end());
}

// Qt 6.4 offers no public call for a locale's group sizes, so they are read off QLocale's own
// writing of a long whole number, from its two rightmost groups. The leftmost group is not used:
// there Qt 6.4 wrongly applies some locales' rule that four-digit numbers stay ungrouped to longer
// numbers as well (Bulgarian "1234 567 890"), which is why FormatNumber groups the digits itself.
// Grouping is probed even where the locale omits it when writing (the C locale), since a number
// typed with its group separator still reads.
GroupSizes ProbeGroupSizes(QLocale locale, const std::u32string& separator) {
  if (separator.empty()) return {};
  locale.setNumberOptions(QLocale::DefaultNumberOptions);
  const std::u32string probe = Ucs4(locale.toString(1234567890123456.0, 'f', 0));
  const std::size_t last = probe.rfind(separator);
  if (last == std::u32string::npos || last == 0) return {};
  GroupSizes sizes;
  sizes.primary = probe.size() - last - separator.size();
  const std::size_t before = probe.rfind(separator, last - 1);
  sizes.secondary =
      before == std::u32string::npos ? sizes.primary : last - before - separator.size();
  if (sizes.primary == 0 || sizes.secondary == 0) return {};
  return sizes;
}

NumberSymbols ProbeSymbols(const QLocale& locale) {
  NumberSymbols s;
  s.point = Ucs4(locale.decimalPoint());
  s.group = Ucs4(locale.groupSeparator());
  s.minus = Ucs4(locale.negativeSign());
  s.plus = Ucs4(locale.positiveSign());
  s.zero = Ucs4(locale.zeroDigit()).front();
  s.groups = ProbeGroupSizes(locale, s.group);
  s.blank_groups = s.group == U"\u00a0" || s.group == U"\u202f";
  return s;
}

// The symbols of the locale asked for last, kept: Calculate reads three values and writes six in
// one locale.
const NumberSymbols& SymbolsOf(const QLocale& locale) {
  struct Known {
    QLocale locale;
    NumberSymbols symbols;
  };
  thread_local std::optional<Known> known;
  if (!known || !(known->locale == locale)) known = Known{locale, ProbeSymbols(locale)};
  return known->symbols;
}

// A reader of a locale's number, one token at a time, that writes what it has read as ASCII
// text for ReadCompact.
//
// QLocale::toDouble (Qt 6.4) would not do: it refuses numbers that this program writes itself.
// It applies Bulgarian's rule that four-digit numbers stay ungrouped to reading as well, and to
// longer numbers too, so FormatNumber's "1 234,5" and "1 234 567,5" (no-break spaces) fail; and
// it fails on the negative numbers of the Persian and Arabic formats, whose minus comes with a
// direction mark (QLocale's own toString(-1234.5) does not read back there). Where it does read,
// it agrees with this reader: ASCII digits in any locale, a plain blank for a no-break space
// separator, correct rounding. Any other text must read as Val reads it, whatever toDouble says.
class LocaleNumberReader {
 public:
  LocaleNumberReader(std::u32string_view text, const NumberSymbols& symbols)
      : rest_(text), symbols_(symbols) {}

  // The number, when the whole text is one in the locale's format.
  std::optional<std::string> Read() {
    TakeSign();
    const std::optional<std::size_t> whole = TakeWholePart();
    if (!whole) return std::nullopt;
    std::size_t digits = *whole;
    if (Take(symbols_.point)) {
      out_.push_back('.');
      digits += TakeDigits();
    }
    if (digits == 0) return std::nullopt;
    if (Take(U"e") || Take(U"E")) {
      out_.push_back('e');
      TakeSign();
      if (TakeDigits() == 0) return std::nullopt;
    }
    if (!rest_.empty()) return std::nullopt;
    return out_;
  }

 private:
  bool Take(std::u32string_view token) {
    if (token.empty() || !rest_.starts_with(token)) return false;
    rest_.remove_prefix(token.size());
    return true;
  }

  void TakeSign() {
    if (Take(symbols_.minus) || Take(U"-")) {
      out_.push_back('-');
    } else if (!Take(symbols_.plus)) {
      Take(U"+");
    }
  }

  // ASCII digits and the locale's own.
  std::size_t TakeDigits() {
    std::size_t n = 0;
    for (; !rest_.empty(); rest_.remove_prefix(1), ++n) {
      const char32_t c = rest_.front();
      if (c >= U'0' && c <= U'9') {
        out_.push_back(static_cast<char>(c));
      } else if (c >= symbols_.zero && c <= symbols_.zero + 9) {
        out_.push_back(static_cast<char>('0' + (c - symbols_.zero)));
      } else {
        break;
      }
    }
    return n;
  }

  // The digits before the decimal separator. Group separators may stand only between complete
  // groups: the rightmost group has the primary size, the ones before it the secondary size, and
  // the leftmost one 1 digit up to the secondary size. Anything else ("12 34", "1.23") is no
  // number of the locale.
  std::optional<std::size_t> TakeWholePart() {
    std::vector<std::size_t> groups{TakeDigits()};
    while (Take(symbols_.group) || (symbols_.blank_groups && Take(U" "))) {
      groups.push_back(TakeDigits());
    }
    std::size_t digits = 0;
    for (std::size_t g : groups) digits += g;
    if (groups.size() == 1) return digits;
    const GroupSizes& sizes = symbols_.groups;
    if (groups.front() == 0 || groups.front() > sizes.secondary) return std::nullopt;
    if (groups.back() != sizes.primary) return std::nullopt;
    for (std::size_t i = 1; i + 1 < groups.size(); ++i) {
      if (groups[i] != sizes.secondary) return std::nullopt;
    }
    return digits;
  }

  std::u32string_view rest_;
  const NumberSymbols& symbols_;
  std::string out_;
};

// The exponent at `pos`, when one stands there: "e" or "E", an optional sign and at least one
// digit. `length` is how many characters it takes; its value saturates beyond a million, where it
// decides over- or underflow all the same.
struct Exponent {
  std::int64_t value = 0;
  std::size_t length = 0;
};

Exponent ExponentAt(const std::string& s, std::size_t pos) {
  if (pos >= s.size() || (s[pos] != 'e' && s[pos] != 'E')) return {};
  std::size_t p = pos + 1;
  const bool negative = p < s.size() && s[p] == '-';
  if (p < s.size() && (s[p] == '+' || s[p] == '-')) ++p;
  const std::size_t digits = DigitsAt(s, p);
  if (digits == 0) return {};
  std::int64_t value = 0;
  for (std::size_t i = p; i < p + digits && value < 1'000'000; ++i) {
    value = value * 10 + (s[i] - '0');
  }
  return {negative ? -value : value, p + digits - pos};
}

// Val's reading of text that holds only ASCII, with the skipped characters left out.
double ReadCompact(const std::string& s) {
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
  const Exponent exponent = ExponentAt(s, pos);
  pos += exponent.length;

  // The number text without its sign, which from_chars does not take in front.
  const char* first = s.data() + start;
  const char* last = s.data() + pos;
  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    if (IsTooLarge(mantissa, exponent.value)) throw NumberOutOfRange();
    value = 0.0;
  } else if (ec != std::errc() || ptr != last) {
    return 0.0;  // cannot happen for the text assembled above
  }
  return negative ? -value : value;
}

// Puts the locale's group separators into `text`, digits and a decimal separator written by
// `locale`, with the locale's own group sizes (see ProbeGroupSizes), as desktop regional settings
// show numbers; nothing where the locale has no grouping or omits it.
void InsertGroupSeparators(QString& text, const QLocale& locale) {
  const GroupSizes groups = SymbolsOf(locale).groups;
  if (locale.numberOptions().testFlag(QLocale::OmitGroupSeparator) || groups.primary == 0) return;
  const qsizetype digit_width = locale.zeroDigit().size();  // 2 where digits lie outside the BMP
  qsizetype point = text.indexOf(locale.decimalPoint());
  if (point < 0) point = text.size();
  const QString separator = locale.groupSeparator();
  for (qsizetype at = point - static_cast<qsizetype>(groups.primary) * digit_width; at > 0;
       at -= static_cast<qsizetype>(groups.secondary) * digit_width) {
    text.insert(at, separator);
  }
}

}  // namespace

double Val(QStringView text) { return ReadCompact(Compact(text)); }

QString FormatNumber(double value, int decimals, const QLocale& locale) {
  // The digits, the decimal separator and the rounding come from QLocale; the grouping and the
  // sign are put in here.
  QLocale digits_only = locale;
  digits_only.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
  QString text = digits_only.toString(std::fabs(value), 'f', decimals);
  InsertGroupSeparators(text, locale);

  // Negative values that show as zero (-0.0 and -0.0004 among them) get no minus sign.
  const QString zero = digits_only.toString(0.0, 'f', decimals);
  if (std::signbit(value) && text != zero) text.prepend(locale.negativeSign());
  return text;
}

double ReadCellNumber(QStringView text, const QLocale& locale) {
  const std::u32string trimmed = Ucs4(text.trimmed());
  if (const auto number = LocaleNumberReader(trimmed, SymbolsOf(locale)).Read()) {
    return ReadCompact(*number);
  }
  return Val(text);
}

bool HoldsNumber(QStringView text, const QLocale& locale) {
  if (LocaleNumberReader(Ucs4(text.trimmed()), SymbolsOf(locale)).Read()) return true;
  // Val's reading: a sign, then digits, or a period and digits.
  const std::string s = Compact(text);
  const std::size_t pos = !s.empty() && (s[0] == '+' || s[0] == '-') ? 1 : 0;
  return DigitsAt(s, pos) > 0 || (pos < s.size() && s[pos] == '.' && DigitsAt(s, pos + 1) > 0);
}

}  // namespace form
