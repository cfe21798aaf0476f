// The behaviour of the calculator's window: its load, the choice of a variant, and the
// Calculate and Clear buttons. It works only through FormControls, so it runs the same against
// the real widgets and against a model of them.
#pragma once

#include <QLocale>
#include <cstdint>

#include "window/form_controls.h"

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
  // A failed Calculate throws geometry::FrustumFailure or NumberOutOfRange before any cell is
  // written, so the grid keeps the texts it had.
  void Command1_Click(std::int16_t index);

  // The variant chosen last, 0 to 7.
  std::int16_t selectedVariant() const { return SelectedVariant; }

 private:
  void Calculate();
  void Clear();

  FormControls& controls_;
  QLocale locale_;
  std::int16_t SelectedVariant = 0;
};

// The cell index of a row's column in the grid.
constexpr std::int16_t CellIndex(int row, int column) {
  return static_cast<std::int16_t>(row * 6 + column);
}
