#include "window/frustum_form.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

#include "geometry/frustum_solver.h"
#include "window/number_text.h"

namespace {

// An in-memory stand-in for the window's 48 cells and 8 option buttons. Enabled flags are those
// of the window: the three computed cells of every row are disabled for good.
class ModelControls : public FormControls {
 public:
  struct Cell {
    QString text;
    bool locked = false;
    bool enabled = true;
  };

  ModelControls() {
    for (int row = 0; row < 8; ++row) {
      for (int column = 0; column < 6; ++column) {
        cells[static_cast<std::size_t>(CellIndex(row, column))].enabled =
            geometry::IsGivenColumn(row, column);
      }
    }
  }

  void Bind(FrustumForm* form) { form_ = form; }

  QString CellText(std::int16_t index) const override {
    reads.push_back(index);
    return cells.at(static_cast<std::size_t>(index)).text;
  }
  void SetCellText(std::int16_t index, const QString& text) override {
    cells.at(static_cast<std::size_t>(index)).text = text;
  }
  void SetCellLocked(std::int16_t index, bool locked) override {
    cells.at(static_cast<std::size_t>(index)).locked = locked;
  }
  void ChooseOption(std::int16_t index) override {
    if (chosen == index) return;  // an option button raises its click only when it changes
    chosen = index;
    form_->Option1_Click(index);
  }

  bool AcceptsTyping(int index) const {
    const Cell& cell = cells.at(static_cast<std::size_t>(index));
    return cell.enabled && !cell.locked;
  }
  std::vector<int> TypableCells() const {
    std::vector<int> out;
    for (int i = 0; i < CellCount; ++i) {
      if (AcceptsTyping(i)) out.push_back(i);
    }
    return out;
  }
  std::array<QString, 48> Texts() const {
    std::array<QString, 48> out;
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = cells[i].text;
    return out;
  }
  // The user types into a cell, which works only where typing is accepted.
  void Type(int index, const QString& text) {
    ASSERT_TRUE(AcceptsTyping(index)) << "cell " << index << " does not accept typing";
    cells.at(static_cast<std::size_t>(index)).text = text;
  }

  std::array<Cell, 48> cells{};
  std::optional<std::int16_t> chosen;
  mutable std::vector<int> reads;

 private:
  FrustumForm* form_ = nullptr;
};

std::vector<int> GivenCells(int variant) {
  std::vector<int> out;
  for (int column : geometry::GivenColumns[static_cast<std::size_t>(variant)]) {
    out.push_back(CellIndex(variant, column));
  }
  return out;
}

class FrustumFormTest : public ::testing::Test {
 protected:
  explicit FrustumFormTest(QLocale locale = QLocale(QLocale::English, QLocale::UnitedStates))
      : form(model, std::move(locale)) {
    model.Bind(&form);
    form.Form_Load();
  }

  void Choose(int variant) {
    model.chosen.reset();  // a user's click on another button
    model.ChooseOption(static_cast<std::int16_t>(variant));
  }

