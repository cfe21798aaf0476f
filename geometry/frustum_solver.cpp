#include "frustum_solver.h"

#include <cmath>
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

// F1: L = sqrt((H * H) + ((R - r) * (R - r)))
double SlantFromHeight(double r, double R, double H) {
  const double d = Sub(R, r);
  return Sqrt(Add(Mul(H, H), Mul(d, d)));
}

// F2: H = sqrt((L * L) - ((R - r) * (R - r)))
double HeightFromSlant(double r, double R, double L) {
  const double d = Sub(R, r);
  return Sqrt(Sub(Mul(L, L), Mul(d, d)));
}

// F3: So = (Pi * (r + R)) * L
double LateralSurface(double r, double R, double L) { return Mul(Mul(Pi, Add(r, R)), L); }

// ((r * r) + (R * R)) + (r * R), shared by the volume and by the height from the volume.
double RadiusSum(double r, double R) { return Add(Add(Mul(r, r), Mul(R, R)), Mul(r, R)); }

// F4: V = ((Pi * H) / 3) * (((r * r) + (R * R)) + (r * R))
double Volume(double r, double R, double H) { return Mul(Div(Mul(Pi, H), 3.0), RadiusSum(r, R)); }

// sqrt((L * L) - (H * H)): the difference of the radii from the slant height and the height.
double RadiusDifference(double H, double L) { return Sqrt(Sub(Mul(L, L), Mul(H, H))); }

// (So / (Pi * L)): the sum of the radii from the lateral surface and the slant height.
double RadiusSumFromSurface(double L, double So) { return Div(So, Mul(Pi, L)); }

}  // namespace

FrustumValues SolveFrustum(int variant, double a, double b, double c) {
  FrustumValues v{};
  // The given values are stored first; each case then computes its three quantities in the
  // order the later steps need them.
  const auto& given = GivenColumns.at(static_cast<std::size_t>(variant));
  v.*Columns[given[0]] = a;
  v.*Columns[given[1]] = b;
  v.*Columns[given[2]] = c;

  switch (variant) {
    case 0:  // r, R, H
      v.L = SlantFromHeight(v.r, v.R, v.H);
      v.So = LateralSurface(v.r, v.R, v.L);
      v.V = Volume(v.r, v.R, v.H);
      break;
    case 1:  // r, R, L
      v.H = HeightFromSlant(v.r, v.R, v.L);
      v.So = LateralSurface(v.r, v.R, v.L);
      v.V = Volume(v.r, v.R, v.H);
      break;
    case 2:  // r, R, So
      v.L = Div(v.So, Mul(Pi, Add(v.r, v.R)));
      v.H = HeightFromSlant(v.r, v.R, v.L);
      v.V = Volume(v.r, v.R, v.H);
      break;
    case 3:  // r, R, V
    {
      // The numerator is formed first: when both it and the divisor overflow, the step order
      // names the numerator.
      const double numerator = Mul(v.V, 3.0);
      v.H = Div(numerator, Mul(Pi, RadiusSum(v.r, v.R)));
    }
      v.L = SlantFromHeight(v.r, v.R, v.H);
      v.So = LateralSurface(v.r, v.R, v.L);
      break;
    case 4:  // r, H, L
      v.R = Add(v.r, RadiusDifference(v.H, v.L));
      v.So = LateralSurface(v.r, v.R, v.L);
      v.V = Volume(v.r, v.R, v.H);
      break;
    case 5:  // r, L, So
      v.R = Sub(RadiusSumFromSurface(v.L, v.So), v.r);
      v.H = HeightFromSlant(v.r, v.R, v.L);
      v.V = Volume(v.r, v.R, v.H);
      break;
    case 6:  // R, H, L
      v.r = Sub(v.R, RadiusDifference(v.H, v.L));
      v.So = LateralSurface(v.r, v.R, v.L);
      v.V = Volume(v.r, v.R, v.H);
      break;
    case 7:  // R, L, So
      v.r = Sub(RadiusSumFromSurface(v.L, v.So), v.R);
      v.H = HeightFromSlant(v.r, v.R, v.L);
      v.V = Volume(v.r, v.R, v.H);
      break;
    default:
      throw std::out_of_range("SolveFrustum: variant must be 0 to 7");
  }
  return v;
}

}  // namespace geometry
