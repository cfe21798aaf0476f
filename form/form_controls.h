// What the window's behaviour needs of its controls. The Qt window implements it with real
// widgets; tests implement it with an in-memory model of the cells and option buttons.
#pragma once

#include <QString>
#include <cstdint>

namespace form {

class FormControls {
 public:
  virtual ~FormControls() = default;

  // Text2(index), index 0 to CellCount - 1.
  virtual QString CellText(std::int16_t index) const = 0;
  virtual void SetCellText(std::int16_t index, const QString& text) = 0;
  // What a computed cell offers on demand (the window: its tool tip and accessible description):
  // how its value came about. Set after Calculate writes the cell; writing a cell's text drops it.
  virtual void SetCellWorking(std::int16_t index, const QString& working) = 0;
  // A locked cell keeps its text against typing, but can still be focused, scrolled and selected.
  virtual void SetCellLocked(std::int16_t index, bool locked) = 0;

  // Makes Option1(index) the chosen option button and clears the other seven. Like a click by
  // the user, this raises Option1_Click(index) when the button was not chosen before.
  virtual void ChooseOption(std::int16_t index) = 0;
};

}  // namespace form
