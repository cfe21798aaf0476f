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
// Formulas are written with no-break spaces, so that a message never breaks inside one, and with
// U+2212 for their minus signs, which the message replaces by the regional format's own: the
// numbers beside them are written with that one.

constexpr double Infinity = std::numeric_limits<double>::infinity();

const QString Impossible = u"Такъв пресечен конус не съществува: "_s;
const QString Slant = u"образувателната L"_s;
const QString Surface = u"околната повърхнина So"_s;
const QString SlantZero = u"Образувателната L не може да бъде 0."_s;
const QString OutOfRange = u"Резултатът е извън обхвата на числата, с които програмата работи."_s;
// What a bound itself gives: the solve calculates there, with a degenerate frustum.
const QString FlatAtBound = u" При равенство височината H е 0."_s;
const QString CylinderAtBound = u" При равенство R\u00a0=\u00a0r и тялото е цилиндър."_s;

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

// So / (Pi * L) is r + R; |R - r| <= |L| then puts So / (Pi * L) within |L| of twice the given
// radius.
Range SurfaceAroundRadius(double radius, double L) {
  const double abs_slant = std::fabs(L);
  return Between(geometry::Pi * L * (2 * radius - abs_slant),
                 geometry::Pi * L * (2 * radius + abs_slant));
}

// A square root of a negative number, in the variant's terms: the given quantity that makes the
// root's argument negative, and what the other given values allow for it. The conditions are the
// solver's: |L| >= |R - r| where the height comes from the slant height, |L| >= |H| where the
// difference of the radii comes from the slant height and the height.
struct RootRule {
  int column = -1;  // the given quantity at fault; -1 where the variant takes no such root
  std::vector<int> involves;  // the given quantities the root's argument comes from
  QString context;            // the given values the bounds come from
  QString quantity;
  // The least magnitude, shown before its value (and after a minus sign for a negative bound);
  // empty where the bounds are shown as values only.
  QString formula;
  Range (*range)(const FrustumValues& typed) = nullptr;
  QString at_bound;  // what the frustum is at a bound
};

// A zero divisor, in the variant's terms: the message and the given quantity it names, and the
// message for radii that are not zero but so small that their squares round to zero. No message
// where the variant divides only by 3.
struct DivisorRule {
  QString message;
  int column = 0;
  std::vector<int> involves = {};  // the given quantities the divisor comes from
  QString near_zero = {};
};

// How one variant can fail other than by a result beyond the double range.
struct VariantFailures {
  RootRule root;
  DivisorRule divisor;
};

const RootRule SlantAtLeastHeight = {
    3,
    {2, 3},
    u"при тази височина H "_s,
    Slant,
    u"|H|"_s,
    // The sign is the typed L's: H's sign plays no part in the root.
    [](const FrustumValues& v) { return AtLeastInSize(v.L, std::fabs(v.H)); },
    CylinderAtBound};

// clang-format off
const VariantFailures Failures[] = {
    // Вариант 1: r, R, H
    {.root = {}, .divisor = {}},
    // Вариант 2: r, R, L
    {.root = {3, {0, 1, 3}, u"при тези r и R "_s, Slant, u"|R\u00a0−\u00a0r|"_s,
              [](const FrustumValues& v) { return AtLeastInSize(v.L, std::fabs(v.R - v.r)); },
              FlatAtBound},
     .divisor = {}},
    // Вариант 3: r, R, So
    {.root = {4, {0, 1, 4}, u"при тези r и R "_s, Surface,
              u"π·|r\u00a0+\u00a0R|·|R\u00a0−\u00a0r|"_s,
              [](const FrustumValues& v) {
                return AtLeastInSize(v.So,
                                     geometry::Pi * std::fabs(v.r + v.R) * std::fabs(v.R - v.r));
              },
              FlatAtBound},
     .divisor = {u"Сборът r\u00a0+\u00a0R не може да бъде 0."_s, 0, {0, 1}}},
    // Вариант 4: r, R, V
    {.root = {},
     .divisor = {u"Радиусите r и R не могат да бъдат едновременно 0."_s, 0, {0, 1},
                 u"Радиусите r и R са твърде близо до 0."_s}},
    // Вариант 5: r, H, L
    {.root = SlantAtLeastHeight, .divisor = {}},
    // Вариант 6: r, L, So
    {.root = {4, {0, 3, 4}, u"при тези r и L "_s, Surface, QString(),
              [](const FrustumValues& v) { return SurfaceAroundRadius(v.r, v.L); }, FlatAtBound},
     .divisor = {SlantZero, 3, {3}}},
    // Вариант 7: R, H, L
    {.root = SlantAtLeastHeight, .divisor = {}},
    // Вариант 8: R, L, So
    {.root = {4, {1, 3, 4}, u"при тези R и L "_s, Surface, QString(),
              [](const FrustumValues& v) { return SurfaceAroundRadius(v.R, v.L); }, FlatAtBound},
     .divisor = {SlantZero, 3, {3}}},
};
// clang-format on
static_assert(std::size(Failures) == RowCount);

