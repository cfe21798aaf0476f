#include "form/failure_messages.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <optional>
#include <vector>

#include "form/grid.h"
#include "form/number_text.h"

namespace form {

namespace {

using geometry::FailureKind;
using geometry::FrustumValues;
using namespace Qt::StringLiterals;

// Every fixed text of the messages is a QString literal (u"…"_s), in the tables as in the code.

constexpr double Infinity = std::numeric_limits<double>::infinity();

// The names of the quantities, by column, as the messages write them.
const QString Names[] = {u"r"_s, u"R"_s, u"H"_s, u"L"_s, u"So"_s, u"V"_s};
static_assert(std::size(Names) == ColumnCount);

const QString Impossible = u"Такъв пресечен конус не съществува: "_s;
const QString Slant = u"образувателната L"_s;
const QString Surface = u"околната повърхнина So"_s;
const QString SlantZero = u"Образувателната L не може да бъде 0."_s;
const QString OutOfRange = u"Резултатът е извън обхвата на числата, с които програмата работи."_s;

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
// solver's: |L| >= |R - r| where the height comes from the slant height, |L| >= |H| where the
// difference of the radii comes from the slant height and the height.
struct RootRule {
  int column;       // the given quantity at fault; -1 where the variant takes no negative root
  QString context;  // the given values the bounds come from
  QString quantity;
  // The least magnitude, shown before its value (and after a minus sign for a negative bound);
  // empty where the bounds are shown as values only. Formulas are written with no-break spaces,
  // so that a message never breaks inside one.
  QString formula;
  Range (*range)(const FrustumValues& typed);
};

// So / (Pi * L) is r + R; |R - r| <= |L| then puts So / (Pi * L) within |L| of twice the given
// radius.
Range SurfaceAroundRadius(double radius, double L) {
  const double abs_slant = std::fabs(L);
  return Between(geometry::Pi * L * (2 * radius - abs_slant),
                 geometry::Pi * L * (2 * radius + abs_slant));
}

const RootRule NoRoot = {-1, {}, {}, {}, nullptr};
const RootRule SlantAtLeastHeight = {
    3, u"при тази височина H "_s, Slant, u"|H|"_s,
    [](const FrustumValues& v) { return AtLeastInSize(v.L, std::fabs(v.H)); }};

const RootRule RootRules[] = {
    NoRoot,  // r, R, H
    {3, u"при тези r и R "_s, Slant, u"|R\u00a0−\u00a0r|"_s,
     [](const FrustumValues& v) { return AtLeastInSize(v.L, std::fabs(v.R - v.r)); }},
    {4, u"при тези r и R "_s, Surface, u"π·|r\u00a0+\u00a0R|·|R\u00a0−\u00a0r|"_s,
     [](const FrustumValues& v) {
       return AtLeastInSize(v.So, geometry::Pi * std::fabs(v.r + v.R) * std::fabs(v.R - v.r));
     }},
    NoRoot,              // r, R, V
    SlantAtLeastHeight,  // r, H, L
    {4, u"при тези r и L "_s, Surface, QString(),
     [](const FrustumValues& v) { return SurfaceAroundRadius(v.r, v.L); }},
    SlantAtLeastHeight,  // R, H, L
    {4, u"при тези R и L "_s, Surface, QString(),
     [](const FrustumValues& v) { return SurfaceAroundRadius(v.R, v.L); }},
};
static_assert(std::size(RootRules) == RowCount);

// A zero divisor, in the variant's terms: the message and the given quantity it names, and the
// message for radii that are not zero but so small that their squares round to zero. No message
// where the variant divides only by 3.
struct DivisorRule {
  QString message;
  int column = 0;
  QString near_zero = {};
};
const DivisorRule DivisorRules[] = {
    {},
    {},
    {u"Сборът r\u00a0+\u00a0R не може да бъде 0."_s, 0},
    {u"Радиусите r и R не могат да бъдат едновременно 0."_s, 0,
     u"Радиусите r и R са твърде близо до 0."_s},
    {},
    {SlantZero, 3},
    {},
    {SlantZero, 3},
};
static_assert(std::size(DivisorRules) == RowCount);

// Where `column` stands among the given quantities of `variant`: 0, 1 or 2.
std::size_t GivenIndex(int variant, int column) {
  const auto& columns = geometry::Variants[variant].given;
  return static_cast<std::size_t>(std::find(columns.begin(), columns.end(), column) -
                                  columns.begin());
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

// The lower and upper bound of the value at fault as the message shows them; empty for a side
// without a bound, or without a number shown and a formula.
struct BoundTexts {
  QString lower;
  QString upper;
};

BoundTexts RootBounds(const RootRule& rule, int variant, const std::array<double, 3>& given,
                      const QLocale& locale) {
  const std::size_t at = GivenIndex(variant, rule.column);
  const Range range = rule.range(geometry::WithGivenValues(variant, given[0], given[1], given[2]));
  BoundTexts bounds;
  if (range.lower != -Infinity) {
    bounds.lower =
        BoundText(rule.formula, ShownBound(range.lower, 0.001, variant, given, at), locale);
  }
  if (range.upper != Infinity) {
    const QString formula = rule.formula.isEmpty() ? QString() : u"−"_s + rule.formula;
    bounds.upper = BoundText(formula, ShownBound(range.upper, -0.001, variant, given, at), locale);
  }
  return bounds;
}

FailureReport RootReport(const RootRule& rule, int variant, const std::array<double, 3>& given,
                         const QLocale& locale) {
  const BoundTexts bounds = RootBounds(rule, variant, given, locale);
  QString text = Impossible + rule.context + rule.quantity;
  if (!bounds.lower.isEmpty() && !bounds.upper.isEmpty()) {
    text += u" трябва да е между "_s + bounds.lower + u" и "_s + bounds.upper;
  } else if (!bounds.lower.isEmpty()) {
    text += u" трябва да е поне "_s + bounds.lower;
  } else if (!bounds.upper.isEmpty()) {
    text += u" трябва да е най-много "_s + bounds.upper;
  } else {
    const double typed = given[GivenIndex(variant, rule.column)];
    text += u" не може да бъде "_s + FormatNumber(typed, ShownDecimals, locale);
  }
  return {text + u'.', rule.column};
}

FailureReport DivisorReport(const DivisorRule& rule, const std::array<double, 3>& given) {
  const bool near_zero = !rule.near_zero.isEmpty() && (given[0] != 0 || given[1] != 0);
  return {near_zero ? rule.near_zero : rule.message, rule.column};
}

// A result beyond the double range names the given values that cause it: those whose
// replacement by 1 alone avoids the overflow, or all three where none does.
FailureReport OverflowReport(int variant, const std::array<double, 3>& given) {
  const auto& columns = geometry::Variants[variant].given;
  std::vector<int> involved;
  for (std::size_t i = 0; i < given.size(); ++i) {
    std::array<double, 3> trial = given;
    trial[i] = 1.0;
    if (Failure(variant, trial) != FailureKind::Overflow) involved.push_back(columns[i]);
  }
  if (involved.empty()) involved.assign(columns.begin(), columns.end());
  QStringList names;
  for (int column : involved) names.append(Names[column]);
  const QString which =
      involved.size() == 1 ? u" Проверете стойността на "_s : u" Проверете стойностите на "_s;
  return {OutOfRange + which + QLocale(QLocale::Bulgarian).createSeparatedList(names) + u'.',
          involved.front()};
}

}  // namespace

FailureReport DescribeFailure(std::int16_t variant, const std::array<double, 3>& given,
                              FailureKind kind, const QLocale& locale) {
  if (kind == FailureKind::NegativeRoot && RootRules[variant].column >= 0) {
    return RootReport(RootRules[variant], variant, given, locale);
  }
  if (kind == FailureKind::ZeroDivisor && !DivisorRules[variant].message.isEmpty()) {
    return DivisorReport(DivisorRules[variant], given);
  }
  return OverflowReport(variant, given);
}

QString NumberOutOfRangeMessage() { return u"Въведеното число е твърде голямо."_s; }

}  // namespace form
