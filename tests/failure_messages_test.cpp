#include "failure_messages.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>

#include "frustum_form.h"
#include "model_controls.h"
#include "number_text.h"

namespace form {
namespace {

// Each message comes from a real failed Calculate, in the Bulgarian format, so that what the user
// sees names the value that actually stopped the calculation. A bound shown is tight: typing it
// into the cell named calculates, typing it 0.001 further out fails.
TEST(FailureMessage, NamesTheValueToChangeAndItsBounds) {
  struct Case {
    int variant;
    std::array<const char16_t*, 3> typed;
    int column;  // of the cell named
    std::u16string expected;
    const char16_t* lower;  // the bounds shown, or nullptr
    const char16_t* upper;
  };
  const std::u16string no = u"Такъв пресечен конус не съществува: при ";
  const std::u16string range =
      u"Резултатът е извън обхвата на числата, с които програмата работи. Проверете ";
  const Case cases[] = {
      {1,
       {u"1", u"5", u"1"},
       3,
       no + u"тези r и R образувателната L трябва да е поне |R\u00a0−\u00a0r|\u00a0=\u00a04,000.",
       u"4,000",
       nullptr},
      {1,
       {u"1", u"5", u"-1"},
       3,
       no + u"тези r и R образувателната L трябва да е най-много "
            u"−|R\u00a0−\u00a0r|\u00a0=\u00a0-4,000.",
       nullptr,
       u"-4,000"},
      {2,
       {u"3", u"5", u"10"},
       4,
       no + u"тези r и R околната повърхнина So трябва да е поне "
            u"π·|r\u00a0+\u00a0R|·|R\u00a0−\u00a0r|\u00a0=\u00a050,266.",
       u"50,266",
       nullptr},
      {4,
       {u"1", u"5", u"3"},
       3,
       no + u"тази височина H образувателната L трябва да е поне |H|\u00a0=\u00a05,000.",
       u"5,000",
       nullptr},
      {6,
       {u"1", u"-3", u"-2"},
       3,
       no + u"тази височина H образувателната L трябва да е най-много −|H|\u00a0=\u00a0-3,000.",
       nullptr,
       u"-3,000"},
      {5,
       {u"1", u"3", u"100"},
       4,
       no + u"тези r и L околната повърхнина So трябва да е между -9,424 и 47,123.",
       u"-9,424",
       u"47,123"},
      {7,
       {u"2", u"-3", u"100"},
       4,
       no + u"тези R и L околната повърхнина So трябва да е между -65,973 и -9,425.",
       u"-65,973",
       u"-9,425"},
      // No number with three decimals lies between the bounds.
      {5,
       {u"1", u"0,000001", u"1"},
       4,
       no + u"тези r и L околната повърхнина So не може да бъде 1,000.",
       nullptr,
       nullptr},
      {2, {u"1", u"-1", u"30"}, 0, u"Сборът r\u00a0+\u00a0R не може да бъде 0.", nullptr, nullptr},
      {3,
       {u"0", u"0", u"5"},
       0,
       u"Радиусите r и R не могат да бъдат едновременно 0.",
       nullptr,
       nullptr},
      {3, {u"1e-200", u"0", u"5"}, 0, u"Радиусите r и R са твърде близо до 0.", nullptr, nullptr},
      {5, {u"1", u"", u"5"}, 3, u"Образувателната L не може да бъде 0.", nullptr, nullptr},
      {7, {u"1", u"0", u"5"}, 3, u"Образувателната L не може да бъде 0.", nullptr, nullptr},
      {0, {u"1", u"2", u"1e200"}, 2, range + u"стойността на H.", nullptr, nullptr},
      {3, {u"1", u"2", u"1e308"}, 5, range + u"стойността на V.", nullptr, nullptr},
      {7, {u"1", u"1e-300", u"1e300"}, 1, range + u"стойностите на R, L и So.", nullptr, nullptr},
      {0, {u"1", u"1e400", u"3"}, 1, u"Въведеното число е твърде голямо.", nullptr, nullptr},
  };
  const QLocale bg(QLocale::Bulgarian, QLocale::Bulgaria);
  for (const Case& c : cases) {
    ModelControls model;
    FrustumForm form(model, bg);
    model.Bind(&form);
    form.Form_Load();
    model.ClickOption(c.variant);
    const auto given = GivenCells(c.variant);
    for (std::size_t i = 0; i < 3; ++i) model.Type(given[i], QString::fromUtf16(c.typed[i]));
    const CommandOutcome outcome = form.Command1_Click(0);
    EXPECT_EQ(outcome.failure, QString::fromStdU16String(c.expected)) << "variant " << c.variant;
    EXPECT_EQ(outcome.cell, CellIndex(c.variant, c.column)) << "variant " << c.variant;
    const auto calculates = [&](double value) {
      model.Type(outcome.cell, FormatNumber(value, 3, bg));
      return !form.Command1_Click(0).Failed();
    };
    for (const auto& [bound, outward] : {std::pair{c.lower, -0.001}, std::pair{c.upper, 0.001}}) {
      if (!bound) continue;
      const double value = ReadCellNumber(QString::fromUtf16(bound), bg);
      EXPECT_FALSE(calculates(value + outward)) << "variant " << c.variant;
      EXPECT_TRUE(calculates(value)) << "variant " << c.variant;
    }
  }
}

}  // namespace
}  // namespace form
