// The window's controls in memory, for driving FrustumForm without widgets: 48 cells with their
// text, lock flag and enabled flag (the three computed cells of every row are disabled, as in the
// window), and the eight option buttons, of which the chosen one raises Option1_Click only when
// it becomes the chosen one, as a toolkit's option button does. Shared by the tests, the fuzz
// targets and the benchmarks.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "geometry/frustum_solver.h"
#include "window/form_controls.h"
#include "window/frustum_form.h"

class ModelControls : public FormControls {
 public:
  struct Cell {
    QString text;
    bool locked = false;
    bool enabled = true;
  };
  using Texts = std::array<QString, CellCount>;

  ModelControls() {
    for (int row = 0; row < geometry::VariantCount; ++row) {
      for (int column = 0; column < geometry::ColumnCount; ++column) {
        cell(CellIndex(row, column)).enabled = geometry::IsGivenColumn(row, column);
      }
    }
  }

  // The form whose Option1_Click the option buttons raise.
  void Bind(FrustumForm* form) { form_ = form; }

  QString CellText(std::int16_t index) const override { return cell(index).text; }
  void SetCellText(std::int16_t index, const QString& text) override { cell(index).text = text; }
  void SetCellLocked(std::int16_t index, bool locked) override { cell(index).locked = locked; }
  void ChooseOption(std::int16_t index) override {
    if (index < 0 || index >= geometry::VariantCount) throw std::out_of_range("option index");
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
  int chosen() const { return chosen_; }

  Cell& cell(int index) { return cells_.at(static_cast<std::size_t>(index)); }
  const Cell& cell(int index) const { return cells_.at(static_cast<std::size_t>(index)); }

  bool AcceptsTyping(int index) const { return cell(index).enabled && !cell(index).locked; }

  std::vector<int> TypableCells() const {
    std::vector<int> out;
    for (int i = 0; i < CellCount; ++i) {
      if (AcceptsTyping(i)) out.push_back(i);
    }
    return out;
  }

  // The user types into a cell; false, and nothing changes, where the cell takes no typing.
  bool Type(int index, const QString& text) {
    if (!AcceptsTyping(index)) return false;
    cell(index).text = text;
    return true;
  }

  Texts AllTexts() const {
    Texts out;
    for (int i = 0; i < CellCount; ++i) out[static_cast<std::size_t>(i)] = cell(i).text;
    return out;
  }

 private:
  FrustumForm* form_ = nullptr;
  std::array<Cell, CellCount> cells_{};
  int chosen_ = -1;
};

// The cells of a variant's three given quantities, in ascending order.
inline std::vector<int> GivenCells(int variant) {
  std::vector<int> out;
  for (int column : geometry::GivenColumns.at(static_cast<std::size_t>(variant))) {
    out.push_back(CellIndex(variant, column));
  }
  return out;
}
