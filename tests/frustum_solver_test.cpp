#include "geometry/frustum_solver.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <numbers>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>

namespace {

using geometry::FailureKind;
using geometry::FrustumFailure;
using geometry::FrustumValues;
using geometry::SolveFrustum;

std::array<double, 6> AsColumns(const FrustumValues& v) { return {v.r, v.R, v.H, v.L, v.So, v.V}; }

std::string Fixed3(double x) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.3f", x);
  return buffer;
}

std::array<std::string, 6> Fixed3(const FrustumValues& v) {
  std::array<std::string, 6> out;
  const auto columns = AsColumns(v);
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = Fixed3(columns[i]);
  return out;
}

// The failure kind SolveFrustum reports, or nothing when it succeeds.
std::optional<FailureKind> FailureOf(int variant, double a, double b, double c) {
  try {
    SolveFrustum(variant, a, b, c);
    return std::nullopt;
  } catch (const FrustumFailure& failure) {
    return failure.Kind();
  }
}

TEST(Pi, IsTheProgramsOwnConstantNotTheNearestDouble) {
  EXPECT_EQ(std::bit_cast<std::uint64_t>(geometry::Pi), 0x400921FB54442D11ULL);
  EXPECT_EQ(
      std::bit_cast<std::uint64_t>(std::numbers::pi) - std::bit_cast<std::uint64_t>(geometry::Pi),
      7u);
}

TEST(SolveFrustum, VariantZeroExampleToTheLastBit) {
  const FrustumValues v = SolveFrustum(0, 1.0, 2.0, 3.0);
  EXPECT_EQ(v.L, 3.1622776601683795);
  EXPECT_EQ(v.So, 29.803764797388276);
  EXPECT_EQ(v.V, 21.99114857512853);
  // With the nearest double to pi, the last digits would differ: the constant is what decides.
  EXPECT_NE(v.So, 29.803764797388304);
  EXPECT_NE(v.V, 21.991148575128552);
}

TEST(SolveFrustum, NoMultiplyAddIsFused) {
  // For these inputs sqrt(H*H + d*d) rounds differently when H*H + d*d is one fused operation.
  const double r = 3.557, R = 1.575, H = 1.634;
  const double d = R - r;
  ASSERT_NE(std::sqrt(std::fma(H, H, d * d)), 2.5687117393744279);
  EXPECT_EQ(SolveFrustum(0, r, R, H).L, 2.5687117393744279);
}

TEST(SolveFrustum, DividesInTheGroupingWritten) {
  // For these inputs, dividing by Pi first and by the rest after gives another double.
  const double pi = geometry::Pi;
  EXPECT_EQ(SolveFrustum(2, 0.3, 3.5, 91).L, 91 / (pi * (0.3 + 3.5)));
  EXPECT_EQ(SolveFrustum(3, 4.7, 0.8, 5.7).H,
            (5.7 * 3) / (pi * (((4.7 * 4.7) + (0.8 * 0.8)) + (4.7 * 0.8))));
  EXPECT_EQ(SolveFrustum(5, 3.7, 9.1, 78).R, (78 / (pi * 9.1)) - 3.7);
  // The squares are added first and r * R to their sum: for these radii r * r + (R * R + r * R)
  // is another double, and so are the volume and the height from it.
  const double r = 0.1, R = 1.2;
  ASSERT_NE((r * r + R * R) + r * R, r * r + (R * R + r * R));
  const double squares_and_product = ((r * r) + (R * R)) + (r * R);
  EXPECT_EQ(SolveFrustum(0, r, R, 3).V, ((pi * 3) / 3) * squares_and_product);
  EXPECT_EQ(SolveFrustum(3, r, R, 5).H, (5 * 3) / (pi * squares_and_product));
}

TEST(SolveFrustum, RefusesANumberThatIsNoVariant) {
  EXPECT_THROW(SolveFrustum(8, 1, 2, 3), std::out_of_range);
  EXPECT_THROW(SolveFrustum(-1, 1, 2, 3), std::out_of_range);
}

TEST(SolveFrustum, GivenValuesComeBackBitForBit) {
  const double tiny = std::numeric_limits<double>::denorm_min();
  struct Case {
    int variant;
    double a, b, c;
  };
  const Case cases[] = {
      {0, -0.0, 0.1, 1e-300}, {1, 0.1, 0.2, 0.30000000000000004},
      {2, 1.0, 2.0, 29.804},  {3, 1.0, 2.0, tiny},
      {4, 0.7, 3.0, 3.162},   {5, 1.0, 3.162, 29.804},
      {6, 2.0, 3.0, 3.162},   {7, 2.0, 3.162, 29.804},
  };
  for (const Case& c : cases) {
    const auto given = geometry::Variants[static_cast<std::size_t>(c.variant)].given;
    const auto out = AsColumns(SolveFrustum(c.variant, c.a, c.b, c.c));
    const double in[] = {c.a, c.b, c.c};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(std::bit_cast<std::uint64_t>(out[static_cast<std::size_t>(given[i])]),
                std::bit_cast<std::uint64_t>(in[i]))
          << "variant " << c.variant << ", given value " << i;
    }
  }
}

