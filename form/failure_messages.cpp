#include "failure_messages.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <optional>
#include <vector>

#include "grid.h"
#include "number_text.h"

namespace form {

namespace {

using geometry::FailureKind;
using geometry::FrustumValues;
using namespace Qt::StringLiterals;

constexpr double Infinity = std::numeric_limits<double>::infinity();

// The names of the quantities, by column, as the messages write them.
constexpr const char16_t* Names[] = {u"r", u"R", u"H", u"L", u"So", u"V"};
static_assert(std::size(Names) == ColumnCount);

constexpr char16_t Impossible[] = u"Такъв пресечен конус не съществува: ";
constexpr char16_t Slant[] = u"образувателната L";
constexpr char16_t Surface[] = u"околната повърхнина So";
constexpr char16_t BothRadiiZero[] = u"Радиусите r и R не могат да бъдат едновременно 0.";
constexpr char16_t OutOfRange[] =
    u"Резултатът е извън обхвата на числата, с които програмата работи.";

// The values the quantity at fault may take, from `lower` to `upper`; an infinity stands for a
// side without a bound.
struct Range {
  double lower;
  double upper;
};

// At least `size` in magnitude, with the sign of the typed value: the solver takes a negative
// value as readily as a positive one, so a pupil who typed -1 is told of -4 rather than of 4.
Range AtLeastInSize(double typed, double size) {
  return typed < 0 ? Range{-Infinity, -size} : Range{size, Infinity};
}

// Between two bounds given in either order; a bound beyond the double range leaves its side open.
Range Between(double a, double b) {
  const double lower = std::min(a, b);
  const double upper = std::max(a, b);
  return {std::isfinite(lower) ? lower : -Infinity, std::isfinite(upper) ? upper : Infinity};
}

// A square root of a negative number, in the variant's terms: the given quantity that makes the
// root's argument negative, and what the other given values allow for it. The conditions are the
// solver's: |L| >= |R - r| under H by F2, |L| >= |H| under R - r from L and H.
struct RootRule {
  int column;  // the given quantity at fault; -1 where the variant takes no negative root
  const char16_t* context;  // the given values the bounds come from
  const char16_t* quantity;
  // The least magnitude, shown before its value (and after a minus sign for a negative bound);
  // nullptr where the bounds are shown as values only. Formulas are written with no-break spaces,
  // so that a message never breaks inside one.
  const char16_t* formula;
  Range (*range)(const FrustumValues& typed);
};

// So / (Pi * L) is r + R; |R - r| <= |L| then puts So / (Pi * L) within |L| of twice the given
// radius.
Range SurfaceAroundRadius(double radius, double L) {
  const double abs_slant = std::fabs(L);
  return Between(geometry::Pi * L * (2 * radius - abs_slant),
                 geometry::Pi * L * (2 * radius + abs_slant));
}

constexpr RootRule NoRoot = {-1, nullptr, nullptr, nullptr, nullptr};
constexpr RootRule SlantAtLeastHeight = {
    3, u"при тази височина H ", Slant, u"|H|",
    [](const FrustumValues& v) { return AtLeastInSize(v.L, std::fabs(v.H)); }};

constexpr RootRule RootRules[] = {
    NoRoot,  // r, R, H
    {3, u"при тези r и R ", Slant, u"|R\u00a0−\u00a0r|",
     [](const FrustumValues& v) { return AtLeastInSize(v.L, std::fabs(v.R - v.r)); }},
    {4, u"при тези r и R ", Surface, u"π·|r\u00a0+\u00a0R|·|R\u00a0−\u00a0r|",
     [](const FrustumValues& v) {
       return AtLeastInSize(v.So, geometry::Pi * std::fabs(v.r + v.R) * std::fabs(v.R - v.r));
     }},
    NoRoot,              // r, R, V
    SlantAtLeastHeight,  // r, H, L
    {4, u"при тези r и L ", Surface, nullptr,
     [](const FrustumValues& v) { return SurfaceAroundRadius(v.r, v.L); }},
    SlantAtLeastHeight,  // R, H, L
    {4, u"при тези R и L ", Surface, nullptr,
     [](const FrustumValues& v) { return SurfaceAroundRadius(v.R, v.L); }},
};
static_assert(std::size(RootRules) == RowCount);

// A zero divisor, in the variant's terms; nullptr where the variant divides only by 3.
struct DivisorRule {
  const char16_t* message;
  int column;
};
constexpr char16_t SlantZero[] = u"Образувателната L не може да бъде 0.";
constexpr DivisorRule DivisorRules[] = {
    {nullptr, 0},       {nullptr, 0},   {u"Сборът r\u00a0+\u00a0R не може да бъде 0.", 0},
    {BothRadiiZero, 0}, {nullptr, 0},   {SlantZero, 3},
    {nullptr, 0},       {SlantZero, 3},
};
static_assert(std::size(DivisorRules) == RowCount);

std::size_t GivenIndex(int variant, int column) {
  const auto& columns = geometry::GivenColumns.at(static_cast<std::size_t>(variant));
  return static_cast<std::size_t>(std::find(columns.begin(), columns.end(), column) -
                                  columns.begin());
}

FrustumValues Typed(int variant, const std::array<double, 3>& given) {
  FrustumValues v{};
  for (std::size_t i = 0; i < given.size(); ++i) {
    v.*geometry::Columns[static_cast<std::size_t>(geometry::GivenColumns[variant][i])] = given[i];
  }
  return v;
}

// How SolveFrustum ends with these given values: nothing when it calculates.
std::optional<FailureKind> Failure(int variant, const std::array<double, 3>& given) {
  try {
    geometry::SolveFrustum(variant, given[0], given[1], given[2]);
  } catch (const geometry::FrustumFailure& failure) {
    return failure.Kind();
  }
  return std::nullopt;
}

// The value a pupil is shown for `bound`: the nearest number with three decimals, moved by
// `step` (0.001 towards the allowed side) until the solve calculates with it in place of the
// value at fault. Nothing where a few steps do not get there, or where the doubles at that
// magnitude lie further apart than 0.001, so that no number shown could be typed to calculate.
std::optional<double> ShownBound(double bound, double step, int variant,
                                 std::array<double, 3> given, std::size_t at) {
  if (!std::isfinite(bound)) return std::nullopt;
  const QLocale c = QLocale::c();
  double shown = Val(FormatNumber(bound, ShownDecimals, c));
  for (int attempt = 0; attempt < 4; ++attempt) {
    given[at] = shown;
    if (!Failure(variant, given)) return shown;
    const double next = Val(FormatNumber(shown + step, ShownDecimals, c));
    if (next == shown) return std::nullopt;
    shown = next;
  }
  return std::nullopt;
}

// One bound as the message shows it: its formula, its value, or both joined by an unbreakable
// " = "; empty when it has neither.
QString BoundText(QString text, std::optional<double> value, const QLocale& locale) {
  if (value) {
    if (!text.isEmpty()) text += u"\u00a0=\u00a0";
    text += FormatNumber(*value, ShownDecimals, locale);
  }
  return text;
}

FailureReport RootReport(const RootRule& rule, int variant, const std::array<double, 3>& given,
                         const QLocale& locale) {
  const std::size_t at = GivenIndex(variant, rule.column);
  const Range range = rule.range(Typed(variant, given));
  const QString formula = rule.formula ? QString::fromUtf16(rule.formula) : QString();
  const QString lower =
      range.lower == -Infinity
          ? QString()
          : BoundText(formula, ShownBound(range.lower, 0.001, variant, given, at), locale);
  const QString upper =
      range.upper == Infinity
          ? QString()
          : BoundText(rule.formula ? u"−"_s + formula : QString(),
                      ShownBound(range.upper, -0.001, variant, given, at), locale);
  QString text = QString::fromUtf16(Impossible) + QString::fromUtf16(rule.context) +
                 QString::fromUtf16(rule.quantity);
  if (!lower.isEmpty() && !upper.isEmpty()) {
    text += u" трябва да е между "_s + lower + u" и "_s + upper;
  } else if (!lower.isEmpty()) {
    text += u" трябва да е поне "_s + lower;
  } else if (!upper.isEmpty()) {
    text += u" трябва да е най-много "_s + upper;
  } else {
    text += u" не може да бъде "_s + FormatNumber(given[at], ShownDecimals, locale);
  }
  return {text + u'.', rule.column};
}

// "r", "r и R", "r, R и H".
QString JoinNames(const std::vector<int>& columns) {
  QString text;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) text += i + 1 == columns.size() ? u" и " : u", ";
    text += QString::fromUtf16(Names[columns[i]]);
  }
  return text;
}

