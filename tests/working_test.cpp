// The working the form offers for each computed value, against the solver's own steps.
#include "form/working.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "form/frustum_form.h"
#include "form/number_text.h"
#include "tests/support/model_controls.h"

namespace form {
namespace {

using namespace Qt::StringLiterals;

TEST(Working, ShowsEachStepWithTheRowsValuesAndAnHonestEquals) {
  const QLocale bg(QLocale::Bulgarian, QLocale::Bulgaria);
  struct Case {
    int variant;
    double a, b, c;
    int column;
    QString expected;
  };
  const Case cases[] = {
      {0, 10, 20, 30, 3, u"L = √(H² + (R − r)²) = √(30,000² + (20,000 − 10,000)²) = 31,623"_s},
      // L is shown rounded: So recomputed from 31,623 is 2 980,398.
      {0, 10, 20, 30, 4,
       u"So = π·(r + R)·L = π·(10,000 + 20,000)·31,623 ≈ 2\u00a0980,376\n"
       u"B₁ = π·r² = π·10,000² = 314,159 (лице на малката основа)\n"
       u"B₂ = π·R² = π·20,000² = 1\u00a0256,637 (лице на голямата основа)\n"
       u"S = So + B₁ + B₂ = 2\u00a0980,376 + 314,159 + 1\u00a0256,637 ≈ 4\u00a0551,173 (пълна повърхнина)"_s},
      // Too long for one line of a tool tip; a negative value set off.
      {0, 1, 2, -3, 5,
       u"V = π·H·(r² + R² + r·R) / 3\n"
       u"    = π·(-3,000)·(1,000² + 2,000² + 1,000·2,000) / 3 = -21,991"_s},
      // H from the volume, then L from that H as the row shows it.
      {3, 1, 2, 21.991, 3, u"L = √(H² + (R − r)²) = √(3,000² + (2,000 − 1,000)²) = 3,162"_s},
      {6, 20, 30, 31.623, 0, u"r = R − √(L² − H²) = 20,000 − √(31,623² − 30,000²) = 9,999"_s},
      {7, 20, 31.623, 2980.858, 0,
       u"r = So / (π·L) − R = 2\u00a0980,858 / (π·31,623) − 20,000 = 10,005"_s},
      {2, 10, 20, 2980.858, 2,
       u"H = √(L² − (R − r)²) = √(31,628² − (20,000 − 10,000)²) ≈ 30,005"_s},
  };
  for (const Case& c : cases) {
    const auto row = geometry::SolveFrustum(c.variant, c.a, c.b, c.c);
    EXPECT_EQ(Working(c.variant, c.column, row, bg), c.expected);
  }
  // Every computed value, in every variant, is worked out by the solver's step for it and ends in
  // the value the row shows; a given one has no working.
  for (int variant = 0; variant < geometry::VariantCount; ++variant) {
    const double typed[] = {1, 2, 3, 3.162, 29.804, 21.991};
    const auto& given = geometry::Variants[variant].given;
    const auto row =
        geometry::SolveFrustum(variant, typed[given[0]], typed[given[1]], typed[given[2]]);
    for (int column = 0; column < ColumnCount; ++column) {
      // The first equation, with its continuation line if it has one.
      const QString working = Working(variant, column, row, bg);
      const QString first = working.section(QRegularExpression(u"\n(?! )"_s), 0, 0);
      if (geometry::IsGivenColumn(variant, column)) {
        EXPECT_TRUE(working.isEmpty());
        continue;
      }
      const QString shown = FormatNumber(row.*geometry::Columns[column], 3, bg);
      EXPECT_TRUE(first.startsWith(QuantityNames[column] + u" = "_s) &&
                  (first.endsWith(u"= "_s + shown) || first.endsWith(u"≈ "_s + shown)))
          << "variant " << variant << ": " << first.toStdString();
    }
  }
}

TEST(Working, FollowsTheRowAndCopiesAsATable) {
  ModelControls model;
  FrustumForm form(model, QLocale::c());
  model.Bind(&form);
  form.Form_Load();
  model.Type(0, u"1"_s);
  model.Type(1, u"2"_s);
  model.Type(2, u"3"_s);
  form.Command1_Click(0);
  EXPECT_TRUE(model.CellAt(3).working.endsWith(u"= 3.162"_s));
  EXPECT_TRUE(model.CellAt(0).working.isEmpty());
  // A failed calculation writes nothing: the working stays that of the row shown; Clear ends it.
  model.Type(2, u"1e200"_s);
  EXPECT_TRUE(form.Command1_Click(0).Failed());
  EXPECT_TRUE(model.CellAt(3).working.endsWith(u"= 3.162"_s));
  form.Command1_Click(1);
  EXPECT_TRUE(model.CellAt(3).working.isEmpty());
  EXPECT_EQ(RowAsTable({u"1.000"_s, u"2.000"_s, u"3.000"_s, u"3.162"_s, {}, {}}),
            u"r\tR\tH\tL\tSo\tV\n1.000\t2.000\t3.000\t3.162\t\t\n"_s);
}

}  // namespace
}  // namespace form
