// Timings of SolveFrustum for each variant, of one whole Calculate through FrustumForm (three
// Val, the solve, six FormatNumber), and of one through the real window (window_bench.cpp). Run
// build/bench/bench/frustum_bench; it prints the figures.
#include <benchmark/benchmark.h>

#include <QLocale>
#include <QString>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "form/frustum_form.h"
#include "form/grid.h"
#include "form/number_text.h"
#include "geometry/frustum_solver.h"
#include "tests/support/model_controls.h"
#include "window_bench.h"

namespace {

using namespace Qt::StringLiterals;

// One frustum every variant can solve: r = 1, R = 2, H = 3 and the three quantities that follow.
// Each variant is given its three columns of it, so every benchmark times a successful solve and
// never the early exit of a failing one.
geometry::FrustumValues ReferenceFrustum() { return geometry::SolveFrustum(0, 1.0, 2.0, 3.0); }

struct SolveCase {
  int variant;
  double a, b, c;
};

std::array<SolveCase, geometry::VariantCount> SolveCases() {
  const geometry::FrustumValues reference = ReferenceFrustum();
  std::array<SolveCase, geometry::VariantCount> cases{};
  for (int v = 0; v < geometry::VariantCount; ++v) {
    const auto& given = geometry::Variants[static_cast<std::size_t>(v)].given;
    cases[static_cast<std::size_t>(v)] = {v, reference.*geometry::Columns[given[0]],
                                          reference.*geometry::Columns[given[1]],
                                          reference.*geometry::Columns[given[2]]};
  }
  return cases;
}

// The name of a variant from its given columns, such as "r,R,H".
std::string VariantName(int variant) {
  static constexpr std::array<const char*, geometry::ColumnCount> names = {"r", "R",  "H",
                                                                           "L", "So", "V"};
  std::string out;
  for (int column : geometry::Variants[static_cast<std::size_t>(variant)].given) {
    if (!out.empty()) out += ',';
    out += names[static_cast<std::size_t>(column)];
  }
  return out;
}

void BM_SolveFrustum(benchmark::State& state, SolveCase c) {
  for (auto _ : state) {
    // The inputs pass through DoNotOptimize so that the call cannot be hoisted out of the loop,
    // and the result so that it cannot be dropped.
    benchmark::DoNotOptimize(c.a);
    benchmark::DoNotOptimize(c.b);
    benchmark::DoNotOptimize(c.c);
    geometry::FrustumValues values = geometry::SolveFrustum(c.variant, c.a, c.b, c.c);
    benchmark::DoNotOptimize(values);
  }
}

// A whole press of Calculate in variant 0, with the Bulgarian number format the program's users
// see. Calculate writes the given cells back as "1,000" and so on; the next round reads those as
// the numbers they show, so every round does the same work.
void BM_Calculate(benchmark::State& state) {
  ModelControls controls;
  form::FrustumForm form(controls, QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
  controls.Bind(&form);
  form.Form_Load();
  controls.SetCellText(form::CellIndex(0, 0), u"1"_s);
  controls.SetCellText(form::CellIndex(0, 1), u"2"_s);
  controls.SetCellText(form::CellIndex(0, 2), u"3"_s);
  for (auto _ : state) {
    form.Command1_Click(0);
    benchmark::ClobberMemory();
  }
  // The last round must have written the frustum of the inputs; otherwise the figure is that of
  // some other path.
  const QString volume = controls.CellText(form::CellIndex(0, 5));
  if (volume != form::FormatNumber(ReferenceFrustum().V, 3, QLocale(QLocale::Bulgarian))) {
    state.SkipWithError("Calculate did not write the expected volume");
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  WindowApplication application(argc, argv);
  for (const SolveCase& c : SolveCases()) {
    // A variant whose reference inputs fail would time the failure path; refuse to report that.
    try {
      geometry::SolveFrustum(c.variant, c.a, c.b, c.c);
    } catch (const geometry::FrustumFailure& e) {
      std::fprintf(stderr, "variant %d fails on its reference inputs: %s\n", c.variant, e.what());
      return 1;
    }
    benchmark::RegisterBenchmark(("SolveFrustum/" + VariantName(c.variant)).c_str(),
                                 BM_SolveFrustum, c);
  }
  benchmark::RegisterBenchmark("Calculate/variant0/bg_BG", BM_Calculate);
  RegisterWindowBenchmarks(application);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
