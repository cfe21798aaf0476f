// The calculator's one window: the grid of cells, the title and column heads, the variant
// buttons in their frame, Calculate and Clear, and the assignment text. It builds its controls
// from the tables in main_window_layout.h and drives them through the form's FrustumForm.
#pragma once

#include <QMargins>
#include <QRect>
#include <QWidget>
#include <array>
#include <cstdint>

#include "form/form_controls.h"
#include "form/frustum_form.h"
#include "form/grid.h"

class CellEdit;
class QLineEdit;
class QPlainTextEdit;
class FaceButton;
class FrameBox;
class OptionButton;
class RowCopy;

// Where a client area of `size`, with a frame `frame` wide around it, stands when the whole frame
// is centred in `area`.
QRect CentredClientArea(const QRect& area, const QSize& size, const QMargins& frame);

class MainWindow : public QWidget, public form::FormControls {
  Q_OBJECT

 public:
  // Creates every control with its settings, then runs the load handler, so that a new window is
  // in its after-load state: variant 0 chosen, the grid empty, only r, R and H of row 0 open.
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  std::int16_t GetSelectedVariant() const { return form_.GetSelectedVariant(); }

  // Places the window so that its whole frame, `frame` wide on each side of the client area, is
  // centred on the screen; with no frame known, the client area. A new window is centred so.
  void CentreOnScreen(const QMargins& frame = {});

  // FormControls, on the real widgets.
  QString CellText(std::int16_t index) const override;
  void SetCellText(std::int16_t index, const QString& text) override;
  void SetCellWorking(std::int16_t index, const QString& working) override;
  void SetCellLocked(std::int16_t index, bool locked) override;
  void ChooseOption(std::int16_t index) override;

 private:
  // The controls of each kind, in the order that makes them stack as laid out: labels at the
  // bottom, then the cells, the command buttons, the frame with its options, the assignment.
  void CreateLabels();
  void CreateCells();
  void CreateCommandButtons();
  void CreateOptionFrame();
  void CreateAssignment();
  void SetTabOrder();

  // Runs Command1_Click and shows, in a message box, why a calculation failed; then the cell the
  // message names has the focus, its text selected.
  void PressCommand(std::int16_t index);

  // Indexed with [] (no bounds check at run time): every index comes from the form or from the
  // layout tables, which produce only indexes of existing controls.
  std::array<CellEdit*, form::CellCount> Text2_{};
  FrameBox* Frame1_ = nullptr;
  std::array<OptionButton*, form::RowCount> Option1_{};
  std::array<FaceButton*, 2> Command1_{};
  QPlainTextEdit* Text1_ = nullptr;
  RowCopy* row_copy_ = nullptr;

  form::FrustumForm form_;
};
