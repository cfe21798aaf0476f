#include "failure_messages.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <string>

#include "frustum_form.h"
#include "model_controls.h"
#include "number_text.h"

namespace form {
namespace {

// Each message comes from a real failed Calculate in the Bulgarian format, which leaves every
// cell as it was, so that what the user sees names the value that actually stopped the
// calculation. A bound shown is tight: typing it into the cell named calculates, and typing it
// 0.001 further out fails.
TEST(FailureMessage, NamesTheValueToChangeAndItsBoundsAndChangesNoCell) {
  struct Case {
    int variant;
    const char16_t* typed;  // the three given values, separated by "|"
    int column;             // of the cell named
    std::u16string expected;
  };
  const std::u16string no = u"Такъв пресечен конус не съществува: при ";
  const std::u16string range =
      u"Резултатът е извън обхвата на числата, с които програмата работи. Проверете ";
  const Case cases[] = {
      {1, u"1|5|1", 3,
       no + u"тези r и R образувателната L трябва да е поне |R\u00a0−\u00a0r|\u00a0=\u00a04,000."},
      {1, u"1|5|-1", 3,
       no + u"тези r и R образувателната L трябва да е най-много −|R\u00a0−\u00a0r|\u00a0=\u00a0"
            u"-4,000."},
      {2, u"3|5|10", 4,
       no + u"тези r и R околната повърхнина So трябва да е поне "
            u"π·|r\u00a0+\u00a0R|·|R\u00a0−\u00a0r|\u00a0=\u00a050,266."},
      {4, u"1|5|3", 3,
       no + u"тази височина H образувателната L трябва да е поне |H|\u00a0=\u00a05,000."},
      {6, u"1|-3|-2", 3,
       no + u"тази височина H образувателната L трябва да е най-много −|H|\u00a0=\u00a0-3,000."},
      {5, u"1|3|100", 4,
       no + u"тези r и L околната повърхнина So трябва да е между -9,424 и 47,123."},
      {7, u"2|-3|100", 4,
       no + u"тези R и L околната повърхнина So трябва да е между -65,973 и -9,425."},
      // No number with three decimals lies between the bounds.
      {5, u"1|0,000001|1", 4, no + u"тези r и L околната повърхнина So не може да бъде 1,000."},
      {2, u"||", 0, u"Сборът r\u00a0+\u00a0R не може да бъде 0."},
      {3, u"0|0|5", 0, u"Радиусите r и R не могат да бъдат едновременно 0."},
      {3, u"1e-200|0|5", 0, u"Радиусите r и R са твърде близо до 0."},
      {5, u"1||5", 3, u"Образувателната L не може да бъде 0."},
      {7, u"1|0|5", 3, u"Образувателната L не може да бъде 0."},
      {0, u"1|2|1e200", 2, range + u"стойността на H."},
      {3, u"1|2|1e308", 5, range + u"стойността на V."},
      {7, u"1|1e-300|1e300", 1, range + u"стойностите на R, L и So."},
      {0, u"1|1e400|3", 1, u"Въведеното число е твърде голямо."},
  };
  // The bounds a message shows: after "поне" a lower one, after "най-много" an upper one.
  const QRegularExpression shown(
      u"(поне|най-много|между) .*?(-?[0-9\u00a0]+,[0-9]{3})"
      u"(?: и (-?[0-9\u00a0]+,[0-9]{3}))?\\.$"_qs);
  const QLocale bg(QLocale::Bulgarian, QLocale::Bulgaria);
  int bounds_checked = 0;
  for (const Case& c : cases) {
    ModelControls model;
    FrustumForm form(model, bg);
    model.Bind(&form);
    form.Form_Load();
    model.ClickOption(c.variant);
    const auto given = GivenCells(c.variant);
    const QStringList typed = QString::fromUtf16(c.typed).split(u'|');
    for (std::size_t i = 0; i < 3; ++i) model.Type(given[i], typed[static_cast<qsizetype>(i)]);
    // Something in a computed cell shows that no cell at all is touched.
    int computed = 0;
    while (geometry::IsGivenColumn(c.variant, computed)) ++computed;
    model.CellAt(CellIndex(c.variant, computed)).text = u"earlier"_qs;
    const auto before = model.AllTexts();
    const CommandOutcome outcome = form.Command1_Click(0);
    EXPECT_EQ(outcome.failure, QString::fromStdU16String(c.expected)) << "variant " << c.variant;
    EXPECT_EQ(outcome.cell, CellIndex(c.variant, c.column)) << "variant " << c.variant;
    EXPECT_EQ(model.AllTexts(), before) << "variant " << c.variant;
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
      EXPECT_FALSE(calculates(value + outward)) << "variant " << c.variant;
      EXPECT_TRUE(calculates(value)) << "variant " << c.variant;
      ++bounds_checked;
    }
  }
  EXPECT_EQ(bounds_checked, 9);
}

}  // namespace
}  // namespace form
