// How each computed value of a row came about, and the row as text for other programs: what the
// window offers beside the six values themselves.
#pragma once

#include <QLocale>
#include <QString>
#include <array>

#include "form/grid.h"
#include "geometry/frustum_solver.h"

namespace form {

// The working of the value in `column`, computed in `variant`, from the row `row` that Calculate
// wrote: the formula of the solver's step that computed it, in the notation of the assignment text
// (√, ², π, ·), the same formula with the row's values put in as the row shows them (three
// decimals, in `locale`), and the value. Where recomputing the line from the numbers it shows,
// which are rounded, would not give the value shown, the value follows "≈" instead of "=". For the
// lateral surface, the areas of the two bases and the full surface area follow. Plain text, one
// equation a line. Empty for a given column.
QString Working(int variant, int column, const geometry::FrustumValues& row, const QLocale& locale);

// The column heads and a row's six texts, each line's fields separated by tabs, as spreadsheets and
// word processors paste a table.
QString RowAsTable(const std::array<QString, ColumnCount>& texts);

}  // namespace form
