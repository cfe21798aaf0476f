// The grid of the window: one row of cells for each variant, one column for each quantity.
// Every other file takes the grid's shape from here.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "geometry/frustum_solver.h"

namespace form {

// Qt's QString literal only: a using-directive here would bring all of Qt's literals into every
// file that includes the header.
using Qt::StringLiterals::operator""_s;

inline constexpr int RowCount = geometry::VariantCount;
inline constexpr int ColumnCount = geometry::ColumnCount;
// Text2(0) to Text2(47).
inline constexpr std::int16_t CellCount = RowCount * ColumnCount;

// The quantities' names, by column, as the column heads, the messages and the working write them.
inline const std::array<QString, ColumnCount> QuantityNames = {u"r"_s, u"R"_s,  u"H"_s,
                                                               u"L"_s, u"So"_s, u"V"_s};

// Row k of the grid belongs to variant k; its columns are r, R, H, L, So and V.
constexpr std::int16_t CellIndex(int row, int column) {
  return static_cast<std::int16_t>(row * ColumnCount + column);
}
constexpr int RowOf(int cell) { return cell / ColumnCount; }
constexpr int ColumnOf(int cell) { return cell % ColumnCount; }

// The cells of a variant's three given quantities, in ascending order: the cells that Calculate
// reads. The form unlocks the whole row of the chosen variant; these are the only cells of it
// that accept typing because the window keeps the other three disabled for good.
constexpr std::array<std::int16_t, 3> GivenCells(int variant) {
  const auto& columns = geometry::Variants[variant].given;
  return {CellIndex(variant, columns[0]), CellIndex(variant, columns[1]),
          CellIndex(variant, columns[2])};
}

// Whether a cell is given in its own row's variant; the other cells are computed, and the window
// disables them.
constexpr bool IsGivenCell(int cell) {
  return geometry::IsGivenColumn(RowOf(cell), ColumnOf(cell));
}

static_assert(CellCount == 48);
static_assert(GivenCells(6) == std::array<std::int16_t, 3>{37, 38, 39});

}  // namespace form