// The text with the minus signs of its formulas written as the regional format writes a minus.
QString WithMinus(QString text, const QLocale& locale) {
  return text.replace(u'−', locale.negativeSign());
}

// Where `column` stands among the given quantities of `variant`: 0, 1 or 2.
std::size_t GivenIndex(int variant, int column) {
  const auto& columns = geometry::Variants[variant].given;
  return static_cast<std::size_t>(std::find(columns.begin(), columns.end(), column) -
                                  columns.begin());
}

// How SolveFrustum ends with these given values: nothing when it calculates. The rules above give
// their bounds as real arithmetic has them; whether the rounded bound a message shows calculates
// when typed, and which given value a result beyond the double range comes from, only the
// solver's own rounding tells, so the messages ask the solver itself rather than a copy of it.
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

// One bound as the message shows it: its formula, its value, or both, joined by an unbreakable
// " = " where the value shown is the bound itself and by " ≈ " where it is rounded; empty when it
// has neither.
QString BoundText(QString text, double bound, std::optional<double> shown, const QLocale& locale) {
  if (shown) {
    if (!text.isEmpty()) text += *shown == bound ? u"\u00a0=\u00a0"_s : u"\u00a0≈\u00a0"_s;
    text += FormatNumber(*shown, ShownDecimals, locale);
  }
  return text;
}

FailureReport RootReport(const RootRule& rule, int variant, const std::array<double, 3>& given,
                         const QLocale& locale) {
  const std::size_t at = GivenIndex(variant, rule.column);
  const double typed = given[at];
  const bool negative = typed < 0;
  const Range range = rule.range(geometry::WithGivenValues(variant, given[0], given[1], given[2]));
  // Whether any value of the typed sign calculates; where none does, the message says so and
  // shows the bounds of the other sign.
  const bool sign_can = negative ? range.lower < 0 : range.upper >= 0;
  // Only the bounds that a value of the typed sign can break: a positive value cannot fall below
  // a negative bound.
  const bool show_lower = range.lower != -Infinity && (!sign_can || negative || range.lower > 0);
  const bool show_upper = range.upper != Infinity && (!sign_can || !negative || range.upper < 0);
  QString lower;
  QString upper;
  if (show_lower) {
    lower = BoundText(WithMinus(rule.formula, locale), range.lower,
                      ShownBound(range.lower, 0.001, variant, given, at), locale);
  }
  if (show_upper) {
    const QString formula = rule.formula.isEmpty() ? QString() : u"−"_s + rule.formula;
    upper = BoundText(WithMinus(formula, locale), range.upper,
                      ShownBound(range.upper, -0.001, variant, given, at), locale);
  }
  QString bounds;
  if (!lower.isEmpty() && !upper.isEmpty()) {
    bounds = u"между "_s + lower + u" и "_s + upper;
  } else if (!lower.isEmpty()) {
    bounds = u"поне "_s + lower;
  } else if (!upper.isEmpty()) {
    bounds = u"най-много "_s + upper;
  }
  QString text = Impossible + rule.context + rule.quantity;
  if (!sign_can) {
    text += negative ? u" трябва да е положително число"_s : u" трябва да е отрицателно число"_s;
    if (!bounds.isEmpty()) text += u", "_s + bounds;
    text += u'.' + rule.at_bound;
  } else if (!bounds.isEmpty()) {
    text += u" трябва да е "_s + bounds + u'.' + rule.at_bound;
  } else {
    text += u" не може да бъде "_s + FormatNumber(typed, ShownDecimals, locale) + u'.';
  }
  return {text, rule.column};
}

