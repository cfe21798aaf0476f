// Fuzzes the window's behaviour: FrustumForm against an in-memory model of its 48 cells and 8
// option buttons, driven by a random run of user actions (typing into a cell, choosing a variant,
// Calculate, Clear, and presses of button indexes the form does not have).
//
// After every action:
// - the form's selected variant is the chosen option button;
// - the cells that accept typing (enabled and unlocked) are exactly the three given cells of the
//   chosen row, and every cell of the other rows is locked;
// - no cell shows "inf", "nan" or "∞";
// - a failed Calculate reported a message, failed only where the solver or the reading of the
//   given cells fails, and left all 48 texts as they were; a successful one changed only the
//   chosen row, writing its six values with exactly three decimals in the Bulgarian format, each
//   within half a unit of the third decimal of what the solver makes of the given cells' values
//   (a value the form wrote reads as the number it shows, anything else as Val reads it);
// - a failing calculation of the shared table (failure_cases.h), typed in whatever the session
//   left in the grid, gives the table's message and names the table's cell;
// - Clear empties every cell and keeps the variant.
#include <fuzzer/FuzzedDataProvider.h>

#include <QLocale>
#include <QRegularExpression>
#include <QString>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "form/form_controls.h"
#include "form/frustum_form.h"
#include "form/grid.h"
#include "form/number_text.h"
#include "geometry/frustum_solver.h"
#include "tests/support/failure_cases.h"
#include "tests/support/model_controls.h"

namespace form {
namespace {

using namespace Qt::StringLiterals;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "form_fuzz: %s\n", what);
  std::abort();
}

void Require(bool condition, const char* what) {
  if (!condition) Fail(what);
}

using Texts = ModelControls::Texts;

void CheckInvariants(const ModelControls& model, const FrustumForm& form) {
  const int chosen = model.Chosen();
  Require(chosen >= 0 && chosen < geometry::VariantCount, "no option button is chosen");
  Require(form.GetSelectedVariant() == chosen, "the selected variant is not the chosen option");
  Require(model.TypableCells() == GivenCellList(chosen),
          "the cells that accept typing are not the given cells of the chosen row");
  for (int i = 0; i < CellCount; ++i) {
    if (i / geometry::ColumnCount != chosen) {
      Require(model.CellAt(i).locked, "a cell outside the chosen row is unlocked");
    }
  }
  for (const QString& text : model.AllTexts()) {
    if (text.contains(u"inf", Qt::CaseInsensitive) || text.contains(u"nan", Qt::CaseInsensitive) ||
        text.contains(u'\u221E')) {
      std::fprintf(stderr, "form_fuzz: cell text \"%s\"\n", text.toUtf8().constData());
      Fail("a cell shows an infinity or a NaN");
    }
  }
}

// What the user types. Either arbitrary text, or text shaped like a number (with blanks, a sign,
// a fraction or an exponent) so that many calculations succeed. Every 'n', 'N' and '∞' is left
// out: "inf", "nan" and "∞" in a cell must then come from the program itself.
QString TypedText(FuzzedDataProvider& in) {
  QString text;
  if (in.ConsumeBool()) {
    text = QString::fromStdString(in.ConsumeRandomLengthString(32));
  } else {
    if (in.ConsumeBool()) text += in.ConsumeBool() ? u'-' : u'+';
    text += QString::number(in.ConsumeIntegralInRange<int>(0, 100000));
    if (in.ConsumeBool()) {
      text += u'.';
      text += QString::number(in.ConsumeIntegralInRange<int>(0, 999999));
    }
    if (in.ConsumeBool()) text.insert(in.ConsumeIntegralInRange<int>(0, int(text.size())), u' ');
    if (in.ConsumeBool()) {
      text += in.ConsumeBool() ? u'e' : u'E';
      text += QString::number(in.ConsumeIntegralInRange<int>(-400, 400));
    }
    if (in.ConsumeBool()) text += QString::fromStdString(in.ConsumeRandomLengthString(4));
  }
  text.remove(u'n');
  text.remove(u'N');
  text.remove(u'\u221E');
  return text;
}

// "-1 234,500": an optional minus, digits grouped in threes by no-break spaces, a decimal comma
// and exactly three decimals.
const QRegularExpression& NumberFormat() {
  static const QRegularExpression format(u"^-?[0-9]{1,3}(\u00a0[0-9]{3})*,[0-9]{3}$"_s);
  return format;
}

