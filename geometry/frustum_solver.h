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

// The steps by which a variant computes its three other quantities, each one quantity from those
// already known. frustum_solver.cpp gives the exact grouping of each; the formulas beside them are
// the ones the window's assignment text and the guide write.
enum class Step {
  SlantFromHeight,           // L = √(H² + (R − r)²)
  HeightFromSlant,           // H = √(L² − (R − r)²)
  LateralSurface,            // So = π·(r + R)·L
  Volume,                    // V = π·H·(r² + R² + r·R)/3
  SlantFromSurface,          // L = So / (π·(r + R))
  HeightFromVolume,          // H = 3·V / (π·(r² + R² + r·R))
  LargerRadiusFromHeight,    // R = r + √(L² − H²)
  LargerRadiusFromSurface,   // R = So / (π·L) − r
  SmallerRadiusFromHeight,   // r = R − √(L² − H²)
  SmallerRadiusFromSurface,  // r = So / (π·L) − R
};

// One variant: its three given quantities, as column indexes in ascending order (the solver takes
// them in this order as a, b, c), and the steps that compute the other three, run in this order: a
// later step may use what an earlier one computed, and a failure stops the solve at its step.
struct Variant {
  std::array<int, 3> given;
  std::array<Step, 3> steps;
};

// The variants, by index: variant k is the option button "Вариант k+1" and row k of the grid.
inline constexpr std::array<Variant, VariantCount> Variants = {{
    {{0, 1, 2}, {Step::SlantFromHeight, Step::LateralSurface, Step::Volume}},            // r, R, H
    {{0, 1, 3}, {Step::HeightFromSlant, Step::LateralSurface, Step::Volume}},            // r, R, L
    {{0, 1, 4}, {Step::SlantFromSurface, Step::HeightFromSlant, Step::Volume}},          // r, R, So
    {{0, 1, 5}, {Step::HeightFromVolume, Step::SlantFromHeight, Step::LateralSurface}},  // r, R, V
    {{0, 2, 3}, {Step::LargerRadiusFromHeight, Step::LateralSurface, Step::Volume}},     // r, H, L
    {{0, 3, 4}, {Step::LargerRadiusFromSurface, Step::HeightFromSlant, Step::Volume}},   // r, L, So
    {{1, 2, 3}, {Step::SmallerRadiusFromHeight, Step::LateralSurface, Step::Volume}},    // R, H, L
    {{1, 3, 4}, {Step::SmallerRadiusFromSurface, Step::HeightFromSlant, Step::Volume}},  // R, L, So
}};

// The tables are indexed with [] throughout: their indexes are variants and columns that the
// program produces itself. SolveFrustum, the one function that takes a variant from outside,
// checks it first.

// The column whose value `step` computes.
int ComputedColumn(Step step);

// Runs `step` on `values`, as SolveFrustum runs it: writes the one quantity it computes from the
// others, or throws FrustumFailure and leaves `values` as they were.
void RunStep(Step step, FrustumValues& values);

constexpr bool IsGivenColumn(int variant, int column) {
  for (int given : Variants[variant].given) {
    if (given == column) return true;
  }
  return false;
}

// The values with the given quantities of `variant` set to a, b and c, in column order, and the
// other three 0.
constexpr FrustumValues WithGivenValues(int variant, double a, double b, double c) {
  FrustumValues v{};
  const auto& given = Variants[variant].given;
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

// variant: 0 to 7; a, b, c: the variant's given quantities in column order
// (Variants[variant].given). Returns all six quantities, the given ones unchanged bit for bit. No
// sign or geometric checks are made: negative inputs and negative results pass through. Throws
// FrustumFailure when a square root, a division or an overflow fails, so that no result is ever
// infinite or NaN, and std::out_of_range for a variant outside 0 to 7.
FrustumValues SolveFrustum(int variant, double a, double b, double c);

}  // namespace geometry
