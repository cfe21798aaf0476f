// The behaviour of the calculator's window: its load, the choice of a variant, and the
// Calculate and Clear buttons. It works only through FormControls, so it runs the same against
// the real widgets and against a model of them.
#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>

#include "form/form_controls.h"
#include "geometry/frustum_solver.h"

namespace form {

// What a press of a command button came to. A failed Calculate carries the message, in
// Bulgarian, that tells the user why, and the given cell it names, the one to correct; the grid
// then holds exactly the texts it had before.
struct CommandOutcome {
  QString failure;         // empty unless Calculate failed
  std::int16_t cell = -1;  // the given cell the failure names; -1 unless Calculate failed

  bool Failed() const { return !failure.isEmpty(); }
};

class FrustumForm {
 public:
  // `locale` gives the regional number format of the written results; by default the user's, or
  // the one set with QLocale::setDefault.
  explicit FrustumForm(FormControls& controls, QLocale locale = QLocale());

  // Runs once when the window and its controls exist, before the user can act: chooses variant
  // 0 and locks every cell but the four first ones.
  void Form_Load();

  // Runs when Option1(index) becomes the chosen button, by the user or by the program: empties
  // and locks the whole grid and unlocks the row of variant `index`.
  void Option1_Click(std::int16_t index);

  // Runs when Command1(index) is pressed: 0 is Calculate, 1 is Clear, any other does nothing.
  // A given cell reads as ReadCellNumber reads it in the form's locale. A Calculate that fails (the
  // solver meets a negative root, a zero divisor or an overflow, or a typed number lies beyond the
  // double range) stops before any cell is written.
  CommandOutcome Command1_Click(std::int16_t index);

  // The variant chosen last, 0 to 7.
  std::int16_t GetSelectedVariant() const { return SelectedVariant; }

 private:
  CommandOutcome Calculate();
  // Writes the six values into the cells of `row`, formatted in the form's locale.
  void WriteRow(std::int16_t row, const geometry::FrustumValues& values);
  void Clear();

  FormControls& controls_;
  QLocale locale_;
  std::int16_t SelectedVariant = 0;
};

}  // namespace form