  ModelControls model;
  FrustumForm form;
};

TEST_F(FrustumFormTest, AfterLoadOnlyTheFirstThreeCellsAcceptTyping) {
  EXPECT_EQ(model.chosen, 0);
  EXPECT_EQ(form.selectedVariant(), 0);
  EXPECT_EQ(model.TypableCells(), (std::vector<int>{0, 1, 2}));
  for (int i = 0; i < CellCount; ++i) {
    EXPECT_TRUE(model.cells[static_cast<std::size_t>(i)].text.isEmpty());
    EXPECT_EQ(model.cells[static_cast<std::size_t>(i)].locked, i >= 4) << "cell " << i;
  }
}

TEST_F(FrustumFormTest, EachVariantUnlocksExactlyItsGivenCells) {
  for (int variant : {3, 7, 0, 6, 1, 5, 2, 4}) {
    Choose(variant);
    EXPECT_EQ(form.selectedVariant(), variant);
    EXPECT_EQ(model.TypableCells(), GivenCells(variant)) << "variant " << variant;
    for (int i = 0; i < CellCount; ++i) {
      EXPECT_EQ(model.cells[static_cast<std::size_t>(i)].locked, i / 6 != variant) << i;
    }
  }
}

TEST_F(FrustumFormTest, ChoosingAVariantEmptiesTheWholeGrid) {
  for (int i : {0, 1, 2}) model.Type(i, "3");
  form.Command1_Click(0);
  model.cells[47].text = "left over";
  Choose(2);
  for (const QString& text : model.Texts()) EXPECT_TRUE(text.isEmpty());
}

TEST_F(FrustumFormTest, CalculateWritesTheFormattedRow) {
  Choose(5);
  model.Type(30, "1");
  model.Type(33, "3");
  model.Type(34, "5");
  form.Command1_Click(0);
  const QStringList expected = {"1.000", "-0.469", "2.615", "3.000", "5.000", "2.057"};
  for (int column = 0; column < 6; ++column) {
    EXPECT_EQ(model.cells[static_cast<std::size_t>(30 + column)].text, expected[column]);
  }
  // Only the row of the variant changed, and the locks are as they were.
  for (int i = 0; i < CellCount; ++i) {
    if (i / 6 != 5) {
      EXPECT_TRUE(model.cells[static_cast<std::size_t>(i)].text.isEmpty()) << i;
    }
  }
  EXPECT_EQ(model.TypableCells(), GivenCells(5));
  EXPECT_EQ(form.selectedVariant(), 5);
}

TEST_F(FrustumFormTest, EmptyInputsInVariantZeroGiveZeros) {
  form.Command1_Click(0);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(model.cells[static_cast<std::size_t>(i)].text, "0.000");
}

TEST_F(FrustumFormTest, ComputedCellsAreNeverRead) {
  // A frustum every variant can solve: r = 1, R = 2, H = 3 and what follows from them.
  const std::array<QString, 6> typed = {"1", "2", "3", "3.162", "29.804", "21.991"};
  for (int variant = 0; variant < 8; ++variant) {
    Choose(variant);
    for (int i : GivenCells(variant)) model.Type(i, typed[static_cast<std::size_t>(i % 6)]);
    model.reads.clear();
    form.Command1_Click(0);
    EXPECT_EQ(model.reads, GivenCells(variant)) << "variant " << variant;
  }
  // What an earlier Calculate left in a computed cell does not change the next one.
  Choose(0);
  for (int i : {0, 1, 2}) model.Type(i, "1");
  form.Command1_Click(0);
  const auto first = model.Texts();
  model.cells[3].text = "999";
  form.Command1_Click(0);
  EXPECT_EQ(model.Texts(), first);
}

TEST_F(FrustumFormTest, ClearKeepsTheVariantAndTheLocks) {
  Choose(6);
  for (int i : GivenCells(6)) model.Type(i, "4");
  form.Command1_Click(0);
  form.Command1_Click(1);
  for (const QString& text : model.Texts()) EXPECT_TRUE(text.isEmpty());
  EXPECT_EQ(form.selectedVariant(), 6);
  EXPECT_EQ(model.chosen, 6);
  EXPECT_EQ(model.TypableCells(), GivenCells(6));
}

TEST_F(FrustumFormTest, OtherButtonIndexesDoNothing) {
  model.Type(0, "1");
  const auto before = model.Texts();
  for (std::int16_t index : {std::int16_t{2}, std::int16_t{-1}, std::int16_t{32767}}) {
    form.Command1_Click(index);
    EXPECT_EQ(model.Texts(), before);
  }
}

TEST_F(FrustumFormTest, AFailedCalculationLeavesEveryTextAsItWas) {
  struct Case {
    int variant;
    std::array<const char*, 3> typed;
  };
  const Case cases[] = {
      {2, {"", "", ""}},         // empty inputs divide by zero
      {3, {"0", "0", "5"}},      // r and R both zero
      {5, {"1", "", "5"}},       // L is zero
      {7, {"1", "0", "5"}},      // L is zero
      {1, {"1", "2", "0.5"}},    // L shorter than R - r
      {4, {"1", "3", "2"}},      // L shorter than H
      {0, {"1", "2", "1e200"}},  // H * H overflows
      {0, {"1", "2", "1e400"}},  // beyond the double range when typed
      {6, {"1", "3", "2"}},      // L shorter than H
  };
  for (const Case& c : cases) {
    Choose(c.variant);
    const auto given = GivenCells(c.variant);
    for (std::size_t i = 0; i < 3; ++i) model.Type(given[i], c.typed[i]);
    // Something in another column shows that no cell at all is touched.
    const int computed = CellIndex(c.variant, c.variant == 6 ? 0 : 5);
    model.cells[static_cast<std::size_t>(computed)].text = "earlier";
    const auto before = model.Texts();
    EXPECT_ANY_THROW(form.Command1_Click(0)) << "variant " << c.variant;
    EXPECT_EQ(model.Texts(), before) << "variant " << c.variant;
    EXPECT_EQ(form.selectedVariant(), c.variant);
  }
}

TEST_F(FrustumFormTest, FailuresCarryTheirCause) {
  Choose(2);
  EXPECT_THROW(form.Command1_Click(0), geometry::FrustumFailure);
  Choose(0);
  model.Type(1, QString(400, u'9'));
  EXPECT_THROW(form.Command1_Click(0), NumberOutOfRange);
}

class FrustumFormBulgarianTest : public FrustumFormTest {
 protected:
  FrustumFormBulgarianTest() : FrustumFormTest(QLocale(QLocale::Bulgarian, QLocale::Bulgaria)) {}
};

TEST_F(FrustumFormBulgarianTest, RecalculatingRereadsTheDecimalCommaAsTheEndOfTheNumber) {
  model.Type(0, "1");
  model.Type(1, "2.5");
  model.Type(2, "3");
  form.Command1_Click(0);
  EXPECT_EQ(model.cells[1].text, "2,500");
  const QString first_volume = model.cells[5].text;
  // "2,500" now reads as 2, so the second result is that of r = 1, R = 2, H = 3.
  form.Command1_Click(0);
  EXPECT_EQ(model.cells[1].text, "2,000");
  EXPECT_EQ(model.cells[4].text, "29,804");
  EXPECT_EQ(model.cells[5].text, "21,991");
  EXPECT_NE(model.cells[5].text, first_volume);
}

}  // namespace
