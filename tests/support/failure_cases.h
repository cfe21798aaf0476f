// Failing calculations, one table for every layer's tests: the texts typed into a variant's given
// cells (Bulgarian format), the message, and the given quantity whose cell it names to correct.
#pragma once

#include <QString>
#include <array>
#include <vector>

struct FailureCase {
  const char* name;
  int variant;
  std::array<const char*, 3> typed;  // the given cells' texts, in column order
  int column;                        // of the given quantity the message names
  QString message;
};

inline const std::vector<FailureCase>& FailureCases() {
  using Qt::StringLiterals::operator""_s;
  const QString no = u"Такъв пресечен конус не съществува: при "_s;
  const QString flat = u" При равенство височината H е 0."_s;
  const QString cylinder = u" При равенство R\u00a0=\u00a0r и тялото е цилиндър."_s;
  const QString range =
      u"Резултатът е извън обхвата на числата, с които програмата работи. Проверете "_s;
  const QString empty = u"Клетката за L е празна, а празна клетка се смята за 0. "_s;
  // clang-format off
  static const std::vector<FailureCase> cases = {
      {"L shorter than R - r", 1, {"1", "5", "1"}, 3,
       no + u"тези r и R образувателната L трябва да е поне |R\u00a0-\u00a0r|\u00a0=\u00a0"
            u"4,000."_s + flat},
      {"L left empty", 1, {"1", "5", ""}, 3,
       empty + no + u"тези r и R образувателната L трябва да е поне |R\u00a0-\u00a0r|\u00a0=\u00a0"
                    u"4,000."_s + flat},
      {"negative L shorter than R - r", 1, {"1", "5", "-1"}, 3,
       no + u"тези r и R образувателната L трябва да е най-много -|R\u00a0-\u00a0r|\u00a0=\u00a0"
            u"-4,000."_s + flat},
      {"So too small for r and R", 2, {"3", "5", "10"}, 4,
       no + u"тези r и R околната повърхнина So трябва да е поне "
            u"π·|r\u00a0+\u00a0R|·|R\u00a0-\u00a0r|\u00a0≈\u00a050,266."_s + flat},
      {"L shorter than H, r empty", 4, {"", "5", "3"}, 3,
       no + u"тази височина H образувателната L трябва да е поне |H|\u00a0=\u00a05,000."_s +
           cylinder},
      {"L shorter than a negative H", 4, {"1", "-5", "3"}, 3,
       no + u"тази височина H образувателната L трябва да е поне |H|\u00a0=\u00a05,000."_s +
           cylinder},
      {"negative L shorter than H", 6, {"1", "-3", "-2"}, 3,
       no + u"тази височина H образувателната L трябва да е най-много -|H|\u00a0=\u00a0-3,000."_s +
           cylinder},
      {"So above the bounds of r and L", 5, {"1", "3", "100"}, 4,
       no + u"тези r и L околната повърхнина So трябва да е най-много 47,123."_s + flat},
      {"negative So below the bounds of r and L", 5, {"1", "3", "-100"}, 4,
       no + u"тези r и L околната повърхнина So трябва да е поне -9,424."_s + flat},
      {"So of a sign outside the bounds of R and L", 7, {"2", "-3", "100"}, 4,
       no + u"тези R и L околната повърхнина So трябва да е отрицателно число, между -65,973 и "
            u"-9,425."_s + flat},
      {"no three-decimal So between the bounds of r and L", 5, {"1", "0,000001", "1"}, 4,
       no + u"тези r и L околната повърхнина So не може да бъде 1,000."_s},
      {"no three-decimal So between the bounds of R and L", 7, {"2", "0,000001", "1"}, 4,
       no + u"тези R и L околната повърхнина So не може да бъде 1,000."_s},
      {"r + R zero, every cell empty", 2, {"", "", ""}, 0,
       u"Клетките за r и R са празни, а празна клетка се смята за 0. "
       u"Сборът r\u00a0+\u00a0R не може да бъде 0."_s},
      {"r and R zero", 3, {"0", "0", "5"}, 0,
       u"Радиусите r и R не могат да бъдат едновременно 0."_s},
      {"r and R near zero", 3, {"1e-200", "0", "5"}, 0, u"Радиусите r и R са твърде близо до 0."_s},
      {"L empty with r", 5, {"1", "", "5"}, 3, empty + u"Образувателната L не може да бъде 0."_s},
      {"L without a number with R", 7, {"1", "abc", "5"}, 3,
       u"В клетката за L няма число, затова тя се смята за 0. "
       u"Образувателната L не може да бъде 0."_s},
      {"L zero with R", 7, {"1", "0.0", "5"}, 3, u"Образувателната L не може да бъде 0."_s},
      {"H * H beyond the range", 0, {"1", "2", "1e200"}, 2, range + u"стойността на H."_s},
      {"V * 3 beyond the range", 3, {"1", "2", "1e308"}, 5, range + u"стойността на V."_s},
      {"So / (Pi * L) beyond the range", 7, {"1", "1e-300", "1e300"}, 1,
       range + u"стойностите на R, L и So."_s},
      {"typed number beyond the range", 0, {"1", "1e400", "3"}, 1,
       u"Въведеното число е твърде голямо."_s},
  };
  // clang-format on
  return cases;
}
