#include "form/working.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "form/number_text.h"

namespace form {

namespace {

using geometry::FrustumValues;
using geometry::Step;
using namespace Qt::StringLiterals;

// The formula of each step, in the order of geometry::Step, written with its quantities in braces:
// "{H}" reads "H" in the formula and the row's H, as the row shows it, in the formula with the
// values put in. Each is the step's own arithmetic, grouped as the solver groups it.
const QString StepFormulas[] = {
    u"√({H}² + ({R} − {r})²)"_s,               // L, SlantFromHeight
    u"√({L}² − ({R} − {r})²)"_s,               // H, HeightFromSlant
    u"π·({r} + {R})·{L}"_s,                    // So, LateralSurface
    u"π·{H}·({r}² + {R}² + {r}·{R}) / 3"_s,    // V, Volume
    u"{So} / (π·({r} + {R}))"_s,               // L, SlantFromSurface
    u"3·{V} / (π·({r}² + {R}² + {r}·{R}))"_s,  // H, HeightFromVolume
    u"{r} + √({L}² − {H}²)"_s,                 // R, LargerRadiusFromHeight
    u"{So} / (π·{L}) − {r}"_s,                 // R, LargerRadiusFromSurface
    u"{R} − √({L}² − {H}²)"_s,                 // r, SmallerRadiusFromHeight
    u"{So} / (π·{L}) − {R}"_s,                 // r, SmallerRadiusFromSurface
};
static_assert(std::size(StepFormulas) ==
              static_cast<std::size_t>(Step::SmallerRadiusFromSurface) + 1);

// A working line is broken before its values where it would be longer than a tool tip's line.
constexpr qsizetype LineLength = 80;

// The number as the row shows it, and the double a pupil who reads it works with.
QString Shown(double value, const QLocale& locale) {
  return FormatNumber(value, ShownDecimals, locale);
}
double AsShown(double value) { return Val(FormatNumber(value, ShownDecimals, QLocale::c())); }

FrustumValues RowAsShown(const FrustumValues& row) {
  FrustumValues shown = row;
  for (auto column : geometry::Columns) shown.*column = AsShown(row.*column);
  return shown;
}

// `formula` with each "{X}" replaced by `name(column of X)`.
template <typename Name>
QString PutIn(const QString& formula, Name name) {
  QString out = formula;
  for (int column = 0; column < ColumnCount; ++column) {
    out.replace(u'{' + QuantityNames[column] + u'}', name(column));
  }
  return out;
}

// The formula with the row's values put in, as the row shows them.
QString WithValues(const QString& formula, const FrustumValues& row, const QLocale& locale) {
  return PutIn(formula, [&](int column) {
    const double v = row.*geometry::Columns[column];
    const QString text = Shown(v, locale);
    // A negative value is set off, as in "(-3,000)²".
    return v < 0 && AsShown(v) != 0 ? u'(' + text + u')' : text;
  });
}

// One equation: the quantity, its formula, the formula with the values put in, and the value,
// after "=" where the values put in give exactly the value shown, after "≈" where they do not.
QString Equation(const QString& quantity, const QString& symbols, const QString& values,
                 double value, bool exact, const QLocale& locale) {
  const QString head = quantity + u" = "_s + symbols;
  const QString rest = u"= "_s + values + (exact ? u" = "_s : u" ≈ "_s) + Shown(value, locale);
  if (head.size() + 1 + rest.size() <= LineLength) return head + u' ' + rest;
  return head + u"\n    "_s + rest;
}

QString Equation(const QString& quantity, const QString& formula, const FrustumValues& row,
                 double value, bool exact, const QLocale& locale) {
  const QString symbols = PutIn(formula, [](int column) { return QuantityNames[column]; });
  return Equation(quantity, symbols, WithValues(formula, row, locale), value, exact, locale);
}

// Whether `recompute`, run on the row as shown, gives what the row shows for `value`.
template <typename Recompute>
bool ShownExactly(double value, Recompute recompute, const QLocale& locale) {
  try {
    return Shown(recompute(), locale) == Shown(value, locale);
  } catch (const geometry::FrustumFailure&) {
    return false;  // the rounded numbers do not even calculate
  }
}

// The areas of the two bases and the full surface area, for the working of the lateral surface;
// nothing where an area lies beyond the double range.
QStringList Surfaces(const FrustumValues& row, const FrustumValues& shown, const QLocale& locale) {
  const double pi = geometry::Pi;
  const double B1 = pi * (row.r * row.r);
  const double B2 = pi * (row.R * row.R);
  const double S = (row.So + B1) + B2;
  if (!std::isfinite(S) || !std::isfinite(B1) || !std::isfinite(B2)) return {};
  auto exactly = [&](double value, double recomputed) {
    return Shown(recomputed, locale) == Shown(value, locale);
  };
  // S is put together from the three areas as the lines above show them.
  const QString areas =
      Shown(row.So, locale) + u" + "_s + Shown(B1, locale) + u" + "_s + Shown(B2, locale);
  return {Equation(u"B₁"_s, u"π·{r}²"_s, row, B1, exactly(B1, pi * (shown.r * shown.r)), locale) +
              u" (лице на малката основа)"_s,
          Equation(u"B₂"_s, u"π·{R}²"_s, row, B2, exactly(B2, pi * (shown.R * shown.R)), locale) +
              u" (лице на голямата основа)"_s,
          Equation(u"S"_s, u"So + B₁ + B₂"_s, areas, S,
                   exactly(S, (shown.So + AsShown(B1)) + AsShown(B2)), locale) +
              u" (пълна повърхнина)"_s};
}

}  // namespace

QString Working(int variant, int column, const FrustumValues& row, const QLocale& locale) {
  const auto& steps = geometry::Variants[variant].steps;
  const auto step = std::find_if(steps.begin(), steps.end(),
                                 [&](Step s) { return geometry::ComputedColumn(s) == column; });
  if (step == steps.end()) return QString();
  const FrustumValues shown = RowAsShown(row);
  const double value = row.*geometry::Columns[column];
  const bool exact = ShownExactly(
      value,
      [&] {
        FrustumValues recomputed = shown;
        geometry::RunStep(*step, recomputed);
        return recomputed.*geometry::Columns[column];
      },
      locale);
  QStringList lines = {Equation(QuantityNames[column],
                                StepFormulas[static_cast<std::size_t>(*step)], row, value, exact,
                                locale)};
  if (*step == Step::LateralSurface) lines << Surfaces(row, shown, locale);
  return lines.join(u'\n');
}

QString RowAsTable(const std::array<QString, ColumnCount>& texts) {
  QStringList heads(QuantityNames.begin(), QuantityNames.end());
  QStringList values(texts.begin(), texts.end());
  return heads.join(u'\t') + u'\n' + values.join(u'\t') + u'\n';
}

}  // namespace form
