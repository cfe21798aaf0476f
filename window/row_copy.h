// Copying the chosen row out of the window: Ctrl+C with nothing selected, wherever the keyboard
// focus is, puts the column heads and the row's six texts on the clipboard as a table; a right
// click on a cell of the chosen row offers the row and, on a computed cell, its working. With text
// selected, Ctrl+C copies the selection, as a text box does.
#pragma once

#include <QObject>
#include <array>

#include "form/frustum_form.h"
#include "form/grid.h"

class CellEdit;
class QLineEdit;
class QMenu;
class QWidget;

class RowCopy : public QObject {
 public:
  // Serves `window`, whose cells are `cells` and whose chosen variant `form` holds. To be
  // installed, as an event filter, on each text box whose Ctrl+C or context menu it extends.
  RowCopy(QWidget& window, const std::array<CellEdit*, form::CellCount>& cells,
          const form::FrustumForm& form);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // `cell` if it is one of the chosen row's, else nothing.
  QLineEdit* InChosenRow(QLineEdit* cell) const;
  // Adds the row's entries to `menu`, and the working's where `cell` is computed.
  void AddEntries(QMenu& menu, QLineEdit* cell);
  void CopyRow() const;

  const std::array<CellEdit*, form::CellCount>& cells_;
  const form::FrustumForm& form_;
};
