#include "form/frustum_form.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "form/number_text.h"
#include "geometry/frustum_solver.h"
#include "tests/support/model_controls.h"
#include "tests/support/regional_formats.h"

namespace form {
namespace {

using namespace Qt::StringLiterals;

// The model, noting which cells the form reads.
class RecordingControls : public ModelControls {
 public:
  QString CellText(std::int16_t index) const override {
    reads.push_back(index);
    return ModelControls::CellText(index);
  }
  mutable std::vector<int> reads;
};

class FrustumFormTest : public ::testing::Test {
 protected:
  explicit FrustumFormTest(QLocale locale = QLocale(QLocale::English, QLocale::UnitedStates))
      : form(model, std::move(locale)) {
    model.Bind(&form);
    form.Form_Load();
  }

  void Choose(int variant) { model.ClickOption(variant); }

  // The user types into a cell, which must accept typing.
  void Type(int index, const QString& text) {
    EXPECT_TRUE(model.Type(index, text)) << "cell " << index << " does not accept typing";
  }

  // Chooses `variant` and calculates r = 1, R = 2, H = 3 from what that variant is given.
  void CalculateFrustum(int variant) {
    const std::array<QString, 6> typed = {u"1"_s,     u"2"_s,      u"3"_s,
                                          u"3.162"_s, u"29.804"_s, u"21.991"_s};
    Choose(variant);
    for (int i : GivenCellList(variant)) Type(i, typed[static_cast<std::size_t>(ColumnOf(i))]);
    EXPECT_FALSE(form.Command1_Click(0).Failed());
  }