FailureReport DivisorReport(const DivisorRule& rule, const std::array<double, 3>& given) {
  const bool near_zero = !rule.near_zero.isEmpty() && (given[0] != 0 || given[1] != 0);
  return {near_zero ? rule.near_zero : rule.message, rule.column};
}

// The names of `columns`, joined as Bulgarian joins a list: "r", "r и R", "r, R и L".
QString NameList(const std::vector<int>& columns) {
  QStringList names;
  for (int column : columns) names.append(QuantityNames[column]);
  return QLocale(QLocale::Bulgarian).createSeparatedList(names);
}

// A result beyond the double range comes from the given values whose replacement by 1 alone
// avoids the overflow, or from all three where none does.
std::vector<int> OverflowInvolves(int variant, const std::array<double, 3>& given) {
  const auto& columns = geometry::Variants[variant].given;
  std::vector<int> involved;
  for (std::size_t i = 0; i < given.size(); ++i) {
    std::array<double, 3> trial = given;
    trial[i] = 1.0;
    if (Failure(variant, trial) != FailureKind::Overflow) involved.push_back(columns[i]);
  }
  if (involved.empty()) involved.assign(columns.begin(), columns.end());
  return involved;
}

FailureReport OverflowReport(const std::vector<int>& involved) {
  const QString which =
      involved.size() == 1 ? u" Проверете стойността на "_s : u" Проверете стойностите на "_s;
  return {OutOfRange + which + NameList(involved) + u'.', involved.front()};
}

// Of the cells of `involved`, in column order, those that are empty and those that hold no
// number, told of before the failure itself: the pupil typed no zero there, and is told why the
// program took one. The first of them becomes the cell named.
void TellOfCellsReadAsZero(FailureReport& report, int variant, const std::vector<int>& involved,
                           const std::array<QString, 3>& texts, const QLocale& locale) {
  std::vector<int> empty;
  std::vector<int> no_number;
  for (int column : involved) {
    const QString& text = texts[GivenIndex(variant, column)];
    if (text.trimmed().isEmpty()) {
      empty.push_back(column);
    } else if (!HoldsNumber(text, locale)) {
      no_number.push_back(column);
    }
  }
  QString told;
  if (empty.size() == 1) {
    told += u"Клетката за "_s + NameList(empty) + u" е празна, а празна клетка се смята за 0. "_s;
  } else if (!empty.empty()) {
    told += u"Клетките за "_s + NameList(empty) + u" са празни, а празна клетка се смята за 0. "_s;
  }
  if (no_number.size() == 1) {
    told += u"В клетката за "_s + NameList(no_number) + u" няма число, затова тя се смята за 0. "_s;
  } else if (!no_number.empty()) {
    told +=
        u"В клетките за "_s + NameList(no_number) + u" няма числа, затова те се смятат за 0. "_s;
  }
  if (told.isEmpty()) return;
  report.message.prepend(told);
  // Both lists are in column order.
  report.column = empty.empty()       ? no_number.front()
                  : no_number.empty() ? empty.front()
                                      : std::min(empty.front(), no_number.front());
}

}  // namespace

FailureReport DescribeFailure(std::int16_t variant, const std::array<QString, 3>& texts,
                              const std::array<double, 3>& given, FailureKind kind,
                              const QLocale& locale) {
  const VariantFailures& rules = Failures[variant];
  FailureReport report;
  std::vector<int> involved;
  if (kind == FailureKind::NegativeRoot && rules.root.column >= 0) {
    report = RootReport(rules.root, variant, given, locale);
    involved = rules.root.involves;
  } else if (kind == FailureKind::ZeroDivisor && !rules.divisor.message.isEmpty()) {
    report = DivisorReport(rules.divisor, given);
    involved = rules.divisor.involves;
  } else {
    involved = OverflowInvolves(variant, given);
    report = OverflowReport(involved);
  }
  TellOfCellsReadAsZero(report, variant, involved, texts, locale);
  return report;
}

}  // namespace form
