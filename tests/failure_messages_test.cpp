#include "form/failure_messages.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "form/frustum_form.h"
#include "form/number_text.h"
#include "tests/support/failure_cases.h"
#include "tests/support/model_controls.h"

namespace form {
namespace {

using namespace Qt::StringLiterals;

// Types the case's texts into the given cells of its variant, chosen after the form's load.
void TypeCase(ModelControls& model, FrustumForm& form, const FailureCase& c) {
  model.Bind(&form);
  form.Form_Load();
  model.ClickOption(c.variant);
  const auto given = GivenCells(c.variant);
  for (std::size_t i = 0; i < 3; ++i) model.Type(given[i], QString::fromLatin1(c.typed[i]));
}

// Each message comes from a real failed Calculate in the Bulgarian format, which leaves every
// cell as it was, so that what the user sees names the value that actually stopped the
// calculation. A bound shown is tight: typing it into the cell named calculates, and typing it
// 0.001 further out fails.
TEST(FailureMessage, NamesTheValueToChangeAndItsBoundsAndChangesNoCell) {
  // The bounds a message shows: after "поне" a lower one, after "най-много" an upper one.
  const QRegularExpression shown(
      u"(поне|най-много|между) .*?(-?[0-9\u00a0]+,[0-9]{3})"
      u"(?: и (-?[0-9\u00a0]+,[0-9]{3}))?\\."_s);
  const QLocale bg(QLocale::Bulgarian, QLocale::Bulgaria);
  int bounds_checked = 0;
  for (const FailureCase& c : FailureCases()) {
    SCOPED_TRACE(c.name);
    ModelControls model;
    FrustumForm form(model, bg);
    TypeCase(model, form, c);
    // Something in a computed cell shows that no cell at all is touched.
    int computed = 0;
    while (geometry::IsGivenColumn(c.variant, computed)) ++computed;
    model.CellAt(CellIndex(c.variant, computed)).text = u"earlier"_s;
    const auto before = model.AllTexts();
    const CommandOutcome outcome = form.Command1_Click(0);
    EXPECT_EQ(outcome.failure, c.message);
    EXPECT_EQ(outcome.cell, CellIndex(c.variant, c.column));
    EXPECT_EQ(model.AllTexts(), before);
    const auto calculates = [&](double value) {
      model.Type(outcome.cell, FormatNumber(value, 3, bg));
      return !form.Command1_Click(0).Failed();
    };
    const QRegularExpressionMatch bounds = shown.match(outcome.failure);
    const bool upper_only = bounds.captured(1) == u"най-много";
    for (int i : {2, 3}) {
      if (!bounds.hasCaptured(i)) continue;
      const double value = ReadCellNumber(bounds.captured(i), bg);
      const double outward = i == 3 || upper_only ? 0.001 : -0.001;
      EXPECT_FALSE(calculates(value + outward));
      EXPECT_TRUE(calculates(value));
      ++bounds_checked;
    }
  }
  EXPECT_EQ(bounds_checked, 11);
}

// A message has one minus sign, the regional format's, in its formulas as in its numbers: the
// Swedish one is U+2212, where the Bulgarian one is "-".
TEST(FailureMessage, WritesEveryMinusAsTheRegionalFormatDoes) {
  const QLocale sv(QLocale::Swedish, QLocale::Sweden);
  ASSERT_EQ(sv.negativeSign(), u"\u2212"_s);
  for (const FailureCase& c : FailureCases()) {
    ModelControls model;
    FrustumForm form(model, sv);
    TypeCase(model, form, c);
    QString expected = c.message;
    expected.replace(u'-', u'\u2212').replace(u"най\u2212"_s, u"най-"_s);
    EXPECT_EQ(form.Command1_Click(0).failure, expected) << c.name;
  }
}

}  // namespace
}  // namespace form