TEST(SolveFrustum, TypedValuesFedBackGiveTheKnownRows) {
  // The three-decimal results of r = 1, R = 2, H = 3 typed back in as given values of each
  // variant. Rounding of the typed values makes some rows differ in their last digits.
  const std::array<double, 6> typed = {1.0, 2.0, 3.0, 3.162, 29.804, 21.991};
  const std::array<std::array<std::string, 6>, 8> expected = {{
      {"1.000", "2.000", "3.000", "3.162", "29.804", "21.991"},
      {"1.000", "2.000", "3.000", "3.162", "29.801", "21.989"},
      {"1.000", "2.000", "3.000", "3.162", "29.804", "21.991"},
      {"1.000", "2.000", "3.000", "3.162", "29.804", "21.991"},
      {"1.000", "1.999", "3.000", "3.162", "29.792", "21.977"},
      {"1.000", "2.000", "3.000", "3.162", "29.804", "21.993"},
      {"1.001", "2.000", "3.000", "3.162", "29.810", "22.002"},
      {"1.000", "2.000", "3.000", "3.162", "29.804", "21.993"},
  }};
  for (int variant = 0; variant < 8; ++variant) {
    const auto given = geometry::Variants[static_cast<std::size_t>(variant)].given;
    const FrustumValues v = SolveFrustum(variant, typed[static_cast<std::size_t>(given[0])],
                                         typed[static_cast<std::size_t>(given[1])],
                                         typed[static_cast<std::size_t>(given[2])]);
    EXPECT_EQ(Fixed3(v), expected[static_cast<std::size_t>(variant)]) << "variant " << variant;
  }
}

TEST(SolveFrustum, SpecialShapesAndNegativeValuesPassThrough) {
  struct Case {
    const char* what;
    int variant;
    double a, b, c;
    std::array<std::string, 6> expected;
  };
  const Case cases[] = {
      {"flat frustum", 1, 1, 2, 1, {"1.000", "2.000", "0.000", "1.000", "9.425", "0.000"}},
      {"zero volume", 3, 1, 2, 0, {"1.000", "2.000", "0.000", "1.000", "9.425", "0.000"}},
      {"cylinder", 4, 1, 3, 3, {"1.000", "1.000", "3.000", "3.000", "18.850", "9.425"}},
      {"negative R", 5, 1, 3, 5, {"1.000", "-0.469", "2.615", "3.000", "5.000", "2.057"}},
      {"negative r", 6, 1, 3, 5, {"-3.000", "1.000", "3.000", "5.000", "-31.416", "21.991"}},
      {"negative H", 0, 1, 2, -3, {"1.000", "2.000", "-3.000", "3.162", "29.804", "-21.991"}},
      {"negative So", 2, 1, 2, -30, {"1.000", "2.000", "3.022", "-3.183", "-30.000", "22.152"}},
      {"r larger than R", 0, 2, 1, 3, {"2.000", "1.000", "3.000", "3.162", "29.804", "21.991"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Fixed3(SolveFrustum(c.variant, c.a, c.b, c.c)), c.expected) << c.what;
  }
}

TEST(SolveFrustum, SwappingTheRadiiChangesNothingInVariantZero) {
  const FrustumValues a = SolveFrustum(0, 0.3, 7.1, 2.9);
  const FrustumValues b = SolveFrustum(0, 7.1, 0.3, 2.9);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(a.L), std::bit_cast<std::uint64_t>(b.L));
  EXPECT_EQ(std::bit_cast<std::uint64_t>(a.So), std::bit_cast<std::uint64_t>(b.So));
  EXPECT_EQ(std::bit_cast<std::uint64_t>(a.V), std::bit_cast<std::uint64_t>(b.V));
}

TEST(SolveFrustum, AllZerosSucceedOnlyWithoutADivisor) {
  for (int variant : {0, 1, 4, 6}) {
    for (double x : AsColumns(SolveFrustum(variant, 0, 0, 0))) EXPECT_EQ(x, 0.0) << variant;
  }
  for (int variant : {2, 3, 5, 7}) {
    EXPECT_EQ(FailureOf(variant, 0, 0, 0), FailureKind::ZeroDivisor) << variant;
  }
}

