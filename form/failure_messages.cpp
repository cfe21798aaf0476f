#include "failure_messages.h"

#include <iterator>

#include "grid.h"

namespace form {

namespace {

using geometry::FailureKind;

constexpr char16_t SlantShorterThanRadii[] =
    u"Такъв пресечен конус не съществува: образувателната L трябва да е поне |R - r|.";
constexpr char16_t SlantShorterThanHeight[] =
    u"Такъв пресечен конус не съществува: образувателната L трябва да е поне колкото височината H.";
constexpr char16_t RadiusSumZero[] = u"Сборът r + R не може да бъде 0.";
constexpr char16_t BothRadiiZero[] = u"Радиусите r и R не могат да бъдат едновременно 0.";
constexpr char16_t SlantZero[] = u"Образувателната L не може да бъде 0.";
constexpr char16_t OutOfRange[] =
    u"Резултатът е извън обхвата на числата, с които програмата работи.";

// Per variant: what a negative square root and a zero divisor mean there. A variant that cannot
// meet one of them has nullptr in its place.
struct VariantMessages {
  const char16_t* negative_root;
  const char16_t* zero_divisor;
};
constexpr VariantMessages ByVariant[] = {
    {nullptr, nullptr},                      // r, R, H
    {SlantShorterThanRadii, nullptr},        // r, R, L
    {SlantShorterThanRadii, RadiusSumZero},  // r, R, So
    {nullptr, BothRadiiZero},                // r, R, V
    {SlantShorterThanHeight, nullptr},       // r, H, L
    {SlantShorterThanRadii, SlantZero},      // r, L, So
    {SlantShorterThanHeight, nullptr},       // R, H, L
    {SlantShorterThanRadii, SlantZero},      // R, L, So
};
static_assert(std::size(ByVariant) == RowCount);

}  // namespace

QString FailureMessage(std::int16_t variant, FailureKind kind) {
  const char16_t* text = OutOfRange;
  if (variant >= 0 && variant < RowCount) {
    const VariantMessages& messages = ByVariant[variant];
    if (kind == FailureKind::NegativeRoot && messages.negative_root) text = messages.negative_root;
    if (kind == FailureKind::ZeroDivisor && messages.zero_divisor) text = messages.zero_divisor;
  }
  return QString::fromUtf16(text);
}

QString NumberOutOfRangeMessage() { return QStringLiteral("Въведеното число е твърде голямо."); }

}  // namespace form
