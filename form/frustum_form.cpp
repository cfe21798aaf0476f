#include "form/frustum_form.h"

#include <array>
#include <utility>

#include "form/failure_messages.h"
#include "form/grid.h"
#include "form/number_text.h"
#include "form/working.h"
#include "geometry/frustum_solver.h"

namespace form {

FrustumForm::FrustumForm(FormControls& controls, QLocale locale)
    : controls_(controls), locale_(std::move(locale)) {}

void FrustumForm::Form_Load() {
  // Choosing button 0 runs Option1_Click(0) in full before the locks below are set. Locking from
  // cell 4 rather than 6 leaves cells 4 and 5 of row 0 locked until a variant is chosen again, as
  // the window was designed; harmless, as both are computed cells and disabled.
  controls_.ChooseOption(0);
  for (std::int16_t i = 4; i < CellCount; ++i) controls_.SetCellLocked(i, true);
}

void FrustumForm::Option1_Click(std::int16_t index) {
  const std::int16_t first = CellIndex(index, 0);
  const std::int16_t last = static_cast<std::int16_t>(first + ColumnCount - 1);
  SelectedVariant = index;
  for (std::int16_t i = 0; i < CellCount; ++i) {
    controls_.SetCellText(i, QString());
    controls_.SetCellLocked(i, true);
  }
  for (std::int16_t i = first; i <= last; ++i) controls_.SetCellLocked(i, false);
}

CommandOutcome FrustumForm::Command1_Click(std::int16_t index) {
  switch (index) {
    case 0:
      return Calculate();
    case 1:
      Clear();
      break;
    default:
      break;
  }
  return {};
}

CommandOutcome FrustumForm::Calculate() {
  // Everything that can fail happens before the first cell is written. Only the given cells are
  // read; whatever the computed cells show is overwritten.
  const std::int16_t v = SelectedVariant;
  const auto cells = GivenCells(v);
  std::array<QString, 3> texts;
  std::array<double, 3> given{};
  for (std::size_t i = 0; i < given.size(); ++i) {
    texts[i] = controls_.CellText(cells[i]);
    try {
      given[i] = ReadCellNumber(texts[i], locale_);
    } catch (const NumberOutOfRange&) {
      return {NumberOutOfRangeMessage, cells[i]};
    }
  }
  geometry::FrustumValues values{};
  try {
    values = geometry::SolveFrustum(v, given[0], given[1], given[2]);
  } catch (const geometry::FrustumFailure& failure) {
    const FailureReport report = DescribeFailure(v, texts, given, failure.Kind(), locale_);
    return {report.message, CellIndex(v, report.column)};
  }
  WriteRow(v, values);
  return {};
}

void FrustumForm::WriteRow(std::int16_t row, const geometry::FrustumValues& values) {
  for (int column = 0; column < ColumnCount; ++column) {
    controls_.SetCellText(CellIndex(row, column),
                          FormatNumber(values.*geometry::Columns[column], ShownDecimals, locale_));
  }
  // Once the whole row shows, since the working of each value shows the others as the row does.
  for (int column = 0; column < ColumnCount; ++column) {
    if (geometry::IsGivenColumn(row, column)) continue;
    controls_.SetCellWorking(CellIndex(row, column), Working(row, column, values, locale_));
  }
}

void FrustumForm::Clear() {
  for (std::int16_t i = 0; i < CellCount; ++i) controls_.SetCellText(i, QString());
}

}  // namespace form
