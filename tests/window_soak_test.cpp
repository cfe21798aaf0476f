// A long random session with the real window: option clicks, cell clicks, arrow keys, typed text
// of every sort, Calculate and Clear, with the window's invariants checked after every action.
// The seed comes from FRUSTUM_SOAK_SEED when set and is printed with any failure, so that a
// failing run can be replayed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <array>
#include <cstdio>
#include <random>

#include "form/grid.h"
#include "geometry/frustum_solver.h"
#include "tests/support/failure_cases.h"
#include "window/main_window.h"

namespace {

const int Actions = qEnvironmentVariableIntValue("FRUSTUM_SOAK_ACTIONS") > 0
                        ? qEnvironmentVariableIntValue("FRUSTUM_SOAK_ACTIONS")
                        : 20000;

// Three decimals in the Bulgarian format the tests run with: no-break spaces between groups of
// three digits and a decimal comma.
const QRegularExpression Formatted(QStringLiteral("^-?\\d{1,3}(\\x{00a0}\\d{3})*,\\d{3}$"));

// Typed as often as the given texts of the shared table of failing calculations.
const char* const Typed[] = {
    "2.5",   "-3",  "-1e400",   "2,5", "1 234", "+7", "abc",    "1e-5",       "3E2", ".5", "-", "e",
    "1.2.3", " 4 ", "99999999", "0.0", "-0.5",  "5x", "1e-400", "12345678.9", ",",   "  "};

class WindowSoak {
 public:
  explicit WindowSoak(unsigned seed) : random_(seed) {
    for (int k = 0; k < form::CellCount; ++k) {
      cells_[static_cast<std::size_t>(k)] =
          window_.findChild<QLineEdit*>(QStringLiteral("Text2_%1").arg(k));
    }
    for (int i = 0; i < form::RowCount; ++i) {
      options_[static_cast<std::size_t>(i)] =
          window_.findChild<QRadioButton*>(QStringLiteral("Option1_%1").arg(i));
    }
    for (int i = 0; i < 2; ++i) {
      commands_[static_cast<std::size_t>(i)] =
          window_.findChild<QPushButton*>(QStringLiteral("Command1_%1").arg(i));
    }
    // Any action may raise the failure message: a blank typed while a button has the focus
    // presses it. The box is closed as soon as it shows, and noted.
    dismiss_.setInterval(0);
    QObject::connect(&dismiss_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        reported_ = !box->text().isEmpty();
        box->accept();
      }
    });
    dismiss_.start();
    window_.show();
    window_.activateWindow();
    active_ = QTest::qWaitForWindowActive(&window_);
  }

  bool active() const { return active_; }
  int succeeded() const { return succeeded_; }
  int failed() const { return failed_; }

  // One random action and the checks that follow it; false stops the run at the first failure.
  bool Step(int step) {
    SCOPED_TRACE(QStringLiteral("action %1").arg(step).toStdString());
    reported_ = false;
    const int kind = Pick(10);
    if (kind < 2) {
      ClickOption();
    } else if (kind < 4) {
      ClickCell();
    } else if (kind == 4) {
      PressArrow();
    } else if (kind < 7) {
      Type();
    } else if (kind < 9) {
      Calculate();
    } else {
      QTest::mouseClick(commands_[1], Qt::LeftButton);
      for (QLineEdit* cell : cells_) EXPECT_TRUE(cell->text().isEmpty());
    }
    // The window takes the activation back from a closed message box.
    if (reported_) {
      EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
    }
    CheckInvariants();
    return !::testing::Test::HasFailure();
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  void ClickOption() {
    QRadioButton* option = options_[static_cast<std::size_t>(Pick(8))];
    // Anywhere on the part of the button that the next one does not cover.
    const QPoint at(Pick(option->width()), Pick(24));
    QTest::mouseClick(option, Qt::LeftButton, {}, at);
    EXPECT_TRUE(option->isChecked());
  }

  void ClickCell() {
    QLineEdit* cell = cells_[static_cast<std::size_t>(Pick(form::CellCount))];
    QTest::mouseClick(cell, Qt::LeftButton, {}, QPoint(8 + Pick(50), 6 + Pick(15)));
  }

  void PressArrow() {
    const int chosen = window_.GetSelectedVariant();
    QRadioButton* option = options_[static_cast<std::size_t>(chosen)];
    option->setFocus();
    EXPECT_EQ(QApplication::focusWidget(), option);
    const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right};
    const int k = Pick(4);
    QTest::keyClick(option, keys[k]);
    const int step = k == 0 || k == 2 ? -1 : 1;
    EXPECT_EQ(window_.GetSelectedVariant(), (chosen + step + 8) % 8);
  }

  void Type() {
    QWidget* focus = QApplication::focusWidget();
    if (!focus) return;
    if (auto* cell = qobject_cast<QLineEdit*>(focus); cell && Pick(3) == 0) {
      cell->selectAll();
      QTest::keyClick(cell, Qt::Key_Delete);  // an empty cell
    }
    const FailureCase& failing =
        FailureCases()[static_cast<std::size_t>(Pick(FailureCases().size()))];
    QString text =
        QString::fromLatin1(Pick(2) == 0 ? failing.typed[static_cast<std::size_t>(Pick(3))]
                                         : Typed[Pick(std::size(Typed))]);
    if (Pick(50) == 0) text = QString(400, u'9');  // beyond the double range
    QTest::keyClicks(focus, text);
  }

  void Calculate() {
    const std::array<QString, form::CellCount> before = Texts();
    const int variant = window_.GetSelectedVariant();
    QTest::mouseClick(commands_[0], Qt::LeftButton);
    ++(reported_ ? failed_ : succeeded_);
    const std::array<QString, form::CellCount> after = Texts();
    for (int k = 0; k < form::CellCount; ++k) {
      const auto i = static_cast<std::size_t>(k);
      if (reported_ || form::RowOf(k) != variant) {
        EXPECT_EQ(after[i], before[i]) << "cell " << k << (reported_ ? " after a failure" : "");
      } else {
        EXPECT_TRUE(Formatted.match(after[i]).hasMatch()) << after[i].toStdString();
      }
    }
  }

  std::array<QString, form::CellCount> Texts() const {
    std::array<QString, form::CellCount> out;
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = cells_[i]->text();
    return out;
  }

  void CheckInvariants() {
    int checked = 0;
    for (int i = 0; i < form::RowCount; ++i) {
      if (options_[static_cast<std::size_t>(i)]->isChecked()) {
        ++checked;
        EXPECT_EQ(i, window_.GetSelectedVariant());
      }
    }
    EXPECT_EQ(checked, 1);
    const int variant = window_.GetSelectedVariant();
    for (int k = 0; k < form::CellCount; ++k) {
      QLineEdit* cell = cells_[static_cast<std::size_t>(k)];
      const bool given =
          form::RowOf(k) == variant && geometry::IsGivenColumn(variant, form::ColumnOf(k));
      EXPECT_EQ(cell->isEnabled() && !cell->isReadOnly(), given) << "cell " << k;
      const QString text = cell->text();
      EXPECT_FALSE(text.contains(u"inf", Qt::CaseInsensitive) ||
                   text.contains(u"nan", Qt::CaseInsensitive))
          << "cell " << k << ": " << text.toStdString();
      // Only a given cell of the chosen row holds what the user typed; every other text is a
      // value the program wrote.
      if (!given && !text.isEmpty()) {
        EXPECT_TRUE(Formatted.match(text).hasMatch()) << "cell " << k << ": " << text.toStdString();
      }
    }
  }

  MainWindow window_;
  std::array<QLineEdit*, form::CellCount> cells_{};
  std::array<QRadioButton*, form::RowCount> options_{};
  std::array<QPushButton*, 2> commands_{};
  std::mt19937 random_;
  QTimer dismiss_;
  bool reported_ = false;
  bool active_ = false;
  int succeeded_ = 0;
  int failed_ = 0;
};

TEST(WindowSoak, TwentyThousandRandomActionsKeepTheWindowConsistent) {
  const unsigned seed = qEnvironmentVariableIsSet("FRUSTUM_SOAK_SEED")
                            ? qEnvironmentVariable("FRUSTUM_SOAK_SEED").toUInt()
                            : 20261208u;
  SCOPED_TRACE("seed " + std::to_string(seed) + " (replay with FRUSTUM_SOAK_SEED)");
  WindowSoak soak(seed);
  ASSERT_TRUE(soak.active());
  for (int step = 0; step < Actions; ++step) {
    if (!soak.Step(step)) break;
  }
  // Both outcomes of Calculate must have been met for the run to mean anything.
  EXPECT_GT(soak.succeeded(), 100);
  EXPECT_GT(soak.failed(), 100);
  std::printf("%d calculations succeeded, %d failed\n", soak.succeeded(), soak.failed());
}

}  // namespace