// What the solver makes of the given cells of `variant` as Calculate reads them; throws where it
// fails.
geometry::FrustumValues SolveTyped(const Texts& texts, int variant) {
  std::array<double, 3> typed{};
  const auto given = GivenCells(variant);
  for (std::size_t i = 0; i < typed.size(); ++i) {
    typed[i] = ReadCellNumber(texts[static_cast<std::size_t>(given[i])],
                              QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
  }
  return geometry::SolveFrustum(variant, typed[0], typed[1], typed[2]);
}

// Checks a failed Calculate of `variant`: the typed values must really fail.
void CheckFailed(const Texts& texts, int variant) {
  try {
    SolveTyped(texts, variant);
  } catch (const std::exception&) {
    return;
  }
  Fail("Calculate failed on values that solve");
}

// Checks a successful Calculate of `variant` against the texts before it.
void CheckCalculated(const Texts& before, const Texts& after, int variant) {
  for (int i = 0; i < CellCount; ++i) {
    if (i / geometry::ColumnCount != variant) {
      Require(after[static_cast<std::size_t>(i)] == before[static_cast<std::size_t>(i)],
              "Calculate changed a cell outside the chosen row");
    }
  }
  geometry::FrustumValues expected{};
  try {
    expected = SolveTyped(before, variant);
  } catch (const std::exception&) {
    Fail("Calculate succeeded on values that do not solve");
  }
  for (int column = 0; column < geometry::ColumnCount; ++column) {
    const QString& text = after[static_cast<std::size_t>(CellIndex(variant, column))];
    if (!NumberFormat().match(text).hasMatch()) {
      std::fprintf(stderr, "form_fuzz: written \"%s\"\n", text.toUtf8().constData());
      Fail("Calculate wrote a value not in the form -1 234,567");
    }
    QString plain = text;
    plain.remove(u'\u00a0').replace(u',', u'.');
    const std::string digits = plain.toStdString();
    const double shown = std::strtod(digits.c_str(), nullptr);
    if (shown == 0.0) Require(!text.startsWith(u'-'), "a value that shows as zero has a minus");
    const double value = expected.*geometry::Columns[static_cast<std::size_t>(column)];
    // Rounding to three decimals moves a value by at most 0.0005; reading the text back into a
    // double adds at most half a unit in its last place.
    const double tolerance = 0.0005 * (1 + 1e-9) + std::fabs(value) * 0x1p-52;
    if (!(std::fabs(shown - value) <= tolerance)) {
      std::fprintf(stderr, "form_fuzz: column %d shows \"%s\" for %.17g\n", column,
                   text.toUtf8().constData(), value);
      Fail("Calculate wrote a value other than the solver's, rounded to three decimals");
    }
  }
}

// Types a failing calculation of the shared table into its variant's row, over whatever the
// session left there, and checks the message, the cell it names and the untouched grid.
void CheckFailureCase(ModelControls& model, FrustumForm& form, const FailureCase& c) {
  model.ChooseOption(static_cast<std::int16_t>(c.variant));
  const auto given = GivenCells(c.variant);
  for (std::size_t i = 0; i < given.size(); ++i) {
    Require(model.Type(given[i], QString::fromLatin1(c.typed[i])),
            "harness: a given cell takes no typing");
  }
  const Texts before = model.AllTexts();
  const CommandOutcome outcome = form.Command1_Click(0);
  Require(outcome.failure == c.message, "a failing calculation gave another message");
  Require(outcome.cell == CellIndex(c.variant, c.column), "a failure named another cell");
  Require(model.AllTexts() == before, "a failed Calculate changed a cell");
}

}  // namespace
}  // namespace form

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace form;
  FuzzedDataProvider in(data, size);
  ModelControls model;
  FrustumForm form(model, QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
  model.Bind(&form);
  form.Form_Load();
  Require(model.Chosen() == 0, "the load did not choose variant 0");
  CheckInvariants(model, form);

  for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
    switch (in.ConsumeIntegralInRange<int>(0, 6)) {
      case 0:
      case 1: {  // typing, twice as likely as the other actions
        const std::vector<int> typable = model.TypableCells();
        const int cell = typable.at(in.ConsumeIntegralInRange<std::size_t>(0, typable.size() - 1));
        Require(model.Type(cell, TypedText(in)), "harness: typed into a cell that takes no typing");
        break;
      }
      case 2: {  // a click on an option button, the chosen one included
        const int variant = in.ConsumeIntegralInRange<int>(0, geometry::VariantCount - 1);
        model.ChooseOption(static_cast<std::int16_t>(variant));
        Require(model.Chosen() == variant, "the clicked option is not the chosen one");
        break;
      }
      case 3: {  // Calculate
        const Texts before = model.AllTexts();
        const CommandOutcome outcome = form.Command1_Click(0);
        if (outcome.Failed()) {
          Require(model.AllTexts() == before, "a failed Calculate changed a cell");
          CheckFailed(before, model.Chosen());
        } else {
          CheckCalculated(before, model.AllTexts(), model.Chosen());
        }
        break;
      }
      case 4: {  // Clear
        form.Command1_Click(1);
        for (const QString& text : model.AllTexts()) {
          Require(text.isEmpty(), "Clear left text in a cell");
        }
        break;
      }
      case 5: {  // a button index the form does not have
        std::int16_t index = in.ConsumeIntegral<std::int16_t>();
        if (index == 0 || index == 1) index = 2;
        const Texts before = model.AllTexts();
        form.Command1_Click(index);
        Require(model.AllTexts() == before, "an unknown button index changed a cell");
        break;
      }
      case 6: {  // a failing calculation of the shared table
        const auto& cases = FailureCases();
        CheckFailureCase(model, form,
                         cases[in.ConsumeIntegralInRange<std::size_t>(0, cases.size() - 1)]);
        break;
      }
    }
    CheckInvariants(model, form);
  }
  return 0;
}