TEST(SolveFrustum, EachFailureKindWhereTheVariantCanMeetIt) {
  const double huge = 1e200;  // its square is beyond the double range
  struct Case {
    const char* what;
    int variant;
    double a, b, c;
    FailureKind kind;
  };
  const Case cases[] = {
      // Square roots of negative numbers: L shorter than |R - r| or than H.
      {"L < R - r", 1, 1, 2, 0.5, FailureKind::NegativeRoot},
      {"L from So < R - r", 2, 1, 10, 1, FailureKind::NegativeRoot},
      {"L < H", 4, 1, 3, 2, FailureKind::NegativeRoot},
      {"R from So: L < R - r", 5, 1, 1, 100, FailureKind::NegativeRoot},
      {"L < H", 6, 1, 3, 2, FailureKind::NegativeRoot},
      {"r from So: L < R - r", 7, 1, 1, 100, FailureKind::NegativeRoot},
      // Zero divisors.
      {"r + R = 0", 2, 1, -1, 30, FailureKind::ZeroDivisor},
      {"r = R = 0", 3, 0, 0, 5, FailureKind::ZeroDivisor},
      {"radii whose squares underflow", 3, 1e-200, 1e-200, 5, FailureKind::ZeroDivisor},
      {"L = 0", 5, 1, 0, 5, FailureKind::ZeroDivisor},
      {"L = 0", 7, 1, 0, 5, FailureKind::ZeroDivisor},
      // Results beyond the double range.
      {"H * H", 0, 1, 2, huge, FailureKind::Overflow},
      {"L * L", 1, 1, 2, huge, FailureKind::Overflow},
      {"So / (Pi * (r + R))", 2, 1e-300, 0, 1e300, FailureKind::Overflow},
      {"V * 3", 3, 1, 2, 1e308, FailureKind::Overflow},
      {"L * L", 4, 1, huge, huge, FailureKind::Overflow},
      {"So / (Pi * L)", 5, 1, 1e-300, 1e300, FailureKind::Overflow},
      {"L * L", 6, huge, 1, huge * 2, FailureKind::Overflow},
      {"So / (Pi * L)", 7, 1, 1e-300, 1e300, FailureKind::Overflow},
      {"r + R", 0, 1e308, 1e308, 1, FailureKind::Overflow},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FailureOf(c.variant, c.a, c.b, c.c), c.kind)
        << "variant " << c.variant << ": " << c.what;
  }
}

TEST(SolveFrustum, TheFirstFailingStepDecides) {
  // r + R overflows before its product with Pi could be a zero divisor or So / ... a root.
  EXPECT_EQ(FailureOf(2, 1e308, 1e308, 5), FailureKind::Overflow);
  // L * L overflows before the square root could see a negative argument.
  EXPECT_EQ(FailureOf(1, 1e300, -1e300, 1e200), FailureKind::Overflow);
  // The zero divisor of step 1 comes before anything step 2 could do.
  EXPECT_EQ(FailureOf(7, 1e300, 0, 1), FailureKind::ZeroDivisor);
}

TEST(SolveFrustum, ARootOfExactlyZeroAndUnderflowAreNoFailures) {
  EXPECT_EQ(SolveFrustum(4, 1, 3, 3).R, 1.0);   // sqrt(9 - 9)
  EXPECT_EQ(SolveFrustum(1, 1, 2, -1).H, 0.0);  // |L| = |R - r|
  const FrustumValues tiny = SolveFrustum(0, 1e-200, 1e-200, 1e-200);
  EXPECT_EQ(tiny.L, 0.0);
  EXPECT_EQ(tiny.V, 0.0);
}

TEST(SolveFrustum, NeverReturnsInfinityOrNaN) {
  // Random bit patterns cover every exponent; each solve either fails or returns finite values.
  std::mt19937_64 random(20261208);
  auto any_finite = [&] {
    for (;;) {
      const double x = std::bit_cast<double>(random());
      if (std::isfinite(x)) return x;
    }
  };
  std::uniform_real_distribution<double> moderate(-10.0, 10.0);
  int failures = 0;
  for (int i = 0; i < 100000; ++i) {
    const int variant = i % 8;
    const bool wide = (i / 8) % 2 == 0;
    const double a = wide ? any_finite() : moderate(random);
    const double b = wide ? any_finite() : moderate(random);
    const double c = wide ? any_finite() : moderate(random);
    try {
      for (double x : AsColumns(SolveFrustum(variant, a, b, c))) {
        ASSERT_TRUE(std::isfinite(x)) << variant << " " << a << " " << b << " " << c;
      }
    } catch (const FrustumFailure&) {
      ++failures;
    }
  }
  // Both outcomes must have been reached for the check to mean anything.
  EXPECT_GT(failures, 0);
  EXPECT_LT(failures, 100000);
}

TEST(FrustumFailure, NamesItsKind) {
  EXPECT_STRNE(FrustumFailure(FailureKind::NegativeRoot).what(),
               FrustumFailure(FailureKind::ZeroDivisor).what());
  EXPECT_STRNE(FrustumFailure(FailureKind::ZeroDivisor).what(),
               FrustumFailure(FailureKind::Overflow).what());
}

}  // namespace
