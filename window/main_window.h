// The calculator's one window: the grid of 48 cells, the title and column heads, the eight
// variant buttons in their frame, Calculate and Clear, and the assignment text. It builds its
// controls from the tables in main_window_layout.h and drives them through FrustumForm.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

#include "window/form_controls.h"
#include "window/frustum_form.h"

class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class OptionButton;

class MainWindow : public QWidget, public FormControls {
  Q_OBJECT

 public:
  // Creates every control with its settings, then runs the load handler, so that a new window is
  // in its after-load state: variant 1 chosen, the grid empty, only r, R and H of row 1 open.
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  std::int16_t selectedVariant() const { return form_.selectedVariant(); }

  // FormControls, on the real widgets.
  QString CellText(std::int16_t index) const override;
  void SetCellText(std::int16_t index, const QString& text) override;
  void SetCellLocked(std::int16_t index, bool locked) override;
  void ChooseOption(std::int16_t index) override;

 private:
  void CreateControls();
  void SetTabOrder();
  void MoveChoice(int step);
  // Runs Command1_Click and tells the user, in a message box, why a calculation failed.
  void PressCommand(std::int16_t index);

  std::array<QLineEdit*, 48> Text2_{};
  QGroupBox* Frame1_ = nullptr;
  std::array<OptionButton*, 8> Option1_{};
  std::array<QPushButton*, 2> Command1_{};
  QPlainTextEdit* Text1_ = nullptr;

  FrustumForm form_;
};