  RecordingControls model;
  FrustumForm form;
};

TEST_F(FrustumFormTest, AfterLoadOnlyTheFirstThreeCellsAcceptTyping) {
  EXPECT_EQ(model.Chosen(), 0);
  EXPECT_EQ(form.GetSelectedVariant(), 0);
  EXPECT_EQ(model.TypableCells(), (std::vector<int>{0, 1, 2}));
  for (int i = 0; i < CellCount; ++i) {
    EXPECT_TRUE(model.CellAt(i).text.isEmpty());
    EXPECT_EQ(model.CellAt(i).locked, i >= 4) << "cell " << i;
  }
}

TEST_F(FrustumFormTest, EachVariantUnlocksExactlyItsGivenCells) {
  for (int variant : {3, 7, 0, 6, 1, 5, 2, 4}) {
    SCOPED_TRACE("variant " + std::to_string(variant));
    Choose(variant);
    EXPECT_EQ(form.GetSelectedVariant(), variant);
    EXPECT_EQ(model.TypableCells(), GivenCellList(variant));
    for (int i = 0; i < CellCount; ++i) {
      EXPECT_EQ(model.CellAt(i).locked, RowOf(i) != variant) << i;
    }
  }
}

TEST_F(FrustumFormTest, ChoosingAVariantEmptiesTheWholeGrid) {
  for (int i : {0, 1, 2}) Type(i, u"3"_s);
  form.Command1_Click(0);
  model.CellAt(47).text = u"left over"_s;
  Choose(2);
  for (const QString& text : model.AllTexts()) EXPECT_TRUE(text.isEmpty());
}

TEST_F(FrustumFormTest, CalculateWritesTheFormattedRow) {
  Choose(5);
  Type(30, u"1"_s);
  Type(33, u"3"_s);
  Type(34, u"5"_s);
  EXPECT_FALSE(form.Command1_Click(0).Failed());
  const QStringList expected = {u"1.000"_s, u"-0.469"_s, u"2.615"_s,
                                u"3.000"_s, u"5.000"_s,  u"2.057"_s};
  for (int column = 0; column < 6; ++column) {
    EXPECT_EQ(model.CellAt(30 + column).text, expected[column]);
  }
  // Only the row of the variant changed, and the locks are as they were.
  for (int i = 0; i < CellCount; ++i) {
    if (RowOf(i) != 5) {
      EXPECT_TRUE(model.CellAt(i).text.isEmpty()) << i;
    }
  }
  EXPECT_EQ(model.TypableCells(), GivenCellList(5));
  EXPECT_EQ(form.GetSelectedVariant(), 5);
}

TEST_F(FrustumFormTest, EmptyInputsInVariantZeroGiveZeros) {
  form.Command1_Click(0);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(model.CellAt(i).text, u"0.000"_s);
}

TEST_F(FrustumFormTest, ComputedCellsAreNeverRead) {
  for (int variant = 0; variant < RowCount; ++variant) {
    SCOPED_TRACE("variant " + std::to_string(variant));
    model.reads.clear();
    CalculateFrustum(variant);
    EXPECT_EQ(model.reads, GivenCellList(variant));
  }
  // What an earlier Calculate left in a computed cell does not change the next one.
  Choose(0);
  for (int i : {0, 1, 2}) Type(i, u"1"_s);
  form.Command1_Click(0);
  const auto first = model.AllTexts();
  model.CellAt(3).text = u"999"_s;
  form.Command1_Click(0);
  EXPECT_EQ(model.AllTexts(), first);
}

TEST_F(FrustumFormTest, ClearEmptiesEveryRowAndKeepsTheVariantAndTheLocks) {
  for (int variant = 0; variant < RowCount; ++variant) {
    SCOPED_TRACE("variant " + std::to_string(variant));
    CalculateFrustum(variant);
    form.Command1_Click(1);
    EXPECT_EQ(model.AllTexts(), ModelControls::Texts{});
    EXPECT_EQ(form.GetSelectedVariant(), variant);
    EXPECT_EQ(model.Chosen(), variant);
    EXPECT_EQ(model.TypableCells(), GivenCellList(variant));
  }
}

TEST_F(FrustumFormTest, OtherButtonIndexesDoNothing) {
  Type(0, u"1"_s);
  const auto before = model.AllTexts();
  for (std::int16_t index : {std::int16_t{2}, std::int16_t{-1}, std::int16_t{32767}}) {
    SCOPED_TRACE("index " + std::to_string(index));
    form.Command1_Click(index);
    EXPECT_EQ(model.AllTexts(), before);
  }
}

class FrustumFormBulgarianTest : public FrustumFormTest {
 protected:
  FrustumFormBulgarianTest() : FrustumFormTest(QLocale(QLocale::Bulgarian, QLocale::Bulgaria)) {}
};

TEST_F(FrustumFormBulgarianTest, ADecimalCommaReadsAsTheDecimalSeparator) {
  Type(0, u"1"_s);
  Type(1, u"2.5"_s);
  Type(2, u"3"_s);
  form.Command1_Click(0);
  EXPECT_EQ(model.CellAt(1).text, u"2,500"_s);
  const auto first = model.AllTexts();
  // The row as written reads back as the numbers it shows, and "2,5" as 2.5 too.
  form.Command1_Click(0);
  EXPECT_EQ(model.AllTexts(), first);
  Type(1, u"2,5"_s);
  form.Command1_Click(0);
  EXPECT_EQ(model.AllTexts(), first);
}

TEST(FrustumFormRegionalTest, RecalculatingAnUnchangedRowChangesNoCell) {
  struct Case {
    int variant;
    std::array<const char*, 3> typed;
  };
  const Case cases[] = {
      {0, {"1", "2000", "3"}},               // groups in every column
      {0, {"-1.5", "1234567.891", "0.25"}},  // a negative given value, millions
      {5, {"1", "3", "5"}},                  // a negative computed value
      {7, {"12345.678", "23456.5", "1e9"}},
  };
  for (const char* name : RegionalFormats) {
    for (const Case& c : cases) {
      ModelControls model;
      FrustumForm form(model, QLocale(QString::fromLatin1(name)));
      model.Bind(&form);
      form.Form_Load();
      model.ClickOption(c.variant);
      const auto given = GivenCells(c.variant);
      for (std::size_t i = 0; i < 3; ++i) model.Type(given[i], QString::fromLatin1(c.typed[i]));
      form.Command1_Click(0);
      const auto first = model.AllTexts();
      form.Command1_Click(0);
      EXPECT_EQ(model.AllTexts(), first) << name << ", variant " << c.variant;
    }
  }
}

}  // namespace
}  // namespace form
