// What the user is told, in Bulgarian, when Calculate fails.
#pragma once

#include <QString>
#include <cstdint>

#include "frustum_solver.h"

namespace form {

inline constexpr char16_t FailureTitle[] = u"Грешка при изчисление";

// The message for a failure of the solver in `variant` (0 to 7). The cause is named in the
// user's terms: which given values make the frustum impossible or the division undefined.
QString FailureMessage(std::int16_t variant, geometry::FailureKind kind);

// The message for a typed value beyond the range of numbers the program works with.
QString NumberOutOfRangeMessage();

}  // namespace form