// A result beyond the double range names the given values that cause it: those whose
// replacement by 1 alone avoids the overflow, or all three where none does.
FailureReport OverflowReport(int variant, const std::array<double, 3>& given) {
  const auto& columns = geometry::GivenColumns.at(static_cast<std::size_t>(variant));
  std::vector<int> involved;
  for (std::size_t i = 0; i < given.size(); ++i) {
    std::array<double, 3> trial = given;
    trial[i] = 1.0;
    if (Failure(variant, trial) != FailureKind::Overflow) involved.push_back(columns[i]);
  }
  if (involved.empty()) involved.assign(columns.begin(), columns.end());
  const QString which = involved.size() == 1 ? QStringLiteral(" Проверете стойността на ")
                                             : QStringLiteral(" Проверете стойностите на ");
  return {QString::fromUtf16(OutOfRange) + which + JoinNames(involved) + u'.', involved.front()};
}

}  // namespace

FailureReport DescribeFailure(std::int16_t variant, const std::array<double, 3>& given,
                              FailureKind kind, const QLocale& locale) {
  if (kind == FailureKind::NegativeRoot && RootRules[variant].column >= 0) {
    return RootReport(RootRules[variant], variant, given, locale);
  }
  if (kind == FailureKind::ZeroDivisor && DivisorRules[variant].message) {
    const DivisorRule& rule = DivisorRules[variant];
    // Radii that are not zero can still be so small that their squares round to zero.
    const bool underflow = rule.message == BothRadiiZero && (given[0] != 0 || given[1] != 0);
    return {underflow ? QStringLiteral("Радиусите r и R са твърде близо до 0.")
                      : QString::fromUtf16(rule.message),
            rule.column};
  }
  return OverflowReport(variant, given);
}

QString NumberOutOfRangeMessage() { return QStringLiteral("Въведеното число е твърде голямо."); }

}  // namespace form
