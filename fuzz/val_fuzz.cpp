// Fuzzes Val, and the reading of a given cell in several regional formats, with arbitrary text. The
// first input byte picks how the rest becomes a QString: as UTF-8, or as raw UTF-16 code units
// (unpaired surrogates included), since a cell can hold both.
//
// What must hold for any text:
// - Val returns a finite double or throws NumberOutOfRange, and nothing else;
// - blanks, tabs and line feeds change nothing, wherever they stand: the text with all of them
//   removed, and the text with one after every character, give the same result bit for bit;
// - the result is that of glibc's strtod, a correctly rounded conversion independent of the one
//   Val uses, applied to the number at the start of the text: overflow there means
//   NumberOutOfRange, anything else the same double;
// - in each of the regional formats below, a given cell reads any text as a finite double or
//   throws NumberOutOfRange; that number at the start, written with the format's own digits, sign
//   and decimal separator, reads as Val reads it; and the number Val read, written by FormatNumber
//   (also with plain blanks for no-break spaces), reads as the number it shows.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "form/number_text.h"

namespace {

using form::FormatNumber;
using form::NumberOutOfRange;
using form::ReadCellNumber;
using form::Val;

const char* const Locales[] = {"bg_BG", "fr_FR", "de_DE", "en_IN", "fa_IR", "C"};

struct Outcome {
  bool out_of_range = false;
  double value = 0.0;
};

[[noreturn]] void Fail(const QString& text, const char* what) {
  std::fprintf(stderr, "val_fuzz: %s\n  text (UTF-8): \"%s\"\n", what, text.toUtf8().constData());
  std::abort();
}

template <typename Read>
Outcome Run(const QString& text, Read read) {
  Outcome out;
  try {
    out.value = read(text);
  } catch (const NumberOutOfRange&) {
    out.out_of_range = true;
    return out;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "val_fuzz: unexpected exception: %s\n", e.what());
    Fail(text, "a reading threw something other than NumberOutOfRange");
  } catch (...) {
    Fail(text, "a reading threw something other than NumberOutOfRange");
  }
  if (!std::isfinite(out.value)) Fail(text, "a reading returned inf or NaN");
  return out;
}

bool SameBits(double x, double y) { return std::memcmp(&x, &y, sizeof x) == 0; }

void ExpectSame(const QString& text, const Outcome& a, const Outcome& b, const char* what) {
  if (a.out_of_range != b.out_of_range || (!a.out_of_range && !SameBits(a.value, b.value))) {
    std::fprintf(stderr, "val_fuzz: %g (out of range: %d) against %g (out of range: %d)\n", a.value,
                 a.out_of_range, b.value, b.out_of_range);
    Fail(text, what);
  }
}

bool IsBlank(QChar ch) { return ch == u' ' || ch == u'\t' || ch == u'\n'; }
bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

// The number at the start of the text as strtod should read it: the blanks dropped, then an
// optional sign, digits with at most one period, and an exponent only when a digit follows its
// letter and sign. Empty when there is no digit before the exponent.
std::string NumberPrefix(const QString& text) {
  std::string s;
  for (QChar ch : text) {
    if (IsBlank(ch)) continue;
    if (ch.unicode() >= 0x80) break;
    s.push_back(static_cast<char>(ch.unicode()));
  }
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return {};
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) ++j;
      i = j;
    }
  }
  return s.substr(0, i);
}

void CheckAgainstStrtod(const QString& text, const Outcome& got) {
  const std::string prefix = NumberPrefix(text);
  if (prefix.empty()) {
    if (got.out_of_range || got.value != 0.0) Fail(text, "text without a number did not give 0");
    return;
  }
  errno = 0;
  char* end = nullptr;
  const double expected = std::strtod(prefix.c_str(), &end);
  const bool range_error = errno == ERANGE;
  if (end != prefix.c_str() + prefix.size()) Fail(text, "harness: strtod stopped early");
  if (range_error && std::isinf(expected)) {
    if (!got.out_of_range) Fail(text, "a number beyond the double range did not throw");
    return;
  }
  if (got.out_of_range) Fail(text, "a number within the double range threw");
  if (std::fpclassify(expected) == FP_SUBNORMAL) {
    // The doc of Val promises 0 for what is too small for a double, not whether subnormals count
    // as such: both the subnormal and a zero of its sign are right.
    const bool zero_of_sign = got.value == 0.0 && std::signbit(got.value) == std::signbit(expected);
    if (!SameBits(got.value, expected) && !zero_of_sign) {
      std::fprintf(stderr, "val_fuzz: %a against strtod's %a\n", got.value, expected);
      Fail(text, "a subnormal number was read wrongly");
    }
    return;
  }
  if (!SameBits(got.value, expected)) {
    std::fprintf(stderr, "val_fuzz: %a against strtod's %a for \"%s\"\n", got.value, expected,
                 prefix.c_str());
    Fail(text, "Val differs from a correctly rounded conversion");
  }
}

// A number in Val's syntax written with the digits, minus and decimal separator of `locale`.
QString Localized(const std::string& number, const QLocale& locale) {
  QString out = QString::fromLatin1(number);
  out.replace(u'-', locale.negativeSign()).replace(u'.', locale.decimalPoint());
  for (int d = 0; d <= 9; ++d) out.replace(QChar(u'0' + d), locale.toString(d));
  return out;
}

void CheckCellReading(const QString& text, const Outcome& val) {
  const std::string prefix = NumberPrefix(text);
  for (const char* name : Locales) {
    const QLocale locale(QString::fromLatin1(name));
    const auto cell = [&locale](const QString& t) { return ReadCellNumber(t, locale); };
    Run(text, cell);
    if (!prefix.empty()) {
      ExpectSame(text, val, Run(Localized(prefix, locale), cell), "a localized number misread");
    }
    if (val.out_of_range) continue;
    const Outcome shown = Run(FormatNumber(val.value, 3, QLocale::c()), Val);
    QString written = FormatNumber(val.value, 3, locale);
    ExpectSame(written, shown, Run(written, cell), "FormatNumber's text misread");
    written.replace(QChar(0xa0), u' ').replace(QChar(0x202f), u' ');
    ExpectSame(written, shown, Run(written, cell), "plain blanks for no-break spaces misread");
  }
}

QString FromInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return {};
  const std::uint8_t mode = data[0];
  ++data;
  --size;
  if ((mode & 1) == 0) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  }
  std::vector<char16_t> units(size / 2);
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  return QString(reinterpret_cast<const QChar*>(units.data()),
                 static_cast<qsizetype>(units.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text = FromInput(data, size);
  const Outcome got = Run(text, Val);

  QString stripped;
  QString spread;
  static constexpr char16_t blanks[] = {u' ', u'\t', u'\n'};
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (!IsBlank(text[i])) stripped.append(text[i]);
    spread.append(text[i]);
    spread.append(QChar(blanks[static_cast<std::size_t>(i) % 3]));
  }
  ExpectSame(text, got, Run(stripped, Val),
             "removing blanks, tabs and line feeds changed the result");
  ExpectSame(text, got, Run(spread, Val),
             "inserting blanks, tabs and line feeds changed the result");

  CheckAgainstStrtod(text, got);
  CheckCellReading(text, got);
  return 0;
}
