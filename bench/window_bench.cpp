// One whole Calculate through the real widgets: a shown MainWindow on Qt's offscreen platform, the
// three given cells of variant 0 holding r, R and H, and a left click on "Изчисли" as the mouse
// gives it: press and release delivered to the button, which repaints itself at once for each.
#include "window_bench.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <QTimer>
#include <array>
#include <clocale>
#include <cstddef>
#include <string>

#include "window/main_window.h"

WindowApplication::WindowApplication(int& argc, char** argv) : argc_(argc), argv_(argv) {
  // Offscreen, so that no display is needed; Bulgarian, as the program's users see it.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("LC_ALL", "bg_BG.UTF-8");
}

WindowApplication::~WindowApplication() = default;

void WindowApplication::Ensure() {
  if (application_) return;
  application_ = std::make_unique<QApplication>(argc_, argv_);
  // QApplication sets the C library's locale from the environment; the figures are printed with
  // a decimal point whatever it is. Qt's own QLocale::system() reads the environment, not this.
  std::setlocale(LC_NUMERIC, "C");
}

namespace {

using namespace Qt::StringLiterals;

struct Inputs {
  std::array<QString, 3> given;  // r, R, H as typed
  QString volume;                // the volume cell after Calculate
};

// pi * H / 3 * (r² + rR + R²) with three decimals and the Bulgarian decimal comma: 7 pi and
// 76 pi / 3.
const Inputs First = {{u"1"_s, u"2"_s, u"3"_s}, u"21,991"_s};
const Inputs Second = {{u"2"_s, u"3"_s, u"4"_s}, u"79,587"_s};

enum class Rounds {
  // The cells keep 1, 2, 3. Calculate writes them back as "1,000" and so on, which the next round
  // reads as 1 (the comma ends the number): from the second round on, every cell is given the
  // text it already holds, and Qt neither lays it out again nor repaints it.
  SameValues,
  // Before each round, with the clock stopped, the given cells are typed anew, 1, 2, 3 and 2, 3, 4
  // by turns, and the window repainted: every round then changes all six cells of the row, which
  // are laid out again, and the round ends when the event loop has repainted them.
  NewValues,
};

void Type(const std::array<QLineEdit*, 3>& cells, const Inputs& inputs) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    cells[i]->setText(inputs.given[i]);
  }
  QCoreApplication::processEvents();
}

void BM_WindowCalculate(benchmark::State& state, WindowApplication* application, Rounds rounds) {
  application->Ensure();
  MainWindow window;
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) {
    state.SkipWithError("the window was not exposed");
    return;
  }
  auto* calculate = window.findChild<QPushButton*>(u"Command1_0"_s);
  auto* volume = window.findChild<QLineEdit*>(u"Text2_5"_s);
  std::array<QLineEdit*, 3> given{};
  for (std::size_t i = 0; i < given.size(); ++i) {
    given[i] = window.findChild<QLineEdit*>(u"Text2_%1"_s.arg(i));
  }
  if (!calculate || !volume || !given[0] || !given[1] || !given[2]) {
    state.SkipWithError("a control of the window was not found");
    return;
  }
  Type(given, First);
  // One click before the clock starts. Should Calculate fail, its message box would wait for a
  // user: the timer closes it, and the benchmark is skipped instead of hanging.
  QTimer::singleShot(0, [] {
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
  });
  QTest::mouseClick(calculate, Qt::LeftButton);
  if (volume->text() != First.volume) {
    state.SkipWithError("Calculate did not write the volume of r = 1, R = 2, H = 3");
    return;
  }

  const Inputs* last = &First;
  for (auto _ : state) {
    if (rounds == Rounds::NewValues) {
      state.PauseTiming();
      last = last == &First ? &Second : &First;
      Type(given, *last);
      state.ResumeTiming();
    }
    QTest::mouseClick(calculate, Qt::LeftButton);
    // The cells that Calculate changed are repainted by the event loop once the click is handled.
    if (rounds == Rounds::NewValues) QCoreApplication::processEvents();
  }
  QCoreApplication::processEvents();
  // The last round must have written the frustum of its inputs; otherwise the figure is that of
  // some other path (a failed Calculate, or a click that missed the button).
  const QString& expected = last->volume;
  if (volume->text() != expected) {
    state.SkipWithError(("the volume cell holds \"" + volume->text().toStdString() + "\", not " +
                         expected.toStdString())
                            .c_str());
  }
}

}  // namespace

void RegisterWindowBenchmarks(WindowApplication& application) {
  benchmark::RegisterBenchmark("MainWindow/Calculate/click", BM_WindowCalculate, &application,
                               Rounds::SameValues);
  benchmark::RegisterBenchmark("MainWindow/Calculate/click/new_values", BM_WindowCalculate,
                               &application, Rounds::NewValues);
}
