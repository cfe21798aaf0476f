// The user guide must say what the program does. Every number in an example is marked with what
// it is: worked examples, the exercises' answers and sets of values are recomputed with the solver
// and the Bulgarian number format, message examples and the table on typing are typed into the
// form; a number that is not marked fails, so none can drift unnoticed.
#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QStringList>
#include <QXmlStreamReader>
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "form/frustum_form.h"
#include "form/grid.h"
#include "form/number_text.h"
#include "geometry/frustum_solver.h"
#include "tests/support/model_controls.h"

namespace {

using namespace Qt::StringLiterals;
using geometry::Columns;
using geometry::Variants;

// The six columns, then what the guide and So's tool tip derive from them: the base areas
// B1 = π·r² and B2 = π·R², and the full surface area S = So + B1 + B2.
constexpr int DerivedCount = 3;
constexpr const char16_t* ColumnNames[geometry::ColumnCount + DerivedCount] = {
    u"r", u"R", u"H", u"L", u"So", u"V", u"B1", u"B2", u"S"};

double Quantity(const geometry::FrustumValues& v, int column) {
  // Grouped as the working in So's tool tip computes them.
  const double b1 = geometry::Pi * (v.r * v.r), b2 = geometry::Pi * (v.R * v.R);
  const double derived[DerivedCount] = {b1, b2, (v.So + b1) + b2};
  return column < geometry::ColumnCount ? v.*Columns[static_cast<std::size_t>(column)]
                                        : derived[column - geometry::ColumnCount];
}

int ColumnOf(QStringView name) {
  const auto* found = std::find(std::begin(ColumnNames), std::end(ColumnNames), name);
  return found == std::end(ColumnNames) ? -1 : static_cast<int>(found - std::begin(ColumnNames));
}

// One <section> of class "example", "exercise", "values" or "message" with data-variant="k": its
// heading (h3 or class "variant"), the typed values (data-given="r"), what the program shows in
// document order (data-value="L"; data-message="L", the message and the quantity whose cell it
// names), and any other text of it that holds a digit outside a formula.
struct Example {
  int variant = -1;
  QString heading;
  std::vector<std::pair<int, QString>> given;
  std::vector<std::pair<int, QString>> shown;
  QStringList stray;
};

struct Guide {
  std::vector<Example> examples;
  std::vector<Example> exercises;  // and sets of values: answers recomputed, no row shown in full
  std::vector<Example> messages;
  std::vector<std::pair<QString, QString>> typing;  // a typed text (data-typed), what it shows
};

Guide ReadGuide(QXmlStreamReader& xml) {
  Guide guide;
  Example* example = nullptr;
  int depth = 0;  // of elements open inside the current example; 0 outside one
  while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
    const auto attributes = xml.attributes();
    if (xml.isStartElement() && depth == 0) {
      const auto kind = attributes.value("class"_L1);
      std::vector<Example>* list = kind == u"example"                         ? &guide.examples
                                   : kind == u"exercise" || kind == u"values" ? &guide.exercises
                                   : kind == u"message"                       ? &guide.messages
                                                                              : nullptr;
      if (list) {
        example = &list->emplace_back();
        example->variant = attributes.value("data-variant"_L1).toInt();
        depth = 1;
      } else if (attributes.hasAttribute("data-typed"_L1)) {
        guide.typing.emplace_back(xml.readElementText(), QString());
      } else if (attributes.hasAttribute("data-shows"_L1) && !guide.typing.empty()) {
        guide.typing.back().second = xml.readElementText();
      }
    } else if (xml.isStartElement()) {
      if (xml.name() == u"h3" || attributes.value("class"_L1) == u"variant") {
        example->heading = xml.readElementText(QXmlStreamReader::IncludeChildElements);
      } else if (attributes.hasAttribute("data-given"_L1)) {
        const int column = ColumnOf(attributes.value("data-given"_L1));
        example->given.emplace_back(column, xml.readElementText());
      } else if (const auto name = attributes.value("data-value"_L1).isEmpty()
                                       ? attributes.value("data-message"_L1)
                                       : attributes.value("data-value"_L1);
                 !name.isEmpty()) {
        example->shown.emplace_back(ColumnOf(name), xml.readElementText());
      } else if (attributes.value("class"_L1) == u"formula") {
        xml.readElementText(QXmlStreamReader::IncludeChildElements);
      } else {
        ++depth;
      }
    } else if (xml.isEndElement() && depth > 0) {
      --depth;
    } else if (xml.isCharacters() && depth > 0 &&
               std::any_of(xml.text().begin(), xml.text().end(),
                           [](QChar c) { return c.isDigit(); })) {
      example->stray << xml.text().toString();
    }
  }
  return guide;
}

class GuideTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile file(QStringLiteral(":/guide-bg.html"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    guide = ReadGuide(xml);
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " at line "
                                 << xml.lineNumber();
  }

  // What every example shows of its variant: a heading that names it, the variant's three given
  // quantities in the order the solver takes them, and no number that is not checked.
  static void ExpectVariantGiven(const Example& example) {
    EXPECT_TRUE(example.heading.startsWith(u"Вариант %1"_s.arg(example.variant + 1)));
    EXPECT_TRUE(example.stray.isEmpty())
        << "unchecked numbers: " << example.stray.join(u'|').toStdString();
    ASSERT_EQ(example.given.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(example.given[i].first,
                Variants[static_cast<std::size_t>(example.variant)].given[i]);
    }
  }

  // Every value the example shows is the solver's for its typed values, read as a cell reads
  // them, written in the Bulgarian format.
  void ExpectShown(const Example& example) const {
    const auto typed = [&](std::size_t i) {
      return form::ReadCellNumber(example.given[i].second, bulgarian);
    };
    const auto values = geometry::SolveFrustum(example.variant, typed(0), typed(1), typed(2));
    for (const auto& [column, text] : example.shown) {
      ASSERT_GE(column, 0) << text.toStdString();
      EXPECT_EQ(text.toStdString(),
                form::FormatNumber(Quantity(values, column), 3, bulgarian).toStdString())
          << QString::fromUtf16(ColumnNames[column]).toStdString();
    }
  }

  // The form in the Bulgarian format, `typed` typed into the given cells of `variant`, "Изчисли".
  form::CommandOutcome Calculate(int variant, const std::array<QString, 3>& typed) {
    form::FrustumForm form(model, bulgarian);
    model.Bind(&form);
    form.Form_Load();
    model.ClickOption(variant);
    for (std::size_t i = 0; i < 3; ++i) model.Type(form::GivenCells(variant)[i], typed[i]);
    const form::CommandOutcome outcome = form.Command1_Click(0);
    model.Bind(nullptr);
    return outcome;
  }

  const QLocale bulgarian{QLocale::Bulgarian, QLocale::Bulgaria};
  Guide guide;
  ModelControls model;
};

TEST_F(GuideTest, EveryNumberOfTheWorkedExamplesIsWhatTheProgramShows) {
  ASSERT_EQ(guide.examples.size(), std::size_t{geometry::VariantCount});
  for (int variant = 0; variant < geometry::VariantCount; ++variant) {
    const Example& example = guide.examples[static_cast<std::size_t>(variant)];
    SCOPED_TRACE(example.heading.toStdString());
    EXPECT_EQ(example.variant, variant);
    ASSERT_NO_FATAL_FAILURE(ExpectVariantGiven(example));

    // Each quantity shows once in the row, and each computed one once more in its step, the
    // steps first, in the order the solver takes them.
    int times_shown[geometry::ColumnCount + DerivedCount] = {};
    ExpectShown(example);
    for (const auto& [column, text] : example.shown) {
      if (column >= 0) ++times_shown[column];
    }
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(example.shown.at(i).first,
                geometry::ComputedColumn(Variants[static_cast<std::size_t>(variant)].steps[i]));
    }
    for (int column = 0; column < geometry::ColumnCount; ++column) {
      EXPECT_EQ(times_shown[column], geometry::IsGivenColumn(variant, column) ? 1 : 2)
          << QString::fromUtf16(ColumnNames[column]).toStdString();
    }
  }
}

// The whole text of each message, as the program words it for the example's typed values, and
// the cell it leaves for correcting.
TEST_F(GuideTest, EveryMessageExampleIsWhatTheProgramSays) {
  ASSERT_EQ(guide.messages.size(), 19u);
  for (const Example& example : guide.messages) {
    SCOPED_TRACE(example.heading.toStdString());
    ASSERT_NO_FATAL_FAILURE(ExpectVariantGiven(example));
    ASSERT_EQ(example.shown.size(), 1u);
    const auto& [column, message] = example.shown.front();
    const form::CommandOutcome outcome =
        Calculate(example.variant,
                  {example.given[0].second, example.given[1].second, example.given[2].second});
    EXPECT_EQ(outcome.failure.toStdString(), message.toStdString());
    EXPECT_EQ(outcome.cell, form::CellIndex(example.variant, column));
  }
}

// The exercises' answers and the sets of values, recomputed as the worked examples are.
TEST_F(GuideTest, EveryAnswerOfTheExercisesIsWhatTheProgramShows) {
  ASSERT_EQ(guide.exercises.size(), 5u);
  for (const Example& exercise : guide.exercises) {
    SCOPED_TRACE(exercise.heading.toStdString());
    ASSERT_NO_FATAL_FAILURE(ExpectVariantGiven(exercise));
    EXPECT_FALSE(exercise.shown.empty());
    ExpectShown(exercise);
  }
}

// Each typed text of the table on typing, in variant 1's r cell, shows after "Изчисли" as the
// number the program used.
TEST_F(GuideTest, EveryTypedNumberShowsAsTheGuideSays) {
  ASSERT_FALSE(guide.typing.empty());
  for (const auto& [typed, shows] : guide.typing) {
    SCOPED_TRACE(typed.toStdString());
    ASSERT_FALSE(Calculate(0, {typed, u"1"_s, u"1"_s}).Failed());
    EXPECT_EQ(model.CellText(0).toStdString(), shows.toStdString());
  }
}

}  // namespace
