// What the user is told, in Bulgarian, when Calculate fails.
#pragma once

#include <QLocale>
#include <QString>
#include <array>
#include <cstdint>

#include "geometry/frustum_solver.h"

namespace form {

// The title of the message that tells of a failed calculation.
inline const QString FailureTitle = QStringLiteral("Грешка при изчисление");

// The message for a typed value beyond the range of numbers the program works with.
inline const QString NumberOutOfRangeMessage = QStringLiteral("Въведеното число е твърде голямо.");

// What the user is told of a failed calculation, and the given quantity it names: the column (0
// to 5) of the value to change.
struct FailureReport {
  QString message;
  int column = 0;
};

// Why the solver failed in `variant` (0 to 7) with the variant's given values `given`, read from
// the given cells' texts `texts`, both in column order, said in the user's terms. A given cell
// that the failure depends on and that is empty or holds no number, so that it read as 0, is told
// of first, and it is the cell named. Then comes which given value the frustum cannot have and,
// where the other given values bound it, the bounds that a value of the typed sign can break,
// written as FormatNumber writes them in `locale` and rounded so that typing a bound shown does
// calculate. A zero divisor or a result beyond the double range is named with the given
// quantities it comes from.
FailureReport DescribeFailure(std::int16_t variant, const std::array<QString, 3>& texts,
                              const std::array<double, 3>& given, geometry::FailureKind kind,
                              const QLocale& locale);

}  // namespace form
