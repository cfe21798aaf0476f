#include "geometry/frustum_solver.h"

#include <cmath>
#include <iterator>
#include <stdexcept>

namespace geometry {

const char* FrustumFailure::what() const noexcept {
  switch (kind_) {
    case FailureKind::NegativeRoot:
      return "square root of a negative number";
    case FailureKind::ZeroDivisor:
      return "division by zero";
    case FailureKind::Overflow:
      return "result beyond the double range";
  }
  return "frustum failure";
}

namespace {

// Every elementary operation goes through one of these, so that a failing operation stops the
// solve where it happens and no infinity or NaN is ever produced or passed on.

double Checked(double result) {
  if (std::isinf(result)) throw FrustumFailure(FailureKind::Overflow);
  return result;
}

double Add(double x, double y) { return Checked(x + y); }
double Sub(double x, double y) { return Checked(x - y); }
double Mul(double x, double y) { return Checked(x * y); }

double Div(double x, double y) {
  if (y == 0.0) throw FrustumFailure(FailureKind::ZeroDivisor);
  return Checked(x / y);
}

double Sqrt(double x) {
  if (x < 0.0) throw FrustumFailure(FailureKind::NegativeRoot);
  return std::sqrt(x);
}

// ((r * r) + (R * R)) + (r * R), shared by the volume and by the height from the volume.
double SquaresAndProduct(double r, double R) { return Add(Add(Mul(r, r), Mul(R, R)), Mul(r, R)); }

// sqrt((L * L) - (H * H)): the difference of the radii, from the slant height and the height.
double RadiusDifference(double H, double L) { return Sqrt(Sub(Mul(L, L), Mul(H, H))); }

// So / (Pi * L): the sum of the radii, from the lateral surface and the slant height.
double RadiusSum(double L, double So) { return Div(So, Mul(Pi, L)); }

// The steps of the variants. Each computes one quantity from those already known, in exactly the
// grouping written beside it.

// L = sqrt((H * H) + ((R - r) * (R - r))), the right triangle of H, R - r and L.
void SlantFromHeight(FrustumValues& v) {
  const double d = Sub(v.R, v.r);
  v.L = Sqrt(Add(Mul(v.H, v.H), Mul(d, d)));
}

// H = sqrt((L * L) - ((R - r) * (R - r))), the same triangle.
void HeightFromSlant(FrustumValues& v) {
  const double d = Sub(v.R, v.r);
  v.H = Sqrt(Sub(Mul(v.L, v.L), Mul(d, d)));
}

// So = (Pi * (r + R)) * L
void LateralSurface(FrustumValues& v) { v.So = Mul(Mul(Pi, Add(v.r, v.R)), v.L); }

// V = ((Pi * H) / 3) * (((r * r) + (R * R)) + (r * R)); another grouping of the same formula
// would change the last digits.
void Volume(FrustumValues& v) { v.V = Mul(Div(Mul(Pi, v.H), 3.0), SquaresAndProduct(v.r, v.R)); }

// L = So / (Pi * (r + R)), the lateral surface solved for L.
void SlantFromSurface(FrustumValues& v) { v.L = Div(v.So, Mul(Pi, Add(v.r, v.R))); }

// H = (V * 3) / (Pi * (((r * r) + (R * R)) + (r * R))), the volume solved for H.
void HeightFromVolume(FrustumValues& v) {
  v.H = Div(Mul(v.V, 3.0), Mul(Pi, SquaresAndProduct(v.r, v.R)));
}

// R = r + sqrt((L * L) - (H * H))
void LargerRadiusFromHeight(FrustumValues& v) { v.R = Add(v.r, RadiusDifference(v.H, v.L)); }

// R = (So / (Pi * L)) - r
void LargerRadiusFromSurface(FrustumValues& v) { v.R = Sub(RadiusSum(v.L, v.So), v.r); }

// r = R - sqrt((L * L) - (H * H))
void SmallerRadiusFromHeight(FrustumValues& v) { v.r = Sub(v.R, RadiusDifference(v.H, v.L)); }

// r = (So / (Pi * L)) - R
void SmallerRadiusFromSurface(FrustumValues& v) { v.r = Sub(RadiusSum(v.L, v.So), v.R); }

// What each Step does and which column it writes, in the order of the enumeration.
struct StepWork {
  Step step;
  void (*run)(FrustumValues&);
  int column;
};
constexpr StepWork Work[] = {
    {Step::SlantFromHeight, SlantFromHeight, 3},
    {Step::HeightFromSlant, HeightFromSlant, 2},
    {Step::LateralSurface, LateralSurface, 4},
    {Step::Volume, Volume, 5},
    {Step::SlantFromSurface, SlantFromSurface, 3},
    {Step::HeightFromVolume, HeightFromVolume, 2},
    {Step::LargerRadiusFromHeight, LargerRadiusFromHeight, 1},
    {Step::LargerRadiusFromSurface, LargerRadiusFromSurface, 1},
    {Step::SmallerRadiusFromHeight, SmallerRadiusFromHeight, 0},
    {Step::SmallerRadiusFromSurface, SmallerRadiusFromSurface, 0},
};
constexpr bool InEnumerationOrder() {
  for (std::size_t i = 0; i < std::size(Work); ++i) {
    if (static_cast<std::size_t>(Work[i].step) != i) return false;
  }
  return true;
}
static_assert(InEnumerationOrder());

constexpr const StepWork& WorkOf(Step step) { return Work[static_cast<std::size_t>(step)]; }

}  // namespace

int ComputedColumn(Step step) { return WorkOf(step).column; }

// Each step assigns its quantity last, once all its operations have succeeded.
void RunStep(Step step, FrustumValues& values) { WorkOf(step).run(values); }

FrustumValues SolveFrustum(int variant, double a, double b, double c) {
  if (variant < 0 || variant >= VariantCount) {
    throw std::out_of_range("SolveFrustum: variant must be 0 to 7");
  }
  FrustumValues v = WithGivenValues(variant, a, b, c);
  for (Step step : Variants[variant].steps) RunStep(step, v);
  return v;
}

}  // namespace geometry
