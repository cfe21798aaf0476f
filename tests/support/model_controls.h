// The window's controls in memory, for driving FrustumForm without widgets: the grid's cells
// with their text, lock flag and enabled flag (the three computed cells of every row are
// disabled, as in the window), and the option buttons, of which the chosen one raises
// Option1_Click only when it becomes the chosen one, as a toolkit's option button does. Shared by
// the tests, the fuzz targets and the benchmarks.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "form/form_controls.h"
#include "form/frustum_form.h"
#include "form/grid.h"

class ModelControls : public form::FormControls {
 public:
  struct Cell {
    QString text;
    QString working;  // dropped whenever the text is written, as a tool tip would be
    bool locked = false;
    bool enabled = true;
  };
  using Texts = std::array<QString, form::CellCount>;

  ModelControls() {
    for (int i = 0; i < form::CellCount; ++i) CellAt(i).enabled = form::IsGivenCell(i);
  }

  // The form whose Option1_Click the option buttons raise.
  void Bind(form::FrustumForm* form) { form_ = form; }

  QString CellText(std::int16_t index) const override { return CellAt(index).text; }
  void SetCellText(std::int16_t index, const QString& text) override {
    CellAt(index).text = text;
    CellAt(index).working.clear();
  }
  void SetCellWorking(std::int16_t index, const QString& working) override {
    CellAt(index).working = working;
  }
  void SetCellLocked(std::int16_t index, bool locked) override { CellAt(index).locked = locked; }
  void ChooseOption(std::int16_t index) override {
    if (index < 0 || index >= form::RowCount) throw std::out_of_range("option index");
    if (chosen_ == index) return;
    chosen_ = index;
    if (form_) form_->Option1_Click(index);
  }

  // A user's click on another option button than the chosen one.
  void ClickOption(int index) {
    chosen_ = -1;
    ChooseOption(static_cast<std::int16_t>(index));
  }

  // The chosen option button, or -1 before any is chosen.
  int Chosen() const { return chosen_; }

  Cell& CellAt(int index) { return cells_.at(static_cast<std::size_t>(index)); }
  const Cell& CellAt(int index) const { return cells_.at(static_cast<std::size_t>(index)); }

  bool AcceptsTyping(int index) const { return CellAt(index).enabled && !CellAt(index).locked; }

  std::vector<int> TypableCells() const {
    std::vector<int> out;
    for (int i = 0; i < form::CellCount; ++i) {
      if (AcceptsTyping(i)) out.push_back(i);
    }
    return out;
  }

  // The user types into a cell; false, and nothing changes, where the cell takes no typing.
  bool Type(int index, const QString& text) {
    if (!AcceptsTyping(index)) return false;
    CellAt(index).text = text;
    return true;
  }

  Texts AllTexts() const {
    Texts out;
    for (int i = 0; i < form::CellCount; ++i) out[static_cast<std::size_t>(i)] = CellAt(i).text;
    return out;
  }

 private:
  form::FrustumForm* form_ = nullptr;
  std::array<Cell, form::CellCount> cells_{};
  int chosen_ = -1;
};

// The cells of a variant's three given quantities, in ascending order.
inline std::vector<int> GivenCellList(int variant) {
  const auto cells = form::GivenCells(variant);
  return {cells.begin(), cells.end()};
}
