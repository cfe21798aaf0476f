// Solves a right truncated circular cone (frustum) from three of its six quantities.
//
// The arithmetic is reproducible to the last bit: every operation below is a plain IEEE 754
// double operation, rounded before the next one uses it, in the grouping written in
// frustum_solver.cpp. The build compiles with -ffp-contract=off so that no multiply-add is fused.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <exception>

namespace geometry {

// The value of pi used by every formula. It is the double nearest to 3.14159265358979, which lies
// 7 units in the last place below the double nearest to pi. The printed results of the program
// depend on it, so a library pi must not stand in for it.
inline constexpr double Pi = 3.14159265358979;
static_assert(std::bit_cast<std::uint64_t>(Pi) == 0x400921FB54442D11ULL);

// The six quantities, in the order of the grid's columns.
struct FrustumValues {
  double r;   // radius of the smaller base
  double R;   // radius of the larger base
  double H;   // height
  double L;   // slant height
  double So;  // lateral surface area
  double V;   // volume
};

inline constexpr int ColumnCount = 6;
inline constexpr int VariantCount = 8;

// Column indexes: 0 r, 1 R, 2 H, 3 L, 4 So, 5 V.
inline constexpr std::array<double FrustumValues::*, ColumnCount> Columns = {
    &FrustumValues::r, &FrustumValues::R,  &FrustumValues::H,
    &FrustumValues::L, &FrustumValues::So, &FrustumValues::V};

// The three given quantities of each variant, as column indexes in ascending order. The solver
// takes them in this order as (a, b, c); the other three columns are computed.
inline constexpr std::array<std::array<int, 3>, VariantCount> GivenColumns = {{
    {0, 1, 2},  // r, R, H
    {0, 1, 3},  // r, R, L
    {0, 1, 4},  // r, R, So
    {0, 1, 5},  // r, R, V
    {0, 2, 3},  // r, H, L
    {0, 3, 4},  // r, L, So
    {1, 2, 3},  // R, H, L
    {1, 3, 4},  // R, L, So
}};

// The tables are indexed with [] throughout: their indexes are variants and columns that the
// program produces itself. SolveFrustum, the one function that takes a variant from outside,
// checks it first.

constexpr bool IsGivenColumn(int variant, int column) {
  for (int given : GivenColumns[variant]) {
    if (given == column) return true;
  }
  return false;
}

// The values with the given quantities of `variant` set to a, b and c, in column order, and the
// other three 0.
constexpr FrustumValues WithGivenValues(int variant, double a, double b, double c) {
  FrustumValues v{};
  const auto& given = GivenColumns[variant];
  v.*Columns[given[0]] = a;
  v.*Columns[given[1]] = b;
  v.*Columns[given[2]] = c;
  return v;
}

enum class FailureKind {
  NegativeRoot,  // a square root of a negative number
  ZeroDivisor,   // a division by zero, 0 / 0 included
  Overflow,      // a result beyond the double range
};

// Thrown by SolveFrustum at the first operation that fails; no value is returned then.
class FrustumFailure : public std::exception {
 public:
  explicit FrustumFailure(FailureKind kind) noexcept : kind_(kind) {}
  FailureKind Kind() const noexcept { return kind_; }
  const char* what() const noexcept override;

 private:
  FailureKind kind_;
};

// variant: 0 to 7; a, b, c: the variant's given quantities in column order (GivenColumns).
// Returns all six quantities, the given ones unchanged bit for bit. No sign or geometric checks
// are made: negative inputs and negative results pass through. Throws FrustumFailure when a
// square root, a division or an overflow fails, so that no result is ever infinite or NaN, and
// std::out_of_range for a variant outside 0 to 7.
FrustumValues SolveFrustum(int variant, double a, double b, double c);

}  // namespace geometry
