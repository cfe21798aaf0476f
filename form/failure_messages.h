// What the user is told, in Bulgarian, when Calculate fails.
#pragma once

#include <QLocale>
#include <QString>
#include <array>
#include <cstdint>

#include "geometry/frustum_solver.h"

namespace form {

using namespace Qt::StringLiterals;

// The title of the message that tells of a failed calculation.
inline const QString FailureTitle = u"Грешка при изчисление"_s;

// What the user is told of a failed calculation, and the given quantity it names: the column (0
// to 5) of the value to change.
struct FailureReport {
  QString message;
  int column = 0;
};

// Why the solver failed in `variant` (0 to 7) with the variant's given values `given`, in column
// order, said in the user's terms: which given value the frustum cannot have and, where the other
// given values bound it, its bound or bounds, written as FormatNumber writes them in `locale` and
// rounded so that typing a bound shown does calculate. A zero divisor or a result beyond the
// double range is named with the given quantities it comes from.
FailureReport DescribeFailure(std::int16_t variant, const std::array<double, 3>& given,
                              geometry::FailureKind kind, const QLocale& locale);

// The message for a typed value beyond the range of numbers the program works with.
QString NumberOutOfRangeMessage();

}  // namespace form
