// The user guide's worked examples must show what the program computes. Every number in an
// example is marked with what it is, and is recomputed here with the solver and the Bulgarian
// number format; a number that is not marked fails, so none can drift unnoticed.
#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QStringList>
#include <QXmlStreamReader>
#include <algorithm>
#include <utility>
#include <vector>

#include "frustum_solver.h"
#include "number_text.h"

namespace {

using namespace Qt::StringLiterals;
using geometry::Columns;
using geometry::GivenColumns;

constexpr const char16_t* ColumnNames[geometry::ColumnCount] = {u"r", u"R",  u"H",
                                                                u"L", u"So", u"V"};

int ColumnOf(QStringView name) {
  const auto* found = std::find(std::begin(ColumnNames), std::end(ColumnNames), name);
  return found == std::end(ColumnNames) ? -1 : static_cast<int>(found - std::begin(ColumnNames));
}

// One <section class="example" data-variant="k">: its heading, the typed values
// (data-given="r") and the values the program shows (data-value="L"), in document order, and any
// other text of it that holds a digit outside a formula.
struct Example {
  int variant = -1;
  QString heading;
  std::vector<std::pair<int, QString>> given;
  std::vector<std::pair<int, QString>> shown;
  QStringList stray;
};

std::vector<Example> ReadExamples(QXmlStreamReader& xml) {
  std::vector<Example> examples;
  int depth = 0;  // of elements open inside the current example; 0 outside one
  while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
    if (xml.isStartElement() && depth == 0) {
      if (xml.attributes().value("class"_L1) == u"example") {
        examples.push_back({xml.attributes().value("data-variant"_L1).toInt(), {}, {}, {}, {}});
        depth = 1;
      }
    } else if (xml.isStartElement()) {
      const auto attributes = xml.attributes();
      Example& example = examples.back();
      if (xml.name() == u"h3") {
        example.heading = xml.readElementText(QXmlStreamReader::IncludeChildElements);
      } else if (attributes.hasAttribute("data-given"_L1)) {
        const int column = ColumnOf(attributes.value("data-given"_L1));
        example.given.emplace_back(column, xml.readElementText());
      } else if (attributes.hasAttribute("data-value"_L1)) {
        const int column = ColumnOf(attributes.value("data-value"_L1));
        example.shown.emplace_back(column, xml.readElementText());
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
      examples.back().stray << xml.text().toString();
    }
  }
  return examples;
}

TEST(Guide, EveryNumberOfTheWorkedExamplesIsWhatTheProgramShows) {
  QFile file(QStringLiteral(":/guide-bg.html"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  const std::vector<Example> examples = ReadExamples(xml);
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " at line "
                               << xml.lineNumber();
  ASSERT_EQ(examples.size(), std::size_t{geometry::VariantCount});

  const QLocale bulgarian(QLocale::Bulgarian, QLocale::Bulgaria);
  for (int variant = 0; variant < geometry::VariantCount; ++variant) {
    const Example& example = examples[static_cast<std::size_t>(variant)];
    SCOPED_TRACE(example.heading.toStdString());
    EXPECT_EQ(example.variant, variant);
    EXPECT_TRUE(example.heading.startsWith(QStringLiteral("Вариант %1:").arg(variant + 1)));
    EXPECT_TRUE(example.stray.isEmpty())
        << "unchecked numbers: " << example.stray.join(u'|').toStdString();

    // The variant's three given quantities, in the order the solver takes them.
    ASSERT_EQ(example.given.size(), 3u);
    double typed[3];
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(example.given[i].first, GivenColumns[static_cast<std::size_t>(variant)][i]);
      typed[i] = form::Val(example.given[i].second);
    }
    const geometry::FrustumValues values =
        geometry::SolveFrustum(variant, typed[0], typed[1], typed[2]);

    // Each quantity shows once in the row, and each computed one once more in its step.
    int times_shown[geometry::ColumnCount] = {};
    for (const auto& [column, text] : example.shown) {
      ASSERT_GE(column, 0) << text.toStdString();
      ++times_shown[column];
      const double value = values.*Columns[static_cast<std::size_t>(column)];
      EXPECT_EQ(text.toStdString(), form::FormatNumber(value, 3, bulgarian).toStdString())
          << QString::fromUtf16(ColumnNames[column]).toStdString();
    }
    for (int column = 0; column < geometry::ColumnCount; ++column) {
      EXPECT_EQ(times_shown[column], geometry::IsGivenColumn(variant, column) ? 1 : 2)
          << QString::fromUtf16(ColumnNames[column]).toStdString();
    }
  }
}

}  // namespace
