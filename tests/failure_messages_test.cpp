#include "failure_messages.h"

#include <gtest/gtest.h>

#include "frustum_solver.h"

namespace form {
namespace {

// Each message is checked against a real failure of the solver, so that the message a user sees
// names the cause that actually stopped the calculation.
TEST(FailureMessage, NamesTheCauseInTheUsersTerms) {
  struct Case {
    int variant;
    double a, b, c;
    const char16_t* expected;
  };
  const char16_t* radii =
      u"Такъв пресечен конус не съществува: образувателната L трябва да е поне |R - r|.";
  const char16_t* height =
      u"Такъв пресечен конус не съществува: образувателната L трябва да е поне колкото "
      u"височината H.";
  const char16_t* range = u"Резултатът е извън обхвата на числата, с които програмата работи.";
  const Case cases[] = {
      {1, 1, 2, 0.5, radii},
      {2, 1, 10, 1, radii},
      {5, 1, 1, 100, radii},
      {7, 1, 1, 100, radii},
      {4, 1, 3, 2, height},
      {6, 1, 3, 2, height},
      {2, 1, -1, 30, u"Сборът r + R не може да бъде 0."},
      {3, 0, 0, 5, u"Радиусите r и R не могат да бъдат едновременно 0."},
      {5, 1, 0, 5, u"Образувателната L не може да бъде 0."},
      {7, 1, 0, 5, u"Образувателната L не може да бъде 0."},
      {0, 1, 2, 1e200, range},
      {3, 1, 2, 1e308, range},
      {7, 1, 1e-300, 1e300, range},
  };
  for (const Case& c : cases) {
    try {
      geometry::SolveFrustum(c.variant, c.a, c.b, c.c);
      ADD_FAILURE() << "variant " << c.variant << " did not fail";
    } catch (const geometry::FrustumFailure& failure) {
      EXPECT_EQ(FailureMessage(static_cast<std::int16_t>(c.variant), failure.Kind()),
                QString::fromUtf16(c.expected))
          << "variant " << c.variant;
    }
  }
  EXPECT_EQ(NumberOutOfRangeMessage(), QStringLiteral("Въведеното число е твърде голямо."));
}

}  // namespace
}  // namespace form
