#include "form/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "tests/support/regional_formats.h"

namespace form {
namespace {

TEST(Val, ReadsTheNumberAtTheStartOfTheText) {
  struct Case {
    const char16_t* text;
    double expected;
  };
  const Case cases[] = {
      {u"2", 2.0},
      {u"-3.25", -3.25},
      {u"+7", 7.0},
      {u".5", 0.5},
      {u"5.", 5.0},
      {u"007.50", 7.5},
      // Blanks, tabs and line feeds are skipped anywhere, also inside the number.
      {u"  1 2.5", 12.5},
      {u"\t-\n4 . 2 5", -4.25},
      // The first other character ends the number.
      {u"2,500", 2.0},
      {u"1,234.568", 1.0},
      {u"1\u00a0234,568", 1.0},  // a no-break space is no blank
      {u"3.5.1", 3.5},
      {u"12abc", 12.0},
      {u"4\r5", 4.0},
      {u"\uff15", 0.0},  // only ASCII digits count
      // No number at the start gives 0.
      {u"", 0.0},
      {u"   ", 0.0},
      {u"abc", 0.0},
      {u"-", 0.0},
      {u".", 0.0},
      {u"+-5", 0.0},
      {u"e5", 0.0},
      // Exponents, also written with blanks; a letter without digits is no exponent.
      {u"1.5E3", 1500.0},
      {u"2e-3", 0.002},
      {u"2 e + 3", 2000.0},
      {u"7e", 7.0},
      {u"7e+", 7.0},
      {u"7ex", 7.0},
      {u"7E0000000000000000000000002", 700.0},
      // Too small for a double: zero, as an underflow is no error.
      {u"1e-400", 0.0},
      {u"0.000000001e-99999999999999999999", 0.0},
  };
  for (const Case& c : cases) {
    const QString text = QString::fromUtf16(c.text);
    EXPECT_EQ(Val(text), c.expected) << text.toStdString();
  }
}

TEST(Val, ConvertsWithCorrectRounding) {
  // Digit-by-digit accumulation in a double would round these differently.
  EXPECT_EQ(Val(u"0.1"), 0.1);
  EXPECT_EQ(Val(u"3.162"), 3.162);
  EXPECT_EQ(Val(u"29.804"), 29.804);
  EXPECT_EQ(Val(u"9007199254740993"), 9007199254740992.0);  // ties to even
  EXPECT_EQ(Val(u"2.2250738585072011e-308"), 2.2250738585072011e-308);
  EXPECT_EQ(Val(u"1.7976931348623157e308"), std::numeric_limits<double>::max());
  EXPECT_EQ(Val(QStringLiteral("0.") + QString(400, u'3')), 1.0 / 3.0);
  EXPECT_TRUE(std::signbit(Val(u"-0")));
}

TEST(Val, ANumberBeyondTheDoubleRangeIsAFailureNotInfinity) {
  for (const QString& text :
       {QStringLiteral("1e400"), QStringLiteral("-1e400"), QStringLiteral("1.8e308"),
        QString(400, u'9'), QStringLiteral("0.0001e99999999999999999999"),
        QStringLiteral("1 e 3 0 9"),
        // 1e399: however long, the exponent is weighed against the zeros before the digit.
        QStringLiteral("0.") + QString(400, u'0') + QStringLiteral("1e800")}) {
    EXPECT_THROW(Val(text), NumberOutOfRange) << text.toStdString();
  }
}

struct FormatCase {
  double value;
  const char16_t* bulgarian;
  const char16_t* german;
  const char16_t* french;
  const char16_t* english;
  const char16_t* indian;  // en_IN: groups of three, then of two
};

const FormatCase FormatCases[] = {
    {2.0, u"2,000", u"2,000", u"2,000", u"2.000", u"2.000"},
    {0.0, u"0,000", u"0,000", u"0,000", u"0.000", u"0.000"},
    {-0.4694, u"-0,469", u"-0,469", u"-0,469", u"-0.469", u"-0.469"},
    {29.803764797388276, u"29,804", u"29,804", u"29,804", u"29.804", u"29.804"},
    {1234.5678, u"1\u00a0234,568", u"1.234,568", u"1\u202f234,568", u"1,234.568", u"1,234.568"},
    {-1234567.0, u"-1\u00a0234\u00a0567,000", u"-1.234.567,000", u"-1\u202f234\u202f567,000",
     u"-1,234,567.000", u"-12,34,567.000"},
    {1234567.8912, u"1\u00a0234\u00a0567,891", u"1.234.567,891", u"1\u202f234\u202f567,891",
     u"1,234,567.891", u"12,34,567.891"},
    // Values that show as zero have no minus sign.
    {-0.0, u"0,000", u"0,000", u"0,000", u"0.000", u"0.000"},
    {-0.0004, u"0,000", u"0,000", u"0,000", u"0.000", u"0.000"},
};

TEST(FormatNumber, FollowsTheRegionalFormat) {
  const QLocale bg(QLocale::Bulgarian, QLocale::Bulgaria);
  const QLocale de(QLocale::German, QLocale::Germany);
  const QLocale fr(QLocale::French, QLocale::France);
  const QLocale en(QLocale::English, QLocale::UnitedStates);
  const QLocale in(QLocale::English, QLocale::India);
  for (const FormatCase& c : FormatCases) {
    EXPECT_EQ(FormatNumber(c.value, 3, bg), QString::fromUtf16(c.bulgarian)) << c.value;
    EXPECT_EQ(FormatNumber(c.value, 3, de), QString::fromUtf16(c.german)) << c.value;
    EXPECT_EQ(FormatNumber(c.value, 3, fr), QString::fromUtf16(c.french)) << c.value;
    EXPECT_EQ(FormatNumber(c.value, 3, en), QString::fromUtf16(c.english)) << c.value;
    EXPECT_EQ(FormatNumber(c.value, 3, in), QString::fromUtf16(c.indian)) << c.value;
  }
}

TEST(ReadCellNumber, ReadsWhatFormatNumberWroteAsTheNumberShown) {
  for (const char* name : RegionalFormats) {
    const QLocale locale(QString::fromLatin1(name));
    for (const FormatCase& c : FormatCases) {
      const QString text = FormatNumber(c.value, 3, locale);
      // The number shown, as the C format writes it without groups and Val reads it.
      const double shown = Val(FormatNumber(c.value, 3, QLocale::c()));
      EXPECT_EQ(ReadCellNumber(text, locale), shown) << name << " " << text.toStdString();
    }
  }
}

TEST(ReadCellNumber, ReadsANumberInTheRegionalFormatAndAnyOtherTextAsValDoes) {
  struct Case {
    const char* locale;
    const char16_t* text;
    double expected;
  };
  const Case cases[] = {
      // The whole text is a number in the regional format.
      {"bg_BG", u"2,5", 2.5},
      {"bg_BG", u"4,47", 4.47},
      {"bg_BG", u"-3,25", -3.25},
      {"bg_BG", u"0,0004", 0.0004},
      {"bg_BG", u",5", 0.5},
      {"bg_BG", u"1\u00a0234,5", 1234.5},
      {"bg_BG", u"1 234 567,5", 1234567.5},  // a plain blank for the no-break space
      {"bg_BG", u"1234,5", 1234.5},
      {"bg_BG", u" 2,5\u00a0", 2.5},
      {"bg_BG", u"+1,5E-3", 0.0015},
      {"fr_FR", u"1 234\u202f567,5", 1234567.5},
      {"de_DE", u"2,5", 2.5},
      {"de_DE", u"1.234,5", 1234.5},
      {"de_DE", u"1.234", 1234.0},
      {"en_US", u"1,234.5", 1234.5},
      {"en_US", u"1,234", 1234.0},
      {"C", u"1,234.5", 1234.5},
      {"C", u"1,234", 1234.0},
      {"en_IN", u"12,34,567.5", 1234567.5},
      {"he_IL", u"-1.500", -1.5},
      {"ar_EG", u"\u061c-\u0661\u066c\u0662\u0663\u0664\u066b\u0665", -1234.5},
      {"fa_IR", u"\u200e\u2212\u06f1\u066c\u06f2\u06f3\u06f4\u066b\u06f5", -1234.5},
      // A plain "-" stands for the locale's own minus, U+2212 in both.
      {"sv_SE", u"-1,5", -1.5},
      {"fa_IR", u"-\u06f1\u066b\u06f5", -1.5},
      // Anything else, misplaced groups among it, reads as Val reads it.
      {"bg_BG", u"2.5", 2.5},
      {"bg_BG", u"2,5a", 2.0},
      {"bg_BG", u"12 34,5", 1234.0},
      {"bg_BG", u"abc", 0.0},
      {"bg_BG", u"", 0.0},
      {"bg_BG", u"1,234.568", 1.0},
      {"bg_BG", u"1\u00a0234.5", 1.0},  // a period is no decimal separator here
      {"de_DE", u"2.5", 2.5},
      {"de_DE", u"1.23,5", 1.23},
      {"de_DE", u".500", 0.5},        // no digits before the first group separator
      {"de_DE", u"1 234,5", 1234.0},  // a blank is a group separator only for a no-break space
      {"en_US", u"2,5", 2.0},
      {"C", u"2,5", 2.0},
      {"de_CH", u"1'234.500", 1.0},      // an apostrophe, where de_CH writes U+2019
      {"en_IN", u"1,234,567.000", 1.0},  // grouped in threes where en_IN groups in twos
      {"en_IN", u"123,456", 123.0},
  };
  for (const Case& c : cases) {
    const QString text = QString::fromUtf16(c.text);
    EXPECT_EQ(ReadCellNumber(text, QLocale(QString::fromLatin1(c.locale))), c.expected)
        << c.locale << " " << text.toStdString();
  }
  EXPECT_THROW(ReadCellNumber(u"1e400", QLocale::c()), NumberOutOfRange);
  EXPECT_THROW(ReadCellNumber(u"-9,9e999", QLocale(QLocale::Bulgarian)), NumberOutOfRange);
}

TEST(FormatNumber, WritesLargeMagnitudesInFull) {
  const QLocale c = QLocale::c();
  EXPECT_EQ(FormatNumber(1e22, 3, c), QStringLiteral("10000000000000000000000.000"));
  const QString max = FormatNumber(-std::numeric_limits<double>::max(), 3, c);
  EXPECT_TRUE(max.startsWith(u"-17976931348623157")) << max.toStdString();
  EXPECT_TRUE(max.endsWith(u".000")) << max.toStdString();
  EXPECT_EQ(max.size(), 1 + 309 + 4);
  const QString grouped = FormatNumber(1e21, 3, QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(grouped, QStringLiteral("1,000,000,000,000,000,000,000.000"));
}

TEST(FormatNumber, ReadsBackThroughValInAPeriodLocale) {
  const QLocale c = QLocale::c();
  for (double x : {0.001, 3.162, -21.991, 123456.789}) {
    EXPECT_EQ(Val(FormatNumber(x, 3, c)), x);
  }
}

}  // namespace
}  // namespace form
